#pragma once

#include "platform/Status.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace quarvel {

// A file opened for reading its content by offset (FileSystem::openContent).
class OpenedContent
{
public:
    virtual ~OpenedContent() = default;
    // Reads up to `size` bytes at `offset`; `got` 0 means the end.
    virtual Status readAt(std::int64_t offset, char* into, std::int64_t size,
                          std::int64_t& got) const = 0;
};

// A file's new content on its way to its destination (FileSystem::
// stageRewrite, stageCopy): written in pieces, then put in place in one step
// by commit(). Until then nothing at the destination or the source changes,
// and content that is never committed leaves nothing behind.
class StagedContent
{
public:
    virtual ~StagedContent() = default;
    virtual Status write(std::span<const std::string_view> pieces) = 0;
    // Appends the bytes [offset, offset + length) of `from`, opened by the
    // same file system.
    virtual Status copyFrom(const OpenedContent& from, std::int64_t offset,
                            std::int64_t length) = 0;
    // Appends everything written to `other` (committed or not), staged by
    // the same file system: a copy made from the completed content.
    virtual Status copyContentOf(const StagedContent& other) = 0;
    // Puts the content in place with the rules of rewriteFile or writeCopy;
    // on failure the destination and the source are as they were.
    virtual Status commit() = 0;
};

// Appends `from`'s bytes [offset, offset + length) to `into` through a
// buffer: for content that the kernel cannot copy between the two.
Status copyByReading(const OpenedContent& from, std::int64_t offset, std::int64_t length,
                     StagedContent& into);

// A whole content held in memory, read by offset.
class ContentInMemory : public OpenedContent
{
public:
    explicit ContentInMemory(std::string content) : m_content(std::move(content)) {}
    Status readAt(std::int64_t offset, char* into, std::int64_t size,
                  std::int64_t& got) const override;

private:
    std::string m_content;
};

// Staged content held in memory (or, with `keep` false, not held at all),
// handed as a whole to `place` at commit: the staging of file systems that
// write whole contents (test doubles, the dry run).
class StagedInMemory : public StagedContent
{
public:
    using Place = std::function<Status(std::string_view content)>;

    StagedInMemory(Place place, bool keep) : m_place(std::move(place)), m_keep(keep) {}

    Status write(std::span<const std::string_view> pieces) override;
    Status copyFrom(const OpenedContent& from, std::int64_t offset, std::int64_t length) override;
    Status copyContentOf(const StagedContent& other) override;
    Status commit() override { return m_place(m_content); }

private:
    Place m_place;
    bool m_keep;
    std::string m_content;
};

} // namespace quarvel
