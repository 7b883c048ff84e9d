#pragma once

#include "engine/RegexMatcher.h"
#include "engine/StreamReplace.h"

#include <cstdint>
#include <string>

namespace quarvel {

// Replaces every match of a regular expression over a stream, read in
// chunks into a window. At the window's end the search is partial (PCRE2's
// hard partial matching): a match that may go on behind the window keeps its
// start in the window while more is read, up to `maxMatch` bytes; a longer
// one fails the stream with Status::kRegexTooLong. A search that hits a limit
// fails it too; the output has then never been committed by the caller.
// Results are those of the expression over the whole content at once.
// Reusable from one stream to the next (its storage stays).
class RegexStreamReplacer
{
public:
    static constexpr std::int64_t kMaxMatch = std::int64_t{64} << 20;

    explicit RegexStreamReplacer(std::int64_t chunk = kDefaultStreamChunk,
                                 std::int64_t maxMatch = kMaxMatch);

    // `rules` gives the text put in front or behind; `search` and `options`
    // are the matcher's business.
    StreamOutcome Run(StreamSource& source, RegexMatcher& matcher, const StreamRules& rules,
                      StreamOutput& output);

private:
    friend class RegexStream;

    std::int64_t m_chunk;
    std::int64_t m_maxMatch;
    std::string m_window;  // sized as far as it ever grew
    std::string m_pending; // result bytes not yet written
};

} // namespace quarvel
