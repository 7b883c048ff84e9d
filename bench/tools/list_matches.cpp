// Walks START_DIR and its subtree with the engine's walk and, in every folder,
// lists the entries that match MASK and are not folders, printing each one's
// path relative to START_DIR on its own line: the walk with the cheapest
// per-folder step, for comparison with `find START_DIR -name MASK`.
//
//   list_matches START_DIR MASK
#include "engine/DirectoryWalk.h"
#include "platform/Path.h"
#include "platform/PosixFileSystem.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: list_matches START_DIR MASK\n");
        return 2;
    }
    quarvel::PosixFileSystem fs;
    quarvel::WalkOptions options;
    options.startDir = argv[1];
    if (options.startDir.empty() || options.startDir.back() != quarvel::kSeparator)
        options.startDir += quarvel::kSeparator;
    const std::string mask = argv[2];
    std::vector<quarvel::DirEntry> entries;
    std::string line;
    const int listed = quarvel::WalkDirectory(fs, options, [&](const std::string& relative) {
        entries.clear();
        if (!fs.listFolder(options.startDir + relative, mask, entries))
            return 0;
        int files = 0;
        for (const quarvel::DirEntry& entry : entries) {
            if (entry.isDirectory())
                continue;
            line.assign(relative).append(entry.name).push_back('\n');
            std::fwrite(line.data(), 1, line.size(), stdout);
            ++files;
        }
        return files;
    });
    return listed >= 0 ? 0 : 1;
}
