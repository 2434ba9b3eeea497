#include "extraction/candidateexplanation.h"

#include "extraction/page.h"
#include "extraction/search.h"
#include "platform/codepage.h"
#include "platform/translation.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace tarvelo {

namespace {

// Looking at more places than this tells nothing new.
constexpr std::size_t kMostPlaces = 40;
constexpr std::size_t kContextBefore = 30;
constexpr std::size_t kMostKey = 64;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isKeyCharacter(char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$';
}

enum class Place { Text, Script, Tag };

// Where the value stands in the page before conversion, and what surrounds it.
struct Occurrence {
    std::size_t at = 0;
    std::size_t size = 0;
    Place place = Place::Text;
    bool partOfNumber = false;
    std::size_t keyAt = std::string_view::npos; // where a JSON key before it starts
    std::string keyPrefix;                      // that key as an expression, up to the value
    Separators format;                          // the format in which it reads the typed value
};

// The bodies of the page's script elements.
std::vector<std::pair<std::size_t, std::size_t>> scriptBodies(std::string_view raw)
{
    std::vector<std::pair<std::size_t, std::size_t>> bodies;
    const std::string lowered = lowerCp1252Copy(raw);
    for (std::size_t open = lowered.find("<script"); open != std::string::npos;
         open = lowered.find("<script", open + 1)) {
        const std::size_t body = lowered.find('>', open);
        if (body == std::string::npos)
            break;
        std::size_t close = lowered.find("</script", body);
        if (close == std::string::npos)
            close = lowered.size();
        bodies.emplace_back(body + 1, close);
        open = close;
        if (close == lowered.size())
            break;
    }
    return bodies;
}

bool looksLikeJson(std::string_view raw)
{
    const std::size_t first = raw.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && (raw[first] == '{' || raw[first] == '[');
}

std::string escapedForExpression(std::string_view text)
{
    std::string escaped;
    for (const char c : text) {
        if (std::strchr("\\^$.|?*+()[]{}", c) && c != '\0')
            escaped.push_back('\\');
        escaped.push_back(c);
    }
    return escaped;
}

// A key of JSON data (or of a script's object) just before the value: "price": 22.65,
// 'price':"22.65", price: 22.65. The key from its first character to the value's, as an
// expression that stands for it.
bool keyBefore(std::string_view raw, Occurrence& o)
{
    std::size_t q = o.at;
    std::string valueQuote;
    if (q > 0 && (raw[q - 1] == '"' || raw[q - 1] == '\'')) {
        valueQuote = raw[q - 1];
        --q;
    }
    bool blankAfter = false;
    while (q > 0 && isBlank(raw[q - 1])) {
        --q;
        blankAfter = true;
    }
    if (q == 0 || raw[q - 1] != ':')
        return false;
    --q;
    bool blankBefore = false;
    while (q > 0 && isBlank(raw[q - 1])) {
        --q;
        blankBefore = true;
    }
    std::size_t keyAt = q;
    if (q > 0 && (raw[q - 1] == '"' || raw[q - 1] == '\'')) {
        const char quote = raw[q - 1];
        const std::size_t end = q - 1;
        std::size_t begin = end;
        while (begin > 0 && end - begin <= kMostKey && raw[begin - 1] != quote && raw[begin - 1] != '\\'
               && static_cast<unsigned char>(raw[begin - 1]) >= 0x20)
            --begin;
        if (begin == 0 || raw[begin - 1] != quote || begin == end)
            return false;
        keyAt = begin - 1;
    } else {
        while (keyAt > 0 && q - keyAt < kMostKey && isKeyCharacter(raw[keyAt - 1]))
            --keyAt;
        if (keyAt == q || isDigit(raw[keyAt]))
            return false;
    }
    o.keyAt = keyAt;
    o.keyPrefix = escapedForExpression(raw.substr(keyAt, q - keyAt)) + (blankBefore ? "\\s*" : "") + ":"
                + (blankAfter ? "\\s*" : "") + valueQuote;
    return true;
}

void placeOccurrence(std::string_view raw, const std::vector<std::pair<std::size_t, std::size_t>>& scripts,
                     bool json, Occurrence& o)
{
    const bool hasKey = keyBefore(raw, o);
    const bool inScript = std::any_of(scripts.begin(), scripts.end(), [&](const auto& body) {
        return o.at >= body.first && o.at < body.second;
    });
    if (inScript || json || hasKey) {
        o.place = Place::Script;
        return;
    }
    const std::size_t open = raw.rfind('<', o.at);
    const std::size_t close = raw.rfind('>', o.at);
    if (open != std::string_view::npos && (close == std::string_view::npos || close < open))
        o.place = Place::Tag;
}

bool numberCharacterAt(std::string_view raw, std::size_t i)
{
    return i < raw.size() && (isDigit(raw[i]) || raw[i] == '.' || raw[i] == ',');
}

// The value runs on into digits, or a separator and digits, on either side.
bool partOfNumber(std::string_view raw, const Occurrence& o)
{
    const std::size_t end = o.at + o.size;
    if (end < raw.size() && isDigit(raw[end]))
        return true;
    if (numberCharacterAt(raw, end) && end + 1 < raw.size() && isDigit(raw[end + 1]))
        return true;
    if (o.at > 0 && isDigit(raw[o.at - 1]))
        return true;
    return o.at > 1 && numberCharacterAt(raw, o.at - 1) && isDigit(raw[o.at - 2]);
}

// The number of the page that holds the occurrence.
std::string_view numberAround(std::string_view raw, const Occurrence& o)
{
    std::size_t begin = o.at;
    while (begin > 0 && numberCharacterAt(raw, begin - 1))
        --begin;
    std::size_t end = o.at + o.size;
    while (numberCharacterAt(raw, end))
        ++end;
    return raw.substr(begin, end - begin);
}

// The page where the value stands: from its key, or a little before it, to its end.
std::string contextOf(std::string_view raw, const Occurrence& o)
{
    std::size_t from = o.keyAt;
    if (from == std::string_view::npos)
        from = o.at > kContextBefore ? o.at - kContextBefore : 0;
    const std::size_t line = raw.find_last_of("\r\n", o.at);
    if (o.keyAt == std::string_view::npos && line != std::string_view::npos && line >= from)
        from = line + 1;
    return cp1252ToUtf8(oneLine(raw.substr(from, o.at + o.size - from)));
}

std::string quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

// Every place where a spelling of the typed text stands in the page before conversion.
std::vector<Occurrence> typedOccurrences(std::string_view raw, std::string_view typed, const Separators& format)
{
    std::vector<Occurrence> found;
    for (const std::string& spelling : blankRespellings(typed)) {
        for (std::size_t at = raw.find(spelling); at != std::string_view::npos && found.size() < kMostPlaces;
             at = raw.find(spelling, at + 1)) {
            Occurrence o;
            o.at = at;
            o.size = spelling.size();
            o.format = format;
            found.push_back(std::move(o));
        }
    }
    std::sort(found.begin(), found.end(), [](const Occurrence& a, const Occurrence& b) { return a.at < b.at; });
    return found;
}

// The numbers of the page that read the typed value in some format but are written
// otherwise ("1234.56" for "1.234,56"); a format without thousands separator and with a
// decimal point first, as JSON writes numbers.
std::vector<Occurrence> valueOccurrences(std::string_view raw, std::string_view typed, double value)
{
    std::vector<Occurrence> found;
    for (const PageNumber& number : pageNumbers(raw)) {
        if (found.size() >= kMostPlaces)
            break;
        if (number.text == typed)
            continue;
        std::vector<Separators> formats = formatsOfNumber(number.text);
        std::stable_sort(formats.begin(), formats.end(), [](const Separators& a, const Separators& b) {
            return (a.thousands.empty() && a.decimal == ".") > (b.thousands.empty() && b.decimal == ".");
        });
        for (const Separators& format : formats) {
            if (valueInFormat(number.text, format) == value) {
                Occurrence o;
                o.at = number.at;
                o.size = number.text.size();
                o.format = format;
                found.push_back(std::move(o));
                break;
            }
        }
    }
    return found;
}

// The expression for a value after a key, when its search on the converted page reads
// the typed value.
std::string readyExpression(const ExplanationInput& input, std::string_view raw, const Occurrence& o,
                            Separators& format)
{
    format = o.format;
    if (o.keyPrefix.empty() || !input.choice)
        return {};
    // Data writes numbers with a decimal point and nothing between thousands.
    const Separators data{"", "."};
    if (valueInFormat(raw.substr(o.at, o.size), data) == input.choice->value)
        format = data;
    std::string characters = "0-9";
    for (const std::string* separator : {&format.thousands, &format.decimal}) {
        if (separator->size() == 1 && characters.find(*separator) == std::string::npos)
            characters += *separator;
    }
    const bool negative = raw[o.at] == '-';
    const std::string expression = o.keyPrefix + "(" + (negative ? "-?" : "") + "[" + characters + "]+)";
    RegExpRule rule;
    rule.expression = expression;
    rule.quotationIndex = 1;
    rule.thousands = format.thousands;
    rule.decimal = format.decimal;
    const ExtractionResult result = regExpSearchInPage(input.page, rule, 0);
    return result.code == kFound && result.value == input.choice->value ? expression : std::string();
}

void adviseExpression(const ExplanationInput& input, std::string_view raw, const std::vector<Occurrence>& places,
                      CandidateExplanation& e)
{
    for (const Occurrence& o : places) {
        if (o.place != Place::Script)
            continue;
        Separators format;
        if (std::string expression = readyExpression(input, raw, o, format); !expression.empty()) {
            e.expression = cp1252ToUtf8(expression);
            e.expressionFormat = {cp1252ToUtf8(format.thousands), cp1252ToUtf8(format.decimal)};
            e.advice = fill(translate("Search", "Use the regular-expression settings (Advanced >> in the server settings) "
                                                "with the expression %1, quotation match index 1 and the number format "
                                                "\"%2\"."),
                            {e.expression, formatShown(e.expressionFormat)});
            return;
        }
    }
    e.advice = translate("Search", "Use the regular-expression settings (Advanced >> in the server settings) with an "
                                   "expression that matches the text just before the value.");
}

const Occurrence* firstIn(const std::vector<Occurrence>& places, Place place, bool wholeNumbersOnly = false)
{
    for (const Occurrence& o : places) {
        if (o.place == place && !(wholeNumbersOnly && o.partOfNumber))
            return &o;
    }
    return nullptr;
}

constexpr const char* kInScript = TARVELO_TRANSLATE_NOOP(
    "Search", "The quotation %1 occurs only inside a script or JSON data (%2), where no rule of the standard search "
              "reads it.");

std::string conversionWords(Conversion conversion)
{
    return conversion == Conversion::TextOnly ? translate("Search", "text-only") : translate("Search", "semi-html");
}

} // namespace

