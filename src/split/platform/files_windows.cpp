#include "split/platform/files_windows.h"
#include "split/platform/fault_hook.h"

#include <QHash>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

namespace tamrivel::platform {
namespace win32 {
namespace {

ErrorNumber fromWin32(DWORD err, ErrorNumber fallback)
{
    switch (err) {
    case ERROR_FILE_NOT_FOUND: return ErrorNumber::FileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME: return ErrorNumber::FolderNotFound;
    // Programmer software keeps its images open: that the file is busy, not
    // forbidden, tells the user to close the other program.
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return ErrorNumber::FileInUse;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_USER_MAPPED_FILE:
    case ERROR_PRIVILEGE_NOT_HELD:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2: return ErrorNumber::AccessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE: return ErrorNumber::DiskFull;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_NOT_READY:
    case ERROR_IO_DEVICE:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_NO_DATA:
    case ERROR_BROKEN_PIPE: return ErrorNumber::DeviceIo;
    case ERROR_TOO_MANY_OPEN_FILES: return ErrorNumber::TooManyOpenFiles;
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
    case ERROR_CANT_RESOLVE_FILENAME: return ErrorNumber::BadFileName;
    default: return fallback;
    }
}

bool isDeviceForm(const QString &path)
{
    return path.startsWith(u"\\\\.\\") || path.startsWith(u"//./");
}

// The folder part of a name as typed, and its last component.
std::pair<QString, QString> splitTyped(const QString &path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    if (cut >= 0)
        return {path.left(cut + 1), path.mid(cut + 1)};
    if (path.size() >= 2 && path.at(1) == u':')
        return {path.left(2), path.mid(2)};
    return {QStringLiteral("."), path};
}

} // namespace

void raise(const QString &path, ErrorNumber fallback, DWORD err)
{
    throw RuntimeError(fromWin32(err, fallback), path);
}

void raise(const QString &path, ErrorNumber fallback)
{
    raise(path, fallback, ::GetLastError());
}

HANDLE handleOf(const File &file)
{
    return reinterpret_cast<HANDLE>(file.handle());
}

const wchar_t *wide(const QString &text)
{
    return reinterpret_cast<const wchar_t *>(text.utf16());
}

QString fullPath(const QString &path)
{
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFullPathNameW(wide(path), DWORD(full.size()), full.data(), nullptr);
        if (length == 0)
            raise(path, ErrorNumber::BadFileName);
        if (length < full.size())
            return QString::fromWCharArray(full.data(), qsizetype(length));
        full.resize(length);
    }
}

QString longForm(const QString &full)
{
    if (full.startsWith(u"\\\\?\\") || full.startsWith(u"\\\\.\\"))
        return full;
    if (full.startsWith(u"\\\\"))
        return QStringLiteral("\\\\?\\UNC\\") + full.mid(2);
    return QStringLiteral("\\\\?\\") + full;
}

std::pair<QString, QString> splitLast(const QString &full)
{
    const qsizetype cut = full.lastIndexOf(u'\\');
    QString folder = full.left(cut);
    if (folder.endsWith(u':'))
        folder += u'\\';
    return {folder, full.mid(cut + 1)};
}

QString joined(const QString &folder, const QString &name)
{
    return folder.endsWith(u'\\') ? folder + name : folder + u'\\' + name;
}

bool takenForDevice(const QString &path, const QString &full)
{
    return !isDeviceForm(path) && full.startsWith(u"\\\\.\\");
}

QString filePath(const QString &path)
{
    QString full = fullPath(path);
    if (takenForDevice(path, full)) {
        auto [folder, name] = splitTyped(path);
        while (name.endsWith(u'.') || name.endsWith(u' '))
            name.chop(1);
        full = joined(fullPath(folder), name);
    }
    if (!isDeviceForm(full) && splitLast(full).second.contains(u':'))
        throw RuntimeError(ErrorNumber::BadFileName, path);
    return full;
}

bool isDisk(const File &file)
{
    return ::GetFileType(handleOf(file)) == FILE_TYPE_DISK;
}

bool informationOf(const File &file, BY_HANDLE_FILE_INFORMATION &info)
{
    return ::GetFileInformationByHandle(handleOf(file), &info) != 0;
}

QString plainForm(const QString &path)
{
    if (path.startsWith(u"\\\\?\\UNC\\"))
        return QStringLiteral("\\\\") + path.mid(8);
    if (path.startsWith(u"\\\\?\\"))
        return path.mid(4);
    return path;
}

QString finalPathOf(const File &file, const QString &fallback)
{
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(handleOf(file), final.data(), DWORD(final.size()),
                                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return fallback;
        if (length < final.size())
            return plainForm(QString::fromWCharArray(final.data(), qsizetype(length)));
        final.resize(length);
    }
}

namespace {

bool onFat(const File &file)
{
    if (const QString pretended = fileSystemPretended(); !pretended.isEmpty())
        return pretended.startsWith(u"FAT") || pretended == u"exFAT";
    wchar_t system[MAX_PATH + 1] = {};
    if (!::GetVolumeInformationByHandleW(handleOf(file), nullptr, 0, nullptr, nullptr, nullptr, system,
                                         MAX_PATH + 1))
        return false;
    const QString name = QString::fromWCharArray(system);
    return name.startsWith(u"FAT") || name == u"exFAT";
}

} // namespace

FileId idOf(const File &file, const BY_HANDLE_FILE_INFORMATION &info)
{
    if (onFat(file)) {
        if (const QString final = finalPathOf(file, QString()); !final.isEmpty())
            return FileId{info.dwVolumeSerialNumber, 0, 0, final.toCaseFolded()};
    }
    FILE_ID_INFO wide{};
    if (::GetFileInformationByHandleEx(handleOf(file), FileIdInfo, &wide, sizeof wide)) {
        quint64 halves[2] = {};
        static_assert(sizeof halves == sizeof wide.FileId.Identifier);
        std::memcpy(halves, wide.FileId.Identifier, sizeof halves);
        return FileId{wide.VolumeSerialNumber, halves[0], halves[1], QString()};
    }
    return FileId{info.dwVolumeSerialNumber, (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow, 0,
                  QString()};
}

FileId deviceId(const QString &full)
{
    return FileId{0, quint64(qHash(full.toCaseFolded())), 0, QString()};
}

} // namespace win32

using namespace win32;

namespace {

// One ReadFile or WriteFile moves at most this much (its count is 32-bit).
constexpr qsizetype kMaxTransfer = qsizetype(1) << 30;

QString nativePath(const QString &path)
{
    return longForm(filePath(path));
}

} // namespace

QString pathOfFieldText(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.size() >= 2 && trimmed.startsWith(u'"') && trimmed.endsWith(u'"'))
        return trimmed.mid(1, trimmed.size() - 2);
    return text;
}

