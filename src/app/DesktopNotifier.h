#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QSystemTrayIcon;

// Tells the desktop's user of something that went wrong while nobody watched, through the
// desktop's own notification service. Sending never waits: where no service answers, nothing is
// shown. One implementation per platform.
class DesktopNotifier : public QObject {
    Q_OBJECT

public:
    // The tray icon is what shows the message where the platform has no service of its own.
    [[nodiscard]] static std::unique_ptr<DesktopNotifier> create(QSystemTrayIcon& tray);

    using QObject::QObject;

    virtual void notify(const QString& summary, const QString& body) = 0;

signals:
    // The user clicked the notification (where the service tells): show the window.
    void clicked();
};
