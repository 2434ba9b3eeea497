#include "download/ruledoctor.h"

#include "download/downloadengine.h"
#include "download/statustext.h"
#include "extraction/extract.h"
#include "extraction/numberformat.h"
#include "extraction/page.h"
#include "extraction/pagecharset.h"
#include "extraction/regexp.h"
#include "extraction/search.h"
#include "model/securityitem.h"
#include "platform/codepage.h"
#include "platform/shellword.h"
#include "platform/translation.h"
#include "platform/utf8.h"
#include "servers/serverstore.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tarvelo {

namespace {

constexpr std::size_t kExcerptBefore = 60;
constexpr std::size_t kExcerptAfter = 100;
constexpr std::size_t kMaxNumberText = 40;
constexpr std::size_t kPageStart = 200;
constexpr std::size_t kNearbyBefore = 50;
constexpr std::size_t kNearbyAfter = 30;
constexpr std::size_t kNearbyCount = 3;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Where the text starts in the page, read lowered or as it is; npos when it is not there.
std::size_t findText(std::string_view page, const std::string& text, bool lowered)
{
    if (text.empty())
        return 0;
    if (!lowered)
        return page.find(text);
    return lowerCp1252Copy(page).find(lowerCp1252Copy(text));
}

// The characters the number parser takes at p: digits, signs, points, commas and the
// configured separators.
std::string numberTextAt(std::string_view page, std::size_t p, const std::string& thousands,
                         const std::string& decimal)
{
    std::string text;
    while (p < page.size() && text.size() < kMaxNumberText) {
        const std::string_view rest = page.substr(p);
        std::size_t take = 0;
        if (isDigit(rest[0]) || rest[0] == ',' || rest[0] == '.' || rest[0] == '-' || rest[0] == '+')
            take = 1;
        else if (!thousands.empty() && rest.starts_with(thousands))
            take = thousands.size();
        else if (!decimal.empty() && rest.starts_with(decimal))
            take = decimal.size();
        if (take == 0)
            break;
        text.append(rest.substr(0, take));
        p += take;
    }
    return text;
}

NumberReading readAt(std::string_view page, std::size_t p, const ServerConfig& config)
{
    NumberReading reading;
    reading.at = p;
    const bool lowered = config.caseInsensitive.isSet();
    const std::string pageThousands = utf8ToCp1252(config.thousandsSeparator);
    const std::string pageDecimal = utf8ToCp1252(config.decimalSeparator);
    const std::string thousands = lowered ? lowerCp1252Copy(pageThousands) : pageThousands;
    const std::string decimal = lowered ? lowerCp1252Copy(pageDecimal) : pageDecimal;
    const std::string_view at = page.substr(std::min(p, page.size()));
    reading.code = lowered ? parseQuotationLowered(at, thousands, decimal, reading.value)
                           : parseQuotation(at, thousands, decimal, reading.value);
    reading.text = cp1252ToUtf8(numberTextAt(page, p, pageThousands, pageDecimal));
    return reading;
}

NumberReading nothingAt(std::size_t p)
{
    NumberReading reading;
    reading.at = p;
    reading.code = kNotFound;
    return reading;
}

// The page from before to after on one line: control characters read as blanks.
std::string oneLine(std::string_view page, std::size_t from, std::size_t to)
{
    from = std::min(from, page.size());
    to = std::clamp(to, from, page.size());
    std::string text(page.substr(from, to - from));
    for (char& c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F)
            c = ' ';
    }
    return text;
}

std::string excerptAround(std::string_view page, std::size_t start, std::size_t end)
{
    return oneLine(page, start > kExcerptBefore ? start - kExcerptBefore : 0, end + kExcerptAfter);
}

std::string numberText(double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

// Whether text was filled from the template: it begins with the template's words before
// its first marker.
bool filledFrom(std::string_view text, const std::string& templateText)
{
    return text.starts_with(std::string_view(templateText).substr(0, templateText.find('%')));
}

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && lowerCp1252Copy(text.substr(0, prefix.size())) == lowerCp1252Copy(prefix);
}

