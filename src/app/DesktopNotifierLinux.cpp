#include "DesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDir>
#include <QFileInfo>
#include <QVariantMap>

namespace {

constexpr auto Service = "org.freedesktop.Notifications";
constexpr auto Path = "/org/freedesktop/Notifications";
constexpr auto Interface = "org.freedesktop.Notifications";
// The action a click on the notification itself invokes.
constexpr auto DefaultAction = "default";

// Only a session bus the desktop already runs is used: with no address, the D-Bus library
// would try to start a bus of its own, which may wait for a display that is not there.
bool sessionBusExpected()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

} // namespace

// org.freedesktop.Notifications over the session bus. Every call is asynchronous, so a service
// that is slow or missing holds nothing up; its answer (the notification's number) is kept so
// that a click on exactly that notification shows the window.
class DBusNotifier final : public DesktopNotifier {
    Q_OBJECT

public:
    DBusNotifier()
        : m_bus(sessionBusExpected() ? QDBusConnection::sessionBus()
                                     : QDBusConnection(QStringLiteral("none")))
    {
        if (!m_bus.isConnected())
            return;
        m_bus.connect(QString::fromLatin1(Service), QString::fromLatin1(Path),
                      QString::fromLatin1(Interface), QStringLiteral("ActionInvoked"), this,
                      SLOT(actionInvoked(uint, QString)));
    }

    void notify(const QString& summary, const QString& body) override
    {
        if (!m_bus.isConnected())
            return;
        QDBusMessage call = QDBusMessage::createMethodCall(
            QString::fromLatin1(Service), QString::fromLatin1(Path), QString::fromLatin1(Interface),
            QStringLiteral("Notify"));
        // Starting a notification server on demand is the bus's business; waiting for it is not
        // ours.
        call.setAutoStartService(true);
        const QVariantMap hints{
            {QStringLiteral("desktop-entry"), QStringLiteral("org.example.Runlatch")},
            {QStringLiteral("urgency"), QVariant::fromValue<uchar>(1)},
        };
        call << QStringLiteral("Runlatch") << uint{0} << QStringLiteral("runlatch") << summary
             << body << QStringList{QString::fromLatin1(DefaultAction), tr("Show Runlatch")}
             << hints << -1;
        auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [this](QDBusPendingCallWatcher* finished) {
                    const QDBusPendingReply<uint> reply = *finished;
                    if (!reply.isError())
                        m_sent.append(reply.value());
                    finished->deleteLater();
                });
    }

private slots:
    void actionInvoked(uint id, const QString& action)
    {
        if (m_sent.contains(id) && action == QLatin1StringView(DefaultAction))
            emit clicked();
    }

private:
    QDBusConnection m_bus;
    QList<uint> m_sent;
};

std::unique_ptr<DesktopNotifier> DesktopNotifier::create(QSystemTrayIcon&)
{
    return std::make_unique<DBusNotifier>();
}

#include "DesktopNotifierLinux.moc"
