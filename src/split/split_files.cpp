#include "split/split_files.h"

#include "runtime/runtime_error.h"
#include "split/chips/bank_chain.h"
#include "split/chips/chip_outputs.h"
#include "split/chips/fit_errors.h"
#include "split/chips/offset_skip.h"
#include "split/chips/unwired_part.h"
#include "split/input/input_file.h"
#include "split/output/output_names.h"
#include "split/output/output_set.h"
#include "split/output/output_shaper.h"
#include "split/records/record_part_fill.h"
#include "split/stream/stream_deal.h"
#include "split/usage_error.h"

#include <algorithm>
#include <list>
#include <numeric>
#include <optional>
#include <vector>

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

QString sizesText(const QList<qint64> &sizes)
{
    QStringList shown;
    for (qint64 size : sizes)
        shown.append(QString::number(size));
    return RuntimeError::tr("(sizes: %1)").arg(shown.join(QStringLiteral(", ")));
}

// Parts whose sizes cannot come from one split are refused before anything
// is written, naming the first part that cannot be right.
void refuseMisfits(const QStringList &parts, const QList<qint64> &sizes, const DealShape &shape)
{
    if (shape.fitsOneSplit(sizes))
        return;
    const qint64 total = std::accumulate(sizes.cbegin(), sizes.cend(), qint64(0));
    int misfit = 0;
    while (misfit + 1 < shape.ways && sizes[misfit] == shape.partSize(total, misfit))
        ++misfit;
    throw RuntimeError(ErrorNumber::MisfitParts, parts[misfit], sizesText(sizes));
}

// Reads a way on from `from` to `to`: what a join leaves out must be the
// padding its split added, all `fill`, or data would be lost. `placeOf`
// names the part and the offset in it of a byte of the way.
template <typename PlaceOf>
void refuseDataInPadding(const NamedDevice &way, qint64 from, qint64 to, uchar fill, PlaceOf &&placeOf)
{
    std::vector<char> block(size_t(std::min<qint64>(to - from, 64 * 1024)));
    for (qint64 at = from; at < to;) {
        const qsizetype take = qsizetype(std::min<qint64>(qint64(block.size()), to - at));
        if (readFully(way, block.data(), take) != take)
            throw RuntimeError(ErrorNumber::FileChanged, way.name);
        for (qsizetype i = 0; i < take; ++i) {
            if (uchar(block[size_t(i)]) != fill) {
                const auto [part, offset] = placeOf(at + i);
                throw dataBeyondLength(part, offset, uchar(block[size_t(i)]));
            }
        }
        at += take;
    }
}

// The chips of a banked split are all of one size, the largest's.
void refuseUnequalChips(const QStringList &parts, const QList<qint64> &sizes)
{
    const qint64 chip = *std::max_element(sizes.cbegin(), sizes.cend());
    for (qsizetype part = 0; part < sizes.size(); ++part) {
        if (sizes[part] != chip)
            throw RuntimeError(ErrorNumber::MisfitParts, parts[part], sizesText(sizes));
    }
}

} // namespace

