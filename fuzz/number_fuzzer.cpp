// The number parser on any bytes with every separator pair the user can choose.
#include "extraction/numberparser.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    static constexpr std::string_view kPairs[][2] = {{".", ","}, {"", ","}, {",", "."}, {"", "."}, {"", ""}, {"ab", "abc"}};
    for (const auto& pair : kPairs) {
        double value = 0;
        const int code = tarvelo::parseQuotation(text, pair[0], pair[1], value);
        if (code != 0 && code != 1 && code != 3)
            __builtin_trap();
        if (code != 0 && value != 0 && code != 3)
            __builtin_trap();
        // A found value is a finite number; an invalid one reads 0.
        if ((code == 0 && !std::isfinite(value)) || (code == 3 && value != 0))
            __builtin_trap();
    }
    return 0;
}
