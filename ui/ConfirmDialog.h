#pragma once

#include "engine/Confirmation.h"
#include "ui/DialogLayout.h"

#include <QDialog>
#include <string>

class QPushButton;

namespace quarvel {

class MessageText;

// "Confirm Operation": asks whether one operation may go ahead, with the
// answers "Yes" (the default), "Yes All", "No" and "Cancel All". The message
// shows its CR LF breaks as line breaks and is always readable in full: a
// long path wraps at any character, and the dialog grows to show every
// line. Closing the dialog any other way than by a button (Esc, Alt+F4, the
// application quitting) answers No, so that no file changes without a
// clear yes.
class ConfirmDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ConfirmDialog(QWidget* parent);

    // Shows the dialog modally and returns the answer once it has closed.
    ConfirmResult ask(const std::string& message);

    void reject() override;

private:
    QPushButton* addButton(const char* name, const char* text, DialogRect rect,
                           ConfirmResult answer);
    void fitToMessage();

    DialogLayout m_layout;
    MessageText* m_message;
    QList<QPushButton*> m_buttons;
    ConfirmResult m_answer = ConfirmResult::No;
};

} // namespace quarvel
