#pragma once

#include <QDialog>

class ActivityLog;
class Prompts;
class QMenu;
class QPlainTextEdit;
struct MainFlags;

// View > Log: a modal window showing the activity log file as it was when the window opened,
// with a context menu to close it or to clear the log. A fresh window is built for every
// opening, so lines a run appends meanwhile show only the next time.
class TRunlatchLogForm : public QDialog {
    Q_OBJECT

public:
    // Shown when Clear is asked for while a run may still append to the log.
    static constexpr auto RunInProgressText = "A run is in progress, so the log was not cleared.";

    // The flags are read at the moment of Clear: a timer can start a run while the window is open.
    TRunlatchLogForm(ActivityLog& log, const MainFlags& flags, Prompts& prompts,
                     QWidget* parent = nullptr);

    // The whole of View > Log. Raises IoError "Cannot open file Runlatch.log" when the log
    // cannot be read; no window is shown then.
    static void Log1Click(QWidget* owner, ActivityLog& log, const MainFlags& flags,
                          Prompts& prompts);

    // Replaces Memo2's text with the whole log file, read as UTF-8. Raises IoError.
    void loadLog();

    void Close1Click();
    // Deletes and re-creates the log empty, then empties Memo2; errors go to the general error
    // display and leave Memo2 as it was.
    void Clear1Click();

private:
    void createWidgets();
    void createMenu();
    void clearLog();

    ActivityLog& m_log;
    const MainFlags& m_flags;
    Prompts& m_prompts;

    QPlainTextEdit* m_memo2 = nullptr;
    QMenu* m_popupMenu1 = nullptr;
};
