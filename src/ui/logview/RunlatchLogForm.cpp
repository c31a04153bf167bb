#include "RunlatchLogForm.h"

#include "ActivityLog.h"
#include "ErrorGuard.h"
#include "Errors.h"
#include "LogView.h"
#include "LogWatch.h"
#include "MainFlags.h"
#include "Prompts.h"

#include <QAction>
#include <QCheckBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

TRunlatchLogForm::TRunlatchLogForm(ActivityLog& log, const MainFlags& flags, Prompts& prompts,
                                   QWidget* parent)
    : QDialog(parent, Qt::Window)
    , m_log(log)
    , m_flags(flags)
    , m_prompts(prompts)
    , m_watch(new LogWatch(log.filePath(), this))
{
    createWidgets();
    createMenu();
    connect(m_watch, &LogWatch::changed, this, &TRunlatchLogForm::followLog);
}

// Shown, not run modally: a modal loop opened inside a run's wait for its program would hold the
// run until the window closed.
void TRunlatchLogForm::Log1Click(QWidget& owner, ActivityLog& log, const MainFlags& flags,
                                 Prompts& prompts)
{
    TRunlatchLogForm* form = nullptr;
    for (TRunlatchLogForm* open : owner.findChildren<TRunlatchLogForm*>(Qt::FindDirectChildrenOnly))
        if (open->isVisible())
            form = open;
    if (form == nullptr) {
        auto made = std::make_unique<TRunlatchLogForm>(log, flags, prompts, &owner);
        made->loadLog();
        made->setAttribute(Qt::WA_DeleteOnClose);
        owner.installEventFilter(made.get());
        form = made.release();
        form->placeBeside(owner);
        // Owned by the owner, so that it goes with it, but not kept above it as a dialog would
        // be: a click on the main window brings that to the front.
        form->winId();
        form->windowHandle()->setTransientParent(nullptr);
        form->show();
    }
    form->setWindowState(form->windowState() & ~Qt::WindowMinimized);
    form->raise();
    form->activateWindow();
}

// Right of the owner where the screen has room, else left of it, else at the screen's right
// edge, so that as much of the main window as can be stays in sight.
void TRunlatchLogForm::placeBeside(const QWidget& owner)
{
    const QRect screen = owner.screen()->availableGeometry();
    const QRect beside = owner.frameGeometry();
    int x = beside.right() + 1;
    if (x + width() > screen.right() + 1)
        x = beside.left() - width();
    if (x < screen.left())
        x = std::max(screen.left(), screen.right() + 1 - width());
    move(x, std::clamp(beside.top(), screen.top(),
                       std::max(screen.top(), screen.bottom() + 1 - height())));
}

