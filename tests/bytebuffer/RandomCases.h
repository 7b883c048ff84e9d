#pragma once

// Random contents and search texts for the differential tests of
// replace-all, rich in the bytes that its rules treat specially.

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace quarvel::test {

// Small alphabets, rich in the bytes that the rules treat specially.
inline constexpr std::string_view kAlphabets[] = {
    std::string_view("aAb \r\n", 6),
    std::string_view("ab\t\0\r\n ", 7),
    std::string_view("xX\xC9\xE9\r\n \0", 8),
    std::string_view("catCAT \r\n\t\0,\v", 13),
};

class Generator
{
public:
    explicit Generator(std::uint64_t seed) : m_random(seed) {}

    std::uint64_t Below(std::uint64_t bound) { return m_random() % bound; }

    std::string Text(std::string_view alphabet, std::uint64_t length)
    {
        std::string text(length, '\0');
        for (char& byte : text)
            byte = alphabet[Below(alphabet.size())];
        return text;
    }

    // Often a piece of the content, sometimes with a space or a line break
    // put in, so that the CR/LF rules get exercised; otherwise random.
    std::string Pattern(std::string_view alphabet, const std::string& content)
    {
        const std::uint64_t length = Below(4) == 0 ? 1 + Below(24) : 1 + Below(6);
        if (content.size() <= length || Below(3) == 0)
            return Text(alphabet, length);
        std::string pattern = content.substr(Below(content.size() - length), length);
        if (Below(3) == 0)
            pattern.insert(Below(pattern.size()), 1, " \r\n"[Below(3)]);
        return pattern;
    }

    // The search text as the CR/LF rules may still find it: spaces often
    // written as CR LF, and runs of CR and LF put in behind its bytes.
    std::string Variant(std::string_view search)
    {
        std::string variant;
        for (std::size_t i = 0; i < search.size(); ++i) {
            variant +=
                search[i] == ' ' && Below(2) == 0 ? std::string("\r\n") : std::string(1, search[i]);
            if (i + 1 < search.size() && Below(3) == 0)
                variant += Text("\r\n", 1 + Below(5));
        }
        return variant;
    }

private:
    std::mt19937_64 m_random;
};

// Bytes shown readably in a failure message.
inline std::string Escaped(std::string_view bytes)
{
    std::string out;
    for (unsigned char byte : bytes) {
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            out += static_cast<char>(byte);
        } else {
            static const char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        }
    }
    return out;
}

} // namespace quarvel::test
