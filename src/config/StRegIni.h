#pragma once

#include "ProfileFile.h"

#include <QByteArray>
#include <QMutex>
#include <QString>

#include <cstdint>
#include <optional>

// Typed access to one INI file: the caller selects a section and reads or writes integers,
// strings, booleans and floating-point values by key, every read with a default. The file is
// read once, on the store's first access, and every later read is served from that one version,
// so a load never sees a mix of an old and a new file. Each write rewrites the file whole and
// atomically, so keys written before a failure stay written. Failures raise EStRegIniError.
//
// Only a regular file or the null device is read or written: anything else raises
// NotRegularFileError, without blocking and without changing anything. A missing file reads as
// empty; one that exists but cannot be read raises IoError from a read, error 7 from a write
// and error 13 from an erase.
//
// Names and values are bytes in the file and text here: valid UTF-8 is decoded as such, and
// every other byte comes back as the same byte when written (see ByteText.h). Where the system
// has a legacy code page (Windows), a file that is not UTF-8 is read in it and saved back in it;
// a save that needs a character the code page lacks turns the whole file into UTF-8 with a
// byte-order mark instead, so that nothing is lost and the next read knows it.
//
// Each operation holds the store's lock, as the reads fill the store's copy of the file: one
// store may be shared between threads.
class TStRegIni {
public:
    // Raises error 2 for an empty path. The file need not exist.
    explicit TStRegIni(QString fileName);

    TStRegIni(const TStRegIni&) = delete;
    TStRegIni& operator=(const TStRegIni&) = delete;

    [[nodiscard]] const QString& fileName() const { return m_fileName; }

    // The section that reads and writes address; empty until set.
    [[nodiscard]] const QString& CurrentSection() const { return m_currentSection; }
    void setCurrentSection(const QString& section) { m_currentSection = section; }

    // Reads the file now, unless that was done already: a caller that must not change anything
    // before it knows that the file can be read calls this first. Raises as a read does.
    void load() const;

    // Reads yield the default for a missing file, section or key, an empty value, or a value
    // that does not parse in full.
    [[nodiscard]] QString ReadString(const QString& key, const QString& defaultValue) const;
    [[nodiscard]] std::int32_t ReadInteger(const QString& key, std::int32_t defaultValue) const;
    [[nodiscard]] bool ReadBoolean(const QString& key, bool defaultValue) const;
    [[nodiscard]] double ReadFloat(const QString& key, double defaultValue) const;

    // Writes raise error 7 when the file system refuses, and also, without touching the file,
    // for a section, key or value holding a line break or NUL (they would corrupt the file) and
    // for an infinite or NaN float (it has no written form). A string that reading would change
    // (blanks or a pair of quotes at its ends) is written in one more pair of double quotes, so
    // that it reads back as it was, unless the quotes would take it past the longest value a read
    // returns.
    void WriteString(const QString& key, const QString& value);
    void WriteInteger(const QString& key, std::int32_t value);
    void WriteBoolean(const QString& key, bool value);
    void WriteFloat(const QString& key, double value);

    // True when the file holds a header for the section, even one without keys.
    [[nodiscard]] bool SectionExists(const QString& section) const;

    // Removes every section of that name with all its lines, so that no key of a second copy
    // stays behind. A missing file or section is no error; a refused rewrite raises error 13.
    void EraseSection(const QString& section);

    // From here on writes and erases change only the store's copy of the file, which reads see
    // too, and commitUpdates() puts them into the file in one replacement: a save writes its job
    // file once, whole or not at all, instead of once per key. Raises error 7 when the file
    // exists but cannot be read.
    void beginUpdates();
    // Replaces the file with the gathered text; raises error 7, leaving the file as it was, when
    // that is refused. Without beginUpdates() it does nothing.
    void commitUpdates();

private:
    template <typename T, typename Parse>
    [[nodiscard]] T readValue(const QString& key, const T& defaultValue,
                              const QByteArray& defaultText, Parse parse) const;
    [[nodiscard]] const ProfileFile& readable() const;
    [[nodiscard]] ProfileFile* changeable();
    [[nodiscard]] int readOnce() const;
    [[nodiscard]] bool store();
    [[nodiscard]] bool replaceFile();
    // The file's text as it goes to the disk: in the code page it was read in, when it fits.
    [[nodiscard]] QByteArray bytesToWrite();
    void writeValue(const QString& key, const std::optional<QByteArray>& value);

    QString m_fileName;
    QString m_currentSection;
    mutable QMutex m_lock;
    mutable std::optional<ProfileFile> m_file; // the file as read, with the edits made since
    mutable bool m_inCodePage = false;         // m_file was read from the legacy code page
    bool m_gathering = false;                  // between beginUpdates and commitUpdates
};
