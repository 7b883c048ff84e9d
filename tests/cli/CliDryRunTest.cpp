// --dry-run over seeded random trees and option sets in both modes, with
// entries already in the output tree: the dry run changes nothing, and its
// output and exit status are the real run's, byte for byte.
#include "tests/cli/CliProcess.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <sys/stat.h>

namespace quarvel::test {
namespace {

using Snapshot = std::map<std::string, std::string>; // relative path -> "dir" / mode + content

Snapshot snapshot(const TempDir& dir)
{
    namespace fs = std::filesystem;
    Snapshot result;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
        const std::string relative = entry.path().string().substr(dir.path().size());
        struct stat st;
        ::lstat(entry.path().c_str(), &st);
        result[relative] =
            entry.is_directory() ? "dir" : std::to_string(st.st_mode) + ":" + dir.read(relative);
    }
    return result;
}

template <class T>
const T& pick(std::mt19937& rng, const std::vector<T>& from)
{
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(rng)];
}

bool chance(std::mt19937& rng, double p)
{
    return std::bernoulli_distribution(p)(rng);
}

std::string randomContent(std::mt19937& rng)
{
    static const std::vector<std::string> tokens = {
        "cat", "Cat", "CAT", "dog", "hello", "world", "hello world", "\r\n", "\n", " ", "the", "e"};
    std::string content;
    const int count = std::uniform_int_distribution<int>(0, 7)(rng);
    for (int i = 0; i < count; ++i)
        content += pick(rng, tokens);
    return content;
}

void writeFolder(const TempDir& dir, std::mt19937& rng, const std::string& folder, int depth)
{
    // v1, v2, v3 with "1" -> "2" or "2" -> "3": renames into names the run
    // frees or takes itself.
    static const std::vector<std::string> stems = {"Alpha",  "beta", "README", "Notes", "data",
                                                   "my cat", "Cat",  "v1",     "v2",    "v3"};
    static const std::vector<std::string> extensions = {".TXT", ".txt",    ".Md",
                                                        "",     ".tar.GZ", ".cat"};
    static const std::vector<std::string> folders = {"Sub", "deep", "A B", "x.d", "Docs"};
    dir.makeDir(folder);
    std::set<std::string> names;
    const int files = std::uniform_int_distribution<int>(0, 4)(rng);
    for (int i = 0; i < files; ++i)
        names.insert(pick(rng, stems) + pick(rng, extensions));
    for (const std::string& name : names)
        dir.write(folder + name, randomContent(rng), chance(rng, 0.2) ? 0600 : 0644);
    if (depth >= 2)
        return;
    const int subfolders = std::uniform_int_distribution<int>(0, 2)(rng);
    for (int i = 0; i < subfolders; ++i)
        writeFolder(dir, rng, folder + pick(rng, folders) + "/", depth + 1);
}

// Puts entries in the way of the run's copies: for some of the start tree's
// files a file, a folder or a link under the output name (as given, or
// lower-cased); for its folders the output folder made already, left to
// the run, or a file in its place.
void seedOutputTree(const TempDir& dir, std::mt19937& rng, const std::string& out)
{
    namespace fs = std::filesystem;
    std::vector<std::pair<std::string, bool>> sources; // relative path, is a folder
    for (const auto& entry : fs::recursive_directory_iterator(dir / "src")) {
        const std::string relative = entry.path().string().substr((dir / "src/").size());
        if (relative.rfind("out", 0) != 0) // not the output tree itself
            sources.emplace_back(relative, entry.is_directory());
    }
    for (const auto& [relative, isFolder] : sources) {
        std::string name = relative;
        if (chance(rng, 0.5))
            std::transform(name.begin(), name.end(), name.begin(),
                           [](unsigned char c) { return std::tolower(c); });
        const std::string path = out + name;
        std::error_code error;
        if (fs::symlink_status(dir / path, error).type() != fs::file_type::not_found ||
            !fs::is_directory(fs::path(dir / path).parent_path()))
            continue; // taken already, or below something that is not a folder
        if (isFolder) {
            if (chance(rng, 0.15))
                dir.write(path, "in the way");
            else if (chance(rng, 0.6))
                dir.makeDir(path);
            continue;
        }
        if (!chance(rng, 0.6))
            continue;
        switch (std::uniform_int_distribution<int>(0, 3)(rng)) {
        case 0:
        case 1:
            dir.write(path, "earlier copy");
            break;
        case 2:
            dir.makeDir(path);
            break;
        default:
            fs::create_symlink(chance(rng, 0.5) ? dir / "nowhere" : dir / "src", dir / path);
            break;
        }
    }
}

