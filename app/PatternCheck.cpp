#include "app/PatternCheck.h"

#include "app/RunOptionsFromSettings.h"
#include "engine/PatternRegex.h"

namespace quarvel {

std::optional<std::string> expressionError(const MorphSettings& settings)
{
    const RunOptions options = RunOptionsFrom(settings);
    if (!searchesByRegex(options.pattern, options.mode))
        return std::nullopt;
    std::string error;
    if (compilePattern(options.pattern, error))
        return std::nullopt;
    return error;
}

} // namespace quarvel
