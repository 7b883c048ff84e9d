#include "cli/StartingSettings.h"

#include "app/MruList.h"
#include "app/VectorSortedList.h"

namespace quarvel::cli {

MorphSettings allOffSettings()
{
    MorphSettings settings;
    settings.Mask = "*.*";
    settings.Copy = 0;
    settings.LowerFile = 0;
    settings.Recurse = 0;
    settings.Rename = 0;
    settings.Replace = 0;
    settings.LowerExt = 0;
    settings.PatternCase = 0;
    settings.Interactive = 0;
    settings.SearchMode = 0;
    settings.Prepend = 0;
    settings.Append = 0;
    settings.IgnoreCR = 0;
    settings.WholeWord = 0;
    settings.CRasSpace = 0;
    settings.Regex = 0;
    settings.UnicodeCase = 0;
    settings.PrependAppendMode = 0;
    return settings;
}

namespace {

// The window shows a stored flag outside 0 to 2 unticked, and so runs with
// it off; the command line takes it the same way.
void clearOutOfRangeFlags(MorphSettings& s)
{
    for (std::int32_t* flag :
         {&s.Copy, &s.LowerFile, &s.Recurse, &s.Rename, &s.Replace, &s.LowerExt, &s.PatternCase,
          &s.Interactive, &s.SearchMode, &s.Prepend, &s.Append, &s.IgnoreCR, &s.WholeWord,
          &s.CRasSpace, &s.Regex, &s.UnicodeCase}) {
        if (*flag < 0 || *flag > 2)
            *flag = 0;
    }
}

} // namespace

MorphSettings storedSettings(SettingsStore& store)
{
    MorphSettings settings = defaultSettings();
    LoadSettings(store, settings);
    clearOutOfRangeFlags(settings);
    // The histories are read as the window reads them, for their newest
    // entries; the command line never keeps or saves them.
    MruList maskHistory, patternHistory;
    VectorSortedList maskList, patternList;
    SplitHistory(settings.Mask, maskHistory, maskList);
    SplitHistory(settings.Pattern, patternHistory, patternList);
    return settings;
}

} // namespace quarvel::cli
