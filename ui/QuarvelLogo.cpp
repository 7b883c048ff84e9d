#include "ui/QuarvelLogo.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace quarvel {

namespace {

// The icon's shapes on its 256-unit canvas, as in packaging/icons/quarvel.svg.
QPainterPath roundedPanel(const QRectF& rect)
{
    QPainterPath path;
    path.addRoundedRect(rect, 12, 12);
    return path;
}

QPainterPath folderBack()
{
    QPainterPath path = roundedPanel({20, 58, 216, 154});
    QPainterPath tab;
    tab.moveTo(20, 52);
    tab.quadTo(20, 40, 32, 40);
    tab.lineTo(92, 40);
    tab.lineTo(110, 58);
    tab.lineTo(20, 70);
    tab.closeSubpath();
    return path.united(tab);
}

QPainterPath document()
{
    QPainterPath path;
    path.moveTo(68, 28);
    path.lineTo(146, 28);
    path.lineTo(184, 66);
    path.lineTo(184, 186);
    path.lineTo(68, 186);
    path.closeSubpath();
    return path;
}

QPainterPath folderFront()
{
    QPainterPath path;
    path.moveTo(28, 106);
    path.lineTo(228, 106);
    path.quadTo(240, 106, 240, 118);
    path.lineTo(234, 200);
    path.quadTo(233.5, 212, 222, 212);
    path.lineTo(34, 212);
    path.quadTo(22.5, 212, 22, 200);
    path.lineTo(16, 118);
    path.quadTo(16, 106, 28, 106);
    return path;
}

void paintDocument(QPainter& p)
{
    p.setPen(QPen(QColor(0x4a, 0x55, 0x63), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(document());
    p.setBrush(QColor(0xdf, 0xe4, 0xea));
    p.drawPolygon(QPolygonF({{146, 28}, {146, 66}, {184, 66}}));
    p.setPen(QPen(QColor(0x8a, 0x96, 0xa3), 7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QLineF(88, 60, 128, 60));
    p.drawLine(QLineF(88, 80, 164, 80));
    p.drawLine(QLineF(88, 100, 164, 100));
}

void paintBadge(QPainter& p)
{
    p.setPen(QPen(Qt::white, 6));
    p.setBrush(QColor(0x1d, 0x74, 0x86));
    p.drawEllipse(QPointF(184, 184), 56, 56);
    p.setPen(QPen(Qt::white, 10, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QRectF ring(154, 154, 60, 60);
    p.drawArc(ring, 200 * 16, -130 * 16); // upper arrow, left to right
    p.drawArc(ring, 20 * 16, -130 * 16);  // lower arrow, right to left
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{218, 183.4}, {220.6, 160.2}, {199.4, 170.6}}));
    p.drawPolygon(QPolygonF({{150, 184.6}, {147.4, 207.8}, {168.6, 197.4}}));
}

// Draws `text` in the largest pixel size up to `largest` that fits `box`,
// whatever fonts the system has.
void drawFitted(QPainter& painter, const QRectF& box, const QString& text, int largest, bool bold)
{
    QFont font;
    font.setBold(bold);
    for (int size = largest; size > 6; --size) {
        font.setPixelSize(size);
        if (QFontMetricsF(font).horizontalAdvance(text) <= box.width())
            break;
    }
    painter.setFont(font);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
}

} // namespace

void paintQuarvelIcon(QPainter& painter, const QRectF& square)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(square.topLeft());
    painter.scale(square.width() / 256.0, square.height() / 256.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xc7, 0x79, 0x1a));
    painter.drawPath(folderBack());
    paintDocument(painter);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xf0, 0xa5, 0x35));
    painter.drawPath(folderFront());
    paintBadge(painter);
    painter.restore();
}

QPixmap quarvelLogo(qreal scale)
{
    QPixmap pixmap(kLogoSize * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintQuarvelIcon(painter, QRectF(4, 6, 48, 48));
    painter.setPen(QColor(0x1d, 0x74, 0x86));
    drawFitted(painter, QRectF(54, 8, 63, 26), QStringLiteral("Quarvel"), 20, true);
    painter.setPen(QColor(0x4a, 0x55, 0x63));
    drawFitted(painter, QRectF(55, 34, 62, 16), QStringLiteral("Brantwick Labs"), 10, false);
    return pixmap;
}

} // namespace quarvel
