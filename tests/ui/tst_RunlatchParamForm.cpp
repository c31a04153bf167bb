#include "AccessibilityChecks.h"
#include "EditorScreenshot.h"
#include "JobTable.h"
#include "LayoutChecks.h"
#include "ModalDriver.h"
#include "RunlatchParamForm.h"
#include "ScriptedPrompts.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <functional>
#include <optional>

Q_DECLARE_METATYPE(ProcRec)
Q_DECLARE_METATYPE(std::optional<QString>)

using Kind = ScriptedPrompts::Kind;

namespace {

// The editor with its job table, opened through its real command: the test's actions run
// inside the modal loop, as the user's would.
struct Editor {
    ScriptedPrompts prompts;
    JobTable table;
    TRunlatchParamForm form{prompts};
    bool leftOpen = false;

    // Opens the editor on the table and runs whileOpen in its modal loop; whileOpen closes it.
    void open(const std::function<void()>& whileOpen)
    {
        whenModalRuns(form, leftOpen, whileOpen);
        form.Parameters1Click(table);
    }

    void setRows(const QList<ProcRec>& rows)
    {
        table.LastProc = -1;
        for (const ProcRec& row : rows)
            table.ProcList[static_cast<std::size_t>(++table.LastProc)] = row;
    }

    // Rows named by one letter each, with the lower-case letter as parameters.
    void setLetterRows(const QString& letters)
    {
        QList<ProcRec> rows;
        for (const QChar letter : letters)
            rows.append({letter, letter.toLower()});
        setRows(rows);
    }

    [[nodiscard]] QString tablePrograms() const
    {
        QString programs;
        for (int i = 0; i <= table.LastProc; ++i)
            programs += table.ProcList[static_cast<std::size_t>(i)].Name;
        return programs;
    }

    [[nodiscard]] QString tableParameters() const
    {
        QString parameters;
        for (int i = 0; i <= table.LastProc; ++i)
            parameters += table.ProcList[static_cast<std::size_t>(i)].Param;
        return parameters;
    }

    [[nodiscard]] QTableWidget& list() const
    {
        return *form.findChild<QTableWidget*>(QStringLiteral("ListView1"));
    }

    [[nodiscard]] QStringList shownColumn(int column) const
    {
        QStringList texts;
        for (int row = 0; row < list().rowCount(); ++row)
            texts << list().item(row, column)->text();
        return texts;
    }

    [[nodiscard]] int selectedRow() const
    {
        const QModelIndexList rows = list().selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.constFirst().row();
    }

    void trigger(const QString& item) const { form.findChild<QAction*>(item)->trigger(); }

    [[nodiscard]] QMenu& menu() const
    {
        return *form.findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    }

    [[nodiscard]] QWidget& dropIndicator() const
    {
        return *list().viewport()->findChild<QWidget*>(QStringLiteral("DropIndicator"));
    }

    [[nodiscard]] QPoint rowCentre(int row) const
    {
        return list().visualRect(list().model()->index(row, 0)).center();
    }

    // A drag with the left button from one point of the list's viewport to another.
    void drag(QPoint from, QPoint to) const
    {
        QWidget* viewport = list().viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QTest::mouseMove(viewport, to);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
    }

