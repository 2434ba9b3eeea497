// Page conversions on any bytes: the output never grows beyond what the rules allow.
#include "extraction/page.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    const std::string semi = tarvelo::convertPageText(tarvelo::Conversion::SemiHtml, page);
    const std::string text = tarvelo::convertPageText(tarvelo::Conversion::TextOnly, page);
    if (semi.size() > page.size() + 1 || text.size() > 2 * page.size())
        __builtin_trap();
    if (text.find('<') != std::string::npos)
        __builtin_trap();
    // Converting a semi-html page again changes nothing.
    if (tarvelo::convertPageText(tarvelo::Conversion::SemiHtml, semi) != semi)
        __builtin_trap();
    return 0;
}
