#include "ElfSection.h"
#include "Errors.h"
#include "RunlatchBuildInfo.h"
#include "ScratchDir.h"
#include "StVersionInfo.h"
#include "TestFiles.h"
#include "VersionTestFile.h"

#include <QBuffer>
#include <QTest>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

// VersionTestFile::program() gives each reader its own kind of program file, so most tests run on
// both platforms; the ELF files some tests build explicitly, for the ELF reader's own rules, mean
// nothing to the Windows reader, which takes the version from a program's resource.
#ifdef Q_OS_WIN
#define SKIP_UNLESS_ELF_READER() QSKIP("ELF sections exist only in Linux programs")
#else
#define SKIP_UNLESS_ELF_READER() (void)0
#endif

using Parts = std::array<std::uint16_t, 4>;
Q_DECLARE_METATYPE(VersionTestFile::Shape)

namespace {

const QString FileName = QStringLiteral("program");

QByteArray standardBlock(const Parts& fileVersion, const Parts& productVersion)
{
    return VersionTestFile::block(fileVersion, productVersion,
                                  {{"CompanyName", "Example Maker"},
                                   {"LegalCopyright", "\xc2\xa9 2026 Gr\xc3\xbc\xc3\x9f"
                                                      "e & <Co>"},
                                   {"LegalTrademarks", "Latch\xe2\x84\xa2"}});
}

ElfSection::Outcome outcomeOf(const QByteArray& file, QByteArray* contents = nullptr)
{
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    ElfSection section = ElfSection::find(buffer, VersionSectionName);
    if (contents)
        *contents = section.contents;
    return section.outcome;
}

} // namespace

class TestStVersionInfo : public QObject {
    Q_OBJECT

private slots:
    void readsFixedPartAndStrings_data();
    void readsFixedPartAndStrings();
    void missingKeysGiveEmptyStrings();
    void sectionPaddingIsIgnored();
    void damagedOrForeignFileRaises_data();
    void damagedOrForeignFileRaises();
    void missingFileRaisesWhenNamed();
    void valuesAreCachedUntilFileNameChanges();
    void failedLoadIsTriedAgain();
    void readsTheRunningProgram_data();
    void readsTheRunningProgram();
    void everyChangedBlockByteIsDamage();
    void damagedFilesNeverCrash();
};

void TestStVersionInfo::readsFixedPartAndStrings_data()
{
    QTest::addColumn<Parts>("fileVersion");
    QTest::addColumn<Parts>("productVersion");
    QTest::addColumn<VersionTestFile::Shape>("shape");

    using Shape = VersionTestFile::Shape;

    // clang-format off
    QTest::newRow("64-bit ELF")
        << Parts{1, 2, 3, 4}                 << Parts{5, 6, 7, 8}         << Shape{};
    QTest::newRow("all parts zero")
        << Parts{0, 0, 0, 0}                 << Parts{0, 0, 0, 0}         << Shape{};
    QTest::newRow("largest parts")
        << Parts{65535, 65535, 65535, 65535} << Parts{65535, 0, 65535, 0} << Shape{};
    QTest::newRow("32-bit ELF")
        << Parts{1, 2, 3, 4}                 << Parts{5, 6, 0, 0}         << Shape{false, false};
    QTest::newRow("64-bit big-endian ELF")
        << Parts{1, 2, 3, 4}                 << Parts{5, 6, 0, 0}         << Shape{true, true};
    QTest::newRow("32-bit big-endian ELF")
        << Parts{10, 20, 30, 40}             << Parts{50, 60, 0, 0}       << Shape{false, true};
    // clang-format on
}