    // The pointer resting at a point of the list with no button held. Sent directly: with no
    // button down QTest only moves the platform cursor, which the offscreen platform does not
    // turn into an event.
    void hover(QPoint pos) const
    {
        QWidget* viewport = list().viewport();
        QMouseEvent move(QEvent::MouseMove, pos, viewport->mapToGlobal(pos), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    }
};

} // namespace

class TestRunlatchParamForm : public QObject {
    Q_OBJECT

private slots:
    void showsTheWindowAndTheTablesRows();
    void contextMenuInOrder();
    void listFillsTheWindowBelowTheLabel_data();
    void listFillsTheWindowBelowTheLabel();
    void listShowsTheDesktopsFixedFont();
    void savingAnEmptyListMarksTheTableModified();
    void closing_data();
    void closing();
    void rowsAreRebuiltOnEachOpening();
    void escapeDoesNotCloseTheEditor();
    void addAppendsAndSelectsTheNewRow_data();
    void addAppendsAndSelectsTheNewRow();
    void cancelledAddChangesNothing();
    void addRefusesTheFiftyFirstRow();
    void changeParameter_data();
    void changeParameter();
    void commandsWithoutSelectionDoNothing();
    void changeProcessDoesNothing();
    void deleteRemovesTheSelectedRow();
    void drag_data();
    void drag();
    void dragMovesTheRowsUnderThePointer_data();
    void dragMovesTheRowsUnderThePointer();
    void dropOnEmptySpaceDoesNothing();
    void dropOutsideTheListDoesNothing();
    void rightButtonDoesNotDrag();
    void failedDropIsReported();
    void hotTracking();
    void keyboardMovesTheSelectedRow_data();
    void keyboardMovesTheSelectedRow();
    void keyboardMoveIsDroppedByCancel();
    void dragShowsWhereTheRowLands();
    void keysOpenTheMenu_data();
    void keysOpenTheMenu();
    void keyboardMenuRequestOpensTheMenu();
    void longPathsGiveWayToTheParameters_data();
    void longPathsGiveWayToTheParameters();
    void onlyLongTextsAreShortened_data();
    void onlyLongTextsAreShortened();
    void everyControlIsDescribed();
    void screenshot();
};

void TestRunlatchParamForm::showsTheWindowAndTheTablesRows()
{
    Editor editor;
    editor.setRows({{QStringLiteral("/usr/bin/backup"), QStringLiteral("--all")},
                    {QStringLiteral("/usr/local/bin/report"), {}}});
    QStringList programs;
    QStringList parameters;
    QString caption;
    QString label;
    QStringList headers;

    editor.open([&] {
        caption = editor.form.windowTitle();
        label = editor.form.findChild<QLabel*>(QStringLiteral("Label1"))->text();
        for (int column = 0; column < editor.list().columnCount(); ++column)
            headers << editor.list().horizontalHeaderItem(column)->text();
        programs = editor.shownColumn(0);
        parameters = editor.shownColumn(1);
        editor.trigger(QStringLiteral("Cancel1"));
    });

    QCOMPARE(caption, QStringLiteral("Runlatch Processes"));
    QCOMPARE(label, QStringLiteral("Right Click for menu."));
    QCOMPARE(headers, QStringList({QStringLiteral("Process"), QStringLiteral("Parameters")}));
    QCOMPARE(programs, QStringList({QStringLiteral("/usr/bin/backup"),
                                    QStringLiteral("/usr/local/bin/report")}));
    QCOMPARE(parameters, QStringList({QStringLiteral("--all"), QString()}));
    QVERIFY(!editor.leftOpen);
}

void TestRunlatchParamForm::contextMenuInOrder()
{
    Editor editor;
    const auto* menu = editor.form.findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    QVERIFY(menu);
    QStringList items;
    for (const QAction* action : menu->actions())
        items << (action->isSeparator() ? QStringLiteral("-")
                                        : action->objectName() + u' ' + action->text());

    QCOMPARE(
        items,
        QStringList({QStringLiteral("Add1 &Add Process"), QStringLiteral("Change1 &Change Process"),
                     QStringLiteral("ChangeParameter1 Change &Parameter"),
                     QStringLiteral("Delete1 &Delete Process and Parameter"), QStringLiteral("-"),
                     QStringLiteral("Cancel1 C&ancel"), QStringLiteral("Save1 &Save")}));
    QCOMPARE(editor.list().contextMenuPolicy(), Qt::CustomContextMenu);
}

// The window at its design size and resized either way.
void TestRunlatchParamForm::listFillsTheWindowBelowTheLabel_data()
{
    QTest::addColumn<QSize>("size");

    QTest::newRow("design size") << QSize(577, 397);
    QTest::newRow("larger") << QSize(900, 640);
    QTest::newRow("smaller") << QSize(420, 260);
}

// The label shows whole above the list, and the list takes the rest of the window, whatever its
// size.
void TestRunlatchParamForm::listFillsTheWindowBelowTheLabel()
{
    QFETCH(QSize, size);
    Editor editor;
    editor.form.show();
    editor.form.resize(size);
    const auto& label1 = *editor.form.findChild<QLabel*>(QStringLiteral("Label1"));
    QTableWidget& list = editor.list();

    const QString cut = LayoutChecks::cutOff(label1);
    QVERIFY2(cut.isEmpty(), qPrintable(cut));
    const QString wrong = LayoutChecks::misplaced(label1, QStringLiteral("above"), list);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    QCOMPARE(editor.form.size(), size);
    const QRect inside = editor.form.rect() - editor.form.layout()->contentsMargins();
    QCOMPARE(list.geometry(),
             QRect(inside.left(), list.y(), inside.width(), inside.bottom() - list.y() + 1));
    QCOMPARE(label1.x(), inside.left());
}

// Fixed width, so that paths and parameters line up from row to row, and the desktop's own.
void TestRunlatchParamForm::listShowsTheDesktopsFixedFont()
{
    Editor editor;
    const QFontInfo font(editor.list().font());
    QCOMPARE(font.family(),
             QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).family());
    const QFontMetrics metrics(editor.list().font());
    if (!QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).fixedPitch())
        QEXPECT_FAIL("", "this platform's fixed font is not fixed-pitch (offscreen under Wine)",
                     Continue);
    QCOMPARE(metrics.horizontalAdvance(u'i'), metrics.horizontalAdvance(u'W'));
}

void TestRunlatchParamForm::savingAnEmptyListMarksTheTableModified()
{
    Editor editor;
    int shownRows = -1;

    editor.open([&] {
        shownRows = editor.list().rowCount();
        editor.trigger(QStringLiteral("Save1"));
    });

    QCOMPARE(shownRows, 0);
    QCOMPARE(editor.table.LastProc, -1);
    QVERIFY(editor.table.Modified);
    QVERIFY(editor.prompts.asked.isEmpty());
}

void TestRunlatchParamForm::closing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("programs");
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<bool>("modified");

    QTest::newRow("Save") << QStringLiteral("Save1") << QStringLiteral("BCE")
                          << QStringLiteral("bc") << true;
    QTest::newRow("Cancel") << QStringLiteral("Cancel1") << QStringLiteral("ABC")
                            << QStringLiteral("abc") << false;
    QTest::newRow("close box") << QString() << QStringLiteral("ABC") << QStringLiteral("abc")
                               << false;
}

