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

// S-record types, S0 to S9, named by what they hold and, where it varies,
// the width of their address field.
enum SRecordType : int {
    kSHeader = 0, // text naming the file: no image bytes
    kSData16 = 1,
    kSData24 = 2,
    kSData32 = 3,
    kSReserved = 4,
    kSCount16 = 5, // the count of data records, in the address field
    kSCount24 = 6,
    kSEnd32 = 7, // the start address, which ends the file
    kSEnd24 = 8,
    kSEnd16 = 9,
};

// What a record of one type holds. Records that carry no image bytes have an
// address field the formats fix at zero, except for the termination records,
// whose address is where a processor starts.
struct RecordShape {
    int addressBytes; // 0: the type is not one the format defines
    int dataBytes; // kAnyData for the records that carry the image or a header
    bool addressIsZero;
};
inline constexpr int kAnyData = -1;
inline constexpr int kHexTypeCount = 6;
inline constexpr RecordShape kHexShapes[kHexTypeCount] = {
    {2, kAnyData, false}, {2, 0, true}, {2, 2, true}, {2, 4, true}, {2, 2, true}, {2, 4, true},
};

inline constexpr int kSRecordTypeCount = 10;
inline constexpr RecordShape kSRecordShapes[kSRecordTypeCount] = {
    {2, kAnyData, true}, {2, kAnyData, false}, {3, kAnyData, false}, {4, kAnyData, false}, {0, 0, false},
    {2, 0, false},       {3, 0, false},        {4, 0, false},        {3, 0, false},        {2, 0, false},
};

// The data record and the termination that go with an address width of 2,
// 3 or 4 bytes: the data types widen upwards, the terminations downwards.
constexpr SRecordType sRecordDataType(int addressBytes)
{
    return SRecordType(kSData16 + (addressBytes - 2));
}
constexpr SRecordType sRecordEndType(int addressBytes)
{
    return SRecordType(kSEnd16 - (addressBytes - 2));
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
