#include "engine/RegexMatcher.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>
#include <vector>

namespace quarvel {

namespace {

// One piece of the replacement: literal text, or the text of a group.
struct ReplacementPiece
{
    std::string text;
    int group = -1; // -1: `text` is literal
};

std::string pcreMessage(int code)
{
    PCRE2_UCHAR buffer[256];
    if (pcre2_get_error_message(code, buffer, sizeof buffer) < 0)
        return "error " + std::to_string(code);
    return reinterpret_cast<const char*>(buffer);
}

Status statusOf(int code)
{
    switch (code) {
    case PCRE2_ERROR_MATCHLIMIT:
        return Status::error(Status::kRegexMatchLimit);
    case PCRE2_ERROR_DEPTHLIMIT:
    case PCRE2_ERROR_HEAPLIMIT:
    case PCRE2_ERROR_JIT_STACKLIMIT:
    case PCRE2_ERROR_NOMEMORY:
        return Status::error(Status::kRegexDepthLimit);
    default:
        return Status::error(Status::kRegexFailed);
    }
}

} // namespace

struct RegexMatcher::Impl
{
    pcre2_code* code = nullptr;
    std::vector<ReplacementPiece> pieces;
    std::int64_t lookBehind = 1;

    ~Impl() { pcre2_code_free(code); }

