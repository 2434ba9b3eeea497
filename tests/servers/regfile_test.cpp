#include "servers/regfile.h"

#include "platform/profile.h"
#include "servers/builtinservers.h"
#include "servers/serverstore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace tarvelo {
namespace {

const std::string kKey = "[HKEY_CURRENT_USER\\Software\\Ombrix\\Tarvelo\\Server\\";
const std::string kVersionKey = "[HKEY_CURRENT_USER\\Software\\Ombrix\\Tarvelo\\Server Version]";

std::string join(const std::vector<std::string>& lines, const std::string& end = "\r\n")
{
    std::string text;
    for (const std::string& line : lines)
        text += line + end;
    return text;
}

std::string tempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / name).string(); // private TMPDIR of the test program
}

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool namesLine(const std::string& message, int line)
{
    return std::regex_search(message, std::regex("\\b[Ll]ine " + std::to_string(line) + "\\b"));
}

class RegFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Profile profile;
        profile.deleteKey("Server");
        profile.deleteKey("Server Version");
    }

    static void setStoredVersion(int version)
    {
        Profile profile;
        profile.writeInt("Server Version", "Version number", version);
    }

    static std::map<std::string, ServerConfig> storedConfigs()
    {
        std::vector<std::string> names;
        enumerateServerConfigs(names);
        std::map<std::string, ServerConfig> configs;
        for (const std::string& name : names)
            readServerConfig(name, configs[name]);
        return configs;
    }

    // A configuration whose every value differs from its default, at the edges of what
    // the settings dialog accepts.
    static ServerConfig sample()
    {
        ServerConfig c;
        c.url = "http://h.example/q?s=\"[&symbol]\"&p=C:\\dir";
        c.timeout = 600;
        c.thousandsSeparator = ".";
        c.decimalSeparator = ",";
        c.conversion = Conversion::TextOnly;
        c.textBeforeValue = "Last \"Trade\"\\";
        c.tagsToSkip = 10000;
        c.numbersToSkip = 1;
        c.caseInsensitive = false;
        c.searchKind = SearchKind::RegularExpression;
        c.regExp = "([0-9]+)\\t\"x\"";
        c.quotationIndex = std::numeric_limits<std::int32_t>::min();
        c.extractDate = true;
        c.dayIndex = 255;
        c.monthIndex = 3;
        c.yearIndex = 4;
        c.extractTime = true;
        c.hourIndex = -2;
        c.minuteIndex = 6;
        c.maxChange = 100000;
        c.fallback = "Backup \"B\" (EUR)";
        c.headers = "Accept: application/json\tX-Api-Key: k\\\"ey";
        return c;
    }
};

const std::string kEmptyStoreFile = "REGEDIT4\r\n\r\n" + kKey + "]\r\n\r\n" + kVersionKey +
                                    "\r\n\"Version number\"=dword:00000000\r\n\r\n";

TEST_F(RegFileTest, ExportIsByteForByteWithEscapesAndTwosComplement)
{
    EXPECT_EQ(serverConfigsRegFileText(), kEmptyStoreFile);

    writeServerConfig("Sample (\"EUR\")", sample());
    setStoredVersion(20);
    const std::string expected = join({
        "REGEDIT4",
        "",
        kKey + "]",
        "",
        kVersionKey,
        R"("Version number"=dword:00000014)",
        "",
        kKey + "Sample (\"EUR\")]",
        R"("URL"="http://h.example/q?s=\"[&symbol]\"&p=C:\\dir")",
        R"("TAUSEND"=".")",
        R"("DECIMAL"=",")",
        R"("Text_before_Value"="Last \"Trade\"\\")",
        R"("Timeout"=dword:00000258)",
        R"("Format"=dword:00000002)",
        R"("Nr_HTML_before_Value"=dword:00002710)",
        R"("Numbers_before_Value"=dword:00000001)",
        R"("NoCaseSensitiv"=dword:00000000)",
        R"("Filtering"=dword:00000001)",
        R"("RegExp"="([0-9]+)\\t\"x\"")",
        R"("RegExpQuotationIndex"=dword:80000000)",
        R"("bRegExpExtractDate"=dword:00000001)",
        R"("RegExpDayIndex"=dword:000000ff)",
        R"("RegExpMonthIndex"=dword:00000003)",
        R"("RegExpYearIndex"=dword:00000004)",
        R"("bRegExpExtractTime"=dword:00000001)",
        R"("RegExpHourIndex"=dword:fffffffe)",
        R"("RegExpMinuteIndex"=dword:00000006)",
        R"("MaxChange"=dword:000186a0)",
        R"x("Fallback"="Backup \"B\" (EUR)")x",
        "\"Headers\"=\"Accept: application/json\tX-Api-Key: k\\\\\\\"ey\"",
        "",
    });
    EXPECT_EQ(serverConfigsRegFileText(), expected);

    const std::string path = tempPath("export.reg");
    const Result<void> result = exportServerConfigs(path);
    EXPECT_TRUE(result.ok()) << result.message();
    EXPECT_EQ(fileBytes(path), expected);
}