// What the regular-expression search saw: the page around the value's capture and what
// the number parser read at its start.
void traceRegExp(std::string_view page, const ServerConfig& config, RuleDiagnosis& d)
{
    RegExp re;
    if (!re.compile(utf8ToCp1252(config.regExp), config.caseInsensitive.isSet()))
        return;
    const int rc = re.match(std::string_view(page.data(), page.size() + 1), 0);
    if (rc <= config.quotationIndex || config.quotationIndex < 0)
        return;
    const std::size_t start = re.start(config.quotationIndex);
    if (start == std::string_view::npos || start > page.size())
        return;
    d.excerpt = cp1252ToUtf8(excerptAround(page, start, start));
    NumberReading reading;
    reading.at = start;
    const std::string thousands = utf8ToCp1252(config.thousandsSeparator);
    const std::string decimal = utf8ToCp1252(config.decimalSeparator);
    reading.code = parseQuotation(page.substr(start), thousands, decimal, reading.value);
    reading.text = cp1252ToUtf8(numberTextAt(page, start, thousands, decimal));
    d.reading = reading;
}

void traceStandard(std::string_view page, const ServerConfig& config, RuleDiagnosis& d)
{
    const bool lowered = config.caseInsensitive.isSet();
    const std::string text = utf8ToCp1252(config.textBeforeValue);
    std::size_t at = findText(page, text, lowered);
    if (at != std::string_view::npos) {
        d.text = TextPresence::Found;
    } else if (!lowered && (at = findText(page, text, true)) != std::string_view::npos) {
        d.text = TextPresence::OtherCase;
    } else {
        d.text = TextPresence::Missing;
        // What the page holds instead: its beginning, and where the numbers like the
        // item's latest value stand.
        d.pageStart = cp1252ToUtf8(oneLine(page, 0, kPageStart));
        if (d.latestValue)
            d.nearestNumbers = numbersNear(page, *d.latestValue, config, kNearbyCount);
        return;
    }
    d.textAsInPage = cp1252ToUtf8(page.substr(at, text.size()));
    d.excerpt = cp1252ToUtf8(excerptAround(page, at, at + text.size()));
    if (d.text != TextPresence::Found)
        return;
    d.reading = readStandardSearch(page, config);
    // The walk should end where the search itself did; if it read something else the
    // position would mislead, so it is not shown.
    const ExtractionResult searched = runExtractionOnPage(config, page, 0);
    if (d.reading && (d.reading->code != searched.code || (searched.code == kFound && d.reading->value != searched.value)))
        d.reading.reset();
}

// A semi-html rule that stops on a tag or reads a wrong number may only need to pass one
// more tag; the value that would give, if any.
std::optional<double> valueWithOneMoreTag(std::string_view page, ServerConfig config)
{
    ++config.tagsToSkip;
    const ExtractionResult result = runExtractionOnPage(config, page, 0);
    if (result.code == kFound)
        return result.value;
    return std::nullopt;
}

