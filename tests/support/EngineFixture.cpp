#include "tests/support/EngineFixture.h"

namespace quarvel::test {

EngineFixture::EngineFixture()
{
    settings.StartDir = dir / "src/";
    settings.CopyDir = dir / "out/";
    settings.Mask = "*.*";
    settings.LowerFile = 0;
    settings.LowerExt = 0;
    settings.Recurse = 1;
    settings.SearchMode = 0;
    dir.makeDir("src");
}

void EngineFixture::run()
{
    run(fs);
}

void EngineFixture::run(FileSystem& fileSystem)
{
    MorphFiles(EngineParts{settings, state, log, maskHistory, maskList, patternHistory, patternList,
                           window, fileSystem});
}

std::vector<std::string> EngineFixture::logLines() const
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < log.size(); ++i)
        lines.emplace_back(log.line(i));
    return lines;
}

std::vector<std::string> EngineFixture::operationLines() const
{
    std::vector<std::string> lines = logLines();
    if (lines.size() >= 2)
        lines.resize(lines.size() - 2);
    return lines;
}

} // namespace quarvel::test
