#pragma once

#include <QObject>

class QWidget;

namespace quarvel {

// While it lives, the window takes no input: mouse, keyboard, wheel, drops,
// context menus and close requests addressed to it or its controls are
// dropped, while painting goes on. Other windows (the confirmation dialogs
// and the summary box that a run opens) are not affected.
class RunInputBlocker : public QObject
{
    Q_OBJECT

public:
    explicit RunInputBlocker(QWidget* window);
    ~RunInputBlocker() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool addressedToWindow(QObject* watched) const;

    QWidget* m_window;
};

} // namespace quarvel
