#include "ProfileFile.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestProfileFile : public QObject {
    Q_OBJECT

private slots:
    void lookupFindsTheTrimmedValue_data();
    void lookupFindsTheTrimmedValue();
    void lookupCutsLongDefault();
    void hasSectionFindsAHeader_data();
    void hasSectionFindsAHeader();
    void setValueEditsOnlyItsLine_data();
    void setValueEditsOnlyItsLine();
    void eraseSectionRemovesEveryCopy_data();
    void eraseSectionRemovesEveryCopy();
    void protectedValueReadsBackWhole_data();
    void protectedValueReadsBackWhole();
    void editsAgreeWithAFreshReading_data();
    void editsAgreeWithAFreshReading();
};

namespace {

const QByteArray Missing = "<missing>"_ba;

QByteArray repeated(char c, qsizetype count)
{
    return QByteArray(count, c);
}

} // namespace

void TestProfileFile::lookupFindsTheTrimmedValue_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("expected");

    // clang-format off
    QTest::newRow("plain")
        << "[S]\r\nk=v\r\n"_ba                    << "S"_ba        << "k"_ba    << "v"_ba;
    QTest::newRow("names ignore ASCII case")
        << "[Sec]\r\nKey=v\r\n"_ba                << "sEC"_ba      << "kEY"_ba  << "v"_ba;
    QTest::newRow("other bytes keep their case")
        << "[\xC3\x89]\r\nk=v\r\n"_ba             << "\xC3\xA9"_ba << "k"_ba    << Missing;
    QTest::newRow("value trimmed")
        << "[S]\r\nk= \tv w \t\r\n"_ba            << "S"_ba        << "k"_ba    << "v w"_ba;
    QTest::newRow("double quotes removed")
        << "[S]\r\nk=\"v\"\r\n"_ba                << "S"_ba        << "k"_ba    << "v"_ba;
    QTest::newRow("single quotes removed")
        << "[S]\r\nk='v'\r\n"_ba                  << "S"_ba        << "k"_ba    << "v"_ba;
    QTest::newRow("blanks inside quotes kept")
        << "[S]\r\nk= \" v \" \r\n"_ba            << "S"_ba        << "k"_ba    << " v "_ba;
    QTest::newRow("one pair only")
        << "[S]\r\nk=\"\"v\"\"\r\n"_ba            << "S"_ba        << "k"_ba    << "\"v\""_ba;
    QTest::newRow("unlike quotes kept")
        << "[S]\r\nk=\"v'\r\n"_ba                 << "S"_ba        << "k"_ba    << "\"v'"_ba;
    QTest::newRow("lone quote kept")
        << "[S]\r\nk=\"\r\n"_ba                   << "S"_ba        << "k"_ba    << "\""_ba;
    QTest::newRow("value after first equals")
        << "[S]\r\nk=a=b\r\n"_ba                  << "S"_ba        << "k"_ba    << "a=b"_ba;
    QTest::newRow("empty value")
        << "[S]\r\nk=\r\n"_ba                     << "S"_ba        << "k"_ba    << ""_ba;
    QTest::newRow("key in file trimmed")
        << "[S]\r\n \t k \t= v\r\n"_ba            << "S"_ba        << "k"_ba    << "v"_ba;
    QTest::newRow("asked names trimmed")
        << "[S]\r\nk=v\r\n"_ba                    << " S "_ba      << "\tk "_ba << "v"_ba;
    QTest::newRow("header name trimmed")
        << "[ S ]\r\nk=v\r\n"_ba                  << "S"_ba        << "k"_ba    << "v"_ba;
    QTest::newRow("header after blanks")
        << "  [S]\r\nk=v\r\n"_ba                  << "S"_ba        << "k"_ba    << "v"_ba;
    QTest::newRow("header ends at first bracket")
        << "[S]x]\r\nk=v\r\n"_ba                  << "S"_ba        << "k"_ba    << "v"_ba;
    QTest::newRow("header without bracket")
        << "[S\r\nk=v\r\n"_ba                     << "S"_ba        << "k"_ba    << "v"_ba;
    QTest::newRow("key before any section")
        << "k=v\r\n[S]\r\n"_ba                    << "S"_ba        << "k"_ba    << Missing;
    QTest::newRow("key before any section, empty section name")
        << "k=v\r\n[S]\r\n"_ba                    << ""_ba         << "k"_ba    << Missing;
    QTest::newRow("empty section name")
        << "[]\r\nk=v\r\n"_ba                     << ""_ba         << "k"_ba    << "v"_ba;
    QTest::newRow("comment")
        << "[S]\r\n;k=v\r\n"_ba                   << "S"_ba        << "k"_ba    << Missing;
    QTest::newRow("comment named whole")
        << "[S]\r\n;k=v\r\n"_ba                   << "S"_ba        << ";k"_ba   << Missing;
    QTest::newRow("comment after blanks")
        << "[S]\r\n  ;k=v\r\n"_ba                 << "S"_ba        << "k"_ba    << Missing;
    QTest::newRow("no comment after a value")
        << "[S]\r\nk=v ;c\r\n"_ba                 << "S"_ba        << "k"_ba    << "v ;c"_ba;
    QTest::newRow("line without equals")
        << "[S]\r\nk\r\n"_ba                      << "S"_ba        << "k"_ba    << Missing;
    QTest::newRow("first of duplicate keys")
        << "[S]\r\nk=1\r\nK=2\r\n"_ba             << "S"_ba        << "k"_ba    << "1"_ba;
    QTest::newRow("only first duplicate section searched")
        << "[S]\r\na=1\r\n[s]\r\nk=2\r\n"_ba      << "S"_ba        << "k"_ba    << Missing;
    QTest::newRow("next section not searched")
        << "[S]\r\n[T]\r\nk=v\r\n"_ba             << "S"_ba        << "k"_ba    << Missing;
    QTest::newRow("LF endings")
        << "[S]\nk=v\n"_ba                        << "S"_ba        << "k"_ba    << "v"_ba;
    QTest::newRow("no final line end")
        << "[S]\r\nk=v"_ba                        << "S"_ba        << "k"_ba    << "v"_ba;
    QTest::newRow("byte-order mark skipped")
        << "\xEF\xBB\xBF[S]\r\nk=v\r\n"_ba        << "S"_ba        << "k"_ba    << "v"_ba;
    QTest::newRow("lone CR ends a line")
        << "[S]\rk=v\r\n"_ba                      << "S"_ba        << "k"_ba    << "v"_ba;
    QTest::newRow("CR-only lines")
        << "[A]\rk=a\r[S]\rj=1\rk=v\r[T]\rk=t"_ba << "S"_ba        << "k"_ba    << "v"_ba;
    QTest::newRow("mixed line ends")
        << "[S]\nj=1\rk=v\r\n"_ba                 << "S"_ba        << "k"_ba    << "v"_ba;
    QTest::newRow("CR before CR LF trimmed")
        << "[S]\r\nk=v\r\r\n"_ba                  << "S"_ba        << "k"_ba    << "v"_ba;
    QTest::newRow("NUL passed through")
        << "[S]\r\nk=a\0b\r\n"_ba                 << "S"_ba        << "k"_ba    << "a\0b"_ba;
    QTest::newRow("missing section")
        << "[T]\r\nk=v\r\n"_ba                    << "S"_ba        << "k"_ba    << Missing;
    QTest::newRow("empty file")
        << ""_ba                                  << "S"_ba        << "k"_ba    << Missing;
    // clang-format on

    QTest::newRow("long value cut") << "[S]\r\nk="_ba + repeated('x', 2000) + "\r\n"_ba
                                    << "S"_ba
                                    << "k"_ba << repeated('x', ProfileFile::MaxValueLength);
    QTest::newRow("longest value whole") << "[S]\r\nk='"_ba + repeated('x', 1023) + "'\r\n"_ba
                                         << "S"_ba
                                         << "k"_ba << repeated('x', 1023);
}