void TestRunlatchParamForm::closing()
{
    QFETCH(QString, how);
    QFETCH(QString, programs);
    QFETCH(QString, parameters);
    QFETCH(bool, modified);
    Editor editor;
    editor.setLetterRows(QStringLiteral("ABC"));
    editor.table.EveryHours = 4;
    editor.prompts.fileAnswers << QStringLiteral("E");

    editor.open([&] {
        editor.list().selectRow(0);
        editor.trigger(QStringLiteral("Delete1"));
        editor.trigger(QStringLiteral("Add1"));
        if (how.isEmpty())
            editor.form.close();
        else
            editor.trigger(how);
    });

    QVERIFY(!editor.leftOpen);
    QCOMPARE(editor.tablePrograms(), programs);
    QCOMPARE(editor.tableParameters(), parameters);
    QCOMPARE(editor.table.Modified, modified);
    QCOMPARE(editor.table.EveryHours, 4);
}

void TestRunlatchParamForm::rowsAreRebuiltOnEachOpening()
{
    Editor editor;
    editor.setLetterRows(QStringLiteral("AB"));
    editor.open([&] {
        editor.list().selectRow(0);
        editor.trigger(QStringLiteral("Delete1"));
        editor.trigger(QStringLiteral("Cancel1"));
    });
    QStringList shown;
    int selected = 0;

    editor.open([&] {
        shown = editor.shownColumn(0);
        selected = editor.selectedRow();
        editor.trigger(QStringLiteral("Cancel1"));
    });

    QCOMPARE(shown, QStringList({QStringLiteral("A"), QStringLiteral("B")}));
    QCOMPARE(selected, -1);
}

void TestRunlatchParamForm::escapeDoesNotCloseTheEditor()
{
    Editor editor;
    editor.setLetterRows(QStringLiteral("A"));
    bool openAfterEscape = false;

    editor.open([&] {
        QTest::keyClick(&editor.list(), Qt::Key_Escape);
        openAfterEscape = editor.form.isVisible();
        editor.trigger(QStringLiteral("Save1"));
    });

    QVERIFY(openAfterEscape);
    QVERIFY(!editor.leftOpen);
    QVERIFY(editor.table.Modified);
}

void TestRunlatchParamForm::addAppendsAndSelectsTheNewRow_data()
{
    QTest::addColumn<QString>("jobFile");
    QTest::addColumn<QString>("firstFolder"); // where the first Add's dialog starts

    QTest::newRow("no job file") << QString() << QString();
    QTest::newRow("job file elsewhere") << "/srv/jobs/nightly.ini"
                                        << "/srv/jobs/";
}

// The row added is selected and current, so that Change Parameter acts on it; the dialog starts
// beside the job file, and then where the last program was chosen.
void TestRunlatchParamForm::addAppendsAndSelectsTheNewRow()
{
    QFETCH(QString, jobFile);
    QFETCH(QString, firstFolder);
    Editor editor;
    editor.setLetterRows(QStringLiteral("AB"));
    editor.table.JobFileName = jobFile;
    editor.prompts.fileAnswers << QStringLiteral("/opt/sync") << QStringLiteral("/opt/report");
    QList<int> selectedAndCurrent;

    editor.open([&] {
        editor.list().selectRow(0);
        for (int add = 0; add < 2; ++add) {
            editor.trigger(QStringLiteral("Add1"));
            selectedAndCurrent << editor.selectedRow() << editor.list().currentRow();
        }
        editor.trigger(QStringLiteral("Save1"));
    });

    QCOMPARE(selectedAndCurrent, QList<int>({2, 2, 3, 3}));
    QCOMPARE(editor.tablePrograms(), QStringLiteral("AB/opt/sync/opt/report"));
    QCOMPARE(editor.tableParameters(), QStringLiteral("ab"));
    const QList<ScriptedPrompts::Asked>& asked = editor.prompts.asked;
    QCOMPARE(asked.size(), 2);
    QVERIFY(asked[0].request.filter.isEmpty());
    QVERIFY(!asked[0].request.title.isEmpty());
    QCOMPARE(asked[0].request.initialDir, firstFolder);
    QCOMPARE(asked[1].request.initialDir, QStringLiteral("/opt/"));
}

void TestRunlatchParamForm::cancelledAddChangesNothing()
{
    Editor editor;
    editor.setLetterRows(QStringLiteral("AB"));
    // Made in place: GCC 12 takes a moved-from empty answer for one read uninitialised.
    editor.prompts.fileAnswers.emplace_back();
    int shownRows = 0;

    editor.open([&] {
        editor.trigger(QStringLiteral("Add1"));
        shownRows = editor.list().rowCount();
        editor.trigger(QStringLiteral("Save1"));
    });

    QCOMPARE(shownRows, 2);
    QCOMPARE(editor.tablePrograms(), QStringLiteral("AB"));
}

