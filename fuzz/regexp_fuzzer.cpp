// The regular-expression search on any page, with a pattern taken from the input and
// with a handful of fixed ones.
#include "extraction/page.h"
#include "extraction/search.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::size_t patternLength = data[0] % 32;
    const std::uint8_t flags = data[1];
    data += 2;
    size -= 2;
    const std::size_t take = patternLength < size ? patternLength : size;
    std::string page(reinterpret_cast<const char*>(data + take), size - take);
    tarvelo::blankNulBytes(page);

    tarvelo::RegExpRule rule;
    rule.caseInsensitive = flags & 1;
    rule.extractDate = flags & 2;
    rule.extractTime = flags & 4;
    rule.quotationIndex = (flags >> 3) % 4;
    static const char* const kFixed[] = {
        "Kurs: ([0-9]+)",
        "(\\d+)\\.(\\d+)\\.(\\d+)[^0-9]+([0-9.,]+)",
        "([A-Za-z]+) (\\d+) (\\d+):(\\d+) ([-+0-9,.]+)",
        "(.*?)<>([^<]*)",
    };
    rule.expression.assign(reinterpret_cast<const char*>(data), take);
    tarvelo::regExpSearchInPage(page, rule, 1000000000);
    for (const char* pattern : kFixed) {
        rule.expression = pattern;
        const tarvelo::ExtractionResult r = tarvelo::regExpSearchInPage(page, rule, 1000000000);
        if (r.message.size() > 259)
            __builtin_trap();
    }
    return 0;
}
