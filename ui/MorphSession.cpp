#include "ui/MorphSession.h"

#include "app/SettingsPersistence.h"
#include "ui/MorphDialog.h"
#include "ui/StopSignalWatch.h"

namespace quarvel {

int runMorphSession(SettingsStore& store, FileSystem& fs, int stopWakeFd)
{
    MorphDialog dialog(fs);
    const StopSignalWatch watch(stopWakeFd, [&dialog] { dialog.closeWhenIdle(); });
    LoadSettings(store, dialog.settings());
    dialog.exec();
    dialog.finishSession();
    SaveSettings(store, dialog.settings());
    return 0;
}

} // namespace quarvel
