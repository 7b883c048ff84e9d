#pragma once

#include <cstdint>

struct xcb_connection_t;

namespace quarvel {

// Gives an X11 window the screen's default colormap when it is drawn with
// the screen's default visual and has a colormap of its own. Qt's xcb
// plugin creates a private colormap even for the default TrueColor visual;
// the pixels are the same either way, but tools that read the screen per
// colormap (xwd's multi-visual capture, for one) then show a window that
// lies wholly inside another as a black rectangle. With the default
// colormap the window is like any other client's. Returns whether the
// colormap was changed; windows on other visuals are left alone.
bool UseDefaultColormap(xcb_connection_t* connection, std::uint32_t window);

} // namespace quarvel