void TestStVersionInfo::readsFixedPartAndStrings()
{
    QFETCH(Parts, fileVersion);
    QFETCH(Parts, productVersion);
    QFETCH(VersionTestFile::Shape, shape);
    // The 64-bit little-endian shape is the one program() makes; the others are ELF's alone.
    const bool programShape = shape.wide && !shape.bigEndian;
    if (!programShape)
        SKIP_UNLESS_ELF_READER();
    const QByteArray block = standardBlock(fileVersion, productVersion);
    ScratchDir scratch;
    QVERIFY(VersionTestFile::write(
        FileName, programShape ? VersionTestFile::program(block)
                               : VersionTestFile::elf(VersionSectionName, block, shape)));

    TStVersionInfo info;
    info.setFileName(FileName);
    const auto word = [](std::uint16_t high, std::uint16_t low) {
        return std::uint32_t{high} << 16 | low;
    };
    QCOMPARE(info.FileVersionMS(), word(fileVersion[0], fileVersion[1]));
    QCOMPARE(info.FileVersionLS(), word(fileVersion[2], fileVersion[3]));
    QCOMPARE(info.ProductVersionMS(), word(productVersion[0], productVersion[1]));
    QCOMPARE(info.ProductVersionLS(), word(productVersion[2], productVersion[3]));
    QCOMPARE(info.LegalCopyright(), QStringLiteral("\u00a9 2026 Gr\u00fc\u00dfe & <Co>"));
    QCOMPARE(info.LegalTrademarks(), QStringLiteral("Latch\u2122"));
    QCOMPARE(info.stringValue(QStringLiteral("CompanyName")), QStringLiteral("Example Maker"));
}

void TestStVersionInfo::missingKeysGiveEmptyStrings()
{
    ScratchDir scratch;
    QVERIFY(VersionTestFile::write(
        FileName, VersionTestFile::program(VersionTestFile::block({1, 0, 0, 0}, {1, 0, 0, 0},
                                                                  {{"LegalCopyright", ""}}))));
    TStVersionInfo info;
    info.setFileName(FileName);
    QCOMPARE(info.LegalCopyright(), QString());
    QCOMPARE(info.LegalTrademarks(), QString());
    QCOMPARE(info.FileVersionMS(), 0x10000u);
}

// A linker may round a section up to its alignment; the block's own size says where it ends.
void TestStVersionInfo::sectionPaddingIsIgnored()
{
    SKIP_UNLESS_ELF_READER();
    ScratchDir scratch;
    const QByteArray padded = standardBlock({1, 2, 3, 4}, {5, 6, 0, 0}) + QByteArray(13, '\0');
    QVERIFY(VersionTestFile::write(FileName, VersionTestFile::program(padded)));
    TStVersionInfo info;
    info.setFileName(FileName);
    QCOMPARE(info.LegalTrademarks(), QStringLiteral("Latch\u2122"));
}

void TestStVersionInfo::damagedOrForeignFileRaises_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");

    const QByteArray good = standardBlock({1, 2, 3, 4}, {5, 6, 0, 0});
    const QString noInfo = QString::fromLatin1(TStVersionInfo::ErrorNoVersionInfo);
    const QString unreadable = QString::fromLatin1(TStVersionInfo::ErrorUnreadable);
    const auto changed = [](QByteArray bytes, qsizetype at, char value) {
        bytes[at] = value;
        return bytes;
    };
    // Format 2 with a matching checksum: a newer block this reader cannot know.
    QByteArray newerFormat = changed(good, 8, '\2');
    newerFormat.chop(VersionBlockChecksumSize);
    VersionBlockChecksum checksum;
    for (const char c : newerFormat)
        checksum.add(static_cast<std::uint8_t>(c));
    for (int shift = 0; shift < 32; shift += 8)
        newerFormat += static_cast<char>((checksum.value() >> shift) & 0xFF);

    QTest::newRow("text file") << QByteArray("#!/bin/sh\necho hello\n") << noInfo;
    QTest::newRow("empty file") << QByteArray() << noInfo;
    QTest::newRow("block elsewhere in the program")
        << VersionTestFile::unversionedProgram(good) << noInfo;
    // On Linux it is no ELF file at all.
    QTest::newRow("PE without resources") << VersionTestFile::pe(std::nullopt) << noInfo;
    QTest::newRow("ELF without the section") << VersionTestFile::elf(".rodata", good) << noInfo;
    QTest::newRow("ELF without sections")
        << VersionTestFile::elf(".rodata", good).first(64).replace(40, 8, QByteArray(8, '\0'))
        << noInfo;
    // On Windows every damaged block gives the same damaged version resource.
    QTest::newRow("bad magic") << VersionTestFile::program(changed(good, 0, 'X')) << unreadable;
    QTest::newRow("bad checksum") << VersionTestFile::program(changed(good, good.size() - 10, '?'))
                                  << unreadable;
    QTest::newRow("newer format") << VersionTestFile::program(newerFormat) << unreadable;
    QTest::newRow("block cut short") << VersionTestFile::program(good.chopped(1)) << unreadable;
    QTest::newRow("empty section") << VersionTestFile::program(QByteArray()) << unreadable;
    const QByteArray goodElf = VersionTestFile::elf(VersionSectionName, good);
    QTest::newRow("file cut in its section table") << goodElf.chopped(20) << unreadable;
    QTest::newRow("ELF header cut short") << goodElf.first(30) << unreadable;
    QTest::newRow("unknown ELF class") << changed(goodElf, 4, '\3') << unreadable;
}

