#include "engine/UnicodeCase.h"

#include <memory>
#include <unicode/ucasemap.h>
#include <unicode/utf8.h>

namespace quarvel {

namespace {

// The offset behind the valid UTF-8 starting at `from`.
std::size_t validEnd(std::string_view text, std::size_t from)
{
    const auto length = static_cast<std::int32_t>(text.size());
    auto at = static_cast<std::int32_t>(from);
    while (at < length) {
        const std::int32_t start = at;
        UChar32 c = 0;
        U8_NEXT(text.data(), at, length, c);
        if (c < 0)
            return static_cast<std::size_t>(start);
    }
    return text.size();
}

struct CaseMapClose
{
    void operator()(UCaseMap* map) const { ucasemap_close(map); }
};

// Appends `valid` lower-cased; on an ICU failure the text is kept as it is.
void appendLowered(std::string_view valid, std::string& out)
{
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UCaseMap, CaseMapClose> map(ucasemap_open("root", 0, &status));
    if (U_FAILURE(status)) {
        out += valid;
        return;
    }
    const std::size_t at = out.size();
    // Lower-casing grows UTF-8 by at most half again (two bytes to three).
    out.resize(at + valid.size() * 3 / 2 + 4);
    std::int32_t written =
        ucasemap_utf8ToLower(map.get(), out.data() + at, static_cast<std::int32_t>(out.size() - at),
                             valid.data(), static_cast<std::int32_t>(valid.size()), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        status = U_ZERO_ERROR;
        out.resize(at + static_cast<std::size_t>(written));
        written = ucasemap_utf8ToLower(map.get(), out.data() + at, written, valid.data(),
                                       static_cast<std::int32_t>(valid.size()), &status);
    }
    if (U_FAILURE(status)) {
        out.resize(at);
        out += valid;
        return;
    }
    out.resize(at + static_cast<std::size_t>(written));
}

} // namespace

bool isValidUtf8(std::string_view text)
{
    return validEnd(text, 0) == text.size();
}

std::string lowerUnicode(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = validEnd(text, at);
        if (end > at)
            appendLowered(text.substr(at, end - at), out);
        if (end < text.size())
            out += text[end]; // a byte that begins no valid sequence
        at = end + 1;
    }
    return out;
}

} // namespace quarvel
