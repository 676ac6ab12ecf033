#pragma once

#include <QCoreApplication>
#include <QList>
#include <QStringList>

namespace tamrivel {

// What the doctor can tell of a part or a set read back. Each is said in the
// user's language only when shown, so the window and the companion say the
// same thing in their own words.
enum class Cause {
    Blank,
    StopsAt, // numbers: the first offset left erased
    IsOtherPart, // names: the part it holds
    ByteSwapped,
    DataLineStuck, // numbers: the line, its value
    DataLinesSwapped, // numbers: the two lines, then the wiring that matches
    AddressLineStuck, // numbers: the line, its value
    AddressLinesSwapped, // numbers: the two lines, then where it can be wired the wiring that matches
    RepeatsEvery, // numbers: the period in bytes
    ShiftedBy, // numbers: the shift, signed
    FilledWith, // numbers: the byte held, the fill asked for
    FilledWithCopies, // numbers: the fill asked for
    SingleBitDifferences, // numbers: how many
    BitsDiffer, // numbers: how many
    SetInOrder, // names: the parts in the order that matches
    SetMatchesShape, // numbers: ways, width, 1 if swapped
    UnstableLine, // of reads of one chip; numbers: how many bits, the data line
    UnstableBits, // of reads of one chip; numbers: how many bits, over how many data lines
};
inline constexpr int kCauseCount = int(Cause::UnstableBits) + 1;

struct Finding {
    Cause cause;
    QList<qint64> numbers = {};
    QStringList names = {};

    bool operator==(const Finding &) const = default;
};

// The finding as one line, in the language of the installed catalogue.
QString findingText(const Finding &finding);
QStringList findingTexts(const QList<Finding> &findings);

} // namespace tamrivel
