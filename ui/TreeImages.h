#pragma once

#include <QIcon>
#include <QSize>

namespace quarvel {

// The folder trees' item images, drawn in code so that they are sharp at
// any scale: a green tick mark for every item and, in the icon's Selected
// mode, a red disc for the selected one.
inline constexpr QSize kTreeImageSize{16, 13};

QIcon folderItemIcon();

} // namespace quarvel