void TestStVersionInfo::damagedOrForeignFileRaises()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    if (file.startsWith("\x7f"
                        "ELF"))
        SKIP_UNLESS_ELF_READER();
    ScratchDir scratch;
    QVERIFY(VersionTestFile::write(FileName, file));
    TStVersionInfo info;
    info.setFileName(FileName);
    QCOMPARE(errorOf([&] { (void)info.FileVersionMS(); }), expected);
    QCOMPARE(errorOf([&] { (void)info.LegalCopyright(); }), expected);
}

void TestStVersionInfo::missingFileRaisesWhenNamed()
{
    ScratchDir scratch;
    QVERIFY(QDir().mkdir(QStringLiteral("folder")));
    QStringList existing{QStringLiteral("folder")};
#ifndef Q_OS_WIN
    QCOMPARE(::mkfifo("pipe", 0600), 0);
    existing << QStringLiteral("pipe");
#endif
    TStVersionInfo info;

    QCOMPARE(errorOf([&] { info.setFileName(QStringLiteral("missing")); }),
             QString::fromLatin1(TStVersionInfo::ErrorOpening));
    QCOMPARE(info.FileName(), QString());

    // They exist, so naming them is fine; there is nothing in them to read, and a pipe must not
    // wait for a writer.
    for (const QString& name : existing) {
        info.setFileName(name);
        QCOMPARE(errorOf([&] { (void)info.FileVersionMS(); }),
                 QString::fromLatin1(TStVersionInfo::ErrorOpening));
    }
}

void TestStVersionInfo::valuesAreCachedUntilFileNameChanges()
{
    ScratchDir scratch;
    const auto writeVersion = [](const QString& name, std::uint16_t major) {
        return VersionTestFile::write(name, VersionTestFile::program(VersionTestFile::block(
                                                {major, 0, 0, 0}, {major, 0, 0, 0}, {})));
    };
    QVERIFY(writeVersion(QStringLiteral("a"), 1));
    QVERIFY(writeVersion(QStringLiteral("b"), 2));
    TStVersionInfo info;
    info.setFileName(QStringLiteral("a"));
    QCOMPARE(info.FileVersionMS() >> 16, 1u);

    QVERIFY(writeVersion(QStringLiteral("a"), 7));
    info.setFileName(QStringLiteral("a"));
    QCOMPARE(info.ProductVersionMS() >> 16, 1u);

    info.setFileName(QStringLiteral("b"));
    QCOMPARE(info.FileVersionMS() >> 16, 2u);
    info.setFileName(QStringLiteral("a"));
    QCOMPARE(info.FileVersionMS() >> 16, 7u);
}

