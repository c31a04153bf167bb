#include "JobTable.h"
#include "ProcessRows.h"

#include <QTest>

#include <stdexcept>

namespace {

// Rows named by one letter each, the parameters telling which row a letter came from.
ProcessRows rowsOf(const QString& programs)
{
    ProcessRows rows;
    for (qsizetype i = 0; i < programs.size(); ++i) {
        rows.add(programs.at(i));
        rows.setParameters(static_cast<int>(i), QString::number(i));
    }
    return rows;
}

QString programsOf(const ProcessRows& rows)
{
    QString programs;
    for (int i = 0; i < rows.count(); ++i)
        programs += rows.at(i).program;
    return programs;
}

QString parametersOf(const ProcessRows& rows)
{
    QString parameters;
    for (int i = 0; i < rows.count(); ++i)
        parameters += rows.at(i).parameters;
    return parameters;
}

} // namespace

class TestProcessRows : public QObject {
    Q_OBJECT

private slots:
    void fromTableCopiesTheUsedEntries();
    void toTableReplacesTheListAndKeepsOldSlots();
    void toTableOfNoRowsEmptiesTheTable();
    void addAppendsWithEmptyParameters();
    void addRefusesTheFiftyFirstRow();
    void setParametersChangesOneRow();
    void removeTakesOutOneRow();
    void moveAbovePutsTheRowBeforeTheTarget_data();
    void moveAbovePutsTheRowBeforeTheTarget();
    void moveKeepsEqualProgramsApart();
    void badRowIndexRaises_data();
    void badRowIndexRaises();
};

void TestProcessRows::fromTableCopiesTheUsedEntries()
{
    JobTable table;
    table.ProcList[0] = {QStringLiteral("/bin/a"), QStringLiteral("-x")};
    table.ProcList[1] = {QStringLiteral("/bin/b"), {}};
    table.ProcList[2] = {QStringLiteral("/bin/stale"), QStringLiteral("old")};
    table.LastProc = 1;

    const ProcessRows rows = ProcessRows::fromTable(table);

    QCOMPARE(rows.count(), 2);
    QCOMPARE(rows.at(0), (ProcessRow{QStringLiteral("/bin/a"), QStringLiteral("-x")}));
    QCOMPARE(rows.at(1), (ProcessRow{QStringLiteral("/bin/b"), {}}));
}

void TestProcessRows::toTableReplacesTheListAndKeepsOldSlots()
{
    JobTable table;
    for (int i = 0; i < 5; ++i)
        table.ProcList[static_cast<std::size_t>(i)] = {QStringLiteral("old%1").arg(i), {}};
    table.LastProc = 4;
    table.EveryHours = 3;

    rowsOf(QStringLiteral("XY")).toTable(table);

    QCOMPARE(table.LastProc, 1);
    QCOMPARE(table.ProcList[0].Name, QStringLiteral("X"));
    QCOMPARE(table.ProcList[0].Param, QStringLiteral("0"));
    QCOMPARE(table.ProcList[1].Name, QStringLiteral("Y"));
    QCOMPARE(table.ProcList[1].Param, QStringLiteral("1"));
    // A run that fixed its entry count earlier may still read these.
    QCOMPARE(table.ProcList[2].Name, QStringLiteral("old2"));
    QCOMPARE(table.ProcList[4].Name, QStringLiteral("old4"));
    QCOMPARE(table.EveryHours, 3);
    QVERIFY(!table.Modified);
}

void TestProcessRows::toTableOfNoRowsEmptiesTheTable()
{
    JobTable table;
    table.ProcList[0] = {QStringLiteral("/bin/a"), {}};
    table.LastProc = 0;

    ProcessRows().toTable(table);

    QCOMPARE(table.LastProc, -1);
}

void TestProcessRows::addAppendsWithEmptyParameters()
{
    ProcessRows rows = rowsOf(QStringLiteral("AB"));

    rows.add(QStringLiteral("/opt/tool"));

    QCOMPARE(rows.count(), 3);
    QCOMPARE(rows.at(2), (ProcessRow{QStringLiteral("/opt/tool"), {}}));
    QCOMPARE(programsOf(rows).left(2), QStringLiteral("AB"));
}

