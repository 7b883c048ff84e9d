#include "platform/Path.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace quarvel {
namespace {

TEST(PathTest, NormalizedFolderCollapsesSeparatorsAndDropsDotsKeepingRelativePathsRelative)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/a//b/./c", "/a/b/c/"}, {"/", "/"}, {"//", "/"}, {"a", "a/"},     {"./a", "a/"},
        {"././a//./b/", "a/b/"},  {".", ""},  {"./", ""},  {"/./a", "/a/"}, {"a/..", "a/../"},
    };
    for (const auto& [path, normalized] : cases)
        EXPECT_EQ(normalizedFolder(path), normalized) << path;
}

TEST(PathTest, StrictlyInsideComparesNormalizedFolders)
{
    EXPECT_TRUE(isStrictlyInside("./src/out", "src"));
    EXPECT_TRUE(isStrictlyInside("out", "."));
    EXPECT_TRUE(isStrictlyInside("/a/b//c/", "/a/b"));
    EXPECT_FALSE(isStrictlyInside("./src", "src/"));
    EXPECT_FALSE(isStrictlyInside("/srcx/out", "/src"));
    EXPECT_FALSE(isStrictlyInside("src/out", "/src")); // one relative, one absolute
}

} // namespace
} // namespace quarvel
