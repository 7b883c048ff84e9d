#pragma once

namespace quarvel {

class FileSystem;
class SettingsStore;

// The program's session: builds the main dialog, loads the stored settings
// into it, shows it modally until it closes, and saves the settings back,
// in the store order, however the dialog was closed. A stop signal woken on
// `stopWakeFd` (stopSignalWakeFd(), or -1 for none) closes the dialog as
// "Close" would, so the settings are saved then too. Returns 0.
int runMorphSession(SettingsStore& store, FileSystem& fs, int stopWakeFd = -1);

} // namespace quarvel
