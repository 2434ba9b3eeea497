#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A configuration's own request headers. The field "Headers" holds them as
// "Name: value" entries separated by a tab (a character no header may hold), so that
// the settings file and the export file keep the field on one line; editors show one
// header a line.
namespace tarvelo {

struct RequestHeader {
    std::string name;
    std::string value;
};

// The most headers a configuration sends, and the longest the field may be.
inline constexpr std::size_t kMaxRequestHeaders = 8;
inline constexpr std::int32_t kMaxRequestHeadersLength = 2048;

// The headers of a stored field, in their order; entries without a colon are left out
// (a checked field has none).
std::vector<RequestHeader> requestHeadersOf(std::string_view stored);
// Why a stored field is refused, or empty: a name that is no token or that the
// program sets itself (Host, Content-Length, ...), a value with other than printable
// ASCII or none at all, a name given twice, more than kMaxRequestHeaders. The message
// names headers by their name only, never by their value.
std::string requestHeadersProblem(std::string_view stored);
// The stored field of lines "Name: value" as a user types them: blank lines are left
// out, blanks around names and values removed. Not checked.
std::string storedRequestHeaders(std::string_view lines);
// The same headers one a line, for an editor.
std::string requestHeaderLines(std::string_view stored);
// The names alone, "Accept, X-Api-Key"; what status texts and reports show.
std::string requestHeaderNames(std::string_view stored);
// Whether a header the program sends by itself is to give way to one of the field's.
bool replacesHeader(std::string_view stored, std::string_view name);

} // namespace tarvelo
