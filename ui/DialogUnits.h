#pragma once

#include <QRect>
#include <QSize>

class QFont;

namespace quarvel {

// A rectangle in dialog units: x, y, width, height.
struct DialogRect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Converts dialog units to pixels from a font's metrics, so that every
// dialog keeps its proportions at any DPI and with any default font: one
// horizontal unit is a quarter of the font's average character width, one
// vertical unit an eighth of its character height.
class DialogUnits
{
public:
    explicit DialogUnits(const QFont& font);
    DialogUnits(qreal averageCharWidth, qreal charHeight);

    qreal averageCharWidth() const { return m_baseX; }
    qreal charHeight() const { return m_baseY; }

    int x(int units) const;
    int y(int units) const;
    QSize size(int width, int height) const;
    // Each edge is converted on its own, so controls that share an edge in
    // dialog units share it in pixels too.
    QRect rect(const DialogRect& r) const;

private:
    qreal m_baseX;
    qreal m_baseY;
};

} // namespace quarvel
