#pragma once

#include <QDialog>

class ActivityLog;
class LogView;
class LogWatch;
class Prompts;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
struct MainFlags;

// View > Log: a window of its own beside the main window, showing the activity log file from its
// newest lines and the lines runs append as they come, with a context menu to close it or to
// clear the log, and a find bar (Ctrl+F, F3, Shift+F3). It is not modal: a run that waits for a
// program goes on while it is open. The text is a view over the file, not a copy of it, and
// cannot be edited.
class TRunlatchLogForm : public QDialog {
    Q_OBJECT

public:
    // Shown when Clear is asked for while a run may still append to the log.
    static constexpr auto RunInProgressText =
        QT_TRANSLATE_NOOP("TRunlatchLogForm", "A run is in progress, so the log was not cleared.");

    // The flags are read at the moment of Clear: a run can start while the window is open.
    TRunlatchLogForm(ActivityLog& log, const MainFlags& flags, Prompts& prompts,
                     QWidget* parent = nullptr);

    // The whole of View > Log: shows owner's one viewer, made and filled now unless it is open
    // already, raises it and returns; it closes when owner closes. Raises IoError "Cannot open
    // file Runlatch.log" when the log cannot be read; no window is shown then.
    static void Log1Click(QWidget& owner, ActivityLog& log, const MainFlags& flags,
                          Prompts& prompts);

    // Shows the log file in Memo2 at its last line, replacing anything there. Raises IoError.
    void loadLog();

    void Close1Click();
    // Shows the find bar with its text selected.
    void showFind();
    // Finds the find bar's text after the selection, or before it.
    void findNext(bool backward = false);
    // Deletes and re-creates the log empty, then empties Memo2; errors go to the general error
    // display and leave Memo2 as it was.
    void Clear1Click();

private:
    void placeBeside(const QWidget& owner);
    void createWidgets();
    QWidget* createFindBar();
    void createMenu();
    void clearLog();
    // Shows the lines appended to the log, or the log afresh when it is another file now.
    void followLog();
    void reloadLog();
    void showFindResult(bool found, bool wrapped);
    bool eventFilter(QObject* watched, QEvent* event) override;

    ActivityLog& m_log;
    const MainFlags& m_flags;
    Prompts& m_prompts;

    LogWatch* m_watch;
    // False while there is no log to show, between a deletion and the new file.
    bool m_showsFile = false;

    LogView* m_memo2 = nullptr;
    QMenu* m_popupMenu1 = nullptr;
    QWidget* m_findBar = nullptr;
    QLineEdit* m_findEdit = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QLabel* m_findStatus = nullptr;
};
