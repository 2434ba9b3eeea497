#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace tarvelo {

// A Perl-compatible regular expression (PCRE2, 8-bit) compiled multi-line and with
// "." matching line breaks, optionally caseless. Matching is bounded: a match limit per
// starting position, depth and heap limits, and a deadline for the whole match, so a
// hostile pattern or page ends as a matching error instead of running on.
class RegExp {
public:
    static constexpr int kMaxSubstrings = 20; // the whole match and 19 captures
    // Returned by match() when the deadline or a limit ended the search.
    static const int kErrorLimit;
    static const int kErrorNoMatch;

    RegExp();
    ~RegExp();
    RegExp(const RegExp&) = delete;
    RegExp& operator=(const RegExp&) = delete;

    // Compiles; on failure errorText and errorOffset tell why and where.
    bool compile(std::string_view pattern, bool caseless);
    const std::string& errorText() const { return m_errorText; }
    std::size_t errorOffset() const { return m_errorOffset; }

    // Matches subject from start on. Returns the number of substrings set (at least
    // 1), 0 when there were more than kMaxSubstrings, or a negative library error
    // number (kErrorNoMatch when nothing matched).
    int match(std::string_view subject, std::size_t start);
    // Offsets of substring i of the last match; unset captures give npos for both.
    std::size_t start(int i) const;
    std::size_t end(int i) const;

    void setTimeLimit(std::chrono::milliseconds limit) { m_timeLimit = limit; }

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    std::string m_errorText;
    std::size_t m_errorOffset = 0;
    std::chrono::milliseconds m_timeLimit{1000};
};

} // namespace tarvelo
