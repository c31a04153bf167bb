#include "Errors.h"
#include "ParameterSplitter.h"
#include "TestFiles.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestParameterSplitter : public QObject {
    Q_OBJECT

private slots:
    void splitsLikeAShellWithoutExpanding_data();
    void splitsLikeAShellWithoutExpanding();
    void incompleteTextRaises_data();
    void incompleteTextRaises();
};

void TestParameterSplitter::splitsLikeAShellWithoutExpanding_data()
{
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("empty") << "" << QStringList();
    QTest::newRow("blanks only") << " \t\n " << QStringList();
    QTest::newRow("one word") << "abc" << QStringList{u"abc"_s};
    QTest::newRow("blanks separate") << "a b\tc\nd" << QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s};
    QTest::newRow("runs of blanks, leading and trailing")
        << "  a \t  b  " << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("carriage return is no blank") << "a\rb" << QStringList{u"a\rb"_s};
    QTest::newRow("single quotes group") << "'a b' c" << QStringList{u"a b"_s, u"c"_s};
    QTest::newRow("single quotes keep backslash and double quote")
        << R"('a\"b\\ $x')" << QStringList{uR"(a\"b\\ $x)"_s};
    QTest::newRow("double quotes group") << R"("a b" "c'd")" << QStringList{u"a b"_s, u"c'd"_s};
    QTest::newRow("double quotes: backslash escapes $ ` \" \\")
        << R"("\$ \` \" \\")" << QStringList{uR"($ ` " \)"_s};
    QTest::newRow("double quotes: other backslashes stay")
        << R"("a\nb\'c\x")" << QStringList{uR"(a\nb\'c\x)"_s};
    QTest::newRow("double quotes: backslash line feed vanishes")
        << "\"a\\\nb\"" << QStringList{u"ab"_s};
    QTest::newRow("backslash outside quotes")
        << R"(a\ b \'c\" \\)" << QStringList{u"a b"_s, uR"('c")"_s, uR"(\)"_s};
    QTest::newRow("backslash line feed outside quotes")
        << "a\\\nb \\\n c" << QStringList{u"ab"_s, u"c"_s};
    QTest::newRow("empty single quotes") << "'' x" << QStringList{u""_s, u"x"_s};
    QTest::newRow("empty double quotes") << "x \"\"" << QStringList{u"x"_s, u""_s};
    QTest::newRow("parts join") << R"(a'b c'"d e"\ f)" << QStringList{u"ab cd e f"_s};
    QTest::newRow("tab and line feed inside quotes stay")
        << "'a\tb\nc' \"c\nd\"" << QStringList{u"a\tb\nc"_s, u"c\nd"_s};
    QTest::newRow("no expansion") << R"($HOME ${X} * ?.txt ~ ~/a $(ls) `id` a=b)"
                                  << QStringList{u"$HOME"_s, u"${X}"_s, u"*"_s,
                                                 u"?.txt"_s, u"~"_s,    u"~/a"_s,
                                                 u"$(ls)"_s, u"`id`"_s, u"a=b"_s};
    QTest::newRow("shell operators are plain text")
        << "a;b | c > d && e"
        << QStringList{u"a;b"_s, u"|"_s, u"c"_s, u">"_s, u"d"_s, u"&&"_s, u"e"_s};
    QTest::newRow("unicode") << u"Grüße '日本 語' \"ä\\\"ö\""_s
                             << QStringList{u"Grüße"_s, u"日本 語"_s, u"ä\"ö"_s};
    QTest::newRow("longer than 519 characters")
        << QString(2000, u'x') + u" y"_s << QStringList{QString(2000, u'x'), u"y"_s};
}

void TestParameterSplitter::splitsLikeAShellWithoutExpanding()
{
    QFETCH(QString, parameters);
    QFETCH(QStringList, arguments);
    QCOMPARE(splitParameters(parameters), arguments);
}

void TestParameterSplitter::incompleteTextRaises_data()
{
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<QString>("message");

    // clang-format off
    QTest::newRow("single quote")
        << "a 'b c"    << R"(Unterminated single quote in the parameters "a 'b c")";
    QTest::newRow("double quote")
        << R"(x "y)"   << R"(Unterminated double quote in the parameters "x "y")";
    QTest::newRow("lone double quote")
        << R"(")"      << R"(Unterminated double quote in the parameters """)";
    QTest::newRow("escaped closing double quote")
        << R"("a\")"   << R"(Unterminated double quote in the parameters ""a\"")";
    QTest::newRow("single quote inside double quotes closes nothing")
        << R"("a' b')" << R"(Unterminated double quote in the parameters ""a' b'")";
    QTest::newRow("double quote inside single quotes closes nothing")
        << R"('a" b")" << R"(Unterminated single quote in the parameters "'a" b"")";
    QTest::newRow("backslash at the end")
        << R"(a b\)"   << R"(Backslash at the end in the parameters "a b\")";
    // clang-format on
}

void TestParameterSplitter::incompleteTextRaises()
{
    QFETCH(QString, parameters);
    QFETCH(QString, message);
    QCOMPARE(errorOf([&] { (void)splitParameters(parameters); }), message);
}

QTEST_GUILESS_MAIN(TestParameterSplitter)
#include "tst_ParameterSplitter.moc"
