#pragma once

#include <QLineEdit>
#include <string>

namespace quarvel {

// A single-line text field over a byte string. It shows the text with its
// line breaks as visible symbols (see singleLineDisplay) and keeps the exact
// bytes beside it: as long as the shown text has not been edited, bytes()
// gives back exactly what setBytes() received, line breaks and bytes that
// are not valid UTF-8 included. An edited text is read from what it shows.
class ByteLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit ByteLineEdit(QWidget* parent = nullptr);

    void setBytes(const std::string& bytes);
    std::string bytes() const;
    // True while the field shows what setBytes() put up.
    bool showsExactBytes() const { return text() == m_exactShown; }

    // True while the user's own typing, input method or drop changes the
    // text (not the program).
    bool isUserEditing() const { return m_userEditing; }

    // Everything that makes up the field's value, so that a change made
    // behind the field's back (a combo box that copies an item into it) can
    // be undone.
    struct Snapshot
    {
        std::string exact;
        QString exactShown;
        QString text;
        int cursor = 0;
    };
    Snapshot snapshot() const;
    void restore(const Snapshot& snapshot);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    template <class Edit>
    void asUserEdit(Edit&& edit);

    bool m_userEditing = false;
    std::string m_exact;
    QString m_exactShown; // the text setBytes() put up
};

} // namespace quarvel
