#pragma once

#include "JobTable.h"

#include <QList>
#include <QString>

// One row of the process list editor.
struct ProcessRow {
    QString program;
    QString parameters;

    friend bool operator==(const ProcessRow&, const ProcessRow&) = default;
};

// The rows the process list editor works on: a copy of the job table's process list that is
// edited freely and written back only when the user saves. Rows are addressed by their index
// alone, so two rows with the same program are never mistaken for each other. An index that
// names no row raises std::out_of_range.
class ProcessRows {
public:
    // The job table's limit: the editor refuses a 51st row.
    static constexpr int MaxRows = JobTable::MaxProcs;

    [[nodiscard]] static ProcessRows fromTable(const JobTable& table);
    // Replaces the table's list by the rows. Slots above the new end keep their strings, as the
    // table requires.
    void toTable(JobTable& table) const;

    [[nodiscard]] int count() const { return static_cast<int>(m_rows.size()); }
    [[nodiscard]] bool isFull() const { return count() >= MaxRows; }
    [[nodiscard]] const ProcessRow& at(int row) const;

    // Appends a row with empty parameters; raises std::length_error when the list is full.
    void add(const QString& program);
    void setParameters(int row, const QString& parameters);
    void remove(int row);
    // Moves the source row to just above the target row and returns where it now stands.
    // Onto itself, or onto the row just below it, the order stays as it was.
    [[nodiscard]] int moveAbove(int source, int target);

private:
    void checkRow(int row) const;

    QList<ProcessRow> m_rows;
};
