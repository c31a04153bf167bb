#include "MainForm.h"

#include "Clock.h"
#include "DesktopNotifier.h"
#include "ErrorGuard.h"
#include "Prompts.h"
#include "ScheduleExport.h"
#include "ScopeExit.h"
#include "StartSwitches.h"
#include "StatusPart.h"
#include "StatusTexts.h"
#include "Timer.h"
#include "TrayIcon.h"
#include "UserFile.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

#include <utility>

TMainForm::TMainForm(const Environment& environment, QWidget* parent)
    : QMainWindow(parent)
    , m_prompts(environment.prompts)
    , m_clock(environment.clock)
    , m_programDir(environment.programDir)
    , m_arguments(environment.arguments)
    , m_memo1(new QPlainTextEdit(this))
    , m_startTimer(new Timer(this))
    , m_elapsedTimer(new Timer(this))
    , m_memoLines(*m_memo1)
    , m_runPrompts(m_prompts)
    , m_scheduler(m_table, m_flags, m_clock, *m_startTimer, *m_elapsedTimer,
                  [this] { processUnattended(); })
    , m_run(
          m_table, m_flags, m_memoLines, m_log, m_clock, [this] { m_scheduler.runEnded(); },
          m_runPrompts, [this] { close(); }, startAndWaitLauncher())
    , m_fileCommands(m_table, m_clock, m_prompts, m_scheduler, m_programDir)
{
    setObjectName(QStringLiteral("MainForm"));
    m_startTimer->setObjectName(QStringLiteral("StartTimer"));
    m_elapsedTimer->setObjectName(QStringLiteral("ElapsedTimer"));
    connect(m_startTimer, &Timer::timeout, this,
            [this] { runGuarded([this] { m_scheduler.StartTimerTimer(); }); });
    connect(m_elapsedTimer, &Timer::timeout, this,
            [this] { runGuarded([this] { m_scheduler.ElapsedTimerTimer(); }); });
    createWidgets();
    createMenu();
    createStatusBar();
    createTray();
    showRunProgress();
    runGuarded([this] { FormCreate(); });
}

TMainForm::~TMainForm() = default;

void TMainForm::runGuarded(const std::function<void()>& body)
{
    guarded(m_prompts, body);
    updateStatus();
}

void TMainForm::createWidgets()
{
    setWindowTitle(tr("Runlatch"));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    m_label1 = new QLabel(tr("Processing Activity"), central);
    m_label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = m_label1->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.5);
    m_label1->setFont(heading);
    layout->addWidget(m_label1);

    m_memo1->setParent(central);
    m_memo1->setObjectName(QStringLiteral("Memo1"));
    m_memo1->setAccessibleName(tr("Processing Activity"));
    m_memo1->setAccessibleDescription(
        tr("The newest lines of the runs: each program as it starts, and the end of "
           "each run. The log file keeps them all."));
    // Runs add lines for as long as the program runs; an undo history would keep every one.
    m_memo1->setUndoRedoEnabled(false);
    m_memo1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_memo1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Focused, the text cursor would blink and wake the program twice a second for as long as it
    // runs, mostly unattended; a click still puts the cursor in.
    m_memo1->setFocusPolicy(Qt::ClickFocus);
    layout->addWidget(m_memo1, 1);
    setCentralWidget(central);

    resize(600, 377);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QAction* TMainForm::addCommand(QMenu* menu, const QString& name, const QString& caption,
                               const std::function<void()>& handler)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, handler] { runGuarded(handler); });
    return action;
}

void TMainForm::addSeparator(QMenu* menu, const QString& name)
{
    menu->addSeparator()->setObjectName(name);
}

