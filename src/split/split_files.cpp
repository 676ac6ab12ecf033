#include "split_files.h"

#include "../runtime/runtime_error.h"
#include "output_file.h"
#include "path_checks.h"
#include "stream_deal.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <list>

namespace tamrivel {
namespace {

void checkAll(const QStringList &inputs, const QStringList &outputs)
{
    for (const QString &path : inputs)
        checkPathText(path);
    for (const QString &path : outputs)
        checkPathText(path);
    for (const QString &path : inputs)
        checkSource(path);
    for (const QString &path : outputs)
        checkOutput(path);
    refuseSameFiles(inputs + outputs);
}

void openForReading(QFile &file)
{
    errno = 0;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw RuntimeError(errorNumberFromErrno(errno, ErrorNumber::AccessDenied), file.fileName());
}

// Opens every output, lets `write` fill them (through `shaper` if any), then
// replaces the old files only after all of them are safely on disk.
template <typename Write>
void writeOutputs(const QStringList &paths, const OutputTap &tap, OutputShaper *shaper, Write &&write)
{
    std::list<OutputFile> outputs;
    QList<NamedDevice> devices;
    for (const QString &path : paths) {
        NamedDevice device = outputs.emplace_back(path).named();
        if (tap) {
            const int index = int(devices.size());
            device.tap = [&tap, index](const char *data, qsizetype length) { tap(index, data, length); };
        }
        devices.append(device);
    }
    write(shaper ? shaper->attach(devices) : devices);
    if (shaper)
        shaper->finish();
    for (OutputFile &output : outputs)
        output.syncToDisk();
    for (OutputFile &output : outputs)
        output.commit();
}

// Parts whose sizes cannot come from one split are refused before anything
// is written, naming the first part that cannot be right.
void refuseMisfits(const QStringList &parts, const QList<qint64> &sizes, const DealShape &shape)
{
    if (shape.fitsOneSplit(sizes))
        return;
    QStringList shown;
    qint64 total = 0;
    for (qint64 size : sizes) {
        shown.append(QString::number(size));
        total += size;
    }
    int misfit = 0;
    while (misfit + 1 < shape.ways && sizes[misfit] == shape.partSize(total, misfit))
        ++misfit;
    throw RuntimeError(ErrorNumber::MisfitParts, parts[misfit],
                       QStringLiteral("(大きさ: %1)").arg(shown.join(QStringLiteral(", "))));
}

} // namespace

void splitFiles(const QString &source, const QStringList &outputs, const DealShape &shape,
                const Watchers &watchers, OutputShaper *shaper)
{
    Q_ASSERT(shape.problem().isEmpty() && (shaper || outputs.size() == shape.ways));
    checkAll({source}, outputs);
    QFile input(source);
    openForReading(input);
    writeOutputs(outputs, watchers.written, shaper, [&](const QList<NamedDevice> &parts) {
        dealStream(NamedDevice{&input, source}, parts, shape, input.size(), watchers);
    });
}

void splitSource(const NamedDevice &source, qint64 expectedSize, const QStringList &outputs,
                 const DealShape &shape, const Watchers &watchers)
{
    Q_ASSERT(shape.problem().isEmpty() && outputs.size() == shape.ways);
    checkAll({}, outputs);
    writeOutputs(outputs, watchers.written, nullptr, [&](const QList<NamedDevice> &parts) {
        dealStream(source, parts, shape, expectedSize, watchers);
    });
}

void splitFile(const QString &source, const QString &evenOutput, const QString &oddOutput,
               const Watchers &watchers)
{
    splitFiles(source, {evenOutput, oddOutput}, DealShape{}, watchers);
}

void joinFiles(const QStringList &parts, const QString &output, const DealShape &shape,
               const Watchers &watchers)
{
    Q_ASSERT(shape.problem().isEmpty() && parts.size() == shape.ways);
    checkAll(parts, {output});
    QList<qint64> sizes;
    for (const QString &part : parts)
        sizes.append(QFileInfo(part).size());
    refuseMisfits(parts, sizes, shape);
    std::list<QFile> inputs;
    QList<NamedDevice> devices;
    for (const QString &part : parts) {
        openForReading(inputs.emplace_back(part));
        devices.append(NamedDevice{&inputs.back(), part});
    }
    writeOutputs({output}, watchers.written, nullptr, [&](const QList<NamedDevice> &dest) {
        gatherStream(devices, sizes, dest.first(), shape, watchers);
    });
}

void joinParts(const QList<NamedDevice> &parts, const QList<qint64> &sizes, const QString &output,
               const DealShape &shape, const Watchers &watchers, OutputShaper *shaper)
{
    Q_ASSERT(shape.problem().isEmpty() && parts.size() == shape.ways && sizes.size() == shape.ways);
    QStringList names;
    for (const NamedDevice &part : parts)
        names.append(part.name);
    checkAll(names, {output});
    refuseMisfits(names, sizes, shape);
    writeOutputs({output}, watchers.written, shaper, [&](const QList<NamedDevice> &dest) {
        gatherStream(parts, sizes, dest.first(), shape, watchers);
    });
}

} // namespace tamrivel
