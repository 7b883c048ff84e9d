#include "engine/StorageGrowth.h"

#include <cstdlib>

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

} // namespace quarvel
