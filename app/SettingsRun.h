#pragma once

#include "app/MorphSettings.h"
#include "app/MruList.h"
#include "app/SortedList.h"
#include "engine/Operation.h"
#include "engine/RunOptions.h"

namespace quarvel {

// The mask and pattern histories a front end keeps beside the settings.
struct RunHistories
{
    MruList& mask;
    SortedList& maskList;
    MruList& pattern;
    SortedList& patternList;
};

// The start of a run from the settings: both folders get their trailing
// separator (the window shows them so afterwards), and the run's options.
RunOptions BeginSettingsRun(MorphSettings& settings);

// What a record of the run changes in the settings: "Yes All" unticks
// "Interactive mode". True when the settings changed (the controls are then
// to show them again).
bool ApplyToSettings(const Operation& operation, MorphSettings& settings);

// After a run: its mask and pattern noted in their histories.
void NoteRunInHistories(const MorphSettings& settings, RunHistories histories);

} // namespace quarvel
