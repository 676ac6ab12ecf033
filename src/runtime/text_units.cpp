#include "text_units.h"

#include "runtime_error.h"

namespace tamrivel {

QString leftUnits(const QString &text, qsizetype count)
{
    if (count < 0)
        throw RuntimeError(ErrorNumber::InvalidArgument);
    return text.left(count);
}

} // namespace tamrivel
