#include "ProcessRows.h"

#include <algorithm>
#include <stdexcept>
#include <string>

ProcessRows ProcessRows::fromTable(const JobTable& table)
{
    ProcessRows rows;
    const int used = std::clamp(table.LastProc + 1, 0, static_cast<int>(table.ProcList.size()));
    for (int i = 0; i < used; ++i) {
        const ProcRec& entry = table.ProcList[static_cast<std::size_t>(i)];
        rows.m_rows.append({entry.Name, entry.Param});
    }
    return rows;
}

void ProcessRows::toTable(JobTable& table) const
{
    table.LastProc = -1;
    for (const ProcessRow& row : m_rows)
        table.ProcList[static_cast<std::size_t>(++table.LastProc)] = {row.program, row.parameters};
}

void ProcessRows::checkRow(int row) const
{
    if (row < 0 || row >= count())
        throw std::out_of_range("no process row " + std::to_string(row));
}

const ProcessRow& ProcessRows::at(int row) const
{
    checkRow(row);
    return m_rows[row];
}

void ProcessRows::add(const QString& program)
{
    if (isFull())
        throw std::length_error("the process list is full");
    m_rows.append({program, {}});
}

void ProcessRows::setParameters(int row, const QString& parameters)
{
    checkRow(row);
    m_rows[row].parameters = parameters;
}

void ProcessRows::remove(int row)
{
    checkRow(row);
    m_rows.removeAt(row);
}

int ProcessRows::moveAbove(int source, int target)
{
    checkRow(source);
    checkRow(target);
    // Taking the source out first shifts every row below it up by one, the target included.
    const int destination = target > source ? target - 1 : target;
    m_rows.move(source, destination);
    return destination;
}
