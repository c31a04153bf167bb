#pragma once

#include "JobTable.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstddef>

// Job tables and job file texts for tests.

struct JobEntry {
    QString name;
    QString param;
};

// The Processes section as a save writes it: entries numbered from 01, a Param line only for an
// entry that has parameters, CR LF line ends.
[[nodiscard]] inline QByteArray processesSection(const QList<JobEntry>& entries)
{
    QByteArray text = "[Processes]\r\nCount=" + QByteArray::number(entries.size()) + "\r\n";
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QByteArray nn = QByteArray::number(i + 1).rightJustified(2, '0');
        text += nn + "Name=" + entries[i].name.toUtf8() + "\r\n";
        if (!entries[i].param.isEmpty())
            text += nn + "Param=" + entries[i].param.toUtf8() + "\r\n";
    }
    return text;
}

// Appends an entry to the table's list.
inline void addEntry(JobTable& table, const QString& name, const QString& param = {})
{
    table.ProcList[static_cast<std::size_t>(++table.LastProc)] = {name, param};
}

// The table's used entries, each as "name|param".
[[nodiscard]] inline QStringList entriesOf(const JobTable& table)
{
    QStringList result;
    for (int i = 0; i <= table.LastProc; ++i) {
        const ProcRec& entry = table.ProcList[static_cast<std::size_t>(i)];
        result << entry.Name + u'|' + entry.Param;
    }
    return result;
}
