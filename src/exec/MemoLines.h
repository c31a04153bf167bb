#pragma once

#include <QString>

// The activity memo as a run sees it: a list of lines it can count, trim from the top and
// append to. The main window puts its text area behind it; tests use a plain list.
class MemoLines {
public:
    virtual ~MemoLines() = default;
    [[nodiscard]] virtual int count() const = 0;
    virtual void deleteFirst() = 0;
    virtual void append(const QString& line) = 0;
};
