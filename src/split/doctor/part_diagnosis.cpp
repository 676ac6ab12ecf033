#include "split/doctor/part_diagnosis.h"

#include "split/doctor/part_digest.h"
#include "split/doctor/read_back.h"

#include <algorithm>

namespace tamrivel {

namespace {

doctor::ReadBack readBack(const QByteArray &expected, const QByteArray &found)
{
    const auto *expectedBytes = reinterpret_cast<const uchar *>(expected.constData());
    const auto *foundBytes = reinterpret_cast<const uchar *>(found.constData());
    const qint64 firstDifference =
        std::mismatch(expectedBytes, expectedBytes + expected.size(), foundBytes).first - expectedBytes;
    return {expectedBytes, foundBytes, expected.size(), firstDifference};
}

} // namespace

QList<Finding> likelyCauses(const QByteArray &expected, const QByteArray &found, const PartContext &context)
{
    const doctor::ReadBack part = readBack(expected, found);
    QList<Finding> lines;
    doctor::addErasedCauses(part, lines);
    const QByteArray digest = PartDigest::of(found);
    for (const OtherPart &other : context.others) {
        if (other.digest == digest)
            lines << Finding{Cause::IsOtherPart, {}, {other.name}};
    }
    // One byte throughout says nothing of where bytes came from: any move of
    // the part's own erased stretches would seem to explain it.
    const bool uniform = std::all_of(part.found, part.found + part.size,
                                     [first = part.found[0]](uchar byte) { return byte == first; });
    if (!uniform)
        doctor::addByteOrderCauses(part, context.width, lines);
    doctor::addDataLineCauses(part, context, lines);
    if (!uniform) {
        doctor::addAddressLineCauses(part, context, lines);
        doctor::addPlacementCauses(part, context, lines);
    }
    return lines;
}

QList<Finding> diagnosePart(const QByteArray &expected, const QByteArray &found, const PartContext &context)
{
    const QList<Finding> lines = likelyCauses(expected, found, context);
    return lines.isEmpty() ? QList<Finding>{doctor::bitDifferences(readBack(expected, found))} : lines;
}

} // namespace tamrivel
