#include "AboutBox.h"
#include "AccessibilityChecks.h"
#include "LayoutChecks.h"
#include "LinkLabel.h"
#include "RunlatchBuildInfo.h"
#include "ScratchDir.h"
#include "ScriptedPrompts.h"
#include "VersionTestFile.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolTip>

using Parts = std::array<std::uint16_t, 4>;
using Kind = ScriptedPrompts::Kind;

namespace {

const QString ProgramFile = QStringLiteral("program");
const QString MakerMail = QStringLiteral("maker@example.org");
const QString MakerWeb = QStringLiteral("https://example.org/maker");
constexpr QSize DesignSize(426, 286);
// The texts of the panel, top to bottom.
const QStringList Labels{QStringLiteral("Title"),     QStringLiteral("Version"),
                         QStringLiteral("Build"),     QStringLiteral("Copyright"),
                         QStringLiteral("Trademark"), QStringLiteral("CorporateName"),
                         QStringLiteral("Mail"),      QStringLiteral("WebSite")};

QString fromBuild(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString labelText(const QWidget& box, const char* name)
{
    const auto* label = box.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no label %1>").arg(QString::fromLatin1(name));
}

QLabel* label(const QWidget& box, const char* name)
{
    return box.findChild<QLabel*>(QString::fromLatin1(name));
}

QWidget& widget(const QWidget& box, const QString& name)
{
    auto* found = box.findChild<QWidget*>(name);
    if (!found)
        qFatal("no widget %s", qPrintable(name));
    return *found;
}

// Writes a program file whose version information holds the given versions and legal texts.
bool writeProgram(const Parts& fileVersion, const Parts& productVersion,
                  std::initializer_list<VersionBlockEntry> strings)
{
    return VersionTestFile::write(ProgramFile, VersionTestFile::program(VersionTestFile::block(
                                                   fileVersion, productVersion, strings)));
}

QPixmap someIcon()
{
    QPixmap icon(32, 32);
    icon.fill(Qt::darkGreen);
    return icon;
}

} // namespace

class TestAboutBox : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void fillsTextsFromVersionInfo_data();
    void fillsTextsFromVersionInfo();
    void missingLegalKeysGiveEmptyLabels();
    void unreadableVersionInfoLeavesDesignCaptions_data();
    void unreadableVersionInfoLeavesDesignCaptions();
    void keepsTheDesignArrangement_data();
    void keepsTheDesignArrangement();
    void textsShowWholeOnOneCentreLine_data();
    void textsShowWholeOnOneCentreLine();
    void fontsFollowTheDesktop_data();
    void fontsFollowTheDesktop();
    void titleTakesFontSizeAndColour();
    void layoutRunsOncePerShowing();
    void centresOnParentForm();
    void centresOnScreenWithoutParentForm();
    void linksOpenTheirTarget_data();
    void linksOpenTheirTarget();
    void clickAndDoubleClickBothOpen();
    void withoutAddressesTheLinkLeadsToTheManual();
    void linksShowHandAndNoHint();
    void linksTheDesktopCannotOpenAreReported_data();
    void linksTheDesktopCannotOpenAreReported();
    void linksOpenFromTheKeyboard_data();
    void linksOpenFromTheKeyboard();
    void tabGoesThroughTheLinksToOK();
    void everyControlIsDescribed();
    void about1ClickShowsAFreshBoxEachTime();
    void realProgramCarriesTheBuildVersion();

private:
    // A box on the test program file, with links recorded instead of opened.
    std::unique_ptr<TAboutBox> makeBox(QWidget* parent = nullptr);

    std::unique_ptr<ScratchDir> m_scratch;
    ScriptedPrompts m_prompts;
    QList<QUrl> m_opened;
    // What the desktop answers when a link is handed to it.
    bool m_desktopOpensLinks = true;
};

void TestAboutBox::initTestCase()
{
    QApplication::setApplicationDisplayName(QStringLiteral("Runlatch"));
}

