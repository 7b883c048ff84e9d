#include "engine/JournalEntry.h"

#include <charconv>
#include <cstdint>
#include <vector>

namespace quarvel {

namespace {

constexpr char kField = '\t';
constexpr const char* kHex = "0123456789ABCDEF";

bool needsEscape(char c)
{
    return c == '%' || c == kField || c == '\n' || c == '\r';
}

void appendEscaped(std::string& out, std::string_view text)
{
    for (std::size_t start = 0; start < text.size();) {
        std::size_t plain = start;
        while (plain < text.size() && !needsEscape(text[plain]))
            ++plain;
        out.append(text.substr(start, plain - start)); // the stretch that needs no escape
        if (plain == text.size())
            return;
        const auto byte = static_cast<unsigned char>(text[plain]);
        const char escaped[3] = {'%', kHex[byte >> 4], kHex[byte & 0xF]};
        out.append(escaped, sizeof escaped);
        start = plain + 1;
    }
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::string> unescaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int high = hexValue(text[i + 1]);
        const int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

void appendState(std::string& out, const FileState& state)
{
    if (!state.exists) {
        out += '-';
        return;
    }
    char digits[7 * 21];
    char* at = digits;
    for (const std::uint64_t value :
         {std::uint64_t{state.mode}, std::uint64_t{state.uid}, std::uint64_t{state.gid}, state.size,
          static_cast<std::uint64_t>(state.mtimeNs), state.device, state.inode}) {
        at = std::to_chars(at, digits + sizeof digits, value).ptr;
        *at++ = ':';
    }
    out.append(digits, static_cast<std::size_t>(at - digits - 1));
}

std::optional<FileState> parsedState(std::string_view text)
{
    FileState state;
    if (text == "-")
        return state;
    std::uint64_t values[7];
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (int i = 0; i < 7; ++i) {
        const auto [next, error] = std::from_chars(at, end, values[i]);
        if (error != std::errc{} || (i < 6 && (next == end || *next != ':')))
            return std::nullopt;
        at = i < 6 ? next + 1 : next;
    }
    if (at != end)
        return std::nullopt;
    state.exists = true;
    state.mode = static_cast<std::uint32_t>(values[0]);
    state.uid = static_cast<std::uint32_t>(values[1]);
    state.gid = static_cast<std::uint32_t>(values[2]);
    state.size = values[3];
    state.mtimeNs = static_cast<std::int64_t>(values[4]);
    state.device = values[5];
    state.inode = values[6];
    return state;
}

constexpr std::string_view kKindNames[] = {"rename", "created", "replaced", "folder"};

} // namespace

std::string EncodeJournalEntry(const JournalEntry& entry)
{
    std::string line;
    EncodeJournalEntry(entry, line);
    return line;
}

void EncodeJournalEntry(const JournalEntry& entry, std::string& line)
{
    line.clear();
    line.reserve(entry.path.size() + entry.original.size() + entry.kept.size() + 2 * 7 * 21);
    line.append(kKindNames[static_cast<int>(entry.kind)]);
    for (const std::string* text : {&entry.path, &entry.original, &entry.kept}) {
        line += kField;
        appendEscaped(line, *text);
    }
    line += kField;
    appendState(line, entry.before);
    line += kField;
    appendState(line, entry.after);
}

std::optional<JournalEntry> DecodeJournalEntry(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t end = line.find(kField, start);
        fields.push_back(line.substr(start, end - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    if (fields.size() != 6)
        return std::nullopt;
    JournalEntry entry;
    bool known = false;
    for (int kind = 0; kind < 4; ++kind) {
        if (fields[0] == kKindNames[kind]) {
            entry.kind = static_cast<JournalEntry::Kind>(kind);
            known = true;
        }
    }
    auto path = unescaped(fields[1]);
    auto original = unescaped(fields[2]);
    auto kept = unescaped(fields[3]);
    auto before = parsedState(fields[4]);
    auto after = parsedState(fields[5]);
    if (!known || !path || !original || !kept || !before || !after)
        return std::nullopt;
    entry.path = std::move(*path);
    entry.original = std::move(*original);
    entry.kept = std::move(*kept);
    entry.before = *before;
    entry.after = *after;
    return entry;
}

} // namespace quarvel
