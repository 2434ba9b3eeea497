// Both standard searches on any page; the first bytes choose the rule.
#include "extraction/page.h"
#include "extraction/search.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    const std::uint8_t flags = data[0];
    tarvelo::StandardRule rule;
    rule.tagsToSkip = data[1] % 8;
    rule.numbersToSkip = data[2] % 8;
    const std::size_t textLength = data[3] % 8;
    data += 4;
    size -= 4;
    const std::size_t take = textLength < size ? textLength : size;
    rule.textBeforeValue.assign(reinterpret_cast<const char*>(data), take);
    std::string page(reinterpret_cast<const char*>(data + take), size - take);
    tarvelo::blankNulBytes(page);
    rule.caseInsensitive = flags & 1;
    rule.thousands = (flags & 2) ? "." : "";
    rule.decimal = (flags & 4) ? "," : ".";

    std::string copy = page;
    const tarvelo::ExtractionResult plain = tarvelo::standardSearchInPage(copy, rule);
    copy = page;
    const tarvelo::ExtractionResult tags = tarvelo::standardSearchWithTagsInPage(copy, rule);
    if (plain.message.size() > 259 || tags.message.size() > 259)
        __builtin_trap();
    if (!std::isfinite(plain.value) || !std::isfinite(tags.value))
        __builtin_trap();
    return 0;
}
