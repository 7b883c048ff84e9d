#pragma once

#include "platform/Status.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quarvel {

// How an expression is compiled. Without `unicode` it matches bytes, with
// ASCII-only case rules (as perl does without a text encoding); with it the
// subject is UTF-8 (invalid sequences simply never match), `\w`, `\b`,
// `\d` and case-blind matching follow Unicode.
struct RegexFlags
{
    bool caseless = false;
    bool unicode = false;
    bool literalReplacement = false; // the replacement is taken as it is, `$` included
};

// The outcome of one search.
enum class RegexFind
{
    Match,   // span() holds the match
    None,    // no match from the start position on
    Partial, // a match may begin at span().start but needs bytes behind the subject
    Failed,  // a limit was hit: failure() says which
};

struct RegexSpan
{
    std::int64_t start = 0;
    std::int64_t end = 0;
};

// A compiled PCRE2 expression (JIT-compiled where the platform has the JIT)
// with its replacement template, searched under fixed match, depth and heap
// limits so that no expression can hang a run. Copies share the compiled
// code and have match data of their own: give each thread its copy.
class RegexMatcher
{
public:
    // Limits every search runs under.
    static constexpr std::uint32_t kMatchLimit = 10'000'000;
    static constexpr std::uint32_t kDepthLimit = 100'000;
    static constexpr std::uint32_t kHeapLimitKiB = 256 * 1024;

    // Compiles `pattern` and parses `replacement` ($1, ${1}, ${name}, $$);
    // null with `error` set (PCRE2's message and the offset) when either is
    // bad.
    static std::unique_ptr<RegexMatcher> Compile(std::string_view pattern,
                                                 std::string_view replacement, RegexFlags flags,
                                                 std::string& error);

    RegexMatcher(const RegexMatcher& other);
    RegexMatcher& operator=(const RegexMatcher&) = delete;
    ~RegexMatcher();

    // Searches subject[0, length) from `from`. `more`: the subject goes on
    // behind `length`, so a match that reaches the end is reported Partial.
    // `notBol`: the subject's first byte is not the content's first byte.
    // `notEmptyHere`: a match at `from` must not be empty (the search
    // after an empty match).
    RegexFind Find(const char* subject, std::int64_t length, std::int64_t from, bool more,
                   bool notBol, bool notEmptyHere);

    RegexSpan span() const;
    // Why the last search Failed.
    Status failure() const { return m_failure; }

    // Appends the replacement for the last match to `out`.
    void AppendReplacement(const char* subject, std::string& out) const;

    // How many bytes in front of a start position an assertion may read.
    std::int64_t lookBehindBytes() const;
    bool unicode() const { return m_unicode; }

    struct Impl;

private:
    explicit RegexMatcher(std::shared_ptr<const Impl> impl, bool unicode);

    std::shared_ptr<const Impl> m_impl;
    struct MatchState;
    std::unique_ptr<MatchState> m_state;
    bool m_unicode;
    Status m_failure;
};

// True when a content search (not the reading) failed: a limit of the
// expression was hit, or a match grew too long.
bool isSearchFailure(const Status& status);

} // namespace quarvel
