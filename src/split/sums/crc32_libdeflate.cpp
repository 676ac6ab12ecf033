#include "split/sums/crc32.h"

#include <libdeflate.h>

namespace tamrivel {

quint32 crc32Update(quint32 crc, const char *data, qsizetype length)
{
    return quint32(libdeflate_crc32(crc, data, size_t(length)));
}

} // namespace tamrivel
