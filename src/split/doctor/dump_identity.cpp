#include "split/doctor/dump_identity.h"

#include "runtime/runtime_error.h"
#include "split/chip_table.h"
#include "split/doctor/expected_parts.h"
#include "split/doctor/part_diagnosis.h"
#include "split/doctor/shared_run_search.h"
#include "split/input/input_file.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <functional>

namespace tamrivel {
namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(Identify)
};

// Enough to turn away nearly every wrong place at a glance: a part two
// places agree on in 64 scattered bytes is rare outside blank stretches.
constexpr int kSamples = 64;
// How many of the nearest places are weighed for a fault that explains them.
constexpr int kWeighed = 8;
// Shorter dumps match somewhere in nearly any image: no place is worth
// naming.
constexpr qint64 kShortestPlaced = 16;
// A dump sharing no run with any way is weighed against every place only
// where they are this few; beyond, a place so far off says nothing and would
// take minutes to find.
constexpr qsizetype kWeighedInFull = 4096;
// Dumps held at once while the image is read for their runs.
constexpr qint64 kBatchBytes = qint64(256) << 20;

// Ctrl+C or a termination request ends a search at once, not at its end.
void stopIfAsked(const std::atomic<bool> *stop, const QString &path)
{
    if (stop && stop->load())
        throw RuntimeError(ErrorNumber::Cancelled, path);
}

// The image, mapped where it can be so that memory stays flat.
class ImageBytes {
public:
    explicit ImageBytes(const QString &path) : m_input(path, InputFile::Reading::Raw), m_file(path)
    {
        m_input.requireKnownSize(QStringLiteral("identify"));
        m_size = m_input.size();
        if (m_size > 0 && m_file.open(QIODevice::ReadOnly))
            m_data = m_file.map(0, m_size);
        if (!m_data && m_size > 0) {
            m_copy.resize(qsizetype(m_size));
            m_input.readExactly(m_copy.data(), m_copy.size());
            m_data = reinterpret_cast<const uchar *>(m_copy.constData());
        }
    }

    qint64 size() const { return m_size; }
    uchar at(qint64 offset) const { return m_data[offset]; }
    const uchar *data() const { return m_data; }
    void confirmUnchanged() const { m_input.confirmUnchanged(); }

private:
    InputFile m_input;
    QFile m_file;
    QByteArray m_copy;
    qint64 m_size = 0;
    const uchar *m_data = nullptr;
};

struct Candidate {
    PartLayout layout;
    int file;
    qint64 size; // of the file, which a dump cut short or run on does not have
    int missed = 0; // samples that differ

    DumpPlace place() const
    {
        return {layout.shape(), layout.fit(), layout.wayOf(file), file % layout.banks(), size};
    }
};

// Sizes chips are made in: the table's, and powers of two for those it
// lacks. A bank or a padded chip of any other size was never written.
bool isChipSize(qint64 size)
{
    return std::has_single_bit(quint64(size)) ||
        std::ranges::any_of(chipTable(), [size](const Chip &chip) { return chip.bytes == size; });
}

// The chips a dump of `size` bytes may have been read from: its own size
// where a chip has it, else the nearest chip sizes above (read cut short)
// and below (read on past the chip), the larger first.
QList<qint64> chipSizesFor(qint64 size)
{
    if (isChipSize(size))
        return {size};
    qint64 above = qint64(std::bit_ceil(quint64(size)));
    qint64 below = qint64(std::bit_floor(quint64(size)));
    for (const Chip &chip : chipTable()) {
        if (chip.bytes > size)
            above = std::min(above, chip.bytes);
        else
            below = std::max(below, chip.bytes);
    }
    return {above, below};
}

// A dump at most twice as long or half as long as a part may be that part
// read with the wrong size; further off, a match says little.
bool nearInSize(qint64 dump, qint64 part)
{
    return dump <= 2 * part && part <= 2 * dump;
}

uchar expectedAt(const ImageBytes &image, const Candidate &candidate, qint64 offset)
{
    const qint64 from = candidate.layout.sourceOffset(candidate.file, offset);
    return from < 0 ? candidate.layout.fit().fill : image.at(from);
}

