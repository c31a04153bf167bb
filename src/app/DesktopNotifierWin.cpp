#include "DesktopNotifier.h"

#include <QSystemTrayIcon>

namespace {

// The tray icon's balloon is the desktop's notification here; a click on it shows the window.
class TrayNotifier final : public DesktopNotifier {
public:
    explicit TrayNotifier(QSystemTrayIcon& tray)
        : m_tray(tray)
    {
        connect(&m_tray, &QSystemTrayIcon::messageClicked, this, &DesktopNotifier::clicked);
    }

    void notify(const QString& summary, const QString& body) override
    {
        if (m_tray.isVisible() && QSystemTrayIcon::supportsMessages())
            m_tray.showMessage(summary, body, QSystemTrayIcon::Warning);
    }

private:
    QSystemTrayIcon& m_tray;
};

} // namespace

std::unique_ptr<DesktopNotifier> DesktopNotifier::create(QSystemTrayIcon& tray)
{
    return std::make_unique<TrayNotifier>(tray);
}
