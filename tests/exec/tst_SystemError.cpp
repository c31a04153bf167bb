#include "SystemError.h"

#include <QTest>

#include <cerrno>

class TestSystemError : public QObject {
    Q_OBJECT

private slots:
    void messageJoinsTheCodeAndTheTrimmedSystemText_data();
    void messageJoinsTheCodeAndTheTrimmedSystemText();
    void usesTheSystemsText_data();
    void usesTheSystemsText();
};

void TestSystemError::messageJoinsTheCodeAndTheTrimmedSystemText_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("systemText");
    QTest::addColumn<QString>("message");

    // clang-format off
    QTest::newRow("plain text")
        << 13 << "Permission denied"     << "System Error.  Code: 13.\nPermission denied";
    QTest::newRow("full stop, CR LF")
        << 5  << "Access is denied.\r\n" << "System Error.  Code: 5.\nAccess is denied";
    QTest::newRow("blanks, stops, tab mixed")
        << 7  << "Gone . .\t \n"         << "System Error.  Code: 7.\nGone";
    QTest::newRow("inner stops and blanks stay")
        << 9  << "a. b c.."              << "System Error.  Code: 9.\na. b c";
    QTest::newRow("nothing left")
        << 3  << " .\n"                  << "System Error.  Code: 3.\n";
    QTest::newRow("placeholder-like text")
        << 4  << "%1 %2"                 << "System Error.  Code: 4.\n%1 %2";
    QTest::newRow("code 0")
        << 0  << "Success"               << "A system function failed";
    // clang-format on
}

void TestSystemError::messageJoinsTheCodeAndTheTrimmedSystemText()
{
    QFETCH(int, code);
    QFETCH(QString, systemText);
    QFETCH(QString, message);
    QCOMPARE(systemErrorMessage(code, systemText), message);
}

void TestSystemError::usesTheSystemsText_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");

    // clang-format off
    QTest::newRow("no code")
        << 0      << "A system function failed";
    QTest::newRow("permission denied")
        << EACCES << "System Error.  Code: 13.\nPermission denied";
    QTest::newRow("unknown code")
        << 4321   << "System Error.  Code: 4321.\nUnknown error 4321";
    // clang-format on
}

void TestSystemError::usesTheSystemsText()
{
    QFETCH(int, code);
    QFETCH(QString, message);
    const PlatformError error = systemError(code);
    QCOMPARE(error.code(), code);
    QCOMPARE(error.message(), message);
}

QTEST_GUILESS_MAIN(TestSystemError)
#include "tst_SystemError.moc"
