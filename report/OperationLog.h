#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// Told of every line as it is added (the command line streams them).
class LogListener
{
public:
    virtual ~LogListener() = default;
    virtual void lineAdded(std::string_view line) = 0;
};

// The in-memory log of the last run: lines in the order they were added.
// Lines live in one contiguous block, so a run over a million files costs
// one allocation per doubling rather than one per line.
class OperationLog
{
public:
    void clear();
    void append(std::string_view line);
    // A failure line: appended like any other, and counted for the summary.
    void appendFailure(std::string_view line);

    std::size_t size() const { return m_ends.size(); }
    bool empty() const { return m_ends.empty(); }
    std::string_view line(std::size_t index) const;
    int failureCount() const { return m_failures; }

    void setListener(LogListener* listener) { m_listener = listener; }
    // With `keep` false lines only go to the listener (and failures are
    // counted): a log streamed elsewhere holds nothing of a long run.
    void setKeepsLines(bool keep) { m_keepsLines = keep; }

private:
    bool m_keepsLines = true;
    std::string m_text;
    std::vector<std::size_t> m_ends; // end offset of each line in m_text
    int m_failures = 0;
    LogListener* m_listener = nullptr;
};

} // namespace quarvel