void TestRunlatchParamForm::addRefusesTheFiftyFirstRow()
{
    Editor editor;
    QList<ProcRec> fifty;
    for (int i = 0; i < JobTable::MaxProcs; ++i)
        fifty.append({QStringLiteral("/bin/p%1").arg(i), {}});
    editor.setRows(fifty);
    editor.prompts.fileAnswers << QStringLiteral("/bin/last");
    QList<Kind> askedAtTheLimit;

    editor.open([&] {
        editor.trigger(QStringLiteral("Add1"));
        for (const ScriptedPrompts::Asked& asked : std::as_const(editor.prompts.asked))
            askedAtTheLimit << asked.kind;
        editor.list().selectRow(10);
        editor.trigger(QStringLiteral("Delete1"));
        editor.trigger(QStringLiteral("Add1"));
        editor.trigger(QStringLiteral("Save1"));
    });

    QCOMPARE(askedAtTheLimit, QList<Kind>({Kind::Information}));
    QCOMPARE(editor.prompts.texts(Kind::Information),
             QStringList({QStringLiteral("Sorry, Runlatch is limited to 50 Processes.")}));
    QCOMPARE(editor.prompts.count(Kind::OpenFile), 1);
    QCOMPARE(editor.table.LastProc, 49);
    QCOMPARE(editor.table.ProcList[10].Name, QStringLiteral("/bin/p11"));
    QCOMPARE(editor.table.ProcList[49].Name, QStringLiteral("/bin/last"));
}

void TestRunlatchParamForm::changeParameter_data()
{
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<QString>("parameters");

    QTest::newRow("OK stores the text as typed")
        << std::optional<QString>(QStringLiteral("  -v  --out \"x y\" "))
        << QStringLiteral("  -v  --out \"x y\" ");
    QTest::newRow("OK with the text offered keeps them")
        << std::optional<QString>(QStringLiteral("--old")) << QStringLiteral("--old");
    QTest::newRow("OK with an empty field empties them")
        << std::optional<QString>(QString()) << QString();
    QTest::newRow("Cancel keeps them") << std::optional<QString>() << QStringLiteral("--old");
}

// The box offers the row's parameters; only OK changes the row.
void TestRunlatchParamForm::changeParameter()
{
    QFETCH(std::optional<QString>, answer);
    QFETCH(QString, parameters);
    Editor editor;
    editor.setRows({{QStringLiteral("A"), QStringLiteral("a")},
                    {QStringLiteral("B"), QStringLiteral("--old")},
                    {QStringLiteral("C"), QStringLiteral("c")}});
    editor.prompts.inputAnswers << answer;
    QString shown;

    editor.open([&] {
        editor.list().selectRow(1);
        editor.trigger(QStringLiteral("ChangeParameter1"));
        shown = editor.list().item(1, 1)->text();
        editor.trigger(QStringLiteral("Save1"));
    });

    QVERIFY(!editor.leftOpen);
    QCOMPARE(editor.prompts.count(Kind::InputText), 1);
    QCOMPARE(editor.prompts.asked.size(), 1);
    const ScriptedPrompts::Asked& asked = editor.prompts.asked.constFirst();
    QCOMPARE(asked.caption, QStringLiteral("Runlatch Processes"));
    QCOMPARE(asked.text, QStringLiteral("Enter Parameter(s)"));
    QCOMPARE(asked.initial, QStringLiteral("--old"));
    QCOMPARE(asked.maxLength, 255);
    QCOMPARE(shown, parameters);
    QCOMPARE(editor.tableParameters(), QStringLiteral("a") + parameters + QStringLiteral("c"));
    QCOMPARE(editor.tablePrograms(), QStringLiteral("ABC"));
}

void TestRunlatchParamForm::commandsWithoutSelectionDoNothing()
{
    Editor editor;
    editor.setLetterRows(QStringLiteral("AB"));
    editor.prompts.inputAnswers << QStringLiteral("unused");

    editor.open([&] {
        editor.list().clearSelection();
        editor.trigger(QStringLiteral("ChangeParameter1"));
        editor.trigger(QStringLiteral("Delete1"));
        editor.trigger(QStringLiteral("Save1"));
    });

    QVERIFY(editor.prompts.asked.isEmpty());
    QCOMPARE(editor.tablePrograms(), QStringLiteral("AB"));
    QCOMPARE(editor.tableParameters(), QStringLiteral("ab"));
}

void TestRunlatchParamForm::changeProcessDoesNothing()
{
    Editor editor;
    editor.setLetterRows(QStringLiteral("AB"));

    editor.open([&] {
        editor.list().selectRow(1);
        editor.trigger(QStringLiteral("Change1"));
        editor.trigger(QStringLiteral("Save1"));
    });

    QVERIFY(editor.prompts.asked.isEmpty());
    QCOMPARE(editor.tablePrograms(), QStringLiteral("AB"));
    QCOMPARE(editor.tableParameters(), QStringLiteral("ab"));
}

void TestRunlatchParamForm::deleteRemovesTheSelectedRow()
{
    Editor editor;
    editor.setLetterRows(QStringLiteral("ABC"));
    QStringList shown;
    int selected = 0;

    editor.open([&] {
        editor.list().selectRow(1);
        editor.trigger(QStringLiteral("Delete1"));
        shown = editor.shownColumn(0);
        selected = editor.selectedRow();
        editor.trigger(QStringLiteral("Save1"));
    });

    QCOMPARE(shown, QStringList({QStringLiteral("A"), QStringLiteral("C")}));
    QCOMPARE(selected, -1);
    QCOMPARE(editor.tablePrograms(), QStringLiteral("AC"));
    QCOMPARE(editor.tableParameters(), QStringLiteral("ac"));
    QVERIFY(editor.prompts.asked.isEmpty());
}