void TestProfileFile::lookupFindsTheTrimmedValue()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, expected);

    QCOMPARE(ProfileFile(file).lookup(section, key, Missing), expected);
}

void TestProfileFile::lookupCutsLongDefault()
{
    const QByteArray longDefault = repeated('d', 1500);
    QCOMPARE(ProfileFile().lookup("S", "k", longDefault), longDefault.left(1023));
}

void TestProfileFile::hasSectionFindsAHeader_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<bool>("expected");

    // clang-format off
    QTest::newRow("header without keys")    << "[A]\r\n[S]\r\n"_ba  << "S"_ba        << true;
    QTest::newRow("case ignored")           << "[schedule]\r\n"_ba  << "SCHEDULE"_ba << true;
    QTest::newRow("header without bracket") << "[S"_ba              << "S"_ba        << true;
    QTest::newRow("missing")                << "[A]\r\nS=1\r\n"_ba  << "S"_ba        << false;
    QTest::newRow("commented out")          << ";[S]\r\n"_ba        << "S"_ba        << false;
    QTest::newRow("empty file")             << ""_ba                << "S"_ba        << false;
    QTest::newRow("after byte-order mark")  << "\xEF\xBB\xBF[S]"_ba << "S"_ba        << true;
    // clang-format on
}

void TestProfileFile::hasSectionFindsAHeader()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, section);
    QFETCH(bool, expected);

    QCOMPARE(ProfileFile(file).hasSection(section), expected);
}

