#include "app/SettingsPersistence.h"

namespace quarvel {

namespace {

// The store order, shared by loading and saving: five strings, then the
// fourteen flags.
template <class Settings, class StringFn, class IntFn>
void forEachStored(Settings& s, StringFn&& onString, IntFn&& onInt)
{
    onString("Mask", s.Mask);
    onString("Pattern", s.Pattern);
    onString("RepPattern", s.RepPattern);
    onString("CopyDir", s.CopyDir);
    onString("StartDir", s.StartDir);
    onInt("Replace", s.Replace);
    onInt("Copy", s.Copy);
    onInt("LowerFile", s.LowerFile);
    onInt("LowerExt", s.LowerExt);
    onInt("Recurse", s.Recurse);
    onInt("Rename", s.Rename);
    onInt("PatternCase", s.PatternCase);
    onInt("SearchMode", s.SearchMode);
    onInt("Interactive", s.Interactive);
    onInt("IgnoreCR", s.IgnoreCR);
    onInt("Append", s.Append);
    onInt("Prepend", s.Prepend);
    onInt("WholeWord", s.WholeWord);
    onInt("CRasSpace", s.CRasSpace);
    // Added later: a file written before them lacks them and loads them off.
    onInt("Regex", s.Regex);
    onInt("UnicodeCase", s.UnicodeCase);
}

} // namespace

void LoadSettings(SettingsStore& store, MorphSettings& settings)
{
    MorphSettings loaded = settings;
    forEachStored(
        loaded,
        [&](const char* key, std::string& field) {
            // The field's current value is its default (the dialog was
            // constructed with the first-run defaults).
            field = store.readString(kSettingsSection, key, field);
        },
        [&](const char* key, std::int32_t& field) {
            field = store.readInt(kSettingsSection, key, field);
        });
    settings = loaded;
}

void SaveSettings(SettingsStore& store, const MorphSettings& settings)
{
    forEachStored(
        settings,
        [&](const char* key, const std::string& field) {
            store.writeString(kSettingsSection, key, field);
        },
        [&](const char* key, std::int32_t field) { store.writeInt(kSettingsSection, key, field); });
}

} // namespace quarvel