CandidateExplanation explainNoRule(const ExplanationInput& input)
{
    CandidateExplanation e;
    const std::string typed = quoted(input.typedUtf8);
    const std::string_view raw = input.rawPage.empty() ? input.page : input.rawPage;
    const auto scripts = scriptBodies(raw);
    const bool json = looksLikeJson(raw);
    const Separators format = input.choice ? input.choice->format : Separators{};

    std::vector<Occurrence> places = typedOccurrences(raw, input.typed, format);
    for (Occurrence& o : places) {
        placeOccurrence(raw, scripts, json, o);
        o.partOfNumber = partOfNumber(raw, o);
    }

    if (input.inPage) {
        if (!input.choice) {
            e.reason = NoRuleReason::NotANumber;
            e.why = fill(translate("Search", "The quotation %1 is not a number the quotation search can read."), {typed});
            e.advice = translate("Search", "Type the quotation as a number, as the browser shows it (e.g. 22,65).");
            return e;
        }
        const Occurrence* inText = firstIn(places, Place::Text);
        if (inText && !firstIn(places, Place::Text, true)) {
            const std::string whole = cp1252ToUtf8(numberAround(raw, *inText));
            e.reason = NoRuleReason::InsideLongerNumber;
            e.why = fill(translate("Search", "The quotation %1 occurs in the page only as a part of a longer number (%2)."),
                         {typed, quoted(whole)});
            e.advice = fill(translate("Search", "Type the whole number as the page shows it: %1."), {whole});
            return e;
        }
        if (!inText && firstIn(places, Place::Script)) {
            e.reason = NoRuleReason::InScript;
            e.why = fill(translate("Search", kInScript), {typed, contextOf(raw, *firstIn(places, Place::Script))});
            adviseExpression(input, raw, places, e);
            return e;
        }
        e.reason = NoRuleReason::NotRead;
        e.why = fill(translate("Search", "The quotation %1 occurs in the page, but no rule of the standard search reads "
                                         "exactly this value there."),
                     {typed});
        adviseExpression(input, raw, places, e);
        return e;
    }

    // Not in the converted page as typed.
    if (fitsCp1252(input.typedUtf8) && !input.typed.empty()) {
        const std::string loweredPage = lowerCp1252Copy(input.page);
        const std::size_t at = loweredPage.find(lowerCp1252Copy(input.typed));
        if (at != std::string::npos) {
            const std::string spelt = cp1252ToUtf8(input.page.substr(at, input.typed.size()));
            e.reason = NoRuleReason::OtherCase;
            e.why = fill(translate("Search", "The quotation %1 occurs in the page only in another letter case (%2)."),
                         {typed, quoted(spelt)});
            e.advice = fill(translate("Search", "Type it as the page writes it: %1."), {spelt});
            return e;
        }
    }
    // Places of the value in the page before conversion that the conversion's text does
    // not show the way it was typed: written as typed, or otherwise.
    const auto explainPlaces = [&](const std::vector<Occurrence>& found, bool writtenOtherwise) {
        const auto written = [&](const Occurrence& o) { return quoted(cp1252ToUtf8(raw.substr(o.at, o.size))); };
        if (const Occurrence* o = firstIn(found, Place::Script)) {
            e.reason = NoRuleReason::InScript;
            e.why = !writtenOtherwise
                        ? fill(translate("Search", kInScript), {typed, contextOf(raw, *o)})
                        : fill(translate("Search", "The quotation %1 does not occur in the page as typed; its value stands "
                                                   "only inside a script or JSON data, as %2 (%3)."),
                               {typed, written(*o), contextOf(raw, *o)});
            adviseExpression(input, raw, found, e);
            return true;
        }
        if (const Occurrence* o = firstIn(found, Place::Tag); o && input.conversion != Conversion::None) {
            e.reason = NoRuleReason::InTag;
            e.why = writtenOtherwise
                        ? fill(translate("Search", "The quotation %1 (written %2) occurs only inside an html tag (%3), "
                                                   "which the %4 conversion removes."),
                               {typed, written(*o), contextOf(raw, *o), conversionWords(input.conversion)})
                        : fill(translate("Search", "The quotation %1 occurs only inside an html tag (%2), which the %3 "
                                                   "conversion removes."),
                               {typed, contextOf(raw, *o), conversionWords(input.conversion)});
            e.advice = translate("Search", "Choose the conversion \"none\", which keeps the tags, or use the "
                                           "regular-expression settings.");
            return true;
        }
        return false;
    };
    if (explainPlaces(places, false))
        return e;
    if (input.choice) {
        std::vector<Occurrence> others = valueOccurrences(raw, input.typed, input.choice->value);
        for (Occurrence& o : others)
            placeOccurrence(raw, scripts, json, o);
        if (const Occurrence* o = firstIn(others, Place::Text)) {
            const std::string written = cp1252ToUtf8(raw.substr(o->at, o->size));
            e.reason = NoRuleReason::Missing;
            e.why = fill(translate("Search", "The quotation %1 does not occur in the page as typed; the page writes the "
                                             "value as %2."),
                         {typed, quoted(written)});
            e.advice = fill(translate("Search", "Type the quotation as the page writes it: %1."), {written});
            return e;
        }
        if (explainPlaces(others, true))
            return e;
    }
    e.reason = NoRuleReason::Missing;
    e.why = fill(translate("Search", "The quotation %1 does not occur in the page."), {typed});
    e.advice = translate("Search", "Check that this is the page the browser shows the quotation in (a frame or a script "
                                   "may load it from another address), or use the regular-expression settings.");
    return e;
}

} // namespace tarvelo
