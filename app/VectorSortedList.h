#pragma once

#include "app/SortedList.h"

#include <string>
#include <vector>

namespace quarvel {

// A SortedList kept in memory, sorted like the combo box: alphabetically,
// ignoring ASCII case; an item equal (ignoring case) to existing ones goes
// after them.
class VectorSortedList : public SortedList
{
public:
    void addItem(const std::string& text) override;
    int count() const override { return static_cast<int>(m_items.size()); }
    std::string itemText(int index) const override { return m_items.at(index); }
    void removeItem(int index) override;

    const std::vector<std::string>& items() const { return m_items; }

private:
    std::vector<std::string> m_items;
};

// Compares two texts alphabetically ignoring ASCII case: <0, 0 or >0.
int compareIgnoringCase(const std::string& a, const std::string& b);

} // namespace quarvel