void TMainForm::createMenu()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("File1"));
    addCommand(file, QStringLiteral("Open1"), tr("&Open Ini"), [this] {
        if (m_fileCommands.Open1Click())
            jobReplaced();
    });
    addCommand(file, QStringLiteral("NewIni2"), tr("&New Ini"), [this] {
        if (m_fileCommands.NewIni2Click())
            jobReplaced();
    });
    addSeparator(file, QStringLiteral("N1"));
    m_process1 =
        addCommand(file, QStringLiteral("Process1"), tr("&Process"), [this] { Process1Click(); });
    m_stopRun1 =
        addCommand(file, QStringLiteral("StopRun1"), tr("S&top Run"), [this] { StopRun1Click(); });
    addSeparator(file, QStringLiteral("NewIni1"));
    addCommand(file, QStringLiteral("SaveIni1"), tr("&Save Ini"),
               [this] { m_fileCommands.SaveIni1Click(); });
    addCommand(file, QStringLiteral("SaveAsIni1"), tr("Save &As Ini"),
               [this] { m_fileCommands.SaveAsIni1Click(); });
    addCommand(file, QStringLiteral("ExportSchedule1"), tr("&Export Schedule..."),
               [this] { ExportSchedule1Click(); });
    addSeparator(file, QStringLiteral("N2"));
    m_exit1 = addCommand(file, QStringLiteral("Exit1"), tr("E&xit"), [this] { close(); });

    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("View1"));
    addWindowCommand(view, QStringLiteral("Log1"), tr("&Log"), &WindowCommands::Log1Click);

    QMenu* configure = menuBar()->addMenu(tr("&Configure"));
    configure->setObjectName(QStringLiteral("Configure1"));
    addWindowCommand(configure, QStringLiteral("Parameters1"), tr("&Processes"),
                     &WindowCommands::Parameters1Click);
    addWindowCommand(configure, QStringLiteral("Schedule1"), tr("&Schedule"),
                     &WindowCommands::Schedule1Click);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    addWindowCommand(help, QStringLiteral("Contents1"), tr("&Contents"),
                     &WindowCommands::Contents1Click);
    help->actions().constLast()->setShortcut(QKeySequence::HelpContents);
    addWindowCommand(help, QStringLiteral("About1"), tr("&About"), &WindowCommands::About1Click);
}

void TMainForm::addWindowCommand(QMenu* menu, const QString& name, const QString& caption,
                                 std::function<void()> WindowCommands::*command)
{
    addCommand(menu, name, caption, [this, command] {
        if (const auto& handler = m_windowCommands.*command)
            handler();
    });
}

void TMainForm::setWindowCommands(WindowCommands commands)
{
    m_windowCommands = std::move(commands);
}

void TMainForm::FormCreate()
{
    m_flags.RunInProgress = false;
    m_table.Modified = false;
    m_memo1->clear();
    m_flags.AutoRun = false;
    m_table.JobFileName.clear();
    m_table.LastProc = -1;
    m_table.DelayedStartTime = m_clock.nowDays();
    m_table.DelayedStart = false;
    m_log.PrepareLogFile();
    readCommandLine();

    if (jobFileExists(m_table.JobFileName)) {
        m_fileCommands.LoadIni(m_table.JobFileName);
        m_scheduler.armAtStartup();
    } else if (m_flags.AutoRun) {
        m_prompts.error(tr("%1 not found!").arg(m_table.JobFileName));
    }
}

void TMainForm::readCommandLine()
{
    const StartSwitches switches = StartSwitches::parse(m_arguments, m_programDir);
    m_flags.AutoRun = switches.autoRun;
    if (!switches.jobFile.isEmpty())
        m_table.JobFileName = switches.jobFile;
}

void TMainForm::ExportSchedule1Click()
{
    if (!m_fileCommands.offerToSave())
        return;
    if (m_table.JobFileName.isEmpty()) {
        m_prompts.error(tr("Save the job file first: the schedule is exported from it."));
        return;
    }
    // The units must run what a run without the window will read, not unsaved edits.
    const TDateTime now = m_clock.nowDays();
    const ExportTarget target = nativeExportTarget();
    const ExportPlan plan = planScheduleExport(target, readJobToExport(m_table.JobFileName, now),
                                               QCoreApplication::applicationFilePath(),
                                               defaultExportFolder(target), now);
    const QStringList existing = existingExportFiles(plan);
    if (!existing.isEmpty() &&
        !m_prompts.confirm(
            tr("Replace the schedule's files already there?\n%1").arg(existing.join(u'\n'))))
        return;
    writeScheduleExport(plan);
    QStringList written;
    for (const ExportFile& exported : plan.files)
        written << exported.path;
    m_prompts.information(tr("The schedule was written to:\n%1\n\nStart it with:\n%2")
                              .arg(written.join(u'\n'), plan.startCommand));
}

