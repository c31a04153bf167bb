#include "ChangingLogSource.h"
#include "LogLines.h"

#include <QTest>

namespace {

// Block sizes that put every break, CR LF pair and match across a block boundary somewhere,
// and a tuning that keeps few checkpoints, so that thinning and the distance rule are at work.
const QList<qint64> BlockSizes{1, 2, 3, 7, qint64(1) << 20};

LogLines::Tuning smallTuning(qint64 blockBytes)
{
    LogLines::Tuning tuning;
    tuning.blockBytes = blockBytes;
    tuning.maxCheckpoints = 3;
    tuning.checkpointDistance = 5;
    return tuning;
}

std::unique_ptr<LogLines> scanned(const QByteArray& bytes, LogLines::Tuning tuning)
{
    auto lines = std::make_unique<LogLines>(std::make_unique<BytesLogSource>(bytes), tuning);
    while (!lines->indexMore(3)) {
    }
    return lines;
}

} // namespace

class TestLogLines : public QObject {
    Q_OBJECT

private slots:
    void findsLines_data();
    void findsLines();
    void longLineIsCutButNotItsNeighbours();
    void sourceCutShortEndsTheLines();
    void appendedBytesGoOnTheLines_data();
    void appendedBytesGoOnTheLines();
    void finds_data();
    void finds();
};

void TestLogLines::findsLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArrayList>("expected");

    QTest::newRow("empty") << QByteArray() << QByteArrayList{};
    QTest::newRow("one line, no break") << QByteArray("abc") << QByteArrayList{"abc"};
    QTest::newRow("CR LF lines") << QByteArray("one\r\ntwo\r\n") << QByteArrayList{"one", "two"};
    QTest::newRow("last line without break") << QByteArray("a\r\nb") << QByteArrayList{"a", "b"};
    QTest::newRow("bare LF and bare CR")
        << QByteArray("a\nb\rc\n") << QByteArrayList{"a", "b", "c"};
    QTest::newRow("blank lines") << QByteArray("\r\n\r\nx\r\n\r\n")
                                 << QByteArrayList{"", "", "x", ""};
    QTest::newRow("CR then CR LF") << QByteArray("a\r\r\nb") << QByteArrayList{"a", "", "b"};
    QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << QByteArrayList{"a", "", "b"};
    QTest::newRow("ends in CR") << QByteArray("a\r") << QByteArrayList{"a"};
    QTest::newRow("invalid UTF-8 kept")
        << QByteArray("\xff\xfe\r\n\xc3") << QByteArrayList{"\xff\xfe", "\xc3"};
    QByteArray many;
    QByteArrayList manyLines;
    for (int i = 0; i < 200; ++i) {
        manyLines << QByteArray::number(i).repeated(i % 4);
        many += manyLines.last() + (i % 3 == 0 ? "\n" : "\r\n");
    }
    QTest::newRow("200 lines of mixed length") << many << manyLines;
}

void TestLogLines::findsLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArrayList, expected);
    for (const qint64 block : BlockSizes) {
        const QByteArray context = "block " + QByteArray::number(block);
        const auto owned = scanned(bytes, smallTuning(block));
        LogLines& lines = *owned;
        QVERIFY2(lines.lineCount() == expected.size(), context);
        QVERIFY2(lines.checkpointCount() <= smallTuning(block).maxCheckpoints, context);
        QVERIFY2(lines.lines(0, expected.size() + 5) == expected, context);
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QVERIFY2(lines.lines(i, 1) == QByteArrayList{expected[i]}, context);
            const qint64 start = lines.lineStart(i);
            QVERIFY2(bytes.mid(start, expected[i].size()) == expected[i], context);
            QVERIFY2(lines.lineAt(start) == i, context);
            QVERIFY2(lines.lineAt(start + expected[i].size()) == i, context);
        }
    }
}

void TestLogLines::longLineIsCutButNotItsNeighbours()
{
    const QByteArray longLine(LogLines::MaxLineBytes + 10, 'x');
    const QByteArray bytes = "before\r\n" + longLine + "\r\nafter\r\n";
    for (const qint64 block : BlockSizes.mid(3)) {
        const auto owned = scanned(bytes, smallTuning(block));
        LogLines& lines = *owned;
        const QByteArrayList shown = lines.lines(0, 3);
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown[1], longLine.left(LogLines::MaxLineBytes) + LogLines::MoreMark);
        QCOMPARE(shown[2], QByteArray("after"));
        QCOMPARE(lines.lines(2, 1), QByteArrayList{"after"});
    }
}

