#include "engine/StorageGrowth.h"

#include <cstdlib>
#include <functional>

namespace quarvel {

bool growStorage(char*& data, std::int64_t& size, std::int64_t used, std::int64_t total)
{
    if (total <= size)
        return true;
    void* grown = nullptr;
    if (used == 0) {
        grown = std::malloc(static_cast<std::size_t>(total));
        if (grown == nullptr)
            return false;
        std::free(data);
    } else {
        grown = std::realloc(data, static_cast<std::size_t>(total));
        if (grown == nullptr)
            return false;
    }
    data = static_cast<char*>(grown);
    size = total;
    return true;
}

bool overlapsStorage(const char* bytes, std::int64_t n, const char* begin, std::int64_t size)
{
    const std::less<const char*> before;
    return n > 0 && size > 0 && begin != nullptr && before(bytes, begin + size) &&
           before(begin, bytes + n);
}

} // namespace quarvel
