// Files past the 2 GiB and 4 GiB marks, where a 32-bit offset would wrap.
// Takes about 9 GiB of disk and a minute: run with `make test-large`.
#include "split/split_files.h"
#include "temp_files.h"

#include <QTemporaryDir>
#include <QTest>

#include <zlib.h>

using namespace tamrivel;
using namespace tamrivel::testing;

namespace {

constexpr qint64 kGiB = qint64(1) << 30;
const qint64 kSize = 4 * kGiB + 3;

// Marker bytes at offsets around the marks, each different.
const qint64 kMarkers[] = {
    0,        1, 2 * kGiB - 2, 2 * kGiB - 1, 2 * kGiB, 2 * kGiB + 1, 4 * kGiB - 1, 4 * kGiB, 4 * kGiB + 1,
    kSize - 1};

char markerAt(int index)
{
    return char(0x41 + index);
}

char byteAt(const QString &path, qint64 offset)
{
    QFile file(path);
    char byte = 0;
    if (!file.open(QIODevice::ReadOnly) || !file.seek(offset) || !file.getChar(&byte))
        return '?';
    return byte;
}

quint32 crcOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    uLong crc = crc32_z(0, nullptr, 0);
    QByteArray chunk;
    while (!(chunk = file.read(8 << 20)).isEmpty())
        crc = crc32_z(crc, reinterpret_cast<const Bytef *>(chunk.constData()), size_t(chunk.size()));
    return quint32(crc);
}

} // namespace

class TestLargeFiles : public QObject {
    Q_OBJECT

private slots:
    void splitAndJoinPastFourGiB()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath("big.bin");
        {
            QFile file(source);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(kSize));
            for (int i = 0; i < int(std::size(kMarkers)); ++i) {
                QVERIFY(file.seek(kMarkers[i]));
                QVERIFY(file.putChar(markerAt(i)));
            }
        }
        const QString even = dir.filePath("big_g.bin"), odd = dir.filePath("big_k.bin");
        splitFile(source, even, odd);
        QCOMPARE(QFileInfo(even).size(), (kSize + 1) / 2);
        QCOMPARE(QFileInfo(odd).size(), kSize / 2);
        for (int i = 0; i < int(std::size(kMarkers)); ++i) {
            const qint64 offset = kMarkers[i];
            QCOMPARE(byteAt(offset % 2 ? odd : even, offset / 2), markerAt(i));
        }
        QCOMPARE(byteAt(even, 3 * kGiB / 2), '\0');

        const QString joined = dir.filePath("joined.bin");
        joinFiles({even, odd}, joined, DealShape{});
        QCOMPARE(QFileInfo(joined).size(), kSize);
        for (int i = 0; i < int(std::size(kMarkers)); ++i)
            QCOMPARE(byteAt(joined, kMarkers[i]), markerAt(i));
        QCOMPARE(crcOf(joined), crcOf(source));
    }
};

QTEST_GUILESS_MAIN(TestLargeFiles)
#include "test_large_files.moc"
