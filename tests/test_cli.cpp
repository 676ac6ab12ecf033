#include "cli_runner.h"
#include "naive_records.h"
#include "reference_deal.h"
#include "split/chip_table.h"
#include "split/split_files.h"
#include "temp_files.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif
#ifndef Q_OS_WIN
#include <iconv.h>
#endif

#ifndef Q_OS_WIN
namespace {

// True when every byte reads as text in the character set, as iconv sees it.
bool readsAsText(const QByteArray &bytes, const char *codeset)
{
    const iconv_t converter = ::iconv_open("UTF-8", codeset);
    if (converter == iconv_t(-1))
        return false;
    QByteArray in = bytes;
    char *from = in.data();
    size_t left = size_t(in.size());
    QByteArray out(in.size() * 4, '\0');
    char *to = out.data();
    size_t room = size_t(out.size());
    const bool whole = ::iconv(converter, &from, &left, &to, &room) != size_t(-1) && left == 0;
    ::iconv_close(converter);
    return whole;
}

} // namespace
#endif

using namespace tamrivel;
using namespace tamrivel::testing;

namespace {

// Points the children's temporary folder (TMPDIR, or TMP and TEMP on
// Windows) at `folder` while it lives, to see what they leave there.
class TemporaryFolderForChildren {
public:
    explicit TemporaryFolderForChildren(const QString &folder)
    {
        for (const char *name : kNames) {
            m_old.append(qgetenv(name));
            qputenv(name, QFile::encodeName(QDir::toNativeSeparators(folder)));
        }
    }
    ~TemporaryFolderForChildren()
    {
        for (qsizetype i = 0; i < m_old.size(); ++i) {
            if (m_old[i].isNull())
                qunsetenv(kNames[i]);
            else
                qputenv(kNames[i], m_old[i]);
        }
    }
    TemporaryFolderForChildren(const TemporaryFolderForChildren &) = delete;
    TemporaryFolderForChildren &operator=(const TemporaryFolderForChildren &) = delete;

private:
    static constexpr const char *kNames[] = {"TMPDIR", "TMP", "TEMP"};
    QList<QByteArray> m_old;
};

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void splitWithoutOutputsUsesTheWindowsNames()
    {
        QTemporaryDir dir;
        const QByteArray source = patternBytes(70001, 2);
        writeBytes(dir.filePath("rom.bin"), source);
        const CliResult result = runCli({"split", "rom.bin"}, dir.path());
        QCOMPARE(result.exitCode, 0);
        // Byte for byte what the window writes.
        splitFile(dir.filePath("rom.bin"), dir.filePath("window_g"), dir.filePath("window_k"));
        QCOMPARE(readBytes(dir.filePath("rom_g.bin")), readBytes(dir.filePath("window_g")));
        QCOMPARE(readBytes(dir.filePath("rom_k.bin")), readBytes(dir.filePath("window_k")));
        QVERIFY(result.out.contains("rom_g.bin"));
        QCOMPARE(result.err, QString());
    }

    void nWayNamesAreNumbered()
    {
        QTemporaryDir dir;
        const QByteArray source = patternBytes(1003, 4);
        writeBytes(dir.filePath("kick.rom"), source);
        QCOMPARE(runCli({"split", "--ways", "4", "--width", "2", "--quiet", "kick.rom"}, dir.path()).exitCode,
                 0);
        const QList<QByteArray> expected = referenceDeal(source, 4, 2, false);
        for (int way = 0; way < 4; ++way)
            QCOMPARE(readBytes(dir.filePath(QStringLiteral("kick_%1.bin").arg(way))), expected[way]);
    }

