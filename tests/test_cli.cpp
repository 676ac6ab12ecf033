#include "cli_runner.h"
#include "reference_deal.h"
#include "split/split_files.h"
#include "temp_files.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tamrivel;
using namespace tamrivel::testing;

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
        QCOMPARE(lines[1].simplified(), QStringLiteral("even 9 cbf43926 000001dd"));
        // Nine dashes; the figure is Python's zlib.crc32(b"-" * 9).
        QCOMPARE(lines[2].simplified(), QStringLiteral("odd 9 dcf50716 00000195"));
    }

    void badUsageExitsTwo_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("nothing") << QStringList();
        QTest::newRow("unknown command") << QStringList{"shuffle", "rom.bin"};
        QTest::newRow("unknown option") << QStringList{"split", "--bogus", "rom.bin"};
        QTest::newRow("split without source") << QStringList{"split"};
        QTest::newRow("one way") << QStringList{"split", "--ways", "1", "rom.bin"};
        QTest::newRow("seventeen ways") << QStringList{"split", "--ways", "17", "rom.bin"};
        QTest::newRow("width 3") << QStringList{"split", "--width", "3", "rom.bin"};
        QTest::newRow("width not a number") << QStringList{"split", "--width", "two", "rom.bin"};
        QTest::newRow("swap of single bytes") << QStringList{"split", "--swap", "rom.bin"};
        QTest::newRow("ways and outputs disagree")
            << QStringList{"split", "--ways", "3", "rom.bin", "a", "b"};
        QTest::newRow("join with one part") << QStringList{"join", "a", "out"};
    }

    void badUsageExitsTwo()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), "abcdef");
        const auto before = snapshot(dir.path());
        const CliResult result = runCli(arguments, dir.path());
        QCOMPARE(result.exitCode, 2);
        QVERIFY(result.err.startsWith("tamrivel-cli: "));
        QCOMPARE(result.out, QString());
        QCOMPARE(snapshot(dir.path()), before);
    }

    void failureExitsOneNamingTheFile_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("named");
        QTest::addColumn<int>("number");
        QTest::newRow("missing source") << QStringList{"split", "none.bin"} << "none.bin" << 2;
        QTest::newRow("output is the source")
            << QStringList{"split", "rom.bin", "x", "./rom.bin"} << "./rom.bin" << 9;
        QTest::newRow("misfit parts") << QStringList{"join", "rom.bin", "x.bin", "out"} << "rom.bin" << 10;
        QTest::newRow("name too short to propose outputs") << QStringList{"split", "abc"} << "abc" << 1;
    }

    void failureExitsOneNamingTheFile()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, named);
        QFETCH(int, number);
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), "abcdef");
        writeBytes(dir.filePath("x.bin"), "a");
        writeBytes(dir.filePath("abc"), "a");
        const auto before = snapshot(dir.path());
        const CliResult result = runCli(arguments, dir.path());
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.startsWith(QStringLiteral("tamrivel-cli: エラー %1: ").arg(number)),
                 qPrintable(result.err));
        QVERIFY2(result.err.contains(QStringLiteral("「%1」").arg(named)), qPrintable(result.err));
        QCOMPARE(result.err.count('\n'), 1);
        QCOMPARE(snapshot(dir.path()), before);
    }

    void helpAndVersion()
    {
        const CliResult version = runCli({"--version"});
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, QStringLiteral("tamrivel-cli 1.00\n"));
        const CliResult help = runCli({"--help"});
        QCOMPARE(help.exitCode, 0);
        for (const char *word : {"split", "join", "--ways", "--width", "--swap", "--quiet"})
            QVERIFY2(help.out.contains(QLatin1String(word)), word);
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
