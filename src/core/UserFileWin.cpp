#include "UserFile.h"

#include <QDir>

#include <algorithm>
#include <array>

#include <windows.h>

namespace {

const wchar_t* wide(const QString& text)
{
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

// Names the system keeps for devices in every folder, with or without an extension.
bool isDeviceName(QStringView name)
{
    static constexpr std::array<const char16_t*, 4> Fixed{u"CON", u"PRN", u"AUX", u"NUL"};
    const qsizetype dot = name.indexOf(u'.');
    QStringView stem = (dot < 0 ? name : name.left(dot)).trimmed();
    if (std::any_of(Fixed.begin(), Fixed.end(), [&](const char16_t* device) {
            return stem.compare(QStringView(device), Qt::CaseInsensitive) == 0;
        }))
        return true;
    return stem.size() == 4 &&
           (stem.startsWith(u"COM", Qt::CaseInsensitive) ||
            stem.startsWith(u"LPT", Qt::CaseInsensitive)) &&
           stem[3] >= u'1' && stem[3] <= u'9';
}

QStringView lastComponent(const QString& path)
{
    const qsizetype cut =
        std::max({path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'), path.lastIndexOf(u':')});
    return QStringView(path).sliced(cut + 1);
}

bool isNullDeviceName(const QString& path)
{
    const QStringView name = lastComponent(path);
    const qsizetype dot = name.indexOf(u'.');
    return (dot < 0 ? name : name.left(dot)).trimmed().compare(u"NUL", Qt::CaseInsensitive) == 0;
}

// Device paths ("\\.\pipe\x", "COM1") and reserved names name no file, whatever the folder.
bool namesDevice(const QString& path)
{
    return path.startsWith(u"\\\\.\\") || path.startsWith(u"//./") ||
           isDeviceName(lastComponent(path));
}

void raiseUnlessAccepted(const QString& path, const QString& displayName)
{
    const PathKind kind = pathKind(path);
    if (kind == PathKind::Folder || kind == PathKind::Other)
        throw NotRegularFileError(displayName);
}

OpenedUserFile openWith(const QString& path, DWORD access, DWORD disposition,
                        const QString& displayName)
{
    raiseUnlessAccepted(path, displayName);
    OpenedUserFile opened;
    // Shared every way, so that other programs can read the log meanwhile and the viewer does not
    // keep the log from being cleared. Not inheritable: started programs get no handle of ours.
    // Overlapped is never asked for, and pipes are refused above, so nothing here can block.
    HANDLE handle = ::CreateFileW(wide(QDir::toNativeSeparators(path)), access,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        opened.error = static_cast<int>(::GetLastError());
        return opened;
    }
    opened.file = FileHandle(handle);
    const DWORD type = ::GetFileType(handle);
    if (type == FILE_TYPE_CHAR && isNullDeviceName(path)) {
        opened.isNullDevice = true;
        return opened;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (type != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        throw NotRegularFileError(displayName);
    return opened;
}

DWORD accessOf(FileAccess access)
{
    switch (access) {
    case FileAccess::Read:
        return GENERIC_READ;
    case FileAccess::Append:
        // Writing data too, so that a line the disk took only part of can be cut back.
        return FILE_APPEND_DATA | FILE_WRITE_DATA | SYNCHRONIZE | FILE_READ_ATTRIBUTES;
    case FileAccess::Write:
    case FileAccess::Create:
        return GENERIC_WRITE;
    }
    return GENERIC_READ;
}

bool setLength(HANDLE handle, qint64 length)
{
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = length;
    return ::SetFileInformationByHandle(handle, FileEndOfFileInfo, &end, sizeof end) != 0;
}

} // namespace

bool FileHandle::close()
{
    void* const handle = std::exchange(m_native, None);
    return handle == None || ::CloseHandle(handle) != 0;
}

void FileHandle::reset()
{
    if (m_native != None)
        ::CloseHandle(m_native);
    m_native = None;
}

NativePath nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

OpenedUserFile openUserFile(const NativePath& path, FileAccess access, const QString& displayName)
{
    const DWORD disposition = access == FileAccess::Create ? OPEN_ALWAYS : OPEN_EXISTING;
    return openWith(path, accessOf(access), disposition, displayName);
}

// Emptied in place: a name whose file another program still holds open cannot be given to a new
// file until that program lets go, so deleting first would fail while the log is being viewed.
OpenedUserFile recreateUserFile(const NativePath& path, const QString& displayName)
{
    OpenedUserFile opened = openWith(path, GENERIC_WRITE, OPEN_ALWAYS, displayName);
    if (opened.file.isValid() && !opened.isNullDevice && !setLength(opened.file.native(), 0)) {
        opened.error = static_cast<int>(::GetLastError());
        opened.file = FileHandle();
    }
    return opened;
}

PathKind pathKind(const NativePath& path)
{
    if (path.isEmpty())
        return PathKind::Missing;
    if (namesDevice(path))
        return isNullDeviceName(path) && !path.contains(u"pipe", Qt::CaseInsensitive)
                   ? PathKind::NullDevice
                   : PathKind::Other;
    // Wildcards would make a lookup match other names; no file can carry them.
    if (path.contains(u'*') || path.contains(u'?'))
        return PathKind::Missing;
    const DWORD attributes = ::GetFileAttributesW(wide(QDir::toNativeSeparators(path)));
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return PathKind::Missing;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return PathKind::Folder;
    return (attributes & FILE_ATTRIBUTE_DEVICE) != 0 ? PathKind::Other : PathKind::RegularFile;
}

bool writeAll(const FileHandle& file, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<qsizetype>(bytes.size(), 1 << 30));
        DWORD written = 0;
        if (!::WriteFile(file.native(), bytes.data(), chunk, &written, nullptr))
            return false;
        if (written == 0) {
            ::SetLastError(ERROR_DISK_FULL);
            return false;
        }
        bytes = bytes.sliced(written);
    }
    return true;
}

bool appendWhole(const FileHandle& file, QByteArrayView bytes)
{
    // An offset of all ones writes at the end of the file as it is at that moment, in one step,
    // whatever other programs append meanwhile.
    OVERLAPPED atEnd{};
    atEnd.Offset = 0xFFFFFFFF;
    atEnd.OffsetHigh = 0xFFFFFFFF;
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(bytes.size());
    if (::WriteFile(file.native(), bytes.data(), size, &written, &atEnd) && written == size)
        return true;
    const DWORD error = written == 0 && ::GetLastError() != 0 ? ::GetLastError() : ERROR_DISK_FULL;
    LARGE_INTEGER end{};
    if (written > 0 && ::GetFileSizeEx(file.native(), &end) && end.QuadPart >= written)
        (void)setLength(file.native(), end.QuadPart - written);
    ::SetLastError(written > 0 ? DWORD{ERROR_DISK_FULL} : error);
    return false;
}

bool readAll(const FileHandle& file, QByteArray& into)
{
    constexpr qsizetype Chunk = 1 << 16;
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file.native(), &size) && size.QuadPart > 0)
        into.reserve(static_cast<qsizetype>(size.QuadPart) + Chunk);
    for (;;) {
        const qsizetype start = into.size();
        into.resize(start + std::max<qsizetype>(into.capacity() - start, Chunk));
        const DWORD room = static_cast<DWORD>(std::min<qsizetype>(into.size() - start, 1 << 30));
        DWORD got = 0;
        const bool read = ::ReadFile(file.native(), into.data() + start, room, &got, nullptr);
        into.resize(start + static_cast<qsizetype>(got));
        if (!read)
            return ::GetLastError() == ERROR_HANDLE_EOF;
        if (got == 0)
            return true;
    }
}

qint64 readAt(const FileHandle& file, qint64 offset, char* into, qint64 max)
{
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(static_cast<quint64>(offset) & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(static_cast<quint64>(offset) >> 32);
    DWORD got = 0;
    const DWORD room = static_cast<DWORD>(std::min<qint64>(max, 1 << 30));
    if (::ReadFile(file.native(), into, room, &got, &at))
        return got;
    return ::GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
}

bool setFileLength(const FileHandle& file, qint64 length)
{
    return setLength(file.native(), length);
}

std::optional<qint64> fileLength(const FileHandle& file)
{
    if (::GetFileType(file.native()) == FILE_TYPE_CHAR)
        return 0;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.native(), &size))
        return std::nullopt;
    return size.QuadPart;
}

