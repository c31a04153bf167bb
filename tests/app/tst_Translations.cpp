#include "MainForm.h"
#include "ScratchDir.h"
#include "ScriptedPrompts.h"
#include "SettableClock.h"
#include "Translations.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

namespace {

// Made absolute before any test moves to a scratch folder: under Wine a path of the build tree
// has no drive, and would be looked up on the scratch folder's.
const QString TestTranslation =
    QFileInfo(QStringLiteral(RUNLATCH_TEST_TRANSLATION)).absoluteFilePath();

// One text of a .ts file: its context and its English source, which is all a translation is
// looked up by.
QString key(const QString& context, const QString& source)
{
    return context + QStringLiteral(" | ") + source;
}

QSet<QString> textsOf(const QString& tsFile)
{
    QFile file(tsFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QSet<QString> texts;
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"name")
            context = xml.readElementText();
        else if (xml.name() == u"source")
            texts << key(context, xml.readElementText());
    }
    return xml.hasError() ? QSet<QString>() : texts;
}

QString listed(const QSet<QString>& texts)
{
    QStringList sorted(texts.cbegin(), texts.cend());
    sorted.sort();
    return sorted.join(u'\n');
}

} // namespace

class TestTranslations : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void windowShowsTheTranslation_data();
    void windowShowsTheTranslation();
    void templateHoldsTheTexts_data();
    void templateHoldsTheTexts();
    void templateMatchesTheSources();
};

// Every test starts in English, as the program does before translations are installed.
void TestTranslations::cleanup()
{
    qDeleteAll(qApp->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly));
}

void TestTranslations::windowShowsTheTranslation_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("translated");

    QTest::newRow("beside the program") << "bin/translations"
                                        << "de_DE" << true;
    QTest::newRow("installed, a region's language") << "share/runlatch/translations"
                                                    << "de_AT" << true;
    QTest::newRow("another language") << "bin/translations"
                                      << "fr_FR" << false;
    QTest::newRow("no translation") << QString() << "de_DE" << false;
}

void TestTranslations::windowShowsTheTranslation()
{
    QFETCH(QString, folder);
    QFETCH(QString, locale);
    QFETCH(bool, translated);
    const ScratchDir scratch;
    const QString programDir = scratch.filePath(QStringLiteral("bin/"));
    QVERIFY(QDir().mkpath(programDir));
    QString file;
    if (!folder.isEmpty()) {
        QVERIFY(QDir().mkpath(scratch.filePath(folder)));
        file = scratch.filePath(folder + QStringLiteral("/runlatch_de.qm"));
        QVERIFY(QFile::copy(TestTranslation, file));
    }

    const QStringList loaded = installTranslations(*qApp, programDir, QLocale(locale));
    QCOMPARE(loaded.contains(file), translated);

    ScriptedPrompts prompts;
    SettableClock clock;
    const TMainForm form({prompts, clock, programDir, {}});
    QCOMPARE(form.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
             translated ? QStringLiteral("Verarbeitungsaktivität")
                        : QStringLiteral("Processing Activity"));
    QCOMPARE(form.findChild<QMenu*>(QStringLiteral("File1"))->title(),
             translated ? QStringLiteral("&Datei") : QStringLiteral("&File"));
}

void TestTranslations::templateHoldsTheTexts_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("translatable");

    QTest::newRow("main window") << "TMainForm"
                                 << "Processing Activity" << true;
    QTest::newRow("menu item") << "TMainForm"
                               << "S&top Run" << true;
    QTest::newRow("status bar") << "StatusTexts"
                                << "Next run at %1 (every %2 h %3 min)" << true;
    QTest::newRow("message box") << "QtPrompts"
                                 << "Confirm" << true;
    QTest::newRow("find bar") << "TRunlatchLogForm"
                              << "Match &case" << true;
    QTest::newRow("schedule") << "TRunlatchSchedForm"
                              << "How Often Do  You Want the Processes to Execute?" << true;
    QTest::newRow("widget-free error") << "StartAndWait"
                                       << "Unable to find application %1" << true;
    QTest::newRow("constant") << "TMainForm"
                              << "No run is in progress." << true;
    // The log is read by other programs: its lines stay as they are in every language.
    QTest::newRow("log line") << "ProcessingRun"
                              << "Processes Complete" << false;
}

void TestTranslations::templateHoldsTheTexts()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(bool, translatable);
    const QSet<QString> texts = textsOf(QStringLiteral(RUNLATCH_TRANSLATION_TEMPLATE));
    QVERIFY(!texts.isEmpty());
    QCOMPARE(texts.contains(key(context, source)), translatable);
}

// A text that lost its tr(), or one added without refreshing the template (build the target
// runlatch_lupdate), shows here.
void TestTranslations::templateMatchesTheSources()
{
    const QSet<QString> committed = textsOf(QStringLiteral(RUNLATCH_TRANSLATION_TEMPLATE));
    const QSet<QString> current = textsOf(QStringLiteral(RUNLATCH_CURRENT_TEXTS));
    QVERIFY(!current.isEmpty());
    QVERIFY2(committed == current,
             qPrintable(QStringLiteral("Only in the template:\n%1\nOnly in the sources:\n%2")
                            .arg(listed(committed - current), listed(current - committed))));
}

QTEST_MAIN(TestTranslations)
#include "tst_Translations.moc"
