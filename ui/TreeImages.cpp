#include "ui/TreeImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace quarvel {

namespace {

using Drawing = std::function<void(QPainter&)>;

// One picture of kTreeImageSize logical pixels at `scale` device pixels each.
QPixmap render(const Drawing& draw, qreal scale)
{
    QPixmap pixmap(kTreeImageSize * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return pixmap;
}

void drawTick(QPainter& painter)
{
    QPainterPath tick;
    tick.moveTo(3.0, 6.5);
    tick.lineTo(6.5, 10.0);
    tick.lineTo(13.0, 2.5);
    painter.setPen(QPen(QColor(0, 140, 40), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(tick);
}

void drawDisc(QPainter& painter)
{
    const QRectF disc(2.5, 1.0, 11.0, 11.0);
    QRadialGradient shade(disc.center() - QPointF(1.5, 1.5), 7.0);
    shade.setColorAt(0.0, QColor(255, 110, 100));
    shade.setColorAt(1.0, QColor(200, 0, 0));
    painter.setPen(QPen(QColor(130, 0, 0), 1.0));
    painter.setBrush(shade);
    painter.drawEllipse(disc);
}

void addBothScales(QIcon& icon, const Drawing& draw, QIcon::Mode mode)
{
    for (const qreal scale : {1.0, 2.0})
        icon.addPixmap(render(draw, scale), mode);
}

} // namespace

QIcon folderItemIcon()
{
    QIcon icon;
    addBothScales(icon, drawTick, QIcon::Normal);
    addBothScales(icon, drawDisc, QIcon::Selected);
    return icon;
}

} // namespace quarvel
