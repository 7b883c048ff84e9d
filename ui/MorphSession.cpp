#include "ui/MorphSession.h"

#include "app/SettingsStore.h"
#include "ui/MorphDialog.h"

namespace quarvel {

int runMorphSession(SettingsStore& store, FileSystem& fs)
{
    MorphDialog dialog(fs);
    LoadSettings(store, dialog.settings());
    dialog.exec();
    dialog.finishSession();
    SaveSettings(store, dialog.settings());
    return 0;
}

} // namespace quarvel
