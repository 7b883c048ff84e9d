#include "app/RunOptionsFromSettings.h"

namespace quarvel {

RunOptions RunOptionsFrom(const MorphSettings& s)
{
    RunOptions options;
    options.mode = s.SearchMode != 0 ? RunMode::Names : RunMode::Data;
    options.selection = {s.StartDir, s.Mask, s.Recurse != 0};
    options.pattern.text = s.Pattern;
    options.pattern.replacement = s.RepPattern;
    // The literal rules are off under an expression, and the CR/LF rules
    // under case-blind Unicode matching (the window disables their boxes;
    // the command line refuses them).
    const bool literal = s.Regex == 0;
    const bool lineRules = literal && (s.UnicodeCase == 0 || s.PatternCase != 0);
    options.pattern.match = {literal && s.WholeWord != 0, s.PatternCase != 0,
                             lineRules && s.IgnoreCR != 0, lineRules && s.CRasSpace != 0};
    options.pattern.regex = !literal;
    options.pattern.unicodeCase = s.UnicodeCase != 0;
    options.edit = {s.Replace != 0, s.Prepend != 0, s.Append != 0};
    options.nameCase = {s.LowerFile != 0, s.LowerExt != 0, s.UnicodeCase != 0};
    options.outputs.inPlace = s.Rename != 0;
    if (s.Copy != 0)
        options.outputs.copyFolder = s.CopyDir;
    options.interactive = s.Interactive != 0;
    return options;
}

} // namespace quarvel
