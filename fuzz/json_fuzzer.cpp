// The JSON search and the wizard's JSON proposals on any page; the first bytes choose
// the path (or the typed quotation) and the number format.
#include "extraction/jsoncandidates.h"
#include "extraction/jsonsearch.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::uint8_t flags = data[0];
    const std::size_t pathLength = data[1] % 48;
    data += 2;
    size -= 2;
    const std::size_t take = pathLength < size ? pathLength : size;
    const std::string path(reinterpret_cast<const char*>(data), take);
    const std::string page(reinterpret_cast<const char*>(data + take), size - take);

    tarvelo::JsonRule rule;
    rule.valuePath = path;
    rule.datePath = (flags & 1) ? "$.d" : "";
    rule.timePath = (flags & 2) ? "$.t" : "";
    rule.thousands = (flags & 4) ? "." : "";
    rule.decimal = (flags & 4) ? "," : ".";
    const tarvelo::ExtractionResult result = tarvelo::jsonSearchInPage(page, rule, 1773000000);
    if (result.message.size() > 259 || !std::isfinite(result.value))
        __builtin_trap();

    if (flags & 8) {
        // The path bytes as a typed quotation: every proposal is a path the search
        // parses again, and one the store can keep.
        const std::vector<tarvelo::RuleCandidate> candidates =
            tarvelo::jsonCandidates(page, page, path, {rule.thousands, rule.decimal}, "", "", 1773000000);
        for (const tarvelo::RuleCandidate& c : candidates) {
            std::vector<tarvelo::JsonStep> steps;
            std::string problem;
            if (!tarvelo::parseJsonPath(c.jsonPath, steps, problem) || c.jsonPath.size() > 259)
                __builtin_trap();
        }
    }
    return 0;
}
