#include "result_text.h"

#include "product.h"
#include "runtime/runtime_error.h"

namespace tamrivel {
namespace {

QString sumsLine(const ByteSums &sums)
{
    return QStringLiteral("%1 バイト  sum16 %2  sum32 %3  CRC-32 %4")
        .arg(sums.size)
        .arg(sum16Text(sums), sum32Text(sums), crcText(sums));
}

} // namespace

QString resultText(const CheckResult &result)
{
    QStringList lines{
        QStringLiteral("%1 照合 %2").arg(QString::fromUtf8(kProductName), QString::fromUtf8(kProductVersion)),
        QStringLiteral("イメージ: %1").arg(shownPath(result.image))};
    if (result.imageSums)
        lines << QStringLiteral("  ") + sumsLine(*result.imageSums);
    lines << QStringLiteral("チップ: %1").arg(result.chip);
    for (const DumpRow &row : result.rows) {
        lines << QString() << QStringLiteral("ダンプ: %1").arg(shownPath(row.dump));
        if (!row.part.isEmpty())
            lines << QStringLiteral("  部分: %1").arg(row.part);
        lines << QStringLiteral("  結果: %1").arg(row.verdict);
        for (const QString &cause : row.causes)
            lines << QStringLiteral("  所見: %1").arg(cause);
        if (row.sums)
            lines << QStringLiteral("  ") + sumsLine(*row.sums);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace tamrivel
