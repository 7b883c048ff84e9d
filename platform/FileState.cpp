#include "platform/FileState.h"

#include "platform/AtPath.h"

#include <sys/stat.h>

namespace quarvel {

FileState fileStateOf(const std::string& path)
{
    FileState state;
    const AtPath at(path);
    struct stat st;
    if (!at.status() || ::fstatat(at.dirFd(), at.name(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return state;
    state.exists = true;
    state.mode = st.st_mode;
    state.uid = st.st_uid;
    state.gid = st.st_gid;
    state.size = static_cast<std::uint64_t>(st.st_size);
    state.mtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    state.device = st.st_dev;
    state.inode = st.st_ino;
    return state;
}

} // namespace quarvel
