#include "extraction/rulecandidates.h"

#include "extraction/extract.h"
#include "extraction/page.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>

namespace tarvelo {
namespace {

std::string pageText(const char* file, Conversion conversion)
{
    std::ifstream in(std::string(TARVELO_TEST_DATA) + "/" + file, std::ios::binary);
    std::ostringstream raw;
    raw << in.rdbuf();
    return candidatePageText(raw.str(), conversion);
}

CandidateRequest request(std::string_view page, Conversion conversion, const std::string& quotation,
                         Separators preferred = {".", ","})
{
    CandidateRequest r;
    r.page = page;
    r.conversion = conversion;
    r.quotation = quotation;
    r.preferred = std::move(preferred);
    return r;
}

CandidateSearch generate(const std::string& page, Conversion conversion, const std::string& quotation,
                         CandidateMatching matching = CandidateMatching::Windowed)
{
    return generateCandidates(request(page, conversion, quotation), {}, matching);
}

// What an update reads with the configuration the wizard stores for the candidate.
ExtractionResult storedRuleReads(std::string_view page, const RuleCandidate& candidate, const std::string& name = {},
                                 const std::string& symbol = {})
{
    const ServerConfig stored = withCandidate(ServerConfig{}, candidate, "http://example.invalid/", name, symbol);
    return runExtractionOnPage(withItemVariables(stored, name, symbol), page, 0);
}

const RuleCandidate* findCandidate(const CandidateSearch& search, std::string_view text, int tags, int numbers)
{
    for (const RuleCandidate& c : search.candidates) {
        if (c.text == text && c.tags == tags && c.numbers == numbers)
            return &c;
    }
    return nullptr;
}

TEST(ruleCandidates, SharePageOffersTheTextBeforeTheTag)
{
    const std::string page = pageText("aktie-IBM.html", Conversion::SemiHtml);
    ASSERT_NE(page.find("Kurs aktuell<>22,65<>"), std::string::npos);
    const CandidateSearch search = generate(page, Conversion::SemiHtml, "22,65");
    EXPECT_EQ(search.outcome, CandidateOutcome::Done);
    const RuleCandidate* kurs = findCandidate(search, "Kurs aktuell", 1, 0);
    ASSERT_NE(kurs, nullptr);
    EXPECT_EQ(page.substr(kurs->start, kurs->length), "Kurs aktuell<>22,65");
    EXPECT_EQ(kurs->format, (Separators{".", ","}));
    EXPECT_EQ(describeCandidate(*kurs), "find text \"Kurs aktuell\" and skip 1 html tag(s) ");
    // List order: numbers outer, tags inner.
    for (std::size_t i = 1; i < search.candidates.size(); ++i) {
        const RuleCandidate& a = search.candidates[i - 1];
        const RuleCandidate& b = search.candidates[i];
        EXPECT_LT(a.numbers * 16 + a.tags, b.numbers * 16 + b.tags);
    }

    // Typed with a "." where the share's line has ",": the "." matches any character, but
    // "22.65" has a decimal point, and the rules that would read "22,65" so are not
    // offered. The page's own "22.65" (NYSE, in USD) is.
    const CandidateSearch dotted = generate(page, Conversion::SemiHtml, "22.65");
    EXPECT_EQ(findCandidate(dotted, "Kurs aktuell", 1, 0), nullptr);
    ASSERT_FALSE(dotted.candidates.empty());
    for (const RuleCandidate& c : dotted.candidates) {
        EXPECT_EQ(page.substr(c.start + c.length - 12, 12), "(USD): 22.65") << c.text;
        EXPECT_EQ(c.format.decimal, ".");
    }

    RuleCandidate other = *kurs;
    other.tags = 0;
    other.numbers = 2;
    EXPECT_EQ(describeCandidate(other), "find text \"Kurs aktuell\" and skip 2 number(s)");
    other.tags = 3;
    EXPECT_EQ(describeCandidate(other), "find text \"Kurs aktuell\", skip 3 html tag(s) and then skip 2 number(s)");
}

// The typed quotation decides the number format, and every rule offered reads the
// typed value when it is stored and run through the search an update runs. Where the
// typed text leaves the format open ("123.456"), the page's other numbers and then the
// configuration's format decide, and the list entry says so.
TEST(ruleCandidates, TheTypedQuotationDecidesTheFormat)
{
    struct Case {
        const char* page;
        const char* typed;
        Separators preferred; // the configuration's format
        Separators format;    // the candidates' (UTF-8)
        double value;
        const char* note; // in the list entry; empty: none
    };
    const Case cases[] = {
        // The configuration reads "9999,99": the stored rule used to read 1.
        {"<>Kurs<>1.234,56<> EUR<>", "1.234,56", {"", ","}, {".", ","}, 1234.56, ""},
        {"<>Last<>1,234.56<> USD<>", "1,234.56", {"", ","}, {",", "."}, 1234.56, ""},
        {"<>Kurs<>1 234,56<> EUR<>", "1 234,56", {".", ","}, {" ", ","}, 1234.56, ""},
        {"<>Kurs<>1&nbsp;234,56<> EUR<>", "1 234,56", {".", ","}, {"&nbsp;", ","}, 1234.56, ""},
        {"<>Kurs<>1\xA0" "234,56<> EUR<>", "1\xC2\xA0" "234,56", {".", ","}, {"\xC2\xA0", ","}, 1234.56, ""},
        // No thousands in the value: the page's "1.204,10" shows them.
        {"<>Vortag<>1.204,10<><>Kurs<>22,65<>", "22,65", {"", ","}, {".", ","}, 22.65, ""},
        // Ambiguous: the page's other numbers decide, then the configuration.
        {"<>Kurs<>123.456<><>Vortag<>122.950,50<>", "123.456", {",", "."}, {".", ","}, 123456,
         "[format 9.999,99: 123.456 is read as 123456, as the page's other numbers are written]"},
        {"<>Kurs<>123.456<><>Vortag<>0.5<>", "123.456", {".", ","}, {",", "."}, 123.456,
         "[format 9,999.99: 123.456 is read as 123.456, as the page's other numbers are written]"},
        {"<>Kurs<>123.456<><>Stand 2024<>", "123.456", {"", "."}, {"", "."}, 123.456,
         "[format  9999.99: 123.456 is read as 123.456, as the configuration's format reads it]"},
    };
    for (const Case& c : cases) {
        const std::string page = c.page;
        const CandidateSearch search = generateCandidates(request(page, Conversion::SemiHtml, c.typed, c.preferred));
        ASSERT_EQ(search.outcome, CandidateOutcome::Done) << c.typed << " in " << c.page;
        ASSERT_FALSE(search.candidates.empty()) << c.typed << " in " << c.page << ": " << search.explanation.why;
        for (const RuleCandidate& candidate : search.candidates) {
            EXPECT_EQ(candidate.format, c.format) << c.page;
            const ExtractionResult read = storedRuleReads(page, candidate);
            EXPECT_EQ(read.code, kFound) << c.page;
            EXPECT_EQ(read.value, c.value) << c.page << ": " << describeCandidate(candidate);
            EXPECT_EQ(candidate.formatNote, c.note) << c.page;
        }
        if (*c.note) {
            EXPECT_TRUE(describeCandidate(search.candidates.front()).ends_with(std::string(" ") + c.note));
        }
    }

    // The user chooses another format: the rules that read the quotation in it stay.
    const std::string page = "<>Kurs<>123.456<><>Vortag<>122.950,50<>";
    const CandidateSearch search = generateCandidates(request(page, Conversion::SemiHtml, "123.456"));
    const std::vector<RuleCandidate> chosen = candidatesInFormat(page, search.candidates, {"", "."}, "", "");
    ASSERT_EQ(chosen.size(), search.candidates.size());
    EXPECT_EQ(storedRuleReads(page, chosen.front()).value, 123.456);
    EXPECT_EQ(chosen.front().formatNote, "[format  9999.99: 123.456 is read as 123.456, as chosen]");
    EXPECT_TRUE(candidatesInFormat(page, search.candidates, {"", ","}, "", "").empty());
    EXPECT_EQ(formatRefusal("123.456", {"", ","}),
              "The quotation \"123.456\" is not a number in the format \" 9999,99\"; choose another format, or press "
              "Get Configuration again.");
}

// Without a rule the wizard says why in one sentence, and what to try: for a value in
// script data that no JSON parser reads (a trailing comma), the regular expression that
// reads it, built from the page's own key.
TEST(ruleCandidates, NoRuleSaysWhyAndWhatToTry)
{
    const std::string script = "<html><body><div id=\"quote\"></div><script>\nvar quote = {\"isin\":\"DE0007\","
                               "\"price\":22.65,\"currency\":\"EUR\",};\n</script><p>Kurs: siehe oben</p></body></html>";
    struct Case {
        std::string raw;
        const char* typed;
        CandidateOutcome outcome;
        NoRuleReason reason;
        const char* why;
        const char* advice;
        const char* expression;
    };
    const Case cases[] = {
        {script, "22,65", CandidateOutcome::QuotationMissing, NoRuleReason::InScript,
         "The quotation \"22,65\" does not occur in the page as typed; its value stands only inside a script or JSON "
         "data, as \"22.65\" (\"price\":22.65).",
         "Use the regular-expression settings (Advanced >> in the server settings) with the expression "
         "\"price\":([0-9.]+), quotation match index 1 and the number format \" 9999.99\".",
         "\"price\":([0-9.]+)"},
        {script, "22.65", CandidateOutcome::Done, NoRuleReason::InScript,
         "The quotation \"22.65\" occurs only inside a script or JSON data (\"price\":22.65), where no rule of the "
         "standard search reads it.",
         nullptr, "\"price\":([0-9.]+)"},
        {"<p>Kurs <b>22,65 EUR</b></p>", "22,65 eur", CandidateOutcome::QuotationMissing, NoRuleReason::OtherCase,
         "The quotation \"22,65 eur\" occurs in the page only in another letter case (\"22,65 EUR\").",
         "Type it as the page writes it: 22,65 EUR.", ""},
        {"<p>Kurs <b>22,65 EUR</b></p>", "99,99", CandidateOutcome::QuotationMissing, NoRuleReason::Missing,
         "The quotation \"99,99\" does not occur in the page.", nullptr, ""},
        {"<p>Kurs <b>22.65 EUR</b></p>", "22,65", CandidateOutcome::QuotationMissing, NoRuleReason::Missing,
         "The quotation \"22,65\" does not occur in the page as typed; the page writes the value as \"22.65\".",
         "Type the quotation as the page writes it: 22.65.", ""},
        {"<p><span data-price=\"22,65\">Preis</span></p>", "22,65", CandidateOutcome::QuotationMissing,
         NoRuleReason::InTag,
         "The quotation \"22,65\" occurs only inside an html tag (<p><span data-price=\"22,65), which the semi-html "
         "conversion removes.",
         nullptr, ""},
        {"<p>Kurs <b>122,65</b></p>", "22,65", CandidateOutcome::Done, NoRuleReason::InsideLongerNumber,
         "The quotation \"22,65\" occurs in the page only as a part of a longer number (\"122,65\").",
         "Type the whole number as the page shows it: 122,65.", ""},
    };
    for (const Case& c : cases) {
        const std::string page = candidatePageText(c.raw, Conversion::SemiHtml);
        CandidateRequest r = request(page, Conversion::SemiHtml, c.typed);
        r.rawPage = c.raw;
        const CandidateSearch search = generateCandidates(r);
        EXPECT_EQ(search.outcome, c.outcome) << c.typed << " in " << c.raw;
        EXPECT_TRUE(search.candidates.empty());
        const CandidateExplanation& e = search.explanation;
        EXPECT_EQ(e.reason, c.reason) << c.typed << " in " << c.raw;
        EXPECT_EQ(e.why, c.why);
        if (c.advice)
            EXPECT_EQ(e.advice, c.advice);
        else
            EXPECT_FALSE(e.advice.empty());
        EXPECT_EQ(e.expression, c.expression);
        if (!e.expression.empty()) {
            // The expression, with its format, reads the value from the page searched.
            ServerConfig config;
            config.searchKind = SearchKind::RegularExpression;
            config.regExp = e.expression;
            config.quotationIndex = 1;
            config.thousandsSeparator = e.expressionFormat.thousands;
            config.decimalSeparator = e.expressionFormat.decimal;
            config.conversion = Conversion::SemiHtml;
            EXPECT_EQ(runExtractionOnPage(config, page, 0).value, 22.65);
        }
    }
}

// In JSON data the wizard proposes paths whose value is the typed quotation: keys named
// like a price first, then shorter paths; the symbol as [&symbol], an array's last
// element as [-1], a date beside the value as the date path, a string in the format it
// is written in. Each path is stored as a JSON search that reads the value again.
TEST(ruleCandidates, JsonDataGivesPathsThatReadTheTypedValue)
{
    const std::string api = R"({"meta":{"count":1.0512},"rates":{"USD":1.0512,"GBP":0.8312},)"
                            R"("series":[{"date":"2026-12-07","close":1.049},{"date":"2026-12-08","close":1.0512}],)"
                            R"("last":"1.0512"})";
    const std::string apiText = candidatePageText(api, Conversion::SemiHtml);
    CandidateRequest r = request(apiText, Conversion::SemiHtml, "1.0512");
    r.rawPage = api;
    r.itemSymbol = "USD";
    const CandidateSearch search = generateCandidates(r);
    ASSERT_EQ(search.outcome, CandidateOutcome::Done);
    ASSERT_GE(search.candidates.size(), 4u);
    std::vector<std::string> described;
    for (std::size_t i = 0; i < 4; ++i)
        described.push_back(describeCandidate(search.candidates[i]));
    EXPECT_EQ(described, (std::vector<std::string>{"JSON path: $.last", "JSON path: $.rates.[&symbol]",
                                                   "JSON path: $.series[-1].close, date: $.series[-1].date",
                                                   "JSON path: $.meta.count"}));
    const ServerConfig stored = withCandidate(ServerConfig{}, search.candidates[2], "https://x.test/[&symbol]", "", "USD");
    EXPECT_EQ(stored.searchKind, SearchKind::JsonPath);
    EXPECT_EQ(stored.jsonValue, "$.series[-1].close");
    EXPECT_EQ(stored.jsonDate, "$.series[-1].date");
    const ExtractionResult read = runExtractionOnPage(withItemVariables(stored, "", "USD"), api, 0);
    EXPECT_EQ(read.code, kFound);
    EXPECT_EQ(read.value, 1.0512);
    EXPECT_EQ(breakLocalTime(read.time).tm_mday, 8);

    // A string written with a decimal comma, inside a script of an HTML page; the same
    // number in the page's text is found by the standard search as well, before it.
    const std::string html = "<html><body><p>Kurs 1.234,56 EUR</p><script>window.__data = "
                             "{\"quote\":{\"isin\":\"DE0007\",\"lastPrice\":\"1.234,56\"}};</script></body></html>";
    const std::string htmlText = candidatePageText(html, Conversion::SemiHtml);
    CandidateRequest h = request(htmlText, Conversion::SemiHtml, "1.234,56");
    h.rawPage = html;
    const CandidateSearch inScript = generateCandidates(h);
    ASSERT_FALSE(inScript.candidates.empty());
    EXPECT_TRUE(inScript.candidates.front().jsonPath.empty());
    const RuleCandidate& json = inScript.candidates.back();
    EXPECT_EQ(json.jsonPath, "$.quote.lastPrice");
    EXPECT_EQ(json.format, (Separators{".", ","}));
    // Another format no longer reads the string as typed: the path is dropped.
    EXPECT_TRUE(candidatesInFormat(h.page, {json}, {",", "."}, "", "", html).empty());
    EXPECT_EQ(candidatesInFormat(h.page, {json}, {".", ","}, "", "", html).size(), 1u);
}

TEST(ruleCandidates, ConversionsWithoutTagsMakeAtMostSixCandidates)
{
    for (const Conversion conversion : {Conversion::None, Conversion::TextOnly}) {
        const std::string page = pageText("aktie-IBM.html", conversion);
        const CandidateSearch search = generate(page, conversion, "22,10");
        EXPECT_EQ(search.outcome, CandidateOutcome::Done);
        ASSERT_FALSE(search.candidates.empty()) << storedNumber(conversion);
        EXPECT_LE(search.candidates.size(), 6u);
        for (const RuleCandidate& c : search.candidates) {
            EXPECT_EQ(c.tags, 0);
            EXPECT_EQ(c.conversion, conversion);
            // The span begins with the text itself, not with the delimiter before it.
            EXPECT_EQ(page.substr(c.start, c.text.size()), c.text);
            EXPECT_EQ(page.substr(c.start + c.length - 5, 5), "22,10");
        }
    }
}

// The standard search starts at the first occurrence of the text: a text that occurs
// earlier is refused; one that occurs earlier only in another letter case leaves the
// case-insensitive search reading another value there, and is not offered either.
TEST(ruleCandidates, TheStandardSearchDecidesOfferAndVerification)
{
    const CandidateSearch refused = generate("<>Preis<>7<>Preis<>22,65<>", Conversion::SemiHtml, "22,65");
    EXPECT_EQ(findCandidate(refused, "Preis", 1, 0), nullptr);
    EXPECT_NE(findCandidate(refused, "Preis", 3, 0), nullptr); // the first "Preis" itself
    EXPECT_NE(findCandidate(generate("<>Stand<>7<>Preis<>22,65<>", Conversion::SemiHtml, "22,65"), "Preis", 1, 0),
              nullptr);

    const CandidateSearch search = generate("<>KURS<>9,99<>Kurs<>22,65<> EUR<>", Conversion::SemiHtml, "22,65");
    EXPECT_EQ(findCandidate(search, "Kurs", 1, 0), nullptr); // would read 9,99 after "KURS"
    EXPECT_NE(findCandidate(search, "KURS", 3, 0), nullptr);

    // The text is checked as it is stored: the item's name and symbol turned into
    // variables and back. A symbol that is a piece of "[&name]" breaks that template.
    const std::string page = "<>Stand<>9,10<>AB me:<>22,65<>";
    CandidateRequest broken = request(page, Conversion::SemiHtml, "22,65");
    broken.itemName = "AB";
    broken.itemSymbol = "me";
    const CandidateSearch templated = generateCandidates(broken);
    EXPECT_EQ(findCandidate(templated, "AB me:", 1, 0), nullptr);
    ASSERT_FALSE(templated.candidates.empty());
    for (const RuleCandidate& c : templated.candidates)
        EXPECT_EQ(storedRuleReads(page, c, "AB", "me").value, 22.65) << c.text;
}

TEST(ruleCandidates, TypedQuotationsThatCannotBeSearched)
{
    const std::string page = pageText("aktie-IBM.html", Conversion::SemiHtml);
    CandidateSearch search = generate(page, Conversion::SemiHtml, "");
    EXPECT_EQ(search.outcome, CandidateOutcome::NoQuotation);
    EXPECT_EQ(search.message, "Please enter the quotation to be extracted!");

    // The page has "22,65<> EUR"; only another letter case of the typed text is there.
    ASSERT_NE(page.find("EUR"), std::string::npos);
    search = generate(page, Conversion::SemiHtml, "eur");
    EXPECT_EQ(search.outcome, CandidateOutcome::QuotationMissing);
    EXPECT_EQ(search.message, "Quotation doesn't exist in the specified web page!");
    EXPECT_TRUE(search.candidates.empty());

    int calls = 0;
    const std::string broken = "<>Kurs<>22(65<>";
    search = generateCandidates(request(broken, Conversion::SemiHtml, "22(65"), [&](int) { return ++calls, true; });
    EXPECT_EQ(search.outcome, CandidateOutcome::BadQuotation);
    EXPECT_NE(search.message.find("missing closing parenthesis"), std::string::npos) << search.message;
    EXPECT_TRUE(search.candidates.empty());
    EXPECT_EQ(calls, 0);

    // Nested repeats over a long run that never ends the way the text wants: the
    // matching time limit ends it.
    const std::string runaway = "<>x " + std::string(5000, 'a') + "<>(a+)+b 1 <>";
    const auto started = std::chrono::steady_clock::now();
    search = generate(runaway, Conversion::SemiHtml, "(a+)+b");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_EQ(search.outcome, CandidateOutcome::BadQuotation);
    EXPECT_FALSE(search.message.empty());
}

TEST(ruleCandidates, ProgressAfterEveryAttemptAndCancel)
{
    const std::string page = pageText("fonds-ALF.html", Conversion::SemiHtml);
    std::vector<int> seen;
    CandidateSearch search = generateCandidates(request(page, Conversion::SemiHtml, "48,12"), [&](int done) {
        seen.push_back(done);
        return true;
    });
    EXPECT_EQ(search.outcome, CandidateOutcome::Done);
    ASSERT_EQ(seen.size(), 96u);
    EXPECT_EQ(candidateAttempts(Conversion::SemiHtml), 96);
    for (std::size_t i = 0; i < seen.size(); ++i)
        EXPECT_EQ(seen[i], static_cast<int>(i) + 1);

    int calls = 0;
    const std::string textOnly = pageText("fonds-ALF.html", Conversion::TextOnly);
    search = generateCandidates(request(textOnly, Conversion::TextOnly, "48,12"), [&](int) { return ++calls, true; });
    EXPECT_EQ(calls, 6);

    calls = 0;
    search = generateCandidates(request(page, Conversion::SemiHtml, "48,12"), [&](int done) {
        ++calls;
        return done < 20;
    });
    EXPECT_EQ(search.outcome, CandidateOutcome::Cancelled);
    EXPECT_EQ(calls, 20);
}

TEST(ruleCandidates, NameAndSymbolBecomeVariables)
{
    EXPECT_EQ(textToTemplate("IBM 870747:", "IBM", "870747"), "[&name] [&symbol]:");
    EXPECT_EQ(textToTemplate("IBM 870747:", "", ""), "IBM 870747:");

    ServerConfig config;
    config.name = "Boersenblick";
    config.timeout = 300;
    config.regExp = "Kurs ([0-9]+)";
    config.searchKind = SearchKind::RegularExpression;
    config.caseInsensitive = false;
    config.quotationIndex = 3;
    config.tagsToSkip = 4;
    config.decimalSeparator = ".";
    RuleCandidate candidate;
    candidate.text = "IBM 870747:";
    candidate.conversion = Conversion::TextOnly;
    candidate.numbers = 2;
    candidate.format = {".", ","};
    const ServerConfig stored = withCandidate(config, candidate, "http://kurse.example/[&symbol]", "IBM", "870747");
    ServerConfig expected = config; // timeout, expression and capture indices stay
    expected.url = "http://kurse.example/[&symbol]";
    expected.conversion = Conversion::TextOnly;
    expected.thousandsSeparator = ".";
    expected.decimalSeparator = ",";
    expected.tagsToSkip = 0;
    expected.textBeforeValue = "[&name] [&symbol]:";
    expected.numbersToSkip = 2;
    expected.searchKind = SearchKind::Standard;
    expected.caseInsensitive = true;
    EXPECT_EQ(stored, expected);
}

void expectSameSearch(const CandidateSearch& windowed, const CandidateSearch& plain, const std::string& what)
{
    ASSERT_EQ(windowed.outcome, plain.outcome) << what;
    ASSERT_EQ(windowed.candidates.size(), plain.candidates.size()) << what;
    for (std::size_t i = 0; i < plain.candidates.size(); ++i) {
        const RuleCandidate& a = windowed.candidates[i];
        const RuleCandidate& b = plain.candidates[i];
        EXPECT_TRUE(a.text == b.text && a.tags == b.tags && a.numbers == b.numbers && a.start == b.start
                    && a.length == b.length && a.format == b.format)
            << what << ": candidate " << i << " \"" << a.text << "\" " << a.tags << "/" << a.numbers << " at "
            << a.start << " against \"" << b.text << "\" " << b.tags << "/" << b.numbers << " at " << b.start;
    }
}

// The windowed matching must find exactly the match that the expression finds from the
// page's start: on the shipped pages and on random pages made of the characters that
// the expressions care about.
TEST(ruleCandidates, WindowedMatchingFindsWhatThePlainMatchFinds)
{
    const char* values[] = {"22,65", "22.65", "22,10", "48,12", "2", "5,00", "EUR", "Mio. EUR", "1.204.337", "+0,55"};
    for (const char* file : {"aktie-IBM.html", "fonds-ALF.html"}) {
        for (const Conversion conversion : {Conversion::None, Conversion::SemiHtml, Conversion::TextOnly}) {
            const std::string page = pageText(file, conversion);
            for (const char* value : values) {
                expectSameSearch(generate(page, conversion, value),
                                 generate(page, conversion, value, CandidateMatching::Plain),
                                 std::string(file) + " " + std::to_string(storedNumber(conversion)) + " " + value);
            }
        }
    }

    std::mt19937 random(20240305);
    const std::string alphabet = "<<>>>abB  \n\t-+..,,,1122229";
    for (int round = 0; round < 90; ++round) {
        std::string page;
        const std::size_t size = 40 + random() % 400;
        for (std::size_t i = 0; i < size; ++i)
            page += alphabet[random() % alphabet.size()];
        const std::string value = round % 3 == 0 ? "2,2" : round % 3 == 1 ? "2" : "2.b";
        if (round % 3 == 2)
            page.insert(random() % page.size(), "2.b ");
        for (const Conversion conversion : {Conversion::None, Conversion::SemiHtml, Conversion::TextOnly}) {
            expectSameSearch(
                generate(page, conversion, value), generate(page, conversion, value, CandidateMatching::Plain),
                "round " + std::to_string(round) + " conversion " + std::to_string(storedNumber(conversion)) + " value "
                    + value + " page [" + page + "]");
        }
    }
}

} // namespace
} // namespace tarvelo
