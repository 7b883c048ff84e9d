#include "tests/support/TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel::test {

namespace fs = std::filesystem;

TempDir::TempDir() : TempDir("/tmp") {}

TempDir::TempDir(const std::string& base)
{
    std::string pattern = base + "/quarvel-test-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed under " + base);
    m_path = pattern + "/";
}

namespace {

// Removes a folder tree through directory descriptors, without recursion,
// so that trees deeper than PATH_MAX (which path-based removal cannot reach)
// are cleaned up too. Permissions are restored on the way down.
void removeTree(const std::string& root)
{
    std::vector<std::string> names; // the chain of folder names below root
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    if (fd < 0)
        return;
    while (fd >= 0) {
        ::fchmod(fd, 0700);
        DIR* listing = ::fdopendir(::dup(fd));
        std::string subfolder;
        while (dirent* entry = listing ? ::readdir(listing) : nullptr) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            struct stat st;
            if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode)) {
                if (::unlinkat(fd, name.c_str(), AT_REMOVEDIR) != 0 && subfolder.empty())
                    subfolder = name;
            } else {
                ::unlinkat(fd, name.c_str(), 0);
            }
        }
        if (listing)
            ::closedir(listing);
        if (!subfolder.empty()) {
            const int child = ::openat(fd, subfolder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
            if (child >= 0) {
                ::close(fd);
                fd = child;
                names.push_back(subfolder);
                continue;
            }
        }
        // This folder is empty now (or cannot be emptied): go up and remove it.
        if (names.empty()) {
            ::close(fd);
            break;
        }
        const int parent = ::openat(fd, "..", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = parent;
        if (fd >= 0)
            ::unlinkat(fd, names.back().c_str(), AT_REMOVEDIR);
        names.pop_back();
    }
    ::rmdir(root.c_str());
}

} // namespace

TempDir::~TempDir()
{
    removeTree(m_path);
}

void TempDir::write(const std::string& relative, const std::string& content, unsigned mode) const
{
    const fs::path file = m_path + relative;
    fs::create_directories(file.parent_path());
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
    }
    ::chmod(file.c_str(), mode);
}

void TempDir::makeDir(const std::string& relative) const
{
    fs::create_directories(m_path + relative);
}

std::string TempDir::read(const std::string& relative) const
{
    std::ifstream in(m_path + relative, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool TempDir::exists(const std::string& relative) const
{
    struct stat st;
    return ::lstat((m_path + relative).c_str(), &st) == 0;
}

std::vector<std::string> TempDir::list(const std::string& relative) const
{
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(m_path + relative, ignored))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

unsigned TempDir::mode(const std::string& relative) const
{
    struct stat st;
    if (::lstat((m_path + relative).c_str(), &st) != 0)
        return 0;
    return st.st_mode & 07777;
}

} // namespace quarvel::test
