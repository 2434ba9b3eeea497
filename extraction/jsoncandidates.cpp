#include "extraction/jsoncandidates.h"

#include "extraction/extract.h"
#include "extraction/jsonsearch.h"
#include "extraction/numberparser.h"
#include "platform/codepage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>

namespace tarvelo {

namespace {

constexpr std::int64_t kDay = 24 * 60 * 60;
constexpr std::int64_t kDatesBack = 36 * 366 * kDay;

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

std::string lowered(std::string_view text)
{
    std::string low(text);
    std::transform(low.begin(), low.end(), low.begin(), asciiLower);
    return low;
}

bool isPlainKey(std::string_view key)
{
    return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'
               || c == '$';
    });
}

bool priceLikeKey(std::string_view key)
{
    const std::string low = lowered(key);
    for (const char* word : {"price", "last", "close", "value", "rate"}) {
        if (low.find(word) != std::string::npos)
            return true;
    }
    return false;
}

bool dateLikeKey(std::string_view key)
{
    const std::string low = lowered(key);
    return low.find("date") != std::string::npos || low.find("time") != std::string::npos || low == "d"
           || low == "t" || low == "ts";
}

// Whether a path can be stored: the store keeps at most 259 bytes of a path and no line
// break or other control character.
bool storable(std::string_view path)
{
    return path.size() <= 259
           && std::none_of(path.begin(), path.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

bool sameValue(double a, double b)
{
    return std::fabs(a - b) <= 1e-12 * std::max(1.0, std::fabs(b));
}

// A path found, before it is checked.
struct Found {
    std::vector<JsonStep> path; // with [-1] for an array's last element
    bool isText = false;        // a string written as typed, else a number
    Separators format;          // Windows-1252, as the page is searched
    double value = 0.0;         // the number found, then the typed quotation's reading
    std::string formatNote;
    std::string datePath;       // as stored
    std::size_t textLength = 0; // of the path as text
};

std::vector<JsonStep> withLastIndices(std::vector<JsonStep> path, const std::vector<long long>& sizes)
{
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i].isIndex && sizes[i] > 1 && path[i].index == sizes[i] - 1)
            path[i].index = -1;
    }
    return path;
}

bool samePrefix(const std::vector<JsonStep>& a, const std::vector<JsonStep>& b, std::size_t length)
{
    if (a.size() < length || b.size() < length)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (a[i].isIndex != b[i].isIndex || a[i].index != b[i].index || a[i].key != b[i].key)
            return false;
    }
    return true;
}

// The date path for a value's path: a date member of the value's object, else of the
// objects around it, nearest first.
std::string datePathFor(const std::vector<JsonStep>& path, const std::vector<std::vector<JsonStep>>& dates,
                        std::string_view name, std::string_view symbol)
{
    for (std::size_t level = path.size(); level-- > 0;) {
        for (const std::vector<JsonStep>& date : dates) {
            if (date.size() == level + 1 && samePrefix(date, path, level))
                return jsonPathText(date, name, symbol);
        }
    }
    return {};
}

} // namespace

std::string jsonPathText(const std::vector<JsonStep>& path, std::string_view name, std::string_view symbol)
{
    std::string text = "$";
    for (const JsonStep& step : path) {
        if (step.isIndex) {
            text += "[" + std::to_string(step.index) + "]";
        } else if (!name.empty() && step.key == name) {
            text += ".[&name]";
        } else if (!symbol.empty() && step.key == symbol) {
            text += ".[&symbol]";
        } else if (isPlainKey(step.key)) {
            text += "." + step.key;
        } else {
            text += "[\"";
            for (char c : step.key) {
                if (c == '"' || c == '\\')
                    text += '\\';
                text += c;
            }
            text += "\"]";
        }
    }
    return text;
}

bool jsonCandidateReads(std::string_view rawPage, const RuleCandidate& candidate, double value,
                        const std::string& itemName, const std::string& itemSymbol)
{
    const ExtractionResult result = runExtractionOnPage(searchedRule(candidate, itemName, itemSymbol), rawPage, 0);
    return result.code == kFound && sameValue(result.value, value);
}

