#pragma once

#include "download/downloadjob.h"
#include "model/serverconfig.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Why an item's quotation was or was not found: what the download saw, where the search
// stood in the converted page, what the number parser read there, and what to change.
// The texts are UTF-8.
namespace tarvelo {

class SecurityItem;
struct WorkerSettings;

// The configuration an update of the item downloads with: the item's own or the named
// stored one, with the item's name and symbol put into its address and search texts.
ServerConfig itemDownloadConfig(const SecurityItem& item);

// Where the text before value stands in the converted page.
enum class TextPresence {
    NotSearched, // the regular-expression search, or no page to look at
    Found,
    OtherCase, // only in other letter case, and the search is case-sensitive
    Missing,
};

// A change that would likely help, for the front end to put in its own words.
enum class RuleAdvice {
    CaseInsensitive, // turn on the case-insensitive search
    SkipOneMoreTag,  // raise the tags to skip by one
    SuggestRule,     // have a rule made from the value the browser shows
    AllowHttps,      // the option AllowHttps is 0 and the address is https
    SetUserAgent,    // the server refused the program's user agent (403, 429)
    CheckAddress,    // no page at that address (404, missing file, malformed address)
    RaiseTimeout,    // the configuration's timeout ran out
    UntrustedCertificate,
    RetryLater, // the server failed (5xx)
};

// What the number parser read where the search ended.
struct NumberReading {
    std::size_t at = 0;     // its position in the converted page
    std::string text;       // the characters of the number as they stand there
    int code = 0;           // kFound, kNotFound or kInvalidNumber
    double value = 0.0;
};

// A number of the converted page near the item's latest value.
struct NearbyNumber {
    std::size_t at = 0;  // its position in the converted page
    std::string text;    // as the page writes it
    double value = 0.0;  // read in the configuration's format, or else the format nearest the latest value
    std::string excerpt; // the page around it, one line
};

struct RuleDiagnosis {
    std::string itemName;
    DownloadCode code = DownloadCode::None;
    DownloadError detail = DownloadError::None;
    bool wouldUpdate = false;  // DownloadCode::Done: an update would store the value
    std::optional<double> value;
    std::string statusText;        // the connection window's text of the final message
    std::string extractionMessage; // the search's own message, if any
    std::string errorText;

    // The download, as the worker saw it.
    std::string address; // after expansion and redirects
    PageFacts page;

    // The rule.
    Conversion conversion = Conversion::None;
    SearchKind searchKind = SearchKind::Standard;
    int timeout = 0;
    std::string textBeforeValue; // or the regular expression of a regular-expression search
    bool caseInsensitive = true;

    // The search in the converted page, when the page came with the message.
    bool pageSeen = false;
    TextPresence text = TextPresence::NotSearched;
    std::string textAsInPage; // the occurrence of the text in the page's own letter case
    std::string excerpt;      // the page around the text (or the value's capture), one line
    std::optional<NumberReading> reading;

    // When the text before value does not occur: the converted page's beginning, one
    // line, and the places of the page's numbers nearest to the item's latest value,
    // nearest first.
    std::optional<double> latestValue;
    std::string pageStart;
    std::vector<NearbyNumber> nearestNumbers;

    std::string cause; // one or two sentences on what happened
    std::vector<RuleAdvice> advice;
    // The value the search would read with the first advice taken (CaseInsensitive,
    // SkipOneMoreTag), when it would read one.
    std::optional<double> adviceValue;
    // SuggestRule: the command line that has rules made for the page, ready to paste:
    // "tarvelo-cli suggest ADDRESS VALUE" with the address the item downloads (its
    // variables put in), the number nearest to the latest value as VALUE when there is
    // one (suggestValue; else the word VALUE), and the conversion, name and symbol.
    std::string suggestCommand;
    std::string suggestValue;
};

// The conversion's name in words: "none", "semi-html", "text only".
std::string conversionName(Conversion conversion);

// The diagnosis of one item's final message. config is the configuration the item
// downloaded with (its variables put in); convertedPage the converted page the worker
// handed over, when it kept it (in UTF-8 when the page came so); settings those the
// download ran with; item, when given, the item (its latest value, name and symbol).
RuleDiagnosis diagnoseRule(const ServerConfig& config, const DownloadMessage& message,
                           std::optional<std::string_view> convertedPage, const WorkerSettings& settings,
                           const SecurityItem* item = nullptr);

// The page's numbers nearest to the value, at most count of them, nearest first (then in
// page order). A number is read in the configuration's format when it is written in it,
// else in the format that reads it nearest to the value. The page in Windows-1252.
std::vector<NearbyNumber> numbersNear(std::string_view page, double value, const ServerConfig& config,
                                      std::size_t count);

// What the number parser reads where the standard search takes it; nothing when the text
// before value is not in the page. The page as the searches take it (a NUL after it).
std::optional<NumberReading> readStandardSearch(std::string_view page, const ServerConfig& config);

} // namespace tarvelo
