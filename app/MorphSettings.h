#pragma once

#include <cstdint>
#include <string>

namespace quarvel {

// Every option of a morph run; the field names are the settings keys. Flags
// are 0 (off) or 1 (on). Mask and Pattern hold the joined history text from
// loading until the main dialog starts and again from closing until saving,
// and the working value (what the combo box shows) in between.
struct MorphSettings
{
    std::string CopyDir;
    std::string Mask = "*.*";
    std::string Pattern;
    std::string RepPattern;
    std::string StartDir;
    std::int32_t Copy = 0;
    std::int32_t LowerFile = 1;
    std::int32_t Recurse = 1;
    std::int32_t Rename = 0;
    std::int32_t Replace = 0;
    std::int32_t LowerExt = 1;
    std::int32_t PatternCase = 0;
    std::int32_t Interactive = 0;
    std::int32_t SearchMode = 1; // 1 = file-name mode, 0 = file-data mode
    std::int32_t Prepend = 0;
    std::int32_t Append = 0;
    std::int32_t IgnoreCR = 0;
    std::int32_t WholeWord = 0;
    std::int32_t CRasSpace = 0;
    std::int32_t Regex = 0;             // the pattern is a regular expression
    std::int32_t UnicodeCase = 0;       // letter case follows Unicode for UTF-8 text
    std::int32_t PrependAppendMode = 0; // not stored: 0 = multi-line, 1 = prepend/append
};

// First-run defaults: both folders are the home folder followed by "/".
MorphSettings defaultSettings();

} // namespace quarvel