    void joinRestoresTheSource_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("pair") << QStringList();
        QTest::newRow("16-bit chips on a 32-bit bus, swapped") << QStringList{"--width", "2", "--swap"};
        QTest::newRow("three ways of 4") << QStringList{"--ways", "3", "--width", "4"};
    }

    void joinRestoresTheSource()
    {
        QFETCH(QStringList, options);
        QTemporaryDir dir;
        const QByteArray source = patternBytes(1024 * 1024 + 13, 8);
        writeBytes(dir.filePath("rom.bin"), source);
        const int ways = options.contains("--ways") ? options[options.indexOf("--ways") + 1].toInt() : 2;
        QStringList parts;
        for (int way = 0; way < ways; ++way)
            parts.append(QStringLiteral("p%1").arg(way));
        QCOMPARE(runCli(QStringList{"split", "rom.bin"} + parts + options, dir.path()).exitCode, 0);
        QStringList joinOptions = options;
        if (int at = joinOptions.indexOf("--ways"); at >= 0)
            joinOptions.remove(at, 2); // taken from the number of parts
        const CliResult joined =
            runCli(QStringList{"join"} + parts + QStringList{"back.bin"} + joinOptions, dir.path());
        QCOMPARE(joined.exitCode, 0);
        QCOMPARE(readBytes(dir.filePath("back.bin")), source);
    }

    void reportGivesSizeCrc32AndSum()
    {
        QTemporaryDir dir;
        // The even bytes spell the standard check string, whose CRC-32 is cbf43926.
        QByteArray source;
        for (char c : QByteArray("123456789"))
            source += QByteArray(1, c) + '-';
        writeBytes(dir.filePath("check.bin"), source);
        const CliResult result = runCli({"split", "check.bin", "even", "odd"}, dir.path());
        QCOMPARE(result.exitCode, 0);
        const QStringList lines = result.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        // The sums by hand: 0x31 + ... + 0x39 = 0x1dd, and 9 * 0x2d = 0x195.
        QCOMPARE(lines[1].simplified(), QStringLiteral("even 9 cbf43926 01dd 000001dd"));
        // Nine dashes; the figure is Python's zlib.crc32(b"-" * 9).
        QCOMPARE(lines[2].simplified(), QStringLiteral("odd 9 dcf50716 0195 00000195"));
        // 35000 erased bytes a part, past 16 bits: 35000 * 0xff = 0x882f48.
        writeBytes(dir.filePath("erased.bin"), QByteArray(70000, char(0xFF)));
        const CliResult erased = runCli({"split", "erased.bin", "e", "o"}, dir.path());
        QVERIFY2(erased.out.split('\n')[1].endsWith("   2f48  00882f48"), qPrintable(erased.out));
    }

    // The figures of a sum line, without the name.
    static QString sumFigures(const CliResult &result)
    {
        const QStringList lines = result.out.split('\n', Qt::SkipEmptyParts);
        return lines.size() == 2 ? lines[1].section(' ', 1).simplified() : result.err;
    }

    void sumIsOfWhatTheChipHolds_data()
    {
        QTest::addColumn<QStringList>("chipSplit"); // how split writes c0, the chip of way 0
        QTest::addColumn<QStringList>("sumOptions"); // sum of p0, way 0 unpadded, as that chip
        QTest::newRow("records read as their image") << QStringList{"--format", "ihex"} << QStringList();
        QTest::newRow("offset, zero fill") << QStringList{"--size", "2K", "--offset", "0x101", "--fill", "0"}
                                           << QStringList{"--size", "2K", "--offset", "0x101", "--fill", "0"};
        QTest::newRow("mirrored") << QStringList{"--chip", "2716", "--fill", "mirror"}
                                  << QStringList{"--chip", "2716", "--fill", "mirror"};
        QTest::newRow("records on a chip") << QStringList{"--size", "1K", "--offset", "3", "--format", "srec"}
                                           << QStringList{"--size", "1K", "--offset", "3"};
    }

    void sumIsOfWhatTheChipHolds()
    {
        QFETCH(QStringList, chipSplit);
        QFETCH(QStringList, sumOptions);
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), patternBytes(1501, 9));
        QCOMPARE(runCli({"split", "-q", "rom.bin", "p0.bin", "p1.bin"}, dir.path()).exitCode, 0);
        const QString chip = chipSplit.contains("ihex") ? "c0.hex"
            : chipSplit.contains("srec")                ? "c0.s"
                                                        : "c0";
        QCOMPARE(runCli(QStringList{"split", "-q", "rom.bin", chip, "c1"} + chipSplit, dir.path()).exitCode,
                 0);
        const CliResult asChip = runCli(QStringList{"sum", "p0.bin"} + sumOptions, dir.path());
        QCOMPARE(asChip.exitCode, 0);
        QCOMPARE(sumFigures(asChip), sumFigures(runCli({"sum", chip}, dir.path())));
        // Taken as raw, a record file is its text.
        QVERIFY(sumFigures(runCli({"sum", "--raw", chip}, dir.path()))
                    .startsWith(QString::number(QFileInfo(dir.filePath(chip)).size()) + ' '));
    }

    void wordSumsBothWays()
    {
        QTemporaryDir dir;
        writeBytes(dir.filePath("four.bin"), QByteArray::fromHex("01020304"));
        QCOMPARE(sumFigures(runCli({"sum", "four.bin"}, dir.path())),
                 QStringLiteral("4 b63cfbcd 000a 0000000a 00000604 00000406"));
        // A 16-bit split reports them; an 8-bit one keeps its columns.
        const CliResult wide = runCli({"split", "four.bin", "lo", "hi", "--width", "2"}, dir.path());
        QVERIFY2(wide.out.contains(QRegularExpression("lo +2 .* 00000201  00000102\n")),
                 qPrintable(wide.out));
        QVERIFY(!runCli({"split", "-f", "four.bin", "lo", "hi"}, dir.path()).out.contains("words"));
        // One fill byte first puts every block of the file at an odd offset,
        // and the file's last byte stands alone.
        const QByteArray bytes = patternBytes(70001, 4);
        writeBytes(dir.filePath("odd.bin"), bytes);
        const QByteArray buffer = QByteArray(1, '\0') + bytes;
        quint32 low = 0;
        quint32 high = 0;
        for (qsizetype i = 0; i < buffer.size(); ++i)
            (i % 2 ? high : low) += uchar(buffer[i]);
        const CliResult shifted =
            runCli({"sum", "odd.bin", "--size", "70002", "--offset", "1", "--fill", "0"}, dir.path());
        QVERIFY2(sumFigures(shifted).endsWith(QStringLiteral("%1 %2")
                                                  .arg(low + (high << 8), 8, 16, QLatin1Char('0'))
                                                  .arg((low << 8) + high, 8, 16, QLatin1Char('0'))),
                 qPrintable(shifted.out));
    }

    void compareTellsWhichBitsFlip_data()
    {
        QTest::addColumn<QList<QList<int>>>("flips"); // per read: offset, bits to flip, ...
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("said");
        QTest::newRow("agree") << QList<QList<int>>{{}, {}, {}} << 0 << QStringList{"the 3 reads agree"};
        QTest::newRow("D6 read 0 once, D6 read 1 once")
            << QList<QList<int>>{{}, {0x123, 0x40}, {0x456, 0x40}} << 1
            << QStringList{"2 bytes differ", "  0x0123: 57 17 57: D6 read as 0 by 1 of 3 reads",
                           "  0x0456: 0f 0f 4f: D6 read as 1 by 1 of 3 reads",
                           "  likely: 2 bits unstable, all in D6: a bad contact on D6?"};
        QTest::newRow("scattered")
            << QList<QList<int>>{{0x10, 0x02}, {0x20, 0x22}, {}, {}} << 1
            << QStringList{
                   "  0x0020: 05 27 05 05: D5 read as 1 by 1 of 4 reads, D1 read as 1 by 1 of 4 reads",
                   "  likely: 3 bits unstable over 2 data lines: a weak chip or a poor socket?"};
        QTest::newRow("one read short") << QList<QList<int>>{{}, {}, {-1}} << 1
                                        << QStringList{"r2: 2047 bytes", "the first 2047 bytes are compared",
                                                       "the 3 reads agree in the bytes they all hold"};
    }

    void compareTellsWhichBitsFlip()
    {
        QFETCH(QList<QList<int>>, flips);
        QFETCH(int, status);
        QFETCH(QStringList, said);
        QTemporaryDir dir;
        QByteArray chip = patternBytes(2048, 6);
        chip[0x123] = char(0x57);
        chip[0x456] = char(0x0f);
        QStringList reads{"compare"};
        for (const QList<int> &flip : flips) {
            QByteArray read = chip;
            for (qsizetype i = 0; i + 1 < flip.size(); i += 2)
                read[flip[i]] = char(read[flip[i]] ^ flip[i + 1]);
            if (flip == QList<int>{-1})
                read.chop(1);
            reads << QStringLiteral("r%1").arg(reads.size() - 1);
            writeBytes(dir.filePath(reads.last()), read);
        }
        const CliResult result = runCli(reads, dir.path());
        QCOMPARE(result.exitCode, status);
        for (const QString &line : said)
            QVERIFY2(result.out.contains(line + '\n'), qPrintable(result.out));
    }

    void voteWritesTheMajorityOrNothing()
    {
        QTemporaryDir dir;
        const QByteArray chip = patternBytes(3000, 7);
        const auto writeRead = [&](const QString &name, qsizetype at, char bits) {
            QByteArray read = chip;
            read[at] = char(read[at] ^ bits);
            writeBytes(dir.filePath(name), read);
        };
        writeRead("a", 5, 0x40);
        writeRead("b", 2999, 0x40);
        writeRead("c", 1000, 0x01);
        const CliResult voted = runCli({"compare", "--vote", "v.bin", "a", "b", "c"}, dir.path());
        QCOMPARE(voted.exitCode, 1); // the reads still differ
        QCOMPARE(readBytes(dir.filePath("v.bin")), chip);
        QVERIFY2(voted.out.endsWith("v.bin: written, each byte as more than half of the reads hold it\n"),
                 qPrintable(voted.out));
        // Like every command that writes, it keeps what exists unless forced.
        writeBytes(dir.filePath("v.bin"), "old");
        QCOMPARE(runCli({"compare", "--vote", "v.bin", "a", "b", "c"}, dir.path()).exitCode, 2);
        QCOMPARE(readBytes(dir.filePath("v.bin")), QByteArray("old"));
        QCOMPARE(runCli({"compare", "-q", "-f", "--vote", "v.bin", "a", "b", "c"}, dir.path()).exitCode, 1);
        QCOMPARE(readBytes(dir.filePath("v.bin")), chip);
        // At 0x5 three values, none held by more than two of the four reads;
        // at 0xbb7 two against two.
        writeRead("c", 5, 0x04);
        writeRead("d", 2999, 0x40);
        const auto before = snapshot(dir.path());
        const CliResult tied = runCli({"compare", "--vote", "w.bin", "a", "b", "c", "d"}, dir.path());
        QCOMPARE(tied.exitCode, 1);
        QVERIFY2(tied.out.endsWith("nothing written: no byte has a majority at 2 offsets: 0x0005, 0x0bb7\n"),
                 qPrintable(tied.out));
        QCOMPARE(snapshot(dir.path()), before);
    }

    void chipsFilledAsBoardsNeedThemRoundTrip_data()
    {
        QTest::addColumn<QList<int>>("sizes"); // source, chip, offset, width
        QTest::addColumn<QStringList>("fit"); // format, then mirror and banks where asked
        QTest::newRow("mirror, cut short") << QList<int>{1500, 1024, 0, 1} << QStringList{"bin", "mirror"};
        QTest::newRow("mirror, last bank")
            << QList<int>{5000, 1024, 0, 1} << QStringList{"ihex", "mirror", "banks"};
        QTest::newRow("offset") << QList<int>{1501, 2048, 0x400, 1} << QStringList{"srec"};
        QTest::newRow("offset, banks") << QList<int>{3001, 1024, 256, 1} << QStringList{"bin", "banks"};
        QTest::newRow("offset, zero fill") << QList<int>{1501, 2048, 0x400, 1} << QStringList{"bin", "0x00"};
        QTest::newRow("both, 16-bit") << QList<int>{900, 1024, 0x200, 2} << QStringList{"ihex", "mirror"};
    }

    void chipsFilledAsBoardsNeedThemRoundTrip()
    {
        QFETCH(QList<int>, sizes);
        QFETCH(QStringList, fit);
        const int chip = sizes[1], offset = sizes[2], width = sizes[3];
        const bool mirror = fit.contains("mirror"), banks = fit.contains("banks");
        QTemporaryDir dir;
        const QByteArray source = patternBytes(sizes[0], 5);
        writeBytes(dir.filePath("rom.bin"), source);
        const char erased = fit.contains("0x00") ? '\0' : '\xff';
        QStringList placed{"--width", QString::number(width), "--fill",
                           mirror                     ? "mirror"
                               : fit.contains("0x00") ? "0x00"
                                                      : "0xFF"};
        if (offset > 0)
            placed << "--offset" << QString::number(offset);
        QStringList options = placed + QStringList{"--size", QString::number(chip), "--format", fit[0]};
        if (banks)
            options << "--banks";
        QCOMPARE(runCli(QStringList{"split", "rom.bin", "--quiet"} + options, dir.path()).exitCode, 0);
        // Each chip as a programmer is told to fill it: erased bytes up to
        // the offset, its share of the way, then copies of that or erased.
        const QList<QByteArray> shares = referenceDeal(source, 2, width, false);
        const int room = chip - offset;
        const int count = banks ? int((shares[0].size() + room - 1) / room) : 1;
        const QStringList chips = QDir(dir.path()).entryList({"rom_*"}, QDir::Files, QDir::Name);
        QCOMPARE(chips.size(), 2 * count);
        for (int file = 0; file < chips.size(); ++file) {
            const QByteArray held = shares[file / count].mid(file % count * room, room);
            QByteArray expected = QByteArray(offset, erased) + held;
            while (expected.size() < chip)
                expected += mirror && !held.isEmpty() ? held : QByteArray(1, erased);
            const QByteArray written = readBytes(dir.filePath(chips[file]));
            QCOMPARE(fit[0] == "bin" ? written : naiveRead(written).bytes, expected.left(chip));
        }
        QCOMPARE(runCli(QStringList{"verify", "rom.bin"} + chips + options, dir.path()).exitCode, 0);
        placed << "--length" << QString::number(source.size());
        if (banks)
            placed << "--banks";
        QCOMPARE(runCli(QStringList{"join"} + chips + QStringList{"back"} + placed, dir.path()).exitCode, 0);
        QCOMPARE(readBytes(dir.filePath("back")), source);
    }

    void badUsageExitsTwo_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("nothing") << QStringList();
        QTest::newRow("unknown command") << QStringList{"shuffle", "rom.bin"};
        QTest::newRow("unknown option") << QStringList{"split", "--bogus", "rom.bin"};
        QTest::newRow("split without source") << QStringList{"split"};
        QTest::newRow("no ways") << QStringList{"split", "--ways", "0", "rom.bin"};
        QTest::newRow("seventeen ways") << QStringList{"split", "--ways", "17", "rom.bin"};
        QTest::newRow("width 3") << QStringList{"split", "--width", "3", "rom.bin"};
        QTest::newRow("width not a number") << QStringList{"split", "--width", "two", "rom.bin"};
        QTest::newRow("swap of single bytes") << QStringList{"split", "--swap", "rom.bin"};
        QTest::newRow("ways and outputs disagree")
            << QStringList{"split", "--ways", "3", "rom.bin", "a", "b"};
        QTest::newRow("join with one part") << QStringList{"join", "a", "out"};
        QTest::newRow("chip and size") << QStringList{"split", "--chip", "27256", "--size", "1K", "rom.bin"};
        QTest::newRow("unknown chip") << QStringList{"split", "--chip", "27C257", "rom.bin"};
        QTest::newRow("banks without a size") << QStringList{"split", "--banks", "rom.bin"};
        QTest::newRow("size not a size") << QStringList{"split", "--size", "12Q", "rom.bin"};
        QTest::newRow("fill beyond a byte")
            << QStringList{"split", "--size", "8", "--fill", "256", "rom.bin"};
        QTest::newRow("unknown format") << QStringList{"split", "--format", "elf", "rom.bin"};
        QTest::newRow("length on a split") << QStringList{"split", "--length", "4", "rom.bin"};
        QTest::newRow("chip on a join")
            << QStringList{"join", "--chip", "27256", "rom.bin", "rom.bin", "out"};
        QTest::newRow("option on chips") << QStringList{"chips", "--quiet"};
        QTest::newRow("option before the command") << QStringList{"--ways", "4", "split", "rom.bin"};
        QTest::newRow("help on an unknown command") << QStringList{"help", "shuffle"};
        QTest::newRow("offset leaving no room")
            << QStringList{"split", "--size", "1K", "--offset", "1K", "rom.bin"};
        QTest::newRow("banks and too few outputs")
            << QStringList{"split", "--size", "2", "--banks", "rom.bin", "a", "b"};
        // Slips that would overwrite a file the user may have no other copy of.
        QTest::newRow("join's output left out") << QStringList{"join", "lo.bin", "hi.bin", "rom.bin"};
        QTest::newRow("split's source named last") << QStringList{"split", "lo.bin", "hi.bin", "rom.bin"};
        QTest::newRow("names proposed over a file") << QStringList{"split", "hi.bin"};
        QTest::newRow("banks joined as ways")
            << QStringList{"join", "r_g_0.bin", "r_g_1.bin", "r_k_0.bin", "r_k_1.bin", "out"};
        QTest::newRow("banks short of a way")
            << QStringList{"join", "--banks", "lo.bin", "hi.bin", "rom.bin", "out"};
        QTest::newRow("records of 256 bytes")
            << QStringList{"split", "--format", "ihex", "--record-size", "256", "rom.bin"};
        QTest::newRow("a base for raw bytes") << QStringList{"split", "--base", "0x8000", "rom.bin"};
        QTest::newRow("an S-record width for Intel HEX")
            << QStringList{"split", "--format", "ihex", "--srec-address", "16", "rom.bin"};
        QTest::newRow("S19 past 64 KiB") << QStringList{"split", "--format", "srec",    "--srec-address",
                                                        "16",    "--size",   "0x10001", "rom.bin"};
        QTest::newRow("a base at 4 GiB") << QStringList{"join", "--base", "4096M", "lo.bin", "hi.bin", "out"};
        QTest::newRow("records 4 GiB apart joined unasked")
            << QStringList{"join", "far.hex", "far2.hex", "out"};
        // '-' where no stream can stand, never a file named '-'.
        QTest::newRow("standard input split to names made from its own") << QStringList{"split", "-"};
        QTest::newRow("split to standard output") << QStringList{"split", "rom.bin", "-", "hi.bin"};
        QTest::newRow("standard input split to standard output") << QStringList{"split", "-", "-", "hi.bin"};
        QTest::newRow("standard input joined") << QStringList{"join", "-", "hi.bin", "out"};
        QTest::newRow("standard input verified") << QStringList{"verify", "-", "lo.bin", "hi.bin"};
        QTest::newRow("standard input verified against") << QStringList{"verify", "rom.bin", "lo.bin", "-"};
        QTest::newRow("standard input identified") << QStringList{"identify", "rom.bin", "-"};
        QTest::newRow("sum of nothing") << QStringList{"sum"};
        QTest::newRow("banks on a sum") << QStringList{"sum", "--size", "2", "--banks", "rom.bin"};
        QTest::newRow("compare with one dump") << QStringList{"compare", "rom.bin"};
        QTest::newRow("vote between two") << QStringList{"compare", "--vote", "v.bin", "lo.bin", "hi.bin"};
        QTest::newRow("data lines not numbers")
            << QStringList{"verify", "--data-lines", "a,b", "rom.bin", "lo.bin", "hi.bin"};
        QTest::newRow("data lines short of the chip's")
            << QStringList{"split", "--data-lines", "1,0,2,3,4,5,6", "rom.bin"};
        QTest::newRow("8 data lines on a 16-bit chip")
            << QStringList{"split", "--width", "2", "--data-lines", "1,0,2,3,4,5,6,7", "rom.bin"};
        QTest::newRow("identify, data lines not each once")
            << QStringList{"identify", "--data-lines", "0,0,1,2,3,4,5,6", "rom.bin", "lo.bin"};
        QTest::newRow("address lines on parts of 3 bytes")
            << QStringList{"join", "--address-lines", "0,1", "lo.bin", "hi.bin", "out"};
    }

    void badUsageExitsTwo()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), "abcdef");
        writeBytes(dir.filePath("lo.bin"), "ace");
        writeBytes(dir.filePath("hi.bin"), "bdf");
        writeBytes(dir.filePath("hi_k.bin"), "d");
        writeBytes(dir.filePath("far.hex"),
                   ":10000000000102030405060708090A0B0C0D0E0F78\n:02000004FFFFFC\n"
                   ":10FF0000000102030405060708090A0B0C0D0E0F79\n:00000001FF\n");
        QFile::copy(dir.filePath("far.hex"), dir.filePath("far2.hex"));
        const auto before = snapshot(dir.path());
        const CliResult result = runCli(arguments, dir.path());
        QCOMPARE(result.exitCode, 2);
        QVERIFY(result.err.startsWith("tamrivel-cli: "));
        QCOMPARE(result.out, QString());
        QCOMPARE(snapshot(dir.path()), before);
    }

    void usageErrorsSayWhatIsWrong_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("said");
        QTest::newRow("a letter doubled") << QStringList{"splitt", "rom.bin"} << "did you mean 'split'?";
        QTest::newRow("a letter left out") << QStringList{"verfy", "rom.bin"} << "did you mean 'verify'?";
        QTest::newRow("letters swapped") << QStringList{"jion", "a", "b", "c"} << "did you mean 'join'?";
        QTest::newRow("another word") << QStringList{"shuffle", "rom.bin"} << "say split, join,";
        QTest::newRow("an option") << QStringList{"split", "--way", "4", "rom.bin"}
                                   << "split does not take --way: did you mean --ways?";
        QTest::newRow("an option in capitals")
            << QStringList{"join", "--LENGTH", "4", "a", "b", "c"} << "did you mean --length?";
        QTest::newRow("-V for -v") << QStringList{"-V"} << "unknown option '-V': did you mean --version?";
        QTest::newRow("one output named")
            << QStringList{"split", "rom.bin", "a.bin"}
            << "1 part named: a split has one for each way; for one chip holding the whole image, give "
               "--ways 1";
        QTest::newRow("one part named, 16-bit chip")
            << QStringList{"verify", "--chip", "27C400", "rom.bin", "a.bin"} << "1 part named:";
        QTest::newRow("address lines, chip not a power of two")
            << QStringList{"split", "--size", "3", "--address-lines", "0,1", "rom.bin"}
            << "--address-lines needs a chip whose size is a power of two, not 3 bytes";
        QTest::newRow("address lines short of the chip's")
            << QStringList{"split", "--size", "8", "--address-lines", "1,0", "rom.bin"}
            << "--address-lines lists 2 lines, but a chip of 8 bytes has 3, A0 to A2";
        QTest::newRow("data lines not each once")
            << QStringList{"split", "--data-lines", "1,1,2,3,4,5,6,7", "rom.bin"}
            << "--data-lines must name each bit from 0 to 7 once, not 1,1,2,3,4,5,6,7";
        QTest::newRow("standard input unnamed")
            << QStringList{"split", "-"} << "standard input has no name to make the OUTPUTs' names from";
        QTest::newRow("a part from standard input")
            << QStringList{"join", "a", "-", "out"}
            << "join cannot use standard input or output for its PARTs";
    }

    void usageErrorsSayWhatIsWrong()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, said);
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), "abcdef");
        const CliResult result = runCli(arguments, dir.path());
        QCOMPARE(result.exitCode, 2);
        QVERIFY2(result.err.contains(said), qPrintable(result.err));
    }

    // Told to, a run replaces what exists, the set as one.
    void forceReplacesExistingOutputs()
    {
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), "abcdef");
        writeBytes(dir.filePath("rom_k.bin"), "old");
        const CliResult refused = runCli({"split", "rom.bin"}, dir.path());
        QVERIFY2(refused.err.contains("'rom_k.bin' exists") && refused.err.contains("--force"),
                 qPrintable(refused.err));
        QCOMPARE(runCli({"split", "-f", "--quiet", "rom.bin"}, dir.path()).exitCode, 0);
        QCOMPARE(readBytes(dir.filePath("rom_k.bin")), QByteArray("bdf"));
    }

    void failureExitsNamingTheFile_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("named");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("status");
        QTest::newRow("missing source") << QStringList{"split", "none.bin"} << "none.bin" << 2 << 1;
        // Comparing, 1 would mean "they differ".
        QTest::newRow("verify, a missing part")
            << QStringList{"verify", "rom.bin", "x.bin", "none.bin"} << "none.bin" << 2 << 2;
        QTest::newRow("identify, a missing dump")
            << QStringList{"identify", "rom.bin", "none.bin"} << "none.bin" << 2 << 2;
        QTest::newRow("output is the source")
            << QStringList{"split", "rom.bin", "x", "./rom.bin"} << "./rom.bin" << 9 << 1;
        QTest::newRow("misfit parts")
            << QStringList{"join", "rom.bin", "x.bin", "out"} << "rom.bin" << 10 << 1;
        QTest::newRow("banks of chips of other sizes")
            << QStringList{"join", "--banks", "rom.bin", "x.bin", "out"} << "x.bin" << 10 << 1;
        QTest::newRow("name too short to propose outputs") << QStringList{"split", "abc"} << "abc" << 1 << 1;
        QTest::newRow("image larger than the chip")
            << QStringList{"split", "big.bin", "--chip", "2716"} << "big_g.bin" << 13 << 1;
        QTest::newRow("bad record") << QStringList{"join", "bad.hex", "rom.bin", "out"} << "bad.hex" << 14
                                    << 1;
        QTest::newRow("a file named '-'") << QStringList{"split", "./-", "x", "y"} << "./-" << 2 << 1;
        QTest::newRow("joined to standard output, longer than the parts")
            << QStringList{"join", "x.bin", "abc", "-", "--length", "3"} << "standard output" << 1 << 1;
        QTest::newRow("sum, larger than the chip")
            << QStringList{"sum", "rom.bin", "big.bin", "--chip", "2716"} << "big.bin" << 13 << 1;
        QTest::newRow("compare, a missing dump")
            << QStringList{"compare", "rom.bin", "x.bin", "none.bin"} << "none.bin" << 2 << 2;
    }

    void failureExitsNamingTheFile()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, named);
        QFETCH(int, number);
        QFETCH(int, status);
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), "abcdef");
        writeBytes(dir.filePath("x.bin"), "a");
        writeBytes(dir.filePath("abc"), "a");
        writeBytes(dir.filePath("big.bin"), QByteArray(4097, 'x'));
        writeBytes(dir.filePath("bad.hex"), ":0200000012AB41\n:010000007789\n:00000001FF\n");
        const auto before = snapshot(dir.path());
        const CliResult result = runCli(arguments, dir.path());
        QCOMPARE(result.exitCode, status);
        QVERIFY2(result.err.startsWith(QStringLiteral("tamrivel-cli: error %1: ").arg(number)),
                 qPrintable(result.err));
        QVERIFY2(result.err.contains(QStringLiteral("('%1')").arg(QDir::toNativeSeparators(named))),
                 qPrintable(result.err));
        QCOMPARE(result.err.count('\n'), 1);
        QCOMPARE(snapshot(dir.path()), before);
    }

    void chipsInBanksPaddedThenVerified()
    {
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), "ABCDE");
        const QStringList shape{"--size", "2", "--banks", "--fill", "0"};
        QCOMPARE(runCli(QStringList{"split", "rom.bin"} + shape, dir.path()).exitCode, 0);
        // Even bytes ACE and odd BD, two bytes a chip, zero padding.
        const QMap<QString, QByteArray> chips{{"rom_g_0.bin", "AC"},
                                              {"rom_g_1.bin", QByteArray("E\0", 2)},
                                              {"rom_k_0.bin", "BD"},
                                              {"rom_k_1.bin", QByteArray(2, '\0')}};
        for (auto chip = chips.begin(); chip != chips.end(); ++chip)
            QCOMPARE(readBytes(dir.filePath(chip.key())), chip.value());
        const QStringList verify = QStringList{"verify", "rom.bin"} + chips.keys() + shape;
        const CliResult same = runCli(verify, dir.path());
        QCOMPARE(same.exitCode, 0);
        QCOMPARE(same.out.count(": the same, 2 bytes\n"), 4);

        writeBytes(dir.filePath("rom_k_0.bin"), "BX");
        writeBytes(dir.filePath("rom_g_1.bin"), "E");
        const CliResult differ = runCli(verify, dir.path());
        QCOMPARE(differ.exitCode, 1);
        QVERIFY2(differ.out.contains("rom_k_0.bin: 1 byte differs\n"
                                     "  part 0x1 (source 0x3): expected 0x44, found 0x58\n"),
                 qPrintable(differ.out));
        QVERIFY(differ.out.contains("rom_g_1.bin: 1 bytes, but the split writes 2\n"));
    }

    void recordFilesHoldTheDealtBytes_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("Intel HEX") << "ihex";
        QTest::newRow("S-records") << "srec";
    }

    void recordFilesHoldTheDealtBytes()
    {
        QFETCH(QString, format);
        QTemporaryDir dir;
        const QByteArray source = patternBytes(70001, 6);
        writeBytes(dir.filePath("rom.bin"), source);
        const QString even = format == "ihex" ? "rom_g.hex" : "rom_g.srec";
        QCOMPARE(runCli({"split", "rom.bin", "--chip", "27512", "--format", format}, dir.path()).exitCode, 0);
        QCOMPARE(runCli({"split", "rom.bin", "raw_g", "raw_k", "--chip", "27512"}, dir.path()).exitCode, 0);
        const QList<QByteArray> dealt = referenceDeal(source, 2, 1, false);
        const NaiveImage image = naiveRead(readBytes(dir.filePath(even)));
        QVERIFY(image.checksumsGood);
        QCOMPARE(image.bytes, dealt[0] + QByteArray(65536 - dealt[0].size(), char(0xFF)));
        // A record part beside a raw one, the padding cut off again.
        QCOMPARE(runCli({"join", even, "raw_k", "back.bin", "--length", "70001"}, dir.path()).exitCode, 0);
        QCOMPARE(readBytes(dir.filePath("back.bin")), source);
    }

    // Split to records, then join and verify, over every length up to two
    // rounds of the widest deal and a few beyond: the source comes back byte
    // for byte. Banks have no join, so verify alone speaks for them.
    void recordsRoundTrip_data()
    {
        QTest::addColumn<QStringList>("shape"); // what join takes too
        QTest::addColumn<QStringList>("split"); // what split alone takes
        QTest::newRow("pair, hex") << QStringList() << QStringList{"--format", "ihex"};
        QTest::newRow("pair, srec") << QStringList() << QStringList{"--format", "srec"};
        QTest::newRow("3 ways of 2, swapped, srec")
            << QStringList{"--width", "2", "--swap"} << QStringList{"--ways", "3", "--format", "srec"};
        QTest::newRow("4 ways of 2, hex")
            << QStringList{"--width", "2"} << QStringList{"--ways", "4", "--format", "ihex"};
        QTest::newRow("chips, hex") << QStringList() << QStringList{"--size", "64", "--format", "ihex"};
        QTest::newRow("banks, 16-bit, srec")
            << QStringList{"--width", "2"} << QStringList{"--size", "16", "--banks", "--format", "srec"};
    }

    void recordsRoundTrip()
    {
        QFETCH(QStringList, shape);
        QFETCH(QStringList, split);
        QTemporaryDir dir;
        for (int length = 0; length <= 70; length += length < 13 ? 1 : 26) {
            const QByteArray source = patternBytes(length, uint(length));
            writeBytes(dir.filePath("rom.bin"), source);
            const CliResult written =
                runCli(QStringList{"split", "-f", "rom.bin"} + shape + split, dir.path());
            QVERIFY2(written.exitCode == 0, qPrintable(written.err));
            QStringList parts;
            for (const QString &line : written.out.split('\n', Qt::SkipEmptyParts).mid(1))
                parts.append(line.section(' ', 0, 0));
            const CliResult verify =
                runCli(QStringList{"verify", "rom.bin"} + parts + shape + split, dir.path());
            QVERIFY2(verify.exitCode == 0, qPrintable(verify.out + verify.err));
            if (length == 0 && split.contains("--size"))
                continue; // --length takes no 0
            QStringList join = QStringList{"join", "-f"} + parts + QStringList{"back.bin", "--quiet"} + shape;
            if (split.contains("--banks"))
                join << "--banks";
            if (split.contains("--size"))
                join += {"--length", QString::number(length)};
            const CliResult joined = runCli(join, dir.path());
            QVERIFY2(joined.exitCode == 0, qPrintable(joined.err));
            QVERIFY2(readBytes(dir.filePath("back.bin")) == source, qPrintable(QString::number(length)));
        }
    }

    // Whatever the list shows, --chip must take by that name at that size.
    void chipsListedAreTheChipsTaken()
    {
        const CliResult result = runCli({"chips"});
        QCOMPARE(result.exitCode, 0);
        const QStringList lines = result.out.split('\n', Qt::SkipEmptyParts);
        QVERIFY(lines.size() > 10);
        for (const QString &line : lines.mid(1)) {
            const QStringList fields = line.simplified().split(' ');
            const std::optional<Chip> chip = findChip(fields[0]);
            QVERIFY2(chip && chip->bytes == fields[1].toLongLong(), qPrintable(line));
        }
        QVERIFY(runCli({"split", "--chip", "27C257", "x.bin"}).err.contains("closest: 27256"));
    }

    void helpAndVersion()
    {
        const CliResult version = runCli({"--version"});
        QCOMPARE(version.exitCode, 0);
        const CliResult help = runCli({"--help"});
        QCOMPARE(help.exitCode, 0);
        for (const char *verb : {"split", "join", "verify", "chips"}) {
            QVERIFY2(help.out.contains(QLatin1String(verb)), verb);
            const CliResult own = runCli({verb, "--help"});
            QCOMPARE(own.exitCode, 0);
            QCOMPARE(runCli({"help", verb}).out, own.out);
        }
        // Each verb says what an option means for it: verify writes nothing.
        const QString verifyHelp = runCli({"verify", "--help"}).out;
        for (const char *splitsWords : {"Write bin", "Pad each output", "Cut each way", "Number the records"})
            QVERIFY2(!verifyHelp.contains(QLatin1String(splitsWords)), splitsWords);
    }

    void helpDoesNothingElse()
    {
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), "abcdef");
        const auto before = snapshot(dir.path());
        QCOMPARE(runCli({"split", "rom.bin", "--help"}, dir.path()).exitCode, 0);
        QCOMPARE(snapshot(dir.path()), before);
    }

    void joinLengthCutsOnlyFill_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QString>("length");
        QTest::addColumn<bool>("cut");
        const QByteArray padded("ABCDEF\x01\x01\x01\x01");
        QTest::newRow("all the fill") << padded << "6" << true;
        QTest::newRow("part of the fill") << padded << "7" << true;
        QTest::newRow("a data byte") << padded << "5" << false;
        QTest::newRow("0xFF when the fill is 0x01") << QByteArray("ABCDEF\xFF\x01") << "6" << false;
    }

    void joinLengthCutsOnlyFill()
    {
        QFETCH(QByteArray, source);
        QFETCH(QString, length);
        QFETCH(bool, cut);
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), source);
        QCOMPARE(runCli({"split", "--quiet", "rom.bin", "p0", "p1"}, dir.path()).exitCode, 0);
        writeBytes(dir.filePath("out.bin"), "previous image");
        const CliResult result = runCli(
            {"join", "--quiet", "--force", "p0", "p1", "out.bin", "--fill", "0x01", "--length", length},
            dir.path());
        if (cut) {
            QCOMPARE(result.exitCode, 0);
            QCOMPARE(readBytes(dir.filePath("out.bin")), source.left(length.toInt()));
            return;
        }
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.startsWith(QStringLiteral("tamrivel-cli: error 1: ")), qPrintable(result.err));
        QVERIFY2(result.err.contains(QRegularExpression("\\('p[01]'\\)")), qPrintable(result.err));
        QCOMPARE(readBytes(dir.filePath("out.bin")), QByteArray("previous image"));
    }

    void verifyFindsTheChangedByte_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("ways");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("swap");
        QTest::addColumn<qint64>("chipSize"); // 0: none
        QTest::newRow("3 ways of 2, swapped")
            << QStringList{"--ways", "3", "--width", "2", "--swap"} << 3 << 2 << true << 0LL;
        QTest::newRow("8 ways of 8") << QStringList{"--ways", "8", "--width", "8"} << 8 << 8 << false << 0LL;
        QTest::newRow("Intel HEX chips")
            << QStringList{"--chip", "2716", "--format", "ihex"} << 2 << 1 << false << 2048LL;
        QTest::newRow("S-records in banks, 16-bit swapped")
            << QStringList{"--width", "2", "--swap", "--size", "1K", "--banks", "--format", "srec"} << 2 << 2
            << true << 1024LL;
    }

    // The parts of one source, checked against the source with one byte
    // changed: exactly that byte must be found, where the deal put it.
    void verifyFindsTheChangedByte()
    {
        QFETCH(QStringList, options);
        QFETCH(int, ways);
        QFETCH(int, width);
        QFETCH(bool, swap);
        QFETCH(qint64, chipSize);
        QTemporaryDir dir;
        const QByteArray source = patternBytes(3001, 12);
        writeBytes(dir.filePath("rom.bin"), source);
        const CliResult split = runCli(QStringList{"split", "rom.bin"} + options, dir.path());
        QCOMPARE(split.exitCode, 0);
        QStringList names; // from the report, way by way, bank by bank
        for (const QString &line : split.out.split('\n', Qt::SkipEmptyParts).mid(1))
            names.append(line.section(' ', 0, 0));
        const QStringList verifyArguments = QStringList{"verify", "rom.bin"} + names + options;
        QCOMPARE(runCli(verifyArguments, dir.path()).exitCode, 0);

        QByteArray changed = source;
        const qint64 at = 1234;
        changed[at] = char(~source[at]);
        writeBytes(dir.filePath("rom.bin"), changed);
        const QList<QByteArray> before = referenceDeal(source, ways, width, swap);
        const QList<QByteArray> after = referenceDeal(changed, ways, width, swap);
        int file = -1;
        qint64 offset = -1;
        for (int way = 0; way < ways; ++way) {
            for (qint64 i = 0; i < before[way].size(); ++i) {
                if (before[way][i] == after[way][i])
                    continue;
                const qint64 bank = chipSize > 0 ? i / chipSize : 0;
                file = way * int(names.size() / ways) + int(bank);
                offset = i - bank * chipSize;
            }
        }
        const CliResult verify = runCli(verifyArguments, dir.path());
        QCOMPARE(verify.exitCode, 1);
        const QString expected =
            QStringLiteral("%1: 1 byte differs\n  part 0x%2 (source 0x%3): expected 0x%4, found 0x%5\n")
                .arg(names[file])
                .arg(offset, 0, 16)
                .arg(at, 0, 16)
                .arg(uchar(changed[at]), 2, 16, QLatin1Char('0'))
                .arg(uchar(source[at]), 2, 16, QLatin1Char('0'));
        QVERIFY2(verify.out.contains(expected), qPrintable(verify.out + "\nexpected:\n" + expected));
        QCOMPARE(verify.out.count(": the same, "), names.size() - 1);
    }

    // Chips read back with a fault: verify says why, identify places each
    // dump whatever the order it comes in.
    void verifyAndIdentifyNameTheFault()
    {
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), patternBytes(64 * 1024, 21));
        for (const QStringList &split :
             {QStringList{}, QStringList{"w0", "w1", "w2", "w3", "--ways", "4", "--width", "2", "--swap"},
              QStringList{"--size", "16K", "--banks"},
              QStringList{"m0", "m1", "--size", "64K", "--fill", "mirror"},
              QStringList{"o0", "o1", "--size", "64K", "--offset", "16K"},
              QStringList{"p0", "p1", "--size", "64K"},
              QStringList{"--ways", "4", "--size", "16K", "--offset", "8K", "--banks"}})
            QCOMPARE(runCli(QStringList{"split", "--quiet", "rom.bin"} + split, dir.path()).exitCode, 0);
        for (const char *part : {"rom_g.bin", "p0"}) {
            QByteArray stuck = readBytes(dir.filePath(part));
            for (char &byte : stuck)
                byte = char(byte & ~8);
            writeBytes(dir.filePath(part + QStringLiteral(".stuck")), stuck);
        }
        QFile::rename(dir.filePath("rom_g.bin.stuck"), dir.filePath("stuck.bin"));

        const CliResult crossed = runCli({"verify", "rom.bin", "rom_k.bin", "rom_g.bin"}, dir.path());
        QCOMPARE(crossed.exitCode, 1);
        for (const char *line : {"differ\n  part 0x0 (source 0x0)", "  likely: is rom_g.bin\n",
                                 "  likely: the set matches in the order rom_g.bin rom_k.bin\n"})
            QVERIFY2(crossed.out.contains(line), qPrintable(crossed.out));
        // Scripts read the exit status alone.
        for (const char *verb : {"verify", "identify"}) {
            const CliResult quiet = runCli({verb, "-q", "rom.bin", "rom_k.bin", "stuck.bin"}, dir.path());
            QCOMPARE(quiet.exitCode, 1);
            QCOMPARE(quiet.out + quiet.err, QString());
        }
        const CliResult otherShape = runCli({"verify", "rom.bin", "w0", "w1", "w2", "w3"}, dir.path());
        QVERIFY2(otherShape.out.endsWith("\n  likely: matches --ways 4 --width 2 --swap\n"),
                 qPrintable(otherShape.out));
        // Banks of chips whose room is less than their size.
        const QStringList banked{"rom_0_0.bin", "rom_0_1.bin", "rom_1_0.bin", "rom_1_1.bin",
                                 "rom_2_0.bin", "rom_2_1.bin", "rom_3_0.bin", "rom_3_1.bin"};
        const CliResult otherBanks = runCli(QStringList{"verify", "rom.bin"} + banked +
                                                QStringList{"--size", "16K", "--offset", "8K", "--banks"},
                                            dir.path());
        QVERIFY2(otherBanks.out.endsWith("\n  likely: matches --ways 4 --width 1\n"),
                 qPrintable(otherBanks.out));

        const CliResult placed =
            runCli({"identify", "rom.bin", "rom_k.bin", "rom_g.bin", "w2", "rom_k_1.bin"}, dir.path());
        QCOMPARE(placed.exitCode, 0);
        QCOMPARE(placed.out,
                 QStringLiteral("rom_k.bin: way 1 of --ways 2 --width 1: exact\n"
                                "rom_g.bin: way 0 of --ways 2 --width 1: exact\n"
                                "w2: way 2 of --ways 4 --width 2 --swap: exact\n"
                                "rom_k_1.bin: way 1 of --ways 2 --width 1, bank 1 of 16K: exact\n"));
        const CliResult filled = runCli({"identify", "rom.bin", "m1", "o0", "rom_2_1.bin"}, dir.path());
        QCOMPARE(
            filled.out,
            QStringLiteral("m1: way 1 of --ways 2 --width 1 --size 64K --fill mirror: exact\n"
                           "o0: way 0 of --ways 2 --width 1 --size 64K --offset 16K: exact\n"
                           "rom_2_1.bin: way 2 of --ways 4 --width 1 --offset 8K, bank 1 of 16K: exact\n"));
        const CliResult unmirrored = runCli({"verify", "rom.bin", "m0", "m1", "--size", "64K"}, dir.path());
        QVERIFY2(unmirrored.out.contains(
                     "\n  likely: filled with copies of the image (--fill mirror), not 0xFF\n"),
                 qPrintable(unmirrored.out));
        const CliResult nearest = runCli({"identify", "rom.bin", "rom_g.bin", "stuck.bin"}, dir.path());
        QCOMPARE(nearest.exitCode, 1);
        QVERIFY2(
            nearest.out.contains(QRegularExpression("\nstuck.bin: way 0 of --ways 2 --width 1: [0-9]+ bytes "
                                                    "differ\n  likely: D3 stuck at 0\n$")),
            qPrintable(nearest.out));
        // The stuck line clears the padding's bit too: still the padded chip.
        QVERIFY(runCli({"identify", "rom.bin", "p0.stuck"}, dir.path())
                    .out.contains(
                        QRegularExpression("--size 64K: [0-9]+ bytes differ\n  likely: D3 stuck at 0\n$")));
        QCOMPARE(runCli({"identify", "rom.bin"}, dir.path()).exitCode, 2);
        QByteArray off = readBytes(dir.filePath("rom_k.bin"));
        off[1234] = char(off[1234] ^ 0x40);
        writeBytes(dir.filePath("off"), off);
        QVERIFY(runCli({"identify", "rom.bin", "off"}, dir.path())
                    .out.startsWith("off: way 1 of --ways 2 --width 1: 1 byte differs\n"));
        // Dumps of a size no chip has, read with the wrong size or cut short,
        // are not chips of their own size.
        const QByteArray lane0 = readBytes(dir.filePath("rom_g.bin"));
        const QList<std::pair<QString, QByteArray>> misread{
            {"cut", readBytes(dir.filePath("rom_k_1.bin")).left(12 * 1024)},
            {"half", lane0.left(16 * 1024)},
            {"short", lane0.chopped(1)},
            {"long", lane0 + QByteArray(1, '\0')}};
        QStringList misreadNames{"identify", "rom.bin"};
        for (const auto &[name, bytes] : misread) {
            writeBytes(dir.filePath(name), bytes);
            misreadNames << name;
        }
        const CliResult cutShort = runCli(misreadNames, dir.path());
        QCOMPARE(cutShort.exitCode, 1);
        QCOMPARE(
            cutShort.out,
            QStringLiteral("cut: the first 0x3000 bytes of way 1 of --ways 2 --width 1, bank 1 of 16K: "
                           "0x1000 bytes missing\n"
                           "half: way 0 of --ways 2 --width 1, bank 0 of 16K: exact\n"
                           "  or the first 0x4000 bytes of way 0 of --ways 2 --width 1: 0x4000 bytes "
                           "missing\n"
                           "short: the first 0x7fff bytes of way 0 of --ways 2 --width 1: 0x1 byte missing\n"
                           "long: way 0 of --ways 2 --width 1: 0x1 byte too many\n"));
        writeBytes(dir.filePath("tiny"), readBytes(dir.filePath("rom_g.bin")).left(7));
        const CliResult tiny = runCli({"identify", "rom.bin", "tiny"}, dir.path());
        QCOMPARE(tiny.exitCode, 1);
        QCOMPARE(tiny.out, QStringLiteral("tiny: not searched: too short to place: under 16 bytes\n"));
    }

    // A chip burnt for a board wired otherwise is what verify names, what the
    // option it names writes, and what identify told that wiring places.
    void wiredChipsAreNamedAndWritten()
    {
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), patternBytes(64 * 1024, 21));
        QCOMPARE(runCli({"split", "--quiet", "rom.bin"}, dir.path()).exitCode, 0);
        QByteArray crossed = readBytes(dir.filePath("rom_g.bin"));
        for (char &byte : crossed) {
            const int d2 = byte >> 2 & 1, d5 = byte >> 5 & 1;
            byte = char((byte & ~0x24) | d2 << 5 | d5 << 2);
        }
        writeBytes(dir.filePath("crossed.bin"), crossed);
        const CliResult named = runCli({"verify", "rom.bin", "crossed.bin", "rom_k.bin"}, dir.path());
        QCOMPARE(named.exitCode, 1);
        QVERIFY2(named.out.contains("  likely: D2 and D5 swapped: matches --data-lines 0,1,5,3,4,2,6,7\n"),
                 qPrintable(named.out));
        const QStringList wired{"--data-lines", "0,1,5,3,4,2,6,7"};
        QCOMPARE(
            runCli(QStringList{"split", "--quiet", "rom.bin", "w_g", "w_k"} + wired, dir.path()).exitCode, 0);
        QCOMPARE(readBytes(dir.filePath("w_g")), crossed);
        QCOMPARE(
            runCli(QStringList{"verify", "-q", "rom.bin", "crossed.bin", "w_k"} + wired, dir.path()).exitCode,
            0);
        QCOMPARE(
            runCli(QStringList{"identify", "rom.bin", "crossed.bin"} + wired, dir.path()).out,
            QStringLiteral("crossed.bin: way 0 of --ways 2 --width 1 --data-lines 0,1,5,3,4,2,6,7: exact\n"));

        // A 32K chip read with A13 and A14 crossed holds its quarters in
        // another order: the option named puts them there.
        const QByteArray plain = readBytes(dir.filePath("rom_k.bin"));
        const QByteArray quarter = plain.left(8 * 1024);
        const QByteArray moved =
            quarter + plain.mid(16 * 1024, 8 * 1024) + plain.mid(8 * 1024, 8 * 1024) + plain.mid(24 * 1024);
        writeBytes(dir.filePath("moved.bin"), moved);
        const QString lines = "0,1,2,3,4,5,6,7,8,9,10,11,12,14,13";
        QVERIFY2(runCli({"verify", "rom.bin", "rom_g.bin", "moved.bin"}, dir.path())
                     .out.contains("  likely: A13 and A14 swapped: matches --address-lines " + lines + "\n"),
                 qPrintable(runCli({"verify", "rom.bin", "rom_g.bin", "moved.bin"}, dir.path()).out));
        QCOMPARE(
            runCli({"split", "-q", "--address-lines", lines, "rom.bin", "a_g", "a_k"}, dir.path()).exitCode,
            0);
        QCOMPARE(readBytes(dir.filePath("a_k")), moved);
        QCOMPARE(runCli({"join", "-q", "--address-lines", lines, "a_g", "a_k", "back"}, dir.path()).exitCode,
                 0);
        QCOMPARE(readBytes(dir.filePath("back")), readBytes(dir.filePath("rom.bin")));
    }

    // A 16-bit chip holding the whole image, byte-swapped for its
    // programmer: one output, its width from the chip.
    void oneSixteenBitChipHoldsTheImage()
    {
        QTemporaryDir dir;
        const QByteArray image = patternBytes(512 * 1024, 9);
        writeBytes(dir.filePath("rom.bin"), image);
        const QStringList one{"--ways", "1", "--chip", "27C400", "--swap"};
        QCOMPARE(runCli(QStringList{"split", "-q", "rom.bin"} + one, dir.path()).exitCode, 0);
        QByteArray swapped = image;
        for (qsizetype at = 0; at < swapped.size(); at += 2)
            std::swap(swapped[at], swapped[at + 1]);
        QCOMPARE(readBytes(dir.filePath("rom_0.bin")), swapped);
        QCOMPARE(runCli(QStringList{"verify", "-q", "rom.bin", "rom_0.bin"} + one, dir.path()).exitCode, 0);
        QCOMPARE(
            runCli({"join", "-q", "--ways", "1", "--width", "2", "--swap", "rom_0.bin", "back"}, dir.path())
                .exitCode,
            0);
        QCOMPARE(readBytes(dir.filePath("back")), image);
        QCOMPARE(runCli({"identify", "rom.bin", "rom_0.bin"}, dir.path()).out,
                 QStringLiteral("rom_0.bin: way 0 of --ways 1 --width 2 --swap: exact\n"));
    }

    // Among thousands of chips a split could have put a dump on, only those
    // sharing a run of its bytes are searched: a worn, shifted or swapped
    // one is still placed, and a dump of something else is said to be none.
    void identifyAmongManyChips_data()
    {
        QTest::addColumn<QStringList>("split");
        QTest::addColumn<QString>("part");
        QTest::addColumn<int>("change"); // 0 none, 1 D3 stuck at 0, 2 read 3 bytes on, 3 another file
        QTest::addColumn<QString>("expected");
        const QStringList pairs{"--size", "1K", "--banks"};
        QTest::newRow("stuck line") << pairs << "rom_g_05.bin" << 1
                                    << ": way 0 of --ways 2 --width 1, bank 5 of 1K: [0-9]+ bytes differ\n"
                                       "  likely: D3 stuck at 0\n";
        QTest::newRow("read 3 bytes on")
            << pairs << "rom_k_07.bin" << 2
            << ": way 1 of --ways 2 --width 1, bank 7 of 1K: [0-9]+ bytes differ\n  likely: shifted by -3\n";
        QTest::newRow("swapped words")
            << pairs + QStringList{"--ways", "4", "--width", "2", "--swap"} << "rom_2_03.bin" << 0
            << ": way 2 of --ways 4 --width 2 --swap, bank 3 of 1K: exact\n";
        QTest::newRow("wide words") << pairs + QStringList{"--width", "4"} << "rom_k_06.bin" << 0
                                    << ": way 1 of --ways 2 --width 4, bank 6 of 1K: exact\n";
        QTest::newRow("something else")
            << pairs << "rom_g_00.bin" << 3
            << ": no part: it shares no run of 12 bytes with any part of a split of the image\n";
    }

    void identifyAmongManyChips()
    {
        QFETCH(QStringList, split);
        QFETCH(QString, part);
        QFETCH(int, change);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), patternBytes(64 * 1024, 21));
        QCOMPARE(runCli(QStringList{"split", "--quiet", "rom.bin"} + split, dir.path()).exitCode, 0);
        QByteArray dump = readBytes(dir.filePath(part));
        if (change == 1) {
            for (char &byte : dump)
                byte = char(byte & ~8);
        } else if (change == 2) {
            dump = dump.mid(3) + QByteArray(3, '\xff');
        } else if (change == 3) {
            dump = patternBytes(dump.size(), 22);
        }
        writeBytes(dir.filePath("dump"), dump);
        const CliResult identified = runCli({"identify", "rom.bin", "dump"}, dir.path());
        QVERIFY2(QRegularExpression("^dump" + expected + "$").match(identified.out).hasMatch(),
                 qPrintable(identified.out));
        QCOMPARE(identified.exitCode, change == 0 ? 0 : 1);
    }

    // Names as URL-decoded downloads have them: a placeholder in a name must
    // come out as typed in every line that prints one.
    void namesHoldingPlaceholdersArePrintedAsTyped_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("printed");
        QTest::newRow("report") << QStringList{"split", "g%2Bfix.bin", "a%1.bin", "b%2x.bin"}
                                << QStringList{"a%1.bin", "b%2x.bin"};
        QTest::newRow("verify, the same") << QStringList{"verify", "g%2Bfix.bin", "p%1.bin", "p%2.bin"}
                                          << QStringList{"p%1.bin: ", "p%2.bin: "};
        QTest::newRow("verify, differing") << QStringList{"verify", "g%2Bfix.bin", "p%1.bin", "short%1.bin"}
                                           << QStringList{"short%1.bin: 1 bytes"};
        QTest::newRow("error") << QStringList{"split", "no%1%2.bin"} << QStringList{"('no%1%2.bin')"};
        QTest::newRow("usage, command") << QStringList{"sp%1lit"} << QStringList{"'sp%1lit'"};
        QTest::newRow("usage, option value")
            << QStringList{"split", "--size", "x%1", "g%2Bfix.bin"} << QStringList{"'x%1'"};
    }

    void namesHoldingPlaceholdersArePrintedAsTyped()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, printed);
        QTemporaryDir dir;
        writeBytes(dir.filePath("g%2Bfix.bin"), patternBytes(100, 5));
        QCOMPARE(runCli({"split", "--quiet", "g%2Bfix.bin", "p%1.bin", "p%2.bin"}, dir.path()).exitCode, 0);
        writeBytes(dir.filePath("short%1.bin"), "x");
        const CliResult result = runCli(arguments, dir.path());
        for (const QString &name : printed)
            QVERIFY2((result.out + result.err).contains(name), qPrintable(result.out + result.err));
    }

    void controlCharactersInANameAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("refused");
        QTest::newRow("newline pasted at the end") << QStringLiteral("e.bin\n") << true;
        QTest::newRow("tab") << QStringLiteral("e\t.bin") << true;
        QTest::newRow("delete") << QStringLiteral("e\x7f.bin") << true;
        QTest::newRow("C1 next line") << QStringLiteral("e\u0085.bin") << true;
        QTest::newRow("blanks are a name") << QStringLiteral("  ") << false;
    }

    void controlCharactersInANameAreRefused()
    {
        QFETCH(QString, name);
        QFETCH(bool, refused);
#ifdef Q_OS_WIN
        if (!refused)
            QSKIP("Windows drops trailing blanks from names: a name of blanks names nothing there");
#endif
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), "abcdef");
        const auto before = snapshot(dir.path());
        const CliResult result = runCli({"split", "rom.bin", name, "o.bin"}, dir.path());
        QCOMPARE(result.exitCode, refused ? 1 : 0);
        if (!refused)
            return;
        QVERIFY2(result.err.startsWith(QStringLiteral("tamrivel-cli: error 7: ")), qPrintable(result.err));
        QCOMPARE(result.err.count('\n'), 1); // the name cannot break the line
        QCOMPARE(snapshot(dir.path()), before);
    }

    // What the companion prints reads right in the character set of the
    // reader's locale, and a name given as bytes in that set is used and
    // printed as exactly those bytes.
    void companionWritesInTheReadersCharset_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("line"); // for sh, "$0" the companion, "$n" 東天 in EUC-JP
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("printed");
        const QByteArray error = "tamrivel-cli: \xa5\xa8\xa5\xe9\xa1\xbc 2: "; // エラー
        // Its second character is also the UTF-8 of U+0177, which EUC-JP lacks.
        const QByteArray name = "\xc5\xec\xc5\xb7";
        QTest::newRow("Japanese in EUC-JP") << "ja_JP.eucJP"
                                            << R"("$0" verify missing.bin a b)" << 2 << error;
        QTest::newRow("a Japanese name in ASCII")
            << "C" << QStringLiteral(R"("$0" verify ロム.bin a b)") << 2 << QByteArray("('??.bin')");
        QTest::newRow("an EUC-JP name written as its bytes")
            << "ja_JP.eucJP"
            << R"("$0" split rom.bin "$n.e" o && [ -s "$n.e" ])" << 0 << name + ".e";
        QTest::newRow("an EUC-JP name in an error")
            << "ja_JP.eucJP"
            << R"("$0" verify "$n" a b)" << 2 << "\xa1\xd6" + name + "\xa1\xd7"; // 「」
    }

    void companionWritesInTheReadersCharset()
    {
#ifdef Q_OS_WIN
        QSKIP("POSIX locales; the code page is checked on its own");
#else
        QFETCH(QString, locale);
        QFETCH(QString, line);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, printed);
        // Made here, as few machines have these locales installed.
        static QTemporaryDir locales;
        const QString made = locales.filePath(QStringLiteral("ja_JP.eucJP"));
        if (!QFileInfo::exists(made + "/LC_CTYPE"))
            QProcess::execute(QStringLiteral("localedef"), {"-i", "ja_JP", "-f", "EUC-JP", made});
        QVERIFY2(QFileInfo::exists(made + "/LC_CTYPE"), "localedef needs the package 'locales'");
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), patternBytes(100, 7));
        QProcess shell;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LOCPATH"), locales.path());
        environment.insert(QStringLiteral("LC_ALL"), locale);
        shell.setProcessEnvironment(environment);
        shell.setWorkingDirectory(dir.path());
        shell.setProcessChannelMode(QProcess::MergedChannels);
        // The files go with the shell: QTemporaryDir cannot name those that are not UTF-8.
        const QString removed = QStringLiteral("; status=$?; rm -f -- ./*; exit $status");
        shell.start(QStringLiteral("/bin/sh"),
                    {"-c", R"(n=$(printf '\305\354\305\267'); )" + line + removed,
                     QStringLiteral(TAMRIVEL_CLI_PATH)});
        QVERIFY(shell.waitForFinished(60000));
        const QByteArray output = shell.readAll();
        QCOMPARE(shell.exitCode(), exitCode);
        QVERIFY2(output.contains(printed), output.constData());
        QVERIFY2(readsAsText(output, locale == "C" ? "ASCII" : "EUC-JP"), output.constData());
