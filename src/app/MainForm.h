#pragma once

#include "ActivityLog.h"
#include "FileCommands.h"
#include "JobTable.h"
#include "MainFlags.h"
#include "PlainTextMemo.h"
#include "ProcessingRun.h"
#include "Scheduler.h"

#include <QMainWindow>
#include <QStringList>

#include <functional>

class Clock;
class Prompts;
class QAction;
class QLabel;
class QPlainTextEdit;
class Timer;

// The main window: the menu that leads to every command, the activity memo, the two scheduler
// timers, and the program's state (job table and flags). It is the hub: its handlers only hand
// each menu command and timer tick to the code that does the work, through one error guard.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    // What File > Stop Run says when there is nothing to stop.
    static constexpr auto NoRunText = QT_TRANSLATE_NOOP("TMainForm", "No run is in progress.");

    // What the window needs from outside: where questions go, where "now" comes from, the
    // program's own folder (with its trailing "/") and the command-line arguments after the
    // program's path.
    struct Environment {
        Prompts& prompts;
        const Clock& clock;
        QString programDir;
        QStringList arguments;
    };

    explicit TMainForm(const Environment& environment, QWidget* parent = nullptr);
    ~TMainForm() override;

    [[nodiscard]] JobTable& jobTable() { return m_table; }
    [[nodiscard]] MainFlags& flags() { return m_flags; }
    [[nodiscard]] Scheduler& scheduler() { return m_scheduler; }
    [[nodiscard]] FileCommands& fileCommands() { return m_fileCommands; }
    [[nodiscard]] ActivityLog& activityLog() { return m_log; }

    // The commands of the windows that are built after the main window: View > Log,
    // Configure > Processes and Schedule, Help > Contents and About. A command left empty does
    // nothing.
    struct WindowCommands {
        std::function<void()> Log1Click;
        std::function<void()> Parameters1Click;
        std::function<void()> Schedule1Click;
        std::function<void()> Contents1Click;
        std::function<void()> About1Click;
    };

    // Gives the menu items their windows' commands, once those windows exist.
    void setWindowCommands(WindowCommands commands);

    void Process1Click();
    // File > Stop Run.
    void StopRun1Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    // Offers to save unsaved edits; false when the window must stay open to keep them.
    [[nodiscard]] bool FormClose();
    void createWidgets();
    void createMenu();
    QAction* addCommand(QMenu* menu, const QString& name, const QString& caption,
                        const std::function<void()>& handler);
    void addWindowCommand(QMenu* menu, const QString& name, const QString& caption,
                          std::function<void()> WindowCommands::*command);
    void addSeparator(QMenu* menu, const QString& name);
    void readCommandLine();
    void runGuarded(const std::function<void()>& body);
    void createStatusBar();
    void showRunProgress();
    // Every change the status bar shows comes through a command, a tick or a run's progress, so
    // it is brought up to date then and never polled.
    void updateStatus();
    void updateStatusSoon();

    Prompts& m_prompts;
    const Clock& m_clock;
    QString m_programDir;
    QStringList m_arguments;

    JobTable m_table;
    MainFlags m_flags;
    ActivityLog m_log;

    QLabel* m_label1 = nullptr;
    // Created here, before the members below that hold on to them.
    QPlainTextEdit* m_memo1;
    Timer* m_startTimer;
    Timer* m_elapsedTimer;

    PlainTextMemo m_memoLines;
    Scheduler m_scheduler;
    ProcessingRun m_run;
    FileCommands m_fileCommands;

    WindowCommands m_windowCommands;

    QLabel* m_statusJobFile = nullptr;
    QLabel* m_statusState = nullptr;
    QLabel* m_statusLastRun = nullptr;
    QString m_runningText;
    QString m_lastRunText;
    bool m_caughtUp = false;
    bool m_statusUpdatePending = false;

    // Runs under way, nested ones included; the flag alone cannot tell, as a failed run leaves
    // it set.
    int m_runDepth = 0;
    // The window was asked to close during a run: it closes when the outermost run returns.
    bool m_closePending = false;
    bool m_closeAnswered = false;
};