QStringList splitFiles(const QString &source, const QStringList &outputs, const DealShape &shape,
                       const Watchers &watchers, const ChipFit &fit, Existing existing)
{
    Q_ASSERT(shape.problem().isEmpty());
    InputFile input(source, InputFile::Reading::Raw);
    if (fit.changesOutputs())
        input.requireKnownSize(fit.wiring.straight() ? UsageError::tr("--size, --chip, --banks or --format")
                                                     : UsageError::tr("--data-lines or --address-lines"));
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
    const qsizetype banks = fit.banks ? parts.size() / shape.ways : 1;
    Q_ASSERT(shape.problem().isEmpty() && parts.size() == shape.ways * banks);
    // A record part's gaps are the chip's erased bytes, which its board
    // reads as the fill only where they hold the fill wired.
    const std::optional<uchar> gapFill = fit.wiring.chipByte(fit.fill, shape.chipWordBytes());
    std::list<InputFile> inputs;
    QList<qint64> found;
    QList<bool> records;
    for (const QString &part : parts) {
        const InputFile &input =
            inputs.emplace_back(part, partReading(fit), gapFill.value_or(fit.fill), fit.records.base);
        if (!gapFill && input.format() != RecordFormat::Binary)
            throw UsageError{UsageError::tr("'%1' is a record file, whose gaps cannot read as --fill 0x%2 "
                                            "through the 16-bit --data-lines given: give --fill 0xff or 0x00")
                                 .arg(part)
                                 .arg(fit.fill, 2, 16, QLatin1Char('0'))};
        input.requireKnownSize(QStringLiteral("join"));
        if (input.sparse() && length < 0)
            throw UsageError{
                UsageError::tr("'%1' places its records over 0x%2 bytes, nearly all of them gaps: "
                               "give --length to join that much")
                    .arg(part)
                    .arg(input.size(), 0, 16)};
        found.append(input.size());
        records.append(input.format() != RecordFormat::Binary);
    }
    QList<qint64> filled = fit.banks ? chipPartSizes(found, records) : recordPartSizes(shape, found, records);
    // A length says how much each way held: a record part saved without its
    // trailing erased bytes is filled at least that far.
    for (int way = 0; !fit.banks && length >= 0 && way < shape.ways; ++way) {
        if (records[way])
            filled[way] = std::max(filled[way], fit.offset + shape.partSize(length, way));
    }
    // A record part saved without its erased bytes is filled to whole words
    // of its wired data lines, and to the chip's size its wired address
    // lines address.
    const int word = shape.chipWordBytes();
    const qsizetype addressLines = fit.wiring.address.size();
    for (qsizetype part = 0; part < filled.size(); ++part) {
        if (!records[part])
            continue;
        if (!fit.wiring.data.isEmpty())
            filled[part] += filled[part] % word;
        if (addressLines > 0 && addressLines < 40)
            filled[part] = std::max(filled[part], qint64(word) << addressLines);
    }
    std::vector<const InputFile *> opened;
    QList<NamedDevice> files;
    std::list<UnwiredPart> unwired;
    for (InputFile &input : inputs) {
        const qint64 size = filled[files.size()];
        if (size > input.size() && watchers.filled)
            watchers.filled(input.path(), size - input.size());
        input.fillTo(size);
        if (input.size() < fit.offset)
            throw RuntimeError(ErrorNumber::MisfitParts, input.path(),
                               RuntimeError::tr("(%1 bytes, --offset %2)").arg(input.size()).arg(fit.offset));
        opened.push_back(&input);
        if (fit.wiring.straight()) {
            files.append(input.device());
            continue;
        }
        if (const QString problem = fit.wiring.problem(input.size(), word); !problem.isEmpty())
            throw UsageError{UsageError::tr("'%1': %2").arg(input.path(), problem)};
        files.append({&unwired.emplace_back(input.device(), fit.wiring, word, input.size()), input.path()});
    }
    refuseRepeats(opened);

    // One device a way: the part itself, or its chips in turn.
    if (fit.banks)
        refuseUnequalChips(parts, filled);
    const qint64 room = fit.banks ? filled.first() - fit.offset : 0;
    std::list<BankChain> chains;
    QStringList wayNames;
    QList<NamedDevice> ways;
    QList<qint64> sizes;
    qint64 total = 0;
    for (int way = 0; way < shape.ways; ++way) {
        const qsizetype first = way * banks;
        wayNames.append(parts[first]);
        if (fit.banks) {
            ways.append(
                {&chains.emplace_back(files.mid(first, banks), room, fit.offset, fit.fill), parts[first]});
            sizes.append(banks * room);
        } else {
            ways.append(files[first]);
            sizes.append(filled[first] - fit.offset);
        }
        total += sizes.last();
    }
    // With a length, each way gives what a split of that many bytes dealt it
    // (a short last turn reversed within what it holds, as the split did),
    // and the rest of it is the padding that split added.
    QList<qint64> kept = sizes;
    if (length >= 0) {
        for (int way = 0; way < shape.ways; ++way) {
            kept[way] = shape.partSize(length, way);
            if (kept[way] > sizes[way])
                throw lengthBeyondParts(output, length, total);
        }
    } else {
        refuseMisfits(wayNames, sizes, shape);
    }
    // Where the chip holds a byte its board reads at `inChip`.
    const auto chipOffset = [&](qint64 inChip) {
        return fit.wiring.chipWord(inChip / word) * word + inChip % word;
    };
    const auto placeOf = [&](int way, qint64 at) {
        if (!fit.banks)
            return std::pair(wayNames[way], chipOffset(fit.offset + at));
        return std::pair(parts[way * banks + at / room], chipOffset(fit.offset + at % room));
    };
    OutputSet set({output}, opened, {length >= 0 ? length : total}, existing);
    writeAndCommit(set, watchers, nullptr, [&](const QList<NamedDevice> &dest) {
        if (!fit.banks) {
            for (const NamedDevice &part : ways)
                skipOffset(part, fit.offset, fit.fill);
        }
        gatherStream(ways, kept, dest.first(), shape, watchers);
        // A mirrored chip's copies may be anything; other padding is fill.
        if (length >= 0 && !fit.mirror) {
            for (int way = 0; way < shape.ways; ++way)
                refuseDataInPadding(ways[way], kept[way], sizes[way], fit.fill,
                                    [&](qint64 at) { return placeOf(way, at); });
        }
        for (const InputFile &input : inputs)
            input.confirmUnchanged();
    });
}

} // namespace tamrivel
