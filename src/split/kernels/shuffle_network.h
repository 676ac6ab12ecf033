#pragma once

// The deal and the gather as byte shuffles, for the per-instruction-set files
// only. Each of those is compiled for its own instruction set, so everything
// here has internal linkage: no copy built for one set may stand in for
// another at link time.

#include "split/kernels/vector_kernels.h"

#include <cstring>

namespace tamrivel {
namespace {

// Bytes one shuffle can reach. A group is one such lane of every part:
// 16 x ways bytes of the source, which is 16 / width whole rounds.
constexpr int kLane = 16;

// masks[from][to] moves the bytes of input vector `from` that belong in
// output vector `to` to their places there; every other place holds 0x80,
// which the shuffle turns into zero, so OR-ing the shuffles of all inputs
// builds the output. The deal's inputs are the source's vectors and its
// outputs the parts'; the gather's are the other way round.
template <int Ways>
struct Network {
    alignas(kLane) uchar masks[Ways][Ways][kLane];

    Network() { std::memset(masks, 0x80, sizeof masks); }
};

// Where byte `within` of a unit lands once the unit is (or is not) reversed.
inline int turned(int within, int width, bool swap)
{
    return swap ? width - 1 - within : within;
}

template <int Ways>
Network<Ways> dealNetwork(int width, bool swap)
{
    Network<Ways> network;
    const int round = Ways * width;
    for (int part = 0; part < Ways; ++part) {
        for (int at = 0; at < kLane; ++at) {
            const int from = (at / width) * round + part * width + turned(at % width, width, swap);
            network.masks[from / kLane][part][at] = uchar(from % kLane);
        }
    }
    return network;
}

template <int Ways>
Network<Ways> gatherNetwork(int width, bool swap)
{
    Network<Ways> network;
    const int round = Ways * width;
    for (int at = 0; at < Ways * kLane; ++at) {
        const int inRound = at % round;
        const int from = (at / round) * width + turned(inRound % width, width, swap);
        network.masks[inRound / width][at / kLane][at % kLane] = uchar(from);
    }
    return network;
}

// V describes one instruction set: its register Reg holding V::kGroups
// lanes, one group each; loadGroups/storeGroups take lane g at
// address + g x stride, loadRun/storeRun a run of consecutive lanes.
template <class V, int Ways>
struct ShuffleKernel {
    using Reg = typename V::Reg;
    static constexpr qsizetype kStep = qsizetype(kLane) * Ways * V::kGroups;

    Reg masks[Ways][Ways];

    explicit ShuffleKernel(const Network<Ways> &network)
    {
        for (int from = 0; from < Ways; ++from)
            for (int to = 0; to < Ways; ++to)
                masks[from][to] = V::loadMask(network.masks[from][to]);
    }

    Reg output(const Reg (&in)[Ways], int to) const
    {
        Reg out = V::shuffle(in[0], masks[0][to]);
#pragma GCC unroll 16
        for (int from = 1; from < Ways; ++from)
            out = V::merge(out, V::shuffle(in[from], masks[from][to]));
        return out;
    }

    qsizetype deal(const uchar *source, qsizetype length, uchar *const *parts) const
    {
        qsizetype at = 0;
        for (qsizetype out = 0; at + kStep <= length; at += kStep, out += kLane * V::kGroups) {
            Reg in[Ways];
#pragma GCC unroll 16
            for (int from = 0; from < Ways; ++from)
                in[from] = V::loadGroups(source + at + from * kLane, kLane * Ways);
#pragma GCC unroll 16
            for (int to = 0; to < Ways; ++to)
                V::storeRun(parts[to] + out, output(in, to));
        }
        return at;
    }

    qsizetype gather(const uchar *const *parts, qsizetype total, uchar *dest) const
    {
        qsizetype at = 0;
        for (qsizetype in = 0; at + kStep <= total; at += kStep, in += kLane * V::kGroups) {
            Reg from[Ways];
#pragma GCC unroll 16
            for (int part = 0; part < Ways; ++part)
                from[part] = V::loadRun(parts[part] + in);
#pragma GCC unroll 16
            for (int to = 0; to < Ways; ++to)
                V::storeGroups(dest + at + to * kLane, kLane * Ways, output(from, to));
        }
        return at;
    }
};

// The network's ways x ways shuffles cost too much past five ways. There the
// group is a matrix with a round in each row, and a transpose of square tiles
// of Units x Units units (log2(Units) rounds of interleaving Units vectors)
// turns its columns into the parts' vectors.
template <class V, int Ways, int Width>
struct TransposeKernel {
    using Reg = typename V::Reg;
    static constexpr int kUnits = kLane / Width;
    static constexpr int kTiles = (Ways + kUnits - 1) / kUnits;
    static constexpr int kRound = Ways * Width;
    static constexpr qsizetype kGroup = qsizetype(kLane) * Ways;
    static constexpr qsizetype kStep = kGroup * V::kGroups;

    Reg reverse;
    bool swap;

    explicit TransposeKernel(bool swapUnits) : swap(swapUnits)
    {
        alignas(kLane) uchar mask[kLane];
        for (int at = 0; at < kLane; ++at)
            mask[at] = uchar(at - at % Width + turned(at % Width, Width, true));
        reverse = V::loadMask(mask);
    }

