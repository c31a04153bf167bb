#include "StVersionInfo.h"

#include "VersionResource.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>

#include <string>
#include <vector>

#include <windows.h>
#include <winver.h>

namespace {

// The running program's path, however long: a path that fills the buffer may have been cut.
QString runningProgram()
{
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0)
            return {};
        if (length < name.size())
            return QString::fromWCharArray(name.data(), static_cast<qsizetype>(length));
        name.resize(name.size() * 2);
    }
}

// Why GetFileVersionInfoSizeW found nothing. A file without the resource, or one that is no
// program at all, carries no version; a file that cannot be opened is an opening error, as on
// Linux.
const char* sizeError(DWORD error)
{
    switch (error) {
    case ERROR_RESOURCE_TYPE_NOT_FOUND:
    case ERROR_RESOURCE_DATA_NOT_FOUND:
    case ERROR_RESOURCE_NAME_NOT_FOUND:
    case ERROR_RESOURCE_LANG_NOT_FOUND:
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_BAD_FORMAT:
        return TStVersionInfo::ErrorNoVersionInfo;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return TStVersionInfo::ErrorOpening;
    default:
        return TStVersionInfo::ErrorUnreadable;
    }
}

} // namespace

VersionBlockValues TStVersionInfo::load() const
{
    const QString path = m_fileName.isEmpty() ? runningProgram() : m_fileName;
    // A folder or a device carries no version, and the version functions would only say that
    // they found no resource.
    if (!QFileInfo(path).isFile())
        raise(ErrorOpening);
    const std::wstring name = QDir::toNativeSeparators(path).toStdWString();

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(name.c_str(), &ignored);
    if (size == 0)
        raise(sizeError(GetLastError()));
    QByteArray block(static_cast<qsizetype>(size), '\0');
    if (!GetFileVersionInfoW(name.c_str(), 0, size, block.data()))
        raise(ErrorUnreadable);
    if (auto values = decodeVersionResource(block))
        return std::move(*values);
    raise(ErrorUnreadable);
}
