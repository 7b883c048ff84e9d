#include "ui/DialogUnits.h"

#include <QFont>
#include <QFontMetricsF>

namespace quarvel {

namespace {

// The average character width as the dialog-unit rule measures it: the
// mean advance of the 52 Latin letters. It is kept as a fraction; rounding
// it to whole pixels first would shrink every dialog by up to 7 %.
qreal averageLetterWidth(const QFontMetricsF& metrics)
{
    static const QString letters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return qMax<qreal>(1, metrics.horizontalAdvance(letters) / letters.size());
}

} // namespace

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetricsF metrics(font);
    m_baseX = averageLetterWidth(metrics);
    m_baseY = qMax<qreal>(1, metrics.height());
}

DialogUnits::DialogUnits(qreal averageCharWidth, qreal charHeight)
    : m_baseX(averageCharWidth), m_baseY(charHeight)
{
}

int DialogUnits::x(int units) const
{
    return qRound(units * m_baseX / 4);
}

int DialogUnits::y(int units) const
{
    return qRound(units * m_baseY / 8);
}

QSize DialogUnits::size(int width, int height) const
{
    return QSize(x(width), y(height));
}

QRect DialogUnits::rect(const DialogRect& r) const
{
    const int left = x(r.x);
    const int top = y(r.y);
    return QRect(left, top, x(r.x + r.width) - left, y(r.y + r.height) - top);
}

} // namespace quarvel
