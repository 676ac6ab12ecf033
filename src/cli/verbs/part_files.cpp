#include "part_files.h"

#include "runtime/runtime_error.h"

#include <QFileInfo>

namespace tamrivel::cli {

QStringList settleFiles(const CliRequest &request, const PartLayout &layout)
{
    const QString &source = request.inputs.first();
    QStringList files = request.outputs;
    if (files.isEmpty()) {
        // Names made from a stream handed to us (a FIFO, /dev/stdin, /dev/fd/N)
        // would land among the devices.
        const QFileInfo info(source);
        const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
        const bool streamFolder =
            folder == QLatin1String("/dev") || folder.startsWith(QLatin1String("/proc/"));
        if (info.exists() && (!info.isFile() || streamFolder))
            throw UsageError{QStringLiteral("'%1' is not a regular file: name the outputs").arg(source)};
        if (source.size() < 4)
            throw RuntimeError(ErrorNumber::InvalidArgument, source,
                               QStringLiteral("出力ファイル名を作るには名前が短すぎます。"));
        files = layout.proposedNames(source);
    }
    if (files.size() != layout.fileCount())
        throw UsageError{QStringLiteral("%1 files named, but this split has %2 (%3 ways of %4 chips)")
                             .arg(files.size())
                             .arg(layout.fileCount())
                             .arg(layout.shape().ways)
                             .arg(layout.banks())};
    return files;
}

} // namespace tamrivel::cli
