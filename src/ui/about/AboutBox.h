#pragma once

#include "StVersionInfo.h"

#include <QColor>
#include <QDialog>
#include <QPointer>
#include <QUrl>

#include <functional>

class Prompts;
class QFrame;
class QLabel;

// Help > About: the program's title, icon, version and build from the version information of the
// program's own file, its legal texts, and the maker's name, logo and two links. A fresh box is
// built for every showing, so it always shows what the file says at that moment.
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

    // versionFile: where the version information is read; empty for the running program.
    explicit TAboutBox(Prompts& prompts, const QString& versionFile = {},
                       QWidget* parent = nullptr);

    // The whole of Help > About: a new box centred on the main window, shown modally, destroyed.
    static void About1Click(QWidget* mainWindow, Prompts& prompts);

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

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createWidgets();
    QLabel* addLabel(const QString& name, const QString& text);
    QLabel* addLink(const QString& name, const QString& text, const QString& target);
    static void showLinkFocus(QLabel& link, bool focused);
    void fitToTexts();
    void FormCreate();
    void FormActivate();
    void placeBox();
    // A click or a double click on a link label.
    void linkClicked(const QObject* link);
    void MailClick();
    void WebSiteClick();
    void openLink(const QLabel& link) const;

    Prompts& m_prompts;
    QString m_versionFile;
    TStVersionInfo m_versionInfo;
    LinkOpener m_openLink;

    int m_titleFontSize = 24;
    QColor m_titleFontColor = QColor(255, 0, 0);
    bool m_threeLevelBuild = true;
    QPointer<QWidget> m_parentForm;

    bool m_activated = false;
    // The link pressed and not yet released: a press and release on it make a click.
    QObject* m_pressedLink = nullptr;

    QFrame* m_panel1 = nullptr;
    QLabel* m_programIcon = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_build = nullptr;
    QLabel* m_copyright = nullptr;
    QLabel* m_trademark = nullptr;
    QLabel* m_corporateName = nullptr;
    QLabel* m_mail = nullptr;
    QLabel* m_webSite = nullptr;
};