TEST_F(RegFileTest, UnwritableOrUnreadablePathsGiveAMessage)
{
    std::filesystem::create_directories(tempPath("a-folder"));
    for (const std::string& path : {tempPath("no-such-folder/out.reg"), tempPath("a-folder")}) {
        const Result<void> result = exportServerConfigs(path);
        EXPECT_FALSE(result.ok());
        EXPECT_TRUE(std::regex_match(result.message(), std::regex("File could not be saved \\([0-9]+\\)")))
            << result.message();
    }
    EXPECT_FALSE(importServerConfigs(tempPath("no-such-file.reg")).ok());
}

TEST_F(RegFileTest, ExportDeleteEverythingAndImportRestoresTheStore)
{
    installBuiltInServers();
    const std::string hostile[] = {
        "Paren (EUR)", "Quote \"q\" and 'a'", "B\xC3\xB6rse M\xC3\xBCnchen \xC3\x84\xC3\x9F \xE2\x82\xBF", "blanks  inside",
        "[bracketed] name", "semi;colon=eq#hash%25", "-dash",
    };
    int n = 0;
    for (const std::string& name : hostile) {
        ServerConfig c = sample();
        c.timeout = ++n;
        c.textBeforeValue = name;
        writeServerConfig(name, c);
    }
    const auto before = storedConfigs();
    ASSERT_EQ(before.size(), 18u + std::size(hostile));
    const std::string path = tempPath("roundtrip.reg");
    ASSERT_TRUE(exportServerConfigs(path).ok());

    SetUp(); // deletes every configuration and the version
    ASSERT_TRUE(storedConfigs().empty());

    const Result<void> result = importServerConfigs(path);
    ASSERT_TRUE(result.ok()) << result.message();
    EXPECT_EQ(storedConfigs(), before);
    EXPECT_EQ(storedServerSetVersion(), 20);
    EXPECT_EQ(serverConfigsRegFileText(), fileBytes(path));
}

TEST_F(RegFileTest, ImportReplacesTheNamedConfigurationsAndKeepsTheOthers)
{
    writeServerConfig("Replaced", sample());
    writeServerConfig("Kept", sample());
    setStoredVersion(20);
    const Result<void> result = importServerConfigsText(join({
        "REGEDIT4",
        "",
        kKey + "Replaced]",
        R"("URL"="http://new.example/")",
        R"("Timeout"=dword:0000000a)",
        "",
        kKey + "Brand New]",
    }));
    ASSERT_TRUE(result.ok()) << result.message();

    ServerConfig replaced;
    replaced.url = "http://new.example/";
    replaced.timeout = 10;
    const ServerConfig defaults;
    auto stored = storedConfigs();
    EXPECT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored["Replaced"], replaced); // values missing from the file read as defaults
    EXPECT_EQ(stored["Brand New"], defaults);
    EXPECT_EQ(stored["Kept"], sample());
    EXPECT_EQ(storedServerSetVersion(), 20); // the file has no version
}

TEST_F(RegFileTest, ImportReadsWhatTheRegistryEditorWrites)
{
    const std::string text = join(
        {
            "REGEDIT4",
            "",
            "; written by hand",
            "[hkey_current_user\\software\\ombrix\\tarvelo\\server version]",
            R"("version number"=hex(4):13,00,00,00)",
            "",
            "[HKEY_CURRENT_USER\\SOFTWARE\\Ombrix\\Tarvelo\\SERVER\\Hand Made]",
            "; a comment between values",
            R"("url"="http://x.example/q?s=[&symbol]")",
            R"("Timeout"=dword:3C)",
            R"("Format"=hex(4):01,00,00,\)",
            "  00",
            R"("Text_before_Value"=hex(1):4b,75,72,73,\)",
            "  20,f6,00",
            R"("TAUSEND"="")",
            R"("RegExpQuotationIndex"=dword:FFFFFFFF)",
            "\"RegExp\"=\"" + std::string(259, 'r') + "\"",
            "",
        },
        "\n");
    const Result<void> result = importServerConfigsText(text);
    ASSERT_TRUE(result.ok()) << result.message();

    ServerConfig expected;
    expected.url = "http://x.example/q?s=[&symbol]";
    expected.conversion = Conversion::SemiHtml;
    expected.textBeforeValue = "Kurs \xC3\xB6";
    expected.quotationIndex = -1;
    expected.regExp = std::string(259, 'r');
    auto stored = storedConfigs();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored.begin()->second, expected);
    EXPECT_EQ(storedServerSetVersion(), 19);
}

