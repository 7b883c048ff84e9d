#include "cli/ProgressLine.h"

#include "platform/WriteAll.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace quarvel::cli {

namespace {

constexpr char kEraseLine[] = "\r\x1b[K";

std::size_t terminalWidth(int fd)
{
    struct winsize size = {};
    if (::ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::string progressText(long filesProcessed, const std::string& folderPath, std::size_t width)
{
    std::string folder = folderPath;
    for (char& c : folder) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    }
    std::string text = std::to_string(filesProcessed) + " files  ";
    // One column stays free, so the cursor never wraps to a new line.
    const std::size_t room = width > text.size() + 1 ? width - text.size() - 1 : 0;
    if (folder.size() <= room)
        return text + folder;
    if (room <= 3)
        return text.substr(0, width > 0 ? width - 1 : 0);
    std::size_t start = folder.size() - (room - 3);
    while (start < folder.size() && isContinuationByte(folder[start]))
        ++start;
    return text + "..." + folder.substr(start);
}

void ProgressLine::update(long filesProcessed)
{
    if (!m_enabled)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastDraw < kRedrawInterval)
        return;
    m_lastDraw = now;
    draw(filesProcessed);
}

void ProgressLine::clear()
{
    if (!m_enabled || !m_shown)
        return;
    writeAll(m_fd, kEraseLine);
    m_shown = false;
}

void ProgressLine::draw(long filesProcessed)
{
    writeAll(m_fd, kEraseLine + progressText(filesProcessed, m_folder, terminalWidth(m_fd)));
    m_shown = true;
}

} // namespace quarvel::cli
