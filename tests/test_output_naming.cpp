#include "runtime/runtime_error.h"
#include "split/output_naming.h"

#include <QTest>

using namespace tamrivel;

class TestOutputNaming : public QObject {
    Q_OBJECT

private slots:
    void proposesBothOutputs_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("even");
        QTest::addColumn<QString>("odd");
        QTest::newRow("rom.bin") << "C:\\work\\rom.bin"
                                 << "C:\\work\\rom_g.bin"
                                 << "C:\\work\\rom_k.bin";
        QTest::newRow("the dot stays") << "C:\\work\\image.jpeg"
                                       << "C:\\work\\image._g.bin"
                                       << "C:\\work\\image._k.bin";
        QTest::newRow("no extension") << "C:\\work\\README"
                                      << "C:\\work\\RE_g.bin"
                                      << "C:\\work\\RE_k.bin";
        QTest::newRow("four units, empty base") << "a.bi"
                                                << "_g.bin"
                                                << "_k.bin";
        QTest::newRow("units, not bytes") << "C:\\データ\\ロム.bin"
                                          << "C:\\データ\\ロム_g.bin"
                                          << "C:\\データ\\ロム_k.bin";
        QTest::newRow("unix path") << "/home/me/kick.rom"
                                   << "/home/me/kick_g.bin"
                                   << "/home/me/kick_k.bin";
        // U+1F4BE takes two units; a cut between them drops the dangling half.
        QTest::newRow("cut inside a non-BMP character")
            << QString("/rom\U0001F4BE.bin").left(5) + QString("\U0001F4BE").right(1) + "abc"
            << "/rom_g.bin"
            << "/rom_k.bin";
        QTest::newRow("cut after a non-BMP character")
            << QString("/rom\U0001F4BE.bin") << QString("/rom\U0001F4BE_g.bin")
            << QString("/rom\U0001F4BE_k.bin");
    }

    void proposesBothOutputs()
    {
        QFETCH(QString, source);
        QFETCH(QString, even);
        QFETCH(QString, odd);
        QCOMPARE(proposedPartNames(source, 2), QStringList({even, odd}));
        QVERIFY(QStringView(even).isValidUtf16());
    }

    void namesMoreWaysAndBanksByTheSameCut_data()
    {
        QTest::addColumn<int>("ways");
        QTest::addColumn<int>("banks");
        QTest::addColumn<int>("format");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("three ways") << 3 << 0 << int(RecordFormat::Binary)
                                    << QStringList{"/w/rom_0.bin", "/w/rom_1.bin", "/w/rom_2.bin"};
        QTest::newRow("a pair in two banks, way by way")
            << 2 << 2 << int(RecordFormat::IntelHex)
            << QStringList{"/w/rom_g_0.hex", "/w/rom_g_1.hex", "/w/rom_k_0.hex", "/w/rom_k_1.hex"};
        QStringList eleven;
        for (const char *lane : {"_g", "_k"}) {
            for (int bank = 0; bank < 11; ++bank)
                eleven << QStringLiteral("/w/rom%1_%2.bin").arg(lane).arg(bank, 2, 10, QLatin1Char('0'));
        }
        QTest::newRow("eleven banks, sorting as numbers") << 2 << 11 << int(RecordFormat::Binary) << eleven;
        QTest::newRow("S-records") << 2 << 0 << int(RecordFormat::SRecord)
                                   << QStringList{"/w/rom_g.srec", "/w/rom_k.srec"};
    }

    void namesMoreWaysAndBanksByTheSameCut()
    {
        QFETCH(int, ways);
        QFETCH(int, banks);
        QFETCH(int, format);
        QFETCH(QStringList, names);
        QCOMPARE(proposedPartNames("/w/rom.bin", ways, banks, RecordFormat(format)), names);
    }

    void shorterThanFourUnitsIsAnError_data()
    {
        QTest::addColumn<QString>("source");
        QTest::newRow("three") << "a.b";
        QTest::newRow("empty") << "";
    }

    void shorterThanFourUnitsIsAnError()
    {
        QFETCH(QString, source);
        try {
            proposedPartNames(source, 2);
            QFAIL("a name shorter than four units has no base");
        } catch (const RuntimeError &error) {
            QCOMPARE(error.number(), ErrorNumber::InvalidArgument);
        }
    }
};

QTEST_GUILESS_MAIN(TestOutputNaming)
#include "test_output_naming.moc"
