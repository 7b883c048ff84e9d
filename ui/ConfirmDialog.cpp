#include "ui/ConfirmDialog.h"

#include "ui/ByteText.h"
#include "ui/MessageText.h"

#include <QPushButton>

namespace quarvel {

namespace {

constexpr int kDialogWidth = 292;
constexpr int kDialogHeight = 63;
constexpr DialogRect kMessageRect{29, 7, 233, 26};

} // namespace

ConfirmDialog::ConfirmDialog(QWidget* parent)
    : QDialog(parent), m_layout(this, kDialogWidth, kDialogHeight)
{
    setObjectName(QStringLiteral("confirmDialog"));
    setWindowTitle(QStringLiteral("Confirm Operation"));
    // A caption but no system menu, so no close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    m_message = new MessageText(this);
    m_message->setObjectName(QStringLiteral("message"));
    m_layout.place(m_message, kMessageRect);
    QPushButton* yes = addButton("yes", "Yes", {26, 42, 50, 14}, ConfirmResult::Yes);
    addButton("yesAll", "Yes All", {78, 42, 50, 14}, ConfirmResult::YesAll);
    addButton("no", "No", {146, 42, 50, 14}, ConfirmResult::No);
    addButton("cancelAll", "Cancel All", {214, 42, 50, 14}, ConfirmResult::CancelAll);
    yes->setDefault(true);
}

QPushButton* ConfirmDialog::addButton(const char* name, const char* text, DialogRect rect,
                                      ConfirmResult answer)
{
    auto* button = new QPushButton(QString::fromLatin1(text), this);
    button->setObjectName(QString::fromLatin1(name));
    m_layout.place(button, rect);
    m_buttons.append(button);
    connect(button, &QPushButton::clicked, this, [this, answer] {
        m_answer = answer;
        accept();
    });
    return button;
}

ConfirmResult ConfirmDialog::ask(const std::string& message)
{
    m_message->setText(decodeBytes(message));
    fitToMessage();
    exec();
    return m_answer;
}

void ConfirmDialog::reject()
{
    m_answer = ConfirmResult::No;
    QDialog::reject();
}

// The table's size leaves room for three lines; a longer message makes the
// text taller, and the buttons and the dialog's bottom move down with it.
void ConfirmDialog::fitToMessage()
{
    m_layout.apply();
    const QRect text = m_message->geometry();
    const int grow = qMax(0, m_message->requiredHeight(text.width()) - text.height());
    if (grow == 0)
        return;
    m_message->resize(text.width(), text.height() + grow);
    for (QPushButton* button : m_buttons)
        button->move(button->x(), button->y() + grow);
    setFixedSize(width(), height() + grow);
}

} // namespace quarvel