void TestAboutBox::init()
{
    m_scratch = std::make_unique<ScratchDir>();
    m_prompts = ScriptedPrompts();
    m_opened.clear();
    m_desktopOpensLinks = true;
    QApplication::setWindowIcon(someIcon());
    QVERIFY(writeProgram({1, 2, 3, 4}, {5, 6, 0, 0}, {}));
}

void TestAboutBox::cleanup()
{
    m_scratch.reset();
}

std::unique_ptr<TAboutBox> TestAboutBox::makeBox(QWidget* parent)
{
    auto box = std::make_unique<TAboutBox>(m_prompts, ProgramFile, parent,
                                           TAboutBox::MakerLinks{MakerMail, MakerWeb});
    box->setLinkOpener([this](const QUrl& url) {
        m_opened << url;
        return m_desktopOpensLinks;
    });
    return box;
}

void TestAboutBox::fillsTextsFromVersionInfo_data()
{
    QTest::addColumn<Parts>("fileVersion");
    QTest::addColumn<Parts>("productVersion");
    QTest::addColumn<bool>("threeLevelBuild");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("build");

    QTest::newRow("three-level build")
        << Parts{1, 2, 3, 4} << Parts{5, 6, 7, 8} << true << "Version: 5.6"
        << "Build: 1.2.3";
    QTest::newRow("four-level build")
        << Parts{1, 2, 3, 4} << Parts{5, 6, 7, 8} << false << "Version: 5.6"
        << "Build: 1.2.3.4";
    QTest::newRow("zero parts") << Parts{0, 0, 0, 0} << Parts{0, 0, 0, 0} << false << "Version: 0.0"
                                << "Build: 0.0.0.0";
    QTest::newRow("largest parts") << Parts{65535, 65535, 65535, 65535} << Parts{65535, 65535, 0, 0}
                                   << true << "Version: 65535.65535"
                                   << "Build: 65535.65535.65535";
    QTest::newRow("first release")
        << Parts{1, 0, 0, 0} << Parts{1, 0, 0, 0} << true << "Version: 1.0"
        << "Build: 1.0.0";
}

void TestAboutBox::fillsTextsFromVersionInfo()
{
    QFETCH(Parts, fileVersion);
    QFETCH(Parts, productVersion);
    QFETCH(bool, threeLevelBuild);
    QFETCH(QString, version);
    QFETCH(QString, build);
    QVERIFY(writeProgram(fileVersion, productVersion,
                         {{"LegalCopyright", "<b>\xc2\xa9</b> Gr\xc3\xbc\xc3\x9f"
                                             "e & Co"},
                          {"LegalTrademarks", "Latch\xe2\x84\xa2"}}));
    auto box = makeBox();
    box->setThreeLevelBuild(threeLevelBuild);
    box->show();

    QCOMPARE(box->windowTitle(), QStringLiteral("About"));
    QCOMPARE(labelText(*box, "Title"), QStringLiteral("Runlatch"));
    // The title's default font size and colour.
    QCOMPARE(label(*box, "Title")->font().pointSize(), 24);
    QCOMPARE(label(*box, "Title")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(labelText(*box, "Version"), version);
    QCOMPARE(labelText(*box, "Build"), build);
    // Shown as written, not as markup.
    QCOMPARE(labelText(*box, "Copyright"), QStringLiteral("<b>\u00a9</b> Gr\u00fc\u00dfe & Co"));
    QCOMPARE(label(*box, "Copyright")->textFormat(), Qt::PlainText);
    QCOMPARE(labelText(*box, "Trademark"), QStringLiteral("Latch\u2122"));
    QCOMPARE(labelText(*box, "CorporateName"), fromBuild(RunlatchBuildInfo::MakerName));
    QVERIFY(!label(*box, "ProgramIcon")->pixmap().isNull());
    QVERIFY(!label(*box, "Logo")->pixmap().isNull());
    QCOMPARE(m_prompts.asked.size(), 0);
}

void TestAboutBox::missingLegalKeysGiveEmptyLabels()
{
    QVERIFY(writeProgram({1, 0, 0, 0}, {1, 0, 0, 0}, {{"CompanyName", "Someone"}}));
    auto box = makeBox();
    box->show();
    QCOMPARE(labelText(*box, "Copyright"), QString());
    QCOMPARE(labelText(*box, "Trademark"), QString());
    QCOMPARE(labelText(*box, "Version"), QStringLiteral("Version: 1.0"));
    QCOMPARE(m_prompts.asked.size(), 0);
}

void TestAboutBox::unreadableVersionInfoLeavesDesignCaptions_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("error");

    const QByteArray block = VersionTestFile::block({1, 2, 3, 4}, {5, 6, 0, 0}, {});
    QTest::newRow("no version block")
        << VersionTestFile::unversionedProgram(block) << "File does not contain version info.";
    QTest::newRow("not a program")
        << QByteArray("plain text") << "File does not contain version info.";
    // On Windows a version resource whose fixed part is damaged.
    QTest::newRow("damaged block")
        << VersionTestFile::program(block.chopped(2)) << "Unable to read version info.";
    QTest::newRow("missing file") << QByteArray() << "Error opening file.";
}