void TRunlatchLogForm::createWidgets()
{
    setObjectName(QStringLiteral("RunlatchLogForm"));
    setWindowTitle(tr("Runlatch Log"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);

    auto* label1 = new QLabel(tr("Right Click for menu."), this);
    label1->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(label1);

    m_memo2 = new LogView(this);
    m_memo2->setObjectName(QStringLiteral("Memo2"));
    m_memo2->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo2->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_memo2->setAccessibleName(tr("Log"));
    m_memo2->setAccessibleDescription(
        tr("Runlatch.log, with the lines runs add as they come; read only. Shift+F10 "
           "opens the menu, Ctrl+F finds text."));
    layout->addWidget(m_memo2, 1);
    connect(m_memo2, &LogView::findFinished, this, &TRunlatchLogForm::showFindResult);
    connect(m_memo2, &LogView::copyRefused, this, [this](qint64 bytes) {
        m_prompts.information(
            tr("The selection is too large to copy (%1 MB). Copy at most %2 MB at a time.")
                .arg((bytes + (1 << 20) - 1) >> 20)
                .arg(LogView::MaxCopyBytes >> 20));
    });

    layout->addWidget(createFindBar());
    resize(600, 370);
}

// Hidden until Ctrl+F. Return finds the next match, Shift+Return the one before, Escape hides
// the bar again (and only a second Escape closes the window).
QWidget* TRunlatchLogForm::createFindBar()
{
    m_findBar = new QWidget(this);
    m_findBar->setObjectName(QStringLiteral("FindBar"));
    auto* bar = new QHBoxLayout(m_findBar);
    bar->setContentsMargins(0, 0, 0, 0);

    auto* label = new QLabel(tr("&Find:"), m_findBar);
    m_findEdit = new QLineEdit(m_findBar);
    m_findEdit->setObjectName(QStringLiteral("FindEdit"));
    m_findEdit->setAccessibleName(tr("Find"));
    m_findEdit->setAccessibleDescription(
        tr("Text to find in the log. Enter finds the next match, Shift+Enter the "
           "one before, Escape hides the find bar."));
    m_findEdit->installEventFilter(this);
    label->setBuddy(m_findEdit);
    m_matchCase = new QCheckBox(tr("Match &case"), m_findBar);
    m_matchCase->setObjectName(QStringLiteral("MatchCase"));
    m_matchCase->setAccessibleDescription(
        tr("When checked, the letters A to Z match only in the case typed."));
    auto* previous = new QPushButton(tr("&Previous"), m_findBar);
    previous->setObjectName(QStringLiteral("FindPrevious"));
    auto* next = new QPushButton(tr("&Next"), m_findBar);
    next->setObjectName(QStringLiteral("FindNext"));
    previous->setAccessibleDescription(tr("Finds the match before the selection."));
    next->setAccessibleDescription(tr("Finds the match after the selection."));
    for (QPushButton* button : {previous, next})
        button->setAutoDefault(false);
    m_findStatus = new QLabel(m_findBar);
    m_findStatus->setObjectName(QStringLiteral("FindStatus"));
    m_findStatus->setAccessibleName(tr("Find result"));

    bar->addWidget(label);
    bar->addWidget(m_findEdit, 1);
    bar->addWidget(m_matchCase);
    bar->addWidget(previous);
    bar->addWidget(next);
    bar->addWidget(m_findStatus);
    connect(previous, &QPushButton::clicked, this, [this] { findNext(true); });
    connect(next, &QPushButton::clicked, this, [this] { findNext(false); });
    m_findBar->hide();
    return m_findBar;
}

bool TRunlatchLogForm::eventFilter(QObject* watched, QEvent* event)
{
    // The owner may stay open after all, to finish a run or keep unsaved edits: the viewer
    // closes only once it is gone.
    if (watched == parentWidget() && event->type() == QEvent::Close)
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!parentWidget()->isVisible())
                    close();
            },
            Qt::QueuedConnection);
    if (watched == m_findEdit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            findNext(key->modifiers() & Qt::ShiftModifier);
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            m_findBar->hide();
            m_memo2->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TRunlatchLogForm::createMenu()
{
    m_popupMenu1 = new QMenu(this);
    m_popupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* close1 = m_popupMenu1->addAction(tr("Close"));
    close1->setObjectName(QStringLiteral("Close1"));
    connect(close1, &QAction::triggered, this, &TRunlatchLogForm::Close1Click);
    m_popupMenu1->addSeparator()->setObjectName(QStringLiteral("N1"));
    QAction* clear1 = m_popupMenu1->addAction(tr("C&lear"));
    clear1->setObjectName(QStringLiteral("Clear1"));
    connect(clear1, &QAction::triggered, this, &TRunlatchLogForm::Clear1Click);

    // The text area takes Ctrl+C and Ctrl+A itself; the menu only names them.
    m_popupMenu1->addSeparator();
    QAction* copy = m_popupMenu1->addAction(tr("&Copy\tCtrl+C"));
    copy->setObjectName(QStringLiteral("Copy"));
    connect(copy, &QAction::triggered, m_memo2, &LogView::copy);
    QAction* selectAll = m_popupMenu1->addAction(tr("Select &All\tCtrl+A"));
    selectAll->setObjectName(QStringLiteral("SelectAll"));
    connect(selectAll, &QAction::triggered, m_memo2, &LogView::selectAll);
    connect(m_popupMenu1, &QMenu::aboutToShow, this,
            [this, copy] { copy->setEnabled(m_memo2->hasSelection()); });

    // Find works from anywhere in the window, the find bar's own field included.
    m_popupMenu1->addSeparator();
    const auto addFindAction = [this](const QString& text, const char* name,
                                      const QKeySequence& keys, auto handler) {
        QAction* action = m_popupMenu1->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, handler);
    };
    addFindAction(tr("&Find..."), "Find", QKeySequence::Find, [this] { showFind(); });
    addFindAction(tr("Find &Next"), "FindNextAction", QKeySequence::FindNext,
                  [this] { findNext(false); });
    addFindAction(tr("Find &Previous"), "FindPreviousAction", QKeySequence::FindPrevious,
                  [this] { findNext(true); });

    // The menu replaces the text area's own menu, as the label says.
    m_memo2->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_memo2, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        m_popupMenu1->popup(m_memo2->viewport()->mapToGlobal(at));
    });
}

void TRunlatchLogForm::loadLog()
{
    m_memo2->setLines(std::make_unique<LogLines>(m_log.openForViewing()));
    m_showsFile = true;
}

void TRunlatchLogForm::followLog()
{
    if (!m_showsFile || !m_memo2->followFile())
        reloadLog();
}

// Between a deletion and the new file, or while something else stands in its place, there is no
// log to show; the watch tells when there may be one again.
void TRunlatchLogForm::reloadLog()
{
    try {
        loadLog();
    } catch (const RunlatchError&) {
        m_memo2->setLines(std::make_unique<LogLines>(std::make_unique<BytesLogSource>()));
        m_showsFile = false;
    }
}

void TRunlatchLogForm::Close1Click()
{
    close();
}

void TRunlatchLogForm::showFind()
{
    m_findBar->show();
    m_findEdit->setFocus();
    m_findEdit->selectAll();
}

void TRunlatchLogForm::findNext(bool backward)
{
    if (m_findEdit->text().isEmpty()) {
        showFind();
        return;
    }
    m_findStatus->setText(tr("Searching..."));
    m_memo2->find(m_findEdit->text(), m_matchCase->isChecked(), backward);
}

void TRunlatchLogForm::showFindResult(bool found, bool wrapped)
{
    if (!found)
        m_findStatus->setText(tr("Not found"));
    else if (wrapped)
        m_findStatus->setText(tr("Wrapped around the end"));
    else
        m_findStatus->clear();
}

void TRunlatchLogForm::Clear1Click()
{
    guarded(m_prompts, [this] { clearLog(); });
}

// A run appends between its steps, and one can start at any time while this window is open;
// deleting the file then would lose lines or make the run fail on a missing log, so Clear refuses
// while the flag is set. The new, empty file is the one shown, so that the next lines show too.
void TRunlatchLogForm::clearLog()
{
    if (m_flags.RunInProgress) {
        m_prompts.information(tr(RunInProgressText));
        return;
    }
    m_log.Clear();
    reloadLog();
}
