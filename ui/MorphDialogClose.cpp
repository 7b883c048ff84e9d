// Closing the main dialog on request from outside (a stop signal), whatever
// it is doing at the time.

#include "ui/MorphDialog.h"

#include <QApplication>
#include <QTimer>

namespace quarvel {

namespace {

// How often the close is retried while a run finishes or a dialog goes away.
constexpr int kCloseStepMs = 20;

} // namespace

void MorphDialog::closeWhenIdle()
{
    m_closeRequested = true;
    if (m_closeTimer == nullptr) {
        m_closeTimer = new QTimer(this);
        connect(m_closeTimer, &QTimer::timeout, this, &MorphDialog::closeStep);
    }
    m_closeTimer->start(kCloseStepMs);
    closeStep();
}

// One step towards the close: the topmost dialog over this one is dismissed
// (each runs its own event loop, which must end before the one below it;
// the context menu too),
// and once none is left and no run is under way, the window closes. A run
// sees the request through stopRequested and ends after its current
// operation; its summary box is then dismissed like any other dialog.
void MorphDialog::closeStep()
{
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close(); // the context menu
        return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != this) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        return;
    }
    if (m_running)
        return;
    m_closeTimer->stop();
    reject();
}

} // namespace quarvel
