#include "report/JsonText.h"

#include <cstdint>

namespace quarvel {

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
