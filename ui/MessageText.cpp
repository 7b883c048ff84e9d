#include "ui/MessageText.h"

#include "ui/AccessibleMessageText.h"

#include <QAccessible>
#include <QPainter>
#include <QRegularExpression>
#include <QTextLayout>
#include <QtMath>
#include <functional>

namespace quarvel {

namespace {

// Lays `text` out in lines of `width` pixels and calls `onLine` for each;
// returns the height of all lines.
int layOut(const QString& text, const QFont& font, int width, QTextLayout& layout,
           const std::function<void(const QTextLine&)>& onLine = {})
{
    layout.setText(text);
    layout.setFont(font);
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
        if (onLine)
            onLine(line);
    }
    layout.endLayout();
    return qCeil(y);
}

} // namespace

MessageText::MessageText(QWidget* parent) : QWidget(parent)
{
    installMessageTextAccessibility();
}

void MessageText::setText(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    m_text = text;
    m_text.replace(lineBreak, QString(QChar::LineSeparator));
    updateGeometry();
    update();
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

int MessageText::requiredHeight(int width) const
{
    QTextLayout layout;
    return layOut(m_text, font(), width, layout);
}

QStringList MessageText::shownLines() const
{
    QTextLayout layout;
    QStringList lines;
    layOut(m_text, font(), width(), layout, [&](const QTextLine& line) {
        QString piece = m_text.mid(line.textStart(), line.textLength());
        piece.remove(QChar::LineSeparator);
        lines.append(piece);
    });
    return lines;
}

void MessageText::paintEvent(QPaintEvent* event)
{
    (void)event;
    QTextLayout layout;
    layOut(m_text, font(), width(), layout);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    layout.draw(&painter, QPointF(0, 0));
}

} // namespace quarvel
