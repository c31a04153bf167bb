#pragma once

#include "EditorDialog.h"
#include "ProcessRows.h"

#include <functional>

class Prompts;
class QAction;
class QFrame;
class QKeyEvent;
class QMenu;
class QTableWidget;
struct JobTable;

// The process list editor: the user adds programs, sets their parameters, deletes rows and
// reorders them by dragging or with Alt+Up and Alt+Down, all on a copy of the job table's list
// that replaces the table's only on Save. Commands come from the list's context menu, opened by
// a right click, Shift+F10 or the Menu key.
class TRunlatchParamForm : public EditorDialog {
    Q_OBJECT

public:
    explicit TRunlatchParamForm(Prompts& prompts, QWidget* parent = nullptr);

    // Configure > Processes: shows the table's list modally; on Save writes the rows back and
    // marks the table modified, even when nothing was changed.
    void Parameters1Click(JobTable& table);

protected:
    // The list's mouse handling (hot tracking, moving rows by dragging) and its keys.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createWidgets();
    void createMenu();
    QAction* addMenuItem(const QString& name, const QString& caption);
    void connectCommand(QAction* action, const std::function<void()>& handler);

    void Add1Click();
    void ChangeParameter1Click();
    void Delete1Click();
    void ListView1MouseDown(QPoint pos);
    void ListView1DragDrop(QPoint pos);
    void hotTrack(QPoint pos);
    void showDropIndicator(int target);
    [[nodiscard]] bool listKeyPressed(const QKeyEvent& key);
    void moveSelectedRow(int step);
    void openMenuFromKeyboard();

    void showRows();
    void fitProcessColumn();
    void selectAndShow(int row);
    [[nodiscard]] int selectedRow() const;
    [[nodiscard]] int rowAt(QPoint viewportPos) const;

    Prompts& m_prompts;
    ProcessRows m_rows;
    QTableWidget* m_listView1 = nullptr;
    QMenu* m_popupMenu1 = nullptr;
    QFrame* m_dropIndicator = nullptr;
    // The row a left-button press began a drag on, -1 while no drag is under way.
    int m_dragSource = -1;
    // Where Add Process starts: the folder of the program added last, or else the job file's.
    QString m_programFolder;
    QString m_jobFolder;
};
