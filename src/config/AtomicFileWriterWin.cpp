#include "AtomicFileWriter.h"

#include "UserFile.h"

#include <QDir>
#include <QRandomGenerator>

#include <algorithm>
#include <optional>

#include <windows.h>

// A save writes the new text to a temporary file beside the target, flushes it to the disk and
// then lets the system put it in the target's place with ReplaceFileW, which keeps the target's
// security descriptor, attributes and creation time. A temporary file is named
// ".<name>.<hex digits>.tmp" and held open without delete sharing while its save writes it, so a
// clean-up can delete only those that a killed save left behind.
//
// A symbolic link is replaced itself, not its target: the system's replace works on names.

namespace {

constexpr int MaxNameAttempts = 100;
// Room for the temporary name's prefix and suffix within the usual 255-character name limit.
constexpr qsizetype MaxTempBaseLength = 200;
constexpr QStringView TempSuffix(u".tmp");
constexpr qsizetype MaxTempDigits = 8;

const wchar_t* wide(const QString& text)
{
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

QString temporaryName(const QString& base, quint32 number)
{
    return u'.' + base + u'.' + QString::number(number, 16) + TempSuffix.toString();
}

bool isTemporaryName(QStringView name, QStringView base)
{
    const qsizetype digitsStart = base.size() + 2;
    const qsizetype digits = name.size() - digitsStart - TempSuffix.size();
    if (digits < 1 || digits > MaxTempDigits || !name.startsWith(u'.') ||
        name.sliced(1, base.size()).compare(base, Qt::CaseInsensitive) != 0 ||
        name[digitsStart - 1] != u'.' || !name.endsWith(TempSuffix, Qt::CaseInsensitive))
        return false;
    const QStringView hex = name.sliced(digitsStart, digits);
    return std::all_of(hex.begin(), hex.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f');
    });
}

// Deletes what killed saves of base left in folder. A save in progress holds its file open
// without delete sharing, so deleting it fails and it stays.
void removeAbandoned(const QString& folder, const QString& base)
{
    if (base.size() > MaxTempBaseLength)
        return;
    WIN32_FIND_DATAW found{};
    const QString pattern =
        folder + QStringLiteral("\\.") + base + QStringLiteral(".*") + TempSuffix.toString();
    HANDLE search = ::FindFirstFileW(wide(pattern), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const QString name = QString::fromWCharArray(found.cFileName);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && isTemporaryName(name, base))
            ::DeleteFileW(wide(folder + u'\\' + name));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

// A new file beside the target, deleted again unless the replace has taken it.
class TemporaryFile {
public:
    TemporaryFile(const QString& folder, const QString& base)
    {
        for (int attempt = 0; attempt < MaxNameAttempts && !m_file.isValid(); ++attempt) {
            m_path = folder + u'\\' + temporaryName(base, QRandomGenerator::global()->generate());
            HANDLE handle = ::CreateFileW(wide(m_path), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (handle != INVALID_HANDLE_VALUE) {
                m_file = FileHandle(handle);
            } else if (::GetLastError() != ERROR_FILE_EXISTS) {
                m_error = ::GetLastError();
                break;
            }
        }
        if (!m_file.isValid())
            m_path.clear();
    }
    ~TemporaryFile()
    {
        m_file = FileHandle();
        if (!m_path.isEmpty() && !m_placed)
            ::DeleteFileW(wide(m_path));
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    [[nodiscard]] bool isOpen() const { return m_file.isValid(); }
    // Whether the folder refused this user a new file, as a shared or system folder does.
    [[nodiscard]] bool folderRefused() const { return m_error == ERROR_ACCESS_DENIED; }
    [[nodiscard]] const QString& path() const { return m_path; }

    // The data must be on the disk before the replace can make it the file.
    [[nodiscard]] bool write(const QByteArray& contents)
    {
        return writeAll(m_file, contents) && ::FlushFileBuffers(m_file.native()) && m_file.close();
    }

    void placed() { m_placed = true; }

private:
    QString m_path;
    FileHandle m_file;
    DWORD m_error = ERROR_SUCCESS;
    bool m_placed = false;
};

// Written over from its start and only then cut to the new length, so that the file is never
// seen empty. Lengthening it first takes the room for the new text, so that a full disk refuses
// the save before any byte changes.
bool rewriteInPlace(const FileHandle& file, const QByteArray& contents)
{
    const std::optional<qint64> length = fileLength(file);
    return length && setFileLength(file, std::max<qint64>(*length, contents.size())) &&
           writeAll(file, contents) && setFileLength(file, contents.size()) &&
           ::FlushFileBuffers(file.native());
}

// Puts the new file in place of the old one. The old file is kept under a temporary name until
// the new one has its place, so that a replace the system gives up half-way can be undone.
bool replace(const QString& target, TemporaryFile& replacement, const QString& folder,
             const QString& base)
{
    const QString backup =
        folder + u'\\' + temporaryName(base, QRandomGenerator::global()->generate());
    if (::ReplaceFileW(wide(target), wide(replacement.path()), wide(backup),
                       REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        replacement.placed();
        ::DeleteFileW(wide(backup));
        return true;
    }
    // The old file was moved away but the new one could not take its name: the old one goes back.
    if (::GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        ::MoveFileExW(wide(backup), wide(target), MOVEFILE_WRITE_THROUGH);
    return false;
}

} // namespace

AtomicFileWriter::AtomicFileWriter(QString path)
    : m_path(std::move(path))
{}

bool AtomicFileWriter::write(const QByteArray& contents) const
{
    const NativePath target = nativePath(m_path);
    if (target.isEmpty() || target.endsWith(u'\\') || target.endsWith(u':'))
        return false;

    // Opening the old file to write asks the system whether this user may change it, and
    // refuses what is no regular file without blocking.
    OpenedUserFile old = openUserFile(target, FileAccess::Write, m_path);
    if (old.isNullDevice)
        return writeAll(old.file, contents);
    const bool exists = old.file.isValid();
    if (!exists && static_cast<DWORD>(old.error) != ERROR_FILE_NOT_FOUND)
        return false;
    // A read-only file refuses the save even where the system would let this user replace it.
    if (exists && (::GetFileAttributesW(wide(target)) & FILE_ATTRIBUTE_READONLY) != 0)
        return false;

    const qsizetype cut = target.lastIndexOf(u'\\');
    const QString folder = cut < 0 ? QStringLiteral(".") : target.left(cut);
    const QString base = target.mid(cut + 1);
    removeAbandoned(folder, base);
    TemporaryFile temporary(folder, base.left(MaxTempBaseLength));
    if (!temporary.isOpen())
        return exists && temporary.folderRefused() && rewriteInPlace(old.file, contents);
    // Nothing of ours may hold the old file while the system replaces it.
    old.file = FileHandle();
    if (!temporary.write(contents))
        return false;
    if (exists)
        return replace(target, temporary, folder, base.left(MaxTempBaseLength));
    if (!::MoveFileExW(wide(temporary.path()), wide(target), MOVEFILE_WRITE_THROUGH))
        return false;
    temporary.placed();
    return true;
}
