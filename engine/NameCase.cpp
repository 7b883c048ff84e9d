#include "engine/NameCase.h"

#include "engine/UnicodeCase.h"

namespace quarvel {

namespace {

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Length of the sequence a lead byte announces; 1 for ASCII and for bytes
// that cannot start a sequence.
std::size_t sequenceLength(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 1;
}

} // namespace

std::string lowerAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool isInsideSequence(std::string_view text, std::size_t index)
{
    if (index >= text.size() || !isContinuation(static_cast<unsigned char>(text[index])))
        return false;
    // Walk back over at most three continuation bytes to the lead byte and
    // check that its sequence reaches this byte.
    for (std::size_t back = 1; back <= 3 && back <= index; ++back) {
        const auto byte = static_cast<unsigned char>(text[index - back]);
        if (isContinuation(byte))
            continue;
        return sequenceLength(byte) > back;
    }
    return false;
}

std::size_t lastDot(std::string_view name)
{
    for (std::size_t i = name.size(); i-- > 0;) {
        if (name[i] == '.' && !isInsideSequence(name, i))
            return i;
    }
    return std::string_view::npos;
}

std::string lowerText(std::string_view text, bool unicode)
{
    return unicode ? lowerUnicode(text) : lowerAscii(text);
}

std::string lowerNameParts(std::string_view name, bool lowerName, bool lowerExtension, bool unicode)
{
    const std::size_t dot = lastDot(name);
    const std::size_t split = dot == std::string_view::npos ? name.size() : dot;
    const std::string_view namePart = name.substr(0, split);
    const std::string_view extension = name.substr(split);
    std::string out = lowerName ? lowerText(namePart, unicode) : std::string(namePart);
    out += lowerExtension ? lowerText(extension, unicode) : std::string(extension);
    return out;
}

} // namespace quarvel
