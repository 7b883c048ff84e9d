#pragma once

#include "app/SortedList.h"
#include "ui/HistoryComboBox.h"

namespace quarvel {

// The drop-down list of a history combo box as the history operations see it.
class ComboSortedList : public SortedList
{
public:
    explicit ComboSortedList(HistoryComboBox& combo) : m_combo(combo) {}

    void addItem(const std::string& text) override { m_combo.insertSorted(text); }
    int count() const override { return m_combo.count(); }
    std::string itemText(int index) const override { return m_combo.itemBytes(index); }
    void removeItem(int index) override { m_combo.removeItemAt(index); }

private:
    HistoryComboBox& m_combo;
};

} // namespace quarvel