void TMainForm::processUnattended()
{
    runList(false);
}

void TMainForm::Process1Click()
{
    runList(true);
}

void TMainForm::runList(bool byHand)
{
    const bool outer = std::exchange(m_runByHand, byHand);
    const bool outerDeferring = m_runPrompts.setDeferring(!byHand);
    ++m_runDepth;
    const ScopeExit done([this, outer, outerDeferring] {
        m_runByHand = outer;
        m_runPrompts.setDeferring(outerDeferring);
        // A run nobody watched has ended, its flag clear and the schedule going on, before its
        // error is shown: a box waiting for OK holds no later run.
        if (const QString error = m_runPrompts.takeDeferred(); !error.isEmpty())
            m_prompts.generalErrorLater(error);
        // A close asked for during the run happens once the outermost run has returned, after
        // any error of the run has been shown.
        if (--m_runDepth == 0 && m_closePending)
            QMetaObject::invokeMethod(this, &TMainForm::close, Qt::QueuedConnection);
    });
    m_run.execute();
    // Quick programs give the event loop no turn during the run; its lines are shown now.
    m_memoLines.flush();
}

void TMainForm::StopRun1Click()
{
    if (!m_run.requestStop())
        m_prompts.information(tr(NoRunText));
}

void TMainForm::createStatusBar()
{
    const auto addPart = [this](const char* name, const QString& meaning, int stretch) {
        if (m_statusJobFile != nullptr) {
            auto* separator = new QFrame(statusBar());
            separator->setFrameShape(QFrame::VLine);
            separator->setFrameShadow(QFrame::Sunken);
            statusBar()->addWidget(separator);
        }
        auto* part = new StatusPart(QString::fromLatin1(name), meaning, statusBar());
        statusBar()->addWidget(part, stretch);
        return part;
    };
    m_statusJobFile = addPart("StatusJobFile", tr("Job file"), 0);
    m_statusState = addPart("StatusState", tr("Schedule"), 1);
    m_statusLastRun = addPart("StatusLastRun", tr("Last run"), 0);
}

void TMainForm::createTray()
{
    m_tray = new TrayIcon(*this, {m_process1, m_stopRun1, m_exit1});
    m_notifier = DesktopNotifier::create(*m_tray->systemTrayIcon());
    connect(m_notifier.get(), &DesktopNotifier::clicked, m_tray, &TrayIcon::showWindow);
}

void TMainForm::setNotifier(std::unique_ptr<DesktopNotifier> notifier)
{
    m_notifier = std::move(notifier);
    connect(m_notifier.get(), &DesktopNotifier::clicked, m_tray, &TrayIcon::showWindow);
}

int TMainForm::exitStatus() const
{
    // As a run without a window reports it: 1 for a failed program, 4 for a run another
    // Runlatch held off.
    if (!m_flags.AutoRun)
        return 0;
    return m_lastRunSkipped ? 4 : m_lastRunFailed ? 1 : 0;
}

void TMainForm::showRunProgress()
{
    RunProgress progress;
    progress.entryStarted = [this](int entry, int count, const QString& program) {
        if (entry == 1 && m_scheduler.lastRunCaughtUp()) {
            m_caughtUp = true;
            m_lastRunText = QCoreApplication::translate("Scheduler", Scheduler::CaughtUpText);
        }
        m_runningProgram = program;
        m_runningText = StatusTexts::running(entry, count, program);
        m_tray->setMark(TrayIcon::Mark::Running);
        updateStatusSoon();
    };
    progress.stopping = [this] {
        m_runningText = tr("Stopping %1").arg(m_runningProgram);
        updateStatusSoon();
    };
    progress.ended = [this](const RunProgress::End& end) {
        runEnded(end);
    };
    m_run.setProgress(std::move(progress));
}

