#include "app/SettingsPersistence.h"

#include "app/MorphSettings.h"
#include "platform/qt/QSettingsStore.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <map>
#include <unistd.h>

namespace quarvel {
namespace {

// Records the order of reads and writes, and keeps what was written.
struct RecordingStore : SettingsStore
{
    std::vector<std::string> reads, writes;
    std::map<std::string, std::string> strings;
    std::map<std::string, std::int32_t> ints;

    std::string readString(const std::string& section, const std::string& key,
                           const std::string& fallback) override
    {
        reads.push_back(section + "/" + key);
        auto it = strings.find(key);
        return it == strings.end() ? fallback : it->second;
    }
    std::int32_t readInt(const std::string& section, const std::string& key,
                         std::int32_t fallback) override
    {
        reads.push_back(section + "/" + key);
        auto it = ints.find(key);
        return it == ints.end() ? fallback : it->second;
    }
    bool writeString(const std::string& section, const std::string& key,
                     const std::string& value) override
    {
        writes.push_back(section + "/" + key);
        strings[key] = value;
        return true;
    }
    bool writeInt(const std::string& section, const std::string& key, std::int32_t value) override
    {
        writes.push_back(section + "/" + key);
        ints[key] = value;
        return true;
    }
};

const std::vector<std::string> kStoreOrder = {
    "Mask",      "Pattern",  "RepPattern", "CopyDir",   "StartDir",    "Replace",    "Copy",
    "LowerFile", "LowerExt", "Recurse",    "Rename",    "PatternCase", "SearchMode", "Interactive",
    "IgnoreCR",  "Append",   "Prepend",    "WholeWord", "CRasSpace",   "Regex",      "UnicodeCase"};

std::vector<std::string> inSection(const std::vector<std::string>& keys)
{
    std::vector<std::string> out;
    for (const auto& key : keys)
        out.push_back(std::string(kSettingsSection) + "/" + key);
    return out;
}

TEST(Settings, FirstStartUsesDefaultsAndWritesAll21KeysInStoreOrder)
{
    RecordingStore store;
    MorphSettings settings = defaultSettings();
    LoadSettings(store, settings);
    EXPECT_EQ(store.reads, inSection(kStoreOrder));
    EXPECT_EQ(settings.Mask, "*.*");
    EXPECT_EQ(settings.Pattern, "");
    EXPECT_EQ(settings.StartDir, std::string(getenv("HOME")) + "/");
    EXPECT_EQ(settings.LowerFile, 1);
    EXPECT_EQ(settings.SearchMode, 1);
    EXPECT_EQ(settings.Copy, 0);

    SaveSettings(store, settings);
    EXPECT_EQ(store.writes, inSection(kStoreOrder));
    EXPECT_EQ(store.strings.size() + store.ints.size(), 21u);
    EXPECT_EQ(store.ints["Recurse"], 1);
    EXPECT_EQ(store.strings["Mask"], "*.*");
}

// A store written before Regex and UnicodeCase existed loads them off.
TEST(Settings, KeysAddedLaterLoadOffFromAnOlderStore)
{
    RecordingStore store;
    MorphSettings older = defaultSettings();
    older.PatternCase = 1;
    SaveSettings(store, older);
    store.ints.erase("Regex");
    store.ints.erase("UnicodeCase");
    MorphSettings loaded = defaultSettings();
    LoadSettings(store, loaded);
    EXPECT_EQ(loaded.Regex, 0);
    EXPECT_EQ(loaded.UnicodeCase, 0);
    EXPECT_EQ(loaded.PatternCase, 1);
}

TEST(Settings, HomeFolderDefaultFallsBackToRoot)
{
    const std::string saved = getenv("HOME");
    setenv("HOME", "", 1);
    EXPECT_EQ(defaultSettings().StartDir, "/");
    unsetenv("HOME");
    EXPECT_EQ(defaultSettings().CopyDir, "/");
    setenv("HOME", saved.c_str(), 1);
}

MorphSettings unusualSettings()
{
    MorphSettings s = defaultSettings();
    s.Mask = "*.txt\xC2\xA5*.c";
    s.Pattern = "line one\r\nline two";
    s.RepPattern = "caf\xC3\xA9 \xff\x01 \t";
    s.CopyDir = "/tmp/out dir/";
    s.StartDir = "";
    s.Replace = 1;
    s.Interactive = 1;
    s.CRasSpace = 1;
    s.SearchMode = 0;
    s.LowerExt = 7; // out of range values are kept by the store
    s.WholeWord = -3;
    return s;
}

void expectSame(const MorphSettings& a, const MorphSettings& b)
{
    EXPECT_EQ(a.Mask, b.Mask);
    EXPECT_EQ(a.Pattern, b.Pattern);
    EXPECT_EQ(a.RepPattern, b.RepPattern);
    EXPECT_EQ(a.CopyDir, b.CopyDir);
    EXPECT_EQ(a.StartDir, b.StartDir);
    const std::int32_t MorphSettings::*flags[] = {
        &MorphSettings::Replace,     &MorphSettings::Copy,       &MorphSettings::LowerFile,
        &MorphSettings::LowerExt,    &MorphSettings::Recurse,    &MorphSettings::Rename,
        &MorphSettings::PatternCase, &MorphSettings::SearchMode, &MorphSettings::Interactive,
        &MorphSettings::IgnoreCR,    &MorphSettings::Append,     &MorphSettings::Prepend,
        &MorphSettings::WholeWord,   &MorphSettings::CRasSpace};
    for (auto flag : flags)
        EXPECT_EQ(a.*flag, b.*flag);
}

TEST(QSettingsStore, ValuesRoundTripExactlyThroughTheFile)
{
    test::TempDir dir;
    const MorphSettings written = unusualSettings();
    {
        QSettingsStore store(dir / "Quarvel.conf");
        SaveSettings(store, written);
        ASSERT_TRUE(store.flush());
    }
    QSettingsStore store(dir / "Quarvel.conf");
    MorphSettings read = defaultSettings();
    LoadSettings(store, read);
    expectSame(read, written);
}

TEST(QSettingsStore, GarbageOrUnreadableStoreGivesDefaults)
{
    test::TempDir dir;
    dir.write("garbage.conf", "\x01\x02[App Info\nMask\n=\xff\nRecurse=notanumber\n");
    QSettingsStore garbage(dir / "garbage.conf");
    MorphSettings fromGarbage = defaultSettings();
    LoadSettings(garbage, fromGarbage);
    EXPECT_EQ(fromGarbage.Recurse, 1);
    EXPECT_EQ(fromGarbage.Mask, "*.*");

    QSettingsStore missing(dir / "no/such/folder/store.conf");
    MorphSettings fromMissing = defaultSettings();
    LoadSettings(missing, fromMissing);
    expectSame(fromMissing, defaultSettings());
}

TEST(QSettingsStore, TheDefaultStoreLivesUnderTheConfigFolder)
{
    // Point the per-user store at a temporary folder before Qt first looks
    // it up, never at the real settings.
    test::TempDir dir;
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    const std::string config = dir / "config";
    {
        QSettingsStore store;
        store.writeInt(kSettingsSection, "Copy", 1);
        ASSERT_TRUE(store.flush());
    }
    const std::string file = config + "/Brantwick Labs/Quarvel.conf";
    EXPECT_EQ(access(file.c_str(), R_OK), 0) << file;
}

} // namespace
} // namespace quarvel
