#pragma once

#include <QString>
#include <QWidget>

namespace quarvel {

// A left-aligned, multi-line static text that never cuts its message:
// it breaks lines at every line break of the text, wraps at word
// boundaries, and wraps a word that is wider than the control (a long
// path) at any character. requiredHeight() tells how high it must be to
// show every line.
class MessageText : public QWidget
{
    Q_OBJECT

public:
    explicit MessageText(QWidget* parent = nullptr);

    // Line breaks are CR LF, CR or LF.
    void setText(const QString& text);
    QString text() const { return m_text; }

    int requiredHeight(int width) const;
    // The lines as they are shown at the current width.
    QStringList shownLines() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text; // with U+2028 for each line break
};

} // namespace quarvel