void TestProfileFile::setValueEditsOnlyItsLine_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");

    // clang-format off
    QTest::newRow("new file")
        << "S"_ba        << "k"_ba   << "v"_ba
        << ""_ba
        << "[S]\r\nk=v\r\n"_ba;
    QTest::newRow("replaced in place")
        << "S"_ba        << "k"_ba   << "new"_ba
        << "[S]\r\na=1\r\nk=old\r\nb=2\r\n"_ba
        << "[S]\r\na=1\r\nk=new\r\nb=2\r\n"_ba;
    QTest::newRow("key keeps its spelling")
        << "s"_ba        << "KEY"_ba << "new"_ba
        << "[S]\r\n  Key = old\r\n"_ba
        << "[S]\r\nKey=new\r\n"_ba;
    QTest::newRow("section keeps its spelling")
        << "SCHED"_ba    << "k"_ba   << "v"_ba
        << "[Sched]\r\na=1\r\n"_ba
        << "[Sched]\r\na=1\r\nk=v\r\n"_ba;
    QTest::newRow("new key after the section's last line")
        << "S"_ba        << "k"_ba   << "v"_ba
        << "[S]\r\na=1\r\n\r\n[T]\r\nb=2\r\n"_ba
        << "[S]\r\na=1\r\nk=v\r\n\r\n[T]\r\nb=2\r\n"_ba;
    QTest::newRow("new key after a trailing comment")
        << "S"_ba        << "k"_ba   << "v"_ba
        << "[S]\r\na=1\r\n; note\r\n\r\n\r\n[T]\r\n"_ba
        << "[S]\r\na=1\r\n; note\r\nk=v\r\n\r\n\r\n[T]\r\n"_ba;
    QTest::newRow("new key in a section without keys")
        << "S"_ba        << "k"_ba   << "v"_ba
        << "[S]\r\n[T]\r\n"_ba
        << "[S]\r\nk=v\r\n[T]\r\n"_ba;
    QTest::newRow("new key in the last section")
        << "S"_ba        << "k"_ba   << "v"_ba
        << "[S]\r\na=1\r\n\r\n"_ba
        << "[S]\r\na=1\r\nk=v\r\n\r\n"_ba;
    QTest::newRow("new key after a last line without end")
        << "S"_ba        << "k"_ba   << "v"_ba
        << "[S]\r\na=1"_ba
        << "[S]\r\na=1\r\nk=v\r\n"_ba;
    QTest::newRow("new section at the end")
        << "S"_ba        << "k"_ba   << "v"_ba
        << "[T]\r\nb=2\r\n"_ba
        << "[T]\r\nb=2\r\n[S]\r\nk=v\r\n"_ba;
    QTest::newRow("new section after a last line without end")
        << "S"_ba        << "k"_ba   << "v"_ba
        << "[T]\r\nb=2"_ba
        << "[T]\r\nb=2\r\n[S]\r\nk=v\r\n"_ba;
    QTest::newRow("new section spelled as given")
        << " New Sec"_ba << "k"_ba   << "v"_ba
        << ""_ba
        << "[ New Sec]\r\nk=v\r\n"_ba;
    QTest::newRow("replacing a last line without end")
        << "S"_ba        << "k"_ba   << "2"_ba
        << "[S]\r\nk=1"_ba
        << "[S]\r\nk=2\r\n"_ba;
    QTest::newRow("LF lines keep their ends")
        << "S"_ba        << "k"_ba   << "new"_ba
        << "[S]\na=1\nk=old\n[T]\nb=2"_ba
        << "[S]\na=1\nk=new\r\n[T]\nb=2"_ba;
    QTest::newRow("comments and unknown lines kept")
        << "S"_ba        << "k"_ba   << "2"_ba
        << "; top\r\nstray line\r\n[S]\r\n;k=1\r\nweird \x01 line\r\nk=1\r\n[U]\r\nx\ny\r\n"_ba
        << "; top\r\nstray line\r\n[S]\r\n;k=1\r\nweird \x01 line\r\nk=2\r\n[U]\r\nx\ny\r\n"_ba;
    QTest::newRow("byte-order mark kept")
        << "S"_ba        << "k"_ba   << "2"_ba
        << "\xEF\xBB\xBF[S]\r\nk=1\r\n"_ba
        << "\xEF\xBB\xBF[S]\r\nk=2\r\n"_ba;
    QTest::newRow("byte-order mark alone")
        << "S"_ba        << "k"_ba   << "v"_ba
        << "\xEF\xBB\xBF"_ba
        << "\xEF\xBB\xBF[S]\r\nk=v\r\n"_ba;
    QTest::newRow("first duplicate section updated")
        << "S"_ba        << "k"_ba   << "2"_ba
        << "[S]\r\na=1\r\n[S]\r\nk=1\r\n"_ba
        << "[S]\r\na=1\r\nk=2\r\n[S]\r\nk=1\r\n"_ba;
    QTest::newRow("first duplicate key updated")
        << "S"_ba        << "k"_ba   << "3"_ba
        << "[S]\r\nk=1\r\nk=2\r\n"_ba
        << "[S]\r\nk=3\r\nk=2\r\n"_ba;
    QTest::newRow("key before any section untouched")
        << "S"_ba        << "k"_ba   << "2"_ba
        << "k=1\r\n[S]\r\n"_ba
        << "k=1\r\n[S]\r\nk=2\r\n"_ba;
    QTest::newRow("comment is not the key")
        << "S"_ba        << "k"_ba   << "2"_ba
        << "[S]\r\n;k=1\r\n"_ba
        << "[S]\r\n;k=1\r\nk=2\r\n"_ba;
    QTest::newRow("value written byte for byte")
        << "S"_ba        << "k"_ba   << " a=\"b\" ;c "_ba
        << "[S]\r\n"_ba
        << "[S]\r\nk= a=\"b\" ;c \r\n"_ba;
    QTest::newRow("lone CR kept")
        << "S"_ba        << "k"_ba   << "v"_ba
        << "[S]\r\na=1\rb\r\n"_ba
        << "[S]\r\na=1\rb\r\nk=v\r\n"_ba;
    QTest::newRow("CR-only lines replaced in place")
        << "S"_ba        << "k"_ba   << "new"_ba
        << "[S]\ra=1\rk=old\r[T]\rb=2\r"_ba
        << "[S]\ra=1\rk=new\r\n[T]\rb=2\r"_ba;
    QTest::newRow("CR-only lines, new key")
        << "S"_ba        << "k"_ba   << "v"_ba
        << "[S]\ra=1\r\r[T]\rb=2"_ba
        << "[S]\ra=1\rk=v\r\n\r[T]\rb=2"_ba;
    QTest::newRow("CR-only lines, new section")
        << "S"_ba        << "k"_ba   << "v"_ba
        << "[T]\rb=2\r"_ba
        << "[T]\rb=2\r[S]\r\nk=v\r\n"_ba;
    QTest::newRow("other copies of the section untouched")
        << "s"_ba        << "k"_ba   << "v"_ba
        << "[S]\r\na=1\r\n[S]\r\nk=old\r\n"_ba
        << "[S]\r\na=1\r\nk=v\r\n[S]\r\nk=old\r\n"_ba;
    // clang-format on
}

