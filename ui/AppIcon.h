#pragma once

#include <QIcon>

namespace quarvel {

// The application icon, the same pictures the desktop entry installs
// (16 to 256 pixels), built into the program.
QIcon applicationIcon();

// The desktop entry's id, so desktops match the window to its menu entry.
inline constexpr char kDesktopFileName[] = "example.brantwick.Quarvel";

} // namespace quarvel
