#include "split/platform/run_files.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QtEndian>

namespace tamrivel::platform {
namespace {

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

} // namespace

QString runFileTail()
{
    return QStringLiteral(".tamrivel-%1-%2-%3")
        .arg(machineTag())
        .arg(QCoreApplication::applicationPid())
        .arg(QRandomGenerator::global()->generate64(), 0, 36);
}

std::optional<qint64> runFileOwner(const QString &entry)
{
    // Read by hand: a regular expression keeps per-thread state that the
    // engine's own threads would then have to tidy when they end.
    const QString marker = QStringLiteral(".tamrivel-") + machineTag() + u'-';
    const qsizetype at = entry.lastIndexOf(marker);
    if (!entry.startsWith(u'.') || at <= 0)
        return std::nullopt;
    const QStringView rest = QStringView(entry).mid(at + marker.size()); // PROCESS-RANDOM
    const qsizetype dash = rest.indexOf(u'-');
    bool ok = false;
    const qint64 pid = dash > 0 && dash + 1 < rest.size() ? rest.left(dash).toLongLong(&ok) : 0;
    return ok && pid > 0 ? std::optional(pid) : std::nullopt;
}

} // namespace tamrivel::platform