void TestStVersionInfo::failedLoadIsTriedAgain()
{
    ScratchDir scratch;
    QVERIFY(VersionTestFile::write(FileName, QByteArray("not a program")));
    TStVersionInfo info;
    info.setFileName(FileName);
    QCOMPARE(errorOf([&] { (void)info.FileVersionMS(); }),
             QString::fromLatin1(TStVersionInfo::ErrorNoVersionInfo));
    QVERIFY(VersionTestFile::write(
        FileName, VersionTestFile::program(standardBlock({3, 0, 0, 0}, {3, 0, 0, 0}))));
    QCOMPARE(info.FileVersionMS(), 0x30000u);
}

void TestStVersionInfo::readsTheRunningProgram_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty name") << QString();
    QTest::newRow("its path") << QCoreApplication::applicationFilePath();
}

// This test program carries the block (on Windows the resource) the build writes into Runlatch,
// so reading its own file checks what the build generated against the build's settings.
void TestStVersionInfo::readsTheRunningProgram()
{
    QFETCH(QString, name);
    TStVersionInfo info;
    info.setFileName(name);
    const auto& version = RunlatchBuildInfo::Version;
    QCOMPARE(info.FileVersionMS(), std::uint32_t{version[0]} << 16 | version[1]);
    QCOMPARE(info.FileVersionLS(), std::uint32_t{version[2]} << 16 | version[3]);
    QCOMPARE(info.ProductVersionMS(), info.FileVersionMS());
    QCOMPARE(info.LegalCopyright(), QString::fromUtf8(RunlatchBuildInfo::LegalCopyright));
    QCOMPARE(info.LegalTrademarks(), QString::fromUtf8(RunlatchBuildInfo::LegalTrademarks));
    QCOMPARE(info.stringValue(QStringLiteral("CompanyName")),
             QString::fromUtf8(RunlatchBuildInfo::MakerName));
    QCOMPARE(info.stringValue(QStringLiteral("FileVersion")),
             QString::fromUtf8(RunlatchBuildInfo::VersionText));
}

void TestStVersionInfo::everyChangedBlockByteIsDamage()
{
    const QByteArray good = standardBlock({1, 2, 3, 4}, {5, 6, 0, 0});
    QVERIFY(decodeVersionBlock(good).has_value());
    for (qsizetype at = 0; at < good.size(); ++at) {
        QByteArray bytes = good;
        bytes[at] = static_cast<char>(bytes[at] ^ 0x5a);
        QVERIFY2(!decodeVersionBlock(bytes).has_value(), qPrintable(QString::number(at)));
    }
}

// Every cut and every single changed byte of a small program file: the reader may find the block
// or report damage, but what it returns comes from the file, and it reads nothing beyond it
// (the sanitizer build checks that).
void TestStVersionInfo::damagedFilesNeverCrash()
{
    const QByteArray block = standardBlock({1, 2, 3, 4}, {5, 6, 0, 0});
    for (const VersionTestFile::Shape shape :
         {VersionTestFile::Shape{true, false}, VersionTestFile::Shape{false, true}}) {
        const QByteArray good = VersionTestFile::elf(VersionSectionName, block, shape);
        QByteArray found;
        QCOMPARE(outcomeOf(good, &found), ElfSection::Outcome::Found);
        QCOMPARE(found, block);
        for (qsizetype length = 0; length < good.size(); ++length)
            QVERIFY(outcomeOf(good.first(length)) != ElfSection::Outcome::Found);
        for (qsizetype at = 0; at < good.size(); ++at) {
            for (const char value : {'\0', '\x01', '\x7f', '\xff'}) {
                QByteArray bytes = good;
                bytes[at] = value;
                if (outcomeOf(bytes, &found) == ElfSection::Outcome::Found)
                    QVERIFY(bytes.contains(found));
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestStVersionInfo)
#include "tst_StVersionInfo.moc"
