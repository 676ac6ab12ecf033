#include "naive_records.h"
#include "reference_deal.h"
#include "split/split_files.h"
#include "split/usage_error.h"
#include "split/verify_parts.h"
#include "temp_files.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <bit>
#include <numeric>

using namespace tamrivel;
using namespace tamrivel::testing;

namespace {

// What a split with `fit` should write for each way, from first principles:
// each chip takes the offset's erased bytes, its room of the way, then fill
// or, mirrored, copies of what it holds; banks give every way as many chips
// as the largest needs.
QList<QByteArray> modelChips(const QList<QByteArray> &ways, const ChipFit &fit)
{
    if (fit.chipSize == 0)
        return ways;
    const qsizetype room = fit.chipSize - fit.offset;
    const qsizetype banks = fit.banks ? std::max<qsizetype>(1, (ways[0].size() + room - 1) / room) : 1;
    QList<QByteArray> chips;
    for (const QByteArray &way : ways) {
        for (qsizetype bank = 0; bank < banks; ++bank) {
            const QByteArray held = way.mid(bank * room, room);
            QByteArray chip = QByteArray(fit.offset, char(fit.fill)) + held;
            while (chip.size() < fit.chipSize)
                chip += fit.mirror && !held.isEmpty() ? held : QByteArray(1, char(fit.fill));
            chips.append(chip.left(fit.chipSize));
        }
    }
    return chips;
}

// A chip as a board wired as `wiring` must hold it, from the definition: the
// bus reads bit wiring.data[i] of its word on chip line Di, and at chip word
// address a the word whose address has bit wiring.address[i] = bit i of a.
QByteArray modelWired(const QByteArray &chip, const LineWiring &wiring, int wordBytes)
{
    if (wiring.straight())
        return chip;
    QByteArray wired(chip.size(), '\0');
    for (qsizetype word = 0; word < chip.size() / wordBytes; ++word) {
        qsizetype bus = wiring.address.isEmpty() ? word : 0;
        for (int line = 0; line < wiring.address.size(); ++line)
            bus |= (word >> line & 1) << wiring.address[line];
        for (int bit = 0; bit < 8 * wordBytes; ++bit) {
            const int from = wiring.data.isEmpty() ? bit : wiring.data[bit];
            const int value = chip[bus * wordBytes + from / 8] >> (from % 8) & 1;
            wired[word * wordBytes + bit / 8] = char(wired[word * wordBytes + bit / 8] | value << (bit % 8));
        }
    }
    return wired;
}

QList<int> randomOrder(QRandomGenerator &random, int lines)
{
    QList<int> order(lines);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random);
    return order;
}

// Intel HEX as a programmer saves a chip: its trailing erased bytes left out.
QByteArray savedLikeAProgrammer(QByteArray bytes)
{
    while (bytes.endsWith('\xFF'))
        bytes.chop(1);
    QByteArray text;
    const auto line = [&](int type, quint32 address, const QByteArray &data) {
        QByteArray raw;
        raw.append(char(data.size())).append(char(address >> 8)).append(char(address)).append(char(type));
        raw += data;
        uchar sum = 0;
        for (const char c : raw)
            sum += uchar(c);
        text += ':' + (raw + char(-sum)).toHex().toUpper() + '\n';
    };
    for (qsizetype at = 0; at < bytes.size(); at += 16) {
        if (at % 0x10000 == 0)
            line(4, 0, QByteArray::fromHex(QByteArray::number(at >> 16, 16).rightJustified(4, '0')));
        line(0, quint32(at), bytes.mid(at, 16));
    }
    line(1, 0, {});
    return text;
}