TEST_F(RegFileTest, RefusedFilesChangeNothingAndNameTheLine)
{
    installBuiltInServers();
    const std::string whole = serverConfigsRegFileText();
    const int wholeLines = static_cast<int>(std::count(whole.begin(), whole.end(), '\n'));
    SetUp();
    writeServerConfig("Kept", sample());
    writeServerConfig("Other", sample());
    setStoredVersion(20);
    const std::string before = serverConfigsRegFileText();

    // Seven good lines that would change the version and replace "Kept".
    const std::string good = join({"REGEDIT4", "", kVersionKey, R"("Version number"=dword:00000007)", "",
                                   kKey + "Kept]", R"("URL"="http://changed.example/")"});
    const struct {
        const char* what;
        std::string file;
        int line; // 0: the file is not REGEDIT4 at all
    } kCases[] = {
        {"empty file", "", 0},
        {"other format", "Windows Registry Editor Version 5.00\r\n\r\n" + kKey + "X]\r\n", 0},
        {"value before any key", join({"REGEDIT4", "", R"("URL"="x")"}), 3},
        {"key outside the tree", good + "[HKEY_CURRENT_USER\\Software\\Other]\r\n", 8},
        {"other hive", good + "[HKEY_LOCAL_MACHINE\\Software\\Ombrix\\Tarvelo\\Server\\X]\r\n", 8},
        {"key below a configuration", good + kKey + "Kept\\Sub]\r\n", 8},
        {"key without bracket", good + kKey + "Kept\r\n", 8},
        {"value in the base key", good + kKey + "]\r\n\"URL\"=\"x\"\r\n", 9},
        {"other value in the version key", good + kVersionKey + "\r\n\"Other\"=dword:1\r\n", 9},
        {"version as text", good + kVersionKey + "\r\n\"Version number\"=\"20\"\r\n", 9},
        {"unknown value name", good + "\"Colour\"=dword:00000001\r\n", 8},
        {"text for a dword", good + "\"Timeout\"=\"60\"\r\n", 8},
        {"dword for a text", good + "\"URL\"=dword:00000001\r\n", 8},
        {"binary value", good + "\"URL\"=hex:41,42\r\n", 8},
        {"text of 260 characters", good + "\"RegExp\"=\"" + std::string(260, 'r') + "\"\r\n", 8},
        {"nine hex digits", good + "\"Timeout\"=dword:000000001\r\n", 8},
        {"not a hex digit", good + "\"Timeout\"=dword:0000003g\r\n", 8},
        {"short hex(4)", good + "\"Timeout\"=hex(4):3c,00,00\r\n", 8},
        {"unended text", good + "\"URL\"=\"http://x\r\n", 8},
        {"no equals sign", good + "\"URL\" \"x\"\r\n", 8},
        {"cut off in a dword", good + "\"Timeout\"=dword:000", 8},
        {"key deletion", good + "[-" + kKey.substr(1) + "Other]\r\n", 8},
        {"value deletion", good + "\"URL\"=-\r\n", 8},
        {"line of 1 MB", good + "\"URL\"=\"" + std::string(1 << 20, 'u') + "\"\r\n", 8},
        {"last line of a whole export", whole + "\"Timeout\"=\"sixty\"\r\n", wholeLines + 1},
        // Values and names the settings dialog and the commands could not take.
        {"timeout 0", good + "\"Timeout\"=dword:00000000\r\n", 8},
        {"timeout 601", good + "\"Timeout\"=dword:00000259\r\n", 8},
        {"conversion 3", good + "\"Format\"=dword:00000003\r\n", 8},
        {"negative tags to skip", good + "\"Nr_HTML_before_Value\"=dword:ffffffff\r\n", 8},
        {"numbers to skip 10001", good + "\"Numbers_before_Value\"=hex(4):11,27,00,00\r\n", 8},
        {"search kind 3", good + "\"Filtering\"=dword:00000003\r\n", 8},
        {"text before value of 256", good + "\"Text_before_Value\"=\"" + std::string(256, 't') + "\"\r\n", 8},
        {"negative largest change", good + "\"MaxChange\"=dword:ffffffff\r\n", 8},
        {"fallback with a slash", good + "\"Fallback\"=\"In/Out\"\r\n", 8},
        {"header name with a blank", good + "\"Headers\"=\"Accept: a\tX Key: 1\"\r\n", 8},
        {"Host header", good + "\"Headers\"=\"host: example.com\"\r\n", 8},
        {"header value with a control character", good + "\"Headers\"=\"X-Key: a\x01" "b\"\r\n", 8},
        {"nine headers", good + "\"Headers\"=\"A: 1\tB: 2\tC: 3\tD: 4\tE: 5\tF: 6\tG: 7\tH: 8\tI: 9\"\r\n", 8},
        {"name with a tab", good + kKey + "Tab\there]\r\n", 8},
        {"name with a NUL", good + kKey + std::string("Nul\0name", 8) + "]\r\n", 8},
        {"name with an undefined byte", good + kKey + "Odd\x81]\r\n", 8},
        {"name of 260 characters", good + kKey + std::string(260, 'n') + "]\r\n", 8},
        {"name with a slash", good + kKey + "In/Out]\r\n", 8},
        {"name ending in a blank", good + kKey + "Blank ]\r\n", 8},
        {"NUL inside a hex(1) text", good + "\"URL\"=hex(1):41,00,42,00\r\n", 8},
        {"NUL inside a quoted text", good + "\"URL\"=\"A" + std::string(1, '\0') + "B\"\r\n", 8},
        {"out of range in the last line of a whole export", whole + "\"Timeout\"=dword:00000000\r\n",
         wholeLines + 1},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        const Result<void> result = importServerConfigsText(c.file);
        EXPECT_FALSE(result.ok());
        EXPECT_FALSE(result.message().empty());
        if (c.line > 0) {
            EXPECT_TRUE(namesLine(result.message(), c.line)) << result.message();
        }
        EXPECT_EQ(serverConfigsRegFileText(), before);
    }
}

TEST_F(RegFileTest, ARangeErrorGivesTheDialogsMessage)
{
    const Result<void> result =
        importServerConfigsText(join({"REGEDIT4", kKey + "A]", R"("Timeout"=dword:00000000)"}));
    EXPECT_FALSE(result.ok());
    EXPECT_NE(result.message().find("Please enter an integer between 1 and 600."), std::string::npos)
        << result.message();
}

// The next start installs the built-in set when the stored version is older; an import
// from an older installation must not make it overwrite what was just imported.
TEST_F(RegFileTest, AnOlderSetVersionIsNotTakenAndANewerOneIs)
{
    installBuiltInServers();
    const Result<void> result = importServerConfigsText(
        join({"REGEDIT4", kVersionKey, R"("Version number"=dword:00000007)", kKey + "US-Yahoo]",
              R"("URL"="http://mine.example/")"}));
    ASSERT_TRUE(result.ok()) << result.message();
    EXPECT_EQ(storedServerSetVersion(), 20);
    installBuiltInServers();
    ServerConfig imported;
    readServerConfig("US-Yahoo", imported);
    EXPECT_EQ(imported.url, "http://mine.example/");

    ASSERT_TRUE(importServerConfigsText(join({"REGEDIT4", kVersionKey, R"("Version number"=dword:00000015)"})).ok());
    EXPECT_EQ(storedServerSetVersion(), 21);
}

// A text with a line break could not be written back by the export, so the import
// refuses it.
TEST_F(RegFileTest, WhateverTheImportAcceptsSurvivesTheNextExport)
{
    const Result<void> first =
        importServerConfigsText(join({"REGEDIT4", kKey + "A]", R"("URL"=hex(1):41,0a,42,00)"}));
    if (!first.ok()) { // refusing such a text is as good
        EXPECT_TRUE(namesLine(first.message(), 3)) << first.message();
        return;
    }
    const std::string exported = serverConfigsRegFileText();
    SetUp();
    const Result<void> again = importServerConfigsText(exported);
    EXPECT_TRUE(again.ok()) << again.message();
    EXPECT_EQ(serverConfigsRegFileText(), exported);
}

} // namespace
} // namespace tarvelo
