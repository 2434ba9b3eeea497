#include "extraction/numberformat.h"

#include <algorithm>
#include <charconv>

namespace tarvelo {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::size_t digitsAt(std::string_view text, std::size_t i)
{
    std::size_t n = 0;
    while (i + n < text.size() && isDigit(text[i + n]))
        ++n;
    return n;
}

// Walks text as a number in the format; with digits given, collects the digits and a
// "." for the decimal separator. False when text is not one such number.
bool walkNumber(std::string_view text, const Separators& format, std::string* digits)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (digits && text[i] == '-')
            digits->push_back('-');
        ++i;
    }
    const std::size_t lead = digitsAt(text, i);
    if (lead == 0)
        return false;
    if (digits)
        digits->append(text.substr(i, lead));
    const bool leadingZero = text[i] == '0';
    i += lead;
    int groups = 0;
    while (!format.thousands.empty() && text.substr(i).starts_with(format.thousands)) {
        const std::size_t at = i + format.thousands.size();
        if (digitsAt(text, at) != 3)
            return false;
        if (digits)
            digits->append(text.substr(at, 3));
        i = at + 3;
        ++groups;
    }
    // Nobody groups "0.123" or "1234.567" in thousands.
    if (groups > 0 && (lead > 3 || leadingZero))
        return false;
    if (!format.decimal.empty() && text.substr(i).starts_with(format.decimal)) {
        const std::size_t at = i + format.decimal.size();
        const std::size_t fraction = digitsAt(text, at);
        if (fraction == 0)
            return false;
        if (digits) {
            digits->push_back('.');
            digits->append(text.substr(at, fraction));
        }
        i = at + fraction;
    }
    return i == text.size();
}

bool fitsFormat(std::string_view text, const Separators& format)
{
    return walkNumber(text, format, nullptr);
}

// The blank spelling the text holds, if any.
std::string_view blankIn(std::string_view text)
{
    for (const std::string& blank : blankSpellings()) {
        if (text.find(blank) != std::string_view::npos)
            return blank;
    }
    return {};
}

} // namespace

const std::vector<NumberFormat>& numberFormats()
{
    static const std::vector<NumberFormat> formats = {
        {"9.999,99", ".", ","}, {" 9999,99", "", ","}, {"9,999.99", ",", "."}, {" 9999.99", "", "."}};
    return formats;
}

int numberFormatIndex(const std::string& thousands, const std::string& decimal)
{
    const auto& formats = numberFormats();
    for (std::size_t i = 0; i < formats.size(); ++i) {
        if (thousands == formats[i].thousands && decimal == formats[i].decimal)
            return static_cast<int>(i);
    }
    return -1;
}

std::string formatShown(const Separators& format)
{
    const int index = numberFormatIndex(format.thousands, format.decimal);
    if (index >= 0)
        return numberFormats()[static_cast<std::size_t>(index)].shown;
    return (format.thousands.empty() ? " 9" : "9" + format.thousands) + "999" + format.decimal + "99";
}

const std::vector<std::string>& blankSpellings()
{
    static const std::vector<std::string> spellings = {" ", "\xA0", "&nbsp;", "&#160;"};
    return spellings;
}

std::vector<std::string> blankRespellings(std::string_view text)
{
    if (text.find_first_of(" \xA0") == std::string_view::npos)
        return {std::string(text)};
    std::vector<std::string> spellings;
    for (const std::string& blank : blankSpellings()) {
        std::string spelt;
        for (const char c : text) {
            if (c == ' ' || c == '\xA0')
                spelt += blank;
            else
                spelt.push_back(c);
        }
        spellings.push_back(std::move(spelt));
    }
    return spellings;
}

std::optional<double> valueInFormat(std::string_view text, const Separators& format)
{
    std::string digits;
    if (!walkNumber(text, format, &digits))
        return std::nullopt;
    double value = 0.0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec != std::errc())
        return std::nullopt;
    return value;
}

