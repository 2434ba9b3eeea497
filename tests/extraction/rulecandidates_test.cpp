#include "extraction/rulecandidates.h"

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

CandidateSearch generate(const std::string& page, Conversion conversion, const std::string& quotation,
                         CandidateMatching matching = CandidateMatching::Windowed)
{
    return generateCandidates(page, conversion, quotation, ".", ",", {}, matching);
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
    EXPECT_TRUE(kurs->verified);
    EXPECT_EQ(describeCandidate(*kurs), "find text \"Kurs aktuell\" and skip 1 html tag(s) ");
    // List order: numbers outer, tags inner.
    for (std::size_t i = 1; i < search.candidates.size(); ++i) {
        const RuleCandidate& a = search.candidates[i - 1];
        const RuleCandidate& b = search.candidates[i];
        EXPECT_LT(a.numbers * 16 + a.tags, b.numbers * 16 + b.tags);
    }

    // Typed with a "." where the page has ",": the "." matches any character.
    const CandidateSearch dotted = generate(page, Conversion::SemiHtml, "22.65");
    const RuleCandidate* dottedKurs = findCandidate(dotted, "Kurs aktuell", 1, 0);
    ASSERT_NE(dottedKurs, nullptr);
    EXPECT_EQ(dottedKurs->length, kurs->length);

    RuleCandidate other = *kurs;
    other.tags = 0;
    other.numbers = 2;
    EXPECT_EQ(describeCandidate(other), "find text \"Kurs aktuell\" and skip 2 number(s)");
    other.tags = 3;
    EXPECT_EQ(describeCandidate(other), "find text \"Kurs aktuell\", skip 3 html tag(s) and then skip 2 number(s)");
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
// earlier is refused; one that occurs earlier only in another letter case is offered,
// but the case-insensitive search starts there and is not verified.
TEST(ruleCandidates, TheStandardSearchDecidesOfferAndVerification)
{
    const CandidateSearch refused = generate("<>Preis<>7<>Preis<>22,65<>", Conversion::SemiHtml, "22,65");
    EXPECT_EQ(findCandidate(refused, "Preis", 1, 0), nullptr);
    EXPECT_NE(findCandidate(refused, "Preis", 3, 0), nullptr); // the first "Preis" itself
    EXPECT_NE(findCandidate(generate("<>Stand<>7<>Preis<>22,65<>", Conversion::SemiHtml, "22,65"), "Preis", 1, 0),
              nullptr);

    const CandidateSearch search = generate("<>KURS<>9,99<>Kurs<>22,65<> EUR<>", Conversion::SemiHtml, "22,65");
    const RuleCandidate* kurs = findCandidate(search, "Kurs", 1, 0);
    const RuleCandidate* upper = findCandidate(search, "KURS", 3, 0);
    ASSERT_TRUE(kurs && upper);
    EXPECT_FALSE(kurs->verified); // reads 9,99 after "KURS"
    EXPECT_TRUE(upper->verified);
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
    search = generateCandidates(broken, Conversion::SemiHtml, "22(65", ".", ",", [&](int) { return ++calls, true; });
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
    CandidateSearch search = generateCandidates(page, Conversion::SemiHtml, "48,12", "", ",", [&](int done) {
        seen.push_back(done);
        return true;
    });
    EXPECT_EQ(search.outcome, CandidateOutcome::Done);
    ASSERT_EQ(seen.size(), 96u);
    EXPECT_EQ(candidateAttempts(Conversion::SemiHtml), 96);
    for (std::size_t i = 0; i < seen.size(); ++i)
        EXPECT_EQ(seen[i], static_cast<int>(i) + 1);

    int calls = 0;
    search = generateCandidates(pageText("fonds-ALF.html", Conversion::TextOnly), Conversion::TextOnly, "48,12", "",
                                ",", [&](int) { return ++calls, true; });
    EXPECT_EQ(calls, 6);

    calls = 0;
    search = generateCandidates(page, Conversion::SemiHtml, "48,12", "", ",", [&](int done) {
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
    const ServerConfig stored = withCandidate(config, candidate, "http://kurse.example/[&symbol]", ".", ",", "IBM",
                                              "870747");
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
                    && a.length == b.length && a.verified == b.verified)
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