void TestAboutBox::unreadableVersionInfoLeavesDesignCaptions()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, error);
    if (file.isEmpty())
        QVERIFY(QFile::remove(ProgramFile));
    else
        QVERIFY(VersionTestFile::write(ProgramFile, file));
    auto box = makeBox();
    box->show();

    QCOMPARE(m_prompts.texts(Kind::General), QStringList{error});
    QCOMPARE(labelText(*box, "Title"), QStringLiteral("Title"));
    QCOMPARE(labelText(*box, "Version"), QStringLiteral("Version"));
    // No "." to cut at, so the three-level rule leaves it alone.
    QCOMPARE(labelText(*box, "Build"), QStringLiteral("Build"));
    QCOMPARE(labelText(*box, "Copyright"), QStringLiteral("Copyright"));
    QCOMPARE(labelText(*box, "Trademark"), QStringLiteral("Trademark"));
    QVERIFY(label(*box, "ProgramIcon")->pixmap().isNull());
    QVERIFY(box->isVisible());
}

void TestAboutBox::keepsTheDesignArrangement_data()
{
    using LayoutChecks::addPlacement;
    LayoutChecks::addPlacementColumns();
    for (qsizetype i = 0; i + 1 < Labels.size(); ++i)
        addPlacement(Labels[i], QStringLiteral("above"), Labels[i + 1]);
    addPlacement(QStringLiteral("ProgramIcon"), QStringLiteral("above"), QStringLiteral("Logo"));
    addPlacement(QStringLiteral("ProgramIcon"), QStringLiteral("left of"), QStringLiteral("Title"));
    addPlacement(QStringLiteral("ProgramIcon"), QStringLiteral("left of"),
                 QStringLiteral("Version"));
    addPlacement(QStringLiteral("Logo"), QStringLiteral("left of"),
                 QStringLiteral("CorporateName"));
    addPlacement(QStringLiteral("Logo"), QStringLiteral("left of"), QStringLiteral("WebSite"));
    addPlacement(QStringLiteral("Panel1"), QStringLiteral("above"), QStringLiteral("OKButton"));
}