void TestProcessRows::addRefusesTheFiftyFirstRow()
{
    ProcessRows rows;
    for (int i = 0; i < 49; ++i)
        rows.add(QStringLiteral("p%1").arg(i));
    QVERIFY(!rows.isFull());
    rows.add(QStringLiteral("p49"));
    QVERIFY(rows.isFull());

    QVERIFY_THROWS_EXCEPTION(std::length_error, rows.add(QStringLiteral("one too many")));
    QCOMPARE(rows.count(), 50);

    rows.remove(0);
    QVERIFY(!rows.isFull());
}

void TestProcessRows::setParametersChangesOneRow()
{
    ProcessRows rows = rowsOf(QStringLiteral("ABC"));

    rows.setParameters(1, QStringLiteral("  as typed  "));

    QCOMPARE(rows.at(1).parameters, QStringLiteral("  as typed  "));
    QCOMPARE(rows.at(0).parameters, QStringLiteral("0"));
    QCOMPARE(rows.at(2).parameters, QStringLiteral("2"));
}

void TestProcessRows::removeTakesOutOneRow()
{
    ProcessRows rows = rowsOf(QStringLiteral("ABC"));

    rows.remove(1);

    QCOMPARE(programsOf(rows), QStringLiteral("AC"));
    QCOMPARE(parametersOf(rows), QStringLiteral("02"));
}

void TestProcessRows::moveAbovePutsTheRowBeforeTheTarget_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("programs");
    QTest::addColumn<int>("movedTo");

    // clang-format off
    QTest::newRow("A onto C")      << 0 << 2 << QStringLiteral("BACD") << 1;
    QTest::newRow("D onto B")      << 3 << 1 << QStringLiteral("ADBC") << 1;
    QTest::newRow("B onto A")      << 1 << 0 << QStringLiteral("BACD") << 0;
    QTest::newRow("A onto B")      << 0 << 1 << QStringLiteral("ABCD") << 0;
    QTest::newRow("C onto D")      << 2 << 3 << QStringLiteral("ABCD") << 2;
    QTest::newRow("C onto itself") << 2 << 2 << QStringLiteral("ABCD") << 2;
    QTest::newRow("D onto A")      << 3 << 0 << QStringLiteral("DABC") << 0;
    QTest::newRow("A onto D")      << 0 << 3 << QStringLiteral("BCAD") << 2;
    // clang-format on
}

void TestProcessRows::moveAbovePutsTheRowBeforeTheTarget()
{
    QFETCH(int, source);
    QFETCH(int, target);
    QFETCH(QString, programs);
    QFETCH(int, movedTo);
    ProcessRows rows = rowsOf(QStringLiteral("ABCD"));

    QCOMPARE(rows.moveAbove(source, target), movedTo);

    QCOMPARE(programsOf(rows), programs);
    // Parameters travel with their rows.
    for (int i = 0; i < rows.count(); ++i)
        QCOMPARE(rows.at(i).parameters,
                 QString::number(QStringLiteral("ABCD").indexOf(rows.at(i).program)));
}

void TestProcessRows::moveKeepsEqualProgramsApart()
{
    // The same program twice, told apart only by their parameters.
    ProcessRows rows = rowsOf(QStringLiteral("ABA"));

    QCOMPARE(rows.moveAbove(2, 1), 1);

    QCOMPARE(programsOf(rows), QStringLiteral("AAB"));
    QCOMPARE(parametersOf(rows), QStringLiteral("021"));
}

void TestProcessRows::badRowIndexRaises_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");

    // clang-format off
    QTest::newRow("negative source")     << -1 << 0;
    QTest::newRow("source past the end") << 3  << 0;
    QTest::newRow("target past the end") << 0  << 3;
    QTest::newRow("negative target")     << 0  << -1;
    // clang-format on
}

void TestProcessRows::badRowIndexRaises()
{
    QFETCH(int, first);
    QFETCH(int, second);
    ProcessRows rows = rowsOf(QStringLiteral("ABC"));

    QVERIFY_THROWS_EXCEPTION(std::out_of_range, (void)rows.moveAbove(first, second));
    if (first < 0 || first >= rows.count()) {
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, rows.remove(first));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, rows.setParameters(first, {}));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, (void)rows.at(first));
    }

    QCOMPARE(programsOf(rows), QStringLiteral("ABC"));
    QCOMPARE(parametersOf(rows), QStringLiteral("012"));
}

QTEST_APPLESS_MAIN(TestProcessRows)
#include "tst_ProcessRows.moc"
