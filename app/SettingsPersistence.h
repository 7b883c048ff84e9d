#pragma once

#include "app/MorphSettings.h"
#include "platform/SettingsStore.h"

namespace quarvel {

// The group the settings are stored in.
inline constexpr char kSettingsSection[] = "App Info";

// Reads / writes the 19 stored fields in the store order. Each read falls back
// to the value the field already holds, which is the first-run default when
// `settings` came from defaultSettings().
void LoadSettings(SettingsStore& store, MorphSettings& settings);
void SaveSettings(SettingsStore& store, const MorphSettings& settings);

} // namespace quarvel
