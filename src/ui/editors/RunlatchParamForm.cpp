#include "RunlatchParamForm.h"

#include "ErrorGuard.h"
#include "JobTable.h"
#include "Prompts.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

constexpr int ProcessColumn = 0;
constexpr int ParametersColumn = 1;
constexpr int MinProcessWidth = 150;
constexpr int MinParametersWidth = 120;
constexpr int DropIndicatorThickness = 3;
// The most a user may type as a program's parameters.
constexpr int MaxParametersLength = 255;

QString caption()
{
    return QCoreApplication::translate("TRunlatchParamForm", "Runlatch Processes");
}

QTableWidgetItem* makeCell()
{
    auto* item = new QTableWidgetItem;
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

void setCellText(QTableWidget& list, int row, int column, const QString& text)
{
    QTableWidgetItem* item = list.item(row, column);
    if (!item) {
        item = makeCell();
        list.setItem(row, column, item);
    }
    item->setText(text);
    // The whole text, for a path or parameters cut short to fit the column.
    item->setToolTip(text);
}

// What the texts of a column need, with their margins and the grid line: the widest of them,
// and the widest of those no wider than shortLimit.
struct ColumnWidths {
    int widest = 0;
    int widestShort = 0;
};

ColumnWidths columnWidths(const QTableWidget& list, int column, int shortLimit)
{
    ColumnWidths widths;
    for (int row = 0; row < list.rowCount(); ++row) {
        const int width = list.sizeHintForIndex(list.model()->index(row, column)).width() +
                          (list.showGrid() ? 1 : 0);
        widths.widest = std::max(widths.widest, width);
        if (width <= shortLimit)
            widths.widestShort = std::max(widths.widestShort, width);
    }
    return widths;
}

} // namespace

TRunlatchParamForm::TRunlatchParamForm(Prompts& prompts, QWidget* parent)
    : EditorDialog(parent)
    , m_prompts(prompts)
{
    setObjectName(QStringLiteral("RunlatchParamForm"));
    setWindowTitle(caption());
    setSizeGripEnabled(true);
    createWidgets();
    createMenu();
    resize(577, 397);
}

void TRunlatchParamForm::createWidgets()
{
    auto* layout = new QVBoxLayout(this);
    auto* label1 = new QLabel(tr("Right Click for menu."), this);
    label1->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(label1);

    m_listView1 = new QTableWidget(0, 2, this);
    m_listView1->setObjectName(QStringLiteral("ListView1"));
    m_listView1->setHorizontalHeaderLabels({tr("Process"), tr("Parameters")});
    // Fixed width, so that paths and parameters line up from row to row.
    m_listView1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_listView1->setShowGrid(true);
    m_listView1->setWordWrap(false);
    // A long path keeps its start and its program name; the middle folders give way.
    m_listView1->setTextElideMode(Qt::ElideMiddle);
    // Rows are selected whole, so Tab moving from cell to cell would change nothing visible.
    m_listView1->setTabKeyNavigation(false);
    m_listView1->setAccessibleName(tr("Processes"));
    m_listView1->setAccessibleDescription(
        tr("The programs run one after another, top to bottom, each with its "
           "parameters. Alt+Up and Alt+Down move the selected row; Shift+F10 or the "
           "Menu key opens the commands."));
    m_listView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_listView1->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_listView1->verticalHeader()->hide();
    m_listView1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_listView1->verticalHeader()->setDefaultSectionSize(m_listView1->fontMetrics().height() + 6);
    QHeaderView* header = m_listView1->horizontalHeader();
    header->setHighlightSections(false);
    header->setMinimumSectionSize(MinParametersWidth);
    // The parameters take whatever width the program paths leave.
    header->setStretchLastSection(true);
    m_listView1->setMouseTracking(true);
    m_listView1->viewport()->setMouseTracking(true);
    m_listView1->viewport()->installEventFilter(this);
    m_listView1->installEventFilter(this);
    m_listView1->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(m_listView1, 1);

    // A line across the list where a dragged row would land, in the text colour so that it shows
    // over a selected row too.
    m_dropIndicator = new QFrame(m_listView1->viewport());
    m_dropIndicator->setObjectName(QStringLiteral("DropIndicator"));
    m_dropIndicator->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_dropIndicator->setAutoFillBackground(true);
    m_dropIndicator->setBackgroundRole(QPalette::Text);
    m_dropIndicator->hide();
}

QAction* TRunlatchParamForm::addMenuItem(const QString& name, const QString& caption)
{
    QAction* action = m_popupMenu1->addAction(caption);
    action->setObjectName(name);
    return action;
}

void TRunlatchParamForm::connectCommand(QAction* action, const std::function<void()>& handler)
{
    connect(action, &QAction::triggered, this, [this, handler] { guarded(m_prompts, handler); });
}

