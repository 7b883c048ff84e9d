#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>

class QPainter;
class QWidget;

namespace quarvel {

class UrlOpener;

// The maker's web address painted on a window's own surface near its
// bottom-left corner. It turns to the hot colour while the mouse is over
// its fixed area, and a left-button release while hot opens the page. The
// window forwards its paint, mouse-move and left-button-release events;
// each change of state repaints the link once, and the mouse pointer's
// shape is never touched.
class WebLink
{
public:
    static constexpr const char* kUrl = "https://www.brantwick.example";
    static inline const QColor kNormalColor{96, 96, 255};
    static inline const QColor kHotColor{0, 0, 255};

    // `surface` is the window the link is painted on (it gets mouse
    // tracking, so moves without a button pressed arrive); both must
    // outlive the link.
    WebLink(QWidget& surface, UrlOpener& opener);

    // The points that count as over the link, for a client rectangle of
    // the given size: left + 20 < x < left + 218 and bottom - 19 < y <
    // bottom - 8, all bounds excluded, whatever the text's width. "bottom"
    // is the client area's height, as the window system counts it.
    static bool inLinkArea(const QSize& client, const QPoint& point);
    // The text's top-left corner: (left + 20, bottom - 20).
    static QPoint textOrigin(const QSize& client);

    bool isHot() const { return m_hot; }
    QColor color() const { return m_hot ? kHotColor : kNormalColor; }
    // How many times a change of state has asked for the link to be
    // repainted.
    int repaintCount() const { return m_repaints; }

    // Draws the text in the colour of the current state, over whatever is
    // there, in the application's default font (not the window's).
    void paint(QPainter& painter) const;

    // A mouse move over the window's own surface (not over one of its
    // child controls: the window passes `onSurface` false for those, and
    // the state stays as it is).
    void mouseMoved(const QPoint& point, bool onSurface);
    // A left-button release on the surface: while hot, the link turns
    // normal (painted at once), then the page opens; when that fails the
    // warning "Failed to start web browser." is shown.
    void leftButtonReleased();

private:
    void setHot(bool hot);
    QRect textRect() const;
    void openPage();

    QWidget& m_surface;
    UrlOpener& m_opener;
    bool m_hot = false;
    int m_repaints = 0;
};

} // namespace quarvel
