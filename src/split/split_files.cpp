#include "split/split_files.h"

#include "runtime/runtime_error.h"
#include "split/chips/chip_outputs.h"
#include "split/chips/fit_errors.h"
#include "split/chips/length_cut.h"
#include "split/chips/offset_skip.h"
#include "split/input/input_file.h"
#include "split/output/output_names.h"
#include "split/output/output_set.h"
#include "split/output/output_shaper.h"
#include "split/records/record_part_fill.h"
#include "split/stream/stream_deal.h"

#include <list>
#include <optional>

namespace tamrivel {
namespace {

// Two inputs that are one file, however they were named, would be read as
// two.
void refuseRepeats(const std::vector<const InputFile *> &inputs)
{
    for (size_t i = 0; i < inputs.size(); ++i) {
        for (size_t j = 0; j < i; ++j) {
            if (inputs[j]->id() == inputs[i]->id())
                throw RuntimeError(ErrorNumber::SameFile, inputs[i]->path());
        }
    }
}

// Lets `write` fill the outputs, through `shaper` when there is one, then
// replaces them as a set. The report sees every output's bytes either way.
template <typename Write>
void writeAndCommit(OutputSet &outputs, const Watchers &watchers, OutputShaper *shaper, Write &&write)
{
    QList<NamedDevice> files = outputs.devices();
    if (shaper) {
        write(shaper->attach(files, watchers.written));
        shaper->finish();
    } else {
        for (int i = 0; i < files.size(); ++i)
            files[i].tap = tapFor(watchers.written, i);
        write(files);
    }
    outputs.commit(watchers);
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

QStringList splitFiles(const QString &source, const QStringList &outputs, const DealShape &shape,
                       const Watchers &watchers, const ChipFit &fit, Existing existing)
{
    Q_ASSERT(shape.problem().isEmpty());
    InputFile input(source, InputFile::Reading::Raw);
    if (fit.changesOutputs())
        input.requireKnownSize(QStringLiteral("--size, --chip, --banks or --format"));
    const PartLayout layout(shape, fit, input.size());
    const QStringList names = outputNames(input, outputs, layout);
    layout.refuseMisfits(names);
    QList<qint64> needed;
    if (input.sizeKnown()) {
        for (int file = 0; file < layout.fileCount(); ++file)
            needed.append(layout.bytesOnDisk(file));
    }
    OutputSet set(names, {&input}, needed, existing);
    // The plain split goes straight to the files, at full speed.
    std::optional<ChipOutputs> chips;
    if (fit.changesOutputs())
        chips.emplace(layout);
    writeAndCommit(set, watchers, chips ? &*chips : nullptr, [&](const QList<NamedDevice> &parts) {
        dealStream(input.device(), parts, shape, input.size(), watchers);
        input.confirmUnchanged();
    });
    return names;
}

void splitFile(const QString &source, const QString &evenOutput, const QString &oddOutput,
               const Watchers &watchers)
{
    splitFiles(source, {evenOutput, oddOutput}, DealShape{}, watchers);
}

void joinFiles(const QStringList &parts, const QString &output, const DealShape &shape,
               const Watchers &watchers, const ChipFit &fit, qint64 length, Existing existing)
{
    Q_ASSERT(shape.problem().isEmpty() && parts.size() == shape.ways);
    std::list<InputFile> inputs;
    QList<qint64> found;
    QList<bool> records;
    for (const QString &part : parts) {
        const InputFile &input = inputs.emplace_back(part, partReading(fit), fit.fill);
        input.requireKnownSize(QStringLiteral("join"));
        found.append(input.size());
        records.append(input.format() != RecordFormat::Binary);
    }
    const QList<qint64> filled = recordPartSizes(shape, found, records);
    std::vector<const InputFile *> opened;
    QList<qint64> sizes;
    QList<NamedDevice> devices;
    qint64 total = 0;
    for (InputFile &input : inputs) {
        input.fillTo(filled[sizes.size()]);
        if (input.size() < fit.offset)
            throw RuntimeError(ErrorNumber::MisfitParts, input.path(),
                               QStringLiteral("(%1 バイト、--offset %2)").arg(input.size()).arg(fit.offset));
        opened.push_back(&input);
        sizes.append(input.size() - fit.offset);
        devices.append(input.device());
        total += sizes.last();
    }
    refuseRepeats(opened);
    refuseMisfits(parts, sizes, shape);
    if (length > total)
        throw lengthBeyondParts(output, length, total);
    OutputSet set({output}, opened, {length >= 0 ? length : total}, existing);
    std::optional<LengthCut> cut;
    if (length >= 0)
        cut.emplace(length, fit.mirror ? std::nullopt : std::optional<uchar>(fit.fill));
    writeAndCommit(set, watchers, cut ? &*cut : nullptr, [&](const QList<NamedDevice> &dest) {
        for (const NamedDevice &part : devices)
            skipOffset(part, fit.offset, fit.fill);
        gatherStream(devices, sizes, dest.first(), shape, watchers);
        for (const InputFile &input : inputs)
            input.confirmUnchanged();
    });
}

} // namespace tamrivel
