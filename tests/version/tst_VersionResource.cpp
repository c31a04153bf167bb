#include "RunlatchBuildInfo.h"
#include "TestFiles.h"
#include "VersionResource.h"

#include <QTest>

namespace {

std::uint16_t u16(const QByteArray& bytes, qsizetype at)
{
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                      static_cast<std::uint8_t>(bytes[at + 1]) << 8);
}

std::uint32_t u32(const QByteArray& bytes, qsizetype at)
{
    return std::uint32_t{u16(bytes, at)} | std::uint32_t{u16(bytes, at + 2)} << 16;
}

QByteArray withU16(QByteArray bytes, qsizetype at, std::uint16_t value)
{
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
    return bytes;
}

// The data of the version resource in a compiled .res file. Each resource there has a header
// (data size, header size, type, name, ...) and, like its data, is padded to 32 bits; a type
// given as a number is 0xFFFF and the number, and RT_VERSION is 16.
[[maybe_unused]] QByteArray versionResourceOf(const QByteArray& compiled)
{
    for (qsizetype at = 0; at + 12 <= compiled.size();) {
        const auto dataSize = static_cast<qsizetype>(u32(compiled, at));
        const auto headerSize = static_cast<qsizetype>(u32(compiled, at + 4));
        if (u16(compiled, at + 8) == 0xFFFF && u16(compiled, at + 10) == 16)
            return compiled.mid(at + headerSize, dataSize);
        at = (at + headerSize + dataSize + 3) & ~qsizetype{3};
    }
    return {};
}

// Where the node with this key starts: its key follows the three 16-bit header fields.
qsizetype nodeOf(const QByteArray& bytes, const QString& key)
{
    QByteArray utf16;
    for (const QChar c : key + QChar(0)) {
        utf16 += static_cast<char>(c.unicode() & 0xFF);
        utf16 += static_cast<char>(c.unicode() >> 8);
    }
    const qsizetype at = bytes.indexOf(utf16);
    return at < 0 ? -1 : at - 6;
}

QByteArray withNodeLength(const QByteArray& bytes, const char* key, std::uint16_t length)
{
    return withU16(bytes, nodeOf(bytes, QString::fromLatin1(key)), length);
}

QString fromBuild(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

class TestVersionResource : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void readsTheFixedPart();
    void readsEveryString_data();
    void readsEveryString();
    void ignoresWhatFollowsTheResource();
    void stringsComeFromTheListedTranslation_data();
    void stringsComeFromTheListedTranslation();
    void damagedResourceGivesNothing_data();
    void damagedResourceGivesNothing();
    void everyCutGivesNothing();
    void everyChangedByteIsReadSafely();

private:
    QByteArray m_resource;
};

// The resource comes from tests/version/CMakeLists.txt, which sets the versions and texts the
// tests below expect.
void TestVersionResource::initTestCase()
{
#ifdef RUNLATCH_TEST_RESOURCE
    m_resource = versionResourceOf(readBytes(QStringLiteral(RUNLATCH_TEST_RESOURCE)));
    QVERIFY(!m_resource.isEmpty());
#else
    QSKIP("windres was not found when the build was configured, so there is no resource to read");
#endif
}

void TestVersionResource::readsTheFixedPart()
{
    const std::optional<VersionBlockValues> values = decodeVersionResource(m_resource);
    QVERIFY(values);
    QCOMPARE(values->fileVersionMS, 0x0007FFFFu);
    QCOMPARE(values->fileVersionLS, 0x0000002Au);
    QCOMPARE(values->productVersionMS, 0x0007FFFFu);
    QCOMPARE(values->productVersionLS, 0x0000002Au);
}

void TestVersionResource::readsEveryString_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    const auto row = [](const char* key, const QString& value) {
        QTest::newRow(key) << QString::fromLatin1(key) << value;
    };
    row("Comments", QString());
    row("CompanyName", QStringLiteral("Gr\u00fc\u00dfe & <Co> ''"));
    row("FileDescription", fromBuild(RunlatchBuildInfo::Description));
    row("FileVersion", QStringLiteral("7.65535.0.42"));
    row("InternalName", fromBuild(RunlatchBuildInfo::ProductName));
    row("LegalCopyright", QStringLiteral("\u00a9 2026 \"The Makers\" in C:\\new"));
    row("LegalTrademarks", QStringLiteral("Latch\u2122 and Runlatch\u00ae"));
    row("OriginalFilename", QStringLiteral("runlatch.exe"));
    row("ProductName", fromBuild(RunlatchBuildInfo::ProductName));
    row("ProductVersion", QStringLiteral("7.65535"));
}

void TestVersionResource::readsEveryString()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    const std::optional<VersionBlockValues> values = decodeVersionResource(m_resource);
    QVERIFY(values);
    QVERIFY(values->strings.contains(key));
    QCOMPARE(values->strings.value(key), value);
    QCOMPARE(values->strings.size(), 10);
}

// GetFileVersionInfoW hands over a buffer larger than the resource itself.
void TestVersionResource::ignoresWhatFollowsTheResource()
{
    const auto values = decodeVersionResource(m_resource + QByteArray(300, '\xff'));
    QVERIFY(values);
    QCOMPARE(values->strings.value(QStringLiteral("OriginalFilename")),
             QStringLiteral("runlatch.exe"));
}

