#pragma once

#include <cstdint>

namespace quarvel {

// Makes `data` (malloc'd, `size` bytes, the first `used` of them content)
// hold at least `total` bytes. Content is kept; with none to keep, fresh
// storage saves copying the old bytes. False on allocation failure, with
// data and size unchanged.
bool growStorage(char*& data, std::int64_t& size, std::int64_t used, std::int64_t total);

// True when the n bytes at `bytes` share any byte with the `size` bytes of
// storage at `begin` (none: n or size is 0, or begin is null). Compared with
// std::less, which orders any two pointers.
bool overlapsStorage(const char* bytes, std::int64_t n, const char* begin, std::int64_t size);

} // namespace quarvel