void TMainForm::runEnded(const RunProgress::End& ended)
{
    // The program File > Stop Run ended did what it was told: its end stays in the log, but the
    // run does not count it as a failure.
    RunProgress::End end = ended;
    if (end.outcome == RunProgress::Outcome::Stopped)
        end.failedPrograms.removeIf(
            [&](const ProgramEnd& program) { return program.entry == end.entry; });
    m_lastRunText = StatusTexts::lastRun(end);
    m_lastRunToolTip = StatusTexts::programEnds(end.failedPrograms);
    if (std::exchange(m_caughtUp, false))
        m_lastRunText = tr("%1 (caught up a run missed during sleep)").arg(m_lastRunText);
    m_runningText.clear();
    const QString summary = StatusTexts::failureSummary(end);
    m_lastRunFailed = !summary.isEmpty();
    m_lastRunSkipped = end.outcome == RunProgress::Outcome::Skipped;
    // Seen already when the window is in front; otherwise marked until it is shown again.
    m_tray->setMark(m_lastRunFailed && !isActiveWindow() ? TrayIcon::Mark::Failed
                                                         : TrayIcon::Mark::None);
    if (m_lastRunFailed && !m_runByHand && m_notifier)
        m_notifier->notify(summary, StatusTexts::failureBody(end, m_runningProgram));
    updateStatusSoon();
}

void TMainForm::jobReplaced()
{
    m_lastRunText.clear();
    m_lastRunToolTip.clear();
    m_lastRunFailed = false;
    if (m_tray->mark() == TrayIcon::Mark::Failed)
        m_tray->setMark(TrayIcon::Mark::None);
}

// With a tray to come back from, a minimised window leaves the task bar for it.
void TMainForm::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized() && m_tray->available())
        QMetaObject::invokeMethod(this, &QWidget::hide, Qt::QueuedConnection);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() &&
        m_tray->mark() == TrayIcon::Mark::Failed)
        m_tray->setMark(TrayIcon::Mark::None);
}

// A run's steps come faster than anyone reads them when its programs end at once, and the
// window is not painted before the event loop runs anyway: the status bar catches up then, once.
void TMainForm::updateStatusSoon()
{
    if (std::exchange(m_statusUpdatePending, true))
        return;
    QMetaObject::invokeMethod(this, &TMainForm::updateStatus, Qt::QueuedConnection);
}

void TMainForm::updateStatus()
{
    m_statusUpdatePending = false;
    if (m_statusJobFile == nullptr)
        return;
    m_statusJobFile->setStatus(StatusTexts::jobFile(m_table.JobFileName, m_table.Modified),
                               m_table.JobFileName);
    if (m_flags.RunInProgress && !m_runningText.isEmpty()) {
        m_statusState->setStatus(m_runningText);
    } else {
        StatusTexts::Schedule schedule;
        if (m_startTimer->enabled() && m_table.DelayedStart)
            schedule.delayedStart = fromDateTime(m_table.DelayedStartTime);
        if (const auto tick = m_elapsedTimer->nextTick()) {
            const auto wait =
                std::chrono::ceil<std::chrono::milliseconds>(*tick - systemTimerClock().now());
            schedule.nextRun = m_clock.now().addMSecs(wait.count());
        }
        schedule.everyHours = m_table.EveryHours;
        schedule.everyMins = m_table.EveryMins;
        m_statusState->setStatus(StatusTexts::schedule(schedule, m_clock.now()));
    }
    m_statusLastRun->setStatus(m_lastRunText, m_lastRunToolTip);
    QStringList tip{tr("Runlatch"), m_statusJobFile->text(), m_statusState->text()};
    if (!m_lastRunText.isEmpty())
        tip << m_lastRunText;
    m_tray->setToolTip(tip.join(u'\n'));
    if (!m_flags.RunInProgress && m_tray->mark() == TrayIcon::Mark::Running)
        m_tray->setMark(TrayIcon::Mark::None);
}

bool TMainForm::FormClose()
{
    return m_fileCommands.offerToSave();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (!m_closeAnswered) {
        bool mayClose = false;
        runGuarded([this, &mayClose] { mayClose = FormClose(); });
        if (!mayClose) {
            event->ignore();
            return;
        }
        m_closeAnswered = true;
    }
    // Closing does not stop a run: the window stays until the outermost run has returned.
    if (m_runDepth > 0) {
        m_closePending = true;
        event->ignore();
        return;
    }
    event->accept();
}
