#pragma once

#include "platform/FaultHook.h"

#include <cstdint>
#include <string>

namespace quarvel {

// Appends the bytes [offset, offset + length) of the file open as `from` to
// `to` at its current position; a negative length copies to the end of
// `from`. The kernel copies where it can (copy_file_range), else the bytes
// go through a buffer. `from`'s own position is not used. A source that ends
// before the range does gives EIO. `target`, the path the copy is meant for,
// is shown to the fault hook (FaultPoint::Write) before every call that
// writes.
Status copyRange(int from, std::int64_t offset, std::int64_t length, int to, const FaultHook& hook,
                 const std::string& target);

} // namespace quarvel
