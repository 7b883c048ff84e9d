#pragma once

#include <QPixmap>
#include <QSize>

class QPainter;
class QRectF;

namespace quarvel {

// The maker's logo of the About box, drawn in code: the application icon's
// folder, document and morph badge beside the product name.
inline constexpr QSize kLogoSize{120, 60};

// The logo at kLogoSize logical pixels, `scale` device pixels to each.
QPixmap quarvelLogo(qreal scale);

// The application icon's picture (the same drawing as the packaged SVG
// icon), fitted into `square`.
void paintQuarvelIcon(QPainter& painter, const QRectF& square);

} // namespace quarvel
