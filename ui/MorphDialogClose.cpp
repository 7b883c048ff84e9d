// Closing the main dialog on request from outside (a stop signal), whatever
// it is doing at the time.

#include "ui/MorphDialog.h"

#include <QApplication>
#include <QMetaObject>

namespace quarvel {

void MorphDialog::closeWhenIdle()
{
    m_closeRequested = true;
    m_run.requestStop();
    m_preview.requestStop();
    closeStep();
}

// One step towards the close: the topmost dialog over this one is dismissed
// (each runs its own event loop, which must end before the one below it;
// the context menu too), and the next step is taken from the event loop once
// it has ended. When none is left and no run is under way, the window
// closes; a run under way stops after its current operation and its end
// takes the last step.
void MorphDialog::closeStep()
{
    QWidget* over = QApplication::activePopupWidget(); // the context menu
    if (over == nullptr) {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal != this)
            over = modal;
    }
    if (over != nullptr) {
        if (auto* dialog = qobject_cast<QDialog*>(over))
            dialog->reject();
        else
            over->close();
        // A dialog that refuses to go leaves the close to its own end.
        if (!over->isVisible())
            QMetaObject::invokeMethod(this, &MorphDialog::closeStep, Qt::QueuedConnection);
        return;
    }
    if (m_running)
        return;
    reject();
}

} // namespace quarvel
