#pragma once

#include <QPlainTextEdit>
#include <string>

namespace quarvel {

// A multi-line text field over a byte string: no wrapping (long lines
// scroll sideways), Enter makes a line break, Tab moves on to the next
// control. As long as the user has not changed the text, bytes() gives
// back exactly what setBytes() received (CR LF pairs, lone CRs and bytes
// that are not valid UTF-8 included). An edited text is read from what the
// field shows, each line break as LF, this system's line break.
class ByteTextEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit ByteTextEdit(QWidget* parent = nullptr);

    void setBytes(const std::string& bytes);
    std::string bytes() const;
    // True while the field shows what setBytes() put up (undoing every edit
    // counts as well).
    bool showsExactBytes() const { return toPlainText() == m_exactShown; }

private:
    std::string m_exact;
    QString m_exactShown;
};

} // namespace quarvel
