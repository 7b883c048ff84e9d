#include "tests/support/TempDir.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace quarvel::test {

namespace fs = std::filesystem;

TempDir::TempDir()
{
    char pattern[] = "/tmp/quarvel-test-XXXXXX";
    if (mkdtemp(pattern) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    m_path = std::string(pattern) + "/";
}

TempDir::~TempDir()
{
    std::error_code ignored;
    // Make everything removable again (tests may take permissions away).
    for (auto it = fs::recursive_directory_iterator(m_path, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(m_path, ignored);
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
