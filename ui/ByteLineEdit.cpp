#include "ui/ByteLineEdit.h"

#include "ui/ByteText.h"

namespace quarvel {

ByteLineEdit::ByteLineEdit(QWidget* parent) : QLineEdit(parent) {}

void ByteLineEdit::setBytes(const std::string& bytes)
{
    m_exact = bytes;
    m_exactShown = singleLineDisplay(bytes);
    setText(m_exactShown);
}

std::string ByteLineEdit::bytes() const
{
    if (showsExactBytes())
        return m_exact;
    return bytesFromSingleLine(text());
}

ByteLineEdit::Snapshot ByteLineEdit::snapshot() const
{
    return Snapshot{m_exact, m_exactShown, text(), cursorPosition()};
}

void ByteLineEdit::restore(const Snapshot& snapshot)
{
    m_exact = snapshot.exact;
    m_exactShown = snapshot.exactShown;
    if (text() != snapshot.text)
        setText(snapshot.text);
    setCursorPosition(snapshot.cursor);
}

template <class Edit>
void ByteLineEdit::asUserEdit(Edit&& edit)
{
    const bool outer = m_userEditing;
    m_userEditing = true;
    edit();
    m_userEditing = outer;
}

void ByteLineEdit::keyPressEvent(QKeyEvent* event)
{
    asUserEdit([&] { QLineEdit::keyPressEvent(event); });
}

void ByteLineEdit::inputMethodEvent(QInputMethodEvent* event)
{
    asUserEdit([&] { QLineEdit::inputMethodEvent(event); });
}

void ByteLineEdit::dropEvent(QDropEvent* event)
{
    asUserEdit([&] { QLineEdit::dropEvent(event); });
}

} // namespace quarvel
