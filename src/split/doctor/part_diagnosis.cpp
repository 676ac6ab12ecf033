#include "split/doctor/part_diagnosis.h"

#include "split/doctor/part_digest.h"
#include "split/doctor/read_back.h"

#include <algorithm>

namespace tamrivel {

QStringList diagnosePart(const QByteArray &expected, const QByteArray &found, const PartContext &context)
{
    const auto *expectedBytes = reinterpret_cast<const uchar *>(expected.constData());
    const auto *foundBytes = reinterpret_cast<const uchar *>(found.constData());
    const qint64 firstDifference =
        std::mismatch(expectedBytes, expectedBytes + expected.size(), foundBytes).first - expectedBytes;
    const doctor::ReadBack part{expectedBytes, foundBytes, expected.size(), firstDifference};

    QStringList lines;
    doctor::addErasedCauses(part, lines);
    const QByteArray digest = PartDigest::of(found);
    for (const OtherPart &other : context.others) {
        if (other.digest == digest)
            lines << QStringLiteral("is %1").arg(other.name);
    }
    doctor::addByteOrderCauses(part, context.width, lines);
    doctor::addDataLineCauses(part, context.width, lines);
    doctor::addAddressLineCauses(part, lines);
    doctor::addPlacementCauses(part, context, lines);
    if (lines.isEmpty())
        lines << doctor::bitDifferences(part);
    return lines;
}

} // namespace tamrivel
