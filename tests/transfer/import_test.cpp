#include "transfer/import.h"

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
        m_doc.setModifiedFlag(false);
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
    const ImportResult r = importQuotations(m_doc, m_item, m_file, e, true, "", ".", makeLocalTime(2003, 6, 1));
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.count, 3u);
    EXPECT_TRUE(m_doc.isModified());
    const auto& history = *m_doc.quotations(m_item);
    ASSERT_EQ(history.size(), 4u);
    EXPECT_DOUBLE_EQ(history[0].value, 1.5);
    EXPECT_DOUBLE_EQ(history[1].value, 2.5); // same time as the old record: goes in front
    EXPECT_DOUBLE_EQ(history[2].value, 5.0);
    EXPECT_DOUBLE_EQ(history[3].value, 3.5);
    EXPECT_EQ(history[0].time, makeLocalTime(2003, 2, 1, 20, 0));

    // Importing again doubles the records.
    ASSERT_TRUE(importQuotations(m_doc, m_item, m_file, e, true, "", ".", 0).ok);
    EXPECT_EQ(m_doc.quotations(m_item)->size(), 7u);
}

TEST_F(ImportQuotationsTest, NothingImportedSaysWhy)
{
    ASSERT_EQ(writeWholeFile(m_file, "nothing to see\n"), FileError::None);
    const ImportExpression e = translateImportTemplate("[&day]-[&month]-[&year];[&value]", "", ".", "");
    ImportResult r = importQuotations(m_doc, m_item, m_file, e, true, "", ".", 0);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "Error importing quotations from file \"" + m_file + "\":\nNo match found!");
    EXPECT_FALSE(m_doc.isModified());

    r = importQuotations(m_doc, m_item, "/no/such/file", e, true, "", ".", 0);
    EXPECT_EQ(r.message, "Error importing quotations from file \"/no/such/file\":\nCould not open file!\n");
    EXPECT_FALSE(importQuotations(m_doc, ItemKey{}, m_file, e, true, "", ".", 0).ok);
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
