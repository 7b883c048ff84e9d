#include "platform/JournalStore.h"

#include "platform/WriteAll.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quarvel {

namespace {

constexpr std::string_view kRunPrefix = "run-";
constexpr const char* kLastLink = "last";

std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    ::closedir(dir);
    return names;
}

// A journal folder holds files only.
void removeFolder(const std::string& folder)
{
    for (const std::string& name : namesIn(folder))
        ::unlink((folder + name).c_str());
    ::rmdir(folder.c_str());
}

Status openLocked(const std::string& path, int flags, OpenJournal& journal)
{
    journal.file.reset(::open(path.c_str(), flags | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!journal.file.isOpen())
        return Status::fromErrno();
    if (::flock(journal.file.get(), LOCK_EX | LOCK_NB) != 0) {
        const Status busy = Status::error(errno == EWOULDBLOCK ? EBUSY : errno);
        journal.file.reset();
        return busy;
    }
    return Status::ok();
}

// True when no run or undo holds the journal in `folder`.
bool unused(const std::string& folder)
{
    OpenJournal probe;
    const Status opened = openLocked(folder + JournalStore::kEntryFile, O_RDONLY, probe);
    return opened || opened.code() == ENOENT;
}

} // namespace

Status JournalStore::makeStateFolder()
{
    // Each missing level of the state folder, from the outside in.
    for (std::size_t at = m_state.find('/', 1); at != std::string::npos;
         at = m_state.find('/', at + 1)) {
        if (::mkdir(m_state.substr(0, at).c_str(), 0700) != 0 && errno != EEXIST)
            return Status::fromErrno();
    }
    return Status::ok();
}

Status JournalStore::create(OpenJournal& journal)
{
    if (Status made = makeStateFolder(); !made)
        return made;
    // The folder gets its run- name only once its journal is locked, so that
    // another run's clean-up never takes it for an unused one.
    std::string fresh = m_state + "new-XXXXXX";
    if (::mkdtemp(fresh.data()) == nullptr)
        return Status::fromErrno();
    fresh += '/';
    const std::string name = std::string(kRunPrefix) + fresh.substr(fresh.size() - 7, 6);
    const std::string folder = m_state + name + '/';
    Status opened = openLocked(fresh + kEntryFile, O_RDWR | O_CREAT | O_EXCL, journal);
    if (opened && ::rename(fresh.c_str(), folder.c_str()) != 0)
        opened = Status::fromErrno();
    if (!opened) {
        removeFolder(fresh);
        journal.file.reset();
        return opened;
    }
    journal.folder = folder;
    // The new link takes the old one's place in one step.
    const std::string link = m_state + kLastLink;
    const std::string temporary = link + ".new" + name;
    if (::symlink(name.c_str(), temporary.c_str()) != 0 ||
        ::rename(temporary.c_str(), link.c_str()) != 0) {
        const Status failed = Status::fromErrno();
        ::unlink(temporary.c_str());
        remove(journal);
        return failed;
    }
    removeOthers(name);
    return Status::ok();
}

void JournalStore::removeOthers(const std::string& keep)
{
    for (const std::string& name : namesIn(m_state)) {
        const std::string folder = m_state + name + '/';
        if (name != keep && name.starts_with(kRunPrefix) && unused(folder))
            removeFolder(folder);
    }
}

Status JournalStore::openLast(OpenJournal& journal)
{
    char target[256];
    const ssize_t length = ::readlink((m_state + kLastLink).c_str(), target, sizeof target - 1);
    if (length < 0)
        return Status::fromErrno();
    const std::string name(target, static_cast<std::size_t>(length));
    if (!name.starts_with(kRunPrefix) || name.find('/') != std::string::npos)
        return Status::error(ENOENT);
    journal.folder = m_state + name + '/';
    return openLocked(journal.folder + kEntryFile, O_RDWR, journal);
}

void JournalStore::remove(OpenJournal& journal)
{
    char target[256];
    const std::string link = m_state + kLastLink;
    const ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
    if (length > 0 &&
        m_state + std::string(target, static_cast<std::size_t>(length)) + '/' == journal.folder)
        ::unlink(link.c_str());
    removeFolder(journal.folder);
    journal.file.reset();
}

Status JournalStore::rewrite(OpenJournal& journal, const std::string& text)
{
    if (::ftruncate(journal.file.get(), 0) != 0 || ::lseek(journal.file.get(), 0, SEEK_SET) != 0)
        return Status::fromErrno();
    return writeAll(journal.file.get(), text);
}

Status JournalStore::read(const OpenJournal& journal, std::string& text)
{
    text.clear();
    char buffer[65536];
    for (off_t at = 0;;) {
        const ssize_t got = ::pread(journal.file.get(), buffer, sizeof buffer, at);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Status::fromErrno();
        if (got == 0)
            return Status::ok();
        text.append(buffer, static_cast<std::size_t>(got));
        at += got;
    }
}

void JournalStore::removeEntry(const OpenJournal& journal, const std::string& name)
{
    ::unlink((journal.folder + name).c_str());
}

void JournalStore::sync(const OpenJournal& journal)
{
    if (journal.file.isOpen())
        ::syncfs(journal.file.get());
}

} // namespace quarvel
