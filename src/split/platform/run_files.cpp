#include "split/platform/run_files.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QtEndian>

#include <algorithm>

namespace tamrivel::platform {
namespace {

// Long enough that no two runs ever draw the same one; lower case only, for
// file systems that fold names.
constexpr qsizetype kTokenLength = 16;
constexpr char kTokenAlphabet[] = "0123456789abcdefghijklmnopqrstuvwxyz";

const QString &machineTag()
{
    static const QString tag = [] {
        QByteArray machine = QSysInfo::machineUniqueId();
        if (machine.isEmpty())
            machine = QSysInfo::machineHostName().toUtf8();
        // Short, as the tail has to fit in a name beside the output's own.
        const QByteArray digest = QCryptographicHash::hash(machine, QCryptographicHash::Sha1);
        return QString::number(qFromBigEndian<quint32>(digest.constData()), 36);
    }();
    return tag;
}

bool isTokenCharacter(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z');
}

bool isDecimal(QStringView digits)
{
    return !digits.isEmpty() &&
        std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

QString runFileTail()
{
    QString token(kTokenLength, u'0');
    for (QChar &c : token)
        c = QLatin1Char(kTokenAlphabet[QRandomGenerator::global()->bounded(int(sizeof kTokenAlphabet - 1))]);
    return QStringLiteral(".tamrivel-%1-%2-%3")
        .arg(machineTag())
        .arg(QCoreApplication::applicationPid())
        .arg(token);
}

bool isRunFileName(const QString &entry)
{
    // Read by hand: a regular expression keeps per-thread state that the
    // engine's own threads would then have to tidy when they end.
    const QString marker = QStringLiteral(".tamrivel-") + machineTag() + u'-';
    const qsizetype at = entry.lastIndexOf(marker);
    if (!entry.startsWith(u'.') || at <= 0)
        return false;
    const QStringView rest = QStringView(entry).mid(at + marker.size()); // PROCESS-TOKEN
    const qsizetype dash = rest.size() - kTokenLength - 1;
    if (dash <= 0 || rest[dash] != u'-' || !isDecimal(rest.left(dash)))
        return false;
    const QStringView token = rest.mid(dash + 1);
    return std::all_of(token.begin(), token.end(), isTokenCharacter);
}

} // namespace tamrivel::platform