void TRunlatchParamForm::createMenu()
{
    m_popupMenu1 = new QMenu(this);
    m_popupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    m_popupMenu1->setAccessibleName(tr("Process list commands"));
    connectCommand(addMenuItem(QStringLiteral("Add1"), tr("&Add Process")),
                   [this] { Add1Click(); });
    // Kept without an action: the program of a row is changed by deleting and adding it.
    addMenuItem(QStringLiteral("Change1"), tr("&Change Process"));
    connectCommand(addMenuItem(QStringLiteral("ChangeParameter1"), tr("Change &Parameter")),
                   [this] { ChangeParameter1Click(); });
    connectCommand(addMenuItem(QStringLiteral("Delete1"), tr("&Delete Process and Parameter")),
                   [this] { Delete1Click(); });
    m_popupMenu1->addSeparator()->setObjectName(QStringLiteral("N1"));
    connect(addMenuItem(QStringLiteral("Cancel1"), tr("C&ancel")), &QAction::triggered, this,
            &QDialog::reject);
    connect(addMenuItem(QStringLiteral("Save1"), tr("&Save")), &QAction::triggered, this,
            &QDialog::accept);

    connect(m_listView1, &QWidget::customContextMenuRequested, this,
            [this](QPoint pos) { m_popupMenu1->popup(m_listView1->viewport()->mapToGlobal(pos)); });
}

void TRunlatchParamForm::Parameters1Click(JobTable& table)
{
    m_rows = ProcessRows::fromTable(table);
    m_jobFolder = FileDialogRequest::folderOf(table.JobFileName);
    m_dragSource = -1;
    m_dropIndicator->hide();
    showRows();
    m_listView1->clearSelection();
    if (exec() != QDialog::Accepted)
        return;
    table.Modified = true;
    m_rows.toTable(table);
}

void TRunlatchParamForm::showRows()
{
    m_listView1->setRowCount(m_rows.count());
    for (int row = 0; row < m_rows.count(); ++row) {
        const ProcessRow& rowData = m_rows.at(row);
        setCellText(*m_listView1, row, ProcessColumn, rowData.program);
        setCellText(*m_listView1, row, ParametersColumn, rowData.parameters);
    }
    fitProcessColumn();
}

void TRunlatchParamForm::showEvent(QShowEvent* event)
{
    EditorDialog::showEvent(event);
    // Only now does the list have its width, which the columns share.
    fitProcessColumn();
}

// Each column as wide as its longest text when the two fit side by side. When they do not, only
// long texts, wider than half the list, are cut: the parameters keep their width as far as the
// paths can give way, but the paths never give way below their short texts.
void TRunlatchParamForm::fitProcessColumn()
{
    const int width = m_listView1->viewport()->width();
    const ColumnWidths paths = columnWidths(*m_listView1, ProcessColumn, width / 2);
    const ColumnWidths parameters = columnWidths(*m_listView1, ParametersColumn, width / 2);
    m_listView1->setColumnWidth(ProcessColumn,
                                std::clamp(width - std::max(MinParametersWidth, parameters.widest),
                                           std::max(MinProcessWidth, paths.widestShort),
                                           std::max(MinProcessWidth, paths.widest)));
}

void TRunlatchParamForm::selectAndShow(int row)
{
    m_listView1->selectRow(row);
    m_listView1->scrollTo(m_listView1->model()->index(row, ProcessColumn));
}

int TRunlatchParamForm::selectedRow() const
{
    const QModelIndexList selected = m_listView1->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}

int TRunlatchParamForm::rowAt(QPoint viewportPos) const
{
    if (!m_listView1->viewport()->rect().contains(viewportPos))
        return -1;
    return m_listView1->indexAt(viewportPos).row();
}

void TRunlatchParamForm::Add1Click()
{
    if (m_rows.isFull()) {
        m_prompts.information(tr("Sorry, Runlatch is limited to 50 Processes."));
        return;
    }
    FileDialogRequest request;
    request.initialDir = m_programFolder.isEmpty() ? m_jobFolder : m_programFolder;
    request.title = tr("Add Process");
    const std::optional<QString> program = m_prompts.openFile(request);
    if (!program)
        return;
    m_programFolder = FileDialogRequest::folderOf(*program);
    m_rows.add(*program);
    showRows();
    // The new row is where the next command, such as Change Parameter, should act.
    selectAndShow(m_rows.count() - 1);
}

void TRunlatchParamForm::ChangeParameter1Click()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    // Only OK changes the row, so a cancelled box loses nothing.
    const std::optional<QString> parameters = m_prompts.inputText(
        caption(), tr("Enter Parameter(s)"), m_rows.at(row).parameters, MaxParametersLength);
    if (!parameters)
        return;
    m_rows.setParameters(row, *parameters);
    showRows();
}

void TRunlatchParamForm::Delete1Click()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    m_rows.remove(row);
    showRows();
    m_listView1->clearSelection();
}

