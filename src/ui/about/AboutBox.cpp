#include "AboutBox.h"

#include "ErrorGuard.h"
#include "LinkLabel.h"
#include "MakerLogo.h"
#include "Prompts.h"
#include "RunlatchBuildInfo.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace {

QString fromBuild(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The box's client area as designed: the starting size, which grows only when the texts need more.
constexpr QSize DesignSize(426, 286);

// The font with its size multiplied by scale, whether the desktop gave it in points or pixels.
QFont scaled(QFont font, qreal scale)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * scale);
    else
        font.setPixelSize(qRound(font.pixelSize() * scale));
    return font;
}

// A 32-bit version word as its high and low 16-bit numbers, "high.low".
QString halves(std::uint32_t word)
{
    return QString::number(word >> 16) + u'.' + QString::number(word & 0xFFFF);
}

QString noProgramForLink(const QUrl& url)
{
    if (url.scheme().compare(QLatin1String("mailto"), Qt::CaseInsensitive) == 0)
        return TAboutBox::tr("No mail program could be started to write to %1. Please write to "
                             "that address from the mail program you use.")
            .arg(url.path());
    return TAboutBox::tr("No web browser could be started to show %1. Please open that address "
                         "in the browser you use.")
        .arg(url.toDisplayString());
}

} // namespace

TAboutBox::MakerLinks TAboutBox::builtMakerLinks()
{
    return {fromBuild(RunlatchBuildInfo::MakerMail), fromBuild(RunlatchBuildInfo::MakerWeb)};
}

TAboutBox::TAboutBox(Prompts& prompts, const QString& versionFile, QWidget* parent,
                     const MakerLinks& links)
    : QDialog(parent)
    , m_prompts(prompts)
    , m_versionFile(versionFile)
    , m_openLink([](const QUrl& url) { return QDesktopServices::openUrl(url); })
{
    createWidgets(links);
    guarded(m_prompts, [this] { FormCreate(); });
}

void TAboutBox::About1Click(QWidget* mainWindow, Prompts& prompts, std::function<void()> showManual)
{
    TAboutBox box(prompts, {}, mainWindow);
    box.setParentForm(mainWindow);
    box.setTitleFontSize(24);
    box.setManualOpener(std::move(showManual));
    box.exec();
}

void TAboutBox::createWidgets(const MakerLinks& links)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(tr("About"));
    m_panel1 = new QFrame(this);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setFrameStyle(QFrame::Box | QFrame::Sunken);

    m_programIcon = new QLabel(m_panel1);
    m_programIcon->setObjectName(QStringLiteral("ProgramIcon"));
    m_programIcon->setFixedSize(41, 41);
    m_programIcon->setScaledContents(true);
    m_programIcon->setAccessibleName(tr("Program icon"));
    m_programIcon->setAccessibleDescription(tr("The icon of Runlatch"));
    m_logo = new MakerLogo(m_panel1);

    // Headings are larger variants of the desktop's general font; the plain labels inherit that
    // font as the application's.
    const QFont general = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    QFont titleFont = scaled(general, 2.0);
    titleFont.setBold(true);
    m_title = addLabel(QStringLiteral("Title"), tr("Title"));
    m_title->setFont(titleFont);
    m_version = addLabel(QStringLiteral("Version"), tr("Version"));
    m_build = addLabel(QStringLiteral("Build"), tr("Build"));
    m_copyright = addLabel(QStringLiteral("Copyright"), tr("Copyright"));
    m_trademark = addLabel(QStringLiteral("Trademark"), tr("Trademark"));
    m_corporateName =
        addLabel(QStringLiteral("CorporateName"), fromBuild(RunlatchBuildInfo::MakerName));
    m_corporateName->setFont(scaled(general, 1.75));
    createLinks(links);
    layOut();
    fitToTexts();
}

// The links come before the OK button on Tab, as they stand above it.
void TAboutBox::createLinks(const MakerLinks& links)
{
    if (!links.mail.isEmpty()) {
        m_mail = addLink(QStringLiteral("Mail"), tr("Send us an e-mail"),
                         tr("Opens your mail program to write to %1").arg(links.mail));
        m_mail->setTarget(QStringLiteral("MailTo: ") + links.mail);
        connect(m_mail, &LinkLabel::activated, this, &TAboutBox::MailClick);
    }
    if (links.web.isEmpty()) {
        m_webSite = addLink(QStringLiteral("WebSite"), tr("The Runlatch manual"),
                            tr("Closes this box and opens the manual, as Help > Contents does"));
        connect(m_webSite, &LinkLabel::activated, this, &TAboutBox::ManualClick);
        return;
    }
    m_webSite = addLink(QStringLiteral("WebSite"), links.web,
                        tr("Opens the maker's web site in your browser"));
    m_webSite->setTarget(links.web);
    connect(m_webSite, &LinkLabel::activated, this, &TAboutBox::WebSiteClick);
}