// Any dialect whose addresses reach a file of `largest` bytes: records of
// every size, bases at 0, anywhere, just short of a 64 KiB boundary, or as
// high as the chosen width reaches.
RecordDialect drawnDialect(QRandomGenerator &random, RecordFormat format, qint64 largest)
{
    RecordDialect dialect;
    dialect.recordBytes =
        random.bounded(3) == 0 ? RecordDialect::kDefaultRecordBytes : random.bounded(1, 256);
    dialect.hexAddressing = random.bounded(2) == 0 ? HexAddressing::Linear : HexAddressing::Segment;
    dialect.sRecordAddressBytes = random.bounded(4) == 0 ? 0 : random.bounded(2, 5);
    const qint64 room = addressReach(format, dialect) - largest;
    switch (random.bounded(4)) {
    case 0: break;
    case 1: dialect.base = random.bounded(room + 1); break;
    case 2: dialect.base = std::min(room, 0x10000 - qint64(random.bounded(1, 64))); break;
    default: dialect.base = room;
    }
    return dialect;
}

} // namespace

class TestRoundTrip : public QObject {
    Q_OBJECT

private slots:
    // Whatever split writes, verify accepts and join gives back, for random
    // shapes, chips, fills, offsets, banks, formats and record dialects,
    // checked against a model of the split written apart from it.
    void everyOptionRoundTrips()
    {
        const quint32 seed = qEnvironmentVariableIsSet("TAMRIVEL_SEED")
            ? quint32(qEnvironmentVariableIntValue("TAMRIVEL_SEED"))
            : QRandomGenerator::global()->generate();
        qInfo("seed %u (TAMRIVEL_SEED=%u replays it)", seed, seed);
        QRandomGenerator random(seed);
        // Every file written is synced: in memory, where there is such a
        // folder, hundreds of them take seconds rather than a minute.
        QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                              ? QStringLiteral("/dev/shm/tamrivel-round-trip-XXXXXX")
                              : QDir::tempPath() + QStringLiteral("/tamrivel-round-trip-XXXXXX"));
        for (int round = 0; round < 300; ++round) {
            const QList<DealShape> shapes = DealShape::every();
            DealShape shape = shapes[random.bounded(int(shapes.size()))];
            shape.ways = random.bounded(5) == 0 ? 1 : std::min(shape.ways, 2 + random.bounded(4));
            QByteArray source = patternBytes(random.bounded(600), random.generate());
            if (random.bounded(3) == 0)
                source += QByteArray(random.bounded(1, 9), '\xFF'); // an image that ends erased
            const QList<QByteArray> ways = referenceDeal(source, shape.ways, shape.width, shape.swap);

            ChipFit fit;
            if (random.bounded(4) > 0) {
                fit.offset = random.bounded(3) == 0 ? random.bounded(1, 40) : 0;
                fit.banks = random.bounded(3) == 0;
                // A few banks at most: every file written is synced.
                const qsizetype room = fit.banks
                    ? std::max<qsizetype>(8, ways[0].size() / random.bounded(1, 5))
                    : ways[0].size() + random.bounded(40);
                fit.chipSize = fit.offset + room + random.bounded(8);
                fit.mirror = random.bounded(4) == 0;
                fit.fill = random.bounded(3) == 0 ? uchar(random.bounded(256)) : uchar(0xFF);
                fit.format = RecordFormat(random.bounded(3));
            }
            const int word = shape.chipWordBytes();
            // Address lines need a chip of a power-of-two size in words.
            if (fit.chipSize > 0 && random.bounded(3) == 0) {
                fit.chipSize = qint64(std::bit_ceil(quint64(std::max<qint64>(fit.chipSize, 2 * word))));
                fit.wiring.address = randomOrder(random, std::countr_zero(quint64(fit.chipSize / word)));
            }
            if (fit.chipSize > 0 && fit.chipSize == fit.offset)
                continue;
            QList<QByteArray> chips = modelChips(ways, fit);
            if (random.bounded(3) == 0 && std::ranges::all_of(chips, [word](const QByteArray &chip) {
                    return chip.size() % word == 0;
                }))
                fit.wiring.data = randomOrder(random, 8 * word);
            // Record gaps read as a fill the wiring spreads over a 16-bit
            // word's bytes differently would be refused.
            if (fit.format != RecordFormat::Binary && !fit.wiring.chipByte(fit.fill, word))
                fit.wiring.data.clear();
            for (QByteArray &chip : chips)
                chip = modelWired(chip, fit.wiring, word);
            qint64 largest = 0;
            for (const QByteArray &chip : chips)
                largest = std::max(largest, chip.size());
            if (fit.format != RecordFormat::Binary)
                fit.records = drawnDialect(random, fit.format, largest);
            QStringList names;
            for (qsizetype file = 0; file < chips.size(); ++file)
                names << dir.filePath(QStringLiteral("r%1_%2").arg(round).arg(file));
            const QString what =
                QStringLiteral("seed %1, round %2: %3 ways, width %4%5, %6 bytes; chip %7, offset %8, "
                               "banks %9, fill %10, mirror %11, format %12, record %13, segments %14, "
                               "srec %15, base 0x%16, data lines %17, address lines %18")
                    .arg(seed)
                    .arg(round)
                    .arg(shape.ways)
                    .arg(shape.width)
                    .arg(shape.swap ? " swapped" : "")
                    .arg(source.size())
                    .arg(fit.chipSize)
                    .arg(fit.offset)
                    .arg(fit.banks)
                    .arg(fit.fill)
                    .arg(fit.mirror)
                    .arg(int(fit.format))
                    .arg(fit.records.recordBytes)
                    .arg(fit.records.hexAddressing == HexAddressing::Segment)
                    .arg(fit.records.sRecordAddressBytes)
                    .arg(fit.records.base, 0, 16)
                    .arg(linesText(fit.wiring.data), linesText(fit.wiring.address));
            writeBytes(dir.filePath("rom"), source);
            try {
                roundTrip(dir, source, shape, fit, chips, names, random.bounded(2) == 1, what);
            } catch (const std::exception &error) {
                QFAIL(qPrintable(what + QStringLiteral(": ") + QString::fromUtf8(error.what())));
            } catch (const UsageError &error) {
                QFAIL(qPrintable(what + QStringLiteral(": ") + error.message));
            }
            if (QTest::currentTestFailed())
                return;
        }
    }

