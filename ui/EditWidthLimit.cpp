#include "ui/EditWidthLimit.h"

#include "ui/ByteLineEdit.h"

#include <QStyle>
#include <QStyleOptionFrame>

namespace quarvel {

namespace {

// QLineEdit keeps this many pixels free on each side of its text.
constexpr int kLineEditTextMargin = 2;

} // namespace

EditWidthLimit::EditWidthLimit(ByteLineEdit* edit) : QValidator(edit), m_edit(edit)
{
    m_currentWidth = textWidth(edit->text());
    connect(edit, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_currentWidth = textWidth(text); });
}

QValidator::State EditWidthLimit::validate(QString& input, int& position) const
{
    (void)position;
    // The program's own texts always pass, so that the field starts every
    // user edit from a valid state (QLineEdit undoes an invalid edit only
    // then).
    if (!m_edit->isUserEditing())
        return Acceptable;
    const int width = textWidth(input);
    if (width <= visibleWidth() || width <= m_currentWidth)
        return Acceptable;
    return Invalid;
}

int EditWidthLimit::textWidth(const QString& text) const
{
    // One pixel more for the text cursor behind the last character.
    return m_edit->fontMetrics().horizontalAdvance(text) + 1;
}

int EditWidthLimit::visibleWidth() const
{
    QStyleOptionFrame option;
    option.initFrom(m_edit);
    option.lineWidth =
        m_edit->hasFrame()
            ? m_edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, m_edit)
            : 0;
    const QRect contents =
        m_edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, m_edit);
    const QMargins margins = m_edit->textMargins();
    return contents.width() - margins.left() - margins.right() - 2 * kLineEditTextMargin;
}

} // namespace quarvel
