#pragma once

#include "extraction/candidateexplanation.h"
#include "extraction/numberformat.h"
#include "model/serverconfig.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The configuration wizard's proposals: standard-search rules (a text to find, then tags
// and numbers to skip) under which a quotation that the user typed, as the browser shows
// it, is found in a page. The page text and a candidate's text are Windows-1252, as
// pages are searched; the typed texts, the descriptions and the stored configuration
// are UTF-8.
namespace tarvelo {

struct RuleCandidate {
    std::string text;       // the text before value, as it stands in the page
    Conversion conversion = Conversion::SemiHtml; // the conversion in force when it was made
    int tags = 0;           // html tags to skip, 0 to 15
    int numbers = 0;        // numbers to skip, 0 to 5
    std::size_t start = 0;  // where the highlighted span begins in the page text
    std::size_t length = 0; // from the text's first character to the quotation's end
    // The typed quotation as the page writes it (its blanks as the page spells them).
    std::string quotation;
    // The number format the rule reads with, as a configuration stores it (UTF-8). The
    // standard search with the rule as it would be stored reads the typed quotation's
    // value in this format.
    Separators format;
    // Where the typed quotation reads differently in other formats ("123.456"), how this
    // one was chosen, for the list entry; empty otherwise.
    std::string formatNote;
    // A JSON search instead (text, tags and numbers unused): the value's path and the
    // date's, as stored (UTF-8, with [&name] and [&symbol]); the date's may be empty.
    std::string jsonPath;
    std::string jsonDatePath;
};

enum class CandidateOutcome {
    Done,             // the attempts ran; candidates may still be none
    NoQuotation,      // nothing was typed
    QuotationMissing, // the typed text is not in the page (exact, case-sensitive)
    BadQuotation,     // the typed text makes the expressions fail to compile, or to end in time
    Cancelled,        // progress() asked to stop
};

struct CandidateSearch {
    CandidateOutcome outcome = CandidateOutcome::Done;
    std::vector<RuleCandidate> candidates; // in list order
    // The wizard's text for the outcome: "Please enter the quotation to be extracted!",
    // "Quotation doesn't exist in the specified web page!", or why the typed text cannot
    // be searched for; empty when Done.
    std::string message;
    // Why no rule was found and what to try, when the quotation is missing or the
    // attempts found none.
    CandidateExplanation explanation;
};

// What the wizard proposes rules for.
struct CandidateRequest {
    // The page text of the conversion (NUL bytes blanked, a NUL after it; the
    // expressions see that NUL as the page's last character, as the regular-expression
    // search does), and the page before conversion, both in Windows-1252. The latter
    // serves the explanation; empty, the former stands for it.
    std::string_view page;
    std::string_view rawPage;
    // The page as it came (UTF-8 or another charset), which the JSON search reads; empty,
    // rawPage stands for it.
    std::string_view downloaded;
    Conversion conversion = Conversion::SemiHtml;
    std::string quotation; // as the user typed it (UTF-8)
    // The format the configuration has, or the user chose (UTF-8): it decides where the
    // typed quotation and the page's numbers leave the choice open.
    Separators preferred{"", ","};
    // The item's variables: a rule is checked as it would be stored, its text turned
    // into a template and back.
    std::string itemName;
    std::string itemSymbol;
};

// The page text the wizard searches, from a page as it was downloaded: a page whose
// meta tag declares UTF-8 turned into Windows-1252 first, as the wizard's download does
// (which also heeds the Content-Type header), then converted with the given conversion
// and its NUL bytes blanked.
std::string candidatePageText(std::string_view downloaded, Conversion conversion);

// 15 for semi-html pages, 0 for the other conversions.
int maximumTags(Conversion conversion);
// The number of attempts a search makes: (maximumTags + 1) * 6.
int candidateAttempts(Conversion conversion);

// The expression one attempt matches: the conversion's prefix, the tags, the numbers,
// the typed quotation as it stands (its characters act as expression syntax), then one
// character that ends the number.
std::string candidateExpression(Conversion conversion, int tags, int numbers, std::string_view quotation);

// How an attempt finds its match; both find the same one. Windowed looks for the typed
// quotation first and tries the expression, anchored, only at the starts that can lead to
// one of its places (a quotation with expression syntax other than "." always goes the
// plain way). Plain matches the expression once from the page's start, as it stands.
enum class CandidateMatching { Windowed, Plain };

// Proposes the JSON paths whose value is the typed quotation (jsonCandidates: first in a
// page that is JSON itself, else after the others), then runs every attempt (numbers 0 to 5, inside them tags 0 to maximumTags) on the page
// text and keeps the rules under which the standard search, with the rule as it would
// be stored and the format the typed quotation is written in, reads the typed value.
// A quotation with blanks is tried as the page spells them (" ", a non-breaking space,
// "&nbsp;", "&#160;"). progress is called after each attempt with the number done so
// far, on the calling thread; returning false stops the search (Cancelled, with the
// candidates found so far).
CandidateSearch generateCandidates(const CandidateRequest& request, const std::function<bool(int done)>& progress = {},
                                   CandidateMatching matching = CandidateMatching::Windowed);

// The candidates with another format (UTF-8), as the user chose it: those under which
// the search still reads the typed quotation as written in that format, with their
// format set to it; none when the quotation is no number in it.
std::vector<RuleCandidate> candidatesInFormat(std::string_view page, std::vector<RuleCandidate> candidates,
                                              const Separators& format, const std::string& itemName,
                                              const std::string& itemSymbol, std::string_view downloaded = {});

// The list entry's note on the format of an ambiguous typed quotation ("[format ...: 1.234
// is read as 1234, as the page's other numbers are written]"); empty when not ambiguous.
std::string candidateFormatNote(std::string_view typedUtf8, const FormatChoice& choice);

// Why no candidate is left when the user chose the format (UTF-8): the quotation, as the
// page writes it (a candidate's quotation), is no number in it, or no rule reads it so.
std::string formatRefusal(std::string_view quotation, const Separators& format);

// The list entry: "find text \"%s\" and skip %i number(s)" and its two siblings, then
// the format note when there is one; "JSON path: $.quote.last" (", date: PATH" when it
// has one) for a JSON search.
std::string describeCandidate(const RuleCandidate& candidate);

// The text with every occurrence of the item's name replaced by "[&name]", then every
// occurrence of its symbol by "[&symbol]"; an empty name or symbol replaces nothing.
std::string textToTemplate(std::string text, std::string_view name, std::string_view symbol);

// The configuration as the wizard stores it: the address as typed, the candidate's
// conversion, text (as a template), tags, numbers and format, standard search,
// case-insensitive; timeout, expression and capture indices as they were. For a JSON
// candidate: the JSON search with its paths and format, the rest as it was.
ServerConfig withCandidate(ServerConfig config, const RuleCandidate& candidate, const std::string& url,
                           std::string_view name, std::string_view symbol);

// The rule an update searches with once the wizard stored the candidate: its templates
// filled in again with the item's variables.
ServerConfig searchedRule(const RuleCandidate& candidate, std::string_view name, std::string_view symbol);

} // namespace tarvelo