void explainSearch(const ServerConfig& config, std::optional<std::string_view> page, RuleDiagnosis& d)
{
    if (config.searchKind == SearchKind::JsonPath) {
        d.cause = fill(translate("Doctor", "The JSON search failed: %1."), {d.extractionMessage});
        d.advice.push_back(RuleAdvice::SuggestRule);
        return;
    }
    const std::string text = quoted(config.textBeforeValue);
    if (d.code == DownloadCode::TextNotFound) {
        if (d.text == TextPresence::OtherCase && page) {
            ServerConfig caseless = config;
            caseless.caseInsensitive = true;
            if (const ExtractionResult result = runExtractionOnPage(caseless, *page, 0); result.code == kFound)
                d.adviceValue = result.value;
            d.cause = fill(translate("Doctor", "The text before value %1 occurs in the page only in other letter case (%2), "
                                               "and the search tells letter case apart."),
                           {text, quoted(d.textAsInPage)});
            d.advice.push_back(RuleAdvice::CaseInsensitive);
        } else {
            d.cause = fill(translate("Doctor", "The text before value %1 does not occur in the converted page."), {text});
            d.advice.push_back(RuleAdvice::SuggestRule);
        }
        return;
    }
    if (config.searchKind == SearchKind::RegularExpression) {
        if (!d.reading && filledFrom(d.extractionMessage, translate("Search", kNoRegExpMatch))) {
            d.cause = translate("Doctor", "The regular expression does not match the converted page.");
        } else if (!d.reading) {
            d.cause = fill(translate("Doctor", "The regular-expression search failed: %1"), {d.extractionMessage});
        } else {
            d.cause = d.reading->text.empty()
                          ? fill(translate("Doctor", "The regular expression matched, but its capture %1 holds no value "
                                                     "that could be read."),
                                 {std::to_string(config.quotationIndex)})
                          : fill(translate("Doctor", "The regular expression matched, but its capture %1 holds no value "
                                                     "that could be read (%2)."),
                                 {std::to_string(config.quotationIndex), quoted(d.reading->text)});
        }
        d.advice.push_back(RuleAdvice::SuggestRule);
        return;
    }
    if (!page || !d.reading) {
        d.cause = d.extractionMessage.empty()
                      ? fill(translate("Doctor", "The text before value %1 was found, but no number follows it."), {text})
                      : fill(translate("Doctor", "The text before value %1 was found, but no number follows it (%2)."),
                             {text, d.extractionMessage});
    } else if (d.reading->code == kInvalidNumber) {
        d.cause = fill(translate("Doctor", "The text before value %1 was found; the number parser read %2 after it, which "
                                           "is not a valid number."),
                       {text, quoted(d.reading->text)});
    } else if (d.reading->at < page->size() && (*page)[d.reading->at] == '<') {
        d.cause = fill(translate("Doctor", "The text before value %1 was found, but a tag comes before any number after it."),
                       {text});
    } else if (d.reading->at >= page->size()) {
        d.cause = fill(translate("Doctor", "The text before value %1 was found, but the page ends before a number follows "
                                           "it."),
                       {text});
    } else {
        d.cause = fill(translate("Doctor", "The text before value %1 was found, but no number stands where the search "
                                           "ended (%2)."),
                       {text, quoted(cp1252ToUtf8(oneLine(*page, d.reading->at, d.reading->at + 30)))});
    }
    if (config.conversion == Conversion::SemiHtml && page) {
        d.adviceValue = valueWithOneMoreTag(*page, config);
        if (d.adviceValue) {
            d.advice.push_back(RuleAdvice::SkipOneMoreTag);
            return;
        }
    }
    d.advice.push_back(RuleAdvice::SuggestRule);
}

void explainError(const ServerConfig& config, const DownloadMessage& m, const WorkerSettings& settings,
                  RuleDiagnosis& d)
{
    const long status = d.page.httpStatus;
    const std::string statusText = status > 0 ? " (HTTP " + std::to_string(status) + ")" : "";
    switch (m.detail) {
    case DownloadError::WrongUrl:
        if (!settings.allowHttps && (startsWithNoCase(m.url, "https://") || startsWithNoCase(d.address, "https://"))) {
            d.cause = translate("Doctor", "The address is a secure (https) one, and those are not fetched while the option "
                                          "AllowHttps is 0.");
            d.advice.push_back(RuleAdvice::AllowHttps);
        } else {
            d.cause = translate("Doctor", "The address is not one that can be fetched: it must begin with http://, "
                                          "https:// or file:// and name a server.");
            d.advice.push_back(RuleAdvice::CheckAddress);
        }
        return;
    case DownloadError::FileNotFound:
        if (!m.errorText.empty())
            d.cause = m.errorText;
        else
            d.cause = fill(translate("Doctor", "There is no page at this address%1."), {statusText});
        d.advice.push_back(RuleAdvice::CheckAddress);
        return;
    case DownloadError::BadUrl:
        if (status == 403 || status == 429) {
            d.cause = fill(translate("Doctor", "The server refused the request%1; some servers refuse programs they do not "
                                               "know by their user agent."),
                           {statusText});
            d.advice.push_back(RuleAdvice::SetUserAgent);
        } else {
            d.cause = fill(translate("Doctor", "The server refused the request%1."), {statusText});
            d.advice.push_back(RuleAdvice::CheckAddress);
        }
        return;
    case DownloadError::Server:
        d.cause = fill(translate("Doctor", "The server failed to answer%1."), {statusText});
        d.advice.push_back(RuleAdvice::RetryLater);
        return;
    case DownloadError::Timeout:
        d.cause = fill(translate("Doctor", "The page did not arrive within the configuration's timeout of %1 seconds."),
                       {std::to_string(config.timeout)});
        d.advice.push_back(RuleAdvice::RaiseTimeout);
        return;
    default:
        if (filledFrom(m.errorText, translate("Download", kCertificateNotTrusted))) {
            d.cause = fill(translate("Doctor", "The server's certificate is not trusted: %1"), {m.errorText});
            d.advice.push_back(RuleAdvice::UntrustedCertificate);
        } else if (!m.errorText.empty()) {
            d.cause = fill(translate("Doctor", "The download failed: %1"), {m.errorText});
        } else {
            d.cause = fill(translate("Doctor", "The download failed%1."), {statusText});
        }
        return;
    }
}

