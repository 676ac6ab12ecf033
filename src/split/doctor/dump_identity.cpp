#include "split/doctor/dump_identity.h"

#include "runtime/runtime_error.h"
#include "split/doctor/every_shape.h"
#include "split/doctor/expected_parts.h"
#include "split/doctor/part_diagnosis.h"
#include "split/input/input_file.h"
#include "split/output/checked_outputs.h"

#include <QFile>

#include <algorithm>

namespace tamrivel {
namespace {

// Enough to turn away nearly every wrong place at a glance: a part two
// places agree on in 64 scattered bytes is rare outside blank stretches.
constexpr int kSamples = 64;
// How many of the nearest places are weighed for a fault that explains them.
constexpr int kWeighed = 8;

// The image, mapped where it can be so that memory stays flat.
class ImageBytes {
public:
    explicit ImageBytes(const QString &path) : m_input(path, InputFile::Reading::Raw), m_file(path)
    {
        requireKnownSize(m_input, QStringLiteral("identify"));
        m_size = m_input.size();
        if (m_size > 0 && m_file.open(QIODevice::ReadOnly))
            m_data = m_file.map(0, m_size);
        if (!m_data && m_size > 0) {
            m_copy.resize(qsizetype(m_size));
            if (readFully(m_input.device(), m_copy.data(), m_copy.size()) != m_copy.size())
                throw RuntimeError(ErrorNumber::FileChanged, path);
            m_data = reinterpret_cast<const uchar *>(m_copy.constData());
        }
    }

