#include "ui/DefaultColormapFilter.h"

#include "platform/x11/DefaultColormap.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace quarvel {

namespace {

xcb_connection_t* x11Connection()
{
    const auto* x11 =
        qApp == nullptr ? nullptr : qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 == nullptr ? nullptr : x11->connection();
}

} // namespace

bool DefaultColormapFilter::installOnApplication()
{
    if (x11Connection() == nullptr)
        return false;
    qApp->installEventFilter(new DefaultColormapFilter(qApp));
    return true;
}

bool DefaultColormapFilter::eventFilter(QObject* watched, QEvent* event)
{
    // A widget's Show event comes after its native window is created and
    // before it is mapped, so the window appears with the new colormap.
    if (event->type() == QEvent::Show) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->isWindow() && widget->internalWinId() != 0)
            UseDefaultColormap(x11Connection(),
                               static_cast<std::uint32_t>(widget->internalWinId()));
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quarvel
