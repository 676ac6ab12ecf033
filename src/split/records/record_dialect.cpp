#include "split/records/record_dialect.h"

#include "split/usage_error.h"

namespace tamrivel {

QString recordReachProblem(RecordFormat format, const RecordDialect &dialect, qint64 fileBytes)
{
    const qint64 reach = addressReach(format, dialect);
    const qint64 end = dialect.base + fileBytes;
    if (format == RecordFormat::Binary || end <= reach || (reach == kRecordAddressLimit && dialect.base == 0))
        return {};
    if (format == RecordFormat::IntelHex && dialect.hexAddressing == HexAddressing::Segment)
        return UsageError::tr("--ihex-addressing segment reaches only the first MiB (to 0x100000), but %1 "
                              "bytes from address 0x%2 end at 0x%3: use --ihex-addressing linear")
            .arg(fileBytes)
            .arg(dialect.base, 0, 16)
            .arg(end, 0, 16);
    if (reach < kRecordAddressLimit)
        return UsageError::tr("--srec-address %1 reaches only to 0x%2, but %3 bytes from address 0x%4 end "
                              "at 0x%5: choose a wider address")
            .arg(8 * dialect.sRecordAddressBytes)
            .arg(reach, 0, 16)
            .arg(fileBytes)
            .arg(dialect.base, 0, 16)
            .arg(end, 0, 16);
    return UsageError::tr("records reach only to 4 GiB (0x100000000), but %1 bytes from --base 0x%2 end at "
                          "0x%3")
        .arg(fileBytes)
        .arg(dialect.base, 0, 16)
        .arg(end, 0, 16);
}

} // namespace tamrivel
