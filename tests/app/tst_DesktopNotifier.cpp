// The notifications reach the desktop's notification service over D-Bus: a stand-in service on a
// private session bus records what it is asked.
#include "DesktopNotifier.h"
#include "Watchdog.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Notification {
    QString appName;
    QString summary;
    QString body;
    QStringList actions;
};

class NotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    QList<Notification> received;

public slots:
    uint Notify(const QString& appName, uint, const QString&, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap&, int)
    {
        received.append({appName, summary, body, actions});
        return static_cast<uint>(received.size()) + 40;
    }
};

} // namespace

class TestDesktopNotifier : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void notifiesTheServiceAndHearsTheClick_data();
    void notifiesTheServiceAndHearsTheClick();

private:
    QProcess m_bus;
    QString m_address;
};

void TestDesktopNotifier::initTestCase()
{
    const QString daemon = QStandardPaths::findExecutable(u"dbus-daemon"_s);
    if (daemon.isEmpty())
        QSKIP("dbus-daemon is not installed");
    m_bus.start(daemon, {u"--session"_s, u"--nofork"_s, u"--print-address=1"_s});
    QVERIFY(m_bus.waitForReadyRead(10000));
    m_address = QString::fromLatin1(m_bus.readLine().trimmed());
    // Before the first use of the session bus, which the notifier connects to.
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toLatin1());
}

void TestDesktopNotifier::cleanupTestCase()
{
    m_bus.kill();
    m_bus.waitForFinished();
}

void TestDesktopNotifier::notifiesTheServiceAndHearsTheClick_data()
{
    QTest::addColumn<bool>("serviceRuns");
    QTest::newRow("service answers") << true;
    QTest::newRow("no service") << false;
}

void TestDesktopNotifier::notifiesTheServiceAndHearsTheClick()
{
    QFETCH(bool, serviceRuns);
    const FailInsteadOfHanging watchdog;
    QDBusConnection standIn = QDBusConnection::connectToBus(m_address, u"standin"_s);
    NotificationService service;
    if (serviceRuns) {
        QVERIFY(standIn.registerObject(u"/org/freedesktop/Notifications"_s, &service,
                                       QDBusConnection::ExportAllSlots));
        QVERIFY(standIn.registerService(u"org.freedesktop.Notifications"_s));
    }
    QSystemTrayIcon tray;
    const std::unique_ptr<DesktopNotifier> notifier = DesktopNotifier::create(tray);
    QSignalSpy clicked(notifier.get(), &DesktopNotifier::clicked);

    notifier->notify(u"2 of 12 programs failed"_s, u"/bin/a ended with exit code 3"_s);
    if (!serviceRuns) {
        // The call is not answered: nothing waits for it, and a ping through the bus comes back.
        QDBusMessage ping =
            QDBusMessage::createMethodCall(u"org.freedesktop.DBus"_s, u"/org/freedesktop/DBus"_s,
                                           u"org.freedesktop.DBus"_s, u"GetId"_s);
        QCOMPARE(QDBusConnection::sessionBus().call(ping).type(), QDBusMessage::ReplyMessage);
        QVERIFY(service.received.isEmpty());
        return;
    }
    QTRY_COMPARE(service.received.size(), 1);
    QCOMPARE(service.received[0].appName, u"Runlatch"_s);
    QCOMPARE(service.received[0].summary, u"2 of 12 programs failed"_s);
    QCOMPARE(service.received[0].body, u"/bin/a ended with exit code 3"_s);
    QVERIFY(service.received[0].actions.contains(u"default"_s));

    // A click on another program's notification is not ours; one on ours shows the window. The
    // service answered with our number before it sends these, and the bus keeps one sender's
    // messages in order.
    const auto invoke = [&standIn](uint id) {
        QDBusMessage signal =
            QDBusMessage::createSignal(u"/org/freedesktop/Notifications"_s,
                                       u"org.freedesktop.Notifications"_s, u"ActionInvoked"_s);
        signal << id << u"default"_s;
        QVERIFY(standIn.send(signal));
    };
    invoke(7);
    invoke(41);
    QTRY_COMPARE(clicked.size(), 1);
    standIn.unregisterService(u"org.freedesktop.Notifications"_s);
    QDBusConnection::disconnectFromBus(u"standin"_s);
}

QTEST_MAIN(TestDesktopNotifier)
#include "tst_DesktopNotifier.moc"
