#pragma once

#include <QAccessibleWidget>

namespace quarvel {

class MessageText;

// What a screen reader gets of a MessageText, which paints its text itself:
// a static text whose name and value are the message, one line per line
// break.
class AccessibleMessageText : public QAccessibleWidget
{
public:
    explicit AccessibleMessageText(MessageText* text);

    QString text(QAccessible::Text kind) const override;
};

// Makes QAccessible create the interface above for every MessageText.
void installMessageTextAccessibility();

} // namespace quarvel
