#include "StVersionInfo.h"

#include "ElfSection.h"
#include "Errors.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace {

// Opens the running program's own file even when it was replaced or deleted since it started.
constexpr auto RunningProgram = "/proc/self/exe";

[[noreturn]] void raise(const char* text)
{
    throw RunlatchError(QCoreApplication::translate("TStVersionInfo", text));
}

} // namespace

void TStVersionInfo::setFileName(const QString& name)
{
    if (!name.isEmpty() && !QFileInfo::exists(name))
        raise(ErrorOpening);
    if (name != m_fileName)
        m_values.reset();
    m_fileName = name;
}

QString TStVersionInfo::stringValue(const QString& key) const
{
    return values().strings.value(key);
}

const VersionBlockValues& TStVersionInfo::values() const
{
    if (!m_values)
        m_values = load();
    return *m_values;
}

VersionBlockValues TStVersionInfo::load() const
{
    const QString path = m_fileName.isEmpty() ? QString::fromLatin1(RunningProgram) : m_fileName;
    // Folders, pipes and devices carry no version; opening a pipe would even wait for a writer.
    if (!QFileInfo(path).isFile())
        raise(ErrorOpening);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        raise(ErrorOpening);

    const ElfSection section = ElfSection::find(file, VersionSectionName);
    if (section.outcome == ElfSection::Outcome::NotElf ||
        section.outcome == ElfSection::Outcome::Missing)
        raise(ErrorNoVersionInfo);
    if (section.outcome == ElfSection::Outcome::Found)
        if (auto values = decodeVersionBlock(section.contents))
            return std::move(*values);
    raise(ErrorUnreadable);
}