// The command line that has rules made for the page the item downloads.
void buildSuggestCommand(const ServerConfig& config, const DownloadMessage& m, const SecurityItem* item,
                         RuleDiagnosis& d)
{
    const std::string& address = !m.url.empty() ? m.url : d.address;
    d.suggestValue = d.nearestNumbers.empty() ? std::string() : d.nearestNumbers.front().text;
    std::string command = "tarvelo-cli suggest " + shellWord(validUtf8(address)) + " "
                        + (d.suggestValue.empty() ? "VALUE" : shellWord(d.suggestValue));
    if (config.conversion != Conversion::SemiHtml)
        command += " --conversion " + std::to_string(storedNumber(config.conversion));
    if (item) {
        if (!item->settings().name.empty())
            command += " --name " + shellWord(item->settings().name);
        if (!item->settings().symbol.empty())
            command += " --symbol " + shellWord(item->settings().symbol);
    }
    d.suggestCommand = command;
}

} // namespace

std::vector<NearbyNumber> numbersNear(std::string_view page, double value, const ServerConfig& config,
                                      std::size_t count)
{
    const Separators own{utf8ToCp1252(config.thousandsSeparator), utf8ToCp1252(config.decimalSeparator)};
    const auto distance = [&](double v) { return std::abs(v - value) / std::max(std::abs(value), 1e-9); };
    struct Reading {
        double distance;
        std::size_t at;
        std::string_view text;
        double value;
    };
    std::vector<Reading> readings;
    const std::string_view blank =
        std::find(blankSpellings().begin(), blankSpellings().end(), own.thousands) != blankSpellings().end()
            ? std::string_view(own.thousands)
            : std::string_view();
    for (const PageNumber& number : pageNumbers(page, blank)) {
        std::optional<double> read = valueInFormat(number.text, own);
        if (!read) {
            for (const Separators& format : formatsOfNumber(number.text)) {
                const std::optional<double> other = valueInFormat(number.text, format);
                if (other && (!read || distance(*other) < distance(*read)))
                    read = other;
            }
        }
        if (read)
            readings.push_back({distance(*read), number.at, number.text, *read});
    }
    const std::size_t kept = std::min(count, readings.size());
    std::partial_sort(readings.begin(), readings.begin() + static_cast<std::ptrdiff_t>(kept), readings.end(),
                      [](const Reading& a, const Reading& b) {
                          return a.distance != b.distance ? a.distance < b.distance : a.at < b.at;
                      });
    std::vector<NearbyNumber> nearest;
    for (std::size_t i = 0; i < kept; ++i) {
        const Reading& r = readings[i];
        const std::size_t from = r.at > kNearbyBefore ? r.at - kNearbyBefore : 0;
        nearest.push_back({r.at, cp1252ToUtf8(r.text), r.value,
                           cp1252ToUtf8(oneLine(page, from, r.at + r.text.size() + kNearbyAfter))});
    }
    return nearest;
}

ServerConfig itemDownloadConfig(const SecurityItem& item)
{
    const ServerConfig& own = item.settings().server;
    return withItemVariables(own.name.empty() ? own : resolveServerConfig(own), item.settings().name,
                             item.settings().symbol);
}

