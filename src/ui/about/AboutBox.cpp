#include "AboutBox.h"

#include "ErrorGuard.h"
#include "Prompts.h"
#include "RunlatchBuildInfo.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

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

// Link targets are stored as written, the mail one as "MailTo: " and the address. The desktop
// wants a real URL: the scheme in its usual spelling and no blank before the address.
QUrl linkUrl(const QString& target)
{
    const QString trimmed = target.trimmed();
    const QLatin1String mailScheme("mailto:");
    if (trimmed.startsWith(mailScheme, Qt::CaseInsensitive))
        return QUrl(mailScheme + trimmed.sliced(mailScheme.size()).trimmed());
    return QUrl::fromUserInput(trimmed);
}

// The colour of a link's text, as the desktop's own links would have it on a light background.
const QColor LinkColor(0, 0, 255);

bool isMailUrl(const QUrl& url)
{
    return url.scheme().compare(QLatin1String("mailto"), Qt::CaseInsensitive) == 0;
}

QString noProgramForLink(const QUrl& url)
{
    if (isMailUrl(url))
        return QCoreApplication::translate(
                   "TAboutBox", "No mail program could be started to write to %1. Please write "
                                "to that address from the mail program you use.")
            .arg(url.path());
    return QCoreApplication::translate(
               "TAboutBox", "No web browser could be started to show %1. Please open that address "
                            "in the browser you use.")
        .arg(url.toDisplayString());
}

bool activatesLink(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        return true;
    default:
        return false;
    }
}

// The maker's logo: a latch, drawn rather than shipped so that it scales with nothing to load.
QPixmap drawLogo(QSize size, qreal pixelRatio)
{
    QPixmap logo(size * pixelRatio);
    logo.setDevicePixelRatio(pixelRatio);
    logo.fill(Qt::transparent);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);

    painter.setPen(QPen(QColor(0x7a, 0x87, 0x94), 6, Qt::SolidLine, Qt::FlatCap));
    painter.drawArc(QRectF(15, 6, 27, 30), 0, 180 * 16);
    painter.drawLine(QLineF(15, 21, 15, 30));
    painter.drawLine(QLineF(42, 21, 42, 30));

    QLinearGradient body(0, 28, 0, 62);
    body.setColorAt(0, QColor(0x3b, 0x82, 0xc4));
    body.setColorAt(1, QColor(0x1d, 0x4e, 0x89));
    painter.setPen(Qt::NoPen);
    painter.setBrush(body);
    painter.drawRoundedRect(QRectF(5, 28, 47, 34), 6, 6);

    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(28.5, 41), 4.5, 4.5);
    const QPointF slot[] = {{26.5, 43}, {30.5, 43}, {32, 54}, {25, 54}};
    painter.drawPolygon(slot, 4);
    return logo;
}

} // namespace

TAboutBox::TAboutBox(Prompts& prompts, const QString& versionFile, QWidget* parent)
    : QDialog(parent)
    , m_prompts(prompts)
    , m_versionFile(versionFile)
    , m_openLink([](const QUrl& url) { return QDesktopServices::openUrl(url); })
{
    createWidgets();
    guarded(m_prompts, [this] { FormCreate(); });
}

void TAboutBox::About1Click(QWidget* mainWindow, Prompts& prompts)
{
    TAboutBox box(prompts, {}, mainWindow);
    box.setParentForm(mainWindow);
    box.setTitleFontSize(24);
    box.exec();
}

void TAboutBox::createWidgets()
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

    auto* logo = new QLabel(m_panel1);
    logo->setObjectName(QStringLiteral("Logo"));
    logo->setFixedSize(57, 65);
    logo->setPixmap(drawLogo(logo->size(), devicePixelRatioF()));
    logo->setAccessibleName(tr("Logo"));
    logo->setAccessibleDescription(tr("The maker's logo"));

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
    m_mail = addLink(QStringLiteral("Mail"), tr("Send us an e-mail"),
                     QStringLiteral("MailTo: ") + fromBuild(RunlatchBuildInfo::MakerMail));
    m_mail->setAccessibleDescription(
        tr("Opens your mail program to write to %1").arg(fromBuild(RunlatchBuildInfo::MakerMail)));
    const QString web = fromBuild(RunlatchBuildInfo::MakerWeb);
    m_webSite = addLink(QStringLiteral("WebSite"), web, web);
    m_webSite->setAccessibleDescription(tr("Opens the maker's web site in your "
                                           "browser"));

    // The program's icon heads the left edge and the maker's logo ends it; the texts stand on
    // one centre line to their right, in groups with room between them.
    auto* pictures = new QVBoxLayout;
    pictures->addWidget(m_programIcon);
    pictures->addStretch();
    pictures->addWidget(logo);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(0);
    const int gap = QFontMetrics(general).height() / 2;
    const QList<QList<QLabel*>> groups{{m_title},
                                       {m_version, m_build},
                                       {m_copyright, m_trademark},
                                       {m_corporateName, m_mail, m_webSite}};
    for (const QList<QLabel*>& group : groups) {
        if (texts->count() > 0)
            texts->addSpacerItem(
                new QSpacerItem(0, gap, QSizePolicy::Minimum, QSizePolicy::Expanding));
        for (QLabel* label : group)
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
    fitToTexts();
}

