#pragma once

#include "StVersionInfo.h"

#include <QColor>
#include <QDialog>
#include <QPointer>
#include <QUrl>

#include <functional>

class LinkLabel;
class Prompts;
class QFrame;
class QLabel;

// Help > About: the program's title, icon, version and build from the version information of the
// program's own file, its legal texts, and the maker's name, logo and links. A fresh box is built
// for every showing, so it always shows what the file says at that moment.
class TAboutBox : public QDialog {
    Q_OBJECT
    Q_PROPERTY(int TitleFontSize READ TitleFontSize WRITE setTitleFontSize)
    Q_PROPERTY(QColor TitleFontColor READ TitleFontColor WRITE setTitleFontColor)
    Q_PROPERTY(bool ThreeLevelBuild READ ThreeLevelBuild WRITE setThreeLevelBuild)
    Q_PROPERTY(QWidget* ParentForm READ ParentForm WRITE setParentForm)

public:
    // Hands a link to the desktop; false when no program could be started for it, which the box
    // then reports.
    using LinkOpener = std::function<bool(const QUrl&)>;

    // The maker's addresses, each empty when the maker has none: the box then shows no mail link,
    // and its second link leads to the manual that comes with the program instead of a web site.
    struct MakerLinks {
        QString mail;
        QString web;
    };
    [[nodiscard]] static MakerLinks builtMakerLinks();

    // versionFile: where the version information is read; empty for the running program.
    explicit TAboutBox(Prompts& prompts, const QString& versionFile = {}, QWidget* parent = nullptr,
                       const MakerLinks& links = builtMakerLinks());

    // The whole of Help > About: a new box centred on the main window, shown modally, destroyed.
    // showManual is Help > Contents, for the link to the manual.
    static void About1Click(QWidget* mainWindow, Prompts& prompts,
                            std::function<void()> showManual);

    [[nodiscard]] int TitleFontSize() const { return m_titleFontSize; }
    void setTitleFontSize(int points) { m_titleFontSize = points; }
    [[nodiscard]] QColor TitleFontColor() const { return m_titleFontColor; }
    void setTitleFontColor(const QColor& color) { m_titleFontColor = color; }
    [[nodiscard]] bool ThreeLevelBuild() const { return m_threeLevelBuild; }
    void setThreeLevelBuild(bool three) { m_threeLevelBuild = three; }
    // The window the box centres on; not owned, and forgotten if it goes away first.
    [[nodiscard]] QWidget* ParentForm() const { return m_parentForm; }
    void setParentForm(QWidget* form) { m_parentForm = form; }

    // Replaces the desktop's opener, so that tests never start a browser or a mail program.
    void setLinkOpener(LinkOpener opener) { m_openLink = std::move(opener); }
    void setManualOpener(std::function<void()> showManual) { m_showManual = std::move(showManual); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createWidgets(const MakerLinks& links);
    void createLinks(const MakerLinks& links);
    void layOut();
    QLabel* addLabel(const QString& name, const QString& text);
    LinkLabel* addLink(const QString& name, const QString& text, const QString& description);
    void fitToTexts();
    void FormCreate();
    void FormActivate();
    void placeBox();
    void MailClick();
    void WebSiteClick();
    void ManualClick();
    void openLink(const LinkLabel& link) const;

    Prompts& m_prompts;
    QString m_versionFile;
    TStVersionInfo m_versionInfo;
    LinkOpener m_openLink;
    std::function<void()> m_showManual;

    int m_titleFontSize = 24;
    QColor m_titleFontColor = QColor(255, 0, 0);
    bool m_threeLevelBuild = true;
    QPointer<QWidget> m_parentForm;

    bool m_activated = false;

    QFrame* m_panel1 = nullptr;
    QLabel* m_programIcon = nullptr;
    QLabel* m_logo = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_build = nullptr;
    QLabel* m_copyright = nullptr;
    QLabel* m_trademark = nullptr;
    QLabel* m_corporateName = nullptr;
    // None when the maker has no mail address.
    LinkLabel* m_mail = nullptr;
    LinkLabel* m_webSite = nullptr;
};