// Where a chip of `chip` bytes may start its image, after erased bytes:
// at round fractions of the chip, as boards decoding its upper part want;
// or, where the dump starts with `erasedStart` erased bytes, at a power of
// two up to there or there itself, as the image's own first byte is seldom
// erased. Banks try only offsets the dump starts with, as every bank
// multiplies the places; a single chip also takes the offset that ends the
// image at its top (`top`, 0 for none).
QList<qint64> offsetsFor(qint64 chip, qint64 erasedStart, bool banks, qint64 top)
{
    QList<qint64> offsets;
    const auto add = [&](qint64 offset) {
        if (offset > 0 && offset < chip && !offsets.contains(offset))
            offsets << offset;
    };
    for (qint64 offset = chip / 8; offset > 0 && offset < chip; offset += chip / 8) {
        if (!banks || offset <= erasedStart)
            add(offset);
    }
    for (qint64 offset = 16; offset <= erasedStart; offset *= 2)
        add(offset);
    add(erasedStart);
    if (!banks)
        add(top);
    return offsets;
}

// The fits a chip of `chip` bytes may have been split with, the plainest
// first, for a dump starting with `erasedStart` erased bytes.
QList<ChipFit> fitsFor(qint64 chip, qint64 erasedStart, const DealShape &shape, qint64 imageSize)
{
    QList<ChipFit> fits;
    for (const bool banks : {false, true}) {
        for (const uchar fill : {kErasedByte, uchar(0x00)})
            fits.append({chip, banks, fill});
        ChipFit mirrored{chip, banks};
        mirrored.mirror = true;
        fits.append(mirrored);
        for (const qint64 offset :
             offsetsFor(chip, erasedStart, banks, chip - shape.partSize(imageSize, 0))) {
            ChipFit high{chip, banks};
            high.offset = offset;
            fits.append(high);
        }
    }
    return fits;
}

// False for a place whose bytes an earlier, plainer place already gives: a
// fill or a copy where nothing is padded, or banks of a single chip.
bool addsAPlace(const PartLayout &layout, int file)
{
    const ChipFit &fit = layout.fit();
    if (fit.chipSize == 0)
        return true;
    if (fit.banks && layout.banks() < 2)
        return false;
    const bool padded = fit.offset + layout.held(file) < layout.fileSize(file);
    const bool erased = fit.fill == kErasedByte && !fit.mirror;
    return padded || (erased && (fit.banks || fit.offset > 0));
}

// Whether a place of shape `shape` (an index into DealShape::every()) is
// worth searching.
using PlaceFilter = std::function<bool(qsizetype shape, const PartLayout &layout, int file)>;

// Every place a dump can have in a split of the image that `kept` keeps,
// those of its own size first; on chips of `chipSize` bytes only, unless 0.
QList<Candidate> placesFor(const QByteArray &dump, qint64 imageSize, qint64 chipSize, const PlaceFilter &kept)
{
    const qint64 erasedStart =
        std::find_if(dump.cbegin(), dump.cend(), [](char byte) { return uchar(byte) != kErasedByte; }) -
        dump.cbegin();
    QList<Candidate> candidates;
    const QList<DealShape> shapes = DealShape::every();
    for (qsizetype shapeIndex = 0; shapeIndex < shapes.size(); ++shapeIndex) {
        const DealShape &shape = shapes[shapeIndex];
        QList<ChipFit> fits{ChipFit{}};
        for (const qint64 chip : chipSize > 0 ? QList<qint64>{chipSize} : chipSizesFor(dump.size()))
            fits += fitsFor(chip, erasedStart, shape, imageSize);
        for (const ChipFit &fit : fits) {
            const std::optional<PartLayout> layout = PartLayout::ifWritable(shape, fit, imageSize);
            for (int file = 0; layout && file < layout->fileCount(); ++file) {
                const qint64 size = layout->fileSize(file);
                const bool fillsTheChip = chipSize == 0 || size == chipSize;
                if (fillsTheChip && nearInSize(dump.size(), size) && addsAPlace(*layout, file) &&
                    kept(shapeIndex, *layout, file))
                    candidates.append({*layout, file, size});
            }
        }
    }
    std::stable_partition(candidates.begin(), candidates.end(),
                          [&dump](const Candidate &candidate) { return candidate.size == dump.size(); });
    return candidates;
}

