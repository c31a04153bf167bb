#include "IniValueText.h"
#include "ProfileFile.h"
#include "StRegIni.h"
#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

// Damaged, hostile and oversized INI files, generated from a fixed seed: every read must give a
// default or a value, every write must read back as written and leave the rest of the file
// readable as before. Run under the sanitizers, this also shows there is no memory fault.
class TestIniRobustness : public QObject {
    Q_OBJECT

private slots:
    void storeReadsAndWritesGeneratedFiles();
    void editsOfGeneratedTextsReadBack();
};

namespace {

constexpr quint32 Seed = 0x5EED'1A7C;
constexpr int StoreRounds = 400;
constexpr int TextRounds = 2500;
constexpr std::size_t NamesPerFile = 3;

// Makes INI-like texts and the names and values to try on them.
class Generator {
public:
    explicit Generator(quint32 seed)
        : m_random(seed)
    {}

    [[nodiscard]] QByteArray file(int round)
    {
        if (round % 400 == 17)
            return hugeLine();
        if (round % 400 == 217)
            return manySections();
        switch (round % 8) {
        case 0:
        case 1:
            return noise(below(2000));
        case 2:
            return unbalanced();
        default:
            return mutated(structured());
        }
    }

    // A section or key name that survives a write and a read unchanged.
    [[nodiscard]] QString safeName()
    {
        static const QList<QString> pieces{u"Processes"_s, u"Schedule"_s, u"Count"_s,
                                           u"01Name"_s,    u"k"_s,        u"Sect"_s,
                                           u"é"_s,         u"日本"_s,     u"x-y.z"_s};
        QString name = pieces[below(pieces.size())];
        if (chance(3))
            name += QString::number(below(50));
        if (chance(4))
            name = name.toUpper();
        return name;
    }

    // A value that reads back as written: no blanks at either end, no enclosing quotes, and
    // not longer than a read returns.
    [[nodiscard]] QString safeValue()
    {
        static const QString alphabet = u"abcXYZ019 =;[]\"'\\/:.,-$éß日"_s;
        QString value;
        const qsizetype length = 1 + below(chance(20) ? 1023 : 40);
        for (qsizetype bytes = 0; value.size() < length;) {
            const QChar next = alphabet[below(alphabet.size())];
            bytes += next.unicode() < 0x80 ? 1 : next.unicode() < 0x800 ? 2 : 3;
            if (bytes > ProfileFile::MaxValueLength)
                break;
            value += next;
        }
        if (value.front() == u' ' || value.front() == u'"' || value.front() == u'\'')
            value.front() = u'v';
        if (value.back() == u' ')
            value.back() = u'w';
        return value;
    }

    [[nodiscard]] qsizetype below(qsizetype bound)
    {
        return static_cast<qsizetype>(m_random.bounded(static_cast<quint32>(bound)));
    }
    [[nodiscard]] bool chance(int oneIn) { return m_random.bounded(oneIn) == 0; }
    [[nodiscard]] double anyDouble()
    {
        const double mantissa = m_random.generateDouble() * 2.0 - 1.0;
        return std::ldexp(mantissa, static_cast<int>(below(2000)) - 1000);
    }
    [[nodiscard]] std::int32_t anyInteger()
    {
        return static_cast<std::int32_t>(m_random.generate());
    }

private:
    // Bytes with a strong bias towards the ones that mean something in an INI file.
    [[nodiscard]] QByteArray noise(qsizetype length)
    {
        static const QByteArray meaningful = "[]=;\"' \t\r\n\r\nkK0$xE.-+"_ba + QByteArray(1, '\0');
        QByteArray bytes;
        bytes.reserve(length);
        for (qsizetype i = 0; i < length; ++i)
            bytes += chance(3) ? static_cast<char>(m_random.bounded(256))
                               : meaningful[below(meaningful.size())];
        return bytes;
    }

