#include "app/MorphSettings.h"

#include "platform/Path.h"

namespace quarvel {

MorphSettings defaultSettings()
{
    MorphSettings settings;
    std::string home = homeFolder();
    ensureTrailingSeparator(home);
    settings.StartDir = home;
    settings.CopyDir = home;
    return settings;
}

} // namespace quarvel
