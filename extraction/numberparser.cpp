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

template <typename Fold>
int parse(std::string_view text, std::string_view thousands, std::string_view decimal, double& value, Fold fold)
{
    value = 0.0;
    const std::size_t n = text.size();
    if (n == 0 || !(isDigit(text[0]) || text[0] == '+' || text[0] == '-'))
        return kNotFound;
    if (n - 1 < 2)
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
        if (n - i < 2)
            return kNotFound;
        if (!isDigit(text[i]))
            break;
    }

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
    return parse(text, thousands, decimal, value, [](char c) { return c; });
}

int parseQuotationLowered(std::string_view text, std::string_view thousands, std::string_view decimal,
                          double& value)
{
    return parse(text, thousands, decimal, value, [](char c) { return lowerCp1252(c); });
}

} // namespace tarvelo
