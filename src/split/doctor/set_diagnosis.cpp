#include "split/doctor/set_diagnosis.h"

#include "split/doctor/expected_parts.h"
#include "split/doctor/part_diagnosis.h"

#include <algorithm>
#include <optional>

namespace tamrivel {
namespace {

QStringList namesOf(const QList<PartVerdict> &verdicts)
{
    QStringList names;
    for (const PartVerdict &verdict : verdicts)
        names << verdict.name;
    return names;
}

// For parts that are all there, in another order: the names in the order
// that matches.
std::optional<Finding> orderFinding(const QList<PartVerdict> &verdicts, const QList<QByteArray> &found,
                                    const QList<QByteArray> &expected)
{
    QStringList order;
    for (const QByteArray &digest : expected) {
        const qsizetype part = found.indexOf(digest);
        if (part < 0 || order.contains(verdicts[part].name))
            return {};
        order << verdicts[part].name;
    }
    return Finding{Cause::SetInOrder, {}, order};
}

// False for a part too large to hold whose size no file of the split has:
// it can be none of them, and reading it through (records may place their
// data gigabytes apart) would tell nothing.
bool mayBeAnother(const QList<PartVerdict> &verdicts, const PartVerdict &part)
{
    return part.foundSize <= kMaxDiagnosedPart ||
        std::any_of(verdicts.cbegin(), verdicts.cend(),
                    [&](const PartVerdict &other) { return other.expectedSize == part.foundSize; });
}

// A part compared byte by byte with what it should hold: of that size, and
// small enough to hold in memory.
bool isHeld(const PartVerdict &part)
{
    return part.foundSize == part.expectedSize && part.expectedSize <= kMaxDiagnosedPart;
}

// Another shape whose split of the source gives exactly the parts found.
std::optional<Finding> otherShapeFinding(VerifiedParts &verified, const QList<QByteArray> &found,
                                         const std::atomic<bool> *stop)
{
    const QList<PartVerdict> &verdicts = verified.verdicts;
    const qint64 sourceSize = verified.source->size();
    const DealShape &shape = verified.layout->shape();
    ChipFit raw = verified.layout->fit();
    raw.format = RecordFormat::Binary;
    for (const DealShape &other : DealShape::every()) {
        if (other == shape)
            continue;
        const std::optional<PartLayout> layout = PartLayout::ifWritable(other, raw, sourceSize);
        bool sizesFit = layout && layout->fileCount() == verdicts.size();
        for (int file = 0; sizesFit && file < layout->fileCount(); ++file)
            sizesFit = layout->fileSize(file) == verdicts[file].foundSize;
        if (!sizesFit ||
            dealExpected(*verified.source, *layout, namesOf(verdicts), -1, stop).digests != found)
            continue;
        return Finding{Cause::SetMatchesShape, {other.ways, other.width, other.swap ? 1 : 0}};
    }
    return {};
}

// `part` is the part as read: its digest, and its bytes where it is held.
PartFindings partFindings(VerifiedParts &verified, const FoundPart &part, int file,
                          const ExpectedParts &expected, const QStringList &names,
                          const std::atomic<bool> *stop)
{
    const PartLayout &layout = *verified.layout;
    const PartVerdict &verdict = verified.verdicts[file];
    PartContext context = PartContext::of(layout, file);
    for (int other = 0; other < names.size(); ++other) {
        if (other != file)
            context.others.append({names[other], expected.digests[other]});
    }
    PartFindings findings;
    findings.notHeld = verdict.expectedSize > kMaxDiagnosedPart;
    if (!mayBeAnother(verified.verdicts, verdict))
        return findings;
    if (!isHeld(verdict)) {
        // Only a digest can tell this part from the others.
        for (const OtherPart &other : context.others) {
            if (other.digest == part.digest)
                findings.likely << Finding{Cause::IsOtherPart, {}, {other.name}};
        }
        return findings;
    }
    const QByteArray bytes = dealExpected(*verified.source, layout, names, file, stop).kept;
    findings.likely = diagnosePart(bytes, part.bytes, context);
    return findings;
}

} // namespace

SetFindings diagnoseSet(VerifiedParts &verified, const std::atomic<bool> *stop)
{
    const QList<PartVerdict> &verdicts = verified.verdicts;
    const QStringList names = namesOf(verdicts);
    const ExpectedParts expected = dealExpected(*verified.source, *verified.layout, names, -1, stop);

    SetFindings findings;
    QList<QByteArray> found;
    bool allHeld = true;
    auto part = verified.parts.begin();
    for (int file = 0; file < verdicts.size(); ++file, ++part) {
        const PartVerdict &verdict = verdicts[file];
        allHeld = allHeld && verdict.foundSize <= kMaxDiagnosedPart;
        if (verdict.same()) {
            found.append(expected.digests[file]);
            findings.parts.append(PartFindings{});
            continue;
        }
        // Read once, for its digest and, where held, its bytes.
        const FoundPart read =
            mayBeAnother(verdicts, verdict) ? readFoundPart(*part, isHeld(verdict)) : FoundPart{};
        found.append(read.digest);
        findings.parts.append(partFindings(verified, read, file, expected, names, stop));
    }
    if (const std::optional<Finding> order = orderFinding(verdicts, found, expected.digests))
        findings.set << *order;
    if (allHeld) {
        if (const std::optional<Finding> other = otherShapeFinding(verified, found, stop))
            findings.set << *other;
    }
    return findings;
}

} // namespace tamrivel