void TestLogLines::sourceCutShortEndsTheLines()
{
    auto source =
        std::make_unique<ChangingLogSource>(QByteArray("a\r\nb\r\nc").leftJustified(1000));
    source->cutTo(7);
    LogLines lines(std::move(source));
    QVERIFY(lines.indexMore(1 << 20));
    QCOMPARE(lines.lines(0, 10), (QByteArrayList{"a", "b", "c"}));
    QCOMPARE(lines.size(), 7);
}

void TestLogLines::appendedBytesGoOnTheLines_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("appended");
    QTest::addColumn<QByteArrayList>("expected");

    QTest::newRow("line appended")
        << QByteArray("a\r\n") << QByteArray("b\r\n") << QByteArrayList{"a", "b"};
    QTest::newRow("last line goes on")
        << QByteArray("a\r\nb") << QByteArray("c\r\nd") << QByteArrayList{"a", "bc", "d"};
    QTest::newRow("LF after a last CR")
        << QByteArray("a\r") << QByteArray("\nb") << QByteArrayList{"a", "b"};
    QTest::newRow("to an empty log") << QByteArray() << QByteArray("a\r\n") << QByteArrayList{"a"};
}

// Whether the scan had reached the end when the bytes came or not.
void TestLogLines::appendedBytesGoOnTheLines()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, appended);
    QFETCH(QByteArrayList, expected);
    for (const qint64 block : BlockSizes) {
        for (const bool scanDone : {true, false}) {
            const QByteArray context = "block " + QByteArray::number(block);
            auto owned = std::make_unique<ChangingLogSource>(before);
            ChangingLogSource& source = *owned;
            LogLines lines(std::move(owned), smallTuning(block));
            lines.indexMore(scanDone ? before.size() + 1 : 1);
            source.append(appended);
            QVERIFY2(lines.recheck() == LogSource::Change::Grown, context);
            while (!lines.indexMore(3)) {
            }
            QVERIFY2(lines.lines(0, expected.size() + 1) == expected, context);
            QVERIFY2(lines.recheck() == LogSource::Change::None, context);
        }
    }
}

void TestLogLines::finds_data()
{
    QTest::addColumn<QByteArray>("needle");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<qint64>("from");
    QTest::addColumn<qint64>("match");
    QTest::addColumn<bool>("wrapped");

    // The text searched: "alpha Beta\r\ngamma beta\r\nALPHA\r\n"
    //                     0     6      12    18     24
    QTest::newRow("forward from the start")
        << QByteArray("beta") << true << true << 0LL << 18LL << false;
    QTest::newRow("forward takes a match at from")
        << QByteArray("gamma") << true << true << 12LL << 12LL << false;
    QTest::newRow("forward wraps to the top")
        << QByteArray("alpha") << true << true << 1LL << 0LL << true;
    QTest::newRow("folded case") << QByteArray("beta") << false << true << 0LL << 6LL << false;
    QTest::newRow("folded needle") << QByteArray("ALPHA") << false << true << 1LL << 24LL << false;
    QTest::newRow("case kept: not found")
        << QByteArray("BETA") << true << true << 0LL << -1LL << false;
    QTest::newRow("backward before from")
        << QByteArray("a") << true << false << 12LL << 9LL << false;
    QTest::newRow("backward wraps to the end")
        << QByteArray("ALPHA") << true << false << 5LL << 24LL << true;
    QTest::newRow("backward skips a match at from")
        << QByteArray("gamma") << true << false << 12LL << 12LL << true;
    QTest::newRow("letters in either case around a line break")
        << QByteArray("TA\r\nGAM") << false << true << 0LL << 8LL << false;
    QTest::newRow("across the line break is no match")
        << QByteArray("Betagamma") << false << true << 0LL << -1LL << false;
}

void TestLogLines::finds()
{
    QFETCH(QByteArray, needle);
    QFETCH(bool, matchCase);
    QFETCH(bool, forward);
    QFETCH(qint64, from);
    QFETCH(qint64, match);
    QFETCH(bool, wrapped);
    const QByteArray text("alpha Beta\r\ngamma beta\r\nALPHA\r\n");
    for (const qint64 block : BlockSizes) {
        const QByteArray context = "block " + QByteArray::number(block);
        const auto owned = scanned(text, smallTuning(block));
        LogLines& lines = *owned;
        LogLines::Search search(lines, needle, matchCase, forward, from);
        while (search.step(block) == LogLines::Search::State::Searching) {
        }
        QVERIFY2(search.matchOffset() == match, context);
        QVERIFY2((search.state() == LogLines::Search::State::Found) == (match >= 0), context);
        if (match >= 0)
            QVERIFY2(search.wrapped() == wrapped, context);
    }
}

QTEST_GUILESS_MAIN(TestLogLines)
#include "tst_LogLines.moc"
