#include "split/doctor/finding.h"

#include "split/doctor/size_text.h"
#include "split/line_wiring.h"

namespace tamrivel {
namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(Finding)
};

// As a programmer's screen shows a byte: 0xFF.
QString byteText(qint64 byte)
{
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

QString repeatText(qint64 period)
{
    const QString size = sizeText(period);
    // "an 8K chip", "a 16K chip": both say the same in other languages.
    return (size.startsWith(QLatin1Char('8')) ? Words::tr("repeats every 0x%1 bytes: an %2 chip?")
                                              : Words::tr("repeats every 0x%1 bytes: a %2 chip?"))
        .arg(period, 0, 16)
        .arg(size);
}

// The wiring a crossed-lines finding carries after its two lines.
QString wiringText(const QList<qint64> &numbers)
{
    QList<int> lines;
    for (const qint64 line : numbers.sliced(2))
        lines << int(line);
    return linesText(lines);
}

} // namespace

QString findingText(const Finding &finding)
{
    const QList<qint64> &n = finding.numbers;
    switch (finding.cause) {
    case Cause::Blank: return Words::tr("blank");
    case Cause::StopsAt: return Words::tr("stops at 0x%1").arg(n[0], 0, 16);
    case Cause::IsOtherPart: return Words::tr("is %1").arg(finding.names.value(0));
    case Cause::ByteSwapped: return Words::tr("byte-swapped");
    case Cause::DataLineStuck: return Words::tr("D%1 stuck at %2").arg(n[0]).arg(n[1]);
    case Cause::DataLinesSwapped:
        return Words::tr("D%1 and D%2 swapped: matches --data-lines %3")
            .arg(n[0])
            .arg(n[1])
            .arg(wiringText(n));
    case Cause::AddressLineStuck: return Words::tr("A%1 stuck at %2").arg(n[0]).arg(n[1]);
    case Cause::AddressLinesSwapped:
        return n.size() > 2 ? Words::tr("A%1 and A%2 swapped: matches --address-lines %3")
                                  .arg(n[0])
                                  .arg(n[1])
                                  .arg(wiringText(n))
                            : Words::tr("A%1 and A%2 swapped").arg(n[0]).arg(n[1]);
    case Cause::RepeatsEvery: return repeatText(n[0]);
    case Cause::ShiftedBy:
        return Words::tr("shifted by %1")
            .arg(n[0] > 0 ? QStringLiteral("+%1").arg(n[0]) : QString::number(n[0]));
    case Cause::FilledWith:
        return Words::tr("filled with 0x%1, not 0x%2").arg(byteText(n[0]), byteText(n[1]));
    case Cause::FilledWithCopies:
        return Words::tr("filled with copies of the image (--fill mirror), not 0x%1").arg(byteText(n[0]));
    case Cause::SingleBitDifferences:
        return n[0] == 1 ? Words::tr("1 single-bit difference: a weak chip or a bad read?")
                         : Words::tr("%1 single-bit differences: a weak chip or a bad read?").arg(n[0]);
    case Cause::BitsDiffer: return Words::tr("%1 bits differ").arg(n[0]);
    case Cause::SetInOrder: return Words::tr("the set matches in the order %1").arg(finding.names.join(u' '));
    case Cause::SetMatchesShape:
        return Words::tr("matches --ways %1 --width %2%3")
            .arg(n[0])
            .arg(n[1])
            .arg(n[2] ? QStringLiteral(" --swap") : QString());
    case Cause::UnstableLine:
        return n[0] == 1
            ? Words::tr("1 bit unstable, in D%1: a weak cell or a bad read?").arg(n[1])
            : Words::tr("%1 bits unstable, all in D%2: a bad contact on D%2?").arg(n[0]).arg(n[1]);
    case Cause::UnstableBits:
        return Words::tr("%1 bits unstable over %2 data lines: a weak chip or a poor socket?")
            .arg(n[0])
            .arg(n[1]);
    }
    return {};
}

QStringList findingTexts(const QList<Finding> &findings)
{
    QStringList texts;
    for (const Finding &finding : findings)
        texts << findingText(finding);
    return texts;
}

} // namespace tamrivel
