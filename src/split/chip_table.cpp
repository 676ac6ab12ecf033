#include "split/chip_table.h"

#include "runtime/edit_distance.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <vector>

namespace tamrivel {
namespace {

constexpr qint64 KiB = 1024;

// Sizes are the organisation printed on each part's datasheet, e.g. 32K x 8
// for the 27C256, 64K x 16 for the 27C1024.
constexpr std::array kChips{
    Chip{"2716", 2 * KiB, "8"},         Chip{"28C16", 2 * KiB, "8"},
    Chip{"2732", 4 * KiB, "8"},         Chip{"2764", 8 * KiB, "8"},
    Chip{"28C64", 8 * KiB, "8"},        Chip{"27128", 16 * KiB, "8"},
    Chip{"27256", 32 * KiB, "8"},       Chip{"28C256", 32 * KiB, "8"},
    Chip{"27512", 64 * KiB, "8"},       Chip{"27C010", 128 * KiB, "8"},
    Chip{"27C1024", 128 * KiB, "16"},   Chip{"29F010", 128 * KiB, "8"},
    Chip{"39SF010", 128 * KiB, "8"},    Chip{"27C020", 256 * KiB, "8"},
    Chip{"27C2048", 256 * KiB, "16"},   Chip{"39SF020", 256 * KiB, "8"},
    Chip{"27C040", 512 * KiB, "8"},     Chip{"27C4096", 512 * KiB, "16"},
    Chip{"27C400", 512 * KiB, "8/16"},  Chip{"29F040", 512 * KiB, "8"},
    Chip{"29F400", 512 * KiB, "8/16"},  Chip{"39SF040", 512 * KiB, "8"},
    Chip{"27C080", 1024 * KiB, "8"},    Chip{"27C801", 1024 * KiB, "8"},
    Chip{"27C800", 1024 * KiB, "8/16"}, Chip{"29F800", 1024 * KiB, "8/16"},
    Chip{"27C160", 2048 * KiB, "8/16"}, Chip{"27C322", 4096 * KiB, "16"},
};

// The part number whatever a maker prints around it: a prefix (M27C256B,
// AM27C256, W27C512), a revision letter, a speed grade (27C256-12). And
// 27C256 and 27256 name the same size: the C only says CMOS.
QString comparable(const QString &name)
{
    static const QRegularExpression partNumber(QStringLiteral("^[A-Z]*?((?:27|28|29|39)[A-Z]*[0-9]+)"));
    QString key = name.trimmed().toUpper();
    if (const QRegularExpressionMatch match = partNumber.match(key); match.hasMatch())
        key = match.captured(1);
    if (key.startsWith(QLatin1String("27C")))
        key.remove(2, 1);
    return key;
}

} // namespace

std::span<const Chip> chipTable()
{
    return kChips;
}

std::optional<Chip> findChip(const QString &name)
{
    const QString key = comparable(name);
    for (const Chip &chip : kChips) {
        if (comparable(QString::fromLatin1(chip.name)) == key)
            return chip;
    }
    return std::nullopt;
}

QStringList closestChipNames(const QString &name)
{
    const QString key = comparable(name);
    std::vector<std::pair<qsizetype, QString>> ranked;
    for (const Chip &chip : kChips) {
        const QString candidate = QString::fromLatin1(chip.name);
        ranked.emplace_back(editDistance(key, comparable(candidate)), candidate);
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    QStringList names;
    for (const auto &[distance, candidate] : ranked) {
        if (names.size() == 3 || distance > ranked.front().first)
            break;
        names.append(candidate);
    }
    return names;
}

} // namespace tamrivel
