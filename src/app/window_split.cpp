#include "window_split.h"

#include "../runtime/runtime_error.h"
#include "../split/path_checks.h"
#include "../split/split_files.h"

namespace tamrivel {
namespace {

void checkField(const QString &path, const QString &fieldName, void (*checkFile)(const QString &))
{
    if (path.isEmpty())
        throw RuntimeError(ErrorNumber::BadFileName, QString(),
                           QStringLiteral("%1の欄が空です。").arg(fieldName));
    checkPathText(path);
    checkFile(path);
}

} // namespace

void splitFromFields(const QString &source, const QString &even, const QString &odd,
                     const std::atomic<bool> &stop)
{
    checkField(source, QStringLiteral("分割するファイル"), checkSource);
    checkField(even, QStringLiteral("偶数"), checkOutput);
    checkField(odd, QStringLiteral("奇数"), checkOutput);
    Watchers watchers;
    watchers.stop = &stop;
    splitFile(source, even, odd, watchers);
}

} // namespace tamrivel
