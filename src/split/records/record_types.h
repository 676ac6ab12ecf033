#pragma once

#include "split/records/record_format.h"

#include <QtGlobal>

// What the reader and the writer of record files agree on: the record types,
// their address widths and how a record's checksum is made.
namespace tamrivel::records {

// Intel HEX record types.
enum HexType : int {
    kHexData = 0,
    kHexEnd = 1,
    kHexSegmentBase = 2, // the address of 16-byte paragraphs, shifted by 4
    kHexSegmentStart = 3, // CS:IP, for a processor to start at: no image bytes
    kHexLinearBase = 4, // the upper 16 bits of a 32-bit address
    kHexLinearStart = 5, // EIP, likewise
};

// The bytes of data each Intel HEX type other than data carries.
constexpr int hexDataBytes(int type)
{
    return type == kHexSegmentBase || type == kHexLinearBase  ? 2
        : type == kHexSegmentStart || type == kHexLinearStart ? 4
                                                              : 0;
}

// The address bytes of each S-record type, S0 to S9; S4 is reserved (0).
inline constexpr int kSRecordAddressBytes[10] = {2, 2, 3, 4, 0, 2, 3, 4, 3, 2};

// The data record (S1, S2, S3) and the termination (S9, S8, S7) that go with
// an address width of 2, 3 or 4 bytes.
constexpr int sRecordDataType(int addressBytes)
{
    return addressBytes - 1;
}
constexpr int sRecordEndType(int addressBytes)
{
    return 11 - addressBytes;
}

// The checksum byte that ends a record whose other bytes (length, address,
// type for Intel HEX, data) add up to `sum`.
constexpr uchar checksumFor(RecordFormat format, uint sum)
{
    return format == RecordFormat::IntelHex ? uchar(0x100 - (sum & 0xFF)) : uchar(~sum);
}

// True when `sum`, of every byte of a record, its checksum included, is what
// a sound record adds up to.
constexpr bool checksumHolds(RecordFormat format, uint sum)
{
    return (sum & 0xFF) == (format == RecordFormat::IntelHex ? 0x00 : 0xFF);
}

} // namespace tamrivel::records
