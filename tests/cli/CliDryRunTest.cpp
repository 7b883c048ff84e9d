// --dry-run over seeded random trees and option sets in both modes: the dry
// run changes nothing, and where the real run has no failure its standard
// output is the dry run's, byte for byte.
#include "tests/cli/CliProcess.h"
#include "tests/support/TempDir.h"

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
    static const std::vector<std::string> stems = {"Alpha", "beta",   "README", "Notes",
                                                   "data",  "my cat", "Cat"};
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

std::vector<std::string> randomOptions(std::mt19937& rng, const TempDir& dir)
{
    std::vector<std::string> args = {chance(rng, 0.5) ? "--names" : "--data"};
    args.insert(args.end(),
                {"--mask",
                 pick(rng, std::vector<std::string>{"*.*", "*.txt", "*", "*a*", "?eta*", "*.md"})});
    args.insert(args.end(),
                {"--pattern", pick(rng, std::vector<std::string>{"", "cat", "Cat", "a",
                                                                 "hello world", "e", ".txt"})});
    args.insert(args.end(),
                {"--rep", pick(rng, std::vector<std::string>{"dog", "", "X-Y", "CAT"})});
    const std::vector<std::pair<const char*, double>> flags = {
        {"--replace", 0.6},       {"--match-case", 0.3}, {"--lower-file", 0.4},
        {"--lower-ext", 0.4},     {"--recurse", 0.6},    {"--prepend", 0.15},
        {"--append", 0.15},       {"--whole-word", 0.2}, {"--ignore-crlf", 0.2},
        {"--crlf-as-space", 0.2}, {"--in-place", 0.6},
    };
    for (const auto& [flag, p] : flags) {
        if (chance(rng, p))
            args.emplace_back(flag);
    }
    if (chance(rng, 0.5)) {
        // Output trees: an existing one beside the start tree, a missing one
        // beside it, or one inside the start tree.
        const std::string copyDir =
            pick(rng, std::vector<std::string>{dir / "out", dir / "out", dir / "new-out",
                                               dir / "src/out"});
        if (copyDir == dir / "out")
            dir.makeDir("out");
        args.insert(args.end(), {"--copy-to", copyDir});
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

TEST(CliDryRun, ChangesNothingAndPrintsWhatTheRealRunDoes)
{
    constexpr int kCases = 40;
    int compared = 0, comparedWithChanges = 0;
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
        ASSERT_EQ(dry.status, 0) << dry.out << dry.err;
        EXPECT_EQ(dry.err, "");
        ASSERT_EQ(snapshot(dir), before);

        const CliResult real = runCli(args);
        ASSERT_TRUE(real.status == 0 || real.status == 1) << real.err;
        if (real.status != 0)
            continue; // a failure has no dry counterpart
        ++compared;
        EXPECT_EQ(dry.out, real.out);
        if (real.outLines().size() > 2)
            ++comparedWithChanges;
    }
    // The generator must give mostly runs without failure, many of them
    // with operations, or the property says little.
    EXPECT_GE(compared, kCases * 3 / 4);
    EXPECT_GE(comparedWithChanges, kCases / 3);
}

} // namespace
} // namespace quarvel::test
