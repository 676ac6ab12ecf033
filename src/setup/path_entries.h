#pragma once

#include <optional>
#include <string>

namespace tamrivel::setup {

// Whether `entry` can stand as one entry of a PATH: a `;` would split it and
// a `"` would change how its neighbours are read.
bool isPathEntry(const std::wstring &entry);

// `path` with `entry` after its last entry, or nothing when a folder equal to
// it is there already. A trailing `;` stays last, so that the text added is
// always the same one step from `path` and withoutEntry can undo it exactly.
std::optional<std::wstring> withEntry(const std::wstring &path, const std::wstring &entry);

// `path` without the last entry that is exactly `entry`, with one `;` beside
// it, or nothing when there is none. Undoes withEntry to the character, even
// when entries have been added after it since.
std::optional<std::wstring> withoutEntry(const std::wstring &path, const std::wstring &entry);

} // namespace tamrivel::setup
