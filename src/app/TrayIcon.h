#pragma once

#include <QIcon>
#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QSystemTrayIcon;
class QWidget;

// The program's icon in the desktop's tray, where the desktop has one: marked while a run is
// under way and after a run in which something failed, until the window is shown again. Its
// tooltip carries the status bar's texts; a click shows the window; its menu runs the main
// menu's own commands. Without a tray it exists but shows nothing.
class TrayIcon final : public QObject {
    Q_OBJECT

public:
    enum class Mark { None, Running, Failed };

    // commands are the main menu's actions the tray's menu offers after Show Runlatch.
    TrayIcon(QWidget& window, const QList<QAction*>& commands);
    ~TrayIcon() override;

    // The desktop shows a tray now.
    [[nodiscard]] bool available() const;
    void setMark(Mark mark);
    [[nodiscard]] Mark mark() const { return m_mark; }
    void setToolTip(const QString& text);
    // Shows, restores and raises the window, and takes the failure mark off: it has been seen.
    void showWindow();

    [[nodiscard]] QSystemTrayIcon* systemTrayIcon() const { return m_tray; }
    [[nodiscard]] QMenu* menu() const { return m_menu; }

private:
    [[nodiscard]] QIcon markedIcon(Mark mark) const;

    QWidget& m_window;
    QMenu* m_menu;
    QSystemTrayIcon* m_tray;
    Mark m_mark = Mark::None;
};
