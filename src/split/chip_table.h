#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <span>

namespace tamrivel {

// A memory part a split output may be burnt into.
struct Chip {
    const char *name;
    qint64 bytes;
    const char *dataBus; // bits: "8", "16", or "8/16" where a pin selects
};

// The parts we know, smallest first.
std::span<const Chip> chipTable();

// The part called `name`, ignoring case and the C of a CMOS EPROM (27C256
// and 27256 are the same size).
std::optional<Chip> findChip(const QString &name);

// The names nearest to a misspelt `name`, best first.
QStringList closestChipNames(const QString &name);

} // namespace tamrivel
