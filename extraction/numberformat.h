#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How numbers are written: the pairs of thousands and decimal separators that the
// number parser reads, the four formats the lists offer, and which format a number
// written by hand, or found in a page, is in. Texts here are Windows-1252, as pages are
// searched.
namespace tarvelo {

// The number formats of the lists: index 0 "9.999,99", 1 " 9999,99", 2 "9,999.99",
// 3 " 9999.99"; -1 for a pair that is none of them.
struct NumberFormat {
    const char* shown;
    const char* thousands;
    const char* decimal;
};
const std::vector<NumberFormat>& numberFormats();
int numberFormatIndex(const std::string& thousands, const std::string& decimal);

struct Separators {
    std::string thousands;
    std::string decimal;
    bool operator==(const Separators&) const = default;
};

// The list's text for a pair: one of the four formats' texts, else the pattern written
// with the pair ("9 999,99").
std::string formatShown(const Separators& format);

// The ways a page writes the blank between groups of digits: a space, a non-breaking
// space, and the two html entities of the latter.
const std::vector<std::string>& blankSpellings();

// The text in every spelling of blankSpellings, each used for all its blanks (" " and
// the non-breaking space); the text alone when it has none.
std::vector<std::string> blankRespellings(std::string_view text);

// The value of text when the whole text is one number written in the format: an
// optional sign, digits, then thousands separators each followed by exactly three digits
// (the digits before the first one then number 1 to 3), then at most one decimal
// separator with digits after it. Nothing when the text is no such number.
std::optional<double> valueInFormat(std::string_view text, const Separators& format);

// The formats in which text is one number (valueInFormat): of the four formats, and of
// the pairs of a blank spelling (blankSpellings) that text holds with either decimal
// separator. In the order of the lists, blank pairs last.
std::vector<Separators> formatsOfNumber(std::string_view text);

// A run of digits in a page joined by single separators (".", "," and the extra one),
// each followed by a digit; with a sign in front when one stands there. Runs that touch
// a letter, or follow a "#", are left out.
struct PageNumber {
    std::size_t at = 0;
    std::string_view text;
};
std::vector<PageNumber> pageNumbers(std::string_view page, std::string_view extraSeparator = {});

// Why a format was chosen for a number typed by hand.
enum class FormatReason {
    Written,   // the number fits that format alone, or every format it fits reads it alike
    Page,      // the page's other numbers are written in it
    Preferred, // the format the configuration has (or the user chose)
    Default,   // nothing decides it: the list's first format that fits
};

struct FormatChoice {
    Separators format;
    double value = 0.0;
    // The formats the number fits read different values ("123.456": 123456 or 123.456).
    bool ambiguous = false;
    FormatReason reason = FormatReason::Written;
};

// The format of a number typed as a page shows it: with "." and "," both, the last one
// is the decimal separator; a single separator followed by other than three digits is
// the decimal one; a blank between groups is a thousands separator. Where several
// formats fit, the one the page's other numbers are written in, else the preferred one
// (or one with its decimal separator), else the first that fits. Nothing when the text
// is no number in any format.
std::optional<FormatChoice> chooseFormat(std::string_view number, std::string_view page, const Separators& preferred);

// The shortest text that reads back as the value ("1234.56", "123456").
std::string plainNumber(double value);

} // namespace tarvelo