void TestAboutBox::keepsTheDesignArrangement()
{
    auto box = makeBox();
    box->show();
    const QString wrong = LayoutChecks::misplacedInRow(*box);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

// Whatever the texts, each shows whole, centred on one line beside the pictures, and nothing
// overlaps: the box grows beyond the design's size only when the texts need it.
void TestAboutBox::textsShowWholeOnOneCentreLine_data()
{
    QTest::addColumn<int>("titleSize");
    QTest::addColumn<QString>("copyright");
    QTest::addColumn<bool>("grows");

    QTest::newRow("design texts") << 24 << "Copyright (C) 2026 the maker" << false;
    QTest::newRow("small title") << 8 << "Copyright (C) 2026 the maker" << false;
    QTest::newRow("long copyright")
        << 24
        << "Copyright (C) 2026 a rather long name of a maker, with every one of its "
           "departments, subsidiaries and friends"
        << true;
    QTest::newRow("title wider than the panel") << 120 << "(C)" << true;
}

void TestAboutBox::textsShowWholeOnOneCentreLine()
{
    QFETCH(int, titleSize);
    QFETCH(QString, copyright);
    QFETCH(bool, grows);
    const QByteArray copyrightBytes = copyright.toUtf8();
    QVERIFY(
        writeProgram({1, 2, 3, 4}, {5, 6, 0, 0},
                     {{"LegalCopyright", copyrightBytes.constData()}, {"LegalTrademarks", "TM"}}));
    auto box = makeBox();
    box->setTitleFontSize(titleSize);
    box->show();

    QList<const QWidget*> shown{&widget(*box, QStringLiteral("ProgramIcon")),
                                &widget(*box, QStringLiteral("Logo"))};
    const int centreLine = LayoutChecks::windowRect(widget(*box, Labels[0])).center().x();
    for (const QString& name : Labels) {
        const QWidget& text = widget(*box, name);
        shown << &text;
        const QString cut = LayoutChecks::cutOff(text);
        QVERIFY2(cut.isEmpty(), qPrintable(cut));
        // Sized to its text, so that a centred label is a centred text.
        QCOMPARE(text.width(), text.sizeHint().width());
        QVERIFY2(qAbs(LayoutChecks::windowRect(text).center().x() - centreLine) <= 1,
                 qPrintable(LayoutChecks::describe(text)));
    }
    const QString overlap = LayoutChecks::overlapping(shown);
    QVERIFY2(overlap.isEmpty(), qPrintable(overlap));
    for (const char* name : {"Panel1", "OKButton"}) {
        const QString cut = LayoutChecks::cutOff(widget(*box, QString::fromLatin1(name)));
        QVERIFY2(cut.isEmpty(), qPrintable(cut));
    }
    QCOMPARE(box->size().expandedTo(DesignSize), box->size());
    QCOMPARE(box->size() != DesignSize, grows);
}

void TestAboutBox::fontsFollowTheDesktop_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("larger");
    QTest::addColumn<bool>("underlined");

    QTest::newRow("title") << "Title" << true << true << false;
    QTest::newRow("version") << "Version" << false << false << false;
    QTest::newRow("build") << "Build" << false << false << false;
    QTest::newRow("copyright") << "Copyright" << false << false << false;
    QTest::newRow("trademark") << "Trademark" << false << false << false;
    QTest::newRow("maker") << "CorporateName" << false << true << false;
    QTest::newRow("mail") << "Mail" << false << false << true;
    QTest::newRow("web site") << "WebSite" << false << false << true;
}

// Every text is in the desktop's general font or a variant of it: bold or larger for headings,
// underlined for links.
void TestAboutBox::fontsFollowTheDesktop()
{
    QFETCH(QString, name);
    QFETCH(bool, bold);
    QFETCH(bool, larger);
    QFETCH(bool, underlined);
    auto box = makeBox();
    box->show();
    const QFont general = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    const QFontInfo font(widget(*box, name).font());
    QCOMPARE(font.family(), QFontInfo(general).family());
    QCOMPARE(font.bold(), bold);
    QCOMPARE(font.pixelSize() > QFontInfo(general).pixelSize(), larger);
    QCOMPARE(font.underline(), underlined);
}

void TestAboutBox::titleTakesFontSizeAndColour()
{
    auto box = makeBox();
    box->setTitleFontSize(30);
    box->setTitleFontColor(QColor(0, 128, 0));
    box->show();
    const QLabel* title = label(*box, "Title");
    QCOMPARE(title->font().pointSize(), 30);
    QVERIFY(title->font().bold());
    QCOMPARE(title->palette().color(QPalette::WindowText), QColor(0, 128, 0));
}

void TestAboutBox::layoutRunsOncePerShowing()
{
    auto box = makeBox();
    box->show();
    box->hide();
    box->show();
    QCOMPARE(labelText(*box, "Build"), QStringLiteral("Build: 1.2.3"));
}

