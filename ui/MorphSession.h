#pragma once

namespace quarvel {

class FileSystem;
class SettingsStore;

// The program's session: builds the main dialog, loads the stored settings
// into it, shows it modally until it closes, and saves the settings back,
// in the store order, however the dialog was closed. Returns the process's
// exit code.
int runMorphSession(SettingsStore& store, FileSystem& fs);

} // namespace quarvel
