// --saved: the run starts from the window's settings store (here a store in
// a temporary XDG_CONFIG_HOME), with the newest history entries as mask
// and pattern, and never writes the store.
#include "app/MruList.h"
#include "app/SettingsPersistence.h"
#include "platform/qt/QSettingsStore.h"
#include "tests/cli/CliProcess.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace quarvel::test {
namespace {

using Lines = std::vector<std::string>;

class CliSaved : public ::testing::Test
{
protected:
    CliSaved()
    {
        dir.write("src/a.txt", "hellothere hello");
        dir.write("src/b.old", "hello");
        dir.write("src/sub/c.TXT", "say hello");
        dir.makeDir("config");
    }

    void writeStore()
    {
        MorphSettings stored = defaultSettings();
        stored.Mask = std::string("*.old") + kHistorySeparator + "*.txt";
        stored.Pattern = std::string("foo") + kHistorySeparator + "hello";
        stored.RepPattern = "bye";
        stored.StartDir = "/not/this/one/";
        stored.SearchMode = 0;
        stored.Rename = 1;
        stored.Replace = 1;
        stored.Recurse = 1;
        stored.LowerFile = 0;
        stored.WholeWord = 7; // out of range: the window shows it off
        QSettingsStore store(storeFile());
        SaveSettings(store, stored);
        ASSERT_TRUE(store.flush());
    }

    static MorphSettings allOff()
    {
        MorphSettings s = defaultSettings();
        s.LowerFile = s.LowerExt = s.Recurse = 0;
        return s;
    }

    std::string storeFile() const { return dir / "config/Brantwick Labs/Quarvel.conf"; }

    CliResult run(std::vector<std::string> args)
    {
        args.push_back(src);
        return runCli(args, {}, {{"XDG_CONFIG_HOME", dir / "config"}});
    }

    TempDir dir;
    const std::string src = dir / "src/";
};

TEST_F(CliSaved, RunsWithTheStoredSettingsAndNewestHistoryEntries)
{
    writeStore();
    const std::string before = dir.read("config/Brantwick Labs/Quarvel.conf");

    const CliResult result = run({"--saved"});

    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.outLines(),
              (Lines{
                  "Updated file " + src + "sub/c.txt (1 changes)", // LowerExt: stored default
                  "Updated file " + src + "a.txt (2 changes)",
                  "Processed 2 files (*.txt).",
                  "Morphed 2 unique files.",
              }));
    EXPECT_EQ(dir.read("src/a.txt"), "byethere bye"); // whole word stayed off
    EXPECT_EQ(dir.read("src/b.old"), "hello");
    EXPECT_EQ(dir.read("config/Brantwick Labs/Quarvel.conf"), before);
    EXPECT_EQ(dir.list("config/Brantwick Labs"), Lines{"Quarvel.conf"});
}

TEST_F(CliSaved, LaterOptionsApplyOnTop)
{
    writeStore();
    const CliResult result = run({"--saved", "--mask", "*.old", "--rep", "X", "--names"});
    // File-name mode now: the name holds no "hello", so nothing is renamed.
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.outLines(), (Lines{"Processed 1 files (*.old).", "Morphed 0 unique files."}));

    const CliResult data = run({"--data", "--mask", "*.old", "--rep", "X", "--saved"});
    EXPECT_EQ(data.outLines(), (Lines{
                                   "Updated file " + src + "b.old (1 changes)",
                                   "Processed 1 files (*.old).",
                                   "Morphed 1 unique file.",
                               }));
    EXPECT_EQ(dir.read("src/b.old"), "X");
}

// A stored whole-word tick is left out beside --regex, as the window greys
// it out; typed beside it, it is a usage error.
TEST_F(CliSaved, StoredLiteralRulesGiveWayToATypedExpression)
{
    MorphSettings stored = allOff();
    stored.WholeWord = 1;
    QSettingsStore store(storeFile());
    SaveSettings(store, stored);
    ASSERT_TRUE(store.flush());
    const std::vector<std::string> options = {"--saved",   "--data",   "--in-place", "--regex",
                                              "--pattern", "hel+o\\b", "--rep",      "bye"};
    const CliResult result = run(options);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(dir.read("src/a.txt"), "hellothere bye");
    std::vector<std::string> typed = options;
    typed.push_back("--whole-word");
    EXPECT_EQ(run(typed).status, 2);
}

TEST_F(CliSaved, AMissingStoreGivesTheFirstRunDefaultsAndStaysMissing)
{
    // First-run defaults: file-name mode, lower-casing on, but neither
    // "Update in place" nor "Copy": the run changes nothing.
    const CliResult result = run({"--saved"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.outLines(), (Lines{"Processed 3 files (*.*).", "Morphed 0 unique files."}));
    EXPECT_EQ(dir.list("config"), Lines{});
    EXPECT_EQ(dir.list("src/sub"), Lines{"c.TXT"});
}

} // namespace
} // namespace quarvel::test
