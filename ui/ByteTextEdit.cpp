#include "ui/ByteTextEdit.h"

#include "ui/ByteText.h"

#include <QTextDocument>

namespace quarvel {

ByteTextEdit::ByteTextEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void ByteTextEdit::setBytes(const std::string& bytes)
{
    m_exact = bytes;
    setPlainText(decodeBytes(bytes));
    m_exactShown = toPlainText();
}

std::string ByteTextEdit::bytes() const
{
    if (showsExactBytes())
        return m_exact;
    // The raw text keeps non-breaking spaces (toPlainText would turn them
    // into spaces); block ends and Shift+Enter's line separators become LF.
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text.toStdString();
}

} // namespace quarvel
