#pragma once

#include "app/MorphSettings.h"
#include "app/SettingsPersistence.h"

namespace quarvel::cli {

// Every flag off, no texts, mask "*.*": what a run starts from without
// --saved.
MorphSettings allOffSettings();

// The settings the window stored, with the newest history entries as Mask
// and Pattern. Only reads the store.
MorphSettings storedSettings(SettingsStore& store);

} // namespace quarvel::cli
