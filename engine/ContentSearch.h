#pragma once

#include "engine/RegexMatcher.h"
#include "engine/RegexStreamReplace.h"
#include "engine/StreamReplace.h"

#include <memory>

namespace quarvel {

// What searches one file's content at a time on one thread: the literal
// replacer, or, for a run searching by expression, its own copy of the
// run's compiled expression with the streamed expression replacer. Each
// keeps its storage from file to file.
class ContentSearch
{
public:
    // `byRegex`: contents are searched with `regex` (null when it could not
    // be compiled: every file then fails).
    ContentSearch(bool byRegex, const RegexMatcher* regex)
        : m_byRegex(byRegex),
          m_regex(regex != nullptr ? std::make_unique<RegexMatcher>(*regex) : nullptr)
    {
    }

    StreamOutcome Run(StreamSource& source, const StreamRules& rules, StreamOutput& output)
    {
        if (!m_byRegex)
            return m_literal.Run(source, rules, output);
        if (!m_regex)
            return {0, Status::error(Status::kRegexFailed), false};
        return m_regexReplacer.Run(source, *m_regex, rules, output);
    }

private:
    bool m_byRegex;
    std::unique_ptr<RegexMatcher> m_regex;
    StreamReplacer m_literal;
    RegexStreamReplacer m_regexReplacer;
};

} // namespace quarvel