void TestAboutBox::centresOnParentForm()
{
    QWidget mainWindow;
    mainWindow.setGeometry(100, 50, 801, 601);
    mainWindow.show();
    auto box = makeBox(&mainWindow);
    box->setParentForm(&mainWindow);
    box->move(1, 1); // keeps Qt's own placement out of the way
    box->show();
    const QRect frame = box->frameGeometry();
    const QRect parent = mainWindow.frameGeometry();
    QCOMPARE(frame.top(), parent.top() + parent.height() / 2 - frame.height() / 2);
    QCOMPARE(frame.left(), parent.left() + parent.width() / 2 - frame.width() / 2);
}

void TestAboutBox::centresOnScreenWithoutParentForm()
{
    auto box = makeBox();
    box->move(1, 1); // keeps Qt's own placement out of the way
    box->show();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect frame = box->frameGeometry();
    QCOMPARE(frame.top(), screen.top() + screen.height() / 2 - frame.height() / 2);
    QCOMPARE(frame.left(), screen.left() + screen.width() / 2 - frame.width() / 2);
}

void TestAboutBox::linksOpenTheirTarget_data()
{
    QTest::addColumn<QByteArray>("link");
    QTest::addColumn<QString>("target"); // empty: keep the build's target
    QTest::addColumn<QString>("opened"); // empty: nothing opened

    QTest::newRow("the maker's mail")
        << QByteArray("Mail") << "" << QStringLiteral("mailto:") + MakerMail;
    QTest::newRow("the maker's web site") << QByteArray("WebSite") << "" << MakerWeb;
    QTest::newRow("MailTo with a blank") << QByteArray("Mail") << "MailTo: ann@example.org"
                                         << "mailto:ann@example.org";
    QTest::newRow("mailto without a blank") << QByteArray("Mail") << "mailto:ann@example.org"
                                            << "mailto:ann@example.org";
    QTest::newRow("MAILTO with blanks around")
        << QByteArray("Mail") << "  MAILTO:   ann@example.org  "
        << "mailto:ann@example.org";
    QTest::newRow("mail with a subject")
        << QByteArray("Mail") << "MailTo: ann@example.org?subject=Hi"
        << "mailto:ann@example.org?subject=Hi";
    QTest::newRow("web address without scheme") << QByteArray("WebSite") << "example.org/runlatch"
                                                << "http://example.org/runlatch";
    QTest::newRow("blank target") << QByteArray("WebSite") << "   "
                                  << "";
}

void TestAboutBox::linksOpenTheirTarget()
{
    QFETCH(QByteArray, link);
    QFETCH(QString, target);
    QFETCH(QString, opened);
    auto box = makeBox();
    box->show();
    auto* clicked = qobject_cast<LinkLabel*>(label(*box, link.constData()));
    if (!target.isEmpty())
        clicked->setTarget(target);
    QTest::mouseClick(clicked, Qt::LeftButton);

    const QList<QUrl> expected = opened.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl(opened)};
    QCOMPARE(m_opened, expected);
    QCOMPARE(m_prompts.asked.size(), 0);
}

// A double click is a click followed by a double click: both open, the release after the
// double click does not open again.
void TestAboutBox::clickAndDoubleClickBothOpen()
{
    auto box = makeBox();
    box->show();
    QLabel* web = label(*box, "WebSite");
    QTest::mouseClick(web, Qt::LeftButton);
    QTest::mousePress(web, Qt::LeftButton);
    QTest::mouseDClick(web, Qt::LeftButton);
    QTest::mouseRelease(web, Qt::LeftButton);
    QCOMPARE(m_opened.size(), 2);

    QTest::mouseClick(web, Qt::RightButton);
    QTest::mousePress(web, Qt::LeftButton);
    QTest::mouseRelease(web, Qt::LeftButton, {}, QPoint(-5, -5));
    QCOMPARE(m_opened.size(), 2);
}

