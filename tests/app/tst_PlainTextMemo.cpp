#include "PlainTextMemo.h"
#include "ProcessingRun.h"

#include <QPlainTextEdit>
#include <QTest>

namespace {

QStringList linesOf(const QPlainTextEdit& edit)
{
    const QString text = edit.toPlainText();
    return text.isEmpty() && edit.document()->blockCount() == 1 ? QStringList() : text.split(u'\n');
}

QStringList numbered(int from, int to)
{
    QStringList lines;
    for (int i = from; i <= to; ++i)
        lines << QString::number(i);
    return lines;
}

} // namespace

class TestPlainTextMemo : public QObject {
    Q_OBJECT

private slots:
    void showsTheLinesAsIfAppliedOneByOne_data();
    void showsTheLinesAsIfAppliedOneByOne();
};

// Steps, blank-separated: "+text" adds a line by the run's rule ("+" an empty one), "-" drops
// the first line, "|" puts what was gathered into the text area at once; the event loop does
// the rest.
void TestPlainTextMemo::showsTheLinesAsIfAppliedOneByOne_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QStringList>("lines");

    QString twenty;
    for (const QString& line : numbered(1, 20))
        twenty += QStringLiteral(" +") + line;
    const QString shownAtTwelve =
        QString(twenty).replace(QStringLiteral("+13"), QStringLiteral("| +13"));
    // clang-format off
    QTest::newRow("added")                  << "+a +b"           << QStringList{"a", "b"};
    QTest::newRow("first dropped")          << "+a +b -"         << QStringList{"b"};
    QTest::newRow("dropped past the end")   << "+a - - +b"       << QStringList{"b"};
    QTest::newRow("empty line alone")       << "+ +a"            << QStringList{"a"};
    QTest::newRow("empty line after text")  << "+a +"            << QStringList{"a", ""};
    QTest::newRow("drop shown and new")     << "+a +b | +c - -"  << QStringList{"c"};
    QTest::newRow("drop all, then add")     << "+a | +b - - +c"  << QStringList{"c"};
    QTest::newRow("kept empty last line")   << "+a + | - +b"     << QStringList{"", "b"};
    QTest::newRow("newest 15 of 20")        << twenty            << numbered(6, 20);
    QTest::newRow("newest 15, shown at 12") << shownAtTwelve     << numbered(6, 20);
    // clang-format on
}

void TestPlainTextMemo::showsTheLinesAsIfAppliedOneByOne()
{
    QFETCH(QString, steps);
    QFETCH(QStringList, lines);
    QPlainTextEdit edit;
    PlainTextMemo memo(edit);
    for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts)) {
        if (step == u'-')
            memo.deleteFirst();
        else if (step == u'|')
            memo.flush();
        else
            ProcessingRun::addMemoLine(memo, step.mid(1));
    }
    QCOMPARE(memo.count(), lines.size());
    QCoreApplication::processEvents();
    QCOMPARE(linesOf(edit), lines);
    QCOMPARE(memo.count(), lines.size());
}

QTEST_MAIN(TestPlainTextMemo)
#include "tst_PlainTextMemo.moc"