std::string conversionName(Conversion conversion)
{
    switch (conversion) {
    // Translated where the explanation shows them.
    case Conversion::None:
        return TARVELO_TRANSLATE_NOOP("Doctor", "none");
    case Conversion::SemiHtml:
        return TARVELO_TRANSLATE_NOOP("Doctor", "semi-html");
    case Conversion::TextOnly:
        return TARVELO_TRANSLATE_NOOP("Doctor", "text only");
    default:
        return TARVELO_TRANSLATE_NOOP("Doctor", "unknown");
    }
}

std::optional<NumberReading> readStandardSearch(std::string_view page, const ServerConfig& config)
{
    const SearchWalk walk = walkStandardSearch(page, standardRuleOf(config), config.conversion == Conversion::SemiHtml);
    if (walk.code == kTextNotFound)
        return std::nullopt;
    if (walk.code != kFound)
        return nothingAt(walk.at);
    return readAt(page, walk.at, config);
}

RuleDiagnosis diagnoseRule(const ServerConfig& config, const DownloadMessage& m,
                           std::optional<std::string_view> convertedPage, const WorkerSettings& settings,
                           const SecurityItem* item)
{
    RuleDiagnosis d;
    if (double latest = 0.0; item && item->lastValue(latest))
        d.latestValue = latest;
    d.itemName = m.itemName;
    d.code = m.code;
    d.detail = m.detail;
    d.wouldUpdate = m.code == DownloadCode::Done && m.quotation;
    if (m.quotation)
        d.value = m.quotation->value;
    d.statusText = connectionStatusText(m);
    d.extractionMessage = m.extractionMessage;
    d.errorText = m.errorText;
    d.page = m.page;
    d.address = !m.page.address.empty() ? m.page.address : m.url;
    d.conversion = config.conversion;
    d.searchKind = config.searchKind;
    d.timeout = config.timeout;
    d.textBeforeValue = config.searchKind == SearchKind::RegularExpression ? config.regExp
                        : config.searchKind == SearchKind::JsonPath       ? config.jsonValue
                                                                          : config.textBeforeValue;
    d.caseInsensitive = config.caseInsensitive.isSet();

    const bool searched = (m.code >= DownloadCode::Done && m.code <= DownloadCode::TextNotFound)
                          || m.code == DownloadCode::Implausible;
    // A page that came as UTF-8 is handed over so again; the search read it in the code page.
    std::string inCodePage;
    if (convertedPage && m.page.convertedFromUtf8) {
        inCodePage = utf8PageToCp1252(*convertedPage);
        convertedPage = inCodePage;
    }
    if (searched && convertedPage) {
        d.pageSeen = true;
        if (config.searchKind == SearchKind::RegularExpression)
            traceRegExp(*convertedPage, config, d);
        else if (config.searchKind != SearchKind::JsonPath)
            traceStandard(*convertedPage, config, d);
    }

    switch (m.code) {
    case DownloadCode::Done:
        d.cause = d.wouldUpdate ? fill(translate("Doctor", "The value %1 was found; an update would store it."),
                                       {numberText(d.value.value_or(0))})
                                : translate("Doctor", "The search ended without a value.");
        break;
    case DownloadCode::Implausible:
        d.cause = fill(translate("Doctor", "The value %1 was found, but an update would hold it back: %2."),
                       {numberText(d.value.value_or(0)), d.statusText});
        break;
    case DownloadCode::NotFound:
    case DownloadCode::InvalidValue:
    case DownloadCode::TextNotFound:
        explainSearch(config, searched ? convertedPage : std::nullopt, d);
        if (std::find(d.advice.begin(), d.advice.end(), RuleAdvice::SuggestRule) != d.advice.end())
            buildSuggestCommand(config, m, item, d);
        break;
    case DownloadCode::Error:
        explainError(config, m, settings, d);
        break;
    case DownloadCode::Aborted:
        d.cause = translate("Doctor", "The download was aborted.");
        break;
    default:
        d.cause = translate("Doctor", "No answer came for this item.");
        break;
    }
    return d;
}

} // namespace tarvelo
