#pragma once

#include "split/doctor/dump_identity.h"
#include "split/sums/byte_sums.h"

#include <QStringList>

#include <optional>

namespace tamrivel {

class RuntimeError;

// One dump as the check window shows it, in Japanese: the part of the split
// it is, how it compares, why it may differ, and the sums a programmer shows
// for it.
struct DumpRow {
    QString dump;
    QString part; // empty where it is none
    QString verdict;
    QStringList causes;
    std::optional<ByteSums> sums; // none for a dump that could not be read
};

DumpRow dumpRow(const DumpIdentity &identity, const ByteSums &sums);
DumpRow unreadableRow(const QString &dump, const RuntimeError &error);

// The part a split writes there: 偶数 or 奇数 for the window's own split,
// otherwise the way of its shape, then the bank and chip it is on.
QString partText(const DumpPlace &place);

// As programmers show them: four and eight hex digits.
QString sum16Text(const ByteSums &sums);
QString sum32Text(const ByteSums &sums);
QString crcText(const ByteSums &sums);

} // namespace tamrivel
