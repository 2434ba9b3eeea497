#include "extraction/numberparser.h"

#include "extraction/page.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace tarvelo {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// strtod in the "C" locale: the longest valid prefix, "." as the decimal point.
double convertPrefix(const std::string& text, std::size_t& used)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    char* end = nullptr;
    const double value = strtod_l(text.c_str(), &end, cLocale);
    used = static_cast<std::size_t>(end - text.c_str());
    return value;
}

// Whether text at i begins with the separator, each character of the text read through fold.
template <typename Fold>
bool startsWith(std::string_view text, std::size_t i, std::string_view separator, Fold fold)
{
    if (text.size() - i < separator.size())
        return false;
    for (std::size_t k = 0; k < separator.size(); ++k) {
        if (fold(text[i + k]) != separator[k])
            return false;
    }
    return true;
}

// The length of an exponent ("e5", "E+02", "e-3") at the start of text, or 0.
std::size_t exponentLength(std::string_view text)
{
    if (text.empty() || (text[0] != 'e' && text[0] != 'E'))
        return 0;
    std::size_t i = 1;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const std::size_t digits = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i > digits ? i : 0;
}

// The page parser, and the import's: a number there may end at the end of the text and
// takes an exponent. read is set to the length of the number's text.
template <typename Fold>
int parse(std::string_view text, std::string_view thousands, std::string_view decimal, double& value, Fold fold,
          bool importing, std::size_t& read)
{
    value = 0.0;
    read = 0;
    const std::size_t n = text.size();
    if (n == 0 || !(isDigit(text[0]) || text[0] == '+' || text[0] == '-'))
        return kNotFound;
    if (!importing && n - 1 < 2)
        return kNotFound;

    std::string output;
    std::size_t segment = 0;
    std::size_t i = 1;
    for (;;) {
        while (i < n && isDigit(text[i]))
            ++i;
        if (!thousands.empty() && startsWith(text, i, thousands, fold)) {
            output.append(text.substr(segment, i - segment));
            i += thousands.size();
        } else if (!decimal.empty() && startsWith(text, i, decimal, fold)) {
            output.append(text.substr(segment, i - segment));
            output.push_back('.');
            i += decimal.size();
        } else {
            output.append(text.substr(segment, i - segment));
            break;
        }
        segment = i;
        if (!importing && n - i < 2)
            return kNotFound;
        if (i >= n || !isDigit(text[i]))
            break;
    }
    if (importing) {
        if (const std::size_t exponent = exponentLength(text.substr(i)); exponent > 0) {
            output.append(text.substr(i, exponent));
            i += exponent;
        }
    }
    read = i;

    std::size_t used = 0;
    value = convertPrefix(output, used);
    // A number beyond the range of double (a page of 400 nines) reads as infinity; no
    // quotation is that, and infinity would spoil every sum and chart made from it.
    if (!std::isfinite(value)) {
        value = 0.0;
        return kInvalidNumber;
    }
    if (value != 0.0)
        return kFound;
    return used == output.size() ? kFound : kInvalidNumber;
}

} // namespace

int parseQuotation(std::string_view text, std::string_view thousands, std::string_view decimal, double& value)
{
    std::size_t read = 0;
    return parse(text, thousands, decimal, value, [](char c) { return c; }, false, read);
}

int parseQuotationLowered(std::string_view text, std::string_view thousands, std::string_view decimal,
                          double& value)
{
    std::size_t read = 0;
    return parse(text, thousands, decimal, value, [](char c) { return lowerCp1252(c); }, false, read);
}

int parseImportValue(std::string_view text, std::string_view thousands, std::string_view decimal, double& value,
                     std::size_t& read)
{
    return parse(text, thousands, decimal, value, [](char c) { return c; }, true, read);
}

} // namespace tarvelo
