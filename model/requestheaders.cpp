#include "model/requestheaders.h"
#include "platform/translation.h"

#include <algorithm>

namespace tarvelo {

namespace {

constexpr char kSeparator = '\t';

// Headers that would break the request or that the transfer sets for itself: the
// address's host, the framing of the message and the compression it unpacks.
constexpr std::string_view kRefusedNames[] = {
    "Host", "Content-Length", "Transfer-Encoding", "Connection", "Keep-Alive", "Upgrade", "TE", "Trailer",
    "Expect", "Proxy-Connection", "Accept-Encoding",
};

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

bool equalNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lower(x) == lower(y);
           });
}

bool isTokenChar(char c)
{
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
        return true;
    return std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

template <typename Each>
void forEachEntry(std::string_view stored, char separator, Each each)
{
    while (!stored.empty()) {
        const std::size_t end = std::min(stored.find(separator), stored.size());
        each(stored.substr(0, end));
        stored.remove_prefix(std::min(end + 1, stored.size()));
    }
}

} // namespace

std::vector<RequestHeader> requestHeadersOf(std::string_view stored)
{
    std::vector<RequestHeader> headers;
    forEachEntry(stored, kSeparator, [&](std::string_view entry) {
        const std::size_t colon = entry.find(':');
        if (colon != std::string_view::npos)
            headers.push_back({std::string(entry.substr(0, colon)), std::string(trimmed(entry.substr(colon + 1)))});
    });
    return headers;
}

std::string requestHeadersProblem(std::string_view stored)
{
    std::vector<std::string> names;
    std::string problem;
    forEachEntry(stored, kSeparator, [&](std::string_view entry) {
        if (!problem.empty())
            return;
        const std::size_t colon = entry.find(':');
        const std::string_view name = entry.substr(0, colon);
        if (colon == std::string_view::npos) {
            problem = translate("Servers", "a header needs the form \"Name: value\"");
            return;
        }
        if (name.empty() || !std::all_of(name.begin(), name.end(), isTokenChar)) {
            // The text before the colon may be a value typed without its name.
            problem = fill(translate("Servers", "header %1 has no valid name before its colon (letters, digits and "
                                                "!#$%&'*+-.^_`|~ only, no blanks)"),
                           {std::to_string(names.size() + 1)});
            return;
        }
        for (std::string_view refused : kRefusedNames) {
            if (equalNoCase(name, refused)) {
                problem = fill(translate("Servers", "the header %1 is set by the program itself and cannot be sent"),
                               {std::string(refused)});
                return;
            }
        }
        for (const std::string& earlier : names) {
            if (equalNoCase(earlier, name)) {
                problem = fill(translate("Servers", "the header %1 is given twice"), {std::string(name)});
                return;
            }
        }
        names.emplace_back(name);
        const std::string_view value = trimmed(entry.substr(colon + 1));
        if (value.empty()) {
            problem = fill(translate("Servers", "the header %1 has no value"), {std::string(name)});
            return;
        }
        if (!std::all_of(value.begin(), value.end(), [](char c) { return c >= 0x20 && c <= 0x7e; }))
            problem = fill(translate("Servers", "the value of the header %1 holds other than printable ASCII characters"),
                           {std::string(name)});
    });
    if (problem.empty() && names.size() > kMaxRequestHeaders)
        problem = fill(translate("Servers", "at most %1 headers can be sent"), {std::to_string(kMaxRequestHeaders)});
    if (problem.empty() && stored.size() > static_cast<std::size_t>(kMaxRequestHeadersLength))
        problem = fill(translate("Servers", "the headers are longer than %1 characters"),
                       {std::to_string(kMaxRequestHeadersLength)});
    return problem.empty() ? problem : fill(translate("Servers", "Headers: %1."), {problem});
}

std::string storedRequestHeaders(std::string_view lines)
{
    std::string stored;
    forEachEntry(lines, '\n', [&](std::string_view line) {
        line = trimmed(line);
        if (line.empty())
            return;
        if (!stored.empty())
            stored += kSeparator;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            stored += line; // refused by the check
            return;
        }
        stored += trimmed(line.substr(0, colon));
        stored += ": ";
        stored += trimmed(line.substr(colon + 1));
    });
    return stored;
}

std::string requestHeaderLines(std::string_view stored)
{
    std::string lines(stored);
    std::replace(lines.begin(), lines.end(), kSeparator, '\n');
    return lines;
}

std::string requestHeaderNames(std::string_view stored)
{
    std::string names;
    for (const RequestHeader& header : requestHeadersOf(stored))
        names += (names.empty() ? "" : ", ") + header.name;
    return names;
}

bool replacesHeader(std::string_view stored, std::string_view name)
{
    const std::vector<RequestHeader> headers = requestHeadersOf(stored);
    return std::any_of(headers.begin(), headers.end(), [&](const RequestHeader& h) { return equalNoCase(h.name, name); });
}

} // namespace tarvelo
