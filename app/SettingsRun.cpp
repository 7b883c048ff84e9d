#include "app/SettingsRun.h"

#include "app/RunOptionsFromSettings.h"
#include "platform/Path.h"

namespace quarvel {

RunOptions BeginSettingsRun(MorphSettings& settings)
{
    ensureTrailingSeparator(settings.StartDir);
    ensureTrailingSeparator(settings.CopyDir);
    return RunOptionsFrom(settings);
}

bool ApplyToSettings(const Operation& operation, MorphSettings& settings)
{
    if (operation.kind != OperationKind::ConfirmAll || settings.Interactive == 0)
        return false;
    settings.Interactive = 0;
    return true;
}

void NoteRunInHistories(const MorphSettings& settings, RunHistories histories)
{
    NoteHistory(histories.mask, histories.maskList, settings.Mask);
    NoteHistory(histories.pattern, histories.patternList, settings.Pattern);
}

} // namespace quarvel
