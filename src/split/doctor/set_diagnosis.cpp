#include "split/doctor/set_diagnosis.h"

#include "split/doctor/expected_parts.h"
#include "split/doctor/part_diagnosis.h"
#include "split/input/input_file.h"

namespace tamrivel {
namespace {

QStringList namesOf(const QList<PartVerdict> &verdicts)
{
    QStringList names;
    for (const PartVerdict &verdict : verdicts)
        names << verdict.name;
    return names;
}

// The line for parts that are all there, in another order: the names in the
// order that matches.
QString orderLine(const QList<PartVerdict> &verdicts, const QList<QByteArray> &found,
                  const QList<QByteArray> &expected)
{
    QStringList order;
    for (const QByteArray &digest : expected) {
        const qsizetype part = found.indexOf(digest);
        if (part < 0 || order.contains(verdicts[part].name))
            return {};
        order << verdicts[part].name;
    }
    return QStringLiteral("the set matches in the order %1").arg(order.join(QLatin1Char(' ')));
}

// Another shape whose split of the source gives exactly the parts found.
QString otherShapeLine(const QString &source, const QList<PartVerdict> &verdicts, const DealShape &shape,
                       const ChipFit &fit, qint64 sourceSize, const QList<QByteArray> &found,
                       const std::atomic<bool> *stop)
{
    ChipFit raw = fit;
    raw.format = RecordFormat::Binary;
    for (const DealShape &other : DealShape::every()) {
        if (other == shape)
            continue;
        const std::optional<PartLayout> layout = PartLayout::ifWritable(other, raw, sourceSize);
        bool sizesFit = layout && layout->fileCount() == verdicts.size();
        for (int file = 0; sizesFit && file < layout->fileCount(); ++file)
            sizesFit = layout->fileSize(file) == verdicts[file].foundSize;
        if (!sizesFit || dealExpected(source, *layout, namesOf(verdicts), -1, stop).digests != found)
            continue;
        return QStringLiteral("matches --ways %1 --width %2%3")
            .arg(other.ways)
            .arg(other.width)
            .arg(other.swap ? QStringLiteral(" --swap") : QString());
    }
    return {};
}

PartFindings partFindings(const QString &source, const PartVerdict &verdict, const PartLayout &layout,
                          int file, const ExpectedParts &expected, const QStringList &names,
                          const std::atomic<bool> *stop)
{
    PartContext context = PartContext::of(layout, file);
    for (int other = 0; other < names.size(); ++other) {
        if (other != file)
            context.others.append({names[other], expected.digests[other]});
    }
    PartFindings findings;
    findings.notHeld = verdict.expectedSize > kMaxDiagnosedPart;
    if (findings.notHeld || verdict.foundSize != verdict.expectedSize) {
        // Only a digest can tell this part from the others.
        const QByteArray digest =
            readFoundPart(verdict.name, layout.fit().fill, verdict.expectedSize, false).digest;
        for (const OtherPart &other : context.others) {
            if (other.digest == digest)
                findings.likely << QStringLiteral("is %1").arg(other.name);
        }
        return findings;
    }
    const QByteArray bytes = dealExpected(source, layout, names, file, stop).kept;
    const FoundPart found = readFoundPart(verdict.name, layout.fit().fill, verdict.expectedSize, true);
    findings.likely = diagnosePart(bytes, found.bytes, context);
    return findings;
}

} // namespace

SetFindings diagnoseSet(const QString &source, const QList<PartVerdict> &verdicts, const DealShape &shape,
                        const ChipFit &fit, const std::atomic<bool> *stop)
{
    const qint64 sourceSize = InputFile(source, InputFile::Reading::Raw).size();
    const PartLayout layout(shape, fit, sourceSize);
    const QStringList names = namesOf(verdicts);
    const ExpectedParts expected = dealExpected(source, layout, names, -1, stop);

    SetFindings findings;
    QList<QByteArray> found;
    bool allHeld = true;
    for (int file = 0; file < verdicts.size(); ++file) {
        const PartVerdict &verdict = verdicts[file];
        allHeld = allHeld && verdict.foundSize <= kMaxDiagnosedPart;
        if (verdict.same()) {
            found.append(expected.digests[file]);
            findings.parts.append(PartFindings{});
            continue;
        }
        found.append(readFoundPart(verdict.name, fit.fill, verdict.expectedSize, false).digest);
        findings.parts.append(partFindings(source, verdict, layout, file, expected, names, stop));
    }
    if (const QString order = orderLine(verdicts, found, expected.digests); !order.isEmpty())
        findings.set << order;
    if (allHeld) {
        if (const QString other = otherShapeLine(source, verdicts, shape, fit, sourceSize, found, stop);
            !other.isEmpty())
            findings.set << other;
    }
    return findings;
}

} // namespace tamrivel
