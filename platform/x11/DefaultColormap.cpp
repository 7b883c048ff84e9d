#include "platform/x11/DefaultColormap.h"

#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace quarvel {

namespace {

struct FreeReply
{
    void operator()(void* reply) const { std::free(reply); }
};

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

const xcb_screen_t* screenWithRoot(xcb_connection_t* connection, xcb_window_t root)
{
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(connection)); it.rem != 0;
         xcb_screen_next(&it)) {
        if (it.data->root == root)
            return it.data;
    }
    return nullptr;
}

} // namespace

bool UseDefaultColormap(xcb_connection_t* connection, std::uint32_t window)
{
    if (connection == nullptr || window == XCB_WINDOW_NONE)
        return false;
    const auto attributesCookie = xcb_get_window_attributes(connection, window);
    const auto geometryCookie = xcb_get_geometry(connection, window);
    ReplyPtr<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(connection, attributesCookie, nullptr));
    ReplyPtr<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, geometryCookie, nullptr));
    if (!attributes || !geometry)
        return false;
    const xcb_screen_t* screen = screenWithRoot(connection, geometry->root);
    if (screen == nullptr || attributes->visual != screen->root_visual ||
        attributes->colormap == screen->default_colormap)
        return false;
    const std::uint32_t colormap = screen->default_colormap;
    const auto cookie =
        xcb_change_window_attributes_checked(connection, window, XCB_CW_COLORMAP, &colormap);
    ReplyPtr<xcb_generic_error_t> error(xcb_request_check(connection, cookie));
    return !error;
}

} // namespace quarvel
