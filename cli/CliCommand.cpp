#include "cli/CliCommand.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quarvel::cli {

namespace {

using Change = void (*)(MorphSettings&, const std::string&);

struct OptionInfo
{
    std::string_view name;
    bool takesValue;
    Change change;
};

// The options that set one settings field each.
constexpr std::array kSettingOptions{
    OptionInfo{"--names", false, [](MorphSettings& s, const std::string&) { s.SearchMode = 1; }},
    OptionInfo{"--data", false, [](MorphSettings& s, const std::string&) { s.SearchMode = 0; }},
    OptionInfo{"--mask", true, [](MorphSettings& s, const std::string& v) { s.Mask = v; }},
    OptionInfo{"--pattern", true, [](MorphSettings& s, const std::string& v) { s.Pattern = v; }},
    OptionInfo{"--rep", true, [](MorphSettings& s, const std::string& v) { s.RepPattern = v; }},
    OptionInfo{"--replace", false, [](MorphSettings& s, const std::string&) { s.Replace = 1; }},
    OptionInfo{"--prepend", false, [](MorphSettings& s, const std::string&) { s.Prepend = 1; }},
    OptionInfo{"--append", false, [](MorphSettings& s, const std::string&) { s.Append = 1; }},
    OptionInfo{"--match-case", false,
               [](MorphSettings& s, const std::string&) { s.PatternCase = 1; }},
    OptionInfo{"--whole-word", false,
               [](MorphSettings& s, const std::string&) { s.WholeWord = 1; }},
    OptionInfo{"--ignore-crlf", false,
               [](MorphSettings& s, const std::string&) { s.IgnoreCR = 1; }},
    OptionInfo{"--crlf-as-space", false,
               [](MorphSettings& s, const std::string&) { s.CRasSpace = 1; }},
    OptionInfo{"--regex", false, [](MorphSettings& s, const std::string&) { s.Regex = 1; }},
    OptionInfo{"--unicode-case", false,
               [](MorphSettings& s, const std::string&) { s.UnicodeCase = 1; }},
    OptionInfo{"--lower-file", false,
               [](MorphSettings& s, const std::string&) { s.LowerFile = 1; }},
    OptionInfo{"--lower-ext", false, [](MorphSettings& s, const std::string&) { s.LowerExt = 1; }},
    OptionInfo{"--recurse", false, [](MorphSettings& s, const std::string&) { s.Recurse = 1; }},
    OptionInfo{"--in-place", false, [](MorphSettings& s, const std::string&) { s.Rename = 1; }},
    OptionInfo{"--copy-to", true,
               [](MorphSettings& s, const std::string& v) {
                   s.Copy = 1;
                   s.CopyDir = v;
               }},
    OptionInfo{"--interactive", false,
               [](MorphSettings& s, const std::string&) { s.Interactive = 1; }},
};

const OptionInfo* findSettingOption(std::string_view name)
{
    for (const OptionInfo& option : kSettingOptions) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

constexpr int kMaxJobs = 256;

// The value of --jobs, or 0 when it is not a whole number from 1 to kMaxJobs.
int jobCount(const std::string& value)
{
    if (value.empty() || value.size() > 3)
        return 0;
    int count = 0;
    for (const char digit : value) {
        if (digit < '0' || digit > '9')
            return 0;
        count = count * 10 + (digit - '0');
    }
    return count <= kMaxJobs ? count : 0;
}

CliCommand usageError(std::string message)
{
    CliCommand command;
    command.action = CliCommand::Action::UsageError;
    command.error = std::move(message);
    return command;
}

// Reads the arguments one by one into `command`; returns an error message,
// or nothing when they were all understood.
class ArgumentReader
{
public:
    ArgumentReader(const std::vector<std::string>& arguments, CliCommand& command)
        : m_args(arguments), m_command(command)
    {
    }

    std::optional<std::string> readAll();

private:
    std::optional<std::string> readOption(const std::string& argument);
    std::optional<std::string> readPositional(const std::string& argument);
    std::optional<std::string> checkUndo();

    const std::vector<std::string>& m_args;
    CliCommand& m_command;
    std::size_t m_next = 0;
    bool m_haveNames = false;
    bool m_haveData = false;
    bool m_haveStartDir = false;
    bool m_undo = false;
    bool m_otherOptions = false; // an option that --undo does not take
    bool m_stop = false;         // --help or --version: nothing more is read
};

std::optional<std::string> ArgumentReader::readAll()
{
    bool optionsEnded = false;
    while (m_next < m_args.size() && !m_stop) {
        const std::string& argument = m_args[m_next++];
        std::optional<std::string> error;
        if (!optionsEnded && argument == "--")
            optionsEnded = true;
        else if (!optionsEnded && argument.size() > 1 && argument.front() == '-')
            error = readOption(argument);
        else
            error = readPositional(argument);
        if (error)
            return error;
    }
    if (m_stop)
        return std::nullopt;
    if (m_undo)
        return checkUndo();
    if (m_haveNames && m_haveData)
        return "--names and --data cannot be used together";
    m_command.modeGiven = m_haveNames || m_haveData;
    if (!m_command.modeGiven && !m_command.saved)
        return "one of --names or --data is required";
    if (!m_haveStartDir)
        return "missing START_DIR";
    return std::nullopt;
}

std::optional<std::string> ArgumentReader::readOption(const std::string& argument)
{
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    if (name == "--help" || name == "--version") {
        if (equals != std::string::npos)
            return "option " + name + " takes no value";
        m_command.action =
            name == "--help" ? CliCommand::Action::Help : CliCommand::Action::Version;
        m_stop = true;
        return std::nullopt;
    }
    const OptionInfo* option = findSettingOption(name);
    const bool isSaved = name == "--saved";
    const bool isDryRun = name == "--dry-run";
    const bool isJson = name == "--json";
    const bool isUndo = name == "--undo";
    const bool isNoJournal = name == "--no-journal";
    const bool isJobs = name == "--jobs";
    if (option == nullptr && !isSaved && !isDryRun && !isJson && !isUndo && !isNoJournal && !isJobs)
        return "unknown option " + name;
    const bool takesValue = isJobs || (option != nullptr && option->takesValue);
    if (!takesValue && equals != std::string::npos)
        return "option " + name + " takes no value";
    std::string value;
    if (takesValue) {
        if (equals != std::string::npos)
            value = argument.substr(equals + 1);
        else if (m_next < m_args.size())
            value = m_args[m_next++];
        else
            return "option " + name + " needs a value";
    }
    if (isJobs) {
        m_command.jobs = jobCount(value);
        if (m_command.jobs == 0)
            return "--jobs takes a whole number from 1 to " + std::to_string(kMaxJobs) + ", not '" +
                   value + "'";
    }
    m_haveNames = m_haveNames || name == "--names";
    m_haveData = m_haveData || name == "--data";
    m_command.saved = m_command.saved || isSaved;
    m_command.dryRun = m_command.dryRun || isDryRun;
    m_command.json = m_command.json || isJson;
    m_command.journal = m_command.journal && !isNoJournal;
    m_undo = m_undo || isUndo;
    m_otherOptions = m_otherOptions || (!isUndo && !isDryRun);
    if (option != nullptr) {
        const Change change = option->change;
        m_command.changes.emplace_back(
            [change, value](MorphSettings& settings) { change(settings, value); });
    }
    return std::nullopt;
}

// --undo reverses the last run and takes --dry-run only.
std::optional<std::string> ArgumentReader::checkUndo()
{
    if (m_otherOptions || m_haveStartDir)
        return "--undo takes no other option than --dry-run, and no START_DIR";
    m_command.action = CliCommand::Action::Undo;
    return std::nullopt;
}

std::optional<std::string> ArgumentReader::readPositional(const std::string& argument)
{
    if (m_haveStartDir)
        return "unexpected argument " + argument + " (only one START_DIR is taken)";
    m_haveStartDir = true;
    m_command.startDir = argument;
    return std::nullopt;
}

} // namespace

CliCommand parseCommandLine(const std::vector<std::string>& arguments)
{
    CliCommand command;
    ArgumentReader reader(arguments, command);
    if (std::optional<std::string> error = reader.readAll())
        return usageError(std::move(*error));
    return command;
}

} // namespace quarvel::cli
