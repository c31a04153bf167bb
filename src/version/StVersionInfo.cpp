#include "StVersionInfo.h"

#include "Errors.h"

#include <QCoreApplication>
#include <QFileInfo>

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

void TStVersionInfo::raise(const char* text)
{
    throw RunlatchError(QCoreApplication::translate("TStVersionInfo", text));
}
