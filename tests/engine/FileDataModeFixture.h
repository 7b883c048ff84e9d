#pragma once

#include "tests/support/EngineFixture.h"
#include "tests/support/SortedListingFileSystem.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

namespace quarvel::test {

// File-data mode over <tmp>/src/, replacing "cat" by "dog", updating in
// place; listings are sorted so that log lines come in a known order.
struct FileDataTest : ::testing::Test, EngineFixture
{
    FileDataTest()
    {
        settings.SearchMode = 0;
        settings.Pattern = "cat";
        settings.RepPattern = "dog";
        settings.Rename = 1;
    }

    std::string src(const std::string& relative) const { return dir / ("src/" + relative); }
    std::string out(const std::string& relative) const { return dir / ("out/" + relative); }

    void runSorted()
    {
        SortedListingFileSystem sorted(fs);
        run(sorted);
    }
    void runSorted(FileSystem& inner)
    {
        SortedListingFileSystem sorted(inner);
        run(sorted);
    }

    std::string summaryMorphed() const { return logLines().back(); }

    static ino_t inode(const std::string& path)
    {
        struct stat st;
        return ::lstat(path.c_str(), &st) == 0 ? st.st_ino : 0;
    }
};

} // namespace quarvel::test
