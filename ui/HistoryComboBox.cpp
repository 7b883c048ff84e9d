#include "ui/HistoryComboBox.h"

#include "app/VectorSortedList.h"
#include "ui/ByteLineEdit.h"
#include "ui/ByteText.h"
#include "ui/EditWidthLimit.h"

#include <QByteArray>

namespace quarvel {

HistoryComboBox::HistoryComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    m_edit = new ByteLineEdit(this);
    setLineEdit(m_edit);
    setInsertPolicy(QComboBox::NoInsert);
    setDuplicatesEnabled(true);
    setCompleter(nullptr);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(1);
    m_edit->setValidator(new EditWidthLimit(m_edit));
}

void HistoryComboBox::setEditBytes(const std::string& bytes)
{
    m_edit->setBytes(bytes);
}

std::string HistoryComboBox::editBytes() const
{
    // An item chosen from the list shows its text in the edit part: its
    // exact bytes stand behind that text.
    if (!m_edit->showsExactBytes()) {
        const int chosen = findText(m_edit->text(), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (chosen >= 0)
            return itemBytes(chosen);
    }
    return m_edit->bytes();
}

void HistoryComboBox::insertSorted(const std::string& bytes)
{
    int position = 0;
    while (position < count() && compareIgnoringCase(itemBytes(position), bytes) <= 0)
        ++position;
    const ByteLineEdit::Snapshot kept = m_edit->snapshot();
    insertItem(position, singleLineDisplay(bytes),
               QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    m_edit->restore(kept);
}

void HistoryComboBox::removeItemAt(int index)
{
    const ByteLineEdit::Snapshot kept = m_edit->snapshot();
    removeItem(index);
    m_edit->restore(kept);
}

std::string HistoryComboBox::itemBytes(int index) const
{
    return itemData(index).toByteArray().toStdString();
}

} // namespace quarvel
