#include "SystemError.h"

#include <QTest>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

#ifdef Q_OS_WIN
const QString withCode = u"Win32 Error.  Code: "_s;
const QString noCode = u"A Win32 API function failed"_s;
#else
const QString withCode = u"System Error.  Code: "_s;
const QString noCode = u"A system function failed"_s;
#endif

} // namespace

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
        << 13 << "Permission denied"     << withCode + u"13.\nPermission denied"_s;
    QTest::newRow("full stop, CR LF")
        << 5  << "Access is denied.\r\n" << withCode + u"5.\nAccess is denied"_s;
    QTest::newRow("blanks, stops, tab mixed")
        << 7  << "Gone . .\t \n"         << withCode + u"7.\nGone"_s;
    QTest::newRow("inner stops and blanks stay")
        << 9  << "a. b c.."              << withCode + u"9.\na. b c"_s;
    QTest::newRow("nothing left")
        << 3  << " .\n"                  << withCode + u"3.\n"_s;
    QTest::newRow("placeholder-like text")
        << 4  << "%1 %2"                 << withCode + u"4.\n%1 %2"_s;
    QTest::newRow("code 0")
        << 0  << "Success"               << noCode;
    // clang-format on
}

void TestSystemError::messageJoinsTheCodeAndTheTrimmedSystemText()
{
    QFETCH(int, code);
    QFETCH(QString, systemText);
    QFETCH(QString, message);
    QCOMPARE(systemErrorMessage(static_cast<SystemErrorCode>(code), systemText), message);
}

void TestSystemError::usesTheSystemsText_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("textFollows"); // the system's text, which depends on the system
    QTest::addColumn<QString>("subject");  // shown in the system's text, which has a place for it

    // clang-format off
    QTest::newRow("no code")
        << 0      << noCode                                      << false << QString();
#ifdef Q_OS_WIN
    QTest::newRow("access denied")
        << 5      << withCode + u"5.\n"_s                         << true  << QString();
    QTest::newRow("not a program, whose text names it")
        << 193    << withCode + u"193.\n"_s                       << true  << u"C:\\1\\a b.exe"_s;
    QTest::newRow("code the system has no text for")
        << 14999  << withCode + u"14999.\n"_s                     << false << QString();
#else
    QTest::newRow("permission denied")
        << EACCES << withCode + u"13.\nPermission denied"_s       << false << u"/bin/a"_s;
    QTest::newRow("unknown code")
        << 4321   << withCode + u"4321.\nUnknown error 4321"_s    << false << QString();
#endif
    // clang-format on
}

// Where the text differs between systems and languages, it must be there and be trimmed.
void TestSystemError::usesTheSystemsText()
{
    QFETCH(int, code);
    QFETCH(QString, message);
    QFETCH(bool, textFollows);
    QFETCH(QString, subject);
    const PlatformError error = systemError(static_cast<SystemErrorCode>(code), subject);
    QCOMPARE(error.code(), code);
    if (!textFollows) {
        QCOMPARE(error.message(), message);
        return;
    }
    QVERIFY2(error.message().startsWith(message), qPrintable(error.message()));
    const QString text = error.message().sliced(message.size());
    QVERIFY2(!text.isEmpty() && !text.endsWith(u'.') && text == text.trimmed(), qPrintable(text));
    QVERIFY2(!text.contains(u'%') && text.contains(subject), qPrintable(text));
}

QTEST_GUILESS_MAIN(TestSystemError)
#include "tst_SystemError.moc"
