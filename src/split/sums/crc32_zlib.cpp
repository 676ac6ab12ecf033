#include "split/sums/crc32.h"

#include <zlib.h>

namespace tamrivel {

quint32 crc32Update(quint32 crc, const char *data, qsizetype length)
{
    return quint32(::crc32_z(crc, reinterpret_cast<const Bytef *>(data), z_size_t(length)));
}

} // namespace tamrivel
