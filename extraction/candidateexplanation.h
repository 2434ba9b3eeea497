#pragma once

#include "extraction/numberformat.h"
#include "model/serverconfig.h"

#include <optional>
#include <string>
#include <string_view>

// Why the configuration wizard found no rule for a quotation, in the user's words, and
// what to try instead.
namespace tarvelo {

enum class NoRuleReason {
    None,
    Missing,            // the value is not in the page
    OtherCase,          // only in another letter case
    InScript,           // only inside a script or JSON data
    InTag,              // only inside html tags, which the conversion removes
    InsideLongerNumber, // only as a part of a longer number
    NotANumber,         // the typed text is no number in any format
    NotRead,            // it is there, but no rule of the standard search reads it
};

struct CandidateExplanation {
    NoRuleReason reason = NoRuleReason::None;
    std::string why;    // one sentence (UTF-8)
    std::string advice; // what to try, one sentence (UTF-8)
    // A regular expression whose search reads the value from the page, where the value
    // stands after a key of JSON data ("\"price\":([0-9.]+)", the value in capture 1),
    // and the format it reads with (UTF-8); empty when there is none.
    std::string expression;
    Separators expressionFormat;
};

// What the explanation looks at. The texts are Windows-1252, as pages are searched.
struct ExplanationInput {
    std::string_view page;    // the converted page that was searched (a NUL after it)
    std::string_view rawPage; // the page before conversion
    Conversion conversion = Conversion::SemiHtml;
    std::string_view typed;          // the quotation as typed, blanks at its ends taken off
    std::string_view typedUtf8;      // the same, as the user wrote it
    bool inPage = false;             // some spelling of the typed text occurs in the converted page
    std::optional<FormatChoice> choice; // its format and value, when it is a number
};

CandidateExplanation explainNoRule(const ExplanationInput& input);

} // namespace tarvelo
