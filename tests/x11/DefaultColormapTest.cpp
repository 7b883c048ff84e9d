#include "platform/x11/DefaultColormap.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

extern char** environ;

namespace quarvel {
namespace {

// A private X server for the test: Xvfb writes the display number it took
// to the pipe given by -displayfd.
class PrivateXServer
{
public:
    PrivateXServer()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        const std::string fd = std::to_string(fds[1]);
        const char* argv[] = {"Xvfb",       "-displayfd", fd.c_str(), "-screen", "0",
                              "320x240x24", "-nolisten",  "tcp",      nullptr};
        if (posix_spawnp(&m_pid, "Xvfb", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
            m_pid = -1;
        close(fds[1]);
        char number[16] = {};
        const ssize_t got = m_pid > 0 ? read(fds[0], number, sizeof number - 1) : 0;
        close(fds[0]);
        if (got > 0)
            m_display = ":" + std::to_string(std::atoi(number));
    }
    ~PrivateXServer()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    const std::string& display() const { return m_display; }

private:
    pid_t m_pid = -1;
    std::string m_display;
};

xcb_colormap_t colormapOf(xcb_connection_t* c, xcb_window_t window)
{
    auto* reply = xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr);
    const xcb_colormap_t colormap = reply != nullptr ? reply->colormap : XCB_NONE;
    std::free(reply);
    return colormap;
}

TEST(DefaultColormapTest, MovesAPrivateColormapOnTheDefaultVisualToTheDefaultOne)
{
    PrivateXServer server;
    if (server.display().empty())
        GTEST_SKIP() << "Xvfb is not available";
    xcb_connection_t* c = xcb_connect(server.display().c_str(), nullptr);
    ASSERT_EQ(xcb_connection_has_error(c), 0);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;

    // A window made the way Qt's xcb plugin makes it: default visual,
    // colormap of its own.
    const xcb_colormap_t own = xcb_generate_id(c);
    xcb_create_colormap(c, XCB_COLORMAP_ALLOC_NONE, own, screen->root, screen->root_visual);
    const xcb_window_t window = xcb_generate_id(c);
    const std::uint32_t values[] = {own};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 50, 50, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_COLORMAP, values);
    ASSERT_EQ(colormapOf(c, window), own);

    EXPECT_TRUE(UseDefaultColormap(c, window));
    EXPECT_EQ(colormapOf(c, window), screen->default_colormap);
    // Already on the default colormap, and no window at all: nothing to do.
    EXPECT_FALSE(UseDefaultColormap(c, window));
    EXPECT_FALSE(UseDefaultColormap(c, XCB_WINDOW_NONE));
    xcb_disconnect(c);
}

} // namespace
} // namespace quarvel
