#include "extraction/numberparser.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace tarvelo {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// strtod in the "C" locale: the longest valid prefix, "." as the decimal point.
double ConvertPrefix(const std::string& text, std::size_t& used)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    char* end = nullptr;
    const double value = strtod_l(text.c_str(), &end, cLocale);
    used = static_cast<std::size_t>(end - text.c_str());
    return value;
}

} // namespace

int ParseQuotation(std::string_view text, std::string_view thousands, std::string_view decimal, double& value)
{
    value = 0.0;
    const std::size_t n = text.size();
    if (n == 0 || !(IsDigit(text[0]) || text[0] == '+' || text[0] == '-'))
        return kNotFound;
    if (n - 1 < 2)
        return kNotFound;

    std::string output;
    std::size_t segment = 0;
    std::size_t i = 1;
    for (;;) {
        while (i < n && IsDigit(text[i]))
            ++i;
        const std::string_view rest = text.substr(i);
        if (!thousands.empty() && rest.starts_with(thousands)) {
            output.append(text.substr(segment, i - segment));
            i += thousands.size();
        } else if (!decimal.empty() && rest.starts_with(decimal)) {
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
        if (!IsDigit(text[i]))
            break;
    }

    std::size_t used = 0;
    value = ConvertPrefix(output, used);
    if (value != 0.0)
        return kFound;
    return used == output.size() ? kFound : kInvalidNumber;
}

} // namespace tarvelo
