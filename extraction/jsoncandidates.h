#pragma once

#include "extraction/rulecandidates.h"
#include "platform/jsonreader.h"
#include "platform/localtime.h"

#include <string>
#include <string_view>
#include <vector>

// The wizard's JSON proposals: paths in a page's JSON data (the page itself, or the data
// in its scripts) whose value is the quotation the user typed.
namespace tarvelo {

inline constexpr std::size_t kMaxJsonCandidates = 20;

// The paths whose value reads as the typed quotation (UTF-8, trimmed): a string that is
// the typed text, or a number that the typed text reads as in one of its formats. Each
// is checked with the JSON search as the wizard would store it (keys that are the item's
// name or symbol become [&name] and [&symbol]); an array's last element is taken as
// [-1], since lists of quotations grow at the end. A path beside which, in the same
// object or one around it, a member named like a date holds a date of the last 36 years
// up to tomorrow, gets that member as its date path. Order: paths with a key named like
// a price (price, last, close, value, rate) first, then fewer steps, then shorter paths.
// Paths the store cannot keep (over 259 bytes, a control character) are left out. At
// most kMaxJsonCandidates. rawPage is the page as it came or in Windows-1252; page,
// the searched text, only places the highlighted span.
std::vector<RuleCandidate> jsonCandidates(std::string_view rawPage, std::string_view page, std::string_view typedUtf8,
                                          const Separators& preferred, const std::string& itemName,
                                          const std::string& itemSymbol, TimeStamp now);

// Whether the JSON search with the candidate as the wizard would store it, in the
// candidate's format, reads value from the page.
bool jsonCandidateReads(std::string_view rawPage, const RuleCandidate& candidate, double value,
                        const std::string& itemName, const std::string& itemSymbol);

// A path as text: "$" then ".key" for a plain key, ["key"] for any other, [N] for an
// index; keys equal to name or symbol (when not empty) as [&name] and [&symbol].
std::string jsonPathText(const std::vector<JsonStep>& path, std::string_view name = {}, std::string_view symbol = {});

} // namespace tarvelo