// The program's icon heads the left edge and the maker's logo ends it; the texts stand on one
// centre line to their right, in groups with room between them.
void TAboutBox::layOut()
{
    auto* pictures = new QVBoxLayout;
    pictures->addWidget(m_programIcon);
    pictures->addStretch();
    pictures->addWidget(m_logo);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(0);
    const int gap =
        QFontMetrics(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).height() / 2;
    const QList<QList<QLabel*>> groups{{m_title},
                                       {m_version, m_build},
                                       {m_copyright, m_trademark},
                                       {m_corporateName, m_mail, m_webSite}};
    for (const QList<QLabel*>& group : groups) {
        if (texts->count() > 0)
            texts->addSpacerItem(
                new QSpacerItem(0, gap, QSizePolicy::Minimum, QSizePolicy::Expanding));
        for (QLabel* label : group)
            if (label)
                texts->addWidget(label, 0, Qt::AlignHCenter);
    }
    auto* panel = new QHBoxLayout(m_panel1);
    panel->addLayout(pictures);
    panel->addLayout(texts, 1);

    auto* okButton = new QPushButton(tr("OK"), this);
    okButton->setObjectName(QStringLiteral("OKButton"));
    okButton->setDefault(true);
    okButton->setAccessibleDescription(tr("Closes the About box"));
    // The box opens on OK, so that Enter closes it, although the links come first on Tab.
    okButton->setFocus();
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_panel1, 1);
    layout->addWidget(okButton, 0, Qt::AlignHCenter);
}

QLabel* TAboutBox::addLabel(const QString& name, const QString& text)
{
    auto* label = new QLabel(text, m_panel1);
    label->setObjectName(name);
    // Version texts come from a file: a "<" in a copyright must not turn into markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

LinkLabel* TAboutBox::addLink(const QString& name, const QString& text, const QString& description)
{
    auto* link = new LinkLabel(text, m_panel1);
    link->setObjectName(name);
    link->setAccessibleDescription(description);
    return link;
}

// A fixed size: the design's, or more where the texts need it, so that every text shows whole.
// The layouts are redone at once rather than on their next event, so that the box is placed with
// its final size; the panel's goes first, as the box's size hint depends on it.
void TAboutBox::fitToTexts()
{
    m_panel1->layout()->activate();
    setFixedSize(sizeHint().expandedTo(DesignSize));
    layout()->activate();
}

void TAboutBox::FormCreate()
{
    m_versionInfo.setFileName(m_versionFile);
    m_version->setText(tr("Version: %1").arg(halves(m_versionInfo.ProductVersionMS())));
    m_build->setText(
        tr("Build: %1.%2")
            .arg(halves(m_versionInfo.FileVersionMS()), halves(m_versionInfo.FileVersionLS())));
    m_copyright->setText(m_versionInfo.LegalCopyright());
    m_trademark->setText(m_versionInfo.LegalTrademarks());
    m_title->setText(QGuiApplication::applicationDisplayName());
    m_programIcon->setPixmap(QApplication::windowIcon().pixmap(m_programIcon->size()));
}

void TAboutBox::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Laid out on the first showing only: a second layout would cut the build number again.
    if (m_activated || event->spontaneous())
        return;
    m_activated = true;
    guarded(m_prompts, [this] { FormActivate(); });
}

void TAboutBox::FormActivate()
{
    QFont titleFont = m_title->font();
    // Qt refuses sizes below 1 point; the title keeps its font then.
    if (m_titleFontSize > 0)
        titleFont.setPointSize(m_titleFontSize);
    m_title->setFont(titleFont);
    QPalette titlePalette = m_title->palette();
    titlePalette.setColor(QPalette::WindowText, m_titleFontColor);
    m_title->setPalette(titlePalette);

    if (m_threeLevelBuild) {
        const QString build = m_build->text();
        const qsizetype lastDot = build.lastIndexOf(u'.');
        if (lastDot >= 0)
            m_build->setText(build.left(lastDot));
    }
    fitToTexts();
    placeBox();
}

void TAboutBox::placeBox()
{
    const QSize box = frameGeometry().size();
    QRect around;
    if (m_parentForm)
        around = m_parentForm->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        around = screen->geometry();
    else
        return;
    move(around.left() + around.width() / 2 - box.width() / 2,
         around.top() + around.height() / 2 - box.height() / 2);
}

void TAboutBox::MailClick()
{
    openLink(*m_mail);
}

void TAboutBox::WebSiteClick()
{
    openLink(*m_webSite);
}

// The box is modal: the manual could not be used while it stays open.
void TAboutBox::ManualClick()
{
    accept();
    guarded(m_prompts, [this] {
        if (m_showManual)
            m_showManual();
    });
}

void TAboutBox::openLink(const LinkLabel& link) const
{
    guarded(m_prompts, [this, &link] {
        const QUrl url = link.url();
        if (!url.isValid() || url.isEmpty() || !m_openLink)
            return;
        // The desktop only says whether it could start a program for the link; what that
        // program then does is beyond its knowledge and ours.
        if (!m_openLink(url))
            m_prompts.error(noProgramForLink(url));
    });
}
