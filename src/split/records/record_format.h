#pragma once

namespace tamrivel {

// How an image is laid out in a file: its bytes as they are, or as the text
// records that programmer software reads.
enum class RecordFormat { Binary, IntelHex, SRecord };

// Both record formats address at most 4 GiB.
inline constexpr long long kRecordAddressLimit = 1LL << 32;

} // namespace tamrivel
