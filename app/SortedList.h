#pragma once

#include <string>

namespace quarvel {

// The drop-down list of a history combo box: it keeps its items sorted
// alphabetically ignoring case, so its order is not the history's order.
// The window's combo box adapts to this; VectorSortedList serves the tests
// and the command line.
class SortedList
{
public:
    virtual ~SortedList() = default;
    virtual void addItem(const std::string& text) = 0; // inserted at its sorted place
    virtual int count() const = 0;
    virtual std::string itemText(int index) const = 0;
    virtual void removeItem(int index) = 0;
};

} // namespace quarvel
