#pragma once

#include <QValidator>

namespace quarvel {

class ByteLineEdit;

// Keeps typed text within the visible part of an edit field that does not
// scroll sideways: a user's edit that would make the text wider than the
// field (and wider than it already was) is refused. Text put in by the
// program is not limited, and shortening a text that is too wide is always
// allowed.
class EditWidthLimit : public QValidator
{
    Q_OBJECT

public:
    explicit EditWidthLimit(ByteLineEdit* edit);

    State validate(QString& input, int& position) const override;

private:
    int textWidth(const QString& text) const;
    int visibleWidth() const;

    ByteLineEdit* m_edit;
    int m_currentWidth = 0; // width of the text the field holds now
};

} // namespace quarvel
