#pragma once

#include <QtGlobal>

namespace tamrivel {

// CRC-32 as zip, PNG and zlib compute it: `crc` is the value so far (0 at the
// start), and the result covers those bytes followed by `data`. CMake picks
// the library that provides it.
quint32 crc32Update(quint32 crc, const char *data, qsizetype length);

} // namespace tamrivel
