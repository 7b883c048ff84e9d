#include "platform/qt/QSettingsStore.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace quarvel {
namespace {

constexpr const char* kSection = "App Info";

std::string roundTrip(const test::TempDir& dir, const std::string& value)
{
    {
        QSettingsStore store(dir / "Quarvel.conf");
        store.writeString(kSection, "Mask", value);
        EXPECT_TRUE(store.flush());
    }
    QSettingsStore store(dir / "Quarvel.conf");
    return store.readString(kSection, "Mask", "fallback");
}

// Values the file format treats specially (list commas, quotes, the
// @ prefix, line breaks, spaces at the ends, a NUL) and ones that are
// not UTF-8 all come back byte for byte.
TEST(QSettingsStoreTest, EveryValueComesBackExactly)
{
    const std::string values[] = {
        "",
        "*.txt",
        "a,b;c#d=e",
        "\"quoted\"",
        "@ByteArray(*.txt)",
        "@@",
        " lead and trail ",
        "one\r\ntwo\tthree\\",
        std::string("nul\0byte", 8),
        "caf\xC3\xA9\xC2\xA5\xE2\x82\xAC",
        "\xEF\xBB\xBF"
        "bom",
        "/home/ann/caf\xE9-\xFF/",
        "\xC2\xA5\xA5",
    };
    for (const std::string& value : values) {
        test::TempDir dir;
        EXPECT_EQ(roundTrip(dir, value), value);
    }
}

TEST(QSettingsStoreTest, Utf8IsStoredAsTextAndOtherBytesAsAByteArray)
{
    test::TempDir dir;
    {
        QSettingsStore store(dir / "Quarvel.conf");
        store.writeString(kSection, "Mask", "*.txt\xC2\xA5*.md");
        store.writeString(kSection, "StartDir", "/srv/caf\xE9/");
        ASSERT_TRUE(store.flush());
    }
    const std::string file = dir.read("Quarvel.conf");
    EXPECT_NE(file.find("Mask=*.txt\xC2\xA5*.md\n"), std::string::npos) << file;
    EXPECT_NE(file.find("StartDir=@ByteArray("), std::string::npos) << file;
}

TEST(QSettingsStoreTest, ByteArraysOfEarlierBuildsStillRead)
{
    test::TempDir dir;
    dir.write("Quarvel.conf", "[App%20Info]\nMask=@ByteArray(*.txt)\n"
                              "StartDir=@ByteArray(/srv/caf\\xe9/)\n");
    QSettingsStore store(dir / "Quarvel.conf");
    EXPECT_EQ(store.readString(kSection, "Mask", ""), "*.txt");
    EXPECT_EQ(store.readString(kSection, "StartDir", ""), "/srv/caf\xE9/");
}

} // namespace
} // namespace quarvel