std::vector<std::string> randomOptions(std::mt19937& rng, const TempDir& dir)
{
    std::vector<std::string> args = {chance(rng, 0.5) ? "--names" : "--data"};
    args.insert(args.end(),
                {"--mask",
                 pick(rng, std::vector<std::string>{"*.*", "*.txt", "*", "*a*", "?eta*", "*.md"})});
    args.insert(args.end(), {"--pattern", pick(rng, std::vector<std::string>{"", "cat", "Cat", "a",
                                                                             "hello world", "e",
                                                                             ".txt", "1", "2"})});
    args.insert(args.end(),
                {"--rep", pick(rng, std::vector<std::string>{"dog", "", "X-Y", "CAT", "2", "3"})});
    const std::vector<std::pair<const char*, double>> flags = {
        {"--replace", 0.6},       {"--match-case", 0.3}, {"--lower-file", 0.4},
        {"--lower-ext", 0.4},     {"--recurse", 0.6},    {"--prepend", 0.15},
        {"--append", 0.15},       {"--whole-word", 0.2}, {"--ignore-crlf", 0.2},
        {"--crlf-as-space", 0.2}, {"--in-place", 0.7},
    };
    for (const auto& [flag, p] : flags) {
        if (chance(rng, p))
            args.emplace_back(flag);
    }
    if (chance(rng, 0.75)) {
        // Output trees: an existing one beside the start tree (often with
        // entries in the way), one inside the start tree, or a missing one.
        const std::string copyDir =
            pick(rng, std::vector<std::string>{"out/", "out/", "out/", "src/out/", "new-out/a/"});
        if (copyDir != "new-out/a/") {
            dir.makeDir(copyDir);
            if (chance(rng, 0.8))
                seedOutputTree(dir, rng, copyDir);
        }
        args.insert(args.end(), {"--copy-to", dir / copyDir});
    }
    args.push_back(dir / "src");
    return args;
}

std::string joined(const std::vector<std::string>& args)
{
    std::string text;
    for (const std::string& arg : args)
        text += "'" + arg + "' ";
    return text;
}

// Whatever the disk holds at the start, the dry run foresees the real run:
// the same lines, the same failures, the same exit status.
TEST(CliDryRun, ChangesNothingAndPrintsWhatTheRealRunDoes)
{
    constexpr int kCases = 200;
    int withChanges = 0, withFailures = 0;
    for (int seed = 1; seed <= kCases; ++seed) {
        std::mt19937 rng(static_cast<std::mt19937::result_type>(seed));
        TempDir dir;
        writeFolder(dir, rng, "src/", 0);
        std::vector<std::string> args = randomOptions(rng, dir);
        SCOPED_TRACE("seed " + std::to_string(seed) + ": " + joined(args));
        const Snapshot before = snapshot(dir);

        std::vector<std::string> dryArgs = args;
        dryArgs.insert(dryArgs.begin() + 1, "--dry-run");
        const CliResult dry = runCli(dryArgs);
        ASSERT_EQ(snapshot(dir), before);

        const CliResult real = runCli(args);
        EXPECT_EQ(dry.status, real.status);
        EXPECT_EQ(dry.out, real.out);
        EXPECT_EQ(dry.err, real.err);
        withChanges += real.outLines().size() > 2 ? 1 : 0;
        withFailures += real.status == 1 ? 1 : 0;
    }
    // The generator must give many runs with operations and a fair share
    // with failures, or the property says little.
    EXPECT_GE(withChanges, kCases / 3);
    EXPECT_GE(withFailures, kCases / 20);
}

} // namespace
} // namespace quarvel::test