void TestProfileFile::setValueEditsOnlyItsLine()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, after);

    ProfileFile file(before);
    file.setValue(section, key, value);
    QCOMPARE(file.bytes(), after);
}

void TestProfileFile::eraseSectionRemovesEveryCopy_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<bool>("erased");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");

    // clang-format off
    QTest::newRow("middle section with its comments and blanks")
        << "S"_ba         << true
        << "[A]\r\na=1\r\n[S]\r\nk=1\r\n; c\r\n\r\n[B]\r\nb=2\r\n"_ba
        << "[A]\r\na=1\r\n[B]\r\nb=2\r\n"_ba;
    QTest::newRow("last section without final line end")
        << "S"_ba         << true
        << "[A]\r\na=1\r\n[S]\r\nk=1"_ba
        << "[A]\r\na=1\r\n"_ba;
    QTest::newRow("byte-order mark stays")
        << "S"_ba         << true
        << "\xEF\xBB\xBF[S]\r\nk=1\r\n[A]\r\n"_ba
        << "\xEF\xBB\xBF[A]\r\n"_ba;
    QTest::newRow("case ignored")
        << "Processes"_ba << true
        << "[processes]\r\nCount=1\r\n"_ba
        << ""_ba;
    QTest::newRow("every duplicate")
        << "S"_ba         << true
        << "[S]\r\na=1\r\n[A]\r\n[S]\r\nb=2\r\n[B]\r\n[ s ]\r\nc=3\r\n"_ba
        << "[A]\r\n[B]\r\n"_ba;
    QTest::newRow("lines before the first header stay")
        << "S"_ba         << true
        << "k=1\r\n[S]\r\nk=2\r\n"_ba
        << "k=1\r\n"_ba;
    QTest::newRow("LF lines around stay")
        << "S"_ba         << true
        << "[A]\na=1\n[S]\nk=1\n[B]\n"_ba
        << "[A]\na=1\n[B]\n"_ba;
    QTest::newRow("missing section")
        << "S"_ba         << false
        << "[A]\r\na=1\r\n"_ba
        << "[A]\r\na=1\r\n"_ba;
    // clang-format on
}