void TestRunlatchParamForm::drag_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("programs");

    QTest::newRow("A onto C") << 0 << 2 << QStringLiteral("BACD");
    QTest::newRow("D onto B") << 3 << 1 << QStringLiteral("ADBC");
    QTest::newRow("B onto A") << 1 << 0 << QStringLiteral("BACD");
    QTest::newRow("A onto B") << 0 << 1 << QStringLiteral("ABCD");
    QTest::newRow("C onto itself (a click)") << 2 << 2 << QStringLiteral("ABCD");
    QTest::newRow("D onto A") << 3 << 0 << QStringLiteral("DABC");
}

void TestRunlatchParamForm::drag()
{
    QFETCH(int, source);
    QFETCH(int, target);
    QFETCH(QString, programs);
    Editor editor;
    editor.setLetterRows(QStringLiteral("ABCD"));
    QString shown;

    editor.open([&] {
        editor.drag(editor.rowCentre(source), editor.rowCentre(target));
        shown = editor.shownColumn(0).join(QString());
        editor.trigger(QStringLiteral("Save1"));
    });

    QCOMPARE(shown, programs);
    QCOMPARE(editor.tablePrograms(), programs);
    // Parameters travel with their rows.
    QCOMPARE(editor.tableParameters(), programs.toLower());
    QVERIFY(editor.prompts.asked.isEmpty());
}

void TestRunlatchParamForm::dragMovesTheRowsUnderThePointer_data()
{
    QTest::addColumn<QList<ProcRec>>("rows");
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("parameters");

    const QList<ProcRec> twice{{QStringLiteral("/bin/a"), QStringLiteral("1")},
                               {QStringLiteral("/bin/b"), QStringLiteral("2")},
                               {QStringLiteral("/bin/a"), QStringLiteral("3")}};
    QTest::newRow("second copy onto the row between") << twice << 2 << 1 << QStringLiteral("132");
    QTest::newRow("other row onto the second copy") << twice << 1 << 2 << QStringLiteral("123");
    QTest::newRow("first copy onto the second") << twice << 0 << 2 << QStringLiteral("213");

    const QList<ProcRec> capitals{{QStringLiteral("Z"), QStringLiteral("z")},
                                  {QStringLiteral("X"), QStringLiteral("1")},
                                  {QStringLiteral("Y"), QStringLiteral("y")},
                                  {QStringLiteral("x"), QStringLiteral("2")}};
    QTest::newRow("copy in other case onto the top")
        << capitals << 3 << 0 << QStringLiteral("2z1y");
    QTest::newRow("top onto the copy in other case")
        << capitals << 0 << 3 << QStringLiteral("1yz2");
}

void TestRunlatchParamForm::dragMovesTheRowsUnderThePointer()
{
    QFETCH(QList<ProcRec>, rows);
    QFETCH(int, source);
    QFETCH(int, target);
    QFETCH(QString, parameters);
    Editor editor;
    editor.setRows(rows);

    editor.open([&] {
        editor.drag(editor.rowCentre(source), editor.rowCentre(target));
        editor.trigger(QStringLiteral("Save1"));
    });

    QCOMPARE(editor.tableParameters(), parameters);
}

void TestRunlatchParamForm::dropOnEmptySpaceDoesNothing()
{
    Editor editor;
    editor.setLetterRows(QStringLiteral("ABC"));
    bool emptySpace = false;
    QString shown;

    editor.open([&] {
        const QPoint below(editor.rowCentre(0).x(), editor.list().viewport()->height() - 2);
        emptySpace = !editor.list().indexAt(below).isValid();
        editor.drag(editor.rowCentre(0), below);
        shown = editor.shownColumn(0).join(QString());
        editor.trigger(QStringLiteral("Save1"));
    });

    QVERIFY(emptySpace);
    QCOMPARE(shown, QStringLiteral("ABC"));
    QCOMPARE(editor.tablePrograms(), QStringLiteral("ABC"));
    QVERIFY(editor.prompts.asked.isEmpty());
}

void TestRunlatchParamForm::dropOutsideTheListDoesNothing()
{
    Editor editor;
    QList<ProcRec> rows;
    for (int i = 0; i < 40; ++i)
        rows.append({QStringLiteral("/bin/p%1").arg(i), QString::number(i)});
    editor.setRows(rows);
    int firstShown = 0;

    editor.open([&] {
        // Scrolled down, rows lie hidden above the viewport: a release over the column headers
        // must not count as a drop on one of them.
        editor.list().scrollToBottom();
        firstShown = editor.list().indexAt(QPoint(5, 5)).row();
        editor.drag(editor.rowCentre(firstShown), QPoint(editor.rowCentre(firstShown).x(), -5));
        editor.trigger(QStringLiteral("Save1"));
    });

    QVERIFY(firstShown > 0);
    QCOMPARE(editor.table.ProcList[static_cast<std::size_t>(firstShown)].Param,
             QString::number(firstShown));
    QCOMPARE(editor.table.ProcList[static_cast<std::size_t>(firstShown - 1)].Param,
             QString::number(firstShown - 1));
    QVERIFY(editor.prompts.asked.isEmpty());
}

