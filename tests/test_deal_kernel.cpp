#include "reference_deal.h"
#include "split/kernels/deal_kernel.h"
#include "split/stream/stream_deal.h"

#include <QTest>

#include <stdexcept>
#include <vector>

using namespace tamrivel;
using namespace tamrivel::testing;

namespace {

// Deals and gathers `length` bytes with the scalar code and with `vectors`,
// source and parts each starting `length % 32` bytes past an alignment.
bool sameAsScalar(const DealShape &shape, const QByteArray &source, int length, const VectorKernels *vectors)
{
    const int skew = length % 32;
    const auto *from = reinterpret_cast<const uchar *>(source.constData()) + skew;
    std::vector<QByteArray> scalar(size_t(shape.ways), QByteArray(length + 33, '\xEE'));
    std::vector<QByteArray> vector = scalar;
    std::vector<uchar *> scalarParts, vectorParts;
    for (int way = 0; way < shape.ways; ++way) {
        scalarParts.push_back(reinterpret_cast<uchar *>(scalar[size_t(way)].data()) + skew);
        vectorParts.push_back(reinterpret_cast<uchar *>(vector[size_t(way)].data()) + skew);
    }
    std::vector<qsizetype> lengths(size_t(shape.ways));
    dealBlock(shape, from, length, scalarParts.data(), lengths.data(), nullptr);
    dealBlock(shape, from, length, vectorParts.data(), lengths.data(), vectors);
    QByteArray joined(length + 33, '\xEE');
    gatherBlock(shape, vectorParts.data(), lengths.data(), reinterpret_cast<uchar *>(joined.data()) + skew,
                vectors);
    return scalar == vector && joined.mid(skew, length) == source.mid(skew, length) &&
        joined.at(skew + length) == '\xEE';
}

} // namespace

class TestDealKernel : public QObject {
    Q_OBJECT

private slots:
    void dealAndGatherMatchTheReference_data()
    {
        QTest::addColumn<int>("ways");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("swap");
        QTest::addColumn<int>("length");
        const struct {
            int ways, width;
            bool swap;
        } shapes[] = {{2, 1, false}, {2, 2, false}, {2, 2, true},  {3, 1, false},
                      {4, 4, true},  {8, 2, false}, {16, 8, true}, {5, 8, false}};
        for (const auto &shape : shapes) {
            const int round = shape.ways * shape.width;
            // Around the empty case, a round and the kernel's 32-byte vector step.
            for (int length : {0, 1, 2, round - 1, round, round + 1, 31, 32, 33, 63, 64, 65, 1000, 4099}) {
                if (length < 0)
                    continue;
                QTest::addRow("%dx%d%s len %d", shape.ways, shape.width, shape.swap ? " swap" : "", length)
                    << shape.ways << shape.width << shape.swap << length;
            }
        }
    }

    void dealAndGatherMatchTheReference()
    {
        QFETCH(int, ways);
        QFETCH(int, width);
        QFETCH(bool, swap);
        QFETCH(int, length);
        const DealShape shape{ways, width, swap};
        const QByteArray source = patternBytes(length, quint32(length + ways * 31 + width));
        const QList<QByteArray> expected = referenceDeal(source, ways, width, swap);

        std::vector<QByteArray> parts(size_t(ways), QByteArray(length + 1, '\xEE'));
        std::vector<uchar *> pointers;
        for (auto &part : parts)
            pointers.push_back(reinterpret_cast<uchar *>(part.data()));
        std::vector<qsizetype> lengths(static_cast<size_t>(ways));
        dealBlock(shape, reinterpret_cast<const uchar *>(source.constData()), length, pointers.data(),
                  lengths.data());
        for (int way = 0; way < ways; ++way) {
            QCOMPARE(lengths[size_t(way)], expected[way].size());
            QCOMPARE(shape.partSize(length, way), expected[way].size());
            QCOMPARE(parts[size_t(way)].left(lengths[size_t(way)]), expected[way]);
            // Nothing written past a part's share.
            QCOMPARE(parts[size_t(way)].at(lengths[size_t(way)]), '\xEE');
        }

        QByteArray joined(length + 1, '\xEE');
        gatherBlock(shape, pointers.data(), lengths.data(), reinterpret_cast<uchar *>(joined.data()));
        QCOMPARE(joined.left(length), source);
        QCOMPARE(joined.at(length), '\xEE');
    }

