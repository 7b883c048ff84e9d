#pragma once

#include "tests/support/EngineFixture.h"
#include "tests/support/SortedListingFileSystem.h"

#include <gtest/gtest.h>
#include <string>

namespace quarvel::test {

// A run in file-name mode over <tmp>/src/ (output tree <tmp>/out/), with
// listings sorted by name so that log lines and scripted answers come in a
// known order.
class FileNameModeTest : public ::testing::Test
{
protected:
    FileNameModeTest() { f.settings.SearchMode = 1; }

    void run() { f.run(sorted); }
    std::string src(const std::string& relative = "") const
    {
        return f.settings.StartDir + relative;
    }
    std::string out(const std::string& relative = "") const
    {
        return f.settings.CopyDir + relative;
    }
    std::string summaryLine(std::size_t fromEnd) const
    {
        const auto lines = f.logLines();
        return lines.size() > fromEnd ? lines[lines.size() - 1 - fromEnd] : std::string();
    }

    EngineFixture f;
    SortedListingFileSystem sorted{f.fs};
};

} // namespace quarvel::test