void TestRunlatchParamForm::rightButtonDoesNotDrag()
{
    Editor editor;
    editor.setLetterRows(QStringLiteral("ABC"));

    editor.open([&] {
        QWidget* viewport = editor.list().viewport();
        QTest::mousePress(viewport, Qt::RightButton, {}, editor.rowCentre(2));
        QTest::mouseRelease(viewport, Qt::RightButton, {}, editor.rowCentre(0));
        // A left click elsewhere afterwards is no drop of the right-button press either.
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, editor.rowCentre(0));
        editor.trigger(QStringLiteral("Save1"));
    });

    QCOMPARE(editor.tablePrograms(), QStringLiteral("ABC"));
}

void TestRunlatchParamForm::failedDropIsReported()
{
    Editor editor;
    editor.setLetterRows(QStringLiteral("ABCD"));
    QString shown;

    editor.open([&] {
        QWidget* viewport = editor.list().viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, editor.rowCentre(3));
        // The list shrinks under the drag, so the row it began on is gone at the drop.
        editor.list().selectRow(0);
        editor.trigger(QStringLiteral("Delete1"));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, editor.rowCentre(1));
        shown = editor.shownColumn(0).join(QString());
        editor.trigger(QStringLiteral("Save1"));
    });

    QCOMPARE(editor.prompts.texts(Kind::Error),
             QStringList({QStringLiteral("Error in drag/drop.")}));
    QCOMPARE(shown, QStringLiteral("BCD"));
    QCOMPARE(editor.tablePrograms(), QStringLiteral("BCD"));
    QVERIFY(!editor.leftOpen);
}

void TestRunlatchParamForm::hotTracking()
{
    Editor editor;
    editor.setLetterRows(QStringLiteral("ABC"));
    int selectedOverRow = -1;
    Qt::CursorShape cursorOverRow = Qt::ArrowCursor;
    Qt::CursorShape cursorBelowRows = Qt::PointingHandCursor;
    int selectedBelowRows = -1;

    editor.open([&] {
        QWidget* viewport = editor.list().viewport();
        editor.hover(editor.rowCentre(2));
        selectedOverRow = editor.selectedRow();
        cursorOverRow = viewport->cursor().shape();
        editor.hover(QPoint(editor.rowCentre(0).x(), viewport->height() - 2));
        cursorBelowRows = viewport->cursor().shape();
        selectedBelowRows = editor.selectedRow();
        editor.trigger(QStringLiteral("Cancel1"));
    });

    QCOMPARE(selectedOverRow, 2);
    QCOMPARE(cursorOverRow, Qt::PointingHandCursor);
    QCOMPARE(cursorBelowRows, Qt::ArrowCursor);
    QCOMPARE(selectedBelowRows, 2);
}

void TestRunlatchParamForm::keyboardMovesTheSelectedRow_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("keys"); // u: Alt+Up, d: Alt+Down, U: Up alone
    QTest::addColumn<QString>("programs");
    QTest::addColumn<int>("selectedAfter");

    QTest::newRow("Alt+Up puts it above the row over it") << 2 << "u"
                                                          << "ACBD" << 1;
    QTest::newRow("Alt+Down puts it below the row under it") << 1 << "d"
                                                             << "ACBD" << 2;
    QTest::newRow("up twice") << 3 << "uu"
                              << "ADBC" << 1;
    QTest::newRow("down and back") << 0 << "dd"
                                   << "BCAD" << 2;
    QTest::newRow("the top row does not go up") << 0 << "u"
                                                << "ABCD" << 0;
    QTest::newRow("the bottom row does not go down") << 3 << "d"
                                                     << "ABCD" << 3;
    QTest::newRow("Up alone moves the selection only") << 2 << "U"
                                                       << "ABCD" << 1;
    QTest::newRow("nothing selected, nothing moves") << -1 << "ud"
                                                     << "ABCD" << -1;
}

// The keyboard's drag and drop: rows and their parameters move as a drag would move them, and
// Save writes them back as after a drag.
void TestRunlatchParamForm::keyboardMovesTheSelectedRow()
{
    QFETCH(int, selected);
    QFETCH(QString, keys);
    QFETCH(QString, programs);
    QFETCH(int, selectedAfter);
    Editor editor;
    editor.setLetterRows(QStringLiteral("ABCD"));
    QString shown;
    int selectedShown = -2;

    editor.open([&] {
        if (selected >= 0)
            editor.list().selectRow(selected);
        else
            editor.list().clearSelection();
        for (const QChar key : keys)
            QTest::keyClick(&editor.list(), key.toLower() == u'u' ? Qt::Key_Up : Qt::Key_Down,
                            key.isLower() ? Qt::AltModifier : Qt::NoModifier);
        shown = editor.shownColumn(0).join(QString());
        selectedShown = editor.selectedRow();
        editor.trigger(QStringLiteral("Save1"));
    });

    QCOMPARE(shown, programs);
    QCOMPARE(selectedShown, selectedAfter);
    QCOMPARE(editor.tablePrograms(), programs);
    QCOMPARE(editor.tableParameters(), programs.toLower());
    QVERIFY(editor.table.Modified);
    QVERIFY(editor.prompts.asked.isEmpty());
}

