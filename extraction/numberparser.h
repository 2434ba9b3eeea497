#pragma once

#include <string_view>

namespace tarvelo {

// Result codes of an extraction; every search and the import use them.
enum ExtractionCode {
    kFound = 0,
    kNotFound = 1,
    kTextNotFound = 2,
    kInvalidNumber = 3,
    kRegExpCompileFailed = 4,
    kMatchIndexMissing = 5,
    kImportFileUnreadable = 6,
};

// Reads the number that begins at the start of text (which runs to the end of the
// page) with the given thousands and decimal separators; either may be empty. Returns
// kFound, kNotFound (no number here, or too close to the end of the page) or
// kInvalidNumber (a malformed number, or one too large to be finite; the value is then
// 0). The value does not depend on the user's locale.
int parseQuotation(std::string_view text, std::string_view thousands, std::string_view decimal, double& value);
// The same with the text's letters read lowered by the Windows-1252 rules, as the
// case-insensitive searches read the page; the separators must be lowered already.
int parseQuotationLowered(std::string_view text, std::string_view thousands, std::string_view decimal,
                          double& value);

// How the import reads a value: as parseQuotation, but the number may end where the
// text ends (the last line of a file without a line break after it), and an exponent
// right after it ("1.5E+02") belongs to it. read is the length of the number's text.
int parseImportValue(std::string_view text, std::string_view thousands, std::string_view decimal, double& value,
                     std::size_t& read);

} // namespace tarvelo
