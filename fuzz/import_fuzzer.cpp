// Repeated matching of an import over any text with the import's usual patterns.
#include "extraction/page.h"
#include "extraction/search.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    tarvelo::blankNulBytes(text);
    static const struct {
        const char* expression;
        int valueIndex;
    } kPatterns[] = {
        {"(\\d+)\\.(\\d+)\\.(\\d+)[;,\\t ]+([-+0-9.,]+)", 4},
        {"([0-9]*)", 1},
        {"(?m)^([^;\\n]*);([^;\\n]*);([^;\\n]*)$", 1},
        {"(\\d{4})-(\\d{2})-(\\d{2}),[^,]*,[^,]*,[^,]*,([0-9.]+)", 4},
    };
    for (const auto& pattern : kPatterns) {
        tarvelo::RegExpRule rule;
        rule.expression = pattern.expression;
        rule.quotationIndex = pattern.valueIndex;
        rule.extractDate = true;
        rule.dayIndex = 1;
        rule.monthIndex = 2;
        rule.yearIndex = 3;
        const tarvelo::ImportLines lines = tarvelo::importLinesInText(text, rule, 1000000000);
        if (lines.records.size() + lines.skippedLines > text.size() + 1
            || lines.skipped.size() > tarvelo::ImportLines::kReportedSkips)
            __builtin_trap();
    }
    return 0;
}
