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
    case ErrorNumber::InvalidArgument: return tr("The argument is not valid.");
    case ErrorNumber::Cancelled: return tr("The operation was cancelled.");
    case ErrorNumber::TooManyOpenFiles: return tr("Too many files are open.");
    case ErrorNumber::BadFileName: return tr("The file name is not valid.");
    case ErrorNumber::FileNotFound: return tr("The file was not found.");
    case ErrorNumber::DiskFull: return tr("The disk is full, or the file is too large.");
    case ErrorNumber::DeviceIo: return tr("A device error occurred while reading or writing.");
    case ErrorNumber::AccessDenied: return tr("Access was denied.");
    case ErrorNumber::FolderNotFound: return tr("The folder was not found.");
    case ErrorNumber::IsFolder: return tr("A folder was given where a file is needed.");
    case ErrorNumber::SameFile: return tr("The same file cannot be both input and output, or two outputs.");
    case ErrorNumber::MisfitParts: return tr("The parts' sizes do not fit one split.");
    case ErrorNumber::ChipOverflow: return tr("The image does not fit the chip.");
    case ErrorNumber::BadRecord: return tr("A line of Intel HEX or S-records is not valid.");
    case ErrorNumber::OutOfMemory: return tr("Out of memory.");
    case ErrorNumber::Unexpected: return tr("An unexpected error occurred.");
    case ErrorNumber::FileChanged: return tr("The file changed while it was read.");
    case ErrorNumber::FileInUse: return tr("The file is in use by another program.");
    }
    return tr("Unknown error.");
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
        text += QLatin1Char(' ') + tr("('%1')", "the file an error names").arg(shownPath(m_path));
    return text;
}

} // namespace tamrivel
