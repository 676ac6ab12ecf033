#pragma once

#include "split/records/record_format.h"

#include <QString>

namespace tamrivel {

// How Intel HEX reaches past 64 KiB: extended linear addresses (type 04, to
// 4 GiB), or the segments of 16-byte paragraphs (type 02) that loaders for
// 8086-era targets want, which reach the first MiB.
enum class HexAddressing { Linear, Segment };

// Where programmer software and loaders disagree about record files: how
// many bytes a record holds, how addresses past 64 KiB are written, and where
// in the target's memory the image sits. Readers take any of them; only the
// base changes what a file means.
struct RecordDialect {
    static constexpr int kDefaultRecordBytes = 32;
    int recordBytes = kDefaultRecordBytes; // 1 to 255
    HexAddressing hexAddressing = HexAddressing::Linear;
    int sRecordAddressBytes = 0; // 2, 3 or 4 (S19, S28, S37); 0: as few as the last address needs
    qint64 base = 0; // the address of the image's first byte
};

// The first address that records of `format` written in `dialect` cannot
// reach.
constexpr qint64 addressReach(RecordFormat format, const RecordDialect &dialect)
{
    if (format == RecordFormat::IntelHex)
        return dialect.hexAddressing == HexAddressing::Segment ? 0x100000 : kRecordAddressLimit;
    return dialect.sRecordAddressBytes > 0 ? 1LL << (8 * dialect.sRecordAddressBytes) : kRecordAddressLimit;
}

// Why records of `format` in `dialect` cannot hold a file of `fileBytes`
// bytes, as a usage error's text; empty when they can. A file beyond 4 GiB
// with no base is left to the check that names it.
QString recordReachProblem(RecordFormat format, const RecordDialect &dialect, qint64 fileBytes);

} // namespace tamrivel