QLabel* TAboutBox::addLabel(const QString& name, const QString& text)
{
    auto* label = new QLabel(text, m_panel1);
    label->setObjectName(name);
    // Version texts come from a file: a "<" in a copyright must not turn into markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

// The target is kept in the tooltip, which is never shown (see eventFilter).
QLabel* TAboutBox::addLink(const QString& name, const QString& text, const QString& target)
{
    QLabel* label = addLabel(name, text);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    showLinkFocus(*label, false);
    label->setToolTip(target);
    label->setCursor(Qt::PointingHandCursor);
    // Reached with Tab and opened with Enter or Space, as a button is.
    label->setFocusPolicy(Qt::StrongFocus);
    label->installEventFilter(this);
    return label;
}

// A fixed size: the design's, or more where the texts need it, so that every text shows whole.
// The layouts are redone at once rather than on their next event, so that the box is placed with
// its final size; the panel's goes first, as the box's size hint depends on it.
// A label draws no focus of its own: the link with the focus is shown highlighted instead, which
// leaves its size and place unchanged.
void TAboutBox::showLinkFocus(QLabel& link, bool focused)
{
    QPalette palette = link.palette();
    palette.setColor(QPalette::WindowText,
                     focused ? palette.color(QPalette::HighlightedText) : LinkColor);
    link.setPalette(palette);
    link.setBackgroundRole(QPalette::Highlight);
    // Left to itself, the text would take the colour that goes with the highlight even unfocused.
    link.setForegroundRole(QPalette::WindowText);
    link.setAutoFillBackground(focused);
}

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

bool TAboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_mail && watched != m_webSite)
        return QDialog::eventFilter(watched, event);

    const auto leftButton = [event] {
        return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    };
    auto& link = static_cast<QLabel&>(*watched);
    switch (event->type()) {
    case QEvent::ToolTip:
        return true;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        showLinkFocus(link, event->type() == QEvent::FocusIn);
        break;
    case QEvent::KeyPress:
        if (activatesLink(static_cast<const QKeyEvent&>(*event))) {
            linkClicked(watched);
            return true;
        }
        break;
    case QEvent::MouseButtonPress:
        if (leftButton())
            m_pressedLink = watched;
        break;
    case QEvent::MouseButtonRelease: {
        // A click is a press and a release on the same link, as with any button.
        const bool click =
            leftButton() && m_pressedLink == watched &&
            link.rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint());
        m_pressedLink = nullptr;
        if (click)
            linkClicked(watched);
        break;
    }
    case QEvent::MouseButtonDblClick:
        // The press of a double click is not a click of its own: its release opens nothing more.
        m_pressedLink = nullptr;
        if (leftButton())
            linkClicked(watched);
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::linkClicked(const QObject* link)
{
    if (link == m_mail)
        MailClick();
    else
        WebSiteClick();
}

void TAboutBox::MailClick()
{
    openLink(*m_mail);
}

void TAboutBox::WebSiteClick()
{
    openLink(*m_webSite);
}

void TAboutBox::openLink(const QLabel& link) const
{
    guarded(m_prompts, [this, &link] {
        const QUrl url = linkUrl(link.toolTip());
        if (!url.isValid() || url.isEmpty() || !m_openLink)
            return;
        // The desktop only says whether it could start a program for the link; what that
        // program then does is beyond its knowledge and ours.
        if (!m_openLink(url))
            m_prompts.error(noProgramForLink(url));
    });
}
