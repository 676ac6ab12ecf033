#include "dump_row.h"

#include "runtime/runtime_error.h"
#include "split/doctor/shared_run_search.h"
#include "split/doctor/size_text.h"

namespace tamrivel {
namespace {

QString hexText(quint32 value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

QString wayText(const DumpPlace &place)
{
    const DealShape &shape = place.shape;
    if (shape == DealShape{})
        return place.way == 0 ? QStringLiteral("偶数") : QStringLiteral("奇数");
    // Counted from 0, as the split's outputs are named.
    QString text =
        QStringLiteral("ウェイ %1 (%2 ウェイ、%3 バイト単位").arg(place.way).arg(shape.ways).arg(shape.width);
    if (shape.swap)
        text += QStringLiteral("、バイト順入れ替え");
    return text + QLatin1Char(')');
}

// How the chip was filled around the bytes, where a split did more than
// write them.
QString chipText(const ChipFit &fit)
{
    QString text = QStringLiteral("%1 チップ").arg(sizeText(fit.chipSize));
    if (fit.offset > 0)
        text += QStringLiteral("、0x%1 から").arg(fit.offset, 0, 16);
    if (fit.mirror)
        text += QStringLiteral("、残りに繰り返し");
    else if (fit.fill != kErasedByte)
        text += QStringLiteral("、0x%1 埋め").arg(hexText(fit.fill, 2));
    return text;
}

QString lengthText(qint64 dumpSize, qint64 partSize)
{
    return dumpSize < partSize ? QStringLiteral("%1 バイト不足").arg(partSize - dumpSize)
                               : QStringLiteral("%1 バイト超過").arg(dumpSize - partSize);
}

} // namespace

QString partText(const DumpPlace &place)
{
    QStringList pieces{wayText(place)};
    if (place.fit.banks)
        pieces << QStringLiteral("バンク %1").arg(place.bank);
    if (place.fit.chipSize > 0)
        pieces << chipText(place.fit);
    return pieces.join(QStringLiteral("、"));
}

DumpRow dumpRow(const DumpIdentity &identity, const ByteSums &sums)
{
    DumpRow row{identity.dump, {}, {}, {}, sums};
    if (!identity.unsearched.isEmpty()) {
        row.verdict = QStringLiteral("照合できません");
        row.causes << identity.unsearched;
        return row;
    }
    if (identity.sharesNothing) {
        row.verdict = QStringLiteral("一致する部分なし");
        row.causes << QStringLiteral("イメージのどの分割とも %1 バイト続けて一致する所がありません")
                          .arg(kSharedRunBytes);
        return row;
    }
    row.part = partText(identity.place);
    QStringList verdicts;
    if (identity.differing > 0)
        verdicts << QStringLiteral("%1 バイト相違").arg(identity.differing);
    if (identity.size != identity.place.size)
        verdicts << lengthText(identity.size, identity.place.size);
    row.verdict = verdicts.isEmpty() ? QStringLiteral("一致") : verdicts.join(QStringLiteral("、"));
    row.causes = findingTexts(identity.likely);
    if (const std::optional<DumpPlace> &longer = identity.alsoStartOf)
        row.causes << QStringLiteral("または %1 の先頭 (%2)")
                          .arg(partText(*longer), lengthText(identity.size, longer->size));
    return row;
}

DumpRow unreadableRow(const QString &dump, const RuntimeError &error)
{
    return {dump,
            {},
            QStringLiteral("読み込めません (エラー番号 %1)").arg(error.code()),
            {error.description()},
            {}};
}

QString sum16Text(const ByteSums &sums)
{
    return hexText(sums.sum16(), 4);
}

QString sum32Text(const ByteSums &sums)
{
    return hexText(sums.sum, 8);
}

QString crcText(const ByteSums &sums)
{
    return hexText(sums.crc, 8);
}

} // namespace tamrivel
