#include "ErrorGuard.h"
#include "Errors.h"
#include "ScriptedPrompts.h"

#include <QTest>

class TestErrorGuard : public QObject {
    Q_OBJECT

private slots:
    void generalErrorTextEndsWithAFullStop_data();
    void generalErrorTextEndsWithAFullStop();
    void errorsReachTheDisplay_data();
    void errorsReachTheDisplay();
    void noErrorShowsNothing();
    void effectsBeforeTheErrorStay();
};

void TestErrorGuard::generalErrorTextEndsWithAFullStop_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");

    // clang-format off
    QTest::newRow("letter")                      << "File not found" << "File not found.";
    QTest::newRow("digit")                       << "Code 7"         << "Code 7.";
    QTest::newRow("full stop kept")              << "Done."          << "Done.";
    QTest::newRow("exclamation below full stop") << "x not found!"   << "x not found!";
    QTest::newRow("blank below full stop")       << "application "   << "application ";
    QTest::newRow("slash above full stop")       << "a/"             << "a/.";
    QTest::newRow("empty")                       << ""               << "";
    // clang-format on

    QTest::newRow("line feed inside") << "System Error.  Code: 2.\nNo such file or directory"
                                      << "System Error.  Code: 2.\nNo such file or directory.";
}

void TestErrorGuard::generalErrorTextEndsWithAFullStop()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(generalErrorText(message), shown);
}

void TestErrorGuard::errorsReachTheDisplay_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("shown");

    // clang-format off
    QTest::newRow("general error")      << 0 << "Unable to find application x.";
    QTest::newRow("platform error")     << 1 << "System Error.  Code: 13.";
    QTest::newRow("INI store error")    << 2 << "Failed to write value to INI file.";
    QTest::newRow("standard exception") << 3 << "bad things.";
    QTest::newRow("not an exception")   << 4 << "Unknown error.";
    // clang-format on
}

void TestErrorGuard::errorsReachTheDisplay()
{
    QFETCH(int, kind);
    QFETCH(QString, shown);
    ScriptedPrompts prompts;
    guarded(prompts, [kind] {
        switch (kind) {
        case 0:
            throw RunlatchError(QStringLiteral("Unable to find application x"));
        case 1:
            throw PlatformError(13, QStringLiteral("System Error.  Code: 13"));
        case 2:
            throw EStRegIniError(7, QStringLiteral("Failed to write value to INI file"));
        case 3:
            throw std::runtime_error("bad things");
        default:
            throw 42;
        }
    });
    QCOMPARE(prompts.texts(ScriptedPrompts::Kind::General), QStringList{shown});
}

void TestErrorGuard::noErrorShowsNothing()
{
    ScriptedPrompts prompts;
    bool ran = false;
    guarded(prompts, [&] { ran = true; });
    QVERIFY(ran);
    QVERIFY(prompts.asked.isEmpty());
}

void TestErrorGuard::effectsBeforeTheErrorStay()
{
    ScriptedPrompts prompts;
    int steps = 0;
    guarded(prompts, [&] {
        ++steps;
        throw IoError(QStringLiteral("File not found"));
    });
    QCOMPARE(steps, 1);
    QCOMPARE(prompts.count(ScriptedPrompts::Kind::General), 1);
}

QTEST_APPLESS_MAIN(TestErrorGuard)
#include "tst_ErrorGuard.moc"
