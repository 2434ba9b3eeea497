#include "transfer/import.h"
#include "transfer/importpreview.h"

#include "platform/files.h"
#include "platform/localtime.h"
#include "platform/profile.h"

#include "tests/support/scopedtimezone.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tarvelo {
namespace {

TEST(ImportTemplate, DefaultTemplateWithTheInitialSeparators)
{
    const ImportSettings settings;
    const ImportExpression e = translateImportTemplate(settings.formatTemplate, settings.thousands, settings.decimal, "X");
    std::string expected = "[ ]*([0-9]+)-([0-9]+|jan|january|januar|janeiro|feb|fev|february|februar|fevereiro|mar|"
                           "m\xE4r|march|m\xE4rz|mar\xE7o|apr|abr|april|abril|may|mai|maio|jun|june|juni|junho|jul|"
                           "july|juli|julho|aug|ago|august|agosto|sep|set|september|setembro|oct|okt|out|october|"
                           "oktober|outubro|nov|november|novembro|dec|dez|december|dezember|dezembro)-([0-9]+)";
    for (int i = 0; i < 5; ++i)
        expected += ",[0-9.]+";
    expected += ",([0-9.]+)";
    EXPECT_EQ(e.expression, expected);
    EXPECT_EQ((std::vector<int>{e.day, e.month, e.year, e.value, e.hour, e.minute}),
              (std::vector<int>{1, 2, 3, 4, -1, -1}));
}

TEST(ImportTemplate, CapturesAreNumberedInTemplateOrder)
{
    const struct {
        const char* text;
        std::vector<int> indices; // value, day, month, year, hour, minute
        const char* expression;
    } cases[] = {
        {"[&value];[&dummyvalue];[&year]-[&month]-[&day] [&hour]:[&minute]", {1, 4, 3, 2, 5, 6}, nullptr},
        {"[&symbol];[&day].[&month].[&year];[&value]", {4, 1, 2, 3, -1, -1}, nullptr},
        {"[&day] [&day] [&value]", {2, 1, -1, -1, -1, -1}, nullptr},
        {"[&year];[&unknown];[&value]", {2, -1, -1, 1, -1, -1}, "([0-9]+);[&unknown];([0-9,.]+)"},
        {"[&year]", {-1, -1, -1, 1, -1, -1}, nullptr},
        {"A.B [&value]", {1, -1, -1, -1, -1, -1}, "A.B ([0-9,.]+)"},
    };
    for (const auto& c : cases) {
        const ImportExpression e = translateImportTemplate(c.text, ",", ".", "A.B");
        EXPECT_EQ((std::vector<int>{e.value, e.day, e.month, e.year, e.hour, e.minute}), c.indices) << c.text;
        if (c.expression) {
            EXPECT_EQ(e.expression, c.expression) << c.text;
        }
    }
}

class ImportQuotationsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_file = (std::filesystem::temp_directory_path() / "history.csv").string();
        ItemSettings settings;
        settings.name = "ACME";
        m_item = m_doc.addItem(settings);
        m_doc.insertQuotation(m_item, 5.0, makeLocalTime(2003, 2, 2, 20, 0));
        m_doc.setModified(false);
    }
    test::ScopedTimeZone m_zone{"UTC"};
    PortfolioDocument m_doc;
    ItemKey m_item;
    std::string m_file;
};

