#include "engine/ContentMorph.h"

#include "engine/BufferSink.h"

#include <cerrno>
#include <utility>

namespace quarvel {

namespace {

std::int64_t TextLength(const std::string& text)
{
    return static_cast<std::int64_t>(text.size());
}

// The replacement text followed by the content. The new buffer is sized
// once and then takes the old one's place without a further copy, so a large
// file costs twice its size at most.
bool PrependText(const std::string& text, ByteBuffer& content)
{
    ByteBuffer prefixed;
    if (!prefixed.ReserveStorage(TextLength(text) + content.length()) ||
        !prefixed.AppendBytes(text.data(), TextLength(text)) ||
        !prefixed.AppendBytes(content.data(), content.length()))
        return false;
    content = std::move(prefixed);
    return true;
}

bool AppendText(const std::string& text, ByteBuffer& content)
{
    return content.ReserveStorage(content.length() + TextLength(text)) &&
           content.AppendBytes(text.data(), TextLength(text));
}

} // namespace

std::int64_t MorphContent(const ContentRules& rules, ByteBuffer& content)
{
    // The replacements are made whatever "Replace pattern with" says; it
    // decides only whether text is put in front or behind.
    const std::string& replacement = rules.pattern.replacement;
    std::int64_t changes =
        ReplaceAll(content, rules.pattern.text, replacement, rules.pattern.match);
    if (changes < 0 || rules.edit.replace)
        return changes;
    if (rules.edit.prepend) {
        if (!PrependText(replacement, content))
            return -1;
        if (changes == 0)
            changes = 1;
    }
    if (rules.edit.append) {
        if (!AppendText(replacement, content))
            return -1;
        if (changes == 0)
            changes = 1;
    }
    return changes;
}

LoadedContent LoadMorphedContent(FileSystem& fs, const ContentRules& rules, const std::string& path,
                                 bool followLink, ByteBuffer& content)
{
    LoadedContent loaded;
    content.Reset();
    // Room for the appended text, so that appending does not move a large
    // content once more.
    const std::int64_t headroom =
        !rules.edit.replace && rules.edit.append ? TextLength(rules.pattern.replacement) : 0;
    BufferSink sink(content, headroom);
    loaded.status = fs.readFile(path, followLink, sink);
    if (!loaded.status) {
        loaded.outcome = loaded.status.code() == Status::kNotRegularFile ? LoadOutcome::NotRegular
                                                                         : LoadOutcome::Failed;
        return loaded;
    }
    loaded.changes = MorphContent(rules, content);
    if (loaded.changes < 0) {
        loaded.outcome = LoadOutcome::Failed;
        loaded.status = Status::error(ENOMEM);
        loaded.changes = 0;
        return loaded;
    }
    loaded.outcome = loaded.changes > 0 ? LoadOutcome::Changed : LoadOutcome::Unchanged;
    return loaded;
}

} // namespace quarvel