bool TRunlatchParamForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_listView1) {
        if (event->type() == QEvent::KeyPress)
            return listKeyPressed(static_cast<const QKeyEvent&>(*event));
        // A desktop that turns the Menu key into a context menu request of its own gets the
        // same menu at the same place.
        if (event->type() == QEvent::ContextMenu &&
            static_cast<const QContextMenuEvent&>(*event).reason() == QContextMenuEvent::Keyboard) {
            openMenuFromKeyboard();
            return true;
        }
        return EditorDialog::eventFilter(watched, event);
    }
    if (watched != m_listView1->viewport())
        return EditorDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto& mouse = static_cast<const QMouseEvent&>(*event);
        if (mouse.button() == Qt::LeftButton)
            ListView1MouseDown(mouse.position().toPoint());
        break;
    }
    case QEvent::MouseButtonRelease: {
        const auto& mouse = static_cast<const QMouseEvent&>(*event);
        if (mouse.button() == Qt::LeftButton)
            ListView1DragDrop(mouse.position().toPoint());
        break;
    }
    case QEvent::MouseMove: {
        const auto& mouse = static_cast<const QMouseEvent&>(*event);
        const QPoint pos = mouse.position().toPoint();
        if (m_dragSource >= 0 && (mouse.buttons() & Qt::LeftButton))
            showDropIndicator(rowAt(pos));
        hotTrack(pos);
        break;
    }
    case QEvent::Resize:
        fitProcessColumn();
        break;
    case QEvent::Leave:
        m_listView1->viewport()->unsetCursor();
        break;
    default:
        break;
    }
    // The list's own handling (selecting the row clicked on) goes on as usual.
    return false;
}

void TRunlatchParamForm::ListView1MouseDown(QPoint pos)
{
    m_dragSource = rowAt(pos);
}

void TRunlatchParamForm::ListView1DragDrop(QPoint pos)
{
    m_dropIndicator->hide();
    const int source = std::exchange(m_dragSource, -1);
    const int target = rowAt(pos);
    if (source < 0 || target < 0)
        return;
    guarded(m_prompts, [&] {
        try {
            const int moved = m_rows.moveAbove(source, target);
            showRows();
            selectAndShow(moved);
        } catch (...) {
            m_prompts.error(tr("Error in drag/drop."));
        }
    });
}

void TRunlatchParamForm::hotTrack(QPoint pos)
{
    const int row = rowAt(pos);
    if (row < 0) {
        m_listView1->viewport()->unsetCursor();
        return;
    }
    m_listView1->viewport()->setCursor(Qt::PointingHandCursor);
    if (row != selectedRow())
        m_listView1->selectRow(row);
}

// A dragged row lands above the row it is dropped on: the line runs along that row's top edge.
void TRunlatchParamForm::showDropIndicator(int target)
{
    if (target < 0) {
        m_dropIndicator->hide();
        return;
    }
    const QRect row = m_listView1->visualRect(m_listView1->model()->index(target, ProcessColumn));
    m_dropIndicator->setGeometry(0, std::max(0, row.top() - DropIndicatorThickness / 2),
                                 m_listView1->viewport()->width(), DropIndicatorThickness);
    m_dropIndicator->show();
    m_dropIndicator->raise();
}

bool TRunlatchParamForm::listKeyPressed(const QKeyEvent& key)
{
    // The arrows of the number pad count as arrows.
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::AltModifier && (key.key() == Qt::Key_Up || key.key() == Qt::Key_Down)) {
        moveSelectedRow(key.key() == Qt::Key_Up ? -1 : 1);
        return true;
    }
    if (key.key() == Qt::Key_Menu || (key.key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
        openMenuFromKeyboard();
        return true;
    }
    return false;
}

// The keyboard's drag and drop: the selected row trades places with its neighbour, as dropping
// it above the row over it, or the row under it above it, would. At either end nothing moves.
void TRunlatchParamForm::moveSelectedRow(int step)
{
    guarded(m_prompts, [this, step] {
        const int row = selectedRow();
        const int neighbour = row + step;
        if (row < 0 || neighbour < 0 || neighbour >= m_rows.count())
            return;
        if (step < 0)
            static_cast<void>(m_rows.moveAbove(row, neighbour));
        else
            static_cast<void>(m_rows.moveAbove(neighbour, row));
        showRows();
        selectAndShow(neighbour);
    });
}

// Where a right click on the selected row would open it, or at the list's top left corner.
void TRunlatchParamForm::openMenuFromKeyboard()
{
    QPoint pos(0, 0);
    if (const int row = selectedRow(); row >= 0) {
        selectAndShow(row);
        const QRect rect = m_listView1->visualRect(m_listView1->model()->index(row, ProcessColumn));
        pos = m_listView1->viewport()->rect().intersected(rect).center();
    }
    m_popupMenu1->popup(m_listView1->viewport()->mapToGlobal(pos));
    // Enter then gives the first command at once, as the arrow keys move from it.
    m_popupMenu1->setActiveAction(m_popupMenu1->actions().constFirst());
}
