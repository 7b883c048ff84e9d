#pragma once

#include "app/MorphSettings.h"
#include "app/MruList.h"
#include "app/SettingsStore.h"
#include "app/VectorSortedList.h"

namespace quarvel::cli {

// The mask and pattern histories a run notes its values in. The command
// line never saves them; they exist because the engine expects them.
struct Histories
{
    MruList mask;
    MruList pattern;
    VectorSortedList maskList;
    VectorSortedList patternList;
};

// Every flag off, no texts, mask "*.*": what a run starts from without
// --saved.
MorphSettings allOffSettings();

// The settings the window stored, with the newest history entries as Mask
// and Pattern (the histories are filled from the stored forms). Only reads
// the store.
MorphSettings storedSettings(SettingsStore& store, Histories& histories);

} // namespace quarvel::cli
