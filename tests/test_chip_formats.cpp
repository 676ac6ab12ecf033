#include "cli/size_argument.h"
#include "naive_records.h"
#include "reference_deal.h"
#include "runtime/runtime_error.h"
#include "split/chip_table.h"
#include "split/input/input_file.h"
#include "split/part_layout.h"
#include "split/records/record_writer.h"
#include "temp_files.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tamrivel;
using namespace tamrivel::testing;

namespace {

QByteArray written(RecordFormat format, const QByteArray &image, qint64 declaredSize, qsizetype chunk = 7)
{
    QByteArray text;
    RecordWriter writer(format, declaredSize, QStringLiteral("dir/a"),
                        [&](const char *data, qsizetype length) { text.append(data, length); });
    for (qsizetype at = 0; at < image.size(); at += chunk)
        writer.put(image.constData() + at, std::min(chunk, image.size() - at));
    writer.finish();
    return text;
}

QByteArray readAll(const InputFile &part)
{
    QByteArray bytes;
    char block[4096];
    for (qint64 got; (got = part.device().device->read(block, sizeof block)) > 0;)
        bytes.append(block, got);
    return bytes;
}

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
    }

    void naiveReaderGetsBackWhatWasWritten_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<qint64>("declared");
        QTest::addColumn<QByteArrayList>("closing");
        const int hex = int(RecordFormat::IntelHex);
        const int srec = int(RecordFormat::SRecord);
        QTest::newRow("hex, empty") << hex << 0LL << 0LL << QByteArrayList{":01"};
        QTest::newRow("hex, one record and a byte") << hex << 33LL << 33LL << QByteArrayList{":01"};
        QTest::newRow("hex, past two 64 KiB boundaries")
            << hex << 0x20001LL << 0x20001LL << QByteArrayList{":01"};
        QTest::newRow("srec, 16-bit") << srec << 0x10000LL << 0x10000LL << QByteArrayList{"S5", "S9"};
        QTest::newRow("srec, 24-bit") << srec << 0x10001LL << 0x10001LL << QByteArrayList{"S5", "S8"};
        QTest::newRow("srec, 32-bit") << srec << 100LL << 0x1000001LL << QByteArrayList{"S5", "S7"};
    }

    void naiveReaderGetsBackWhatWasWritten()
    {
        QFETCH(int, format);
        QFETCH(qint64, size);
        QFETCH(qint64, declared);
        QFETCH(QByteArrayList, closing);
        const QByteArray image = patternBytes(size, 5);
        const NaiveImage back = naiveRead(written(RecordFormat(format), image, declared));
        QCOMPARE(back.bytes, image);
        QVERIFY(back.checksumsGood && back.crlf);
        QCOMPARE(back.types.mid(back.types.size() - closing.size()), closing);
        QList<quint32> boundaries;
        for (qint64 at = 0x10000; at < size && format == int(RecordFormat::IntelHex); at += 0x10000)
            boundaries.append(quint32(at));
        QCOMPARE(back.extendedAddresses, boundaries);
        const QByteArray dataType = format == int(RecordFormat::IntelHex) ? ":00"
            : declared - 1 > 0xFFFFFF                                     ? "S3"
            : declared - 1 > 0xFFFF                                       ? "S2"
                                                                          : "S1";
        QCOMPARE(back.types.count(dataType), (size + 31) / 32);
    }

    void readerTakesHandWrittenRecords_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<char>("last"); // at 0x10000, the end
        QTest::addColumn<int>("dataBytes"); // all the rest is fill
        // A gap, an extended linear address, a blank line, a DOS end mark.
        QTest::newRow("hex") << QByteArray(":0200000012AB41\r\n:01000400CD2E\r\n\r\n:020000040001F9\r\n"
                                           ":010000007788\r\n:00000001FF\r\n\x1A")
                             << QByteArray("\x12\xAB\x00\x00\xCD\x00", 6) << '\x77' << 4;
        QTest::newRow("srec") << QByteArray("S00600004844521B\nS1050000AABB95\nS205010000CC2D\n"
                                            "S5030002FA\nS804000000FB\n")
                              << QByteArray("\xAA\xBB\x00\x00\x00\x00", 6) << '\xCC' << 3;
    }

    void readerTakesHandWrittenRecords()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, start);
        QFETCH(char, last);
        QFETCH(int, dataBytes);
        QTemporaryDir dir;
        writeBytes(dir.filePath("part"), text);
        const InputFile part(dir.filePath("part"), InputFile::Reading::Image, 0x00);
        QCOMPARE(part.size(), 0x10001);
        const QByteArray bytes = readAll(part);
        QCOMPARE(bytes.size(), 0x10001);
        QCOMPARE(bytes.left(6), start);
        QCOMPARE(bytes.back(), last);
        QCOMPARE(bytes.count('\0'), 0x10001 - dataBytes);
    }

    void badRecordNamesTheFileAndLine_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("line");
        QTest::newRow("checksum") << QByteArray(":0200000012AB41\n:010000007789\n:00000001FF\n") << 2;
        QTest::newRow("not hex") << QByteArray(":0200000012AB41\n:02000000G2AB41\n:00000001FF\n") << 2;
        QTest::newRow("address goes back")
            << QByteArray(":01000400CD2E\n:0200000012AB41\n:00000001FF\n") << 2;
        QTest::newRow("no end record") << QByteArray(":0200000012AB41\n") << 2;
        QTest::newRow("text after the end") << QByteArray(":0200000012AB41\n:00000001FF\nhello\n") << 3;
        QTest::newRow("count record") << QByteArray("S1050000AABB95\nS5030002FA\nS9030000FC\n") << 2;
    }

    void badRecordNamesTheFileAndLine()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, line);
        QTemporaryDir dir;
        writeBytes(dir.filePath("part.hex"), text);
        try {
            InputFile(dir.filePath("part.hex"), InputFile::Reading::Image, 0xFF);
            QFAIL("accepted");
        } catch (const RuntimeError &error) {
            QCOMPARE(error.number(), ErrorNumber::BadRecord);
            QCOMPARE(error.path(), dir.filePath("part.hex"));
            QVERIFY2(error.detail().startsWith(QStringLiteral("(%1 行目").arg(line)),
                     qPrintable(error.detail()));
        }
    }

    void anythingElseIsBinary()
    {
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom"), ":0200000012AB42\n:00000001FF\n"); // one checksum off
        const InputFile part(dir.filePath("rom"), InputFile::Reading::Image, 0xFF);
        QCOMPARE(part.format(), RecordFormat::Binary);
        QCOMPARE(readAll(part), readBytes(dir.filePath("rom")));
    }

    void layoutMapsEveryByteBackToTheSource_data()
    {
        QTest::addColumn<int>("ways");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("swap");
        QTest::newRow("pair") << 2 << 1 << false;
        QTest::newRow("16-bit swapped") << 2 << 2 << true;
        QTest::newRow("three ways of 4, swapped") << 3 << 4 << true;
    }

    void layoutMapsEveryByteBackToTheSource()
    {
        QFETCH(int, ways);
        QFETCH(int, width);
        QFETCH(bool, swap);
        const QByteArray source = patternBytes(1003, 9);
        const QList<QByteArray> dealt = referenceDeal(source, ways, width, swap);
        const PartLayout layout({ways, width, swap}, {100, true, 0xFF, RecordFormat::Binary}, source.size());
        QCOMPARE(layout.banks(), int((dealt[0].size() + 99) / 100));
        for (int file = 0; file < layout.fileCount(); ++file) {
            QCOMPARE(layout.fileSize(file), 100);
            for (qint64 at = 0; at < 100; ++at) {
                const qint64 wayOffset = (file % layout.banks()) * 100 + at;
                const qint64 from = layout.sourceOffset(file, at);
                if (wayOffset >= dealt[layout.wayOf(file)].size())
                    QCOMPARE(from, -1);
                else
                    QCOMPARE(source[from], dealt[layout.wayOf(file)][wayOffset]);
            }
        }
    }

    void layoutNamesBanksAndRefusesOverflow()
    {
        const PartLayout banked({}, {2, true, 0xFF, RecordFormat::IntelHex}, 5);
        QCOMPARE(banked.proposedNames("dir/rom.bin"),
                 QStringList({"dir/rom_g_0.hex", "dir/rom_g_1.hex", "dir/rom_k_0.hex", "dir/rom_k_1.hex"}));
        const PartLayout tight({3, 1, false}, {2, false, 0xFF, RecordFormat::Binary}, 7);
        try {
            tight.refuseMisfits({"a", "b", "c"});
            QFAIL("accepted");
        } catch (const RuntimeError &error) {
            QCOMPARE(error.number(), ErrorNumber::ChipOverflow);
            QCOMPARE(error.path(), QStringLiteral("a"));
            QVERIFY(error.detail().contains("3") && error.detail().contains("2"));
        }
    }
};

QTEST_GUILESS_MAIN(TestChipFormats)
#include "test_chip_formats.moc"
