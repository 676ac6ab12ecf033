#include "split/chips/offset_skip.h"

#include "runtime/runtime_error.h"
#include "split/chips/fit_errors.h"

#include <vector>

namespace tamrivel {

void skipOffset(const NamedDevice &part, qint64 offset, uchar fill)
{
    std::vector<char> buffer(size_t(std::min<qint64>(offset, 64 * 1024)));
    for (qint64 done = 0; done < offset;) {
        const qsizetype take = qsizetype(std::min<qint64>(qint64(buffer.size()), offset - done));
        if (readFully(part, buffer.data(), take) != take)
            throw RuntimeError(ErrorNumber::MisfitParts, part.name);
        for (qsizetype i = 0; i < take; ++i) {
            if (uchar(buffer[size_t(i)]) != fill)
                throw dataBeforeOffset(part.name, offset, done + i, uchar(buffer[size_t(i)]));
        }
        done += take;
    }
}

} // namespace tamrivel
