#pragma once

#include <string>
#include <vector>

namespace quarvel::test {

// A fresh folder under /tmp for one test, removed with everything in it
// when the test ends. path() ends with '/'.
class TempDir
{
public:
    TempDir();
    // A folder under `base` instead of /tmp (e.g. /dev/shm for trees whose
    // creation cost on disk would dominate a test).
    explicit TempDir(const std::string& base);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& relative) const { return m_path + relative; }

    // Writes a file (creating missing parent folders) with the given mode.
    void write(const std::string& relative, const std::string& content, unsigned mode = 0644) const;
    void makeDir(const std::string& relative) const;
    std::string read(const std::string& relative) const;
    bool exists(const std::string& relative) const;
    // Names in a folder (not "." and ".."), sorted.
    std::vector<std::string> list(const std::string& relative = "") const;
    unsigned mode(const std::string& relative) const;

private:
    std::string m_path;
};

} // namespace quarvel::test