void TestProfileFile::eraseSectionRemovesEveryCopy()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, section);
    QFETCH(bool, erased);
    QFETCH(QByteArray, after);

    ProfileFile file(before);
    QCOMPARE(file.eraseSection(section), erased);
    QCOMPARE(file.bytes(), after);
}

void TestProfileFile::protectedValueReadsBackWhole_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("written");

    // clang-format off
    QTest::newRow("plain")                      << "a b"_ba     << "a b"_ba;
    QTest::newRow("empty")                      << ""_ba        << ""_ba;
    QTest::newRow("double-quoted")              << "\"a b\""_ba << "\"\"a b\"\""_ba;
    QTest::newRow("single quotes at both ends") << "'x' 'y'"_ba << "\"'x' 'y'\""_ba;
    QTest::newRow("lone quote")                 << "\""_ba      << "\""_ba;
    QTest::newRow("two quotes")                 << "\"\""_ba    << "\"\"\"\""_ba;
    QTest::newRow("unlike quotes")              << "\"a'"_ba    << "\"a'"_ba;
    QTest::newRow("quote at one end")           << "\"a b"_ba   << "\"a b"_ba;
    QTest::newRow("leading blanks")             << "  a"_ba     << "\"  a\""_ba;
    QTest::newRow("trailing tab")               << "a\t"_ba     << "\"a\t\""_ba;
    QTest::newRow("blank alone")                << " "_ba       << "\" \""_ba;
    QTest::newRow("quotes inside blanks")       << " \"a\" "_ba << "\" \"a\" \""_ba;
    // clang-format on

    QTest::newRow("longest value, leading blank")
        << " "_ba + repeated('x', 1020) << "\" "_ba + repeated('x', 1020) + "\""_ba;
}

