#include "path_entries.h"

#include <algorithm>
#include <vector>

namespace tamrivel::setup {

namespace {

std::vector<std::wstring> entriesOf(const std::wstring &path)
{
    std::vector<std::wstring> entries;
    std::wstring::size_type start = 0;
    for (;;) {
        const auto end = path.find(L';', start);
        entries.push_back(path.substr(start, end - start));
        if (end == std::wstring::npos)
            return entries;
        start = end + 1;
    }
}

std::wstring joined(const std::vector<std::wstring> &entries)
{
    std::wstring path;
    for (std::size_t i = 0; i < entries.size(); ++i)
        path += (i ? L";" : L"") + entries[i];
    return path;
}

// How Windows reads an entry when it looks for a program: quotes around it and
// a closing backslash change nothing.
std::wstring folderOf(std::wstring entry)
{
    if (entry.size() >= 2 && entry.front() == L'"' && entry.back() == L'"')
        entry = entry.substr(1, entry.size() - 2);
    if (entry.size() > 1 && entry.back() == L'\\')
        entry.pop_back();
    return entry;
}

// Folder names differ in case only in letters; folding ASCII alone may miss an
// equal folder spelt in other letters, and then it is added a second time,
// which costs nothing but a longer PATH.
bool sameFolder(const std::wstring &a, const std::wstring &b)
{
    const auto folded = [](wchar_t c) { return c >= L'a' && c <= L'z' ? wchar_t(c - L'a' + L'A') : c; };
    const std::wstring x = folderOf(a), y = folderOf(b);
    return std::equal(x.begin(), x.end(), y.begin(), y.end(),
                      [&](wchar_t p, wchar_t q) { return folded(p) == folded(q); });
}

} // namespace

bool isPathEntry(const std::wstring &entry)
{
    return !entry.empty() && entry.find_first_of(L";\"") == std::wstring::npos;
}

std::optional<std::wstring> withEntry(const std::wstring &path, const std::wstring &entry)
{
    if (path.empty())
        return entry;
    auto entries = entriesOf(path);
    if (std::any_of(entries.begin(), entries.end(), [&](const auto &e) { return sameFolder(e, entry); }))
        return std::nullopt;
    entries.insert(entries.back().empty() ? entries.end() - 1 : entries.end(), entry);
    return joined(entries);
}

std::optional<std::wstring> withoutEntry(const std::wstring &path, const std::wstring &entry)
{
    auto entries = entriesOf(path);
    const auto last = std::find(entries.rbegin(), entries.rend(), entry);
    if (last == entries.rend())
        return std::nullopt;
    entries.erase(std::next(last).base());
    return joined(entries);
}

} // namespace tamrivel::setup
