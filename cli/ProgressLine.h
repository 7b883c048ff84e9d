#pragma once

#include <chrono>
#include <string>

namespace quarvel::cli {

// The self-overwriting status line on a terminal: files processed so far
// and the folder under way. Redrawn at most every kRedrawInterval, so a
// fast run spends no time on it. Does nothing when disabled (standard error
// is not a terminal).
class ProgressLine
{
public:
    static constexpr std::chrono::milliseconds kRedrawInterval{100};

    ProgressLine(int fd, bool enabled)
        : m_fd(fd), m_enabled(enabled), m_lastDraw(std::chrono::steady_clock::now())
    {
    }

    void setFolder(std::string folder) { m_folder = std::move(folder); }
    // Redraws the line when the last drawing is old enough.
    void update(long filesProcessed);
    // Removes the line from the screen (before other output); the next
    // update draws it again.
    void clear();

private:
    void draw(long filesProcessed);

    const int m_fd;
    const bool m_enabled;
    bool m_shown = false;
    std::string m_folder;
    std::chrono::steady_clock::time_point m_lastDraw; // a run shorter than one interval shows none
};

// The line's text, cut to fit `width` columns: the count first, then as
// much of the folder's end as fits (a cut start is shown as "...").
// Counts bytes, never cuts inside a UTF-8 sequence, and shows control
// bytes (a newline in a name) as "?" so the line stays one line.
std::string progressText(long filesProcessed, const std::string& folder, std::size_t width);

} // namespace quarvel::cli
