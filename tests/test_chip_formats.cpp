#include "cli/size_argument.h"
#include "cli_runner.h"
#include "naive_records.h"
#include "reference_deal.h"
#include "runtime/runtime_error.h"
#include "split/chip_table.h"
#include "split/part_layout.h"
#include "split/records/record_writer.h"
#include "split/split_files.h"
#include "split/usage_error.h"
#include "temp_files.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace tamrivel;
using namespace tamrivel::testing;

namespace {

QByteArray written(RecordFormat format, const QByteArray &image, qint64 declaredSize,
                   const RecordDialect &dialect = {}, qsizetype chunk = 7)
{
    QByteArray text;
    RecordWriter writer(format, dialect, declaredSize, QStringLiteral("dir/a"),
                        [&](const char *data, qsizetype length) { text.append(data, length); });
    for (qsizetype at = 0; at < image.size(); at += chunk)
        writer.put(image.constData() + at, std::min(chunk, image.size() - at));
    writer.finish();
    return text;
}

// Every byte of `bytes` twice over, as a join of a part with a copy of it
// gives them.
QByteArray doubled(const QByteArray &bytes)
{
    QByteArray twice;
    for (char byte : bytes)
        twice += QByteArray(2, byte);
    return twice;
}

// An image of gap bytes (0xEE) with `pieces` at their addresses.
QByteArray image(std::initializer_list<std::pair<qint64, QByteArray>> pieces)
{
    QByteArray bytes;
    for (const auto &[address, data] : pieces) {
        bytes.resize(address, '\xEE');
        bytes += data;
    }
    return bytes;
}

// One record as other converters write it: upper-case digits, a sound
// checksum, no line end. `type` is the Intel HEX type, or the S-record digit
// with `addressBytes` > 0.
QByteArray record(int type, quint32 address, const QByteArray &data, int addressBytes = 0)
{
    const bool hex = addressBytes == 0;
    QByteArray fields = QByteArray(1, char(hex ? data.size() : addressBytes + data.size() + 1));
    for (int shift = 8 * ((hex ? 2 : addressBytes) - 1); shift >= 0; shift -= 8)
        fields += char(address >> shift);
    if (hex)
        fields += char(type);
    fields += data;
    uchar sum = 0;
    for (char byte : fields)
        sum += uchar(byte);
    fields += char(hex ? -sum : ~sum);
    return (hex ? ":" : "S" + QByteArray::number(type)) + fields.toHex().toUpper();
}

// Records `data` as a common converter writes them by default: 16 bytes a
// line, LF line ends; Intel HEX opens with a linear base of 0 and closes with
// the end record, S-records open with an "HDR" header and close with the
// count record alone.
QByteArray converted(const QByteArray &data, bool hex)
{
    QByteArray text = hex ? record(4, 0, QByteArray(2, 0)) : record(0, 0, "HDR", 2);
    for (qsizetype at = 0; at < data.size(); at += 16)
        text += "\n" + record(hex ? 0 : 1, quint32(at), data.mid(at, 16), hex ? 0 : 2);
    const quint32 records = quint32((data.size() + 15) / 16);
    return text + "\n" + (hex ? record(1, 0, {}) : record(5, records, {}, 2)) + "\n";
}

const QStringList kJoin{"join", "part", "copy", "out.bin", "--fill", "0xEE", "--quiet"};

} // namespace

