#include "extraction/numberparser.h"
#include "extraction/page.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>

namespace tarvelo {
namespace {

TEST(PageConversion, SemiHtmlAndTextOnly)
{
    const struct {
        const char* page;
        const char* semiHtml;
        const char* textOnly;
    } cases[] = {
        {"one<b class=x>two<br>three", "one<>two<>three", "one two three "},
        {"x<a href=y>1<b></b>2", "x<>1<><>2", "x 1 2 "},
        {"<td>22,65</td><td>EUR</td>", "<>22,65<><>EUR<>", "22,65 EUR "},
        {"a<>b", "a<>b", "a b "},
        {"ends <inside", "ends <", "ends  "},
        {"no > open", "no > open", "no > open "},
        {"line\nbreak<p> kept ", "line\nbreak<> kept ", "line\nbreak  kept  "},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(convertPageText(Conversion::SemiHtml, c.page), c.semiHtml) << c.page;
        EXPECT_EQ(convertPageText(Conversion::TextOnly, c.page), c.textOnly) << c.page;
        EXPECT_EQ(convertPageText(Conversion::None, c.page), c.page);
        EXPECT_EQ(convertPageText(Conversion{7}, c.page), "");
    }
}

TEST(PageConversion, FilesAndNulBytes)
{
    const auto folder = std::filesystem::temp_directory_path();
    const std::string source = (folder / "page.html").string();
    const std::string target = (folder / "page.txt").string();
    ASSERT_EQ(writeWholeFile(source, std::string("a\0b<i>c", 7)), FileError::None);
    ASSERT_TRUE(convertPage(Conversion::TextOnly, source, target));
    SearchPage page;
    ASSERT_TRUE(loadPageForSearch(target, page));
    EXPECT_EQ(page.text(), "a b c ");
    EXPECT_EQ(page.text().data()[page.text().size()], '\0');

    // NUL bytes of a page read as blanks; a NUL follows the page, also when the page
    // fills its last memory page exactly.
    for (const std::size_t size : {std::size_t{4096}, std::size_t{8191}, std::size_t{3}}) {
        std::string bytes(size, 'x');
        bytes[size / 2] = '\0';
        ASSERT_EQ(writeWholeFile(source, bytes), FileError::None);
        ASSERT_TRUE(loadPageForSearch(source, page));
        bytes[size / 2] = ' ';
        EXPECT_EQ(page.text(), bytes);
        EXPECT_EQ(page.text().data()[size], '\0');
    }

    // An unreadable source leaves the destination empty.
    ASSERT_TRUE(convertPage(Conversion::None, (folder / "missing").string(), target));
    ASSERT_TRUE(loadPageForSearch(target, page));
    EXPECT_EQ(page.text(), "");
    EXPECT_FALSE(loadPageForSearch((folder / "missing").string(), page));
}

TEST(PageConversion, LargePagesConvertThroughFilesAsInMemory)
{
    const auto folder = std::filesystem::temp_directory_path();
    const std::string source = (folder / "large.html").string();
    const std::string target = (folder / "large.txt").string();
    std::string html;
    for (int i = 0; html.size() < (3u << 20); ++i)
        html += "<tr><td class=\"n\">Fund " + std::to_string(i) + "</td><td>" + std::to_string(i % 97) + ",5</td></tr>\n";
    ASSERT_EQ(writeWholeFile(source, html), FileError::None);
    for (const Conversion code : {Conversion::None, Conversion::SemiHtml, Conversion::TextOnly}) {
        ASSERT_TRUE(convertPage(code, source, target));
        std::string converted;
        ASSERT_EQ(readWholeFile(target, converted), FileError::None);
        EXPECT_EQ(converted, convertPageText(code, html)) << storedNumber(code);
    }
}

TEST(PageConversion, LowersByWindows1252Rules)
{
    EXPECT_EQ(lowerCp1252Copy("M\xC4RZ \x8A\x8C\x8E\x9F \xD7 \xDE\xDF AZ"), "m\xE4rz \x9A\x9C\x9E\xFF \xD7 \xFE\xDF az");
    // Long texts take the block path; every byte at every offset agrees with the
    // one-character rule.
    std::string all;
    for (int round = 0; round < 3; ++round) {
        for (int b = 0; b < 256; ++b)
            all.push_back(static_cast<char>(b));
        all.push_back('x');
    }
    const std::string lowered = lowerCp1252Copy(all);
    ASSERT_EQ(lowered.size(), all.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        EXPECT_EQ(lowered[i], lowerCp1252(all[i])) << i;
}

struct ParseCase {
    const char* text;
    const char* thousands;
    const char* decimal;
    int code;
    double value;
};

TEST(parseQuotation, SeparatorsSignsAndEnds)
{
    const ParseCase cases[] = {
        {"1.234,56 EUR", ".", ",", kFound, 1234.56},
        {"1.234,56 EUR", "", ",", kFound, 1},
        {"-0,5%", "", ",", kFound, -0.5},
        {"+3 ", "", ",", kFound, 3},
        {"0 x", "", ",", kFound, 0},
        {"0 ", "", ",", kNotFound, 0},           // too close to the end of the page
        {"- 5", "", ",", kInvalidNumber, 0},
        {"+x ", "", ",", kInvalidNumber, 0},
        {"12, x", "", ",", kFound, 12},
        {"12, ", "", ",", kNotFound, 0},
        {"1,2,3 ", "", ",", kFound, 1.2},
        {"1.000.000,00", ".", ",", kFound, 1000000},
        {"9,999.99 ", ",", ".", kFound, 9999.99},
        {"9999.99 ", "", ".", kFound, 9999.99},
        {"12", "", ",", kNotFound, 0},         // the last two characters of the page
        {"1,2", "", ",", kNotFound, 0},        // a separator with less than two left
        {"x12 ", "", ",", kNotFound, 0},
        {"", "", ",", kNotFound, 0},
        {"0,0 ", "", ",", kFound, 0},
        {"1.5 ", ".", ".", kFound, 15},         // thousands is tried first
        {"5 EUR", "", "", kFound, 5},
        {"1e5 ", "", ",", kFound, 1},
        {"1 234 EUR", " ", ",", kFound, 1234},
    };
    for (const ParseCase& c : cases) {
        double value = -1;
        EXPECT_EQ(parseQuotation(c.text, c.thousands, c.decimal, value), c.code) << c.text;
        EXPECT_DOUBLE_EQ(value, c.value) << c.text;
    }
}

TEST(parseQuotation, DoesNotDependOnTheUserLocale)
{
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "no German locale installed";
    double value = 0;
    EXPECT_EQ(parseQuotation("22,65 EUR", "", ",", value), kFound);
    EXPECT_DOUBLE_EQ(value, 22.65);
    EXPECT_EQ(parseQuotation("22.65 USD", ",", ".", value), kFound);
    EXPECT_DOUBLE_EQ(value, 22.65);
    std::setlocale(LC_ALL, "C");
}

TEST(parseQuotation, NumbersBeyondTheRangeOfADoubleAreInvalid)
{
    double value = 1;
    const std::string nines(400, '9');
    EXPECT_EQ(parseQuotation(nines + " ", "", ",", value), kInvalidNumber);
    EXPECT_EQ(value, 0.0);
    EXPECT_EQ(parseQuotation(nines + ",5 EUR", ".", ",", value), kInvalidNumber);
    // Large but finite still reads.
    EXPECT_EQ(parseQuotation(std::string(300, '9') + " ", "", ",", value), kFound);
    EXPECT_GT(value, 1e299);
}

} // namespace
} // namespace tarvelo
