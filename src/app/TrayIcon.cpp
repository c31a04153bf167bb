#include "TrayIcon.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QSystemTrayIcon>

TrayIcon::TrayIcon(QWidget& window, const QList<QAction*>& commands)
    : QObject(&window)
    , m_window(window)
    , m_menu(new QMenu(&window))
    , m_tray(new QSystemTrayIcon(this))
{
    m_menu->setObjectName(QStringLiteral("TrayMenu"));
    QAction* show = m_menu->addAction(tr("Show Runlatch"));
    show->setObjectName(QStringLiteral("TrayShow"));
    connect(show, &QAction::triggered, this, &TrayIcon::showWindow);
    m_menu->addSeparator();
    m_menu->addActions(commands);
    m_tray->setContextMenu(m_menu);
    m_tray->setIcon(markedIcon(Mark::None));
    connect(m_tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                    showWindow();
            });
    if (QSystemTrayIcon::isSystemTrayAvailable())
        m_tray->show();
}

TrayIcon::~TrayIcon() = default;

bool TrayIcon::available() const
{
    return m_tray->isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::setMark(Mark mark)
{
    if (mark == m_mark)
        return;
    m_mark = mark;
    m_tray->setIcon(markedIcon(mark));
}

void TrayIcon::setToolTip(const QString& text)
{
    m_tray->setToolTip(text);
}

void TrayIcon::showWindow()
{
    m_window.show();
    m_window.setWindowState((m_window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    m_window.raise();
    m_window.activateWindow();
    if (m_mark == Mark::Failed)
        setMark(Mark::None);
}

// A dot in the lower right corner: blue while a run is under way, red after a failure, so that
// the state shows even in a tray of tiny monochrome icons as a change of shape.
QIcon TrayIcon::markedIcon(Mark mark) const
{
    const QIcon base = QApplication::windowIcon();
    if (mark == Mark::None)
        return base;
    QIcon marked;
    for (const int size : {16, 22, 24, 32, 48, 64}) {
        QPixmap pixmap = base.pixmap(size, size);
        if (pixmap.isNull()) {
            pixmap = QPixmap(size, size);
            pixmap.fill(Qt::transparent);
        }
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal dot = size * 0.5;
        painter.setPen(QPen(Qt::white, std::max(1.0, size / 16.0)));
        painter.setBrush(mark == Mark::Running ? QColor(0x1e, 0x6f, 0xd9)
                                               : QColor(0xd9, 0x2b, 0x1e));
        painter.drawEllipse(QRectF(size - dot - 0.5, size - dot - 0.5, dot, dot));
        marked.addPixmap(pixmap);
    }
    return marked;
}
