#include "split/split_files.h"

#include "runtime/runtime_error.h"
#include "split/input/path_checks.h"
#include "split/output/output_set.h"
#include "split/platform/platform.h"
#include "split/stream/native_device.h"
#include "split/stream/stream_deal.h"

#include <list>

namespace tamrivel {
namespace {

platform::File openChecked(const QString &path)
{
    checkPathText(path);
    return platform::openForReading(path);
}

// An input, open, and known by what was opened rather than by its name.
struct Input {
    explicit Input(const QString &path)
        : path(path),
          file(openChecked(path)),
          id(platform::identityOf(file, path)),
          device(file, path, QIODevice::ReadOnly)
    {
    }

    QString path;
    platform::File file;
    platform::FileId id;
    NativeDevice device;
};

QList<OpenedInput> identities(const QList<OpenedInput> &inputs)
{
    QList<OpenedInput> opened;
    for (const OpenedInput &input : inputs) {
        for (const OpenedInput &earlier : opened) {
            if (earlier.id == input.id)
                throw RuntimeError(ErrorNumber::SameFile, input.path);
        }
        opened.append(input);
    }
    return opened;
}

QList<OpenedInput> identities(const std::list<Input> &inputs)
{
    QList<OpenedInput> opened;
    for (const Input &input : inputs)
        opened.append({input.id, input.path});
    return identities(opened);
}

// Lets `write` fill the outputs (through `shaper`, if any, which then pads
// and closes them), then replaces them as a set.
template <typename Write>
void writeAndCommit(OutputSet &outputs, const OutputTap &tap, OutputShaper *shaper, Write &&write)
{
    const QList<NamedDevice> files = outputs.devices(tap);
    write(shaper ? shaper->attach(files) : files);
    if (shaper)
        shaper->finish();
    outputs.commit();
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
    std::list<Input> inputs;
    Input &input = inputs.emplace_back(source);
    OutputSet set(outputs, identities(inputs));
    const qint64 size = std::max<qint64>(0, platform::sizeOf(input.file, source));
    writeAndCommit(set, watchers.written, shaper, [&](const QList<NamedDevice> &parts) {
        dealStream(NamedDevice{&input.device, source}, parts, shape, size, watchers);
    });
}

void splitSource(const NamedDevice &source, qint64 expectedSize, const QStringList &outputs,
                 const DealShape &shape, const Watchers &watchers)
{
    Q_ASSERT(shape.problem().isEmpty() && outputs.size() == shape.ways);
    OutputSet set(outputs, {});
    writeAndCommit(set, watchers.written, nullptr, [&](const QList<NamedDevice> &parts) {
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
    std::list<Input> inputs;
    for (const QString &part : parts)
        inputs.emplace_back(part);
    OutputSet set({output}, identities(inputs));
    QList<qint64> sizes;
    QList<NamedDevice> devices;
    for (Input &input : inputs) {
        sizes.append(std::max<qint64>(0, platform::sizeOf(input.file, input.path)));
        devices.append(NamedDevice{&input.device, input.path});
    }
    refuseMisfits(parts, sizes, shape);
    writeAndCommit(set, watchers.written, nullptr, [&](const QList<NamedDevice> &dest) {
        gatherStream(devices, sizes, dest.first(), shape, watchers);
    });
}

void joinParts(const QList<OpenPart> &parts, const QString &output, const DealShape &shape,
               const Watchers &watchers, OutputShaper *shaper)
{
    Q_ASSERT(shape.problem().isEmpty() && parts.size() == shape.ways);
    QList<OpenedInput> opened;
    QStringList names;
    QList<qint64> sizes;
    QList<NamedDevice> devices;
    for (const OpenPart &part : parts) {
        opened.append({part.id, part.device.name});
        names.append(part.device.name);
        sizes.append(part.size);
        devices.append(part.device);
    }
    OutputSet set({output}, identities(opened));
    refuseMisfits(names, sizes, shape);
    writeAndCommit(set, watchers.written, shaper, [&](const QList<NamedDevice> &dest) {
        gatherStream(devices, sizes, dest.first(), shape, watchers);
    });
}

} // namespace tamrivel
