#include "split/kernels/deal_kernel.h"

#include <QByteArrayList>

#include <cstring>
#include <stdexcept>
#include <type_traits>

namespace tamrivel {
namespace {

void copyUnit(uchar *to, const uchar *from, qsizetype count, bool swap)
{
    if (!swap) {
        std::memcpy(to, from, size_t(count));
        return;
    }
    for (qsizetype k = 0; k < count; ++k)
        to[k] = from[count - 1 - k];
}

// Whole rounds with the unit width known at compile time, so each unit is one
// load and one store. Each part is written from byte `offset` on.
template <int Width>
void dealRounds(const uchar *src, qsizetype rounds, int ways, bool swap, uchar *const *parts,
                qsizetype offset)
{
    const qsizetype stride = qsizetype(ways) * Width;
    for (int way = 0; way < ways; ++way) {
        const uchar *from = src + qsizetype(way) * Width;
        uchar *to = parts[way] + offset;
        for (qsizetype r = 0; r < rounds; ++r, from += stride, to += Width)
            copyUnit(to, from, Width, swap);
    }
}

template <int Width>
void gatherRounds(const uchar *const *parts, qsizetype offset, qsizetype rounds, int ways, bool swap,
                  uchar *dest)
{
    const qsizetype stride = qsizetype(ways) * Width;
    for (int way = 0; way < ways; ++way) {
        const uchar *from = parts[way] + offset;
        uchar *to = dest + qsizetype(way) * Width;
        for (qsizetype r = 0; r < rounds; ++r, from += Width, to += stride)
            copyUnit(to, from, Width, swap);
    }
}

template <typename Fn>
void byWidth(int width, Fn &&fn)
{
    switch (width) {
    case 1: fn(std::integral_constant<int, 1>()); break;
    case 2: fn(std::integral_constant<int, 2>()); break;
    case 4: fn(std::integral_constant<int, 4>()); break;
    case 8: fn(std::integral_constant<int, 8>()); break;
    // A width no kernel is built for would deal other bytes than asked.
    default: throw std::invalid_argument("no kernel deals units of this width");
    }
}

// TAMRIVEL_KERNELS=scalar, or a set's name, pins the kernels so that the
// tests can run each set in turn. A set this processor or build lacks stops
// the program: running another one instead would pass its tests untested.
const VectorKernels *chosenVectorKernels()
{
    const std::span<const VectorKernels> here = vectorKernelsHere();
    const QByteArray wanted = qgetenv("TAMRIVEL_KERNELS");
    if (wanted.isEmpty())
        return here.empty() ? nullptr : &here.back();
    if (wanted == "scalar")
        return nullptr;
    QByteArrayList known{"scalar"};
    for (const VectorKernels &set : here) {
        if (wanted == set.name)
            return &set;
        known.append(set.name);
    }
    qFatal("TAMRIVEL_KERNELS=%s: this processor and build run only %s", wanted.constData(),
           known.join(", ").constData());
}

} // namespace

const VectorKernels *fastestVectorKernels()
{
    static const VectorKernels *const chosen = chosenVectorKernels();
    return chosen;
}

void dealBlock(const DealShape &shape, const uchar *source, qsizetype length, uchar *const *parts,
               qsizetype *partLengths, const VectorKernels *vectors)
{
    for (int way = 0; way < shape.ways; ++way)
        partLengths[way] = shape.partSize(length, way);

    // The vector code covers whole rounds, of which each part holds its
    // width; the scalar code goes on from there.
    qsizetype at = 0;
    if (vectors)
        at = vectors->deal(shape.ways, shape.width, shape.swap, source, length, parts);
    const qsizetype offset = at / shape.ways;
    const qsizetype rounds = (length - at) / shape.roundBytes();
    // No pointer arithmetic at all without a whole round: a part may have no
    // buffer yet.
    if (rounds > 0) {
        byWidth(shape.width, [&](auto width) {
            dealRounds<decltype(width)::value>(source + at, rounds, shape.ways, shape.swap, parts, offset);
        });
    }
    // A short last round: each part takes what is left of its turn, in order.
    const qsizetype done = offset + rounds * shape.width;
    const uchar *tail = source + at + rounds * shape.roundBytes();
    for (int way = 0; way < shape.ways; ++way) {
        const qsizetype share = partLengths[way] - done;
        if (share <= 0)
            break;
        copyUnit(parts[way] + done, tail, share, shape.swap);
        tail += share;
    }
}

void gatherBlock(const DealShape &shape, const uchar *const *parts, const qsizetype *partLengths, uchar *dest,
                 const VectorKernels *vectors)
{
    qsizetype total = 0;
    for (int way = 0; way < shape.ways; ++way)
        total += partLengths[way];
    qsizetype at = 0;
    if (vectors)
        at = vectors->gather(shape.ways, shape.width, shape.swap, parts, total, dest);
    const qsizetype offset = at / shape.ways;
    const qsizetype rounds = partLengths[shape.ways - 1] / shape.width - offset / shape.width;
    if (rounds > 0) {
        byWidth(shape.width, [&](auto width) {
            gatherRounds<decltype(width)::value>(parts, offset, rounds, shape.ways, shape.swap, dest + at);
        });
    }
    const qsizetype done = offset + rounds * shape.width;
    uchar *tail = dest + at + rounds * shape.roundBytes();
    for (int way = 0; way < shape.ways; ++way) {
        const qsizetype share = partLengths[way] - done;
        if (share <= 0)
            break;
        copyUnit(tail, parts[way] + done, share, shape.swap);
        tail += share;
    }
}

} // namespace tamrivel
