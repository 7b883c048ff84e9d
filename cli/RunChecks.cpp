#include "cli/RunChecks.h"

#include "app/PatternCheck.h"
#include "app/RunOptionsFromSettings.h"
#include "cli/CliRun.h"
#include "engine/PatternRegex.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"

#include <unistd.h>

namespace quarvel::cli {

namespace {

void writeLine(int fd, const std::string& text)
{
    const std::string line = "quarvel-cli: " + text + "\n";
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t written = ::write(fd, line.data() + done, line.size() - done);
        if (written <= 0)
            return;
        done += static_cast<std::size_t>(written);
    }
}

} // namespace

std::optional<std::string> missingOutputFolder(const MorphSettings& settings, FileSystem& fs)
{
    if (settings.Copy == 0)
        return std::nullopt;
    std::string folder = settings.CopyDir;
    ensureTrailingSeparator(folder);
    if (fs.folderExists(folder))
        return std::nullopt;
    return "the output folder '" + folder + "' (--copy-to) does not exist; create it first";
}

std::optional<std::string> nothingWillChange(const MorphSettings& settings)
{
    const std::string prefix = "nothing will change: ";
    if (settings.Rename == 0 && settings.Copy == 0)
        return prefix + "neither --in-place nor --copy-to is given";
    const bool replacing = settings.Replace != 0 && !settings.Pattern.empty();
    if (settings.SearchMode != 0) {
        if (replacing || settings.LowerFile != 0 || settings.LowerExt != 0)
            return std::nullopt;
        return prefix + "file-name mode without --replace (with a --pattern), --lower-file or " +
               "--lower-ext";
    }
    // The content is replaced wherever the pattern occurs; the text is put
    // in front or behind only without --replace.
    const bool adding = settings.Replace == 0 && (settings.Prepend != 0 || settings.Append != 0);
    if (!settings.Pattern.empty() || adding)
        return std::nullopt;
    if (settings.Prepend != 0 || settings.Append != 0)
        return prefix + "file-data mode without --pattern (--prepend and --append add nothing " +
               "with --replace)";
    return prefix + "file-data mode without --pattern, --prepend or --append";
}

std::optional<std::string> patternProblem(const MorphSettings& settings, const MorphSettings& typed)
{
    const RunOptions options = RunOptionsFrom(settings);
    // The literal rules as typed: the run's options leave them out where
    // they do not apply.
    PatternOptions pattern = options.pattern;
    pattern.match = {typed.WholeWord != 0, settings.PatternCase != 0, typed.IgnoreCR != 0,
                     typed.CRasSpace != 0};
    if (auto conflict = patternConflict(pattern, options.mode))
        return conflict;
    if (const auto error = expressionError(settings))
        return "bad regular expression in --pattern or --rep: " + *error;
    return std::nullopt;
}

std::optional<int> checkBeforeRun(const MorphSettings& settings, const MorphSettings& typed,
                                  FileSystem& fs, int errorFd)
{
    if (const auto problem = patternProblem(settings, typed)) {
        writeLine(errorFd, *problem);
        return kExitUsage;
    }
    if (const auto missing = missingOutputFolder(settings, fs)) {
        writeLine(errorFd, *missing);
        return kExitUsage;
    }
    if (const auto reason = nothingWillChange(settings))
        writeLine(errorFd, *reason);
    return std::nullopt;
}

} // namespace quarvel::cli