    qint64 size() const { return m_size; }
    uchar at(qint64 offset) const { return m_data[offset]; }
    void confirmUnchanged() const { m_input.confirmUnchanged(); }

private:
    InputFile m_input;
    QFile m_file;
    QByteArray m_copy;
    qint64 m_size = 0;
    const uchar *m_data = nullptr;
};

struct Candidate {
    DumpPlace place;
    PartLayout layout;
    int file;
    int missed = 0; // samples that differ
};

uchar expectedAt(const ImageBytes &image, const Candidate &candidate, qint64 offset)
{
    const qint64 from = candidate.layout.sourceOffset(candidate.file, offset);
    return from < 0 ? candidate.place.fill : image.at(from);
}

void addPlace(QList<Candidate> &candidates, const DumpPlace &place, qint64 imageSize)
{
    ChipFit fit{place.chipSize, place.banked, place.fill};
    fit.mirror = place.mirror;
    fit.offset = place.offset;
    const PartLayout layout(place.shape, fit, imageSize);
    candidates.append({place, layout, place.lane * layout.banks() + place.bank});
}

// Every place a dump of `dumpSize` bytes can have in a split of the image.
QList<Candidate> placesFor(qint64 dumpSize, qint64 imageSize)
{
    QList<Candidate> candidates;
    for (const DealShape &shape : everyShape()) {
        const qint64 largest = shape.partSize(imageSize, 0);
        const qint64 banks = (largest + dumpSize - 1) / dumpSize;
        for (int lane = 0; lane < shape.ways; ++lane) {
            const qint64 dealt = shape.partSize(imageSize, lane);
            if (dealt == dumpSize) {
                addPlace(candidates, {shape, lane}, imageSize);
            } else if (largest <= dumpSize) {
                for (const uchar fill : {0xFF, 0x00})
                    addPlace(candidates, {shape, lane, dumpSize, false, 0, fill}, imageSize);
                addPlace(candidates, {shape, lane, dumpSize, false, 0, 0xFF, true}, imageSize);
                // Mapped high, as boards that decode the chip's upper part want
                // it: at a round fraction of the chip, or ending at its top.
                for (qint64 offset = dumpSize / 8; offset < dumpSize; offset += dumpSize / 8) {
                    if (offset > 0 && offset <= dumpSize - largest && offset != dumpSize - largest)
                        addPlace(candidates, {shape, lane, dumpSize, false, 0, 0xFF, false, offset},
                                 imageSize);
                }
                if (largest < dumpSize)
                    addPlace(candidates, {shape, lane, dumpSize, false, 0, 0xFF, false, dumpSize - largest},
                             imageSize);
            }
            if (banks < 2 || banks * shape.ways > kMaxOutputFiles)
                continue;
            for (int bank = 0; bank < banks; ++bank) {
                const bool padded = dealt - bank * dumpSize < dumpSize;
                for (const uchar fill : {0xFF, 0x00}) {
                    if (padded || fill == 0xFF)
                        addPlace(candidates, {shape, lane, dumpSize, true, bank, fill}, imageSize);
                }
                if (padded)
                    addPlace(candidates, {shape, lane, dumpSize, true, bank, 0xFF, true}, imageSize);
            }
        }
    }
    return candidates;
}

// Offsets spread over the dump, each moved on to a byte that is neither
// erased nor zero, where one is near: blank stretches agree with too many
// places to tell them apart, and a half-burnt chip's blank half with none.
// Only a dump that is blank throughout is sampled where it is blank.
QList<qint64> sampleOffsets(const QByteArray &dump)
{
    constexpr qint64 kLookAhead = 4096;
    QList<qint64> held;
    QList<qint64> blank;
    quint32 mix = 0x9E3779B9u;
    for (int sample = 0; sample < kSamples; ++sample) {
        mix = mix * 1664525u + 1013904223u;
        const qint64 start = mix % quint32(dump.size());
        const qint64 end = std::min<qint64>(dump.size(), start + kLookAhead);
        const auto found = std::find_if(dump.cbegin() + start, dump.cbegin() + end,
                                        [](char byte) { return byte != '\xFF' && byte != '\0'; });
        if (found == dump.cbegin() + end)
            blank << start;
        else
            held << found - dump.cbegin();
    }
    return held.isEmpty() ? blank : held;
}

// Samples that differ with the dump read `shift` bytes later than the place.
int missedSamples(const ImageBytes &image, const Candidate &candidate, const QByteArray &dump,
                  const QList<qint64> &samples, int shift)
{
    int missed = 0;
    for (const qint64 offset : samples) {
        const qint64 from = offset - shift;
        missed +=
            from < 0 || from >= dump.size() || expectedAt(image, candidate, from) != uchar(dump[offset]);
    }
    return missed;
}

// Bytes that differ, counted no further than one past `limit`.
qint64 differences(const ImageBytes &image, const Candidate &candidate, const QByteArray &dump, qint64 limit)
{
    qint64 count = 0;
    for (qint64 offset = 0; offset < dump.size() && count <= limit; ++offset)
        count += expectedAt(image, candidate, offset) != uchar(dump[offset]);
    return count;
}

QByteArray expectedBytes(const ImageBytes &image, const Candidate &candidate, qint64 size)
{
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    for (qint64 offset = 0; offset < size; ++offset)
        bytes[offset] = char(expectedAt(image, candidate, offset));
    return bytes;
}

DumpIdentity identify(const ImageBytes &image, const QString &path, const std::atomic<bool> *stop)
{
    DumpIdentity identity;
    identity.dump = path;
    const InputFile input(path, InputFile::Reading::Image);
    requireKnownSize(input, QStringLiteral("identify"));
    if (input.size() == 0 || input.size() > kMaxDiagnosedPart) {
        identity.unsearched = input.size() == 0 ? QStringLiteral("empty")
                                                : QStringLiteral("over 64 MiB, more than is held in memory");
        return identity;
    }
    const QByteArray dump = readFoundPart(path, 0xFF, input.size(), true).bytes;

    QList<Candidate> candidates = placesFor(dump.size(), image.size());
    const QList<qint64> samples = sampleOffsets(dump);
    // The plainest exact place, of those the samples do not rule out.
    for (Candidate &candidate : candidates) {
        candidate.missed = missedSamples(image, candidate, dump, samples, 0);
        if (candidate.missed == 0 && differences(image, candidate, dump, 0) == 0) {
            identity.place = candidate.place;
            return identity;
        }
    }
    // The nearest, even if a few bytes off: of the places that miss fewest
    // samples, the one with fewest bytes differing.
    if (stop && stop->load())
        throw RuntimeError(ErrorNumber::Cancelled, path);
    for (Candidate &candidate : candidates) {
        for (int shift = 1; shift <= kLargestShift; ++shift) {
            candidate.missed =
                std::min({candidate.missed, missedSamples(image, candidate, dump, samples, shift),
                          missedSamples(image, candidate, dump, samples, -shift)});
        }
    }
    const int fewestMissed = std::min_element(candidates.cbegin(), candidates.cend(),
                                              [](const Candidate &one, const Candidate &other) {
                                                  return one.missed < other.missed;
                                              })
                                 ->missed;
    qint64 fewest = dump.size() + 1;
    for (const Candidate &candidate : candidates) {
        if (candidate.missed == fewestMissed)
            fewest = std::min(fewest, differences(image, candidate, dump, fewest - 1));
    }
    // A fault moves bytes that a plain count does not weigh: a stuck data
    // line changes the padding too, so that a chip filled otherwise may count
    // a few differences fewer. Of the places nearly as near, the first that
    // one fault explains wins; else the nearest, with its count.
    const qint64 nearEnough = fewest + fewest / 4 + 16;
    QList<std::pair<qint64, const Candidate *>> near;
    for (const Candidate &candidate : candidates) {
        if (candidate.missed == fewestMissed) {
            if (const qint64 count = differences(image, candidate, dump, nearEnough); count <= nearEnough)
                near.append({count, &candidate});
        }
    }
    std::stable_sort(near.begin(), near.end(),
                     [](const auto &one, const auto &other) { return one.first < other.first; });
    const auto contextOf = [&](const Candidate &candidate) {
        return PartContext{candidate.place.shape.width,
                           paddingStart(candidate.layout, image.size(), candidate.file),
                           candidate.place.fill,
                           {}};
    };
    for (const auto &[count, candidate] : near.first(std::min<qsizetype>(kWeighed, near.size()))) {
        const QStringList causes =
            likelyCauses(expectedBytes(image, *candidate, dump.size()), dump, contextOf(*candidate));
        if (!causes.isEmpty()) {
            identity.place = candidate->place;
            identity.differing = count;
            identity.likely = causes;
            return identity;
        }
    }
    const Candidate &nearest = *near.first().second;
    identity.place = nearest.place;
    identity.differing = near.first().first;
    identity.likely = diagnosePart(expectedBytes(image, nearest, dump.size()), dump, contextOf(nearest));
    return identity;
}

} // namespace

QList<DumpIdentity> identifyDumps(const QString &image, const QStringList &dumps,
                                  const std::atomic<bool> *stop)
{
    const ImageBytes bytes(image);
    QList<DumpIdentity> identities;
    for (const QString &dump : dumps)
        identities.append(identify(bytes, dump, stop));
    bytes.confirmUnchanged();
    return identities;
}

} // namespace tamrivel
