#include "StRegIni.h"

#include "AtomicFileWriter.h"
#include "Errors.h"
#include "IniValueText.h"
#include "ProfileFile.h"

#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>

#include <utility>

namespace {

// The entries of the store's message table that this system can meet.
struct Failure {
    int number;
    const char* text;
};
constexpr Failure NoFileError{2, "No Ini File or Primary Key specified"};
constexpr Failure WriteError{7, "Failed to write value to INI file"};
constexpr Failure EraseError{13, "Unable to delete section from INI file"};

[[noreturn]] void raise(const Failure& failure)
{
    throw EStRegIniError(failure.number, QString::fromLatin1(failure.text));
}

} // namespace

TStRegIni::TStRegIni(QString fileName, [[maybe_unused]] Mode mode)
    : m_fileName(std::move(fileName))
{
    if (m_fileName.isEmpty())
        raise(NoFileError);
}

// The default goes through the lookup as text, as the profile functions take it: a default longer
// than the longest value is cut like a value, and an empty result always yields the default.
template <typename T, typename Parse>
T TStRegIni::readValue(const QString& key, const T& defaultValue, const QByteArray& defaultText,
                       Parse parse) const
{
    const QMutexLocker locker(&m_lock);
    const QByteArray text = ProfileFile(currentText().value_or(QByteArray()))
                                .lookup(m_currentSection.toUtf8(), key.toUtf8(), defaultText);
    if (text.isEmpty())
        return defaultValue;
    return parse(text).value_or(defaultValue);
}

QString TStRegIni::ReadString(const QString& key, const QString& defaultValue) const
{
    return readValue(key, defaultValue, defaultValue.toUtf8(),
                     [](const QByteArray& text) { return std::optional(QString::fromUtf8(text)); });
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
    writeValue(key, value.toUtf8());
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
    return ProfileFile(currentText().value_or(QByteArray())).hasSection(section.toUtf8());
}

void TStRegIni::EraseSection(const QString& section)
{
    const QMutexLocker locker(&m_lock);
    const auto text = currentText();
    if (!text)
        raise(EraseError);
    ProfileFile file(*text);
    if (file.eraseSection(section.toUtf8()) && !replaceText(file.bytes()))
        raise(EraseError);
}

void TStRegIni::beginUpdates()
{
    const QMutexLocker locker(&m_lock);
    m_pending = fileText();
    if (!m_pending)
        raise(WriteError);
}

void TStRegIni::commitUpdates()
{
    const QMutexLocker locker(&m_lock);
    if (!m_pending)
        return;
    const QByteArray text = *std::exchange(m_pending, std::nullopt);
    if (!AtomicFileWriter(m_fileName).write(text))
        raise(WriteError);
}

std::optional<QByteArray> TStRegIni::currentText() const
{
    return m_pending ? m_pending : fileText();
}

// Into the gathered text while updates are gathered, else into the file at once.
bool TStRegIni::replaceText(const QByteArray& text)
{
    if (m_pending) {
        m_pending = text;
        return true;
    }
    return AtomicFileWriter(m_fileName).write(text);
}

// The text of an existing file, empty for a missing one, nullopt for one that exists but cannot
// be read: that one must not be replaced by a file holding only the new key.
std::optional<QByteArray> TStRegIni::fileText() const
{
    const QFileInfo info(m_fileName);
    if (!info.exists())
        return QByteArray();
    // A folder, a pipe or a device is no INI file, and reading a pipe could block.
    if (!info.isFile())
        return std::nullopt;
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return text;
}

void TStRegIni::writeValue(const QString& key, const std::optional<QByteArray>& value)
{
    const QMutexLocker locker(&m_lock);
    const QByteArray section = m_currentSection.toUtf8();
    const QByteArray name = key.toUtf8();
    if (!value || !ProfileFile::fitsOnOneLine(section) || !ProfileFile::fitsOnOneLine(name) ||
        !ProfileFile::fitsOnOneLine(*value))
        raise(WriteError);
    const auto text = currentText();
    if (!text)
        raise(WriteError);
    ProfileFile file(*text);
    file.setValue(section, name, *value);
    if (!replaceText(file.bytes()))
        raise(WriteError);
}