// A build that names no maker's addresses has no mail link, and its other link leads to the
// manual that comes with the program; the box closes first, as a modal box would block it.
void TestAboutBox::withoutAddressesTheLinkLeadsToTheManual()
{
    TAboutBox box(m_prompts, ProgramFile, nullptr, {});
    int manualShown = 0;
    box.setManualOpener([&manualShown] { ++manualShown; });
    box.setLinkOpener([this](const QUrl& url) {
        m_opened << url;
        return true;
    });
    box.show();
    QTest::mouseClick(label(box, "WebSite"), Qt::LeftButton);

    QCOMPARE(label(box, "Mail"), nullptr);
    QCOMPARE(manualShown, 1);
    QVERIFY(!box.isVisible());
    QVERIFY(m_opened.isEmpty());
}

void TestAboutBox::linksShowHandAndNoHint()
{
    auto box = makeBox();
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    for (const char* name : {"Mail", "WebSite"}) {
        QLabel* link = label(*box, name);
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(!link->property("target").toString().isEmpty());
        QHelpEvent hint(QEvent::ToolTip, link->rect().center(),
                        link->mapToGlobal(link->rect().center()));
        QApplication::sendEvent(link, &hint);
        QVERIFY2(!QToolTip::isVisible(), name);
    }
}

void TestAboutBox::linksTheDesktopCannotOpenAreReported_data()
{
    QTest::addColumn<QByteArray>("link");
    QTest::addColumn<QString>("message");

    QTest::newRow("mail") << QByteArray("Mail")
                          << QStringLiteral("No mail program could be started to write to %1. "
                                            "Please write to that address from the mail program "
                                            "you use.")
                                 .arg(MakerMail);
    QTest::newRow("web site") << QByteArray("WebSite")
                              << QStringLiteral("No web browser could be started to show %1. "
                                                "Please open that address in the browser you use.")
                                     .arg(MakerWeb);
}

void TestAboutBox::linksTheDesktopCannotOpenAreReported()
{
    QFETCH(QByteArray, link);
    QFETCH(QString, message);
    m_desktopOpensLinks = false;
    auto box = makeBox();
    box->show();

    QTest::mouseClick(label(*box, link.constData()), Qt::LeftButton);

    QCOMPARE(m_opened.size(), 1);
    QCOMPARE(m_prompts.texts(Kind::Error), QStringList{message});
    QCOMPARE(m_prompts.asked.size(), 1);
}

void TestAboutBox::linksOpenFromTheKeyboard_data()
{
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("opened"); // empty: nothing opened
    QTest::addColumn<bool>("closed");

    const QString mail = QStringLiteral("mailto:") + MakerMail;
    const QString web = MakerWeb;
    QTest::newRow("Enter on the mail link") << 1 << int(Qt::Key_Return) << mail << false;
    QTest::newRow("Space on the mail link") << 1 << int(Qt::Key_Space) << mail << false;
    QTest::newRow("keypad Enter on the web site") << 2 << int(Qt::Key_Enter) << web << false;
    QTest::newRow("Enter at opening presses OK") << 0 << int(Qt::Key_Return) << QString() << true;
}

void TestAboutBox::linksOpenFromTheKeyboard()
{
    QFETCH(int, tabs);
    QFETCH(int, key);
    QFETCH(QString, opened);
    QFETCH(bool, closed);
    auto box = makeBox();
    box->show();
    QVERIFY(QTest::qWaitForWindowActive(box.get()));

    static_cast<void>(AccessibilityChecks::tabStops(tabs));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));

    const QList<QUrl> expected = opened.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl(opened)};
    QCOMPARE(m_opened, expected);
    QCOMPARE(!box->isVisible(), closed);
    QVERIFY(m_prompts.asked.isEmpty());
}

// The box opens on OK; Tab then goes through the links as they stand, and back to OK. The link
// with the focus shows it.
void TestAboutBox::tabGoesThroughTheLinksToOK()
{
    auto box = makeBox();
    box->show();
    QVERIFY(QTest::qWaitForWindowActive(box.get()));

    const QStringList stops = AccessibilityChecks::tabStops(1);
    const QLabel& mail = *label(*box, "Mail");
    const bool mailHighlighted =
        mail.autoFillBackground() && mail.palette().color(mail.foregroundRole()) ==
                                         mail.palette().color(QPalette::HighlightedText);
    const QStringList rest = AccessibilityChecks::tabStops(2);

    QCOMPARE(stops, QStringList({QStringLiteral("OKButton"), QStringLiteral("Mail")}));
    QVERIFY(mailHighlighted);
    QCOMPARE(rest, QStringList({QStringLiteral("Mail"), QStringLiteral("WebSite"),
                                QStringLiteral("OKButton")}));
    for (const char* name : {"Mail", "WebSite"}) {
        const QLabel& link = *label(*box, name);
        QVERIFY2(!link.autoFillBackground(), name);
        QCOMPARE(link.palette().color(link.foregroundRole()), QColor(0, 0, 255));
    }
}

