#include "report/JsonText.h"

#include <cstdint>

namespace quarvel {

namespace {

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the UTF-8 sequence starting at `at`, or 0 when it is not a
// well-formed one.
std::size_t sequenceLength(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    std::uint32_t low = 0; // the smallest code point this length may carry
    std::uint32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, low = 0x80, code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, low = 0x800, code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, low = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() - at < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[at + i]);
        if (!isContinuation(byte))
            return 0;
        code = (code << 6) | (byte & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < low || code > 0x10FFFF || surrogate ? 0 : length;
}

} // namespace

bool isValidUtf8(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = sequenceLength(text, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

void appendJsonString(std::string& out, std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    out.push_back('"');
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (byte < 0x20) {
            out.append("\\u00");
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 0x0F]);
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
}

void appendJsonBytes(std::string& out, std::string_view bytes)
{
    if (isValidUtf8(bytes)) {
        out.append("{\"text\":");
        appendJsonString(out, bytes);
    } else {
        out.append("{\"bytes\":\"").append(base64(bytes)).append("\"");
    }
    out.push_back('}');
}

std::string base64(std::string_view bytes)
{
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        const std::size_t left = bytes.size() - at;
        std::uint32_t group = static_cast<unsigned char>(bytes[at]) << 16;
        if (left > 1)
            group |= static_cast<unsigned char>(bytes[at + 1]) << 8;
        if (left > 2)
            group |= static_cast<unsigned char>(bytes[at + 2]);
        out.push_back(kDigits[(group >> 18) & 0x3F]);
        out.push_back(kDigits[(group >> 12) & 0x3F]);
        out.push_back(left > 1 ? kDigits[(group >> 6) & 0x3F] : '=');
        out.push_back(left > 2 ? kDigits[group & 0x3F] : '=');
    }
    return out;
}

} // namespace quarvel
