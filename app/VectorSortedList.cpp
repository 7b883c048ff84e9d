#include "app/VectorSortedList.h"

#include <algorithm>

namespace quarvel {

namespace {

unsigned char foldAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

} // namespace

int compareIgnoringCase(const std::string& a, const std::string& b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int ca = foldAscii(static_cast<unsigned char>(a[i]));
        const int cb = foldAscii(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca - cb;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

void VectorSortedList::addItem(const std::string& text)
{
    const auto place = std::upper_bound(
        m_items.begin(), m_items.end(), text,
        [](const std::string& a, const std::string& b) { return compareIgnoringCase(a, b) < 0; });
    m_items.insert(place, text);
}

void VectorSortedList::removeItem(int index)
{
    if (index >= 0 && index < count())
        m_items.erase(m_items.begin() + index);
}

} // namespace quarvel
