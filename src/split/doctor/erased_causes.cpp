#include "split/doctor/read_back.h"

#include <algorithm>

namespace tamrivel::doctor {
namespace {

bool erasedFrom(const ReadBack &part, qint64 offset)
{
    return std::all_of(part.found + offset, part.found + part.size,
                       [](uchar byte) { return byte == kErasedByte; });
}

} // namespace

void addErasedCauses(const ReadBack &part, QList<Finding> &lines)
{
    // A blank chip also stops at 0; the one line says it better.
    if (erasedFrom(part, 0))
        lines << Finding{Cause::Blank};
    else if (erasedFrom(part, part.firstDifference))
        lines << Finding{Cause::StopsAt, {part.firstDifference}};
}

} // namespace tamrivel::doctor
