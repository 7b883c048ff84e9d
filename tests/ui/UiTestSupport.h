#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

class QWidget;

namespace quarvel::test {

// Finds a named child, failing the test when it is missing.
template <class T>
T* child(const QObject* parent, const char* name)
{
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr)
        throw std::runtime_error(std::string("no child named ") + name);
    return found;
}

// Answers the modal dialogs that open while it lives, the way a user would:
// every 10 ms (from whichever event loop runs: a dialog's own, or the main
// window's repaints during a run) it looks at the active modal dialog.
// A "Confirm Operation" dialog gets the next of `answers` ("yes", "yesAll",
// "no", "cancelAll" click that button; "esc" presses Esc; "close" closes the
// window as Alt+F4 does); the "Operation Complete" box is read and closed
// with OK; any other dialog goes to `onOtherDialog`.
class ModalScript : public QObject
{
    Q_OBJECT

public:
    ModalScript();

    std::deque<std::string> answers;
    std::vector<QString> questions;
    std::vector<QString> summaries;
    int unexpectedQuestions = 0;
    std::function<void(QWidget*)> onQuestion; // before it is answered
    std::function<void()> onSummary;          // before the box is closed
    std::function<void(QWidget*)> onOtherDialog;

private:
    void look();
    void answer(QWidget* dialog);
    void closeSummary(QWidget* box);

    QTimer m_timer;
};

} // namespace quarvel::test
