#pragma once

#include "platform/FaultHook.h"

#include <span>
#include <string>
#include <string_view>

namespace quarvel {

// Writes all of `content` to `fd`, going on after short writes and EINTR.
// `target` is the path the content is meant for, shown to the fault hook
// (FaultPoint::Write) before every write call.
Status writeAll(int fd, std::string_view content, const FaultHook& hook, const std::string& target);

// The same for pieces written one after the other: up to IOV_MAX of them go
// in one gathered write call.
Status writeAll(int fd, std::span<const std::string_view> pieces, const FaultHook& hook,
                const std::string& target);

// The same without a fault hook: for terminal and pipe output.
Status writeAll(int fd, std::string_view content);

} // namespace quarvel
