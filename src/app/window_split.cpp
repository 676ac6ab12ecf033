#include "window_split.h"

#include "runtime/runtime_error.h"
#include "split/platform/platform.h"
#include "split/split_files.h"

#include <utility>

namespace tamrivel {

void splitFromFields(const QString &sourceText, const QString &evenText, const QString &oddText,
                     const std::atomic<bool> &stop)
{
    Watchers watchers;
    watchers.stop = &stop;
    const QString source = platform::pathOfFieldText(sourceText);
    const QString even = platform::pathOfFieldText(evenText);
    const QString odd = platform::pathOfFieldText(oddText);
    try {
        splitFile(source, even, odd, watchers);
    } catch (const RuntimeError &error) {
        // The split uses the paths in field order, so an empty name it stops
        // at is the first empty field; say which, rather than show empty 「」.
        if (error.number() != ErrorNumber::BadFileName || !error.path().isEmpty())
            throw;
        const std::pair<const QString &, QString> fields[] = {{source, QStringLiteral("分割するファイル")},
                                                              {even, QStringLiteral("偶数")},
                                                              {odd, QStringLiteral("奇数")}};
        for (const auto &[text, name] : fields) {
            if (text.isEmpty())
                throw RuntimeError(ErrorNumber::BadFileName, QString(),
                                   QStringLiteral("%1の欄が空です。").arg(name));
        }
        throw;
    }
}

} // namespace tamrivel
