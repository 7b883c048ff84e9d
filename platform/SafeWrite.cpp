#include "platform/SafeWrite.h"

#include "platform/StagedFile.h"

namespace quarvel {

namespace {

// The whole content staged at once and committed.
Status writeWhole(StagedFile& staged, StagedFile::Purpose purpose, const std::string& source,
                  const std::string& target, std::string_view content)
{
    if (Status created = staged.create(purpose, source, target); !created)
        return created;
    if (Status written = staged.write(content); !written)
        return written;
    return staged.commit();
}

} // namespace

Status SafeWrite::rewrite(const std::string& source, const std::string& target,
                          std::string_view content)
{
    StagedFile staged(m_hook, m_written, m_anonymous);
    return writeWhole(staged, StagedFile::Purpose::Rewrite, source, target, content);
}

Status SafeWrite::writeCopy(const std::string& source, const std::string& target,
                            std::string_view content)
{
    StagedFile staged(m_hook, m_written, m_anonymous);
    return writeWhole(staged, StagedFile::Purpose::Copy, source, target, content);
}

} // namespace quarvel
