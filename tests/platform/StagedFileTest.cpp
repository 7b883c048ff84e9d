#include "platform/StagedFile.h"

#include "platform/SourceFile.h"
#include "tests/platform/PlatformTestSupport.h"
#include "tests/support/TempDir.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <unistd.h>

namespace quarvel {
namespace {

using test::TempDir;
using Names = std::vector<std::string>;
using Purpose = StagedFile::Purpose;

// Every case runs with O_TMPFILE temporary files and with named ones.
class Staged : public ::testing::TestWithParam<bool>
{
protected:
    StagedFile stage() { return StagedFile(hook, written, GetParam()); }

    // Makes the `nth` call at `failing` (counted from 1) fail with ENOSPC.
    void failAt(FaultPoint failing, int nth = 1)
    {
        hook = [failing, nth, calls = 0](FaultPoint point, const std::string&) mutable {
            return point == failing && ++calls == nth ? Status::error(ENOSPC) : Status::ok();
        };
    }

    test::ScopedUmask umask{022};
    TempDir dir;
    FaultHook hook;
    WriteTracker written;
};

INSTANTIATE_TEST_SUITE_P(TemporaryFiles, Staged, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Anonymous" : "Named"; });

// Pieces (more than one gathered write takes), a range of another file and
// plain bytes; nothing shows at the destination until the commit, which
// keeps the source's mode.
TEST_P(Staged, ContentInPiecesTakesTheFilesPlaceAtCommit)
{
    dir.write("f.txt", "old content", 0640);
    dir.write("other", "0123456789");
    SourceFile other;
    ASSERT_TRUE(other.open(dir / "other", false, hook));
    std::vector<std::string_view> pieces(3000, "ab");
    std::string expected(6000, ' ');
    for (std::size_t i = 0; i < expected.size(); ++i)
        expected[i] = "ab"[i % 2];

    StagedFile staged = stage();
    ASSERT_TRUE(staged.create(Purpose::Rewrite, dir / "f.txt", dir / "f.txt"));
    ASSERT_TRUE(staged.write(pieces));
    ASSERT_TRUE(staged.copyRange(other.fd(), 3, 4));
    ASSERT_TRUE(staged.write("!"));
    EXPECT_EQ(staged.size(), 6005);
    EXPECT_EQ(dir.read("f.txt"), "old content");
    ASSERT_TRUE(staged.commit());
    EXPECT_EQ(dir.read("f.txt"), expected + "3456!");
    EXPECT_EQ(dir.mode("f.txt"), 0640u);
    EXPECT_EQ(dir.list(), (Names{"f.txt", "other"}));
}

// A discard, or a failure at any step, leaves the original and nothing else.
TEST_P(Staged, DiscardOrFailureLeavesTheOriginalAlone)
{
    dir.write("f.txt", "original", 0600);
    dir.write("other", "0123456789");
    const struct
    {
        FaultPoint point;
        int nth;
    } cases[] = {{FaultPoint::Write, 1},
                 {FaultPoint::Write, 2},
                 {FaultPoint::Place, 1},
                 {FaultPoint::Remove, 1}}; // the last one never fails: discarded instead
    for (const auto& c : cases) {
        for (const bool rename : {false, true}) {
            failAt(c.point, c.nth);
            SourceFile other;
            ASSERT_TRUE(other.open(dir / "other", false, hook));
            StagedFile staged = stage();
            ASSERT_TRUE(
                staged.create(Purpose::Rewrite, dir / "f.txt", dir / (rename ? "g.txt" : "f.txt")));
            const bool wrote = staged.write("new") && staged.copyRange(other.fd(), 0, 10);
            if (c.point == FaultPoint::Remove) {
                ASSERT_TRUE(wrote);
                staged.discard();
            } else {
                EXPECT_EQ((wrote ? staged.commit() : Status::error(ENOSPC)).code(), ENOSPC);
            }
        }
        EXPECT_EQ(dir.read("f.txt"), "original");
        EXPECT_EQ(dir.mode("f.txt"), 0600u);
        EXPECT_EQ(dir.list(), (Names{"f.txt", "other"}));
    }
}

// The copy is made from the staged content, whether that was committed in
// place or refused, with the copy's own mode.
TEST_P(Staged, CopyTakesTheCompletedContent)
{
    for (const bool committed : {true, false}) {
        dir.write("f.txt", "old", 0666);
        StagedFile staged = stage();
        ASSERT_TRUE(staged.create(Purpose::Rewrite, dir / "f.txt", dir / "f.txt"));
        ASSERT_TRUE(staged.write("new content"));
        if (committed) {
            ASSERT_TRUE(staged.commit());
        }
        dir.write("copy.txt", "previous copy", 0600);
        StagedFile copy = stage();
        ASSERT_TRUE(copy.create(Purpose::Copy, dir / "f.txt", dir / "copy.txt"));
        ASSERT_TRUE(copy.copyContentOf(staged));
        ASSERT_TRUE(copy.commit());
        staged.discard();
        EXPECT_EQ(dir.read("copy.txt"), "new content");
        EXPECT_EQ(dir.mode("copy.txt"), 0644u);
        EXPECT_EQ(dir.read("f.txt"), committed ? "new content" : "old");
        EXPECT_EQ(dir.mode("f.txt"), 0666u);
        EXPECT_EQ(dir.list(), (Names{"copy.txt", "f.txt"}));
    }
}

// What took the destination's place while the content was written (or the
// user was asked) is examined again at the commit, and kept.
TEST_P(Staged, DestinationChangedMeanwhileIsNotReplaced)
{
    dir.write("f.txt", "original");
    dir.write("elsewhere", "kept");
    StagedFile rewrite = stage();
    StagedFile copy = stage();
    ASSERT_TRUE(rewrite.create(Purpose::Rewrite, dir / "f.txt", dir / "f.txt"));
    ASSERT_TRUE(copy.create(Purpose::Copy, dir / "f.txt", dir / "out"));
    ASSERT_TRUE(rewrite.write("new") && copy.write("new"));
    ASSERT_EQ(::unlink((dir / "f.txt").c_str()), 0);
    ASSERT_EQ(::symlink("elsewhere", (dir / "f.txt").c_str()), 0);
    dir.makeDir("out");
    EXPECT_EQ(rewrite.commit().code(), Status::kIsSymbolicLink);
    EXPECT_EQ(copy.commit().code(), EISDIR);
    rewrite.discard();
    copy.discard();
    EXPECT_EQ(dir.read("f.txt"), "kept");
    EXPECT_EQ(dir.list(), (Names{"elsewhere", "f.txt", "out"}));
}

TEST(SourceFile, ReadsByOffsetAndShowsEachReadToTheHook)
{
    TempDir dir;
    dir.write("f", "0123456789");
    int reads = 0;
    const FaultHook hook = [&reads](FaultPoint point, const std::string& path) {
        if (point != FaultPoint::Read)
            return Status::ok();
        EXPECT_NE(path.find("/f"), std::string::npos);
        return ++reads == 3 ? Status::error(EIO) : Status::ok();
    };
    SourceFile file;
    ASSERT_TRUE(file.open(dir / "f", false, hook));
    EXPECT_EQ(file.size(), 10);
    char bytes[8] = {};
    std::int64_t got = 0;
    ASSERT_TRUE(file.readAt(6, bytes, 8, got));
    EXPECT_EQ(std::string(bytes, std::size_t(got)), "6789");
    ASSERT_TRUE(file.readAt(10, bytes, 8, got));
    EXPECT_EQ(got, 0);
    EXPECT_EQ(file.readAt(0, bytes, 8, got).code(), EIO);
}

} // namespace
} // namespace quarvel
