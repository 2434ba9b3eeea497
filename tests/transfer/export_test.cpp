#include "transfer/export.h"
#include "transfer/spreadsheetwriter.h"

#include "platform/files.h"
#include "platform/localtime.h"

#include "tests/support/scopedtimezone.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <filesystem>

namespace tarvelo {
namespace {

class ExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::setlocale(LC_ALL, "C");
        a.settings().name = "ACME";
        a.settings().symbol = "AC";
        a.insertQuotation({86400, 12.5});
        a.insertQuotation({2 * 86400 + 3600, 13.25});
        b.settings().name = "Beta";
        b.settings().symbol = "B1";
        b.insertQuotation({86400, 1.0});
        b.insertQuotation({3 * 86400, 2.0});
    }
    test::ScopedTimeZone m_zone{"UTC"};
    SecurityItem a, b;
};

std::string le16(int v)
{
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

std::string rec(int type, const std::string& data)
{
    return le16(type) + le16(static_cast<int>(data.size())) + data;
}

std::string number(int row, int column, double value)
{
    char bytes[8];
    std::memcpy(bytes, &value, 8);
    return rec(3, le16(row) + le16(column) + std::string(3, '\0') + std::string(bytes, 8));
}

std::string label(int row, int column, const std::string& text, int font = 0)
{
    return rec(4, le16(row) + le16(column) + std::string{'\0', static_cast<char>(font << 6), '\0'}
                      + static_cast<char>(text.size()) + text);
}

std::string header()
{
    std::string out = rec(9, le16(2) + le16(0x10));
    for (int options : {0, 1, 2, 4})
        out += rec(0x31, le16(200) + le16(options) + '\x05' + "Arial");
    return out;
}

TEST_F(ExportTest, SpreadsheetOfTwoItemsByteForByte)
{
    const std::string expected = header() + number(2, 2, 12.5) + number(2, 6, 1.0) + number(3, 2, 13.25)
                               + number(3, 6, 2.0) + label(1, 1, "ACME (AC)", 1) + label(1, 5, "Beta (B1)", 1)
                               + label(2, 1, "01/02/70 00:00") + label(2, 5, "01/02/70 00:00")
                               + label(3, 1, "01/03/70 01:00") + label(3, 5, "01/04/70 00:00") + rec(10, "");
    EXPECT_EQ(quotationsSheet({&a, &b}), expected);
}

TEST_F(ExportTest, TextLayout)
{
    SecurityItem empty;
    empty.settings().name = "Empty";
    empty.settings().symbol = "E";
    EXPECT_EQ(quotationsText({&a, &empty}), "\"ACME\" (AC)\r\n01/02/70 00:00; 12.5000; \r\n"
                                            "01/03/70 01:00; 13.2500; \r\n\r\n\"Empty\" (E)\r\n\r\n");
}

TEST_F(ExportTest, EmptyItemsKeepTheirBlockAndLongTextsAreCut)
{
    SecurityItem empty;
    empty.settings().name = std::string(300, 'n');
    const std::string sheet = quotationsSheet({&empty, &b});
    // The long title is cut to 255 bytes; the next item still starts at column 5.
    EXPECT_NE(sheet.find(label(1, 1, std::string(255, 'n') + "", 1).substr(0, 12)), std::string::npos);
    EXPECT_NE(sheet.find(label(1, 5, "Beta (B1)", 1)), std::string::npos);
    EXPECT_EQ(quotationsSheet({}), header() + rec(10, ""));
}

TEST_F(ExportTest, KindChosenByNameAndFailuresReported)
{
    const auto folder = std::filesystem::temp_directory_path();
    std::string bytes;
    for (const char* name : {"q.XLS", "quotes.xls.txt"}) {
        const std::string path = (folder / name).string();
        ASSERT_TRUE(exportQuotations({&a}, path).ok());
        ASSERT_EQ(readWholeFile(path, bytes), FileError::None);
        EXPECT_EQ(bytes.substr(0, 4), rec(9, "").substr(0, 2) + le16(4)) << name;
    }
    const std::string text = (folder / "q.txt").string();
    ASSERT_TRUE(exportQuotations({&a}, text).ok());
    ASSERT_EQ(readWholeFile(text, bytes), FileError::None);
    EXPECT_EQ(bytes.rfind("\"ACME\" (AC)\r\n", 0), 0u);

    EXPECT_EQ(exportQuotations({&a}, (folder / "no" / "x.xls").string()).message(), "File could not be saved (-1)");
    EXPECT_EQ(exportQuotations({&a}, (folder / "no" / "x.txt").string()).message(), "File could not be saved (3)");
}

} // namespace
} // namespace tarvelo