int lastFileError()
{
    return static_cast<int>(::GetLastError());
}

FileFailure fileFailure(int code)
{
    switch (static_cast<DWORD>(code)) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE:
        return FileFailure::NotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return FileFailure::AccessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE:
        return FileFailure::DiskFull;
    default:
        return FileFailure::Other;
    }
}

NativePath currentFolderPath()
{
    const DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
    if (needed == 0)
        return {};
    std::wstring folder(needed, L'\0');
    const DWORD length = ::GetCurrentDirectoryW(needed, folder.data());
    if (length == 0 || length >= needed)
        return {};
    return QString::fromWCharArray(folder.data(), static_cast<qsizetype>(length));
}

NativePath pathInFolder(const NativePath& folder, const QString& name)
{
    const QString native = QDir::toNativeSeparators(folder);
    return native.endsWith(u'\\') ? native + name : native + u'\\' + name;
}

// A drive ("C:", also "C:name", which is relative to that drive's own current folder and so
// names nothing in another folder) or a UNC or device prefix of two separators.
bool isAbsoluteFilePath(const QString& path)
{
    const auto isSeparator = [](QChar c) {
        return c == u'\\' || c == u'/';
    };
    const bool drive =
        path.size() >= 2 && path[1] == u':' &&
        ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z'));
    return drive || (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]));
}