bool isNameText(QStringView path)
{
    return path.isValidUtf16();
}

File::~File()
{
    if (isOpen())
        ::CloseHandle(handleOf(*this));
}

File openForReading(const QString &path)
{
    // Others may go on using the file meanwhile, as on other systems. A folder
    // opens too, so that it can be named as the fault.
    File file(qintptr(::CreateFileW(
        wide(nativePath(path)), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)));
    if (!file.isOpen())
        raise(path, ErrorNumber::AccessDenied);
    if (kindOf(file, path) == Kind::Folder)
        throw RuntimeError(ErrorNumber::IsFolder, path);
    return file;
}

File openExistingForWriting(const QString &path)
{
    File file(qintptr(::CreateFileW(wide(nativePath(path)), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr)));
    if (!file.isOpen())
        raise(path, ErrorNumber::AccessDenied);
    return file;
}

FileId identityOf(const File &file, const QString &path)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (informationOf(file, info))
        return idOf(file, info);
    if (!isDisk(file))
        return deviceId(fullPath(path));
    raise(path);
}

Kind kindOf(const File &file, const QString &path)
{
    if (!isDisk(file))
        return Kind::Other;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!informationOf(file, info))
        raise(path);
    return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Folder : Kind::Regular;
}

bool sizeIsReal(const File &file, const QString &)
{
    // A disk file's size is its own; pipes and consoles are not disk files.
    return isDisk(file);
}

FileStamp stampOf(const File &file, const QString &path)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (!informationOf(file, info))
        raise(path);
    const qint64 written =
        qint64((quint64(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime);
    return {qint64((quint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow), written, written};
}

qint64 freeSpaceIn(const QString &folder)
{
    // The call wants a folder, and a UNC one with its trailing backslash.
    const QString root = joined(nativePath(folder), QString());
    ULARGE_INTEGER available{};
    if (!::GetDiskFreeSpaceExW(wide(root), &available, nullptr, nullptr))
        return -1;
    return qint64(std::min<quint64>(available.QuadPart, quint64(std::numeric_limits<qint64>::max())));
}

void allowOpenFiles(qint64)
{
    // Files are kept as handles, never as C run-time descriptors, so the run
    // time's own limit on open files never applies.
}

bool inSystemFolder(const QString &)
{
    // Windows keeps its devices in a namespace of their own, not in a folder.
    return false;
}

qsizetype readSome(const File &file, char *buffer, qsizetype length, const QString &path)
{
    DWORD got = 0;
    if (::ReadFile(handleOf(file), buffer, DWORD(std::min(length, kMaxTransfer)), &got, nullptr)) {
        afterRead(path, qsizetype(got));
        return qsizetype(got);
    }
    const DWORD err = ::GetLastError();
    // A pipe whose writer has gone has simply ended.
    if (err == ERROR_BROKEN_PIPE || err == ERROR_HANDLE_EOF)
        return 0;
    raise(path, ErrorNumber::DeviceIo, err);
}

void rewind(const File &file, const QString &path)
{
    if (!::SetFilePointerEx(handleOf(file), LARGE_INTEGER{}, nullptr, FILE_BEGIN))
        raise(path);
}

void writeAll(const File &file, const char *data, qsizetype length, const QString &path)
{
    while (length > 0) {
        DWORD wrote = 0;
        if (!::WriteFile(handleOf(file), data, DWORD(std::min(length, kMaxTransfer)), &wrote, nullptr))
            raise(path);
        if (wrote == 0)
            raise(path, ErrorNumber::DeviceIo, ERROR_HANDLE_DISK_FULL);
        data += wrote;
        length -= qsizetype(wrote);
    }
}

void syncFile(const File &file, const QString &path)
{
    if (!::FlushFileBuffers(handleOf(file)))
        raise(path);
}

// Windows has no call to start writing part of a file; FlushFileBuffers at
// the end does all of it.
void startWriteBack(const File &, qint64, qint64)
{
}

} // namespace tamrivel::platform