void TestRunlatchParamForm::keyboardMoveIsDroppedByCancel()
{
    Editor editor;
    editor.setLetterRows(QStringLiteral("ABC"));
    QString shown;

    editor.open([&] {
        editor.list().selectRow(2);
        QTest::keyClick(&editor.list(), Qt::Key_Up, Qt::AltModifier);
        shown = editor.shownColumn(0).join(QString());
        editor.trigger(QStringLiteral("Cancel1"));
    });

    QCOMPARE(shown, QStringLiteral("ACB"));
    QCOMPARE(editor.tablePrograms(), QStringLiteral("ABC"));
    QVERIFY(!editor.table.Modified);
}

// While the button is held, a line marks the top edge of the row the dragged row would land
// above; over empty space, where a drop does nothing, there is none.
void TestRunlatchParamForm::dragShowsWhereTheRowLands()
{
    Editor editor;
    editor.setLetterRows(QStringLiteral("ABCD"));
    bool shownBeforeDrag = true;
    QRect overRow1;
    QRect overRow0;
    bool shownOverEmptySpace = true;
    bool shownAfterDrop = true;
    QRect row1;
    int viewportWidth = 0;
    QColor lineColour;

    editor.open([&] {
        QWidget* viewport = editor.list().viewport();
        QWidget& indicator = editor.dropIndicator();
        row1 = editor.list().visualRect(editor.list().model()->index(1, 0));
        viewportWidth = viewport->width();
        shownBeforeDrag = indicator.isVisible();
        QTest::mousePress(viewport, Qt::LeftButton, {}, editor.rowCentre(3));
        QTest::mouseMove(viewport, editor.rowCentre(1));
        overRow1 = indicator.isVisible() ? indicator.geometry() : QRect();
        lineColour = viewport->grab().toImage().pixelColor(overRow1.center());
        QTest::mouseMove(viewport, QPoint(editor.rowCentre(0).x(), viewport->height() - 2));
        shownOverEmptySpace = indicator.isVisible();
        QTest::mouseMove(viewport, editor.rowCentre(0));
        overRow0 = indicator.isVisible() ? indicator.geometry() : QRect();
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, editor.rowCentre(0));
        shownAfterDrop = indicator.isVisible();
        editor.trigger(QStringLiteral("Save1"));
    });

    QVERIFY(!shownBeforeDrag);
    QVERIFY(overRow1.isValid());
    QVERIFY(std::abs(overRow1.center().y() - row1.top()) <= 1);
    QCOMPARE(overRow1.width(), viewportWidth);
    // Drawn in the text colour, which shows over a selected row too.
    QCOMPARE(lineColour, editor.list().palette().color(QPalette::Text));
    QVERIFY(!shownOverEmptySpace);
    QVERIFY(overRow0.isValid());
    QCOMPARE(overRow0.top(), 0);
    QVERIFY(!shownAfterDrop);
    QCOMPARE(editor.tablePrograms(), QStringLiteral("DABC"));
}

void TestRunlatchParamForm::keysOpenTheMenu_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("opens");

    QTest::newRow("Shift+F10") << int(Qt::Key_F10) << Qt::KeyboardModifiers(Qt::ShiftModifier)
                               << true;
    QTest::newRow("Menu key") << int(Qt::Key_Menu) << Qt::KeyboardModifiers() << true;
    QTest::newRow("F10 alone") << int(Qt::Key_F10) << Qt::KeyboardModifiers() << false;
}

// The menu opens over the selected row, with its first command ready for Enter.
void TestRunlatchParamForm::keysOpenTheMenu()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, opens);
    Editor editor;
    editor.setLetterRows(QStringLiteral("ABC"));
    bool shown = !opens;
    QString activeItem;
    bool overSelectedRow = false;

    editor.open([&] {
        editor.list().selectRow(2);
        QTest::keyClick(&editor.list(), Qt::Key(key), modifiers);
        QMenu& menu = editor.menu();
        shown = menu.isVisible();
        if (menu.activeAction())
            activeItem = menu.activeAction()->objectName();
        const QRect row = editor.list().visualRect(editor.list().model()->index(2, 0));
        overSelectedRow = QRect(editor.list().viewport()->mapToGlobal(row.topLeft()), row.size())
                              .contains(menu.pos());
        menu.hide();
        editor.trigger(QStringLiteral("Cancel1"));
    });

    QCOMPARE(shown, opens);
    if (opens) {
        QCOMPARE(activeItem, QStringLiteral("Add1"));
        QVERIFY(overSelectedRow);
    }
}

// A desktop may turn the Menu key into a context menu request of its own.
void TestRunlatchParamForm::keyboardMenuRequestOpensTheMenu()
{
    Editor editor;
    bool shown = false;

    editor.open([&] {
        QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                  editor.list().mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&editor.list(), &request);
        shown = editor.menu().isVisible();
        editor.menu().hide();
        editor.trigger(QStringLiteral("Cancel1"));
    });

    QVERIFY(shown);
}

void TestRunlatchParamForm::longPathsGiveWayToTheParameters_data()
{
    listFillsTheWindowBelowTheLabel_data();
}

