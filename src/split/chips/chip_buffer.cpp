#include "split/chips/chip_buffer.h"

#include "split/chips/fit_errors.h"
#include "split/chips/way_device.h"
#include "split/input/input_file.h"
#include "split/usage_error.h"

#include <vector>

namespace tamrivel {

void streamChipBuffer(const InputFile &input, const ChipFit &fit, ByteSink &sink, const Watchers &watchers)
{
    if (const QString noRoom = noRoomProblem(fit); !noRoom.isEmpty())
        throw UsageError{noRoom};
    // Refused before a byte is read, where the size is known.
    if (fit.chipSize > 0 && input.sizeKnown() && input.size() > fit.room())
        throw chipOverflow(input.path(), fit.offset + input.size(), fit.chipSize);
    WayDevice chip({&sink}, {input.path()}, fit);
    std::vector<char> block(64 * 1024);
    qint64 done = 0;
    while (const qsizetype got = readFully(input.device(), block.data(), qsizetype(block.size()))) {
        if (watchers.stop && watchers.stop->load(std::memory_order_relaxed))
            throw RuntimeError(ErrorNumber::Cancelled);
        chip.write(block.data(), got);
        done += got;
        if (watchers.progress)
            watchers.progress(done, std::max(input.size(), done));
    }
    chip.finish();
    input.confirmUnchanged();
}

} // namespace tamrivel
