#include "StVersionInfo.h"

#include "ElfSection.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Opens the running program's own file even when it was replaced or deleted since it started.
constexpr auto RunningProgram = "/proc/self/exe";

} // namespace

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
