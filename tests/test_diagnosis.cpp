#include "japanese_catalogue.h"
#include "split/doctor/part_diagnosis.h"
#include "split/doctor/part_digest.h"

#include <QRandomGenerator>
#include <QTest>

#include <functional>

using namespace tamrivel;

namespace {

constexpr qsizetype kChip = 32 * 1024;
constexpr qsizetype kPaddedFrom = 0x6000;

// What a 32 KiB chip should hold: random bytes, never the erased 0xFF, then
// erased padding.
QByteArray chipImage(quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(kChip, '\xFF');
    for (qsizetype at = 0; at < kPaddedFrom; ++at)
        bytes[at] = char(random.bounded(0xFF));
    return bytes;
}

QByteArray eachByte(const QByteArray &bytes, const std::function<uchar(qsizetype, uchar)> &change)
{
    QByteArray changed = bytes;
    for (qsizetype at = 0; at < bytes.size(); ++at)
        changed[at] = char(change(at, uchar(bytes[at])));
    return changed;
}

QByteArray fromAddress(const QByteArray &bytes, const std::function<qsizetype(qsizetype)> &address)
{
    return eachByte(bytes, [&](qsizetype at, uchar) { return uchar(bytes[address(at)]); });
}

struct Fault {
    const char *name;
    int width;
    std::function<QByteArray(const QByteArray &)> make;
    QStringList lines;
};

const QList<Fault> &faults()
{
    static const QList<Fault> all{
        {"blank", 1, [](const QByteArray &e) { return QByteArray(e.size(), '\xFF'); }, {"blank"}},
        {"burn interrupted",
         1,
         [](const QByteArray &e) { return e.left(0x1234) + QByteArray(e.size() - 0x1234, '\xFF'); },
         {"stops at 0x1234"}},
        {"in the other socket", 1, [](const QByteArray &) { return chipImage(2); }, {"is rom_k.bin"}},
        {"byte-swapped",
         2,
         [](const QByteArray &e) { return fromAddress(e, [](qsizetype at) { return at ^ 1; }); },
         {"byte-swapped"}},
        {"D3 stuck at 0",
         1,
         [](const QByteArray &e) { return eachByte(e, [](qsizetype, uchar b) { return uchar(b & ~8); }); },
         {"D3 stuck at 0"}},
        // The second byte of a 16-bit word is its high one.
        {"D12 stuck at 1",
         2,
         [](const QByteArray &e) {
             return eachByte(e, [](qsizetype at, uchar b) { return at % 2 ? uchar(b | 0x10) : b; });
         },
         {"D12 stuck at 1"}},
        // A bit low in part of the chip only is no stuck line.
        {"D3 low in the first half",
         1,
         [](const QByteArray &e) {
             return eachByte(e, [](qsizetype at, uchar b) { return at < kChip / 2 ? uchar(b & ~8) : b; });
         },
         {"8167 single-bit differences: a weak chip or a bad read?"}},
        {"D2 and D5 swapped",
         1,
         [](const QByteArray &e) {
             return eachByte(e, [](qsizetype, uchar b) {
                 return uchar((b & ~0x24) | (b & 0x04) << 3 | (b & 0x20) >> 3);
             });
         },
         {"D2 and D5 swapped: matches --data-lines 0,1,5,3,4,2,6,7"}},
        // One half twice: the other half is what a 16K chip would hold.
        {"A14 stuck at 1",
         1,
         [](const QByteArray &e) { return fromAddress(e, [](qsizetype at) { return at | 0x4000; }); },
         {"A14 stuck at 1", "repeats every 0x4000 bytes: a 16K chip?"}},
        {"A12 and A13 swapped",
         1,
         [](const QByteArray &e) {
             return fromAddress(
                 e, [](qsizetype at) { return (at & ~0x3000) | (at & 0x1000) << 1 | (at & 0x2000) >> 1; });
         },
         {"A12 and A13 swapped: matches --address-lines 0,1,2,3,4,5,6,7,8,9,10,11,13,12,14"}},
        // A 16-bit chip's address lines count words: its A0 is the byte's A1.
        {"A1 and A3 swapped, 16 bits",
         2,
         [](const QByteArray &e) {
             return fromAddress(e,
                                [](qsizetype at) { return (at & ~0xA) | (at & 0x2) << 2 | (at & 0x8) >> 2; });
         },
         {"A1 and A3 swapped: matches --address-lines 2,1,0,3,4,5,6,7,8,9,10,11,12,13"}},
        {"an 8K chip",
         1,
         [](const QByteArray &e) { return fromAddress(e, [](qsizetype at) { return at % 0x2000; }); },
         {"repeats every 0x2000 bytes: an 8K chip?"}},
        {"shifted",
         1,
         [](const QByteArray &e) { return QByteArray("abc") + e.chopped(3); },
         {"shifted by +3"}},
        {"filled with 0x00",
         1,
         [](const QByteArray &e) { return e.left(kPaddedFrom) + QByteArray(kChip - kPaddedFrom, 0); },
         {"filled with 0x00, not 0xFF"}},
        {"scattered bit flips",
         1,
         [](const QByteArray &e) {
             return eachByte(
                 e, [](qsizetype at, uchar b) { return at % 997 == 5 ? uchar(b ^ 1 << at % 8) : b; });
         },
         {"33 single-bit differences: a weak chip or a bad read?"}},
        {"scattered bytes",
         1,
         [](const QByteArray &e) {
             return eachByte(e, [](qsizetype at, uchar b) { return at % 4001 == 7 ? uchar(~b) : b; });
         },
         {"72 bits differ"}},
    };
    return all;
}

} // namespace

class TestDiagnosis : public QObject {
    Q_OBJECT

private slots:
    void namesTheFaultAndNothingElse_data()
    {
        QTest::addColumn<int>("fault");
        for (int at = 0; at < faults().size(); ++at)
            QTest::newRow(faults()[at].name) << at;
    }

    void namesTheFaultAndNothingElse()
    {
        QFETCH(int, fault);
        const QByteArray expected = chipImage(1);
        const PartContext context{faults()[fault].width,
                                  kPaddedFrom,
                                  0xFF,
                                  {{QStringLiteral("rom_k.bin"), PartDigest::of(chipImage(2))}}};
        QCOMPARE(findingTexts(diagnosePart(expected, faults()[fault].make(expected), context)),
                 faults()[fault].lines);
    }

    // The window and the companion say each finding in the user's language:
    // every cause has its own words in each.
    void everyCauseSaysItselfInEachLanguage()
    {
        QList<Finding> findings;
        for (int cause = 0; cause < kCauseCount; ++cause)
            findings << Finding{Cause(cause), {1, 2, 1}, {QStringLiteral("rom_g.bin")}};
        const QStringList english = findingTexts(findings);
        const testing::JapaneseCatalogue japanese;
        QVERIFY(japanese.loaded());
        const QStringList inJapanese = findingTexts(findings);
        QSet<QString> texts;
        for (int cause = 0; cause < kCauseCount; ++cause) {
            QVERIFY2(!english[cause].isEmpty() && english[cause] != inJapanese[cause],
                     qPrintable(english[cause]));
            texts << english[cause] << inJapanese[cause];
        }
        QCOMPARE(texts.size(), 2 * kCauseCount);
    }
};

QTEST_GUILESS_MAIN(TestDiagnosis)
#include "test_diagnosis.moc"
