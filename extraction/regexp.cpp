#include "extraction/regexp.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

namespace tarvelo {

namespace {

// Limits of one match call. The match limit counts per starting position, so the
// deadline, checked in a callout at every starting position, bounds the whole call.
constexpr std::uint32_t kMatchLimit = 5'000'000;
constexpr std::uint32_t kDepthLimit = 100'000;
constexpr std::uint32_t kHeapLimitKiB = 64 * 1024;
constexpr std::string_view kDeadlineCallout = "(?C)";

struct Deadline {
    std::chrono::steady_clock::time_point at;
    std::uint32_t calls = 0;
    bool expired = false;
};

int checkDeadline(pcre2_callout_block*, void* data)
{
    auto* deadline = static_cast<Deadline*>(data);
    if ((++deadline->calls & 0xF) == 0 && std::chrono::steady_clock::now() > deadline->at) {
        deadline->expired = true;
        return PCRE2_ERROR_MATCHLIMIT;
    }
    return 0;
}

// Leading "(*VERB)" items must stay at the very start of a pattern.
std::size_t prefixEnd(std::string_view pattern)
{
    std::size_t at = 0;
    while (pattern.substr(at).starts_with("(*")) {
        const auto close = pattern.find(')', at);
        if (close == std::string_view::npos)
            break;
        at = close + 1;
    }
    return at;
}

} // namespace

const int RegExp::kErrorLimit = PCRE2_ERROR_MATCHLIMIT;
const int RegExp::kErrorNoMatch = PCRE2_ERROR_NOMATCH;

struct RegExp::Impl {
    pcre2_code* code = nullptr;
    pcre2_match_data* matchData = nullptr;
    pcre2_match_context* context = nullptr;
    pcre2_jit_stack* jitStack = nullptr;
    Deadline deadline;

    ~Impl()
    {
        pcre2_jit_stack_free(jitStack);
        pcre2_match_context_free(context);
        pcre2_match_data_free(matchData);
        pcre2_code_free(code);
    }
};

RegExp::RegExp() : m_impl(std::make_unique<Impl>()) {}

RegExp::~RegExp() = default;

bool RegExp::compile(std::string_view pattern, bool caseless)
{
    m_impl = std::make_unique<Impl>();
    const std::size_t insertAt = prefixEnd(pattern);
    std::string full;
    full.reserve(pattern.size() + kDeadlineCallout.size());
    full.append(pattern.substr(0, insertAt));
    full.append(kDeadlineCallout);
    full.append(pattern.substr(insertAt));

    std::uint32_t options = PCRE2_MULTILINE | PCRE2_DOTALL;
    if (caseless)
        options |= PCRE2_CASELESS;
    int error = 0;
    PCRE2_SIZE offset = 0;
    m_impl->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(full.data()), full.size(), options, &error, &offset,
                                 nullptr);
    if (!m_impl->code) {
        PCRE2_UCHAR buffer[256];
        if (pcre2_get_error_message(error, buffer, sizeof buffer) < 0)
            buffer[0] = 0;
        m_errorText = reinterpret_cast<const char*>(buffer);
        if (offset >= insertAt + kDeadlineCallout.size())
            offset -= kDeadlineCallout.size();
        else if (offset > insertAt)
            offset = insertAt;
        m_errorOffset = offset;
        return false;
    }
    pcre2_jit_compile(m_impl->code, PCRE2_JIT_COMPLETE); // the interpreter runs when JIT is not available
    m_impl->matchData = pcre2_match_data_create(kMaxSubstrings, nullptr);
    m_impl->context = pcre2_match_context_create(nullptr);
    pcre2_set_match_limit(m_impl->context, kMatchLimit);
    pcre2_set_depth_limit(m_impl->context, kDepthLimit);
    pcre2_set_heap_limit(m_impl->context, kHeapLimitKiB);
    pcre2_set_callout(m_impl->context, checkDeadline, &m_impl->deadline);
    m_impl->jitStack = pcre2_jit_stack_create(32 * 1024, 8 * 1024 * 1024, nullptr);
    if (m_impl->jitStack)
        pcre2_jit_stack_assign(m_impl->context, nullptr, m_impl->jitStack);
    m_errorText.clear();
    m_errorOffset = 0;
    return true;
}

int RegExp::match(std::string_view subject, std::size_t start)
{
    if (!m_impl->code)
        return PCRE2_ERROR_NULL;
    m_impl->deadline = Deadline{std::chrono::steady_clock::now() + m_timeLimit};
    const int rc = pcre2_match(m_impl->code, reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(), start, 0,
                               m_impl->matchData, m_impl->context);
    if (m_impl->deadline.expired)
        return kErrorLimit;
    return rc;
}

std::size_t RegExp::start(int i) const
{
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(m_impl->matchData);
    const PCRE2_SIZE value = ovector[2 * i];
    return value == PCRE2_UNSET ? std::string_view::npos : value;
}

std::size_t RegExp::end(int i) const
{
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(m_impl->matchData);
    const PCRE2_SIZE value = ovector[2 * i + 1];
    return value == PCRE2_UNSET ? std::string_view::npos : value;
}

} // namespace tarvelo
