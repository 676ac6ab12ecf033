#include "split/input/path_checks.h"

#include "runtime/runtime_error.h"
#include "split/platform/platform.h"

#include <algorithm>

namespace tamrivel {

void checkPathText(const QString &path)
{
    const auto isControl = [](QChar c) {
        return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F);
    };
    if (path.isEmpty() || std::any_of(path.begin(), path.end(), isControl) || !platform::isNameText(path))
        throw RuntimeError(ErrorNumber::BadFileName, path);
}

} // namespace tamrivel