// The places worth searching for the dump, of those `wired` keeps: those
// where a run it shares with a way (`runs`) falls, give or take a shift; where
// it shares none, every place if there are few. Empty, with `sharesNothing`
// set, for a dump sharing nothing with an image that has many places.
QList<Candidate> searchedPlaces(const ImageBytes &image, const QList<SharedRun> &runs, const QByteArray &dump,
                                qint64 chipSize, const PlaceFilter &wired, bool &sharesNothing)
{
    QHash<std::pair<qsizetype, int>, QList<SharedRun>> runsByWay;
    for (const SharedRun &run : runs)
        runsByWay[{run.shape, run.way}].append(run);
    // Counted as they go by, so that every place is listed only when few.
    qsizetype places = 0;
    const auto holdsARun = [&](qsizetype shape, const PartLayout &layout, int file) {
        if (!wired(shape, layout, file))
            return false;
        ++places;
        const auto runs = runsByWay.constFind({shape, layout.wayOf(file)});
        return runs != runsByWay.cend() && std::ranges::any_of(*runs, [&](const SharedRun &run) {
                   const qint64 at = layout.wayOffset(file, run.dumpOffset);
                   return at >= 0 && std::abs(at - run.wayOffset) <= kLargestShift;
               });
    };
    if (QList<Candidate> near = placesFor(dump, image.size(), chipSize, holdsARun); !near.isEmpty())
        return near;
    sharesNothing = places > kWeighedInFull;
    return sharesNothing ? QList<Candidate>{} : placesFor(dump, image.size(), chipSize, wired);
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
                                        [](char byte) { return uchar(byte) != kErasedByte && byte != '\0'; });
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
        if (from >= candidate.size && from < dump.size())
            continue; // past the end of the place: the length tells
        missed +=
            from < 0 || from >= dump.size() || expectedAt(image, candidate, from) != uchar(dump[offset]);
    }
    return missed;
}

// Bytes that differ where both the dump and the place have them; once past
// `limit`, some count over it.
qint64 differences(const ImageBytes &image, const Candidate &candidate, const QByteArray &dump, qint64 limit)
{
    constexpr qint64 kChunk = 16 * 1024;
    uchar expected[kChunk];
    qint64 count = 0;
    const qint64 end = std::min<qint64>(dump.size(), candidate.size);
    for (qint64 offset = 0; offset < end && count <= limit; offset += kChunk) {
        const qint64 chunk = std::min(kChunk, end - offset);
        candidate.layout.gather(candidate.file, offset, chunk, image.data(), expected);
        for (qint64 at = 0; at < chunk; ++at)
            count += expected[at] != uchar(dump[offset + at]);
    }
    return count;
}

QByteArray expectedBytes(const ImageBytes &image, const Candidate &candidate, qint64 size)
{
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    candidate.layout.gather(candidate.file, 0, size, image.data(), reinterpret_cast<uchar *>(bytes.data()));
    return bytes;
}

// The plainest place the dump matches exactly as far as both go, of those
// longer than `shorterThan` bytes that the samples do not rule out; null
// when none does. Leaves each candidate's samples missed.
const Candidate *exactPlace(const ImageBytes &image, QList<Candidate> &candidates, const QByteArray &dump,
                            const QList<qint64> &samples, qint64 shorterThan, const std::atomic<bool> *stop,
                            const QString &path)
{
    for (Candidate &candidate : candidates) {
        stopIfAsked(stop, path);
        if (candidate.size <= shorterThan)
            continue;
        candidate.missed = missedSamples(image, candidate, dump, samples, 0);
        if (candidate.missed == 0 && differences(image, candidate, dump, 0) == 0)
            return &candidate;
    }
    return nullptr;
}

using NearPlace = std::pair<qint64, const Candidate *>; // bytes differing, and where

