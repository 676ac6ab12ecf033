#pragma once

#include "split/stream/named_device.h"

namespace tamrivel {

// Reads past the `offset` erased bytes a split put before a part's image.
// They must all be `fill`: anything else is data a join would lose, and is
// refused.
void skipOffset(const NamedDevice &part, qint64 offset, uchar fill);

} // namespace tamrivel