std::vector<RuleCandidate> jsonCandidates(std::string_view rawPage, std::string_view page, std::string_view typedUtf8,
                                          const Separators& preferred, const std::string& itemName,
                                          const std::string& itemSymbol, TimeStamp now)
{
    std::vector<RuleCandidate> candidates;
    if (typedUtf8.empty() || !fitsCp1252(typedUtf8))
        return candidates;
    const std::string typed = utf8ToCp1252(typedUtf8);
    // The values a number in the data may have to be the typed quotation: the typed text
    // read in each format it fits ("1.234" is 1.234 or 1234).
    std::vector<std::pair<Separators, double>> readings;
    for (const Separators& format : formatsOfNumber(typed)) {
        if (const std::optional<double> value = valueInFormat(typed, format))
            readings.emplace_back(format, *value);
    }
    if (readings.empty())
        return candidates;

    std::vector<Found> found;
    forEachJsonInPage(rawPage, [&](const JsonReader& data) {
        std::vector<Found> here;
        std::vector<std::vector<JsonStep>> dates;
        data.forEachLeaf([&](const std::vector<JsonStep>& path, const std::vector<long long>& sizes,
                             const JsonValue& value) {
            if (!path.empty() && !path.back().isIndex && dateLikeKey(path.back().key)) {
                std::int64_t time = 0;
                bool hasTime = false;
                if (readJsonDate(value, time, hasTime) && time >= now - kDatesBack && time <= now + kDay)
                    dates.push_back(withLastIndices(path, sizes));
            }
            Found f;
            if (value.kind == JsonValue::Kind::Number) {
                if (std::none_of(readings.begin(), readings.end(),
                                 [&](const auto& r) { return sameValue(value.number, r.second); }))
                    return;
                f.value = value.number;
            } else if (value.kind == JsonValue::Kind::Text) {
                std::string_view text = value.text;
                while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
                    text.remove_prefix(1);
                while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
                    text.remove_suffix(1);
                if (text != typedUtf8)
                    return;
                f.isText = true;
            } else {
                return;
            }
            f.path = withLastIndices(path, sizes);
            f.textLength = jsonPathText(f.path).size();
            here.push_back(std::move(f));
        });
        for (Found& f : here)
            f.datePath = datePathFor(f.path, dates, itemName, itemSymbol);
        std::move(here.begin(), here.end(), std::back_inserter(found));
        return false;
    });

    if (found.empty())
        return candidates;
    // The format the typed quotation is written in, as the standard search's rules get it
    // (the page's numbers take part, so it is worked out only when a path was found).
    const Separators preferredPair{utf8ToCp1252(preferred.thousands), utf8ToCp1252(preferred.decimal)};
    const std::optional<FormatChoice> typedChoice = chooseFormat(typed, page, preferredPair);
    if (!typedChoice)
        return candidates;
    for (Found& f : found) {
        // A string is read in the chosen format; a number takes that reading when it is
        // the one, else the other reading it equals.
        if (f.isText || sameValue(f.value, typedChoice->value)) {
            f.formatNote = f.isText && typedChoice->ambiguous ? "ambiguous" : "";
            f.format = typedChoice->format;
            f.value = typedChoice->value;
        } else {
            const auto reading = std::find_if(readings.begin(), readings.end(),
                                               [&](const auto& r) { return sameValue(f.value, r.second); });
            f.format = reading->first;
            f.value = reading->second;
        }
    }

    const auto priceLike = [](const Found& f) {
        return std::any_of(f.path.begin(), f.path.end(),
                           [](const JsonStep& step) { return !step.isIndex && priceLikeKey(step.key); });
    };
    std::stable_sort(found.begin(), found.end(), [&](const Found& a, const Found& b) {
        const bool aPrice = priceLike(a);
        const bool bPrice = priceLike(b);
        if (aPrice != bPrice)
            return aPrice;
        if (a.path.size() != b.path.size())
            return a.path.size() < b.path.size();
        return a.textLength < b.textLength;
    });

    // Where the typed text stands in the searched page, for the highlight: only when it
    // stands there once, since the data does not tell which place a path leads to.
    const void* at = memmem(page.data(), page.size(), typed.data(), typed.size());
    if (at) {
        const std::size_t after = static_cast<std::size_t>(static_cast<const char*>(at) - page.data()) + 1;
        if (memmem(page.data() + after, page.size() - after, typed.data(), typed.size()) != nullptr)
            at = nullptr;
    }
    // Each check runs the search over the whole page: a bounded number of them.
    std::size_t checks = 0;
    for (const Found& f : found) {
        if (candidates.size() >= kMaxJsonCandidates || checks >= 2 * kMaxJsonCandidates)
            break;
        RuleCandidate candidate;
        candidate.jsonPath = jsonPathText(f.path, itemName, itemSymbol);
        if (!storable(candidate.jsonPath)
            || std::any_of(candidates.begin(), candidates.end(),
                           [&](const RuleCandidate& c) { return c.jsonPath == candidate.jsonPath; }))
            continue;
        candidate.jsonDatePath = storable(f.datePath) ? f.datePath : std::string();
        candidate.quotation = typed;
        candidate.format = {cp1252ToUtf8(f.format.thousands), cp1252ToUtf8(f.format.decimal)};
        if (at) {
            candidate.start = static_cast<std::size_t>(static_cast<const char*>(at) - page.data());
            candidate.length = typed.size();
        }
        if (!f.formatNote.empty())
            candidate.formatNote = candidateFormatNote(typedUtf8, *typedChoice);
        ++checks;
        if (!jsonCandidateReads(rawPage, candidate, f.value, itemName, itemSymbol)) {
            // A date that does not read drops the date, not the path.
            candidate.jsonDatePath.clear();
            if (f.datePath.empty() || !jsonCandidateReads(rawPage, candidate, f.value, itemName, itemSymbol))
                continue;
        }
        candidates.push_back(std::move(candidate));
    }
    return candidates;
}

} // namespace tarvelo
