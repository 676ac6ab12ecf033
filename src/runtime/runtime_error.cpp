#include "runtime_error.h"

#include <QDir>

#include <new>

namespace tamrivel {

RuntimeError::RuntimeError(ErrorNumber number, const QString &path, const QString &detail)
    : m_number(number), m_path(path), m_detail(detail), m_what(description().toUtf8())
{
}

QString RuntimeError::message(ErrorNumber number)
{
    switch (number) {
    case ErrorNumber::InvalidArgument: return QStringLiteral("引数が正しくありません。");
    case ErrorNumber::Cancelled: return QStringLiteral("操作がキャンセルされました。");
    case ErrorNumber::TooManyOpenFiles: return QStringLiteral("開いているファイルが多すぎます。");
    case ErrorNumber::BadFileName: return QStringLiteral("ファイル名が正しくありません。");
    case ErrorNumber::FileNotFound: return QStringLiteral("ファイルが見つかりません。");
    case ErrorNumber::DiskFull:
        return QStringLiteral("ディスクの空き容量が不足しているか、ファイルが大きすぎます。");
    case ErrorNumber::DeviceIo: return QStringLiteral("読み書きの途中で装置のエラーが起きました。");
    case ErrorNumber::AccessDenied: return QStringLiteral("アクセスが拒否されました。");
    case ErrorNumber::FolderNotFound: return QStringLiteral("フォルダが見つかりません。");
    case ErrorNumber::IsFolder: return QStringLiteral("ファイルではなくフォルダが指定されています。");
    case ErrorNumber::SameFile:
        return QStringLiteral("同じファイルを入力と出力に、または二つの出力に指定することはできません。");
    case ErrorNumber::MisfitParts:
        return QStringLiteral("分割ファイルの大きさが一つの分割から生じたものと合いません。");
    case ErrorNumber::ChipOverflow: return QStringLiteral("イメージがチップに収まりません。");
    case ErrorNumber::BadRecord: return QStringLiteral("Intel HEX または S レコードの行が正しくありません。");
    case ErrorNumber::OutOfMemory: return QStringLiteral("メモリが不足しています。");
    case ErrorNumber::Unexpected: return QStringLiteral("予期しないエラーが起きました。");
    case ErrorNumber::FileChanged: return QStringLiteral("読み込みの途中でファイルが変更されました。");
    case ErrorNumber::FileInUse: return QStringLiteral("ファイルは別のプログラムが使用中です。");
    }
    return QStringLiteral("不明なエラーです。");
}

RuntimeError RuntimeError::from(const std::exception &error)
{
    if (const auto *ours = dynamic_cast<const RuntimeError *>(&error))
        return *ours;
    if (dynamic_cast<const std::bad_alloc *>(&error))
        return RuntimeError(ErrorNumber::OutOfMemory);
    return RuntimeError(ErrorNumber::Unexpected, QString(),
                        QStringLiteral("(%1)").arg(QString::fromLocal8Bit(error.what())));
}

QString shownPath(const QString &path)
{
    QString shown = QDir::toNativeSeparators(path);
    for (QChar &c : shown) {
        if (c.unicode() < 0x20)
            c = QChar(0x2400 + c.unicode()); // the control pictures
        else if (c.unicode() == 0x7F)
            c = QChar(0x2421);
        else if (c.unicode() >= 0x80 && c.unicode() <= 0x9F)
            c = QChar(QChar::ReplacementCharacter);
    }
    return shown;
}

QString RuntimeError::description() const
{
    QString text = message(m_number);
    if (!m_detail.isEmpty())
        text += QLatin1Char(' ') + m_detail;
    // Shown exactly as the user typed it, so they can find the field at fault;
    // an empty path is shown as empty quotes rather than vanishing.
    if (!m_path.isNull())
        text += QStringLiteral(" (「") + shownPath(m_path) + QStringLiteral("」)");
    return text;
}

} // namespace tamrivel
