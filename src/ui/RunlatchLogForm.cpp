#include "RunlatchLogForm.h"

#include "ActivityLog.h"
#include "ErrorGuard.h"
#include "MainFlags.h"
#include "Prompts.h"

#include <QAction>
#include <QFontDatabase>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

// The log's lines end in CR LF. The text area takes a bare line feed between lines, and a line
// break after the last line would show as one more, empty line.
QString asTextAreaLines(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

} // namespace

TRunlatchLogForm::TRunlatchLogForm(ActivityLog& log, const MainFlags& flags, Prompts& prompts,
                                   QWidget* parent)
    : QDialog(parent)
    , m_log(log)
    , m_flags(flags)
    , m_prompts(prompts)
{
    createWidgets();
    createMenu();
}

void TRunlatchLogForm::Log1Click(QWidget* owner, ActivityLog& log, const MainFlags& flags,
                                 Prompts& prompts)
{
    TRunlatchLogForm form(log, flags, prompts, owner);
    form.loadLog();
    form.exec();
}

void TRunlatchLogForm::createWidgets()
{
    setObjectName(QStringLiteral("RunlatchLogForm"));
    setWindowTitle(QStringLiteral("Runlatch Log"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);

    auto* label1 = new QLabel(QStringLiteral("Right Click for menu."), this);
    label1->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(label1);

    m_memo2 = new QPlainTextEdit(this);
    m_memo2->setObjectName(QStringLiteral("Memo2"));
    m_memo2->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_memo2->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_memo2->setWordWrapMode(QTextOption::WordWrap);
    m_memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo2->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(m_memo2, 1);

    resize(600, 370);
}

void TRunlatchLogForm::createMenu()
{
    m_popupMenu1 = new QMenu(this);
    m_popupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* close1 = m_popupMenu1->addAction(QStringLiteral("Close"));
    close1->setObjectName(QStringLiteral("Close1"));
    connect(close1, &QAction::triggered, this, &TRunlatchLogForm::Close1Click);
    m_popupMenu1->addSeparator()->setObjectName(QStringLiteral("N1"));
    QAction* clear1 = m_popupMenu1->addAction(QStringLiteral("C&lear"));
    clear1->setObjectName(QStringLiteral("Clear1"));
    connect(clear1, &QAction::triggered, this, &TRunlatchLogForm::Clear1Click);

    // The menu replaces the text area's own editing menu, as the label says.
    m_memo2->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_memo2, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        m_popupMenu1->popup(m_memo2->viewport()->mapToGlobal(at));
    });
}

void TRunlatchLogForm::loadLog()
{
    m_memo2->setPlainText(asTextAreaLines(QString::fromUtf8(m_log.contents())));
}

void TRunlatchLogForm::Close1Click()
{
    reject();
}

void TRunlatchLogForm::Clear1Click()
{
    guarded(m_prompts, [this] { clearLog(); });
}

// A run appends between its steps, even while this modal window is open; deleting the file then
// would lose lines or make the run fail on a missing log, so Clear refuses while the flag is set.
void TRunlatchLogForm::clearLog()
{
    if (m_flags.RunInProgress) {
        m_prompts.information(QString::fromLatin1(RunInProgressText));
        return;
    }
    m_log.Clear();
    m_memo2->clear();
}