    [[nodiscard]] QByteArray structured()
    {
        static const QList<QByteArray> lineEnds{"\r\n"_ba, "\n"_ba, "\r"_ba, "\r\r\n"_ba};
        const QByteArray lineEnd = lineEnds[below(chance(2) ? 1 : lineEnds.size())];
        QByteArray text = chance(10) ? "\xEF\xBB\xBF"_ba : QByteArray();
        const qsizetype sections = below(6);
        for (qsizetype s = 0; s < sections; ++s) {
            text += (chance(5) ? "  [" : "[") + safeName().toUtf8() + "]" + lineEnd;
            const qsizetype keys = below(8);
            for (qsizetype k = 0; k < keys; ++k) {
                if (chance(6))
                    text += "; comment" + lineEnd;
                text += safeName().toUtf8() + (chance(4) ? " = " : "=") + safeValue().toUtf8() +
                        lineEnd;
            }
            if (chance(3))
                text += lineEnd;
        }
        if (chance(4) && text.endsWith(lineEnd))
            text.chop(lineEnd.size());
        return text;
    }

    [[nodiscard]] QByteArray mutated(QByteArray text)
    {
        const qsizetype mutations = below(6);
        for (qsizetype m = 0; m < mutations && !text.isEmpty(); ++m) {
            const qsizetype at = below(text.size());
            switch (below(4)) {
            case 0:
                text[at] = static_cast<char>(m_random.bounded(256));
                break;
            case 1:
                text.insert(at, noise(1 + below(8)));
                break;
            case 2:
                text.remove(at, 1 + below(16));
                break;
            default:
                text.insert(at, text.mid(below(text.size()), below(64)));
                break;
            }
        }
        return text;
    }

    [[nodiscard]] QByteArray unbalanced()
    {
        static const QList<QByteArray> lines{
            "[abc"_ba,      "abc]"_ba,  "[[x]]"_ba,   "]["_ba,      "k=\"v"_ba, "k='v\""_ba,
            "k=\""_ba,      "=\"\""_ba, "[\"S\"]"_ba, "=="_ba,      "[=]"_ba,   "\"k\"=v"_ba,
            "[Schedule"_ba, "k='"_ba,   "[]"_ba,      "k=v\rx=y"_ba};
        QByteArray text;
        const qsizetype count = 1 + below(30);
        for (qsizetype i = 0; i < count; ++i)
            text += lines[below(lines.size())] + (chance(2) ? "\r\n" : "\n");
        return text;
    }

    [[nodiscard]] QByteArray hugeLine()
    {
        return "[S]\r\nk="_ba + QByteArray(100 * 1024, 'x') + "\r\n[T]\r\n"_ba +
               QByteArray(100 * 1024, '[') + "\r\n"_ba;
    }

    [[nodiscard]] QByteArray manySections()
    {
        QByteArray text;
        for (int s = 0; s < 3000; ++s)
            text += "[S" + QByteArray::number(s) + "]\r\nk=" + QByteArray::number(s) + "\r\n";
        return text;
    }

    QRandomGenerator m_random;
};

// The section and key names a file seems to hold, found the simple way, so that reads hit
// present keys as well as missing ones.
[[nodiscard]] std::vector<std::pair<QString, QString>> namesIn(const QByteArray& text)
{
    std::vector<std::pair<QString, QString>> names;
    QByteArray section;
    for (const QByteArray& line : text.split('\n')) {
        const QByteArray content = line.trimmed();
        if (content.startsWith('[')) {
            section = content.mid(1, content.indexOf(']') - 1);
        } else if (const qsizetype equals = content.indexOf('=');
                   equals >= 0 && names.size() < NamesPerFile) {
            names.emplace_back(QString::fromUtf8(section), QString::fromUtf8(content.left(equals)));
        }
    }
    return names;
}

} // namespace