// A path too long for the list is cut in the middle and shown whole in its tooltip; the
// parameters keep their column in sight, whatever the window's size.
void TestRunlatchParamForm::longPathsGiveWayToTheParameters()
{
    QFETCH(QSize, size);
    const QString path = QStringLiteral("/home/ann/projects/archive/") +
                         QStringLiteral("nested/").repeated(20) +
                         QStringLiteral("backup-everything");
    Editor editor;
    editor.setRows({{path, QStringLiteral("--full")}, {QStringLiteral("/bin/x"), {}}});
    Qt::TextElideMode elide = Qt::ElideNone;
    QString tooltip;
    int parametersLeft = 0;
    int parametersWidth = 0;
    int processWidth = 0;
    int pathWidth = 0;
    int viewportWidth = 0;

    editor.open([&] {
        editor.form.resize(size);
        QTableWidget& list = editor.list();
        elide = list.textElideMode();
        tooltip = list.item(0, 0)->toolTip();
        parametersLeft = list.columnViewportPosition(1);
        parametersWidth = list.columnWidth(1);
        processWidth = list.columnWidth(0);
        pathWidth = list.fontMetrics().horizontalAdvance(path);
        viewportWidth = list.viewport()->width();
        editor.trigger(QStringLiteral("Cancel1"));
    });

    QCOMPARE(elide, Qt::ElideMiddle);
    QCOMPARE(tooltip, path);
    QVERIFY(processWidth < pathWidth);
    QVERIFY(processWidth >= 150);
    QVERIFY2(parametersWidth >= 120, qPrintable(QString::number(parametersWidth)));
    QVERIFY2(parametersLeft + 120 <= viewportWidth,
             qPrintable(QStringLiteral("%1 of %2").arg(parametersLeft).arg(viewportWidth)));
}

void TestRunlatchParamForm::onlyLongTextsAreShortened_data()
{
    QTest::addColumn<bool>("longPath"); // else long parameters

    QTest::newRow("a long path") << true;
    QTest::newRow("long parameters") << false;
}

// At the design size, a text wider than the list is cut; the other row's texts, a path and
// parameters that fit side by side, show whole.
void TestRunlatchParamForm::onlyLongTextsAreShortened()
{
    QFETCH(bool, longPath);
    const QFontMetrics fixed(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const auto wide = [&fixed](int width) {
        QString text = QStringLiteral("-v");
        while (fixed.horizontalAdvance(text) < width)
            text += QStringLiteral(" -v");
        return text;
    };
    const QString path = QStringLiteral("/usr/local/sbin/backup-database");
    Editor editor;
    editor.setRows({{longPath ? wide(600) : path, longPath ? QString() : wide(600)},
                    {path, wide(577 * 2 / 5)}});
    QStringList cut;

    editor.open([&] {
        const QTableWidget& list = editor.list();
        // The grid line takes a pixel of each column.
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 2; ++column)
                if (list.sizeHintForIndex(list.model()->index(row, column)).width() >=
                    list.columnWidth(column))
                    cut << QStringLiteral("%1,%2").arg(row).arg(column);
        editor.trigger(QStringLiteral("Cancel1"));
    });

    QCOMPARE(cut, QStringList{longPath ? QStringLiteral("0,0") : QStringLiteral("0,1")});
}

void TestRunlatchParamForm::everyControlIsDescribed()
{
    Editor editor;
    editor.setLetterRows(QStringLiteral("AB"));
    QString editorMissing;

    editor.open([&] {
        editorMissing = AccessibilityChecks::undescribedControls(editor.form);
        editor.trigger(QStringLiteral("Cancel1"));
    });

    QVERIFY2(editorMissing.isEmpty(), qPrintable(editorMissing));
}

void TestRunlatchParamForm::screenshot()
{
    Editor editor;
    editor.setRows(
        {{QStringLiteral("/home/ann/projects/archive/nightly/scripts/backup-everything-to-nas.sh"),
          QStringLiteral("--full /srv/backup")},
         {QStringLiteral("/usr/bin/rsync"), QStringLiteral("-a /home/ann/docs /mnt/nas/docs")},
         {QStringLiteral("/opt/reports/make-report.sh"), QStringLiteral("daily")},
         {QStringLiteral("/usr/bin/logrotate"), QStringLiteral("/etc/logrotate.conf")},
         {QStringLiteral("/home/ann/bin/tidy-downloads"), {}}});
    QSize size;
    int columnsWidth = 0;
    int viewportWidth = 0;
    bool saved = false;

    editor.open([&] {
        editor.list().selectRow(1);
        size = editor.form.size();
        columnsWidth = editor.list().columnWidth(0) + editor.list().columnWidth(1);
        viewportWidth = editor.list().viewport()->width();
        saved = saveEditorScreenshot(editor.form, QStringLiteral("process-editor.png"));
        editor.trigger(QStringLiteral("Cancel1"));
    });

    QVERIFY(saved);
    QCOMPARE(size, QSize(577, 397));
    QVERIFY(editor.list().columnWidth(0) >= 150);
    // The parameters take the rest of the list's width.
    QCOMPARE(columnsWidth, viewportWidth);
}

QTEST_MAIN(TestRunlatchParamForm)
#include "tst_RunlatchParamForm.moc"
