#include "common_dialog.h"

#include "runtime_error.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include <windows.h>

#include <commdlg.h>

namespace tamrivel {
namespace {

static_assert(CommonDialog::HideReadOnly == OFN_HIDEREADONLY);
static_assert(CommonDialog::AllowMultiselect == OFN_ALLOWMULTISELECT);

// What the program asks of every browse, whatever the caller's flags:
// existing files, the process's current folder left as it was (relative
// paths typed later must not move), and no shortcut in the user's Recent
// items.
constexpr DWORD kAlwaysOn = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
    OFN_DONTADDTORECENT | OFN_ENABLESIZING;
constexpr DWORD kAlwaysOff = OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_ENABLETEMPLATEHANDLE | OFN_SHOWHELP;

// Long enough for a path in the \\?\ range the rest of the program accepts.
constexpr size_t kPathCapacity = 32768;

std::wstring wide(const QString &text)
{
    return std::wstring(reinterpret_cast<const wchar_t *>(text.utf16()), size_t(text.size()));
}

// "text|pattern|text|pattern|" is the system's own list with "|" for NUL;
// the list ends with an empty entry.
std::wstring filterList(const QString &filter)
{
    std::wstring list = wide(filter);
    std::replace(list.begin(), list.end(), L'|', L'\0');
    list.append(2, L'\0');
    return list;
}

// The dialog is owned by the window, which it disables while it is open. A
// platform without real windows (offscreen, under test) has no handle to give.
HWND ownerOf(const QWidget *widget)
{
    if (!widget || QGuiApplication::platformName() != QLatin1String("windows"))
        return nullptr;
    return reinterpret_cast<HWND>(widget->window()->winId());
}

// The dialog's answer: one full path, or with several files chosen the
// folder and then each name, every one ended by a NUL and the list by
// another.
QStringList chosenFiles(const std::vector<wchar_t> &answer)
{
    QStringList fields;
    for (const wchar_t *field = answer.data(); *field; field += std::wcslen(field) + 1)
        fields.append(QString::fromWCharArray(field));
    if (fields.size() < 2)
        return fields;
    const QDir folder(fields.takeFirst());
    for (QString &name : fields)
        name = QDir::toNativeSeparators(folder.filePath(name));
    return fields;
}

} // namespace

void CommonDialog::ShowOpen()
{
    const std::wstring title = wide(m_title);
    const std::wstring filter = filterList(m_filter);
    // A second browse starts where the last one ended.
    const std::wstring folder = m_fileName.isEmpty()
        ? std::wstring()
        : wide(QDir::toNativeSeparators(QFileInfo(m_fileName).absolutePath()));
    std::vector<wchar_t> chosen(kPathCapacity, L'\0');

    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = ownerOf(parentWidget());
    request.lpstrFilter = m_filter.isEmpty() ? nullptr : filter.c_str();
    request.nFilterIndex = DWORD(std::max(m_filterIndex, 1));
    request.lpstrFile = chosen.data();
    request.nMaxFile = DWORD(chosen.size());
    request.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    request.lpstrTitle = title.empty() ? nullptr : title.c_str();
    request.Flags = (DWORD(m_flags) | kAlwaysOn) & ~kAlwaysOff;

    if (::GetOpenFileNameW(&request)) {
        m_fileNames = chosenFiles(chosen);
        m_fileName = m_fileNames.value(0);
        return;
    }
    // Zero means the user closed the dialog; anything else is the system
    // failing to show it, which the user must hear about too.
    const DWORD failure = ::CommDlgExtendedError();
    if (failure != 0)
        throw RuntimeError(
            ErrorNumber::Unexpected, QString(),
            QStringLiteral("(CommDlgExtendedError 0x%1)").arg(failure, 4, 16, QLatin1Char('0')));
    if (m_cancelError)
        throw RuntimeError(ErrorNumber::Cancelled);
    m_fileName.clear();
    m_fileNames.clear();
}

} // namespace tamrivel
