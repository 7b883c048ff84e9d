#pragma once

#include <string>

namespace quarvel {

// Outcome of a platform operation: success, or the system's error number.
// message() gives the text a log line carries (the strerror text, or the
// text of one of the project's own codes below).
class Status
{
public:
    // Codes of our own, outside the errno range.
    static constexpr int kNotRegularFile = -1;     // opened entry is a FIFO, device, socket...
    static constexpr int kIsSymbolicLink = -2;     // refusing to replace a symbolic link
    static constexpr int kJournalUnavailable = -3; // the undo journal cannot be written
    static constexpr int kRegexMatchLimit = -4;    // a search hit the expression's match limit
    static constexpr int kRegexDepthLimit = -5;    // ... its depth, memory or stack limit
    static constexpr int kRegexFailed = -6;        // ... failed otherwise
    static constexpr int kRegexTooLong = -7;       // a match is longer than a stream allows

    Status() = default;
    static Status ok() { return {}; }
    static Status error(int code)
    {
        Status s;
        s.m_code = code;
        return s;
    }
    // Error from the current errno.
    static Status fromErrno();

    bool isOk() const { return m_code == 0; }
    explicit operator bool() const { return isOk(); }
    int code() const { return m_code; }
    std::string message() const;

    friend bool operator==(const Status&, const Status&) = default;

private:
    int m_code = 0;
};

} // namespace quarvel
