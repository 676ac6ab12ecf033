#include "split/chips/fit_errors.h"

#include "split/chip_fit.h"
#include "split/usage_error.h"

namespace tamrivel {

RuntimeError chipOverflow(const QString &file, qint64 bytes, qint64 chipSize, bool atLeast)
{
    return RuntimeError(ErrorNumber::ChipOverflow, file,
                        (atLeast ? RuntimeError::tr("(output at least %1 bytes, chip %2 bytes)")
                                 : RuntimeError::tr("(output %1 bytes, chip %2 bytes)"))
                            .arg(bytes)
                            .arg(chipSize));
}

RuntimeError lengthBeyondParts(const QString &file, qint64 length, qint64 total)
{
    return RuntimeError(
        ErrorNumber::InvalidArgument, file,
        RuntimeError::tr("(--length %1 bytes is longer than the parts' %2 bytes)").arg(length).arg(total));
}

RuntimeError dataBeyondLength(const QString &file, qint64 offset, uchar byte)
{
    return RuntimeError(ErrorNumber::InvalidArgument, file,
                        RuntimeError::tr("(past --length, at 0x%1, is 0x%2, not the fill)")
                            .arg(offset, 0, 16)
                            .arg(byte, 2, 16, QLatin1Char('0')));
}

RuntimeError dataBeforeOffset(const QString &file, qint64 offset, qint64 at, uchar byte)
{
    return RuntimeError(ErrorNumber::InvalidArgument, file,
                        RuntimeError::tr("(before --offset %1, at 0x%2, is 0x%3, not the fill)")
                            .arg(offset)
                            .arg(at, 0, 16)
                            .arg(byte, 2, 16, QLatin1Char('0')));
}

QString noRoomProblem(const ChipFit &fit)
{
    if (fit.chipSize > 0 && fit.offset >= fit.chipSize)
        return UsageError::tr("--offset %1 leaves no room in a chip of %2 bytes")
            .arg(fit.offset)
            .arg(fit.chipSize);
    return {};
}

} // namespace tamrivel
