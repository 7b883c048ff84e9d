#pragma once

// A literal, byte-at-a-time rendering of the replace-all rules and of the
// buffer's capacity arithmetic, kept deliberately naive: the differential
// tests, the fuzz target and the benchmarks hold the engine against it.

#include <cstdint>
#include <string>
#include <string_view>

namespace quarvel::reference {

// Content plus the capacity figure that the classic step growth gives.
struct Buffer
{
    std::string content;
    std::int64_t capacity = 0;
    bool storage = false;

    void Append(std::string_view bytes)
    {
        const auto needed = static_cast<std::int64_t>(content.size() + bytes.size());
        if (needed >= capacity || !storage) {
            while (capacity < needed)
                capacity += 10000;
            storage = true;
        }
        content.append(bytes);
    }
};

inline bool IsSpace(unsigned char c)
{
    return c == 0x09 || c == 0x0A || c == 0x0B || c == 0x0C || c == 0x0D || c == 0x20;
}

inline bool Same(unsigned char a, unsigned char b, bool matchCase)
{
    if (!matchCase) {
        if (a >= 'A' && a <= 'Z')
            a = static_cast<unsigned char>(a + 32);
        if (b >= 'A' && b <= 'Z')
            b = static_cast<unsigned char>(b + 32);
    }
    return a == b;
}

struct Flags
{
    bool wholeWord = false;
    bool matchCase = false;
    bool ignoreCrLf = false;
    bool crLfAsSpace = false;
};

// The span of the occurrence at j, or 0.
inline std::int64_t SpanAt(std::string_view d, std::string_view s, std::int64_t j, Flags f)
{
    const auto L = static_cast<std::int64_t>(d.size());
    const auto n = static_cast<std::int64_t>(s.size());
    const auto* D = reinterpret_cast<const unsigned char*>(d.data());
    const auto* S = reinterpret_cast<const unsigned char*>(s.data());
    if (!Same(D[j], S[0], f.matchCase))
        return 0;
    if (f.wholeWord && !(j == 0 || IsSpace(D[j - 1])))
        return 0;
    std::int64_t i = 1;
    std::int64_t k = 1;
    while (i < n) {
        if (j + k == L)
            return 0;
        if (Same(D[j + k], S[i], f.matchCase)) {
            ++i;
            ++k;
        } else if (f.crLfAsSpace && S[i] == 0x20 && D[j + k] == 0x0D && j + k + 1 < L &&
                   D[j + k + 1] == 0x0A) {
            ++i;
            k += 2;
        } else if (f.ignoreCrLf && (D[j + k] == 0x0D || D[j + k] == 0x0A)) {
            ++k;
        } else {
            return 0;
        }
    }
    if (f.wholeWord && j + k < L && !(IsSpace(D[j + k]) || D[j + k] == 0))
        return 0;
    return k;
}

// Runs the rules over content `d`, appending the rewritten content to
// `result`; returns the count. `result` is complete only when the count is
// above 0.
inline std::int64_t ReplaceAllInto(std::string_view d, std::string_view s, std::string_view r,
                                   Flags f, Buffer& result)
{
    const auto L = static_cast<std::int64_t>(d.size());
    const auto n = static_cast<std::int64_t>(s.size());
    if (n == 0 || n > L)
        return 0;
    std::int64_t count = 0;
    std::int64_t c = 0;
    std::int64_t j = 0;
    while (j <= L - n) {
        const std::int64_t k = SpanAt(d, s, j, f);
        if (k == 0) {
            ++j;
            continue;
        }
        result.Append(d.substr(c, j - c));
        result.Append(r);
        ++count;
        j += k;
        c = j;
    }
    if (count > 0)
        result.Append(d.substr(c));
    return count;
}

struct Outcome
{
    std::int64_t count = 0;
    Buffer buffer; // the buffer after the call
};

// Replace-all on `before`; the buffer after it, with its capacity figure.
inline Outcome ReplaceAll(const Buffer& before, std::string_view s, std::string_view r, Flags f)
{
    Outcome out{0, before};
    Buffer result;
    out.count = ReplaceAllInto(before.content, s, r, f, result);
    if (out.count > 0) {
        result.storage = result.capacity > 0; // Assign: no storage for capacity 0
        out.buffer = std::move(result);
    }
    return out;
}

} // namespace quarvel::reference
