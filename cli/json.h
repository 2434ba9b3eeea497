#pragma once

#include <string>
#include <string_view>

// Small helpers for the command line's JSON output.
namespace tarvelo::json {

// A JSON string literal of a text; bytes that are no valid UTF-8 become U+FFFD.
std::string text(std::string_view raw);
// A number that reads back as the same double. Infinities are written as 1e999 and
// -1e999, which JSON readers take as the largest magnitude; NaN as null.
std::string number(double value);

} // namespace tarvelo::json
