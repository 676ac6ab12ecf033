#include "japanese_catalogue.h"
#include "runtime/runtime_error.h"
#include "runtime/text_units.h"

#include <QDir>
#include <QTest>

using namespace tamrivel;

class TestRuntime : public QObject {
    Q_OBJECT

private slots:
    void leftUnitsCountsUtf16Units_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ascii") << QStringLiteral("rom.bin") << 3 << QStringLiteral("rom");
        QTest::newRow("zero") << QStringLiteral("rom.bin") << 0 << QString();
        QTest::newRow("beyond the end") << QStringLiteral("ab") << 5 << QStringLiteral("ab");
        QTest::newRow("japanese, one unit a character")
            << QStringLiteral("データ.bin") << 3 << QStringLiteral("データ");
        QTest::newRow("outside the BMP takes two units")
            << QStringLiteral("\U0001F600x") << 2 << QStringLiteral("\U0001F600");
    }

    void leftUnitsCountsUtf16Units()
    {
        QFETCH(QString, text);
        QFETCH(int, count);
        QFETCH(QString, expected);
        QCOMPARE(leftUnits(text, count), expected);
    }

    void leftUnitsRefusesNegativeCount()
    {
        try {
            leftUnits(QStringLiteral("abc"), -1);
            QFAIL("a negative cut must raise");
        } catch (const RuntimeError &error) {
            QCOMPARE(error.number(), ErrorNumber::InvalidArgument);
        }
    }

    void descriptionNamesTheFile()
    {
        const RuntimeError error(ErrorNumber::FileNotFound, QStringLiteral("/work/ロム.bin"));
        QVERIFY(error.description().startsWith(RuntimeError::message(ErrorNumber::FileNotFound)));
        QVERIFY(error.description().contains(QDir::toNativeSeparators(QStringLiteral("/work/ロム.bin"))));
        QCOMPARE(QString::fromUtf8(error.what()), error.description());
        // An empty path is still shown, so the user sees which field was blank.
        QVERIFY(RuntimeError(ErrorNumber::BadFileName, QStringLiteral("")).description().contains(u"''"));
        const testing::JapaneseCatalogue japanese;
        QVERIFY(japanese.loaded());
        QVERIFY(RuntimeError(ErrorNumber::BadFileName, QStringLiteral("")).description().contains(u"「」"));
    }

    // Every number a user may be told, as the manual lists them: each has
    // a sentence of its own in each language, the same number in both.
    void everyNumberHasItsOwnTextInEachLanguage()
    {
        QStringList english;
        for (int n = 1; n <= 18; ++n)
            english << RuntimeError::message(ErrorNumber(n));
        const testing::JapaneseCatalogue japanese;
        QVERIFY(japanese.loaded());
        QSet<QString> texts;
        for (int n = 1; n <= 18; ++n) {
            const QString text = RuntimeError::message(ErrorNumber(n));
            QVERIFY2(english[n - 1].endsWith(u'.'), qPrintable(english[n - 1]));
            QVERIFY2(text.endsWith(QStringLiteral("。")), qPrintable(text));
            texts << english[n - 1] << text;
        }
        QCOMPARE(texts.size(), 2 * 18);
    }
};

QTEST_GUILESS_MAIN(TestRuntime)
#include "test_runtime.moc"