    // The first unit of a tile. A round of a whole tile or more ends its
    // last tile at the round's end, overlapping the one before, so that no
    // tile reaches into the next round; a shorter round takes one tile that
    // does.
    static constexpr int tileStart(int tile)
    {
        return Ways >= kUnits ? (tile * kUnits < Ways - kUnits ? tile * kUnits : Ways - kUnits) : 0;
    }

    static void transpose(Reg (&rows)[kUnits])
    {
#pragma GCC unroll 4
        for (int stage = 1; stage < kUnits; stage *= 2) {
            Reg next[kUnits];
#pragma GCC unroll 8
            for (int i = 0; i < kUnits / 2; ++i) {
                next[2 * i] = V::template interleaveLow<Width>(rows[i], rows[i + kUnits / 2]);
                next[2 * i + 1] = V::template interleaveHigh<Width>(rows[i], rows[i + kUnits / 2]);
            }
#pragma GCC unroll 16
            for (int i = 0; i < kUnits; ++i)
                rows[i] = next[i];
        }
    }

    Reg turn(Reg units) const
    {
        return swap ? V::shuffle(units, reverse) : units;
    }

    // A round shorter than a vector is read a vector at a time, reaching up
    // to a vector past the group, hence the margin at the end.
    qsizetype deal(const uchar *source, qsizetype length, uchar *const *parts) const
    {
        qsizetype at = 0;
        for (qsizetype out = 0; at + kStep + kLane <= length; at += kStep, out += kLane * V::kGroups) {
#pragma GCC unroll 8
            for (int tile = 0; tile < kTiles; ++tile) {
                Reg rows[kUnits];
#pragma GCC unroll 16
                for (int round = 0; round < kUnits; ++round)
                    rows[round] =
                        V::loadGroups(source + at + round * kRound + tileStart(tile) * Width, kGroup);
                transpose(rows);
#pragma GCC unroll 16
                for (int unit = 0; unit < kUnits; ++unit) {
                    if (tileStart(tile) + unit < Ways)
                        V::storeRun(parts[tileStart(tile) + unit] + out, turn(rows[unit]));
                }
            }
        }
        return at;
    }

    // A round shorter than a vector is written a vector at a time, so each
    // group is written in order and what spills past a round is written over
    // by the next; the margin keeps the last spill inside `dest`.
    qsizetype gather(const uchar *const *parts, qsizetype total, uchar *dest) const
    {
        qsizetype at = 0;
        for (qsizetype in = 0; at + kStep + kLane <= total; at += kStep, in += kLane * V::kGroups) {
            Reg rows[kTiles][kUnits];
#pragma GCC unroll 8
            for (int tile = 0; tile < kTiles; ++tile) {
#pragma GCC unroll 16
                for (int unit = 0; unit < kUnits; ++unit) {
                    const int part = tileStart(tile) + unit;
                    rows[tile][unit] = part < Ways ? turn(V::loadRun(parts[part] + in)) : V::zero();
                }
                transpose(rows[tile]);
            }
#pragma GCC unroll 2
            for (int group = 0; group < V::kGroups; ++group) {
#pragma GCC unroll 16
                for (int round = 0; round < kUnits; ++round) {
#pragma GCC unroll 8
                    for (int tile = 0; tile < kTiles; ++tile)
                        V::storeGroup(dest + at + group * kGroup + round * kRound + tileStart(tile) * Width,
                                      group, rows[tile][round]);
                }
            }
        }
        return at;
    }
};

template <class V, int Ways, typename Fn>
qsizetype byWidth(int width, bool swap, Fn &&fn)
{
    switch (width) {
    case 1: return fn(TransposeKernel<V, Ways, 1>(swap));
    case 2: return fn(TransposeKernel<V, Ways, 2>(swap));
    case 4: return fn(TransposeKernel<V, Ways, 4>(swap));
    default: return fn(TransposeKernel<V, Ways, 8>(swap));
    }
}

// The number of ways (and past five, the width) becomes a constant, so every
// loop above unrolls.
template <class V, int Ways = 2>
qsizetype dealWith(int ways, int width, bool swap, const uchar *source, qsizetype length, uchar *const *parts)
{
    if constexpr (Ways > 16) {
        return 0;
    } else {
        if (ways != Ways)
            return dealWith<V, Ways + 1>(ways, width, swap, source, length, parts);
        if constexpr (Ways <= 5)
            return ShuffleKernel<V, Ways>(dealNetwork<Ways>(width, swap)).deal(source, length, parts);
        else
            return byWidth<V, Ways>(width, swap,
                                    [&](const auto &kernel) { return kernel.deal(source, length, parts); });
    }
}

template <class V, int Ways = 2>
qsizetype gatherWith(int ways, int width, bool swap, const uchar *const *parts, qsizetype total, uchar *dest)
{
    if constexpr (Ways > 16) {
        return 0;
    } else {
        if (ways != Ways)
            return gatherWith<V, Ways + 1>(ways, width, swap, parts, total, dest);
        if constexpr (Ways <= 5)
            return ShuffleKernel<V, Ways>(gatherNetwork<Ways>(width, swap)).gather(parts, total, dest);
        else
            return byWidth<V, Ways>(width, swap,
                                    [&](const auto &kernel) { return kernel.gather(parts, total, dest); });
    }
}

} // namespace
} // namespace tamrivel
