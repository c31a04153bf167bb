#pragma once

#include <QByteArray>
#include <QMutex>
#include <QString>

#include <cstdint>
#include <optional>

// Typed access to one INI file: the caller selects a section and reads or writes integers,
// strings, booleans and floating-point values by key, every read with a default. Nothing is
// cached: each operation reads the file, and each write rewrites it whole and atomically, so
// keys written before a failure stay written. Failures raise EStRegIniError.
//
// Names and values are handed to the file as UTF-8 and read back the same way. The path is
// used as given.
class TStRegIni {
public:
    // The store serves INI files only.
    enum class Mode { IniFile };

    // Raises error 2 for an empty path. The file need not exist.
    explicit TStRegIni(QString fileName, Mode mode = Mode::IniFile);

    TStRegIni(const TStRegIni&) = delete;
    TStRegIni& operator=(const TStRegIni&) = delete;

    [[nodiscard]] const QString& fileName() const { return m_fileName; }

    // The section that reads and writes address; empty until set.
    [[nodiscard]] const QString& CurrentSection() const { return m_currentSection; }
    void setCurrentSection(const QString& section) { m_currentSection = section; }

    // Reads yield the default for a missing file, section or key, an empty value, or a value
    // that does not parse in full.
    [[nodiscard]] QString ReadString(const QString& key, const QString& defaultValue) const;
    [[nodiscard]] std::int32_t ReadInteger(const QString& key, std::int32_t defaultValue) const;
    [[nodiscard]] bool ReadBoolean(const QString& key, bool defaultValue) const;
    [[nodiscard]] double ReadFloat(const QString& key, double defaultValue) const;

    // Writes raise error 7 when the file system refuses, and also, without touching the file,
    // for a section, key or value holding a line break or NUL (they would corrupt the file) and
    // for an infinite or NaN float (it has no written form).
    void WriteString(const QString& key, const QString& value);
    void WriteInteger(const QString& key, std::int32_t value);
    void WriteBoolean(const QString& key, bool value);
    void WriteFloat(const QString& key, double value);

    // True when the file holds a header for the section, even one without keys.
    [[nodiscard]] bool SectionExists(const QString& section) const;

    // Removes the first section of that name with all its lines. A missing file or section is
    // no error; a refused rewrite raises error 13.
    void EraseSection(const QString& section);

    // From here on writes and erases change a copy of the file's text that reads see too, and
    // commitUpdates() puts them into the file in one replacement: a save writes its job file
    // once, whole or not at all, instead of once per key. Raises error 7 when the file exists
    // but cannot be read.
    void beginUpdates();
    // Replaces the file with the gathered text; raises error 7, leaving the file as it was, when
    // that is refused. Without beginUpdates() it does nothing.
    void commitUpdates();

private:
    template <typename T, typename Parse>
    [[nodiscard]] T readValue(const QString& key, const T& defaultValue,
                              const QByteArray& defaultText, Parse parse) const;
    [[nodiscard]] std::optional<QByteArray> fileText() const;
    [[nodiscard]] std::optional<QByteArray> currentText() const;
    [[nodiscard]] bool replaceText(const QByteArray& text);
    void writeValue(const QString& key, const std::optional<QByteArray>& value);

    QString m_fileName;
    QString m_currentSection;
    mutable QMutex m_lock;
    std::optional<QByteArray> m_pending; // the gathered text between beginUpdates and commit
};
