#include "split/chips/fit_errors.h"

namespace tamrivel {

RuntimeError chipOverflow(const QString &file, qint64 bytes, qint64 chipSize, bool atLeast)
{
    return RuntimeError(ErrorNumber::ChipOverflow, file,
                        (atLeast ? QStringLiteral("(出力 %1 バイト以上、チップ %2 バイト)")
                                 : QStringLiteral("(出力 %1 バイト、チップ %2 バイト)"))
                            .arg(bytes)
                            .arg(chipSize));
}

RuntimeError lengthBeyondParts(const QString &file, qint64 length, qint64 total)
{
    return RuntimeError(
        ErrorNumber::InvalidArgument, file,
        QStringLiteral("(--length %1 バイトは部品の合計 %2 バイトより長い)").arg(length).arg(total));
}

RuntimeError dataBeyondLength(const QString &file, qint64 offset, uchar byte)
{
    return RuntimeError(ErrorNumber::InvalidArgument, file,
                        QStringLiteral("(--length の先、0x%1 に埋め値でないバイト 0x%2 があります)")
                            .arg(offset, 0, 16)
                            .arg(byte, 2, 16, QLatin1Char('0')));
}

RuntimeError dataBeforeOffset(const QString &file, qint64 offset, qint64 at, uchar byte)
{
    return RuntimeError(ErrorNumber::InvalidArgument, file,
                        QStringLiteral("(--offset %1 の手前、0x%2 に埋め値でないバイト 0x%3 があります)")
                            .arg(offset)
                            .arg(at, 0, 16)
                            .arg(byte, 2, 16, QLatin1Char('0')));
}

} // namespace tamrivel