#endif
    }

    // Redirected on Windows, text is in the code page of the console the
    // companion runs in, as that console's own tools write it.
    void companionWritesRedirectedTextInTheConsoleCodePage_data()
    {
        QTest::addColumn<uint>("codePage");
        QTest::addColumn<QByteArray>("printed");
        QTest::newRow("Shift_JIS") << 932u << QByteArray("('\x83\x8d\x83\x80.bin')");
        QTest::newRow("UTF-8") << 65001u << QByteArray("('\xe3\x83\xad\xe3\x83\xa0.bin')");
        QTest::newRow("without Japanese") << 437u << QByteArray("('??.bin')");
    }

    void companionWritesRedirectedTextInTheConsoleCodePage()
    {
#ifndef Q_OS_WIN
        QSKIP("Windows code pages");
#else
        QFETCH(uint, codePage);
        QFETCH(QByteArray, printed);
        // The console's own command sets its code page: cmd, started by
        // QProcess in a console without a window when this test has none.
        // On the drive of this test's folder, not of cmd's.
        const QString companion = QFileInfo(QStringLiteral(TAMRIVEL_CLI_PATH)).absoluteFilePath();
        QTemporaryDir dir;
        QProcess shell;
        shell.setWorkingDirectory(dir.path());
        shell.setProgram(QStringLiteral("cmd.exe"));
        shell.setNativeArguments(
            QStringLiteral(R"(/s /c "chcp %1 >nul & "%2" verify ロム.bin a b 2>err.txt")")
                .arg(codePage)
                .arg(QDir::toNativeSeparators(companion)));
        shell.start();
        QVERIFY(shell.waitForFinished(120000));
        QCOMPARE(shell.exitCode(), 2);
        const QByteArray written = readBytes(dir.filePath("err.txt"));
        QVERIFY2(written.contains(printed), written.toHex(' ').constData());
#endif
    }

    // IMAGE is '-' in one run and a file in the other: split's source, join's output.
    void standardStreamsStandInForFiles_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("size");
        QTest::newRow("split a pair") << QStringList{"split", "IMAGE", "a", "b"} << 70001;
        QTest::newRow("split nothing") << QStringList{"split", "IMAGE", "a", "b"} << 0;
        QTest::newRow("split four ways of 16 bits")
            << QStringList{"split", "IMAGE", "a", "b", "c", "d", "--width", "2", "--swap"} << 70001;
        // Needs the size first, which a pipe tells only at its end.
        QTest::newRow("split to S-record chips in banks")
            << QStringList{"split", "IMAGE",  "a0",  "a1",      "a2",       "b0",  "b1",
                           "b2",    "--size", "16K", "--banks", "--format", "srec"}
            << 70001;
        QTest::newRow("join raw parts") << QStringList{"join", "lo.bin", "hi.bin", "IMAGE"} << 70001;
        QTest::newRow("join Intel HEX chips")
            << QStringList{"join", "lo.hex", "hi.hex", "IMAGE", "--length", "70001"} << 70001;
    }

    void standardStreamsStandInForFiles()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, size);
        const QByteArray image = patternBytes(size, 6);
        const bool joining = arguments.first() == "join";
        QTemporaryDir named, streamed, temporary;
        for (const QTemporaryDir *dir : {&named, &streamed}) {
            if (!joining) {
                writeBytes(dir->filePath("image.bin"), image);
                continue;
            }
            writeBytes(dir->filePath("source"), image);
            splitFiles(dir->filePath("source"), {dir->filePath("lo.bin"), dir->filePath("hi.bin")},
                       DealShape{});
            splitFiles(dir->filePath("source"), {dir->filePath("lo.hex"), dir->filePath("hi.hex")},
                       DealShape{}, {}, ChipFit{64 * 1024, false, 0xFF, RecordFormat::IntelHex});
        }
        const CliResult byName =
            runCli(QStringList(arguments).replaceInStrings("IMAGE", "image.bin"), named.path());
        QCOMPARE(byName.exitCode, 0);
        const TemporaryFolderForChildren children(temporary.path());
        const CliResult byStream = runCli(arguments.replaceInStrings("IMAGE", "-"), streamed.path(), {},
                                          joining ? QByteArray() : image);
        QVERIFY2(byStream.exitCode == 0, qPrintable(byStream.err));
        QMap<QString, QByteArray> written = snapshot(named.path());
        if (joining) {
            QCOMPARE(byStream.outBytes, written.take("image.bin"));
            // The report, on standard error, away from the image.
            QCOMPARE(byStream.err.simplified(),
                     byName.out.simplified().replace("image.bin", "standard output"));
        } else {
            QCOMPARE(byStream.out, byName.out);
            QCOMPARE(byStream.err, QString());
        }
        QCOMPARE(snapshot(streamed.path()), written);
        QVERIFY(QDir(temporary.path()).isEmpty());
    }

    void binaryImageRefusedATerminal()
    {
#ifndef Q_OS_UNIX
        QSKIP("a terminal is made here only as a POSIX pseudo-terminal");
#else
        QTemporaryDir dir;
        writeBytes(dir.filePath("lo"), "ace");
        writeBytes(dir.filePath("hi"), "bdf");
        const CliResult result = runCli({"join", "lo", "hi", "-"}, dir.path(), [] {
            const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
            if (terminal < 0 || ::grantpt(terminal) != 0 || ::unlockpt(terminal) != 0)
                ::_exit(99);
            const int screen = ::open(::ptsname(terminal), O_RDWR | O_NOCTTY);
            if (screen < 0 || ::dup2(screen, STDOUT_FILENO) < 0)
                ::_exit(99);
        });
        QCOMPARE(result.exitCode, 2);
        QVERIFY2(result.err.contains("a terminal would garble"), qPrintable(result.err));
#endif
    }

    // A pipe whose reader has gone, as a program that stopped reading leaves it.
    void imageToAStandardOutputThatFailsFails()
    {
#ifndef Q_OS_WIN
        QSKIP("test_faults' shell lines give POSIX a full, closed or abandoned standard output");
#else
        QTemporaryDir dir;
        writeBytes(dir.filePath("lo"), patternBytes(300000, 1));
        writeBytes(dir.filePath("hi"), patternBytes(300000, 2));
        SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE reader = nullptr, writer = nullptr;
        QVERIFY(::CreatePipe(&reader, &writer, &inherited, 0));
        ::CloseHandle(reader);
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.setCreateProcessArgumentsModifier([writer](QProcess::CreateProcessArguments *arguments) {
            arguments->startupInfo->hStdOutput = writer;
        });
        QVERIFY(startCli(process, {"join", "lo", "hi", "-"}));
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(120000));
        ::CloseHandle(writer);
        QCOMPARE(process.exitCode(), 1);
        const QString said = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(said.startsWith(QStringLiteral("tamrivel-cli: error 6: ")), qPrintable(said));
        QCOMPARE(said.count(u'\n'), 1); // no report of an image that did not arrive
#endif
    }

    void quietPrintsNothing()
    {
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), patternBytes(1024 * 1024, 3));
        const CliResult result = runCli({"split", "--quiet", "rom.bin"}, dir.path());
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QString());
        QCOMPARE(result.err, QString());
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
