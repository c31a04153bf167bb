#include "MakerLogo.h"

#include <QLinearGradient>
#include <QPainter>

namespace {

// The picture's size as designed, in device-independent pixels.
constexpr QSize LogoSize(57, 65);

QPixmap drawLogo(qreal pixelRatio)
{
    QPixmap logo(LogoSize * pixelRatio);
    logo.setDevicePixelRatio(pixelRatio);
    logo.fill(Qt::transparent);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);

    // The shackle.
    painter.setPen(QPen(QColor(0x7a, 0x87, 0x94), 6, Qt::SolidLine, Qt::FlatCap));
    painter.drawArc(QRectF(15, 6, 27, 30), 0, 180 * 16);
    painter.drawLine(QLineF(15, 21, 15, 30));
    painter.drawLine(QLineF(42, 21, 42, 30));

    // The body, with its keyhole.
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

MakerLogo::MakerLogo(QWidget* parent)
    : QLabel(parent)
{
    setObjectName(QStringLiteral("Logo"));
    setFixedSize(LogoSize);
    setPixmap(drawLogo(devicePixelRatioF()));
    setAccessibleName(tr("Logo"));
    setAccessibleDescription(tr("The maker's logo"));
}
