#pragma once

#include "runtime/runtime_error.h"

namespace tamrivel {

// How an image is laid out in a file: its bytes as they are, or as the text
// records that programmer software reads.
enum class RecordFormat { Binary, IntelHex, SRecord };

// Both record formats address at most 4 GiB.
inline constexpr long long kRecordAddressLimit = 1LL << 32;

// The error for a record file whose addresses would pass that limit.
inline RuntimeError beyondRecordAddresses(const QString &file)
{
    return RuntimeError(ErrorNumber::InvalidArgument, file,
                        RuntimeError::tr("(Intel HEX and S-records hold at most 4 GiB)"));
}

} // namespace tamrivel
