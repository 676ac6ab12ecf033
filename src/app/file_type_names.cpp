#include "file_type_names.h"

#include <cstring>

namespace tamrivel {

QString FileTypeNames::translate(const char *context, const char *sourceText, const char *, int) const
{
    struct Name {
        const char *english;
        const char *japanese;
    };
    static constexpr Name kNames[] = {
        {"Drive", "ドライブ"},    {"File", "ファイル"},    {"File Folder", "ファイル フォルダー"},
        {"Folder", "フォルダー"}, {"Alias", "エイリアス"}, {"Shortcut", "ショートカット"},
        {"Unknown", "不明"},
    };
    if (!context || !sourceText || std::strcmp(context, "QAbstractFileIconProvider") != 0)
        return QString();
    for (const Name &name : kNames) {
        if (std::strcmp(sourceText, name.english) == 0)
            return QString::fromUtf8(name.japanese);
    }
    return QString();
}

} // namespace tamrivel