std::vector<Separators> formatsOfNumber(std::string_view text)
{
    std::vector<Separators> fitting;
    for (const NumberFormat& format : numberFormats()) {
        Separators pair{format.thousands, format.decimal};
        if (fitsFormat(text, pair))
            fitting.push_back(std::move(pair));
    }
    if (const std::string_view blank = blankIn(text); !blank.empty()) {
        for (const char* decimal : {",", "."}) {
            Separators pair{std::string(blank), decimal};
            if (fitsFormat(text, pair))
                fitting.push_back(std::move(pair));
        }
    }
    return fitting;
}

std::vector<PageNumber> pageNumbers(std::string_view page, std::string_view extraSeparator)
{
    std::vector<PageNumber> numbers;
    const auto separatorAt = [&](std::size_t j) -> std::size_t {
        if (j < page.size() && (page[j] == '.' || page[j] == ','))
            return 1;
        if (!extraSeparator.empty() && page.substr(j).starts_with(extraSeparator))
            return extraSeparator.size();
        return 0;
    };
    std::size_t i = 0;
    while (i < page.size()) {
        if (!isDigit(page[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i > 0 && (page[i - 1] == '-' || page[i - 1] == '+') ? i - 1 : i;
        std::size_t j = i + digitsAt(page, i);
        for (;;) {
            const std::size_t separator = separatorAt(j);
            if (separator == 0 || j + separator >= page.size() || !isDigit(page[j + separator]))
                break;
            j += separator;
            j += digitsAt(page, j);
        }
        // Digits that run on into letters, or follow them or a "#", are a name, a colour or
        // a character reference ("b3261e", "100px", "&#160;"), not a number to read.
        const bool inWord =
            (i > 0 && (isLetter(page[i - 1]) || page[i - 1] == '#')) || (j < page.size() && isLetter(page[j]));
        if (!inWord)
            numbers.push_back({start, page.substr(start, j - start)});
        i = j;
    }
    return numbers;
}

std::optional<FormatChoice> chooseFormat(std::string_view number, std::string_view page, const Separators& preferred)
{
    const std::vector<Separators> options = formatsOfNumber(number);
    if (options.empty())
        return std::nullopt;
    std::vector<double> values;
    for (const Separators& option : options)
        values.push_back(*valueInFormat(number, option));
    const bool ambiguous =
        std::any_of(values.begin(), values.end(), [&](double value) { return value != values.front(); });
    const auto choice = [&](std::size_t i, FormatReason reason) {
        return FormatChoice{options[i], values[i], ambiguous, reason};
    };
    if (options.size() == 1)
        return choice(0, FormatReason::Written);

    // A number of the page that some of the formats read and others do not speaks for
    // the former.
    std::vector<int> scores(options.size(), 0);
    std::vector<bool> fits(options.size());
    for (const PageNumber& found : pageNumbers(page, blankIn(number))) {
        std::size_t count = 0;
        for (std::size_t i = 0; i < options.size(); ++i) {
            fits[i] = fitsFormat(found.text, options[i]);
            count += fits[i] ? 1 : 0;
        }
        if (count == 0 || count == options.size())
            continue;
        for (std::size_t i = 0; i < options.size(); ++i)
            scores[i] += fits[i] ? 1 : 0;
    }
    // The formats the page speaks for most; when they read the number alike, the page
    // has decided its value, and the configuration's format (or its decimal separator)
    // only which of them to take.
    const int best = *std::max_element(scores.begin(), scores.end());
    std::vector<std::size_t> favoured;
    for (std::size_t i = 0; i < options.size(); ++i) {
        if (scores[i] == best)
            favoured.push_back(i);
    }
    const bool pageDecides = best > 0 && std::all_of(favoured.begin(), favoured.end(), [&](std::size_t i) {
        return values[i] == values[favoured.front()];
    });
    const auto taken = [&](std::size_t i, FormatReason otherwise) {
        return choice(i, pageDecides ? FormatReason::Page : otherwise);
    };
    for (const std::size_t i : favoured) {
        if (options[i] == preferred)
            return taken(i, FormatReason::Preferred);
    }
    for (const std::size_t i : favoured) {
        if (options[i].decimal == preferred.decimal)
            return taken(i, FormatReason::Preferred);
    }
    return taken(favoured.front(), FormatReason::Default);
}

std::string plainNumber(double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

} // namespace tarvelo
