#pragma once

#include "VersionBlock.h"

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <optional>

// Reads the version information that a Runlatch program file carries: on Linux the version block
// in its ELF section, on Windows its VERSIONINFO resource. Either gives the fixed part (file and
// product versions) and the string table. Nothing is read until the first value is asked for;
// then everything is loaded at once and kept until FileName changes.
//
// Every failure raises RunlatchError with one of the texts below.
class TStVersionInfo {
public:
    static constexpr auto ErrorOpening = QT_TRANSLATE_NOOP("TStVersionInfo", "Error opening file");
    static constexpr auto ErrorNoVersionInfo =
        QT_TRANSLATE_NOOP("TStVersionInfo", "File does not contain version info");
    static constexpr auto ErrorUnreadable =
        QT_TRANSLATE_NOOP("TStVersionInfo", "Unable to read version info");

    // The file read; empty stands for the running program.
    [[nodiscard]] const QString& FileName() const { return m_fileName; }
    // Raises ErrorOpening for a name that is not empty and names nothing that exists.
    void setFileName(const QString& name);

    // Each 32-bit word holds a high and a low 16-bit part: MS = parts 1 and 2, LS = parts 3 and 4.
    [[nodiscard]] std::uint32_t FileVersionMS() const { return values().fileVersionMS; }
    [[nodiscard]] std::uint32_t FileVersionLS() const { return values().fileVersionLS; }
    [[nodiscard]] std::uint32_t ProductVersionMS() const { return values().productVersionMS; }
    [[nodiscard]] std::uint32_t ProductVersionLS() const { return values().productVersionLS; }

    [[nodiscard]] QString LegalCopyright() const
    {
        return stringValue(QStringLiteral("LegalCopyright"));
    }
    [[nodiscard]] QString LegalTrademarks() const
    {
        return stringValue(QStringLiteral("LegalTrademarks"));
    }
    // A value of the string table; empty when the key is missing.
    [[nodiscard]] QString stringValue(const QString& key) const;

private:
    const VersionBlockValues& values() const;
    // Each platform's file defines it: StVersionInfoElf.cpp or StVersionInfoWin.cpp.
    [[nodiscard]] VersionBlockValues load() const;
    [[noreturn]] static void raise(const char* text);

    QString m_fileName;
    // The cache, filled by the first request; reading is logically const.
    mutable std::optional<VersionBlockValues> m_values;
};