void TestIniRobustness::storeReadsAndWritesGeneratedFiles()
{
    // Durability is not under test here, and a memory file system makes the syncs free.
    const QString shared = u"/dev/shm"_s;
    QTemporaryDir dir((QFileInfo(shared).isDir() ? shared : QDir::tempPath()) +
                      u"/runlatch-XXXXXX"_s);
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"job.ini"_s);
    Generator generate(Seed);

    for (int round = 0; round < StoreRounds; ++round) {
        const QByteArray text = generate.file(round);
        QVERIFY(writeBytes(path, text));
        TStRegIni store(path);

        auto names = namesIn(text);
        names.emplace_back(generate.safeName(), generate.safeName());
        std::vector<QString> before;
        for (const auto& [section, key] : names) {
            store.setCurrentSection(section);
            const QString value = store.ReadString(key, u"\x01"_s);
            QVERIFY2(value.size() <= ProfileFile::MaxValueLength, qPrintable(key));
            before.push_back(value);
            static_cast<void>(store.ReadInteger(key, 7));
            static_cast<void>(store.ReadBoolean(key, true));
            const double number = store.ReadFloat(key, 0.5);
            QVERIFY(std::isfinite(number));
            static_cast<void>(store.SectionExists(section));
        }

        const QString section = generate.safeName();
        const QString key = generate.safeName();
        store.setCurrentSection(section);
        switch (round % 4) {
        case 0: {
            const QString value = generate.safeValue();
            store.WriteString(key, value);
            QCOMPARE(store.ReadString(key, QString()), value);
            break;
        }
        case 1: {
            const std::int32_t value = generate.anyInteger();
            store.WriteInteger(key, value);
            QCOMPARE(store.ReadInteger(key, value ^ 1), value);
            break;
        }
        case 2: {
            const double value = generate.anyDouble();
            store.WriteFloat(key, value);
            const double back = store.ReadFloat(key, std::nan(""));
            QVERIFY2(std::fabs(back - value) <= std::fabs(value) * 1e-14, qPrintable(key));
            break;
        }
        default:
            store.WriteBoolean(key, round % 8 == 3);
            QCOMPARE(store.ReadBoolean(key, round % 8 != 3), round % 8 == 3);
            break;
        }
        QVERIFY(store.SectionExists(section));

        // The write touched its own key only.
        for (std::size_t i = 0; i < names.size(); ++i) {
            const auto& [otherSection, otherKey] = names[i];
            const auto same = [](const QString& a, const QString& b) {
                return ProfileFile::sameName(ProfileFile::trimmed(a.toUtf8()),
                                             ProfileFile::trimmed(b.toUtf8()));
            };
            if (same(otherSection, section) && same(otherKey, key))
                continue;
            store.setCurrentSection(otherSection);
            QCOMPARE(store.ReadString(otherKey, u"\x01"_s), before[i]);
        }
    }
}

void TestIniRobustness::editsOfGeneratedTextsReadBack()
{
    Generator generate(Seed + 1);
    for (int round = 0; round < TextRounds; ++round) {
        const QByteArray text = generate.file(round);
        ProfileFile file(text);
        for (const auto& [section, key] : namesIn(text)) {
            const QByteArray value = file.lookup(section.toUtf8(), key.toUtf8(), {});
            QVERIFY(value.size() <= ProfileFile::MaxValueLength);
            static_cast<void>(IniValueText::parseInteger(value));
            static_cast<void>(IniValueText::parseBoolean(value));
            QVERIFY(std::isfinite(IniValueText::parseFloat(value).value_or(0.0)));
        }

        const QByteArray section = generate.safeName().toUtf8();
        const QByteArray key = generate.safeName().toUtf8();
        const QByteArray value = generate.safeValue().toUtf8();

        file.setValue(section, key, value);
        QCOMPARE(file.lookup(section, key, {}), value.left(ProfileFile::MaxValueLength));
        QVERIFY(file.hasSection(section));

        const qsizetype sizeBefore = file.bytes().size();
        QVERIFY(file.eraseSection(section));
        QVERIFY(file.bytes().size() < sizeBefore);
        // An erase must not leave the key behind in the same section range.
        if (!file.hasSection(section))
            QCOMPARE(file.lookup(section, key, "-"), "-"_ba);
    }
}

QTEST_GUILESS_MAIN(TestIniRobustness)
#include "tst_IniRobustness.moc"