// The nearest places, even if a few bytes off, nearest first: of the places
// that miss fewest samples with the dump read up to kLargestShift bytes
// either way, those with nearly as few bytes differing as the fewest.
QList<NearPlace> nearPlaces(const ImageBytes &image, QList<Candidate> &candidates, const QByteArray &dump,
                            const QList<qint64> &samples, const std::atomic<bool> *stop, const QString &path)
{
    for (Candidate &candidate : candidates) {
        stopIfAsked(stop, path);
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
        stopIfAsked(stop, path);
        if (candidate.missed == fewestMissed)
            fewest = std::min(fewest, differences(image, candidate, dump, fewest - 1));
    }
    // A fault moves bytes that a plain count does not weigh: a stuck data
    // line changes the padding too, so that a chip filled otherwise may count
    // a few differences fewer.
    const qint64 nearEnough = fewest + fewest / 4 + 16;
    QList<NearPlace> near;
    for (const Candidate &candidate : candidates) {
        stopIfAsked(stop, path);
        if (candidate.missed == fewestMissed) {
            if (const qint64 count = differences(image, candidate, dump, nearEnough); count <= nearEnough)
                near.append({count, &candidate});
        }
    }
    std::stable_sort(near.begin(), near.end(),
                     [](const NearPlace &one, const NearPlace &other) { return one.first < other.first; });
    return near;
}

// Of the places nearly as near, the first that one fault explains; else the
// nearest, with its count.
void takeLikeliest(const ImageBytes &image, const QList<NearPlace> &near, const QByteArray &dump,
                   DumpIdentity &identity)
{
    for (const auto &[count, candidate] : near.first(std::min<qsizetype>(kWeighed, near.size()))) {
        if (candidate->size != dump.size())
            break; // the faults are told apart on a part of the dump's size
        const QList<Finding> causes = likelyCauses(expectedBytes(image, *candidate, dump.size()), dump,
                                                   PartContext::of(candidate->layout, candidate->file));
        if (!causes.isEmpty()) {
            identity.place = candidate->place();
            identity.differing = count;
            identity.likely = causes;
            return;
        }
    }
    const auto &[count, nearest] = near.first();
    identity.place = nearest->place();
    identity.differing = count;
    if (nearest->size == dump.size())
        identity.likely = diagnosePart(expectedBytes(image, *nearest, dump.size()), dump,
                                       PartContext::of(nearest->layout, nearest->file));
}

// A dump as read for searching: its bytes, or why it is not searched.
struct ReadDump {
    DumpIdentity identity;
    QByteArray bytes; // as the board reads them
    int wordBytes = 0; // the chip's word, where a wiring says; 0: any
};

// The chip's word a wiring given implies: its data lines' count, or the
// dump's size over its address lines'.
int wiredWordBytes(const LineWiring &wiring, qint64 size)
{
    if (!wiring.data.isEmpty())
        return wiring.data.size() > 8 ? 2 : 1;
    return wiring.address.size() < 63 && size >> wiring.address.size() == 2 ? 2 : 1;
}

void unwire(const LineWiring &wiring, ReadDump &dump)
{
    const qint64 size = dump.bytes.size();
    const int word = wiredWordBytes(wiring, size);
    if (const QString problem = wiring.problem(size, word); !problem.isEmpty()) {
        dump.identity.unsearched = problem;
        dump.bytes.clear();
        return;
    }
    QByteArray bus(dump.bytes.size(), Qt::Uninitialized);
    wireChip(wiring, word, false, reinterpret_cast<const uchar *>(dump.bytes.constData()),
             reinterpret_cast<uchar *>(bus.data()), size);
    dump.bytes = bus;
    dump.wordBytes = word;
}

// The places a dump wired as it was can have: chips of its word, and with
// its addresses wired, of its size.
PlaceFilter wiredPlaces(const LineWiring &wiring, const ReadDump &dump)
{
    return [&wiring, &dump](qsizetype, const PartLayout &layout, int file) {
        return dump.wordBytes == 0 ||
            (layout.shape().chipWordBytes() == dump.wordBytes &&
             (wiring.address.isEmpty() || layout.fileSize(file) == dump.bytes.size()));
    };
}

// The doctor weighs a wired dump as its board reads it: a wiring it finds
// would match there is the given one, then its own.
void throughWiring(const LineWiring &wiring, QList<Finding> &findings)
{
    for (Finding &finding : findings) {
        const bool data = finding.cause == Cause::DataLinesSwapped;
        if ((!data && finding.cause != Cause::AddressLinesSwapped) || finding.numbers.size() <= 2)
            continue;
        const QList<int> &given = data ? wiring.data : wiring.address;
        const QList<qint64> matched = finding.numbers.sliced(2);
        for (qsizetype line = 0; line < given.size(); ++line)
            finding.numbers[2 + line] = matched[given[line]];
    }
}

