#pragma once

#include "dump_row.h"

namespace tamrivel {

// What was checked and what was found, as plain text for a forum post or a
// repair log: the image and chip, then each dump with its part, verdict,
// findings (the likely causes) and sums.
struct CheckResult {
    QString image;
    std::optional<ByteSums> imageSums;
    QString chip; // as the chip box showed it
    QList<DumpRow> rows;
};

QString resultText(const CheckResult &result);

} // namespace tamrivel
