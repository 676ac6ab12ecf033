#include "split/reads/read_comparison.h"

#include "runtime/runtime_error.h"
#include "split/output/output_set.h"

#include <algorithm>
#include <cstring>
#include <list>
#include <optional>

namespace tamrivel {
namespace {

constexpr qsizetype kBlockBytes = 64 * 1024;

// The byte more than half of `values` hold, if any.
std::optional<uchar> majorityOf(const QList<uchar> &values)
{
    for (const uchar value : values) {
        if (2 * values.count(value) > values.size())
            return value;
    }
    return std::nullopt;
}

// Notes what the reads disagree on at `offset`, and returns the byte to
// vote for there: the majority's, or none.
std::optional<uchar> noteDisagreement(ReadComparison &comparison, qint64 offset, const QList<uchar> &values)
{
    ReadDisagreement disagreement{offset, values};
    const uchar bits = disagreement.unstableBits();
    for (int line = 0; line < 8; ++line)
        comparison.unstable[size_t(line)] += (bits >> line) & 1;
    if (comparison.differing++ < kListedDisagreements)
        comparison.first.append(std::move(disagreement));
    const std::optional<uchar> majority = majorityOf(values);
    if (!majority && comparison.undecided++ < kListedDisagreements)
        comparison.firstUndecided.append(offset);
    return majority;
}

} // namespace

uchar ReadDisagreement::unstableBits() const
{
    uchar bits = 0;
    for (const uchar value : values)
        bits |= value ^ values.first();
    return bits;
}

int ReadDisagreement::ones(int line) const
{
    return int(
        std::count_if(values.cbegin(), values.cend(), [line](uchar value) { return (value >> line) & 1; }));
}

bool ReadComparison::sizesDiffer() const
{
    return std::any_of(sizes.cbegin(), sizes.cend(), [this](qint64 size) { return size != compared; });
}

QList<Finding> ReadComparison::likely() const
{
    qint64 bits = 0;
    int lines = 0;
    int lastLine = 0;
    for (int line = 0; line < 8; ++line) {
        if (unstable[size_t(line)] == 0)
            continue;
        bits += unstable[size_t(line)];
        ++lines;
        lastLine = line;
    }
    if (lines == 0)
        return {};
    // Bits that flip on one line only point at its pin or its trace; spread
    // over several, at the chip's cells or the socket as a whole.
    if (lines == 1)
        return {Finding{Cause::UnstableLine, {bits, lastLine}}};
    return {Finding{Cause::UnstableBits, {bits, lines}}};
}

ReadComparison compareReads(const QStringList &reads, InputFile::Reading reading, const QString &vote,
                            Existing existing, const Watchers &watchers)
{
    Q_ASSERT(reads.size() >= 2);
    ReadComparison comparison;
    std::list<InputFile> inputs;
    std::vector<const InputFile *> opened;
    for (const QString &read : reads) {
        const InputFile &input = inputs.emplace_back(read, reading);
        input.requireKnownSize(QStringLiteral("compare"));
        opened.push_back(&input);
        comparison.reads.append(read);
        comparison.sizes.append(input.size());
    }
    comparison.compared = *std::min_element(comparison.sizes.cbegin(), comparison.sizes.cend());
    std::optional<OutputSet> output;
    if (!vote.isEmpty())
        output.emplace(QStringList{vote}, opened, QList<qint64>{comparison.compared}, existing);

    std::vector<QByteArray> blocks(inputs.size(), QByteArray(kBlockBytes, Qt::Uninitialized));
    QByteArray voted(kBlockBytes, Qt::Uninitialized);
    const std::optional<NamedDevice> votedTo =
        output ? std::optional(output->devices().first()) : std::nullopt;
    QList<uchar> values(qsizetype(inputs.size()));
    for (qint64 at = 0; at < comparison.compared;) {
        if (watchers.stop && watchers.stop->load(std::memory_order_relaxed))
            throw RuntimeError(ErrorNumber::Cancelled);
        const qsizetype take = qsizetype(std::min<qint64>(kBlockBytes, comparison.compared - at));
        size_t read = 0;
        for (const InputFile &input : inputs)
            input.readExactly(blocks[read++].data(), take);
        std::memcpy(voted.data(), blocks[0].constData(), size_t(take));
        const bool blockAgrees =
            std::all_of(blocks.cbegin() + 1, blocks.cend(), [&](const QByteArray &block) {
                return std::memcmp(block.constData(), blocks[0].constData(), size_t(take)) == 0;
            });
        for (qsizetype i = 0; !blockAgrees && i < take; ++i) {
            for (size_t r = 0; r < blocks.size(); ++r)
                values[qsizetype(r)] = uchar(blocks[r][i]);
            if (values.count(values.first()) == values.size())
                continue;
            if (const std::optional<uchar> majority = noteDisagreement(comparison, at + i, values))
                voted[i] = char(*majority);
        }
        if (votedTo)
            writeFully(*votedTo, voted.constData(), take);
        at += take;
        if (watchers.progress)
            watchers.progress(at, comparison.compared);
    }
    for (const InputFile &input : inputs)
        input.confirmUnchanged();
    if (output && comparison.undecided == 0 && !comparison.sizesDiffer()) {
        output->commit(watchers);
        comparison.voted = true;
    }
    return comparison;
}

} // namespace tamrivel
