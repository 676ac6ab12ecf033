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
        QCOMPARE(proposedOutputName(source, QString::fromLatin1(kEvenSuffix)), even);
        QCOMPARE(proposedOutputName(source, QString::fromLatin1(kOddSuffix)), odd);
        QVERIFY(QStringView(even).isValidUtf16());
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
            outputBase(source);
            QFAIL("a name shorter than four units has no base");
        } catch (const RuntimeError &error) {
            QCOMPARE(error.number(), ErrorNumber::InvalidArgument);
        }
    }
};

QTEST_GUILESS_MAIN(TestOutputNaming)
#include "test_output_naming.moc"
