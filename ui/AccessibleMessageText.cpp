#include "ui/AccessibleMessageText.h"

#include "ui/MessageText.h"

namespace quarvel {

namespace {

QAccessibleInterface* createForMessageText(const QString& className, QObject* object)
{
    if (className != QLatin1String(MessageText::staticMetaObject.className()))
        return nullptr;
    return new AccessibleMessageText(static_cast<MessageText*>(object));
}

} // namespace

AccessibleMessageText::AccessibleMessageText(MessageText* text)
    : QAccessibleWidget(text, QAccessible::StaticText)
{
}

QString AccessibleMessageText::text(QAccessible::Text kind) const
{
    if (kind != QAccessible::Name && kind != QAccessible::Value)
        return QAccessibleWidget::text(kind);
    QString shown = static_cast<const MessageText*>(widget())->text();
    shown.replace(QChar::LineSeparator, u'\n');
    return shown;
}

void installMessageTextAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(createForMessageText);
        return true;
    }();
    (void)installed;
}

} // namespace quarvel
