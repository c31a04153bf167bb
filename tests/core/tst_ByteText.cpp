#include "ByteText.h"

#include <QTest>

class TestByteText : public QObject {
    Q_OBJECT

private slots:
    void everyByteStringComesBackUnchanged_data();
    void everyByteStringComesBackUnchanged();
};

void TestByteText::everyByteStringComesBackUnchanged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text"); // what the bytes decode to

    const auto escaped = [](char16_t byte) {
        return QString(QChar(char16_t(0xDC00 + byte)));
    };
    QTest::newRow("plain ASCII") << QByteArray("/usr/bin/rsync -a")
                                 << QStringLiteral("/usr/bin/rsync -a");
    QTest::newRow("valid UTF-8") << QByteArray("Gr\xc3\xbc\xc3\x9f\x65 \xf0\x9f\x98\x80")
                                 << QStringLiteral("Grüße 😀");
    QTest::newRow("Latin-1 byte") << QByteArray("caf\xe9") << QStringLiteral("caf") + escaped(0xE9);
    QTest::newRow("lone continuation and FF")
        << QByteArray("\x80x\xff") << escaped(0x80) + u'x' + escaped(0xFF);
    QTest::newRow("cut-off sequence at the end")
        << QByteArray("a\xe2\x82") << u'a' + escaped(0xE2) + escaped(0x82);
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << escaped(0xC0) + escaped(0xAF);
    QTest::newRow("encoded surrogate")
        << QByteArray("\xed\xb2\x80") << escaped(0xED) + escaped(0xB2) + escaped(0x80);
    QTest::newRow("above U+10FFFF")
        << QByteArray("\xf4\x90\x80\x80")
        << escaped(0xF4) + escaped(0x90) + escaped(0x80) + escaped(0x80);
    QTest::newRow("valid around invalid")
        << QByteArray("\xc3\xa9\xff\xc3\xa9") << QStringLiteral("é") + escaped(0xFF) + u'é';
}

// Every byte string comes back unchanged, and valid text decodes as text.
void TestByteText::everyByteStringComesBackUnchanged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(decodeBytes(bytes), text);
    QCOMPARE(encodeText(decodeBytes(bytes)), bytes);
}

QTEST_GUILESS_MAIN(TestByteText)
#include "tst_ByteText.moc"
