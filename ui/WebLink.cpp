#include "ui/WebLink.h"

#include "ui/UrlOpener.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QUrl>
#include <QWidget>

namespace quarvel {

namespace {

constexpr int kLeftInset = 20;
constexpr int kAreaRight = 218;
constexpr int kTextRise = 20;
constexpr int kAreaTop = 19;
constexpr int kAreaBottom = 8;

QString linkText()
{
    return QString::fromLatin1(WebLink::kUrl);
}

} // namespace

WebLink::WebLink(QWidget& surface, UrlOpener& opener) : m_surface(surface), m_opener(opener)
{
    m_surface.setMouseTracking(true);
}

bool WebLink::inLinkArea(const QSize& client, const QPoint& point)
{
    const int bottom = client.height();
    return point.x() > kLeftInset && point.x() < kAreaRight && point.y() > bottom - kAreaTop &&
           point.y() < bottom - kAreaBottom;
}

QPoint WebLink::textOrigin(const QSize& client)
{
    return QPoint(kLeftInset, client.height() - kTextRise);
}

QRect WebLink::textRect() const
{
    const QFontMetrics metrics(QGuiApplication::font());
    const QSize size(metrics.horizontalAdvance(linkText()) + 1, metrics.height());
    return QRect(textOrigin(m_surface.size()), size);
}

void WebLink::paint(QPainter& painter) const
{
    painter.save();
    painter.setFont(QGuiApplication::font());
    painter.setPen(color());
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(textRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, linkText());
    painter.restore();
}

void WebLink::setHot(bool hot)
{
    if (m_hot == hot)
        return;
    m_hot = hot;
    ++m_repaints;
    // At once, so that a click shows the normal colour before the browser
    // starts.
    m_surface.repaint(textRect());
}

void WebLink::mouseMoved(const QPoint& point, bool onSurface)
{
    if (onSurface)
        setHot(inLinkArea(m_surface.size(), point));
}

void WebLink::leftButtonReleased()
{
    if (!m_hot)
        return;
    setHot(false);
    openPage();
}

void WebLink::openPage()
{
    if (m_opener.open(QUrl(linkText())))
        return;
    QMessageBox box(QMessageBox::Warning, m_surface.windowTitle(),
                    QStringLiteral("Failed to start web browser."), QMessageBox::Ok, &m_surface);
    box.setObjectName(QStringLiteral("browserFailedBox"));
    box.exec();
}

} // namespace quarvel