ReadDump readDump(const QString &path, InputFile::Reading reading, const LineWiring &wiring)
{
    ReadDump dump;
    dump.identity.dump = path;
    InputFile input(path, reading);
    input.requireKnownSize(QStringLiteral("identify"));
    if (input.size() == 0)
        dump.identity.unsearched = Words::tr("empty");
    else if (input.size() < kShortestPlaced)
        dump.identity.unsearched = Words::tr("too short to place: under %1 bytes").arg(kShortestPlaced);
    else if (input.size() > kMaxDiagnosedPart)
        dump.identity.unsearched =
            Words::tr("over %1, more than is held in memory").arg(maxDiagnosedPartText());
    else
        dump.bytes = readFoundPart(input, true).bytes;
    if (!dump.bytes.isEmpty() && !wiring.straight())
        unwire(wiring, dump);
    return dump;
}

void place(const ImageBytes &image, const QList<SharedRun> &runs, const QByteArray &dump, qint64 chipSize,
           const PlaceFilter &wired, const std::atomic<bool> *stop, DumpIdentity &identity)
{
    const QString &path = identity.dump;
    QList<Candidate> candidates = searchedPlaces(image, runs, dump, chipSize, wired, identity.sharesNothing);
    if (identity.sharesNothing)
        return;
    if (candidates.isEmpty()) {
        identity.unsearched = Words::tr("no split of the image has a part of its size");
        return;
    }
    identity.size = dump.size();
    const QList<qint64> samples = sampleOffsets(dump);
    if (const Candidate *exact = exactPlace(image, candidates, dump, samples, 0, stop, path)) {
        identity.place = exact->place();
        if (exact->size == dump.size() && exact->layout.fit().chipSize > 0) {
            if (const Candidate *longer =
                    exactPlace(image, candidates, dump, samples, dump.size(), stop, path))
                identity.alsoStartOf = longer->place();
        }
        return;
    }
    // A part of the dump's size with a fault is likelier than one of another
    // size, which only a dump cut short or run on and faulty too would be.
    const auto ownSize = std::ranges::count_if(
        candidates, [&dump](const Candidate &candidate) { return candidate.size == dump.size(); });
    if (ownSize > 0)
        candidates.erase(candidates.begin() + ownSize, candidates.end());
    takeLikeliest(image, nearPlaces(image, candidates, dump, samples, stop, path), dump, identity);
}

} // namespace

QList<DumpIdentity> identifyDumps(const QString &image, const QStringList &dumps,
                                  const std::atomic<bool> *stop, InputFile::Reading reading, qint64 chipSize,
                                  const LineWiring &wiring)
{
    const ImageBytes bytes(image);
    const SharedRunSearch runSearch(bytes.data(), bytes.size());
    QList<DumpIdentity> identities;
    for (qsizetype next = 0; next < dumps.size();) {
        // Dumps are searched a batch at a time, so that one read of the
        // image finds the runs of all of them while memory stays bounded.
        QList<ReadDump> batch;
        QList<QByteArray> searched;
        qint64 held = 0;
        while (next < dumps.size() && held < kBatchBytes) {
            batch.append(readDump(dumps[next++], reading, wiring));
            searched.append(batch.last().bytes);
            held += searched.last().size();
        }
        const QList<QList<SharedRun>> runs =
            runSearch.sharedRuns(searched, [stop, &image] { stopIfAsked(stop, image); });
        for (qsizetype dump = 0; dump < batch.size(); ++dump) {
            DumpIdentity &identity = batch[dump].identity;
            if (identity.unsearched.isEmpty()) {
                place(bytes, runs[dump], searched[dump], chipSize, wiredPlaces(wiring, batch[dump]), stop,
                      identity);
                identity.place.fit.wiring = wiring;
                if (identity.alsoStartOf)
                    identity.alsoStartOf->fit.wiring = wiring;
                throughWiring(wiring, identity.likely);
            }
            identities.append(identity);
        }
    }
    bytes.confirmUnchanged();
    return identities;
}

} // namespace tamrivel