TEST_F(ImportQuotationsTest, MergesByTimeAndNeverReplaces)
{
    ASSERT_EQ(writeWholeFile(m_file, "Date,Open,High,Low,Close,Volume,Adj Close\n"
                                     "3-Feb-2003,1,1,1,1,100,3.5\n2-Feb-2003,1,1,1,1,100,2.5\n1-Feb-2003,1,1,1,1,100,1.5\n"),
              FileError::None);
    const ImportSettings settings;
    const ImportExpression e = translateImportTemplate(settings.formatTemplate, "", ".", "");
    const ImportResult r = importQuotations(m_doc, m_item, m_file, m_file, e, true, "", ".", makeLocalTime(2003, 6, 1));
    ASSERT_TRUE(r.ok()) << r.message();
    EXPECT_EQ(r->count, 3u);
    EXPECT_TRUE(m_doc.isModified());
    const auto& history = *m_doc.quotations(m_item);
    ASSERT_EQ(history.size(), 4u);
    EXPECT_DOUBLE_EQ(history[0].value, 1.5);
    EXPECT_DOUBLE_EQ(history[1].value, 2.5); // same time as the old record: goes in front
    EXPECT_DOUBLE_EQ(history[2].value, 5.0);
    EXPECT_DOUBLE_EQ(history[3].value, 3.5);
    EXPECT_EQ(history[0].time, makeLocalTime(2003, 2, 1, 20, 0));
}

// Every line that matches either becomes a quotation or is counted and named with its
// reason; the import goes on after it. Nothing is added twice.
TEST_F(ImportQuotationsTest, ReportsWhatBecameOfEveryLine)
{
    const std::string header = "Date,Open,High,Low,Close,Volume,Adj Close\n";
    const std::string good = header + "3-Feb-2003,1,1,1,1,100,3.5\n4-Feb-2003,1,1,1,1,100,1.5E+02\n"
                                      "5-Feb-2003,1,1,1,1,100,5"; // no line break after the last line
    const auto line = [](const char* date, const char* value) {
        return std::string(date) + ",1,1,1,1,100," + value + "\n";
    };
    const std::string bad = header + line("32-Jan-2005", "1") + line("29-Feb-2005", "1") + line("0-Jan-2005", "1")
                            + line("1-Jan-1800", "1") + line("1-Jan-2040", "1") + line("19-Jan-2038", "1")
                            + line("2-Jan-2005", "0.00") + line("29-Feb-2004", "2.5") + line("3-Jan-2005", "1E+999")
                            + line("31-Apr-2005", "1") + line("5-13-2005", "1") + line("6-Jan-2005", ".")
                            + line("7-Jan-2005", "0");
    const struct {
        std::string body;
        int imports; // of the same file, one after the other
        bool ok;
        std::size_t count, duplicates, skipped;
        std::string text; // the report, or the message when the file gave nothing
        std::vector<double> values;
    } cases[] = {
        {good, 1, true, 3, 0, 0, "3 quotations imported", {5.0, 3.5, 150.0, 5.0}},
        {good, 2, true, 0, 3, 0, "0 quotations imported, 3 already in the history", {5.0, 3.5, 150.0, 5.0}},
        {good + "\n" + line("6-Feb-2003", "6") + line("6-Feb-2003", "6") + line("6-Feb-2003", "7"), 1, true, 5, 1, 0,
         "5 quotations imported, 1 already in the history", {5.0, 3.5, 150.0, 5.0, 7.0, 6.0}},
        {bad, 1, true, 1, 0, 12,
         "1 quotations imported, 12 lines skipped (line 2: day 32 does not exist; line 3: 2005-02-29 does not exist; "
         "line 4: day 0 does not exist; line 5: 1800-01-01 is before 1901-12-13; "
         "line 6: 2040-01-01 is after 2038-01-19; line 7: 2038-01-19 20:00 is after 2038-01-19 03:14; "
         "line 8: value 0.00 is not above 0; line 10: value 1E+999 is not a finite number; "
         "line 11: 2005-04-31 does not exist; line 12: month 13 does not exist; ...)",
         {5.0, 2.5}},
        {header + line("32-Jan-2005", "1"), 1, false, 0, 0, 1,
         "Error importing quotations from file \"quotes.csv\":\n"
         "0 quotations imported, 1 lines skipped (line 2: day 32 does not exist)",
         {5.0}},
        {"nothing to see\n", 1, false, 0, 0, 0, "Error importing quotations from file \"quotes.csv\":\nNo match found!",
         {5.0}},
    };
    const ImportSettings settings;
    const ImportExpression e = translateImportTemplate(settings.formatTemplate, "", ".", "");
    for (const auto& c : cases) {
        PortfolioDocument doc;
        const ItemKey item = doc.addItem(ItemSettings{});
        doc.insertQuotation(item, 5.0, makeLocalTime(2003, 2, 2, 20, 0));
        ASSERT_EQ(writeWholeFile(m_file, c.body), FileError::None);
        for (int i = 1; i < c.imports; ++i)
            (void)importQuotations(doc, item, m_file, "quotes.csv", e, true, "", ".", makeLocalTime(2003, 6, 1));
        const ImportResult r =
            importQuotations(doc, item, m_file, "quotes.csv", e, true, "", ".", makeLocalTime(2003, 6, 1));
        EXPECT_EQ(r.ok(), c.ok) << c.text;
        // A file that gave nothing has its counts in the message's words.
        if (r.ok()) {
            EXPECT_EQ(r->count, c.count) << c.text;
            EXPECT_EQ(r->duplicates, c.duplicates) << c.text;
            EXPECT_EQ(r->skipped, c.skipped) << c.text;
        }
        EXPECT_EQ(r.ok() ? r->report : r.message(), c.text);
        std::vector<double> values;
        for (const Quotation& q : *doc.quotations(item))
            values.push_back(q.value);
        EXPECT_EQ(values, c.values) << c.text;
    }

    // A file that cannot be read, or an item that is gone, imports nothing.
    ImportResult r = importQuotations(m_doc, m_item, "/no/such/file", "/no/such/file", e, true, "", ".", 0);
    EXPECT_EQ(r.message(), "Error importing quotations from file \"/no/such/file\":\nCould not open file!\n");
    EXPECT_FALSE(m_doc.isModified());
    EXPECT_FALSE(importQuotations(m_doc, ItemKey{}, m_file, m_file, e, true, "", ".", 0).ok());
}

