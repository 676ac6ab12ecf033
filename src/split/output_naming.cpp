#include "split/output_naming.h"

#include "runtime/runtime_error.h"
#include "runtime/text_units.h"

#include <QRegularExpression>
#include <QSet>

namespace tamrivel {
namespace {

QString outputBase(const QString &source)
{
    if (source.size() < 4)
        throw RuntimeError(ErrorNumber::InvalidArgument, source,
                           RuntimeError::tr("The name is too short to make the output names from."));
    QString base = leftUnits(source, source.size() - 4);
    if (!base.isEmpty() && base.back().isHighSurrogate())
        base.chop(1);
    return base;
}

QString extensionOf(RecordFormat format)
{
    switch (format) {
    case RecordFormat::IntelHex: return QStringLiteral(".hex");
    case RecordFormat::SRecord: return QStringLiteral(".srec");
    case RecordFormat::Binary: break;
    }
    return QStringLiteral(".bin");
}

} // namespace

QStringList proposedPartNames(const QString &source, int ways, int banks, RecordFormat format)
{
    const QString base = outputBase(source);
    // As many digits for every bank, so that a file list sorts them as
    // numbers: _g_01 ... _g_12.
    const int bankDigits = int(QString::number(std::max(banks - 1, 0)).size());
    QStringList names;
    for (int way = 0; way < ways; ++way) {
        const QString lane =
            ways == 2 ? QString::fromLatin1(way == 0 ? "_g" : "_k") : QStringLiteral("_%1").arg(way);
        for (int bank = 0; bank < std::max(banks, 1); ++bank)
            names.append(
                base + lane +
                (banks > 0 ? QStringLiteral("_%1").arg(bank, bankDigits, 10, QLatin1Char('0')) : QString()) +
                extensionOf(format));
    }
    return names;
}

bool namedAsBanks(const QStringList &parts)
{
    static const QRegularExpression banked(
        QStringLiteral("^(.*)_(?:[gk]|[0-9]+)_([0-9]+)\\.(?:bin|hex|srec)$"));
    QSet<QString> sources;
    QSet<QString> banks;
    for (const QString &part : parts) {
        const QRegularExpressionMatch match = banked.match(part);
        if (!match.hasMatch())
            return false;
        sources.insert(match.captured(1));
        banks.insert(match.captured(2));
    }
    return sources.size() == 1 && banks.size() > 1;
}

} // namespace tamrivel
