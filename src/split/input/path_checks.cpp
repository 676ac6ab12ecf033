#include "split/input/path_checks.h"

#include "runtime/runtime_error.h"

namespace tamrivel {

void checkPathText(const QString &path)
{
    if (path.isEmpty() || path.contains(QChar(0)) || !QStringView(path).isValidUtf16())
        throw RuntimeError(ErrorNumber::BadFileName, path);
}

} // namespace tamrivel
