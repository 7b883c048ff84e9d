#pragma once

#include <cstdint>

namespace quarvel {

// Makes `data` (malloc'd, `size` bytes, the first `used` of them content)
// hold at least `total` bytes. Content is kept; with none to keep, fresh
// storage saves copying the old bytes. False on allocation failure, with
// data and size unchanged.
bool growStorage(char*& data, std::int64_t& size, std::int64_t used, std::int64_t total);

} // namespace quarvel