void TestAboutBox::everyControlIsDescribed()
{
    auto box = makeBox();
    box->show();

    const QString missing = AccessibilityChecks::undescribedControls(*box);

    QVERIFY2(missing.isEmpty(), qPrintable(missing));
    // The pictures have nothing to press, but a screen reader names them too.
    for (const char* picture : {"ProgramIcon", "Logo"})
        QVERIFY2(!AccessibilityChecks::readText(*label(*box, picture), QAccessible::Name).isEmpty(),
                 picture);
}

// Help > About end to end: the box is modal, so it is inspected and closed from inside its loop.
void TestAboutBox::about1ClickShowsAFreshBoxEachTime()
{
    QWidget mainWindow;
    mainWindow.setGeometry(40, 30, 700, 500);
    mainWindow.show();

    struct Seen {
        QString caption;
        QString title;
        QPoint centreOffset;
    };
    QList<Seen> seen;
    QList<QPointer<QWidget>> boxes;
    const auto inspectAndClose = [&] {
        auto* box = qobject_cast<TAboutBox*>(QApplication::activeModalWidget());
        if (!box) {
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible())
                    dialog->reject();
            return;
        }
        boxes << box;
        seen << Seen{box->windowTitle(), labelText(*box, "Title"),
                     box->frameGeometry().center() - mainWindow.frameGeometry().center()};
        QTest::mouseClick(box->findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
    };
    for (int showing = 0; showing < 2; ++showing) {
        QTimer::singleShot(0, &mainWindow, inspectAndClose);
        TAboutBox::About1Click(&mainWindow, m_prompts, {});
    }

    QCOMPARE(seen.size(), 2);
    for (const Seen& box : seen) {
        QCOMPARE(box.caption, QStringLiteral("About"));
        // This test program carries no version information.
        QCOMPARE(box.title, QStringLiteral("Title"));
        QVERIFY2(box.centreOffset.manhattanLength() <= 2, "not centred on the main window");
    }
    QCOMPARE(m_prompts.texts(Kind::General),
             QStringList(2, QStringLiteral("File does not contain version info.")));
    // Each box was destroyed when its showing ended.
    QVERIFY(boxes[0].isNull() && boxes[1].isNull());
}

void TestAboutBox::realProgramCarriesTheBuildVersion()
{
    // As the program shows it today: it sets no window icon of its own.
    QApplication::setWindowIcon(QIcon());
    TAboutBox box(m_prompts, QStringLiteral(RUNLATCH_PROGRAM));
    box.setLinkOpener([](const QUrl&) { return true; });
    box.show();
    const auto& version = RunlatchBuildInfo::Version;
    QCOMPARE(labelText(box, "Version"),
             QStringLiteral("Version: %1.%2").arg(version[0]).arg(version[1]));
    QCOMPARE(labelText(box, "Build"),
             QStringLiteral("Build: %1.%2.%3").arg(version[0]).arg(version[1]).arg(version[2]));
    QCOMPARE(labelText(box, "Copyright"), fromBuild(RunlatchBuildInfo::LegalCopyright));
    QCOMPARE(m_prompts.asked.size(), 0);

    const QString screenshots = qEnvironmentVariable("RUNLATCH_SCREENSHOT_DIR");
    if (!screenshots.isEmpty())
        QVERIFY(box.grab().save(QDir(screenshots).filePath(QStringLiteral("about-box.png"))));
}

QTEST_MAIN(TestAboutBox)
#include "tst_AboutBox.moc"
