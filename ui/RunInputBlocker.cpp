#include "ui/RunInputBlocker.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace quarvel {

namespace {

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

} // namespace

RunInputBlocker::RunInputBlocker(QWidget* window) : m_window(window)
{
    QCoreApplication::instance()->installEventFilter(this);
}

RunInputBlocker::~RunInputBlocker()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool RunInputBlocker::addressedToWindow(QObject* watched) const
{
    if (watched->isWidgetType())
        return static_cast<QWidget*>(watched)->window() == m_window;
    if (watched->isWindowType())
        return static_cast<QWindow*>(watched) == m_window->windowHandle();
    return false;
}

bool RunInputBlocker::eventFilter(QObject* watched, QEvent* event)
{
    if (!isInput(event->type()) || !addressedToWindow(watched))
        return false;
    event->ignore();
    return true;
}

} // namespace quarvel