void TestVersionResource::stringsComeFromTheListedTranslation_data()
{
    QTest::addColumn<QByteArray>("resource");
    QTest::addColumn<QString>("companyName");

    const qsizetype table = nodeOf(m_resource, QStringLiteral("040904b0"));
    QByteArray capitals = m_resource;
    capitals[table + 6 + 2 * 6] = 'B';
    // "Translation" and its terminator fill 24 bytes; the value starts on the next 32-bit step.
    const qsizetype translation = nodeOf(m_resource, QStringLiteral("Translation")) + 6 + 24 + 2;

    QTest::newRow("as listed") << m_resource << QStringLiteral("Gr\u00fc\u00dfe & <Co> ''");
    QTest::newRow("table key in capitals")
        << capitals << QStringLiteral("Gr\u00fc\u00dfe & <Co> ''");
    QTest::newRow("another language listed")
        << withU16(m_resource, translation, 0x0407) << QString();
    QTest::newRow("another code page listed")
        << withU16(m_resource, translation + 2, 1252) << QString();
}

void TestVersionResource::stringsComeFromTheListedTranslation()
{
    QFETCH(QByteArray, resource);
    QFETCH(QString, companyName);
    const std::optional<VersionBlockValues> values = decodeVersionResource(resource);
    QVERIFY(values);
    QCOMPARE(values->strings.value(QStringLiteral("CompanyName")), companyName);
    QCOMPARE(values->fileVersionLS, 0x2Au);
}

void TestVersionResource::damagedResourceGivesNothing_data()
{
    QTest::addColumn<QByteArray>("resource");

    const QByteArray& good = m_resource;
    const auto size = static_cast<std::uint16_t>(good.size());
    const qsizetype fixedPart = 40;
    QVERIFY(u32(good, fixedPart) == 0xFEEF04BDu);
    // The key "Comments" without its terminator: 16 bytes after the header.
    const auto keyOnly = static_cast<std::uint16_t>(6 + 16);
    QByteArray renamed = good;
    renamed[nodeOf(good, QStringLiteral("Translation")) + 6] = 'X';
    QByteArray otherRoot = good;
    otherRoot[6] = 'W';
    // Two bytes less between a key and its value: every later node is off its 32-bit boundary.
    const qsizetype company = nodeOf(good, QStringLiteral("CompanyName"));
    QByteArray offBoundary = good;
    offBoundary.remove(company + 6 + 24, 2);
    offBoundary = withU16(offBoundary, 0, static_cast<std::uint16_t>(size - 2));

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("header only") << good.first(6);
    QTest::newRow("root longer than the bytes") << withU16(good, 0, size + 4);
    QTest::newRow("root length zero") << withU16(good, 0, 0);
    QTest::newRow("odd root length") << withU16(good, 0, size - 1);
    QTest::newRow("other root key") << otherRoot;
    QTest::newRow("wrong fixed-part signature") << withU16(good, fixedPart, 0x04BE);
    QTest::newRow("fixed part too short") << withU16(good, 2, 48);
    QTest::newRow("fixed part longer than the root") << withU16(good, 2, 0xFFF0);
    QTest::newRow("zero-length string table group") << withNodeLength(good, "StringFileInfo", 0);
    QTest::newRow("zero-length string") << withNodeLength(good, "CompanyName", 0);
    QTest::newRow("string shorter than its header") << withNodeLength(good, "CompanyName", 4);
    QTest::newRow("string longer than its table") << withNodeLength(good, "CompanyName", 0xFFF0);
    // One byte short of a whole string: its text still ends and its padding covers the cut.
    const qsizetype copyright = nodeOf(good, QStringLiteral("LegalCopyright"));
    QTest::newRow("odd string length")
        << withU16(good, copyright, static_cast<std::uint16_t>(u16(good, copyright) - 1));
    QTest::newRow("key without its end") << withNodeLength(good, "Comments", keyOnly);
    QTest::newRow("children off their boundary") << offBoundary;
    QTest::newRow("zero-length translation group") << withNodeLength(good, "VarFileInfo", 0);
    QTest::newRow("no translation list") << renamed;
    QTest::newRow("translation list too short")
        << withU16(good, nodeOf(good, QStringLiteral("Translation")) + 2, 2);
}

void TestVersionResource::damagedResourceGivesNothing()
{
    QFETCH(QByteArray, resource);
    QVERIFY(!decodeVersionResource(resource).has_value());
}

// Cut anywhere, with the root's length left alone or made to fit the cut: either the root leaves
// the bytes, or a node, the fixed part or the translation list is missing or cut.
void TestVersionResource::everyCutGivesNothing()
{
    for (qsizetype length = 0; length < m_resource.size(); ++length) {
        const QByteArray cut = m_resource.first(length);
        QVERIFY2(!decodeVersionResource(cut), qPrintable(QString::number(length)));
        if (length >= 2) {
            const QByteArray fitted = withU16(cut, 0, static_cast<std::uint16_t>(length));
            QVERIFY2(!decodeVersionResource(fitted), qPrintable(QString::number(length)));
        }
    }
}

// Any changed byte may leave a readable resource or not, but the decoder reads only the bytes it
// is given (the sanitizer build checks that), and what it returns comes from them.
void TestVersionResource::everyChangedByteIsReadSafely()
{
    for (qsizetype at = 0; at < m_resource.size(); ++at) {
        for (const char value : {'\0', '\x01', '\x7f', '\xff'}) {
            QByteArray bytes = m_resource;
            bytes[at] = value;
            if (const auto values = decodeVersionResource(bytes))
                QCOMPARE(values->fileVersionMS, u32(bytes, 48));
        }
    }
}

QTEST_GUILESS_MAIN(TestVersionResource)
#include "tst_VersionResource.moc"