    bool ParseReplacement(std::string_view replacement, bool literal, std::string& error);
    bool AddGroup(std::string_view reference, std::string& error);
};

// `$$` is a `$`; `$` with digits, or `${` a number or a name `}`, is a
// group; any other `$` is itself.
bool RegexMatcher::Impl::ParseReplacement(std::string_view replacement, bool literal,
                                          std::string& error)
{
    pieces.push_back({});
    if (literal) {
        pieces.back().text = replacement;
        return true;
    }
    for (std::size_t i = 0; i < replacement.size(); ++i) {
        const char c = replacement[i];
        const char next = i + 1 < replacement.size() ? replacement[i + 1] : '\0';
        if (c != '$' || (next != '$' && next != '{' && (next < '0' || next > '9'))) {
            pieces.back().text += c;
            continue;
        }
        if (next == '$') {
            pieces.back().text += '$';
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        std::string_view reference;
        if (next == '{') {
            end = replacement.find('}', i + 2);
            if (end == std::string_view::npos) {
                error = "unterminated ${ in the replacement at offset " + std::to_string(i);
                return false;
            }
            reference = replacement.substr(i + 2, end - i - 2);
        } else {
            while (end < replacement.size() && replacement[end] >= '0' && replacement[end] <= '9')
                ++end;
            reference = replacement.substr(i + 1, end - i - 1);
            --end;
        }
        if (!AddGroup(reference, error))
            return false;
        i = end;
    }
    return true;
}

bool RegexMatcher::Impl::AddGroup(std::string_view reference, std::string& error)
{
    std::uint32_t groups = 0;
    pcre2_pattern_info(code, PCRE2_INFO_CAPTURECOUNT, &groups);
    int number = -1;
    const bool numeric =
        !reference.empty() && reference.find_first_not_of("0123456789") == std::string_view::npos;
    if (numeric && reference.size() <= 6) {
        number = std::stoi(std::string(reference));
    } else if (!numeric) {
        const std::string name(reference);
        number = pcre2_substring_number_from_name(code, reinterpret_cast<PCRE2_SPTR>(name.c_str()));
    }
    if (number < 0 || static_cast<std::uint32_t>(number) > groups) {
        error = "the replacement refers to group '" + std::string(reference) +
                "', which the expression does not have";
        return false;
    }
    pieces.push_back({{}, number});
    pieces.push_back({});
    return true;
}

struct RegexMatcher::MatchState
{
    pcre2_match_data* data = nullptr;
    pcre2_match_context* context = nullptr;
    pcre2_jit_stack* stack = nullptr;

    explicit MatchState(const pcre2_code* code)
        : data(pcre2_match_data_create_from_pattern(code, nullptr)),
          context(pcre2_match_context_create(nullptr)),
          stack(pcre2_jit_stack_create(32 * 1024, 8 * 1024 * 1024, nullptr))
    {
        pcre2_set_match_limit(context, kMatchLimit);
        pcre2_set_depth_limit(context, kDepthLimit);
        pcre2_set_heap_limit(context, kHeapLimitKiB);
        if (stack != nullptr)
            pcre2_jit_stack_assign(context, nullptr, stack);
    }
    ~MatchState()
    {
        pcre2_jit_stack_free(stack);
        pcre2_match_context_free(context);
        pcre2_match_data_free(data);
    }
    MatchState(const MatchState&) = delete;
    MatchState& operator=(const MatchState&) = delete;
};

std::unique_ptr<RegexMatcher> RegexMatcher::Compile(std::string_view pattern,
                                                    std::string_view replacement, RegexFlags flags,
                                                    std::string& error)
{
    std::uint32_t options = 0;
    if (flags.caseless)
        options |= PCRE2_CASELESS;
    if (flags.unicode)
        options |= PCRE2_UTF | PCRE2_UCP | PCRE2_MATCH_INVALID_UTF;
    int code = 0;
    PCRE2_SIZE offset = 0;
    auto impl = std::make_shared<Impl>();
    impl->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                               options, &code, &offset, nullptr);
    if (impl->code == nullptr) {
        error = pcreMessage(code) + " at offset " + std::to_string(offset);
        return nullptr;
    }
    if (!impl->ParseReplacement(replacement, flags.literalReplacement, error))
        return nullptr;
    // Without the JIT the interpreter runs, under the same limits.
    pcre2_jit_compile(impl->code, PCRE2_JIT_COMPLETE | PCRE2_JIT_PARTIAL_HARD);
    std::uint32_t behind = 0;
    pcre2_pattern_info(impl->code, PCRE2_INFO_MAXLOOKBEHIND, &behind);
    // \b and a multi-line ^ look at one character in front; a UTF-8
    // character is up to four bytes.
    impl->lookBehind = static_cast<std::int64_t>(behind > 0 ? behind : 1) * (flags.unicode ? 4 : 1);
    return std::unique_ptr<RegexMatcher>(new RegexMatcher(std::move(impl), flags.unicode));
}

RegexMatcher::RegexMatcher(std::shared_ptr<const Impl> impl, bool unicode)
    : m_impl(std::move(impl)), m_state(std::make_unique<MatchState>(m_impl->code)),
      m_unicode(unicode)
{
}

RegexMatcher::RegexMatcher(const RegexMatcher& other)
    : m_impl(other.m_impl), m_state(std::make_unique<MatchState>(m_impl->code)),
      m_unicode(other.m_unicode)
{
}

RegexMatcher::~RegexMatcher() = default;

RegexFind RegexMatcher::Find(const char* subject, std::int64_t length, std::int64_t from, bool more,
                             bool notBol, bool notEmptyHere)
{
    std::uint32_t options = 0;
    if (more)
        options |= PCRE2_PARTIAL_HARD;
    if (notBol)
        options |= PCRE2_NOTBOL;
    if (notEmptyHere)
        options |= PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED;
    const int rc = pcre2_match(m_impl->code, reinterpret_cast<PCRE2_SPTR>(subject),
                               static_cast<PCRE2_SIZE>(length), static_cast<PCRE2_SIZE>(from),
                               options, m_state->data, m_state->context);
    if (rc >= 0)
        return RegexFind::Match;
    if (rc == PCRE2_ERROR_NOMATCH)
        return RegexFind::None;
    if (rc == PCRE2_ERROR_PARTIAL)
        return RegexFind::Partial;
    m_failure = statusOf(rc);
    return RegexFind::Failed;
}

RegexSpan RegexMatcher::span() const
{
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(m_state->data);
    return {static_cast<std::int64_t>(ovector[0]), static_cast<std::int64_t>(ovector[1])};
}

void RegexMatcher::AppendReplacement(const char* subject, std::string& out) const
{
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(m_state->data);
    const std::uint32_t pairs = pcre2_get_ovector_count(m_state->data);
    for (const ReplacementPiece& piece : m_impl->pieces) {
        if (piece.group < 0) {
            out += piece.text;
            continue;
        }
        const auto group = static_cast<std::uint32_t>(piece.group);
        if (group >= pairs || ovector[2 * group] == PCRE2_UNSET)
            continue; // a group that took no part in the match is empty
        out.append(subject + ovector[2 * group], ovector[2 * group + 1] - ovector[2 * group]);
    }
}

std::int64_t RegexMatcher::lookBehindBytes() const
{
    return m_impl->lookBehind;
}

bool isSearchFailure(const Status& status)
{
    const int code = status.code();
    return code == Status::kRegexMatchLimit || code == Status::kRegexDepthLimit ||
           code == Status::kRegexFailed || code == Status::kRegexTooLong;
}

} // namespace quarvel
