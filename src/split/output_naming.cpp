#include "split/output_naming.h"

#include "runtime/text_units.h"

namespace tamrivel {

QString outputBase(const QString &sourcePath)
{
    QString base = leftUnits(sourcePath, sourcePath.size() - 4);
    if (!base.isEmpty() && base.back().isHighSurrogate())
        base.chop(1);
    return base;
}

QString proposedOutputName(const QString &sourcePath, const QString &suffix)
{
    return outputBase(sourcePath) + suffix;
}

} // namespace tamrivel
