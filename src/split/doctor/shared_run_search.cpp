#include "split/doctor/shared_run_search.h"

#include <algorithm>
#include <utility>

namespace tamrivel {
namespace {

// Enough that a fault spoiling part of a dump leaves some to find it by.
constexpr int kAnchors = 16;
// How far past its share of the dump an anchor looks for a rarer byte: a
// byte the image holds everywhere, as erased stretches are, would be
// tried at every place it has.
constexpr qint64 kAnchorWindow = 64;
constexpr qint64 kStopChecked = qint64(1) << 22;

// Within two bits; cleared bit by bit, as a counting instruction is not
// one every processor has.
bool nearlyEqual(uchar one, uchar other)
{
    uint differing = one ^ other;
    differing &= differing - 1;
    differing &= differing - 1;
    return differing == 0;
}

} // namespace

SharedRunSearch::SharedRunSearch(const uchar *image, qint64 size) : m_image(image), m_size(size)
{
    for (qint64 at = 0; at < size; ++at)
        ++m_byteCounts[image[at]];
}

// Offsets spread over the dump, each at the byte the image holds least
// often in its stretch.
QList<qint64> SharedRunSearch::anchorsIn(const QByteArray &dump) const
{
    const qint64 last = dump.size() - kSharedRunBytes;
    const auto count = [&](qint64 at) { return m_byteCounts[uchar(dump[at])]; };
    QList<qint64> anchors;
    for (int anchor = 0; anchor < kAnchors && last >= 0; ++anchor) {
        const qint64 start = last * anchor / kAnchors;
        qint64 rarest = start;
        for (qint64 at = start + 1; at <= std::min(last, start + kAnchorWindow); ++at) {
            if (count(at) < count(rarest))
                rarest = at;
        }
        // A byte the image holds too often says nothing and costs much; the
        // other anchors, or the full search, place such a dump.
        if (!anchors.contains(rarest) && count(rarest) <= std::max<qint64>(m_size / 32, 4096))
            anchors << rarest;
    }
    return anchors;
}

// Whether the dump from `anchor` on is the way's own from where `place`
// falls in it, the anchor's byte being the image's at `place`.
bool SharedRunSearch::sharesRun(const DealShape &shape, qint64 place, const QByteArray &dump, qint64 anchor,
                                SharedRun &run) const
{
    const auto [way, wayOffset] = shape.wayPlace(place, m_size);
    if (wayOffset + kSharedRunBytes > shape.partSize(m_size, way))
        return false;
    for (qint64 next = 1; next < kSharedRunBytes; ++next) {
        if (!nearlyEqual(m_image[shape.sourceOffset(way, wayOffset + next, m_size)],
                         uchar(dump[anchor + next])))
            return false;
    }
    run.way = way;
    run.wayOffset = wayOffset;
    return true;
}

QList<QList<SharedRun>> SharedRunSearch::sharedRuns(const QList<QByteArray> &dumps,
                                                    const std::function<void()> &stopIfAsked) const
{
    const QList<DealShape> shapes = DealShape::every();
    // Where a dump's byte after an anchor is found in the image: a turn of
    // one byte puts it a round on; wider turns hold it next to the anchor,
    // before it when swapped, unless the anchor ends its turn, when another
    // anchor serves. That byte must be exact too, as it is tried at nearly
    // every place of the anchor's byte; the anchors are enough that a fault
    // spoiling one pair in two leaves some exact.
    std::array<qsizetype, DealShape::kMaxWays + 1> byteShapeOf{};
    QList<qsizetype> wideShapes, swappedShapes;
    for (qsizetype shape = 0; shape < shapes.size(); ++shape) {
        if (shapes[shape].width == 1)
            byteShapeOf[shapes[shape].ways] = shape;
        else
            (shapes[shape].swap ? swappedShapes : wideShapes) << shape;
    }
    struct Anchor {
        qsizetype dump;
        qint64 offset;
    };
    std::array<QList<Anchor>, 256> anchorsOf;
    std::array<bool, 256> anchored{};
    for (qsizetype dump = 0; dump < dumps.size(); ++dump) {
        for (const qint64 offset : anchorsIn(dumps[dump])) {
            anchorsOf[uchar(dumps[dump][offset])].append({dump, offset});
            anchored[uchar(dumps[dump][offset])] = true;
        }
    }

    QList<QList<SharedRun>> runs(dumps.size());
    const auto tryShapes = [&](const QList<qsizetype> &tried, qint64 place, const Anchor &anchor) {
        for (const qsizetype shape : tried) {
            SharedRun run{shape, 0, anchor.offset, 0};
            if (sharesRun(shapes[shape], place, dumps[anchor.dump], anchor.offset, run))
                runs[anchor.dump].append(run);
        }
    };
    // The image is read once, in order, for every anchor of every dump at a
    // time: far cheaper than a visit to each place of each anchor's byte.
    for (qint64 place = 0; place < m_size; ++place) {
        if (place % kStopChecked == 0)
            stopIfAsked();
        if (!anchored[m_image[place]])
            continue;
        for (const Anchor &anchor : std::as_const(anchorsOf[m_image[place]])) {
            const QByteArray &dump = dumps[anchor.dump];
            const uchar follows = uchar(dump[anchor.offset + 1]);
            // The next byte of every count of ways at once, as this runs at
            // nearly every place of the anchor's byte; then, without
            // dividing, the rest of the run for the few that hold it.
            const qint64 reach = std::min<qint64>(DealShape::kMaxWays, m_size - 1 - place);
            uint holding = 0;
            for (qint64 ways = DealShape::kMinWays; ways <= reach; ++ways)
                holding |= uint(m_image[place + ways] == follows) << ways;
            for (; holding != 0; holding &= holding - 1) {
                const qint64 ways = std::countr_zero(holding);
                if (place + (kSharedRunBytes - 1) * ways >= m_size)
                    continue;
                qint64 next = 2;
                while (next < kSharedRunBytes &&
                       nearlyEqual(m_image[place + next * ways], uchar(dump[anchor.offset + next])))
                    ++next;
                if (next == kSharedRunBytes)
                    runs[anchor.dump].append(
                        {byteShapeOf[ways], int(place % ways), anchor.offset, place / ways});
            }
            if (place + 1 < m_size && m_image[place + 1] == follows)
                tryShapes(wideShapes, place, anchor);
            if (place > 0 && m_image[place - 1] == follows)
                tryShapes(swappedShapes, place, anchor);
        }
    }
    return runs;
}

} // namespace tamrivel
