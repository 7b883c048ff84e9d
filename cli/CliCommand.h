#pragma once

#include "app/MorphSettings.h"

#include <functional>
#include <string>
#include <vector>

namespace quarvel::cli {

// What the command line asked for, before anything is done.
struct CliCommand
{
    enum class Action
    {
        Run,
        Help,
        Version,
        Undo, // reverse the last run
        UsageError,
    };

    Action action = Action::Run;
    std::string error;    // the usage error's message
    std::string startDir; // START_DIR as given
    bool saved = false;   // start from the settings store
    bool dryRun = false;
    bool json = false;      // the records as JSON Lines instead of the log text
    bool journal = true;    // write the undo journal (--no-journal turns it off)
    bool modeGiven = false; // --names or --data was given
    int jobs = 0;           // --jobs N; 0: as many as there are processors online
    // The options' changes to the settings, in command-line order.
    std::vector<std::function<void(MorphSettings&)>> changes;

    void applyTo(MorphSettings& settings) const
    {
        for (const auto& change : changes)
            change(settings);
    }
};

// Reads the arguments (argv without the program name). Option texts are
// taken byte for byte; an option's value is the next argument whatever it
// looks like, or the part after "=" in --option=value. "--" ends the
// options. --help and --version end the reading at once.
CliCommand parseCommandLine(const std::vector<std::string>& arguments);

} // namespace quarvel::cli