// What is written reads back as the value, at its full length.
void TestProfileFile::protectedValueReadsBackWhole()
{
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, written);

    QCOMPARE(ProfileFile::protectedValue(value), written);
    const ProfileFile file("[S]\r\nk="_ba + written + "\r\n"_ba);
    QCOMPARE(file.lookup("S", "k", {}), value);
}

void TestProfileFile::editsAgreeWithAFreshReading_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("edits");  // "section|key|value" sets, "section" erases
    QTest::addColumn<QStringList>("probes"); // "section|key"

    QTest::newRow("erased and written again")
        << "[P]\r\nCount=1\r\n[Q]\r\nx=1\r\n[p]\r\n02Name=stale\r\n"_ba
        << QStringList{u"P"_s, u"P|Count|2"_s, u"P|02Name|new"_s, u"Q|x|2"_s}
        << QStringList{u"P|Count"_s, u"P|02Name"_s, u"Q|x"_s};
    QTest::newRow("a key that makes a header")
        << "[S]\r\na=1\r\n[T]\r\nb=2\r\n"_ba
        << QStringList{u"S|[x|v"_s, u"S|a|3"_s, u"T|b|4"_s, u"S|c|5"_s}
        << QStringList{u"S|a"_s, u"S|c"_s, u"x=v|c"_s, u"T|b"_s, u"S|[x"_s};
    QTest::newRow("a section name with a bracket") << ""_ba << QStringList{u"a]b|k|v"_s, u"a|j|w"_s}
                                                   << QStringList{u"a|k"_s, u"a]b|k"_s, u"a|j"_s};
    QTest::newRow("lines before the first header")
        << "k=1\r\nj=2"_ba << QStringList{u"|k|3"_s, u"S|k|4"_s, u"|j|5"_s}
        << QStringList{u"|k"_s, u"|j"_s, u"S|k"_s};
    QTest::newRow("last section erased, then a new one")
        << "[A]\r\na=1\r\n[B]\r\nb=2"_ba << QStringList{u"B"_s, u"C|c|3"_s, u"A|a|4"_s}
        << QStringList{u"A|a"_s, u"B|b"_s, u"C|c"_s};
    QTest::newRow("byte-order mark alone")
        << "\xEF\xBB\xBF"_ba << QStringList{u"S|k|v"_s, u"S"_s, u"S|k|w"_s}
        << QStringList{u"S|k"_s};
}

// The sections are found once and then kept up to date by each edit: what the edited text
// holds must be what a new reading of its bytes finds.
void TestProfileFile::editsAgreeWithAFreshReading()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, edits);
    QFETCH(QStringList, probes);

    ProfileFile file(before);
    for (const QString& edit : std::as_const(edits)) {
        const QStringList parts = edit.split(u'|');
        if (parts.size() == 1)
            QVERIFY(file.eraseSection(parts[0].toUtf8()));
        else
            file.setValue(parts[0].toUtf8(), parts[1].toUtf8(), parts[2].toUtf8());
    }
    const ProfileFile fresh(file.bytes());
    for (const QString& probe : std::as_const(probes)) {
        const QByteArray section = probe.section(u'|', 0, 0).toUtf8();
        const QByteArray key = probe.section(u'|', 1).toUtf8();
        QCOMPARE(file.hasSection(section), fresh.hasSection(section));
        QCOMPARE(file.lookup(section, key, Missing), fresh.lookup(section, key, Missing));
    }
}

QTEST_APPLESS_MAIN(TestProfileFile)
#include "tst_ProfileFile.moc"
