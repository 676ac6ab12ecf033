#include "reference_deal.h"
#include "runtime/runtime_error.h"
#include "split/split_files.h"
#include "split/stream/stream_deal.h"
#include "temp_files.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tamrivel;
using namespace tamrivel::testing;

namespace {

QStringList partPaths(const QTemporaryDir &dir, int ways)
{
    QStringList paths;
    for (int way = 0; way < ways; ++way)
        paths.append(dir.filePath(QStringLiteral("part%1").arg(way)));
    return paths;
}

} // namespace

class TestDealFiles : public QObject {
    Q_OBJECT

private slots:
    void splitThenJoinRoundTrips_data()
    {
        QTest::addColumn<int>("ways");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("swap");
        QTest::addColumn<int>("length");
        for (int ways : {2, 3, 4, 8}) {
            for (int width : {1, 2, 4}) {
                for (bool swap : {false, true}) {
                    if (swap && width == 1)
                        continue;
                    const DealShape shape{ways, width, swap};
                    const int round = ways * width;
                    const int block = int(blockBytes(shape));
                    for (int length : {0, 1, round - 1, round, round + 1, block - 1, block + round + 1}) {
                        QTest::addRow("%dx%d%s len %d", ways, width, swap ? " swap" : "", length)
                            << ways << width << swap << length;
                    }
                }
            }
        }
    }

    void splitThenJoinRoundTrips()
    {
        QFETCH(int, ways);
        QFETCH(int, width);
        QFETCH(bool, swap);
        QFETCH(int, length);
        QTemporaryDir dir;
        const DealShape shape{ways, width, swap};
        const QByteArray source = patternBytes(length, quint32(ways * 100 + width + length));
        writeBytes(dir.filePath("rom"), source);
        const QStringList parts = partPaths(dir, ways);

        splitFiles(dir.filePath("rom"), parts, shape);
        const QList<QByteArray> expected = referenceDeal(source, ways, width, swap);
        for (int way = 0; way < ways; ++way)
            QCOMPARE(readBytes(parts[way]), expected[way]);

        joinFiles(parts, dir.filePath("joined"), shape);
        QCOMPARE(readBytes(dir.filePath("joined")), source);
    }

    void watchersSeeEveryByte()
    {
        QTemporaryDir dir;
        const QByteArray source = patternBytes(3 * 1024 * 1024 + 5, 1);
        writeBytes(dir.filePath("rom"), source);
        QList<QByteArray> seen(3);
        qint64 lastDone = -1, lastTotal = -1;
        const Watchers watchers{
            [&](qint64 done, qint64 total) { lastDone = done, lastTotal = total; },
            [&](int index, const char *data, qsizetype length) { seen[index].append(data, length); }};
        splitFiles(dir.filePath("rom"), partPaths(dir, 3), DealShape{3, 1, false}, watchers);
        QCOMPARE(seen, referenceDeal(source, 3, 1, false));
        QCOMPARE(lastDone, source.size());
        QCOMPARE(lastTotal, source.size());
    }

    void joinRefusesMisfitParts_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QList<int>>("sizes");
        QTest::addColumn<int>("misfit"); // the first part that cannot be right
        QTest::newRow("second part longer") << 1 << QList<int>{4, 5} << 0;
        QTest::newRow("first part two longer") << 1 << QList<int>{6, 4} << 0;
        QTest::newRow("middle part missing its share") << 1 << QList<int>{3, 2, 3} << 1;
        QTest::newRow("short unit not last") << 2 << QList<int>{2, 3} << 0;
        QTest::newRow("tail split inside a unit") << 4 << QList<int>{5, 1} << 0;
        QTest::newRow("empty first part") << 1 << QList<int>{0, 1} << 0;
    }

    void joinRefusesMisfitParts()
    {
        QFETCH(int, width);
        QFETCH(QList<int>, sizes);
        QFETCH(int, misfit);
        QTemporaryDir dir;
        const QStringList parts = partPaths(dir, int(sizes.size()));
        for (int way = 0; way < sizes.size(); ++way)
            writeBytes(parts[way], QByteArray(sizes[way], 'p'));
        writeBytes(dir.filePath("joined"), "keep me");
        const auto before = snapshot(dir.path());
        try {
            joinFiles(parts, dir.filePath("joined"), DealShape{int(sizes.size()), width, false});
            QFAIL("misfit parts must be refused");
        } catch (const RuntimeError &error) {
            QCOMPARE(error.number(), ErrorNumber::MisfitParts);
            QCOMPARE(error.path(), parts[misfit]);
            for (int size : sizes)
                QVERIFY2(error.description().contains(QString::number(size)),
                         qPrintable(error.description()));
        }
        QCOMPARE(snapshot(dir.path()), before);
    }

    void joinRefusesAPartAsItsOutput()
    {
        QTemporaryDir dir;
        const QStringList parts = partPaths(dir, 2);
        writeBytes(parts[0], "ac");
        writeBytes(parts[1], "bd");
        QDir(dir.path()).mkdir("sub");
        try {
            joinFiles(parts, dir.filePath("sub/../part1"), DealShape{});
            QFAIL("a part named as the output must be refused");
        } catch (const RuntimeError &error) {
            QCOMPARE(error.number(), ErrorNumber::SameFile);
        }
        QCOMPARE(readBytes(parts[1]), QByteArray("bd"));
    }
};

QTEST_GUILESS_MAIN(TestDealFiles)
#include "test_deal_files.moc"