class TestChipFormats : public QObject {
    Q_OBJECT

private slots:
    void sizesAndBytesAsTyped_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("size"); // -1: refused
        QTest::addColumn<int>("byte"); // -1: refused
        QTest::newRow("decimal") << "32768" << 32768LL << -1;
        QTest::newRow("hex") << "0x8000" << 32768LL << -1;
        QTest::newRow("K") << "32K" << 32768LL << -1;
        QTest::newRow("KiB, any case") << "32kib" << 32768LL << -1;
        QTest::newRow("M and MiB") << "2MiB" << 2097152LL << -1;
        QTest::newRow("byte decimal") << "255" << 255LL << 255;
        QTest::newRow("byte hex") << "0xff" << 255LL << 255;
        QTest::newRow("byte too large") << "0x100" << 256LL << -1;
        for (const char *bad : {"", "-1", "+5", " 5", "1.5K", "0x", "12Q", "0x10K", "99999999999999999999"})
            QTest::newRow(bad) << bad << -1LL << -1;
    }

    void sizesAndBytesAsTyped()
    {
        QFETCH(QString, text);
        QFETCH(qint64, size);
        QFETCH(int, byte);
        QCOMPARE(cli::parseSize(text).value_or(-1), size);
        QCOMPARE(cli::parseByte(text) ? int(*cli::parseByte(text)) : -1, byte);
    }

    void chipsByNameWithOrWithoutTheC_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("bytes");
        // Organisations from the datasheets: 32K x 8, 64K x 16, 2K x 8, ...
        QTest::newRow("27C256") << "27C256" << 32768LL;
        QTest::newRow("27256 lower case") << "27256" << 32768LL;
        QTest::newRow("27C1024 is 64K x 16") << "27c1024" << 131072LL;
        QTest::newRow("27C16 is the 2716") << "27C16" << 2048LL;
        QTest::newRow("27080 is the 27C080") << "27080" << 1048576LL;
        QTest::newRow("27C160") << "27C160" << 2097152LL;
        QTest::newRow("39SF040") << "39sf040" << 524288LL;
        // As makers print them: a prefix, a revision letter, a speed grade.
        QTest::newRow("M27C256B") << "M27C256B" << 32768LL;
        QTest::newRow("AM27C256") << "am27c256" << 32768LL;
        QTest::newRow("W27C512") << "W27C512" << 65536LL;
        QTest::newRow("27C256-12") << "27C256-12" << 32768LL;
        QTest::newRow("an EEPROM, AT28C64B-15PU") << "AT28C64B-15PU" << 8192LL;
        QTest::newRow("27C322 is 2M x 16") << "27C322" << 4194304LL;
    }

    void chipsByNameWithOrWithoutTheC()
    {
        QFETCH(QString, name);
        QFETCH(qint64, bytes);
        QCOMPARE(findChip(name).value().bytes, bytes);
    }

    void misspeltChipSuggestsTheNearest()
    {
        QVERIFY(!findChip(QStringLiteral("27C257")));
        QCOMPARE(closestChipNames(QStringLiteral("27C257")), QStringList{"27256"});
    }

    void writerMatchesHandWorkedRecords()
    {
        // Checksums by hand: 0x100 - (3+1+2+3) = 0xF7; ~(6+1+2+3) = 0xF3;
        // the S0 header holds "a": ~(4+0x61) = 0x9A.
        QCOMPARE(written(RecordFormat::IntelHex, "\x01\x02\x03", 3), ":03000000010203F7\r\n:00000001FF\r\n");
        QCOMPARE(written(RecordFormat::SRecord, "\x01\x02\x03", 3),
                 "S0040000619A\r\nS1060000010203F3\r\nS5030001FB\r\nS9030000FC\r\n");
        // Two-byte records from 0x1FFFE, in segments: 0x100 - (2+2+0x10) = 0xEC,
        // 0x100 - (2+0xFF+0xFE+1+2 & 0xFF) = 0xFE, 0x100 - (2+2+0x20) = 0xDC.
        const RecordDialect segments{
            .recordBytes = 2, .hexAddressing = HexAddressing::Segment, .base = 0x1FFFE};
        QCOMPARE(written(RecordFormat::IntelHex, "\x01\x02\x03", 3, segments),
                 ":020000021000EC\r\n:02FFFE000102FE\r\n:020000022000DC\r\n:0100000003FC\r\n"
                 ":00000001FF\r\n");
        // S3 chosen for a small image at 0x8000: ~(8+0x80+1+2+3) = 0x71.
        const RecordDialect wide{.sRecordAddressBytes = 4, .base = 0x8000};
        QCOMPARE(written(RecordFormat::SRecord, "\x01\x02\x03", 3, wide),
                 "S0040000619A\r\nS3080000800001020371\r\nS5030001FB\r\nS70500000000FA\r\n");
    }

    void naiveReaderGetsBackWhatWasWritten_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<qint64>("declared");
        QTest::addColumn<QByteArrayList>("closing");
        QTest::addColumn<int>("recordBytes");
        QTest::addColumn<bool>("segments");
        QTest::addColumn<qint64>("dataRecords");
        const int hex = int(RecordFormat::IntelHex);
        const int srec = int(RecordFormat::SRecord);
        const QByteArrayList hexEnd{":01"};
        QTest::newRow("hex, empty") << hex << 0LL << 0LL << hexEnd << 32 << false << 0LL;
        QTest::newRow("hex, one record and a byte") << hex << 33LL << 33LL << hexEnd << 32 << false << 2LL;
        QTest::newRow("hex, past two 64 KiB boundaries")
            << hex << 0x20001LL << 0x20001LL << hexEnd << 32 << false << 0x1001LL;
        QTest::newRow("hex, segments past two 64 KiB boundaries")
            << hex << 0x20001LL << 0x20001LL << hexEnd << 32 << true << 0x1001LL;
        QTest::newRow("hex, a byte a record") << hex << 300LL << 300LL << hexEnd << 1 << false << 300LL;
        // 257 full records and one of a byte before the boundary, one after.
        QTest::newRow("hex, 255-byte records cut at 64 KiB")
            << hex << 0x10010LL << 0x10010LL << hexEnd << 255 << false << 259LL;
        QTest::newRow("srec, 16-bit")
            << srec << 0x10000LL << 0x10000LL << QByteArrayList{"S5", "S9"} << 32 << false << 0x800LL;
        QTest::newRow("srec, 24-bit")
            << srec << 0x10001LL << 0x10001LL << QByteArrayList{"S5", "S8"} << 32 << false << 0x801LL;
        QTest::newRow("srec, 32-bit")
            << srec << 100LL << 0x1000001LL << QByteArrayList{"S5", "S7"} << 32 << false << 4LL;
        // What the count byte leaves room for beside an S3 address.
        QTest::newRow("srec, 255-byte records cut to 250")
            << srec << 0x10000LL << 0x10000LL << QByteArrayList{"S5", "S9"} << 255 << false << 263LL;
        QTest::newRow("srec, a byte a record, 24-bit count")
            << srec << 0x10001LL << 0x10001LL << QByteArrayList{"S6", "S8"} << 1 << false << 0x10001LL;
    }

    void naiveReaderGetsBackWhatWasWritten()
    {
        QFETCH(int, format);
        QFETCH(qint64, size);
        QFETCH(qint64, declared);
        QFETCH(QByteArrayList, closing);
        QFETCH(int, recordBytes);
        QFETCH(bool, segments);
        QFETCH(qint64, dataRecords);
        const int srec = int(RecordFormat::SRecord);
        const QByteArray image = patternBytes(size, 5);
        const RecordDialect dialect{.recordBytes = recordBytes,
                                    .hexAddressing =
                                        segments ? HexAddressing::Segment : HexAddressing::Linear};
        const NaiveImage back = naiveRead(written(RecordFormat(format), image, declared, dialect));
        QCOMPARE(back.bytes, image);
        QVERIFY(back.checksumsGood && back.crlf);
        QCOMPARE(back.types.mid(back.types.size() - closing.size()), closing);
        QList<quint32> boundaries;
        for (qint64 at = 0x10000; at < size && format == int(RecordFormat::IntelHex); at += 0x10000)
            boundaries.append(quint32(at));
        QCOMPARE(back.extendedAddresses, boundaries);
        QCOMPARE(back.types.count(":02"), segments ? boundaries.size() : 0);
        const QByteArray dataType = format == int(RecordFormat::IntelHex) ? ":00"
            : declared - 1 > 0xFFFFFF                                     ? "S3"
            : declared - 1 > 0xFFFF                                       ? "S2"
                                                                          : "S1";
        QCOMPARE(back.types.count(dataType), dataRecords);
        QCOMPARE(back.widestData,
                 std::min<qint64>(size, format == srec ? std::min(recordBytes, 250) : recordBytes));
    }

    // Each record type the companion reads, through a join of the part with
    // a copy of itself.
    void recordPartsYieldTheirBytes_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("hex: data, a gap, a blank line, a DOS end mark")
            << QByteArray(":0400000001020304F2\r\n:020010001011CD\r\n\r\n:00000001FF\r\n\x1A")
            << image({{0, "\x01\x02\x03\x04"}, {0x10, "\x10\x11"}});
        QTest::newRow("hex: segment address") << QByteArray(":020000021000EC\n:02000400AABB95\n:00000001FF\n")
                                              << image({{0x10004, "\xAA\xBB"}});
        QTest::newRow("hex: linear address, start addresses skipped")
            << QByteArray(":0400000300000100F8\n:020000040001F9\n:01000200CC31\n:0400000500000100F6\n"
                          ":00000001FF\n")
            << image({{0x10002, "\xCC"}});
        QTest::newRow("hex: lower-case digits")
            << QByteArray(":03000000abcdef96\n:00000001ff\n") << image({{0, "\xAB\xCD\xEF"}});
        QTest::newRow("S19: header, a gap, count")
            << QByteArray("S0060000686472BB\nS10500000102F7\nS104001003E8\nS5030002FA\nS9030000FC\n")
            << image({{0, "\x01\x02"}, {0x10, "\x03"}});
        QTest::newRow("S28: 24-bit address, 24-bit count")
            << QByteArray("S206012345DEAD05\r\nS604000001FA\r\nS804000000FB\r\n")
            << image({{0x012345, "\xDE\xAD"}});
        QTest::newRow("S37: 32-bit address")
            << QByteArray("S30700010000BEEF4A\nS70500000000FA\n") << image({{0x10000, "\xBE\xEF"}});
        // The forms other converters and editors leave records in.
        const QByteArray data = patternBytes(40, 3);
        QTest::newRow("hex as a converter writes it") << converted(data, true) << data;
        QTest::newRow("S19 ending at its count, then padding")
            << converted(data, false) + QByteArray(2000, '\0') << data;
        QTest::newRow("hex from Notepad: BOM, CR LF")
            << "\xEF\xBB\xBF" + converted(data, true).replace("\n", "\r\n") << data;
        QTest::newRow("lower case, lone CR, blank lines and blanks around")
            << "\n \r\t" + converted(data, false).toLower().replace("\n", "  \r\r") << data;
        QTest::newRow("NUL and 0xFF padding after the end")
            << converted(data, true) + QByteArray(2000, '\0') + QByteArray(3000, '\xFF') << data;
        // Images whose first bytes look like a record, then are not text.
        const QByteArray hexLike(":0200000012\x00\xC3\n:00000001FF\n", 24);
        QTest::newRow("raw image starting like hex") << hexLike << hexLike;
        QTest::newRow("a line of letters longer than any record")
            << QByteArray(4097, 'x') << QByteArray(4097, 'x');
        QTest::newRow("raw image starting like S1")
            << QByteArray("S1130000\x8F\r\n") << QByteArray("S1130000\x8F\r\n");
        // What converters put before their records.
        QTest::newRow("hex after comments")
            << "; from a converter\n# 作成: today\n// by hand\n" + converted(data, true) << data;
        QTest::newRow("hex after a comment longer than any record")
            << "# " + QByteArray(3000, 'c') + "\n" + converted(data, true) << data;
        QTest::newRow("S19 after a symbol block")
            << "$$ MAIN\nAPPLE $00000 LABEL1 $0D0C3\n$$\n" + converted(data, false) << data;
        // A message ROM is printable text in no format: its bytes.
        for (const QByteArray &message :
             {QByteArray("INSERT COIN\r\nGAME OVER\r\n"), QByteArray("# SCORE\n1987\n"), QByteArray("AC"),
              QByteArray("; 00 01\n1987\nBY ACME\n")})
            QTest::addRow("text: %s", message.left(8).simplified().constData()) << message << message;
        const QByteArray longest = patternBytes(255, 7);
        uchar sum = 0xFF;
        for (const char byte : longest)
            sum += uchar(byte);
        QTest::newRow("hex: the longest record there is") << ":FF000000" + longest.toHex().toUpper() +
                QByteArray::number(uchar(-sum) | 0x100, 16).right(2).toUpper() +
                "\n:00000001FF\n" << longest;
    }

    void recordPartsYieldTheirBytes()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        writeBytes(dir.filePath("part"), text);
        writeBytes(dir.filePath("copy"), text);
        const CliResult result = runCli(kJoin, dir.path());
        QVERIFY2(result.exitCode == 0, qPrintable(result.err));
        QCOMPARE(readBytes(dir.filePath("out.bin")), doubled(bytes));
    }

    void badRecordIsErrorFourteenNamingFileAndLine_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("line");
        const QByteArray hex = ":020000000102FB\n";
        const QByteArray srec = "S10500000102F7\n";
        QTest::newRow("checksum") << hex + ":02001000010200\n:00000001FF\n" << 2;
        QTest::newRow("not hex") << hex + ":02001000G102FB\n:00000001FF\n" << 2;
        QTest::newRow("odd number of digits") << hex + ":0200100001020\n:00000001FF\n" << 2;
        QTest::newRow("count disagrees with the digits") << hex + ":0300100001EE\n:00000001FF\n" << 2;
        QTest::newRow("unknown hex type") << hex + ":00000006FA\n:00000001FF\n" << 2;
        QTest::newRow("address goes back") << QByteArray(":0100100001EE\n:0100080002F5\n:00000001FF\n") << 2;
        QTest::newRow("no end record") << hex << 2;
        QTest::newRow("text after the end") << hex + ":00000001FF\n\nhello\n" << 4;
        QTest::newRow("line too long") << hex + ":" + QByteArray(1100, '0') + "\n:00000001FF\n" << 2;
        QTest::newRow("a long last line after the end")
            << hex + ":00000001FF\n" + QByteArray(3000, '\x1A') + "X" << 3;
        QTest::newRow("S-record among hex") << hex + srec + ":00000001FF\n" << 2;
        QTest::newRow("S4") << srec + "S404000001FA\nS9030000FC\n" << 2;
        QTest::newRow("S2 shorter than its address") << srec + "S2030000FC\nS9030000FC\n" << 2;
        QTest::newRow("count record disagrees") << srec + "S5030003F9\nS9030000FC\n" << 2;
        QTest::newRow("type not a digit") << srec + "SA030000FC\nS9030000FC\n" << 2;
        QTest::newRow("neither count nor termination") << srec << 2;
        QTest::newRow("data after the count") << srec + "S5030001FB\n" + record(1, 0x10, "\x01", 2) << 3;
        QTest::newRow("S0 with an address") << srec + record(0, 0x100, "HDR", 2) << 2;
        QTest::newRow("S5 with a 24-bit count") << srec + record(5, 1, {}, 3) + "\nS9030000FC\n" << 2;
        QTest::newRow("S9 with data") << srec + record(9, 0, "\x01", 2) << 2;
        QTest::newRow("count disagrees with the line") << srec + "S107000001F2\nS9030000FC\n" << 2;
        QTest::newRow("beyond 4 GiB") << record(3, 0xFFFFFFFF, "\x01\x02", 4) + "\nS70500000000FA\n" << 1;
        // Each Intel HEX type with the wrong length, or an address where
        // the format has none.
        const QList<std::pair<int, QByteArray>> misfits{{2, "\x10"},
                                                        {4, QByteArray(3, 1)},
                                                        {3, QByteArray(2, 0)},
                                                        {5, QByteArray(5, 0)},
                                                        {1, QByteArray(1, 0)}};
        for (const auto &[type, data] : misfits)
            QTest::addRow("type %d of %d bytes", type, int(data.size())) << hex + record(type, 0, data) << 2;
        QTest::newRow("linear base with an address") << hex + record(4, 0x10, QByteArray(2, 0)) << 2;
        QTest::newRow("data across 64 KiB") << hex + record(0, 0xFFF0, QByteArray(32, 1)) << 2;
        // Files that start like records are record files, whatever follows.
        QTest::newRow("first line one checksum off") << QByteArray(":0200000012AB42\n:00000001FF\n") << 1;
        QTest::newRow("checksum off after a BOM and blank lines")
            << QByteArray("\xEF\xBB\xBF\r\n\r\n:0200000012AB42\r\n:00000001FF\r\n") << 3;
        QTest::newRow("first line too long") << ":" + QByteArray(1100, '0') + "\n" << 1;
        // Other converters' formats, which would otherwise be joined as text.
        QTest::newRow("TI-TXT") << QByteArray("@F000\n31 40 00 03\nq\n") << 1;
        QTest::newRow("Verilog hex among comments")
            << QByteArray("// rom\n@00000010\n// code\nDEADBEEF // reset\n") << 2;
        QTest::newRow("Verilog hex, no address") << QByteArray("0000CAFE\n0000BEEF\n") << 1;
        QTest::newRow("ASCII-hex framed") << QByteArray("\x02$A0000,\n48 65 6C 6C 6F\x03\n") << 1;
        QTest::newRow("ASCII-hex bare") << QByteArray("48 65 6C 6C 6F 0A\n") << 1;
        QTest::newRow("Tektronix hex") << QByteArray("/00100A0B0102030405060708090A37\n/00000000\n") << 1;
        QTest::newRow("extended Tektronix hex") << QByteArray("%1461F410000102030405\n") << 1;
        QTest::newRow("MOS after a ; comment") << QByteArray("; MOS\n;0A00100102030405060708090A0051\n") << 2;
        QByteArray wide("\xFF\xFE");
        for (char c : hex + ":00000001FF\r\n")
            wide += QByteArray(1, c) + '\0';
        QTest::newRow("UTF-16") << wide << 1;
    }

    void badRecordIsErrorFourteenNamingFileAndLine()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, line);
        QTemporaryDir dir;
        writeBytes(dir.filePath("part"), text);
        writeBytes(dir.filePath("copy"), ":020000000102FB\n:00000001FF\n");
        writeBytes(dir.filePath("out.bin"), "previous image");
        const CliResult result = runCli(kJoin, dir.path());
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.startsWith(QStringLiteral("tamrivel-cli: error 14: ")), qPrintable(result.err));
        QVERIFY2(result.err.contains(QStringLiteral("('part')")), qPrintable(result.err));
        QVERIFY2(result.err.contains(QStringLiteral("(line %1:").arg(line)), qPrintable(result.err));
        QCOMPARE(readBytes(dir.filePath("out.bin")), QByteArray("previous image"));
    }

    // A chip whose text reads like another converter's format is refused,
    // naming the format, until --raw says it is the chip's bytes.
    void rawTakesTextPartsAsTheirBytes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("join") << QStringList{"join", "part", "copy", "out.bin"};
        QTest::newRow("verify") << QStringList{"verify", "rom.bin", "part", "copy"};
        QTest::newRow("identify") << QStringList{"identify", "rom.bin", "part", "copy"};
    }

    void rawTakesTextPartsAsTheirBytes()
    {
        QFETCH(QStringList, arguments);
        const QByteArray text("@F000\n31 40 00 03\nq\n");
        QTemporaryDir dir;
        writeBytes(dir.filePath("part"), text);
        writeBytes(dir.filePath("copy"), text);
        writeBytes(dir.filePath("rom.bin"), doubled(text));
        const CliResult refused = runCli(arguments, dir.path());
        // A file that cannot be read is a failure to compare, not a difference.
        QCOMPARE(refused.exitCode, arguments[0] == "join" ? 1 : 2);
        QVERIFY2(refused.err.contains("TI-TXT") && refused.err.contains("--raw"), qPrintable(refused.err));
        const CliResult raw = runCli(arguments + QStringList{"--raw"}, dir.path());
        QVERIFY2(raw.exitCode == 0, qPrintable(raw.err));
        if (arguments[0] == "join")
            QCOMPARE(readBytes(dir.filePath("out.bin")), doubled(text));
    }

    // Dumps that leave out trailing erased bytes: a record part is filled,
    // but only as far as the parts then fit one split.
    void shortRecordPartsFilledToFit_data()
    {
        QTest::addColumn<QByteArrayList>("parts");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("joined");
        const QByteArray end = "\n:00000001FF\n";
        QTest::newRow("two chips, the second cut short")
            << QByteArrayList{record(0, 0, "ABCD") + end, record(0, 0, "AB") + end} << QStringList()
            << QByteArray("AABBC\xFF"
                          "D\xFF");
        QTest::newRow("beside a raw part")
            << QByteArrayList{"XYZ", record(0, 0, "A") + end} << QStringList() << QByteArray("XAY\xFFZ\xFF");
        QTest::newRow("beside a raw part of an odd size, 16-bit")
            << QByteArrayList{"XYZ", record(0, 0, "A") + end} << QStringList{"--width", "2"}
            << QByteArray("XYA\xFFZ");
    }

    void shortRecordPartsFilledToFit()
    {
        QFETCH(QByteArrayList, parts);
        QFETCH(QStringList, options);
        QFETCH(QByteArray, joined);
        QTemporaryDir dir;
        writeBytes(dir.filePath("p0"), parts[0]);
        writeBytes(dir.filePath("p1"), parts[1]);
        const CliResult result =
            runCli(QStringList{"join", "p0", "p1", "out.bin", "--quiet"} + options, dir.path());
        QVERIFY2(result.exitCode == 0, qPrintable(result.err));
        QCOMPARE(readBytes(dir.filePath("out.bin")), joined);
        // Made-up bytes are never added in silence.
        QVERIFY2(result.err.contains(
                     QRegularExpression("[0-9]+ bytes of fill added after the last record of p1\\b")),
                 qPrintable(result.err));
    }

    void layoutMapsEveryByteBackToTheSource_data()
    {
        QTest::addColumn<int>("ways");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("swap");
        QTest::addColumn<int>("offset");
        QTest::addColumn<bool>("mirror");
        QTest::newRow("pair") << 2 << 1 << false << 0 << false;
        QTest::newRow("16-bit swapped") << 2 << 2 << true << 0 << false;
        QTest::newRow("three ways of 4, swapped") << 3 << 4 << true << 0 << false;
        QTest::newRow("offset, mirrored") << 2 << 2 << false << 30 << true;
    }

    void layoutMapsEveryByteBackToTheSource()
    {
        QFETCH(int, ways);
        QFETCH(int, width);
        QFETCH(bool, swap);
        QFETCH(int, offset);
        QFETCH(bool, mirror);
        QTemporaryDir dir;
        const QByteArray source = patternBytes(1003, 9);
        writeBytes(dir.filePath("rom.bin"), source);
        const ChipFit fit{100, true, 0xFF, RecordFormat::Binary, mirror, offset};
        const PartLayout layout({ways, width, swap}, fit, source.size());
        // Each byte a split writes is padding or the source byte the layout names.
        const QStringList chips = splitFiles(dir.filePath("rom.bin"), {}, {ways, width, swap}, {}, fit);
        for (int file = 0; file < layout.fileCount(); ++file) {
            const QByteArray chip = readBytes(chips[file]);
            QCOMPARE(layout.fileSize(file), chip.size());
            for (qint64 at = 0; at < chip.size(); ++at) {
                const qint64 from = layout.sourceOffset(file, at);
                QCOMPARE(chip[at], from < 0 ? char(0xFF) : source[from]);
            }
        }
    }

    void layoutNamesBanksAndRefusesOverflow()
    {
        const PartLayout banked({}, {2, true, 0xFF, RecordFormat::IntelHex}, 5);
        QCOMPARE(banked.proposedNames("dir/rom.bin"),
                 QStringList({"dir/rom_g_0.hex", "dir/rom_g_1.hex", "dir/rom_k_0.hex", "dir/rom_k_1.hex"}));
        // 7001 bytes in three ways: 2334, 2334 and 2333, the first too many.
        const PartLayout tight({3, 1, false}, {1000, false, 0xFF, RecordFormat::Binary}, 7001);
        try {
            tight.refuseMisfits({"a", "b", "c"});
            QFAIL("accepted");
        } catch (const RuntimeError &error) {
            QCOMPARE(error.number(), ErrorNumber::ChipOverflow);
            QCOMPARE(error.path(), QStringLiteral("a"));
            QStringList sizes;
            for (const QRegularExpressionMatch &number :
                 QRegularExpression("\\d+").globalMatch(error.detail()))
                sizes.append(number.captured());
            QCOMPARE(sizes, QStringList({"2334", "1000"}));
        }
    }

    // Each address width reaches its last byte from any base, and not one
    // byte further: refused before a file is written.
    void recordAddressesStopAtTheirReach_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("segments");
        QTest::addColumn<int>("sRecordAddressBytes");
        QTest::addColumn<qint64>("base");
        QTest::addColumn<qint64>("chip");
        QTest::addColumn<QString>("refusal"); // empty: written
        const int hex = int(RecordFormat::IntelHex);
        const int srec = int(RecordFormat::SRecord);
        QTest::newRow("S19 to 64 KiB") << srec << false << 2 << 0LL << 0x10000LL << QString();
        QTest::newRow("S19 a byte past 64 KiB")
            << srec << false << 2 << 0LL << 0x10001LL << "--srec-address 16 reaches only to 0x10000";
        QTest::newRow("S28 from a base to 16 MiB")
            << srec << false << 3 << 0xFF0000LL << 0x10000LL << QString();
        QTest::newRow("S28 a byte past 16 MiB")
            << srec << false << 3 << 0xFF0001LL << 0x10000LL << "reaches only to 0x1000000";
        QTest::newRow("S37 from a base to 4 GiB")
            << srec << false << 4 << 0xFFFF0000LL << 0x10000LL << QString();
        QTest::newRow("segments to 1 MiB") << hex << true << 0 << 0xF0000LL << 0x10000LL << QString();
        QTest::newRow("segments a byte past 1 MiB") << hex << true << 0 << 0xF0001LL << 0x10000LL
                                                    << "segment reaches only the first MiB (to 0x100000)";
        QTest::newRow("linear from a base past 4 GiB")
            << hex << false << 0 << 0xFFFF0000LL << 0x10001LL << "records reach only to 4 GiB";
    }

    void recordAddressesStopAtTheirReach()
    {
        QFETCH(int, format);
        QFETCH(bool, segments);
        QFETCH(int, sRecordAddressBytes);
        QFETCH(qint64, base);
        QFETCH(qint64, chip);
        QFETCH(QString, refusal);
        ChipFit fit{chip, false, 0xFF, RecordFormat(format)};
        fit.records = {.hexAddressing = segments ? HexAddressing::Segment : HexAddressing::Linear,
                       .sRecordAddressBytes = sRecordAddressBytes,
                       .base = base};
        try {
            PartLayout({}, fit, 2);
            QVERIFY2(refusal.isEmpty(), "written");
        } catch (const UsageError &error) {
            QVERIFY2(!refusal.isEmpty() && error.message.contains(refusal), qPrintable(error.message));
        }
    }

    // Records split numbered from a base read back from it; data below it
    // cannot be part of the chip, and is refused where it stands.
    void baseIsTakenBack_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("firstDataLine");
        QTest::newRow("ihex") << "ihex" << 1;
        QTest::newRow("srec") << "srec" << 2;
    }

    void baseIsTakenBack()
    {
        QFETCH(QString, format);
        QFETCH(int, firstDataLine);
        QTemporaryDir dir;
        const QByteArray source = patternBytes(40, 3);
        writeBytes(dir.filePath("rom.bin"), source);
        const QStringList records{"--format", format, "--base", "0x8000", "--record-size", "8"};
        QCOMPARE(runCli(QStringList{"split", "rom.bin", "g", "k", "--quiet"} + records, dir.path()).exitCode,
                 0);
        QCOMPARE(naiveRead(readBytes(dir.filePath("g")), 0x8000).bytes,
                 referenceDeal(source, 2, 1, false)[0]);
        const CliResult verified = runCli(QStringList{"verify", "rom.bin", "g", "k"} + records, dir.path());
        QVERIFY2(verified.exitCode == 0, qPrintable(verified.out + verified.err));
        const CliResult joined = runCli({"join", "g", "k", "back.bin", "--base", "0x8000"}, dir.path());
        QVERIFY2(joined.exitCode == 0, qPrintable(joined.err));
        QCOMPARE(readBytes(dir.filePath("back.bin")), source);
        const CliResult below = runCli({"join", "g", "k", "above.bin", "--base", "0x8001"}, dir.path());
        QCOMPARE(below.exitCode, 1);
        QVERIFY2(below.err.startsWith("tamrivel-cli: error 14: ") && below.err.contains("('g')") &&
                     below.err.contains(QStringLiteral("(line %1: the address 0x8000 is below --base 0x8001)")
                                            .arg(firstDataLine)),
                 qPrintable(below.err));
        QVERIFY(!QFile::exists(dir.filePath("above.bin")));
    }
};

QTEST_GUILESS_MAIN(TestChipFormats)
#include "test_chip_formats.moc"