private:
    void roundTrip(const QTemporaryDir &dir, const QByteArray &source, const DealShape &shape,
                   const ChipFit &fit, const QList<QByteArray> &chips, const QStringList &names, bool trimmed,
                   const QString &what)
    {
        splitFiles(dir.filePath("rom"), names, shape, {}, fit);
        for (qsizetype file = 0; file < chips.size(); ++file) {
            const QByteArray written = readBytes(names[file]);
            const QByteArray bytes = fit.format == RecordFormat::Binary
                ? written
                : naiveRead(written, quint32(fit.records.base)).bytes;
            QVERIFY2(bytes == chips[file].left(bytes.size()) &&
                         (fit.format == RecordFormat::Binary || fit.fill == 0xFF ||
                          bytes.size() == chips[file].size()),
                     qPrintable(what + QStringLiteral(", file %1").arg(file)));
            // Banks of chips that all end erased give no size to fill them to.
            if (trimmed && fit.format != RecordFormat::Binary && fit.fill == 0xFF && !fit.mirror &&
                !fit.banks && fit.records.base == 0)
                writeBytes(names[file], savedLikeAProgrammer(chips[file]));
        }
        const VerifiedParts verified = verifyParts(dir.filePath("rom"), names, shape, fit);
        QVERIFY2(verified.allSame(), qPrintable(what));
        joinFiles(names, dir.filePath("joined"), shape, {}, fit, fit.chipSize > 0 ? source.size() : -1);
        QVERIFY2(readBytes(dir.filePath("joined")) == source, qPrintable(what));
    }
};

QTEST_GUILESS_MAIN(TestRoundTrip)
#include "test_round_trip.moc"
