// setup-path add|remove ENTRY: puts ENTRY on the system PATH or takes it off,
// for the setup program and the uninstaller. NSIS holds no more than 1,024
// characters of a string and reads a longer registry value as empty, so it
// must never write the PATH itself; this reads and writes it whole, or not at
// all, and keeps its type.
#include "path_entries.h"
#include "path_outcome.h"

#include <windows.h>

#include <optional>
#include <string>

using namespace tamrivel::setup;

namespace {

const wchar_t environmentKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

struct PathValue {
    std::wstring text;
    DWORD type = REG_EXPAND_SZ;
};

// The value as stored, or nothing when it cannot be read whole.
std::optional<PathValue> readPath(HKEY key)
{
    PathValue value;
    std::wstring data;
    DWORD bytes = 0;
    LSTATUS status;
    // The value may grow between asking its size and reading it.
    do {
        data.resize(bytes / sizeof(wchar_t) + 1);
        bytes = DWORD(data.size() * sizeof(wchar_t));
        status = RegQueryValueExW(key, L"Path", nullptr, &value.type, reinterpret_cast<BYTE *>(data.data()),
                                  &bytes);
    } while (status == ERROR_MORE_DATA);
    if (status == ERROR_FILE_NOT_FOUND)
        return PathValue{};
    if (status != ERROR_SUCCESS || bytes % sizeof(wchar_t) ||
        (value.type != REG_SZ && value.type != REG_EXPAND_SZ))
        return std::nullopt;
    data.resize(bytes / sizeof(wchar_t));
    while (!data.empty() && data.back() == L'\0')
        data.pop_back();
    // A NUL inside would cut the value short when written back.
    if (data.find(L'\0') != std::wstring::npos)
        return std::nullopt;
    value.text = data;
    return value;
}

bool writePath(HKEY key, const PathValue &value)
{
    const DWORD bytes = DWORD((value.text.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, L"Path", 0, value.type, reinterpret_cast<const BYTE *>(value.text.c_str()),
                          bytes) == ERROR_SUCCESS;
}

// Programs started from Explorer from now on see the new PATH. A window that
// does not answer in time misses it, which is no reason to undo the change.
void announceEnvironmentChange()
{
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Environment"),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
}

PathOutcome change(bool add, const std::wstring &entry)
{
    if (!isPathEntry(entry))
        return PathFailed;
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, environmentKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS)
        return PathFailed;
    PathOutcome outcome = PathFailed;
    if (auto value = readPath(key)) {
        const auto changed = add ? withEntry(value->text, entry) : withoutEntry(value->text, entry);
        if (!changed) {
            outcome = PathUnchanged;
        } else {
            value->text = *changed;
            if (writePath(key, *value))
                outcome = PathChanged;
        }
    }
    RegCloseKey(key);
    if (outcome == PathChanged)
        announceEnvironmentChange();
    return outcome;
}

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    if (argc != 3)
        return PathFailed;
    const std::wstring verb = argv[1];
    if (verb != L"add" && verb != L"remove")
        return PathFailed;
    return change(verb == L"add", argv[2]);
}
