#pragma once

#include <QObject>

namespace quarvel {

// Watches the application's top-level windows and, on X11, moves each one
// onto the screen's default colormap as it is shown (see
// platform/x11/DefaultColormap.h for why). Does nothing on other platforms.
class DefaultColormapFilter : public QObject
{
public:
    using QObject::QObject;

    // Installs one filter on the running application when it talks to an X
    // server; returns whether it did.
    static bool installOnApplication();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace quarvel
