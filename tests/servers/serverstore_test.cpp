#include "servers/serverstore.h"

#include "platform/profile.h"

#include <gtest/gtest.h>

namespace tarvelo {
namespace {

class ServerStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Profile profile;
        profile.deleteKey("Server");
        profile.deleteKey("Server Version");
    }

    static ServerConfig sample()
    {
        ServerConfig c;
        c.url = "http://quotes.example/q?s=[&symbol]&d=[&dd].[&mm].[&yyyy]";
        c.timeout = 120;
        c.thousandsSeparator = ".";
        c.decimalSeparator = ",";
        c.conversion = Conversion::TextOnly;
        c.textBeforeValue = "Kurs [&name]";
        c.tagsToSkip = 3;
        c.numbersToSkip = 4;
        c.caseInsensitive = false;
        c.searchKind = SearchKind::RegularExpression;
        c.regExp = "([0-9]+),([0-9]+)";
        c.quotationIndex = 7;
        c.extractDate = true;
        c.dayIndex = 8;
        c.monthIndex = 9;
        c.yearIndex = 10;
        c.extractTime = true;
        c.hourIndex = 11;
        c.minuteIndex = 12;
        c.maxChange = 35;
        c.fallback = "Backup (\"EUR\")";
        // Longer than the other texts may be.
        c.headers = "Accept: application/json\tCookie: session=" + std::string(400, 'c');
        return c;
    }
};

TEST_F(ServerStoreTest, WrittenConfigurationReadsBackWithEveryValue)
{
    const ServerConfig written = sample();
    writeServerConfig("Example/B\xC3\xB6" "rse (\"EUR\")", written);
    ServerConfig read;
    read.name = "kept";
    readServerConfig("Example/B\xC3\xB6" "rse (\"EUR\")", read);
    ServerConfig expected = written;
    expected.name = "kept"; // the key name is not copied into the record
    EXPECT_EQ(read, expected);

    Profile profile;
    EXPECT_EQ(profile.valueNames("Server\\Example/B\xC3\xB6" "rse (\"EUR\")").size(), 22u);
}

TEST_F(ServerStoreTest, MissingConfigurationReadsAsDefaultsButKeepsTheSeparators)
{
    ServerConfig c = sample();
    c.thousandsSeparator = ",";
    c.decimalSeparator = ".";
    readServerConfig("Nowhere", c);
    EXPECT_EQ(c.url, "");
    EXPECT_EQ(c.timeout, 60);
    EXPECT_EQ(c.caseInsensitive.stored(), 1);
    EXPECT_EQ(c.searchKind, SearchKind::Standard);
    EXPECT_EQ(c.regExp, "");
    EXPECT_EQ(c.quotationIndex, 1);
    EXPECT_EQ((std::vector<int>{c.dayIndex, c.monthIndex, c.yearIndex, c.hourIndex, c.minuteIndex}),
              (std::vector<int>{2, 3, 4, 5, 6}));
    EXPECT_EQ(c.extractDate.stored() + c.extractTime.stored() + c.tagsToSkip + c.numbersToSkip
                  + storedNumber(c.conversion),
              0);
    EXPECT_EQ(c.thousandsSeparator, ",");
    EXPECT_EQ(c.decimalSeparator, ".");
}

TEST_F(ServerStoreTest, MissingOrOversizedValuesReadAsTheirDefaults)
{
    writeServerConfig("Partial", sample());
    {
        Profile profile;
        profile.deleteValue("Server\\Partial", "DECIMAL");
        profile.deleteValue("Server\\Partial", "TAUSEND");
        profile.deleteValue("Server\\Partial", "Timeout");
        profile.writeText("Server\\Partial", "URL", std::string(260, 'u')); // no room for the terminator
        profile.writeText("Server\\Partial", "RegExp", std::string(259, 'r'));
        profile.writeText("Server\\Partial", "Text_before_Value", std::string("cut") + '\0' + "off");
    }
    ServerConfig c = sample();
    c.thousandsSeparator = "x";
    c.decimalSeparator = "y";
    readServerConfig("Partial", c);
    EXPECT_EQ(c.decimalSeparator, ",");
    EXPECT_EQ(c.thousandsSeparator, "");
    EXPECT_EQ(c.timeout, 60);
    EXPECT_EQ(c.url, "");
    EXPECT_EQ(c.regExp, std::string(259, 'r'));
    EXPECT_EQ(c.textBeforeValue, "cut");
    EXPECT_EQ(c.quotationIndex, 7);
}

TEST_F(ServerStoreTest, WritingUnderANewNameMakesACopyAndDeletingRemovesOnlyThatOne)
{
    writeServerConfig("Original", sample());
    ServerConfig copy;
    readServerConfig("Original", copy);
    writeServerConfig("Copy", copy);

    std::vector<std::string> names{"already here"};
    enumerateServerConfigs(names);
    EXPECT_EQ(names, (std::vector<std::string>{"already here", "Copy", "Original"}));

    deleteServerConfig("Original");
    names.clear();
    enumerateServerConfigs(names);
    EXPECT_EQ(names, std::vector<std::string>{"Copy"});

    ServerConfig gone = sample();
    readServerConfig("Original", gone);
    EXPECT_EQ(gone.url, "");
    EXPECT_EQ(gone.timeout, 60);
}

TEST_F(ServerStoreTest, EmptyNamesNeverTouchTheWholeSet)
{
    writeServerConfig("Keep", sample());
    writeServerConfig("", sample());
    deleteServerConfig("");
    std::vector<std::string> names;
    enumerateServerConfigs(names);
    EXPECT_EQ(names, std::vector<std::string>{"Keep"});
    Profile profile;
    EXPECT_TRUE(profile.valueNames("Server").empty());
}

TEST_F(ServerStoreTest, SetVersionRules)
{
    EXPECT_EQ(storedServerSetVersion(), 0);
    EXPECT_FALSE(isServerSetCurrent());
    {
        Profile profile;
        profile.writeInt("Server Version", "Version number", 19);
    }
    EXPECT_FALSE(isServerSetCurrent());
    storeServerSetVersion();
    EXPECT_EQ(storedServerSetVersion(), 20);
    EXPECT_TRUE(isServerSetCurrent());
    {
        Profile profile;
        profile.writeInt("Server Version", "Version number", 25);
    }
    storeServerSetVersion(); // never lowers a newer set's number
    EXPECT_EQ(storedServerSetVersion(), 25);
    EXPECT_TRUE(isServerSetCurrent());
}

} // namespace
} // namespace tarvelo