// The preview tells, before anything changes, what the import then does: the same
// counts and reasons, the range, and warnings of records in the future and of values
// more than 100% away from the latest one (twice or half of it).
TEST_F(ImportQuotationsTest, ThePreviewTellsWhatTheImportWillDo)
{
    const auto line = [](const std::string& date, const char* value) {
        return date + ",1,1,1,1,100," + value + "\n";
    };
    std::string many;
    for (int day = 1; day <= 25; ++day)
        many += line(std::to_string(day) + "-Mar-2003", day == 25 ? "2.6" : "5");
    const ImportSettings defaults;
    const std::string withHour = "[&day]-[&month]-[&year] [&hour]:[&minute],[&value]";
    const TimeStamp now = makeLocalTime(2003, 6, 1, 16, 0);
    const struct {
        std::string formatTemplate;
        std::string body;
        bool withHistory;
        std::vector<std::string> lines;
    } cases[] = {
        // A bad date, a record the history holds, one in the future and far off.
        {defaults.formatTemplate,
         "Date,Open,High,Low,Close,Volume,Adj Close\n" + line("3-Feb-2003", "10.5") + line("32-Jan-2003", "1")
             + line("2-Feb-2003", "5") + line("30-Aug-2031", "1.5") + line("1-Feb-2003", "2.6"),
         true,
         {"5 lines matched: 3 quotations to import, 1 already in the history, 1 lines skipped "
          "(line 3: day 32 does not exist)",
          "Dates from 02/01/03 20:00 to 08/30/31 20:00",
          "Warning: 1 quotation lies in the future (the latest 08/30/31 20:00)",
          "Warning: 2 quotations are more than 100% away from the latest value 5.0000 (1.5000 to 10.5000)",
          "02/03/03 20:00\t10.5000", "02/02/03 20:00\t5.0000\t(already in the history)",
          "08/30/31 20:00\t1.5000", "02/01/03 20:00\t2.6000"}},
        // Without an hour in the template a record of today (at the stand-in 20:00) is
        // not in the future, one of tomorrow is; with an hour, 20:00 today is.
        {defaults.formatTemplate, line("1-Jun-2003", "5") + line("2-Jun-2003", "5"), true,
         {"2 lines matched: 2 quotations to import", "Dates from 06/01/03 20:00 to 06/02/03 20:00",
          "Warning: 1 quotation lies in the future (the latest 06/02/03 20:00)", "06/01/03 20:00\t5.0000",
          "06/02/03 20:00\t5.0000"}},
        {withHour, "1-Jun-2003 20:00,5\n1-Jun-2003 15:59,5\n", true,
         {"2 lines matched: 2 quotations to import", "Dates from 06/01/03 15:59 to 06/01/03 20:00",
          "Warning: 1 quotation lies in the future (the latest 06/01/03 20:00)", "06/01/03 20:00\t5.0000",
          "06/01/03 15:59\t5.0000"}},
        // Twenty rows are shown; the counts, the range and the warnings cover all. A
        // value of 2.6 is not half of 5 yet, and an item without history has no latest.
        {defaults.formatTemplate, many, true, {}},
        {defaults.formatTemplate, line("1-Feb-2003", "1000"), false,
         {"1 lines matched: 1 quotations to import", "Dates from 02/01/03 20:00 to 02/01/03 20:00",
          "02/01/03 20:00\t1000.0000"}},
        // Nothing to import: the words the import fails with.
        {defaults.formatTemplate, "nothing to see\n", true,
         {"Error importing quotations from file \"quotes.csv\":\nNo match found!"}},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(writeWholeFile(m_file, c.body), FileError::None);
        PortfolioDocument doc;
        const ItemKey item = doc.addItem(ItemSettings{});
        if (c.withHistory)
            doc.insertQuotation(item, 5.0, makeLocalTime(2003, 2, 2, 20, 0));
        const ImportExpression e = translateImportTemplate(c.formatTemplate, "", ".", "");
        const ImportMatch match = matchImportFile(m_file, "quotes.csv", e, true, "", ".", now);
        const ImportPreview preview = previewImport(*doc.item(item), match, now);
        const std::vector<std::string> lines = previewLines(preview);
        if (!c.lines.empty()) {
            EXPECT_EQ(lines, c.lines) << c.body;
        } else {
            ASSERT_EQ(preview.rows.size(), ImportPreview::kShownRecords);
            EXPECT_EQ(lines.size(), 2 + ImportPreview::kShownRecords);
            EXPECT_EQ(lines[0], "25 lines matched: 25 quotations to import");
            EXPECT_EQ(lines[1], "Dates from 03/01/03 20:00 to 03/25/03 20:00");
            EXPECT_EQ(lines.back(), "03/20/03 20:00\t5.0000");
        }
        // The import does what the preview said.
        const std::size_t before = doc.quotations(item)->size();
        const ImportResult result = importMatched(doc, item, match);
        EXPECT_EQ(result.ok(), !preview.importsNothing()) << c.body;
        EXPECT_EQ(doc.quotations(item)->size() - before, preview.newRecords) << c.body;
        if (!result.ok()) {
            EXPECT_EQ(result.message(), preview.failure);
        }
    }
}

TEST(importTemplates, DefaultsAndStoredOnes)
{
    Profile().deleteKey("ServerImport");
    std::vector<std::string> templates = importTemplates();
    ASSERT_EQ(templates.size(), 2u);
    EXPECT_NE(templates[0].find("/table.csv?b=[&day_begin]&a=[&month_begin-1]&c=[&year_begin]&e=[&day_end]"
                                "&d=[&month_end-1]&f=[&year_end]&g=d&ignore=.csv&s=[&symbol]"),
              std::string::npos);
    EXPECT_NE(templates[1].find("/kurse/[&symbol].csv"), std::string::npos);
    Profile().writeText("ServerImport", "URL2", "");
    Profile().writeText("ServerImport", "URL4", "http://mine/[&symbol]");
    templates = importTemplates();
    EXPECT_EQ(templates.size(), 2u);
    EXPECT_EQ(templates[1], "http://mine/[&symbol]");
}

} // namespace
} // namespace tarvelo
