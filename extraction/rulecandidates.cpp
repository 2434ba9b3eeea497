#include "extraction/rulecandidates.h"

#include "extraction/extract.h"
#include "extraction/jsoncandidates.h"
#include "extraction/numberparser.h"
#include "extraction/page.h"
#include "extraction/pagecharset.h"
#include "extraction/regexp.h"
#include "extraction/search.h"
#include "platform/codepage.h"
#include "platform/translation.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <ctime>

namespace tarvelo {

namespace {

constexpr int kMaximumNumbers = 5;
constexpr int kSemiHtmlMaximumTags = 15;

// The text before value: 2 to 30 characters (capture 1), with the delimiters that the
// conversions without tags put around it.
constexpr const char* kPrefixNone = "[ >\\t\\r\\n]([^ .,\\t\\r\\n][^,\\t\\r\\n]{0,28}[^.,\\t\\r\\n])";
constexpr const char* kPrefixSemiHtml = "([^-+., <>\\t\\r\\n][^,<>\\t\\r\\n]{0,28}[^.,<>\\t\\r\\n])";
constexpr const char* kPrefixTextOnly = "[ \\t\\r\\n]([^ .,\\t\\r\\n][^,\\t\\r\\n]{0,28}[^.,\\t\\r\\n])[ \\t\\r\\n]";
constexpr const char* kUntilNumber = "[^<>0-9.,]*";
constexpr const char* kTag = "<[^>]*>";
constexpr const char* kInsideTags = "[^<>]*";
constexpr const char* kNumber = "[-+]?[0-9][0-9.,]*";
constexpr const char* kAfterNumber = "[^<>0-9.,]+";
constexpr const char* kEndOfNumber = "[^0-9.,]";

// How far the start of a match can lie before the end of its text before value: the
// leading delimiter, 30 characters and, in text-only pages, the trailing delimiter.
std::size_t textReach(Conversion conversion)
{
    switch (conversion) {
    case Conversion::None:
        return 31;
    case Conversion::TextOnly:
        return 32;
    default:
        return 30;
    }
}

const char* prefixOf(Conversion conversion)
{
    switch (conversion) {
    case Conversion::None:
        return kPrefixNone;
    case Conversion::TextOnly:
        return kPrefixTextOnly;
    default:
        return kPrefixSemiHtml;
    }
}

bool isNumberChar(char c)
{
    return (c >= '0' && c <= '9') || c == '.' || c == ',';
}

bool isAngle(char c)
{
    return c == '<' || c == '>';
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A quotation whose characters are plain, or "." for any character: inserted into an
// expression it matches exactly its own length, and nothing in it reaches into the
// parts before it. Any other expression syntax goes the plain way.
bool isPlainQuotation(std::string_view quotation)
{
    return quotation.find_first_of("\\^$[]|()?*+{}") == std::string_view::npos;
}

std::string compileMessage(const RegExp& re, std::size_t quotationAt, std::size_t quotationSize)
{
    const std::size_t at = re.errorOffset();
    if (at >= quotationAt && at <= quotationAt + quotationSize)
        return fill(translate("Search", "The quotation cannot be searched for: %1 (at character %2 of the quotation)"),
                    {re.errorText(), std::to_string(at - quotationAt + 1)});
    return fill(translate("Search", "The quotation cannot be searched for: %1"), {re.errorText()});
}

std::string matchMessage(int rc)
{
    if (rc == RegExp::kErrorLimit)
        return translate("Search", "The quotation cannot be searched for: its expression takes too long to match in this "
                                   "page");
    return fill(translate("Search", "The quotation cannot be searched for: matching error %1"), {std::to_string(rc)});
}

// Where a plain quotation stands in the page, followed by a character that ends a number,
// and what the page looks like just before each place. A match of any attempt ends with
// one of these places, and its start is bounded by what lies before it.
struct Occurrence {
    std::size_t at = 0;
    // The last '<' or '>' before the place, npos when there is none.
    std::size_t lastAngle = std::string_view::npos;
    // Runs of digits, '.' and ',' between lastAngle and the place, counted up to 6.
    int runs = 0;
    // runBound[n]: the lowest position p for which [p, at) holds no '<' or '>' and at
    // most n such runs.
    std::array<std::size_t, kMaximumNumbers + 1> runBound{};
    // The '>' characters before the place, nearest first, up to the most tags and one.
    std::array<std::size_t, kSemiHtmlMaximumTags + 1> closers{};
    int closerCount = 0;
};

bool quotationAt(std::string_view subject, std::size_t at, std::string_view quotation)
{
    if (at + quotation.size() >= subject.size())
        return false;
    for (std::size_t i = 0; i < quotation.size(); ++i) {
        const char q = quotation[i];
        if (q != '.' && asciiLower(q) != asciiLower(subject[at + i]))
            return false;
    }
    return !isNumberChar(subject[at + quotation.size()]);
}

Occurrence describeOccurrence(std::string_view subject, std::size_t at, bool withTags)
{
    Occurrence o;
    o.at = at;
    std::size_t p = at;
    int runs = 0;
    bool inRun = false;
    while (p > 0) {
        const char c = subject[p - 1];
        if (isAngle(c)) {
            o.lastAngle = p - 1;
            break;
        }
        if (isNumberChar(c)) {
            if (!inRun) {
                if (runs <= kMaximumNumbers)
                    o.runBound[static_cast<std::size_t>(runs)] = p;
                ++runs;
                inRun = true;
                if (runs > kMaximumNumbers)
                    break;
            }
        } else {
            inRun = false;
        }
        --p;
    }
    for (int n = runs; n <= kMaximumNumbers; ++n)
        o.runBound[static_cast<std::size_t>(n)] = p;
    o.runs = runs;
    if (runs > kMaximumNumbers) { // stopped early: find the nearest '<' or '>' on its own
        while (p > 0 && !isAngle(subject[p - 1]))
            --p;
        o.lastAngle = p > 0 ? p - 1 : std::string_view::npos;
    }
    if (withTags) {
        for (std::size_t q = at; q > 0 && o.closerCount <= kSemiHtmlMaximumTags; --q) {
            if (subject[q - 1] == '>')
                o.closers[static_cast<std::size_t>(o.closerCount++)] = q - 1;
        }
    }
    return o;
}

// The longest piece of the quotation without '.' and letters, which a plain byte search
// can look for; the letters are matched without regard to case.
std::pair<std::size_t, std::size_t> searchablePiece(std::string_view quotation)
{
    std::size_t best = 0;
    std::size_t bestSize = 0;
    std::size_t begin = 0;
    for (std::size_t i = 0; i <= quotation.size(); ++i) {
        if (i == quotation.size() || quotation[i] == '.' || isAsciiLetter(quotation[i])) {
            if (i - begin > bestSize) {
                best = begin;
                bestSize = i - begin;
            }
            begin = i + 1;
        }
    }
    return {best, bestSize};
}

std::vector<Occurrence> findOccurrences(std::string_view subject, std::string_view quotation, bool withTags)
{
    std::vector<Occurrence> found;
    const auto [pieceAt, pieceSize] = searchablePiece(quotation);
    if (pieceSize == 0) {
        for (std::size_t at = 0; at + quotation.size() < subject.size(); ++at) {
            if (quotationAt(subject, at, quotation))
                found.push_back(describeOccurrence(subject, at, withTags));
        }
        return found;
    }
    const std::string_view piece = quotation.substr(pieceAt, pieceSize);
    std::size_t from = pieceAt;
    while (from < subject.size()) {
        const void* hit = memmem(subject.data() + from, subject.size() - from, piece.data(), piece.size());
        if (!hit)
            break;
        const std::size_t pieceFound = static_cast<std::size_t>(static_cast<const char*>(hit) - subject.data());
        const std::size_t at = pieceFound - pieceAt;
        if (quotationAt(subject, at, quotation))
            found.push_back(describeOccurrence(subject, at, withTags));
        from = pieceFound + 1;
    }
    return found;
}

// The positions [first, last] at which a match of the attempt that ends with the
// occurrence can start; false when there are none.
bool startWindow(const Occurrence& o, Conversion conversion, int tags, int numbers, std::size_t& first,
                 std::size_t& last)
{
    if (o.at < 2)
        return false;
    last = o.at - 2;
    if (tags == 0) {
        // Between the text and the quotation: no '<' or '>', and exactly `numbers` runs
        // of digits, '.' and ','. In semi-html the text holds no '<' or '>' either.
        const std::size_t bound = o.runBound[static_cast<std::size_t>(numbers)];
        const std::size_t reach = textReach(conversion);
        first = bound > reach ? bound - reach : 0;
        if (conversion == Conversion::SemiHtml && o.lastAngle != std::string_view::npos)
            first = std::max(first, o.lastAngle + 1);
        return first <= last;
    }
    // Semi-html with tags: the last tag's '>' comes just before the numbers, so nothing
    // but `numbers` runs stands between it and the quotation; the text begins after the
    // (tags + 1)-th '>' before the quotation and before the tags-th.
    if (o.lastAngle == std::string_view::npos || o.runs != numbers || o.closerCount < tags)
        return false;
    if (o.closers[0] != o.lastAngle)
        return false;
    const std::size_t firstTagEnd = o.closers[static_cast<std::size_t>(tags - 1)];
    first = o.closerCount > tags ? o.closers[static_cast<std::size_t>(tags)] + 1 : 0;
    if (firstTagEnd < 3)
        return false;
    last = std::min(last, firstTagEnd - 3);
    return first <= last;
}

// Whether some occurrence leaves room for a match of the attempt. An attempt without
// room needs no expression: a plain quotation always compiles.
bool anyStartWindow(const std::vector<Occurrence>& occurrences, Conversion conversion, int tags, int numbers)
{
    std::size_t first = 0;
    std::size_t last = 0;
    return std::any_of(occurrences.begin(), occurrences.end(), [&](const Occurrence& o) {
        return startWindow(o, conversion, tags, numbers, first, last);
    });
}

struct AttemptMatch {
    bool found = false;
    std::size_t start = 0;
    std::size_t end = 0;
    std::size_t textStart = 0;
    std::size_t textEnd = 0;
};

void takeMatch(const RegExp& re, AttemptMatch& match)
{
    match.found = true;
    match.start = re.start(0);
    match.end = re.end(0);
    match.textStart = re.start(1);
    match.textEnd = re.end(1);
}

// Compiles one attempt's expression, anchored when it is to be tried at chosen places.
bool compileAttempt(RegExp& re, Conversion conversion, int tags, int numbers, const std::string& quotation,
                    bool anchored, std::string& message)
{
    const std::string expression = candidateExpression(conversion, tags, numbers, quotation);
    const std::string pattern = anchored ? "\\G" + expression : expression;
    if (re.compile(pattern, true))
        return true;
    const std::size_t quotationAt =
        pattern.size() - quotation.size() - std::char_traits<char>::length(kEndOfNumber);
    message = compileMessage(re, quotationAt, quotation.size());
    return false;
}

// The leftmost match from the page's start, as one unanchored match finds it.
int plainMatch(RegExp& re, std::string_view subject, AttemptMatch& match)
{
    const int rc = re.match(subject, 0);
    if (rc > 0)
        takeMatch(re, match);
    return rc;
}

// The same match, found by trying the anchored expression only where a match can start,
// in ascending order; the first start that matches is the leftmost one.
int windowedMatch(RegExp& anchored, std::string_view subject, const std::vector<Occurrence>& occurrences,
                  Conversion conversion, int tags, int numbers, AttemptMatch& match)
{
    std::size_t next = 0;
    for (const Occurrence& o : occurrences) {
        std::size_t first = 0;
        std::size_t last = 0;
        if (!startWindow(o, conversion, tags, numbers, first, last))
            continue;
        for (std::size_t s = std::max(first, next); s <= last; ++s) {
            const int rc = anchored.match(subject, s);
            if (rc > 0) {
                takeMatch(anchored, match);
                return rc;
            }
            if (rc != RegExp::kErrorNoMatch)
                return rc;
        }
        next = std::max(next, last + 1);
    }
    return RegExp::kErrorNoMatch;
}

// The page with its letters lowered once, to find where a case-insensitive standard
// search meets a text first without lowering the whole page for every candidate.
class LoweredPage {
public:
    explicit LoweredPage(std::string_view page) : m_page(page) {}

    // Whether the lowered text occurs in the lowered page before position `before`.
    bool occursBefore(const std::string& loweredText, std::size_t before)
    {
        if (m_lowered.empty() && !m_page.empty()) {
            m_lowered.resize(m_page.size());
            lowerCp1252(m_page.data(), m_page.size(), m_lowered.data());
        }
        const std::size_t span = std::min(m_lowered.size(), before + loweredText.size() - 1);
        return memmem(m_lowered.data(), span, loweredText.data(), loweredText.size()) != nullptr;
    }

private:
    std::string_view m_page;
    std::string m_lowered;
};

// Whether the first occurrence of the candidate's text (exact) is the candidate's own:
// the standard search starts at a text's first occurrence.
bool firstOccurrenceIsOwn(std::string_view page, const RuleCandidate& candidate)
{
    const std::size_t span = std::min(page.size(), candidate.start + candidate.text.size() - 1);
    return memmem(page.data(), span, candidate.text.data(), candidate.text.size()) == nullptr;
}

// Whether the search an update runs, with the candidate as the wizard would store it
// (its text a template, put back with the item's variables), reads the value. The
// case-insensitive search finds the text's first occurrence in any letter case and
// reads on to the page's end; when no occurrence in any case comes before the
// candidate's place, the page from there on gives the same result.
bool readsValue(std::string_view page, LoweredPage& lowered, const RuleCandidate& candidate, double value,
                const std::string& name, const std::string& symbol)
{
    const ServerConfig searched = searchedRule(candidate, name, symbol);
    const std::string text = utf8ToCp1252(searched.textBeforeValue);
    std::string_view from = page.substr(std::min(candidate.start, page.size()));
    if (text.empty() || lowered.occursBefore(lowerCp1252Copy(text), candidate.start))
        from = page;
    const ExtractionResult result = runExtractionOnPage(searched, from, 0);
    return result.code == kFound && result.value == value;
}

std::string formatNote(std::string_view typedUtf8, const FormatChoice& choice, const Separators& format)
{
    if (!choice.ambiguous)
        return {};
    std::string note;
    switch (choice.reason) {
    case FormatReason::Page:
        note = translate("Search", "[format %1: %2 is read as %3, as the page's other numbers are written]");
        break;
    case FormatReason::Preferred:
        note = translate("Search", "[format %1: %2 is read as %3, as the configuration's format reads it]");
        break;
    case FormatReason::Default:
        note = translate("Search", "[format %1: %2 is read as %3; nothing in the page decides it]");
        break;
    case FormatReason::Written:
        note = translate("Search", "[format %1: %2 is read as %3, as chosen]");
        break;
    }
    return fill(note, {cp1252ToUtf8(formatShown(format)), std::string(typedUtf8), plainNumber(choice.value)});
}

} // namespace

std::string candidateFormatNote(std::string_view typedUtf8, const FormatChoice& choice)
{
    return formatNote(typedUtf8, choice, choice.format);
}

namespace {

Separators inCodePage(const Separators& format)
{
    return {utf8ToCp1252(format.thousands), utf8ToCp1252(format.decimal)};
}

Separators inUtf8(const Separators& format)
{
    return {cp1252ToUtf8(format.thousands), cp1252ToUtf8(format.decimal)};
}

std::string trimmedBlanks(const std::string& text)
{
    // Blanks, and the non-breaking space in UTF-8, at either end.
    std::size_t begin = 0;
    std::size_t end = text.size();
    for (;;) {
        if (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
            ++begin;
        else if (end - begin >= 2 && text.compare(begin, 2, "\xC2\xA0") == 0)
            begin += 2;
        else
            break;
    }
    for (;;) {
        if (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t'))
            --end;
        else if (end - begin >= 2 && text.compare(end - 2, 2, "\xC2\xA0") == 0)
            end -= 2;
        else
            break;
    }
    return text.substr(begin, end - begin);
}

enum class AttemptsEnd { Done, Bad, Cancelled };

// Every attempt for one spelling of the quotation; the matches whose rules read the
// value are added to the search.
AttemptsEnd runAttempts(const CandidateRequest& request, const std::string& quotation,
                        const std::optional<FormatChoice>& choice, LoweredPage& lowered,
                        const std::function<bool(int done)>& progress, CandidateMatching matching,
                        CandidateSearch& search)
{
    const std::string_view page = request.page;
    const Conversion conversion = request.conversion;
    // The expressions match the page with its terminating NUL, as the regular-expression
    // search does.
    const std::string_view subject(page.data(), page.size() + 1);
    const bool windowed = matching == CandidateMatching::Windowed && isPlainQuotation(quotation);
    std::vector<Occurrence> occurrences;
    if (windowed)
        occurrences = findOccurrences(subject, quotation, conversion == Conversion::SemiHtml);

    const int tagsLimit = maximumTags(conversion);
    const std::size_t shift = conversion == Conversion::SemiHtml ? 0 : 1;
    int done = 0;
    RegExp re;
    for (int numbers = 0; numbers <= kMaximumNumbers; ++numbers) {
        for (int tags = 0; tags <= tagsLimit; ++tags) {
            const bool room = !windowed || anyStartWindow(occurrences, conversion, tags, numbers);
            std::string message;
            if (room && !compileAttempt(re, conversion, tags, numbers, quotation, windowed, message)) {
                search.message = cp1252ToUtf8(message);
                return AttemptsEnd::Bad;
            }
            AttemptMatch match;
            const int rc = !room     ? RegExp::kErrorNoMatch
                           : windowed ? windowedMatch(re, subject, occurrences, conversion, tags, numbers, match)
                                      : plainMatch(re, subject, match);
            if (rc <= 0 && rc != RegExp::kErrorNoMatch) {
                search.message = matchMessage(rc);
                return AttemptsEnd::Bad;
            }
            if (match.found && choice) {
                RuleCandidate candidate;
                candidate.text = std::string(page.substr(match.textStart, match.textEnd - match.textStart));
                candidate.conversion = conversion;
                candidate.tags = tags;
                candidate.numbers = numbers;
                candidate.start = match.start + shift;
                candidate.length = match.end - match.start - 1 - shift;
                candidate.quotation = quotation;
                candidate.format = inUtf8(choice->format);
                candidate.formatNote = formatNote(trimmedBlanks(request.quotation), *choice, choice->format);
                if (firstOccurrenceIsOwn(page, candidate)
                    && readsValue(page, lowered, candidate, choice->value, request.itemName, request.itemSymbol))
                    search.candidates.push_back(std::move(candidate));
            }
            ++done;
            if (progress && !progress(done))
                return AttemptsEnd::Cancelled;
        }
    }
    return AttemptsEnd::Done;
}

} // namespace

std::string candidatePageText(std::string_view downloaded, Conversion conversion)
{
    const CharsetDeclaration declared = declaredCharset({}, downloaded.substr(0, kCharsetSniffBytes));
    std::string text = declared.charset == PageCharset::Utf8
                           ? convertPageText(conversion, utf8PageToCp1252(downloaded))
                           : convertPageText(conversion, downloaded);
    blankNulBytes(text);
    return text;
}

int maximumTags(Conversion conversion)
{
    return conversion == Conversion::SemiHtml ? kSemiHtmlMaximumTags : 0;
}

int candidateAttempts(Conversion conversion)
{
    return (maximumTags(conversion) + 1) * (kMaximumNumbers + 1);
}

std::string candidateExpression(Conversion conversion, int tags, int numbers, std::string_view quotation)
{
    std::string e = prefixOf(conversion);
    e += kUntilNumber;
    for (int i = 0; i < tags; ++i) {
        e += kTag;
        e += i + 1 == tags ? kUntilNumber : kInsideTags;
    }
    for (int i = 0; i < numbers; ++i) {
        e += kNumber;
        e += kAfterNumber;
    }
    e += quotation;
    e += kEndOfNumber;
    return e;
}

CandidateSearch generateCandidates(const CandidateRequest& request, const std::function<bool(int done)>& progress,
                                   CandidateMatching matching)
{
    CandidateSearch search;
    const std::string typedQuotation = trimmedBlanks(request.quotation);
    if (typedQuotation.empty()) {
        search.outcome = CandidateOutcome::NoQuotation;
        search.message = translate("Search", "Please enter the quotation to be extracted!");
        return search;
    }
    // The page is searched in Windows-1252, and so is the typed text; a character the
    // code page lacks cannot stand in the page.
    const std::string typed = utf8ToCp1252(typedQuotation);
    const std::string_view page = request.page;
    std::vector<std::string> spellings;
    if (fitsCp1252(typedQuotation)) {
        for (std::string& spelling : blankRespellings(typed)) {
            if (memmem(page.data(), page.size(), spelling.data(), spelling.size()) != nullptr)
                spellings.push_back(std::move(spelling));
        }
    }
    const Separators preferred = inCodePage(request.preferred);
    // Paths in the page's JSON data; they may read a number the page writes otherwise
    // ("1234.5" for a typed "1,234.50").
    const std::string_view rawPage = !request.downloaded.empty() ? request.downloaded
                                     : request.rawPage.empty()   ? page
                                                                 : request.rawPage;
    std::vector<RuleCandidate> json = jsonCandidates(rawPage, page, typedQuotation, request.preferred, request.itemName,
                                                     request.itemSymbol, static_cast<TimeStamp>(std::time(nullptr)));
    // In a page that is JSON itself they come first: a path outlasts a text's place.
    const std::size_t first = rawPage.find_first_not_of(" \t\r\n");
    const bool jsonFirst = first != std::string_view::npos && (rawPage[first] == '{' || rawPage[first] == '[');
    const auto withJson = [&] {
        if (jsonFirst)
            search.candidates.insert(search.candidates.begin(), json.begin(), json.end());
        else
            search.candidates.insert(search.candidates.end(), json.begin(), json.end());
    };
    ExplanationInput why;
    why.page = page;
    why.rawPage = request.rawPage;
    why.conversion = request.conversion;
    why.typed = typed;
    why.typedUtf8 = typedQuotation;
    why.inPage = !spellings.empty();
    if (spellings.empty() && !json.empty()) {
        search.candidates = std::move(json);
        return search;
    }
    if (spellings.empty()) {
        search.outcome = CandidateOutcome::QuotationMissing;
        search.message = translate("Search", "Quotation doesn't exist in the specified web page!");
        if (fitsCp1252(typedQuotation))
            why.choice = chooseFormat(blankRespellings(typed).front(), page, preferred);
        search.explanation = explainNoRule(why);
        return search;
    }

    LoweredPage lowered(page);
    for (const std::string& spelling : spellings) {
        const std::optional<FormatChoice> choice = chooseFormat(spelling, page, preferred);
        if (!why.choice)
            why.choice = choice;
        switch (runAttempts(request, spelling, choice, lowered, progress, matching, search)) {
        case AttemptsEnd::Bad:
            search.outcome = CandidateOutcome::BadQuotation;
            search.candidates.clear();
            return search;
        case AttemptsEnd::Cancelled:
            search.outcome = CandidateOutcome::Cancelled;
            withJson();
            return search;
        case AttemptsEnd::Done:
            break;
        }
        if (!search.candidates.empty()) {
            withJson();
            return search;
        }
    }
    withJson();
    if (search.candidates.empty())
        search.explanation = explainNoRule(why);
    return search;
}

std::vector<RuleCandidate> candidatesInFormat(std::string_view page, std::vector<RuleCandidate> candidates,
                                              const Separators& format, const std::string& itemName,
                                              const std::string& itemSymbol, std::string_view downloaded)
{
    std::vector<RuleCandidate> kept;
    if (candidates.empty())
        return kept;
    const Separators pair = inCodePage(format);
    const std::optional<double> value = valueInFormat(candidates.front().quotation, pair);
    if (!value)
        return kept;
    // Whether the other formats the quotation fits read it otherwise: then the note
    // says that this one was chosen.
    FormatChoice chosen{pair, *value, false, FormatReason::Written};
    for (const Separators& other : formatsOfNumber(candidates.front().quotation))
        chosen.ambiguous = chosen.ambiguous || valueInFormat(candidates.front().quotation, other) != value;
    LoweredPage lowered(page);
    for (RuleCandidate& candidate : candidates) {
        candidate.format = format;
        const std::string typed = cp1252ToUtf8(candidate.quotation);
        candidate.formatNote = formatNote(typed, chosen, pair);
        const bool reads = candidate.jsonPath.empty()
                               ? readsValue(page, lowered, candidate, *value, itemName, itemSymbol)
                               : jsonCandidateReads(downloaded.empty() ? page : downloaded, candidate, *value,
                                                    itemName, itemSymbol);
        if (reads)
            kept.push_back(std::move(candidate));
    }
    return kept;
}

std::string formatRefusal(std::string_view quotation, const Separators& format)
{
    const std::string typed = cp1252ToUtf8(quotation);
    const std::string shown = cp1252ToUtf8(formatShown(inCodePage(format)));
    if (!valueInFormat(quotation, inCodePage(format)))
        return fill(translate("Search", "The quotation \"%1\" is not a number in the format \"%2\"; choose another "
                                        "format, or press Get Configuration again."),
                    {typed, shown});
    return fill(translate("Search", "No rule reads the quotation \"%1\" in the format \"%2\"; choose another format, "
                                    "or press Get Configuration again."),
                {typed, shown});
}

namespace {

// The entry as the wizard has always described a rule.
std::string describedRule(const RuleCandidate& candidate)
{
    const std::string text = cp1252ToUtf8(candidate.text);
    if (candidate.tags == 0)
        return fill(translate("Search", "find text \"%1\" and skip %2 number(s)"),
                    {text, std::to_string(candidate.numbers)});
    // The wizard has always ended this one with a blank.
    if (candidate.numbers == 0)
        return fill(translate("Search", "find text \"%1\" and skip %2 html tag(s) "), {text, std::to_string(candidate.tags)});
    return fill(translate("Search", "find text \"%1\", skip %2 html tag(s) and then skip %3 number(s)"),
                {text, std::to_string(candidate.tags), std::to_string(candidate.numbers)});
}

} // namespace

std::string describeCandidate(const RuleCandidate& candidate)
{
    if (!candidate.jsonPath.empty()) {
        const std::string described =
            candidate.jsonDatePath.empty()
                ? fill(translate("Search", "JSON path: %1"), {candidate.jsonPath})
                : fill(translate("Search", "JSON path: %1, date: %2"), {candidate.jsonPath, candidate.jsonDatePath});
        return candidate.formatNote.empty() ? described : described + " " + candidate.formatNote;
    }
    const std::string described = describedRule(candidate);
    if (candidate.formatNote.empty())
        return described;
    // The described text of a rule that skips tags alone ends with a blank already.
    return described + (described.ends_with(' ') ? "" : " ") + candidate.formatNote;
}

namespace {

void replaceAll(std::string& text, std::string_view what, std::string_view with)
{
    if (what.empty())
        return;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

} // namespace

std::string textToTemplate(std::string text, std::string_view name, std::string_view symbol)
{
    replaceAll(text, name, "[&name]");
    replaceAll(text, symbol, "[&symbol]");
    return text;
}

ServerConfig withCandidate(ServerConfig config, const RuleCandidate& candidate, const std::string& url,
                           std::string_view name, std::string_view symbol)
{
    config.url = url;
    config.thousandsSeparator = candidate.format.thousands;
    config.decimalSeparator = candidate.format.decimal;
    if (!candidate.jsonPath.empty()) {
        config.searchKind = SearchKind::JsonPath;
        config.jsonValue = candidate.jsonPath;
        config.jsonDate = candidate.jsonDatePath;
        config.jsonTime.clear();
        return config;
    }
    config.conversion = candidate.conversion;
    config.textBeforeValue = textToTemplate(cp1252ToUtf8(candidate.text), name, symbol);
    config.tagsToSkip = candidate.tags;
    config.numbersToSkip = candidate.numbers;
    config.searchKind = SearchKind::Standard;
    config.caseInsensitive = true;
    return config;
}

ServerConfig searchedRule(const RuleCandidate& candidate, std::string_view name, std::string_view symbol)
{
    return withItemVariables(withCandidate(ServerConfig{}, candidate, {}, name, symbol), name, symbol);
}

} // namespace tarvelo
