#include "platform/Path.h"

#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace quarvel {

std::string homeFolder()
{
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0')
        return std::string(1, kSeparator);
    return home;
}

std::string absolutePath(const std::string& path)
{
    if (!path.empty() && path.front() == kSeparator)
        return path;
    return absolutePathIn(currentFolder(), path);
}

std::string currentFolder()
{
    char current[PATH_MAX];
    if (::getcwd(current, sizeof current) == nullptr)
        return {};
    std::string folder = current;
    ensureTrailingSeparator(folder);
    return folder;
}

std::string absolutePathIn(const std::string& folder, const std::string& path)
{
    std::string absolute;
    assignAbsolutePathIn(absolute, folder, path);
    return absolute;
}

void assignAbsolutePathIn(std::string& out, const std::string& folder, const std::string& path)
{
    if (folder.empty() || (!path.empty() && path.front() == kSeparator)) {
        out.assign(path);
        return;
    }
    out.assign(folder);
    out.append(path);
}

} // namespace quarvel

namespace quarvel {

std::string normalizedFolder(std::string_view path)
{
    std::string out;
    out.reserve(path.size() + 1);
    if (!path.empty() && path.front() == kSeparator)
        out.push_back(kSeparator);
    std::size_t i = 0;
    while (i < path.size()) {
        std::size_t end = path.find(kSeparator, i);
        if (end == std::string_view::npos)
            end = path.size();
        const std::string_view component = path.substr(i, end - i);
        if (!component.empty() && component != ".") {
            out.append(component);
            out.push_back(kSeparator);
        }
        i = end + 1;
    }
    return out;
}

bool isStrictlyInside(std::string_view inner, std::string_view outer)
{
    const std::string in = normalizedFolder(inner);
    const std::string out = normalizedFolder(outer);
    return in.size() > out.size() && in.compare(0, out.size(), out) == 0;
}

} // namespace quarvel