    // Every shape, every length up to two of the widest vector steps and a
    // round beyond, each at another alignment of source and parts. The set
    // is the one this run is pinned to (TAMRIVEL_KERNELS).
    void vectorKernelsMatchTheScalarCode()
    {
        const VectorKernels *vectors = fastestVectorKernels();
        if (!vectors)
            QSKIP("the scalar code is the reference itself");
        for (const DealShape &shape : DealShape::every()) {
            const int longest = 2 * 32 * shape.ways + int(shape.roundBytes()) + 1;
            const QByteArray source = patternBytes(longest + 32, quint32(shape.ways * 8 + shape.width));
            for (int length = 0; length <= longest; ++length)
                QVERIFY2(sameAsScalar(shape, source, length, vectors),
                         qPrintable(QStringLiteral("%1x%2%3 length %4")
                                        .arg(shape.ways)
                                        .arg(shape.width)
                                        .arg(shape.swap ? " swap" : "")
                                        .arg(length)));
        }
    }

    // A width no kernel is built for must never fall through to another's.
    void otherWidthsAreRefused()
    {
        const uchar source[6] = {};
        uchar first[3], second[3];
        uchar *parts[] = {first, second};
        qsizetype lengths[2];
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 dealBlock(DealShape{2, 3, false}, source, 6, parts, lengths, nullptr));
    }

    void blockByBlockIsOneDeal_data()
    {
        QTest::addColumn<int>("ways");
        QTest::addColumn<int>("width");
        for (int ways : {2, 3, 7, 16})
            for (int width : {1, 2, 4, 8})
                QTest::addRow("%dx%d", ways, width) << ways << width;
    }

    // The stream deals block by block: that must be the one deal of the
    // whole, so every block has to end on a round.
    void blockByBlockIsOneDeal()
    {
        QFETCH(int, ways);
        QFETCH(int, width);
        const DealShape shape{ways, width, width > 1};
        const qsizetype block = blockBytes(shape);
        const QByteArray source = patternBytes(2 * block + block / 2 + 1, quint32(ways * 8 + width));
        std::vector<QByteArray> parts(static_cast<size_t>(ways));
        std::vector<QByteArray> pieces(size_t(ways), QByteArray(block, Qt::Uninitialized));
        std::vector<uchar *> pointers;
        for (QByteArray &piece : pieces)
            pointers.push_back(reinterpret_cast<uchar *>(piece.data()));
        std::vector<qsizetype> lengths(static_cast<size_t>(ways));
        for (qsizetype at = 0; at < source.size(); at += block) {
            const qsizetype length = std::min(block, source.size() - at);
            dealBlock(shape, reinterpret_cast<const uchar *>(source.constData()) + at, length,
                      pointers.data(), lengths.data());
            for (size_t way = 0; way < parts.size(); ++way)
                parts[way] += pieces[way].left(lengths[way]);
        }
        const QList<QByteArray> expected = referenceDeal(source, ways, width, shape.swap);
        for (int way = 0; way < ways; ++way)
            QCOMPARE(parts[size_t(way)], expected[way]);
    }

    void shapeProblems_data()
    {
        QTest::addColumn<int>("ways");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("swap");
        QTest::addColumn<bool>("usable");
        QTest::newRow("window's split") << 2 << 1 << false << true;
        QTest::newRow("sixteen ways") << 16 << 8 << true << true;
        QTest::newRow("one 16-bit chip, byte-swapped") << 1 << 2 << true << true;
        QTest::newRow("no ways") << 0 << 1 << false << false;
        QTest::newRow("seventeen ways") << 17 << 1 << false << false;
        QTest::newRow("width three") << 2 << 3 << false << false;
        QTest::newRow("swap of single bytes") << 2 << 1 << true << false;
    }

    void shapeProblems()
    {
        QFETCH(int, ways);
        QFETCH(int, width);
        QFETCH(bool, swap);
        QFETCH(bool, usable);
        QCOMPARE(DealShape({ways, width, swap}).problem().isEmpty(), usable);
    }
};

QTEST_GUILESS_MAIN(TestDealKernel)
#include "test_deal_kernel.moc"
