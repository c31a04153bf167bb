#include "StRegIni.h"

#include "AtomicFileWriter.h"
#include "ByteText.h"
#include "Errors.h"
#include "IniValueText.h"
#include "SystemError.h"
#include "UserFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QMutexLocker>
#include <QScopeGuard>

#include <utility>

namespace {

// The store's error numbers and messages that this program can raise.
struct Failure {
    int number;
    const char* text;
};
constexpr Failure NoFileError{
    2, QT_TRANSLATE_NOOP("TStRegIni", "No Ini File or Primary Key specified")};
constexpr Failure WriteError{7,
                             QT_TRANSLATE_NOOP("TStRegIni", "Failed to write value to INI file")};
constexpr Failure EraseError{
    13, QT_TRANSLATE_NOOP("TStRegIni", "Unable to delete section from INI file")};

[[noreturn]] void raise(const Failure& failure)
{
    throw EStRegIniError(failure.number, QCoreApplication::translate("TStRegIni", failure.text));
}

} // namespace

TStRegIni::TStRegIni(QString fileName)
    : m_fileName(std::move(fileName))
{
    if (m_fileName.isEmpty())
        raise(NoFileError);
}

void TStRegIni::load() const
{
    const QMutexLocker locker(&m_lock);
    static_cast<void>(readable());
}

// The default goes through the lookup as text: a default longer than the longest value is cut
// like a value, and an empty result always yields the default.
template <typename T, typename Parse>
T TStRegIni::readValue(const QString& key, const T& defaultValue, const QByteArray& defaultText,
                       Parse parse) const
{
    const QMutexLocker locker(&m_lock);
    const QByteArray text =
        readable().lookup(encodeText(m_currentSection), encodeText(key), defaultText);
    if (text.isEmpty())
        return defaultValue;
    return parse(text).value_or(defaultValue);
}

QString TStRegIni::ReadString(const QString& key, const QString& defaultValue) const
{
    return readValue(key, defaultValue, encodeText(defaultValue),
                     [](const QByteArray& text) { return std::optional(decodeBytes(text)); });
}

std::int32_t TStRegIni::ReadInteger(const QString& key, std::int32_t defaultValue) const
{
    return readValue(key, defaultValue, IniValueText::formatInteger(defaultValue),
                     IniValueText::parseInteger);
}

bool TStRegIni::ReadBoolean(const QString& key, bool defaultValue) const
{
    return readValue(key, defaultValue, IniValueText::formatBoolean(defaultValue),
                     IniValueText::parseBoolean);
}

double TStRegIni::ReadFloat(const QString& key, double defaultValue) const
{
    // An infinite or NaN default has no text; the empty text then yields it unchanged.
    return readValue(key, defaultValue,
                     IniValueText::formatFloat(defaultValue).value_or(QByteArray()),
                     IniValueText::parseFloat);
}

void TStRegIni::WriteString(const QString& key, const QString& value)
{
    writeValue(key, ProfileFile::protectedValue(encodeText(value)));
}

void TStRegIni::WriteInteger(const QString& key, std::int32_t value)
{
    writeValue(key, IniValueText::formatInteger(value));
}

void TStRegIni::WriteBoolean(const QString& key, bool value)
{
    writeValue(key, IniValueText::formatBoolean(value));
}

void TStRegIni::WriteFloat(const QString& key, double value)
{
    writeValue(key, IniValueText::formatFloat(value));
}

bool TStRegIni::SectionExists(const QString& section) const
{
    const QMutexLocker locker(&m_lock);
    return readable().hasSection(encodeText(section));
}

void TStRegIni::EraseSection(const QString& section)
{
    const QMutexLocker locker(&m_lock);
    ProfileFile* const file = changeable();
    if (!file || (file->eraseSection(encodeText(section)) && !store()))
        raise(EraseError);
}

void TStRegIni::beginUpdates()
{
    const QMutexLocker locker(&m_lock);
    if (!changeable())
        raise(WriteError);
    m_gathering = true;
}

void TStRegIni::commitUpdates()
{
    const QMutexLocker locker(&m_lock);
    if (std::exchange(m_gathering, false) && m_file && !replaceFile())
        raise(WriteError);
}

const ProfileFile& TStRegIni::readable() const
{
    if (const int error = readOnce())
        throw IoError(QCoreApplication::translate("TStRegIni", "Cannot read %1: %2.")
                          .arg(m_fileName, systemErrorText(error, m_fileName)));
    return *m_file;
}

// Null for a file that exists but cannot be read: it must not be replaced by one holding only
// the new key.
ProfileFile* TStRegIni::changeable()
{
    return readOnce() == 0 ? &*m_file : nullptr;
}

// Reads and parses the file unless that was done; returns 0, or the system's code for a file that
// exists but cannot be read. A path through a file that is no folder names no file at all.
int TStRegIni::readOnce() const
{
    if (m_file)
        return 0;
    m_inCodePage = false;
    OpenedUserFile opened = openUserFile(nativePath(m_fileName), FileAccess::Read, m_fileName);
    if (!opened.file.isValid()) {
        if (fileFailure(opened.error) != FileFailure::NotFound)
            return opened.error;
        m_file.emplace();
        return 0;
    }
    QByteArray bytes;
    if (!readAll(opened.file, bytes))
        return lastFileError();
    if (std::optional<QByteArray> utf8 = legacyTextAsUtf8(bytes)) {
        m_inCodePage = true;
        bytes = std::move(*utf8);
    }
    m_file.emplace(std::move(bytes));
    return 0;
}

// Into the store's copy only while updates are gathered, else into the file at once.
bool TStRegIni::store()
{
    return m_gathering || replaceFile();
}

bool TStRegIni::replaceFile()
{
    // What the file refused must not stay in the copy: the next access reads the file again.
    auto forget = qScopeGuard([this] { m_file.reset(); });
    if (!AtomicFileWriter(m_fileName).write(bytesToWrite()))
        return false;
    forget.dismiss();
    return true;
}

QByteArray TStRegIni::bytesToWrite()
{
    QByteArray bytes = m_file->bytes();
    if (!m_inCodePage)
        return bytes;
    if (std::optional<QByteArray> legacy = utf8AsLegacyText(bytes))
        return *legacy;
    m_inCodePage = false;
    m_file.emplace(ProfileFile::ByteOrderMark.toByteArray() + bytes);
    return m_file->bytes();
}

void TStRegIni::writeValue(const QString& key, const std::optional<QByteArray>& value)
{
    const QMutexLocker locker(&m_lock);
    const QByteArray section = encodeText(m_currentSection);
    const QByteArray name = encodeText(key);
    if (!value || !ProfileFile::fitsOnOneLine(section) || !ProfileFile::fitsOnOneLine(name) ||
        !ProfileFile::fitsOnOneLine(*value))
        raise(WriteError);
    ProfileFile* const file = changeable();
    if (!file)
        raise(WriteError);
    file->setValue(section, name, *value);
    if (!store())
        raise(WriteError);
}
