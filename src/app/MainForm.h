#pragma once

#include "ActivityLog.h"
#include "DeferringPrompts.h"
#include "FileCommands.h"
#include "JobTable.h"
#include "MainFlags.h"
#include "PlainTextMemo.h"
#include "ProcessingRun.h"
#include "Scheduler.h"

#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>

class Clock;
class DesktopNotifier;
class Prompts;
class QAction;
class QLabel;
class QPlainTextEdit;
class StatusPart;
class Timer;
class TrayIcon;

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

    // File > Process, chosen by the user: the user watches this run.
    void Process1Click();
    // A run the user did not start: a repeat tick or the delayed start (and so /R). When it goes
    // wrong, the desktop is told.
    void processUnattended();
    // File > Stop Run.
    void StopRun1Click();
    // File > Export Schedule: the saved job file's schedule to the system's scheduler.
    void ExportSchedule1Click();

    // The program's exit status: in auto-run mode 1 after a run in which a program could not be
    // started or ended otherwise than with 0, 4 after a run skipped because another process ran
    // the job file, else 0.
    [[nodiscard]] int exitStatus() const;

    [[nodiscard]] TrayIcon& trayIcon() { return *m_tray; }
    // Where the desktop's notifications go; tests put a stand-in here.
    void setNotifier(std::unique_ptr<DesktopNotifier> notifier);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

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
    void createTray();
    void showRunProgress();
    void runList(bool byHand);
    void runEnded(const RunProgress::End& end);
    // A job file was opened or a new one begun: the last run was another job's.
    void jobReplaced();
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
    // The run's errors: shown at once in a run the user started, after the run in any other.
    DeferringPrompts m_runPrompts;
    Scheduler m_scheduler;
    ProcessingRun m_run;
    FileCommands m_fileCommands;

    WindowCommands m_windowCommands;

    StatusPart* m_statusJobFile = nullptr;
    StatusPart* m_statusState = nullptr;
    StatusPart* m_statusLastRun = nullptr;
    QString m_runningText;
    QString m_lastRunText;
    QString m_lastRunToolTip;
    // The program the innermost run is at, for a notification of why it stopped.
    QString m_runningProgram;
    bool m_lastRunFailed = false;
    bool m_lastRunSkipped = false;
    bool m_caughtUp = false;
    bool m_statusUpdatePending = false;

    // Runs under way, nested ones included; the flag alone cannot tell, as a failed run leaves
    // it set.
    int m_runDepth = 0;
    // The innermost run was started by the user, who watches it.
    bool m_runByHand = true;
    QAction* m_process1 = nullptr;
    QAction* m_stopRun1 = nullptr;
    QAction* m_exit1 = nullptr;
    TrayIcon* m_tray = nullptr;
    std::unique_ptr<DesktopNotifier> m_notifier;
    // The window was asked to close during a run: it closes when the outermost run returns.
    bool m_closePending = false;
    bool m_closeAnswered = false;
};
