#pragma once

#include <QComboBox>
#include <string>

namespace quarvel {

class ByteLineEdit;

// The editable drop-down list of a history (file mask, pattern). Its items
// and its edit text are byte strings kept exactly (see ByteLineEdit); the
// list is kept sorted alphabetically ignoring case, and changing the list
// never changes the edit text. Typed text is not completed from the list,
// never inserted into it, and cannot grow wider than the visible edit part.
class HistoryComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit HistoryComboBox(QWidget* parent = nullptr);

    void setEditBytes(const std::string& bytes);
    std::string editBytes() const;

    // Inserts at the item's sorted place; an item equal (ignoring case) to
    // existing ones goes after them. Inserting and removing items leave the
    // edit text as it was.
    void insertSorted(const std::string& bytes);
    void removeItemAt(int index);
    std::string itemBytes(int index) const;

    ByteLineEdit* byteEdit() const { return m_edit; }

private:
    ByteLineEdit* m_edit;
};

} // namespace quarvel
