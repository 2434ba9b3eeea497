#pragma once

#include "extraction/search.h"
#include "platform/jsonreader.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The JSON search: a quotation read from JSON data, the page itself or a script in it,
// by a path.
//
// Paths are a small part of JSONPath: "$" is the whole value; ".key" an object's member
// (a key up to the next "." or "["); ["key"] or ['key'] any key, with backslash escapes
// for a quote or a backslash in it; [N] an array's element from 0, [-N] one counted from
// the end ([-1] is the last). For example $.quote.last, $.data[0].price,
// $["last price"], $.closes[-1].
namespace tarvelo {

struct JsonRule {
    std::string valuePath; // UTF-8, the item's variables put in
    std::string datePath;  // empty: the quotation is stamped with now
    std::string timePath;  // empty: the date's own time, if any
    std::string thousands; // how a value given as a string is read
    std::string decimal;
};

// The steps of a path; false with problem set when the path is malformed.
bool parseJsonPath(std::string_view path, std::vector<JsonStep>& steps, std::string& problem);

// The path with the first [&name] and the first [&symbol] put in, each as a key of its
// own where it stands as a step ($.rates.[&symbol] and $.rates[&symbol] read as
// $.rates["BRK.B"] for the symbol BRK.B), escaped inside a quoted key, and as it is
// within a longer key ($.price_[&symbol]).
std::string expandJsonPathVariables(std::string_view path, std::string_view name, std::string_view symbol);

// The moment a date value stands for: an ISO date "2026-03-14", or a date and time
// "2026-03-14T17:35", "2026-03-14 17:35:10", local time unless it ends in "Z" or an
// offset ("+01:00", "-0500"); or a Unix time, a number or a string of digits, in
// seconds, or in milliseconds when it is 100000000000 or more (in seconds that would lie
// after the year 5000, in milliseconds it is after March 1973). hasTime tells whether the
// value held a time of day. False when the value is none of these or out of range.
bool readJsonDate(const JsonValue& value, std::int64_t& time, bool& hasTime);

// Each JSON object or array the search would look at in a page (as it came): the page
// itself when it is JSON, else those in its scripts, in turn, until visit returns true.
// Data the search refuses (too large, too deep, invalid) is not visited.
void forEachJsonInPage(std::string_view page, const std::function<bool(const JsonReader&)>& visit);

// The search on a page in memory (as it came, not converted): the page as one JSON
// object or array when it begins with one, else every <script> element in turn (the
// tag name in lower, upper or capitalised letters), where the first JSON object or
// array that holds the value's path is used. The page is read
// as UTF-8 when it is valid UTF-8, else as Windows-1252. Pages over 64 MiB and data
// nested deeper than 256 levels are refused with a message. The value is a number as it
// stands or a string read with the rule's separators; the time is the date path's (with
// the time path's hour and minute), seconds 0, else now. The message is UTF-8.
ExtractionResult jsonSearchInPage(std::string_view page, const JsonRule& rule, TimeStamp now);

} // namespace tarvelo
