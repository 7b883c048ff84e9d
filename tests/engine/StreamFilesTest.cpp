#include "engine/StreamFiles.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace quarvel {
namespace {

using Names = std::vector<std::string>;

// A file streamed through a staged rewrite of itself: no temporary file at
// all while nothing changes; with a change, the complete result waits beside
// the untouched original until the commit.
TEST(StreamFiles, RewriteIsStagedOnlyForAChange)
{
    const std::string body(3 << 20, 'x');
    const struct
    {
        std::string content;
        std::string result; // empty: no change
    } cases[] = {{body + " cat", body + " dog"}, {"cat " + body, "dog " + body}, {body, ""}};
    for (const auto& c : cases) {
        test::TempDir dir;
        dir.write("f.txt", c.content, 0640);
        FaultHook hook;
        WriteTracker written;
        SourceFile file;
        ASSERT_TRUE(file.open(dir / "f.txt", false, hook));
        StagedFile staged(hook, written, false); // named: a temporary file would show
        SourceFileStream source(file);
        StagedFileOutput output(file, staged, [&dir](StagedFile& s) {
            return s.create(StagedFile::Purpose::Rewrite, dir / "f.txt", dir / "f.txt");
        });
        StreamReplacer replacer(1 << 16);
        const StreamOutcome outcome = replacer.Run(source, {"cat", "dog", {}}, output);
        ASSERT_TRUE(outcome.status) << outcome.status.message();
        EXPECT_EQ(outcome.changes, c.result.empty() ? 0 : 1);
        EXPECT_EQ(dir.list().size(), c.result.empty() ? 1u : 2u);
        EXPECT_EQ(dir.read("f.txt"), c.content);
        if (!c.result.empty()) {
            ASSERT_TRUE(staged.commit());
            EXPECT_EQ(dir.read("f.txt"), c.result);
            EXPECT_EQ(dir.mode("f.txt"), 0640u);
        }
        EXPECT_EQ(dir.list(), Names{"f.txt"});
    }
}

} // namespace
} // namespace quarvel
