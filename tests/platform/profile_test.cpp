#include "platform/profile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace tarvelo {
namespace {

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Profile profile;
        for (const std::string& key : profile.subKeys(""))
            profile.deleteKey(key);
    }
};

TEST_F(ProfileTest, LivesUnderTheConfigFolderOfTheEnvironment)
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(Profile::filePath(), std::string(config) + "/Ombrix/Tarvelo.conf");
}

TEST_F(ProfileTest, IntegersAndTextsSurviveANewObject)
{
    {
        Profile profile;
        profile.writeInt("GeneralOptions", "NumberDownloads", 7);
        profile.writeInt("GeneralOptions", "Negative", -123456);
        profile.writeText("Server\\Some", "URL", "http://x/?a=1&b=[&symbol]");
        profile.writeText("Server\\Some", "Empty", "");
        profile.writeText("Server\\Some", "Number", "0042");
    }
    Profile profile;
    EXPECT_EQ(profile.getInt("GeneralOptions", "NumberDownloads", 5), 7);
    EXPECT_EQ(profile.getInt("GeneralOptions", "Negative", 0), -123456);
    EXPECT_EQ(profile.getInt("GeneralOptions", "Missing", 5), 5);
    EXPECT_EQ(profile.getText("Server\\Some", "URL", ""), "http://x/?a=1&b=[&symbol]");
    EXPECT_EQ(profile.readText("Server\\Some", "Empty"), std::optional<std::string>(""));
    EXPECT_EQ(profile.readText("Server\\Some", "Number"), std::optional<std::string>("0042"));
    EXPECT_FALSE(profile.readText("Server\\Other", "URL").has_value());
    // A text that is not a number is no integer.
    EXPECT_FALSE(profile.readInt("Server\\Some", "URL").has_value());
}

TEST_F(ProfileTest, NamesKeepEveryCharacterARegistryNameMayHold)
{
    const std::vector<std::string> names = {
        "a/b", "50% off", "quote \"x\" (y)", "  spaced  ", "M\xC3\x84RZ \xE2\x82\xAC \xE6\x97\xA5", "semi;colon=eq", "[General]",
        "General", "%2F", "a//b", "#hash", "tab\there",
    };
    {
        Profile profile;
        for (const std::string& name : names) {
            profile.writeText("Server\\" + name, "URL", name);
            profile.writeInt("Server\\" + name, "odd/value name%", 1);
        }
    }
    Profile profile;
    std::vector<std::string> listed = profile.subKeys("Server");
    std::vector<std::string> expected = names;
    std::sort(listed.begin(), listed.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(listed, expected);
    for (const std::string& name : names) {
        EXPECT_EQ(profile.getText("Server\\" + name, "URL", "?"), name);
        EXPECT_EQ(profile.getInt("Server\\" + name, "odd/value name%", 0), 1);
    }
}

TEST_F(ProfileTest, NamesMatchWithoutRegardToCaseAndKeepTheirFirstSpelling)
{
    Profile profile;
    profile.writeText("Server\\Yahoo Finance", "URL", "one");
    profile.writeText("SERVER\\yahoo finance", "url", "two");
    EXPECT_EQ(profile.subKeys("server"), std::vector<std::string>{"Yahoo Finance"});
    EXPECT_EQ(profile.valueNames("Server\\Yahoo Finance"), std::vector<std::string>{"URL"});
    EXPECT_EQ(profile.getText("Server\\YAHOO FINANCE", "Url", ""), "two");
}

TEST_F(ProfileTest, EnumerationIsSortedWithoutRegardToCase)
{
    Profile profile;
    for (const char* name : {"beta", "Alpha", "gamma", "Delta", "alpha2"})
        profile.writeInt(std::string("Server\\") + name, "Timeout", 1);
    EXPECT_EQ(profile.subKeys("Server"), (std::vector<std::string>{"Alpha", "alpha2", "beta", "Delta", "gamma"}));
}

TEST_F(ProfileTest, DeletingAKeyRemovesItsValuesAndSubKeysOnly)
{
    {
        Profile profile;
        profile.writeInt("Server\\A", "Timeout", 1);
        profile.writeInt("Server\\A\\Nested", "Timeout", 2);
        profile.writeInt("Server\\AB", "Timeout", 3);
        profile.writeInt("Server Version", "Version number", 20);
        profile.deleteKey("Server\\A");
        profile.deleteKey("Server\\Missing");
    }
    Profile profile;
    EXPECT_FALSE(profile.keyExists("Server\\A"));
    EXPECT_FALSE(profile.readInt("Server\\A\\Nested", "Timeout").has_value());
    EXPECT_EQ(profile.subKeys("Server"), std::vector<std::string>{"AB"});
    EXPECT_EQ(profile.getInt("Server Version", "Version number", 0), 20);
    profile.deleteValue("Server\\AB", "timeout");
    EXPECT_TRUE(profile.valueNames("Server\\AB").empty());
}

// A folder in the file's place stops every write, whoever runs the test.
TEST_F(ProfileTest, AWriteThatCannotBeStoredIsReportedAndUndone)
{
    {
        Profile profile;
        profile.writeInt("Kept", "Value", 1);
        profile.writeText("Server\\Old", "URL", "old");
        ASSERT_TRUE(profile.sync());
    }
    const std::string path = Profile::filePath();
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_FALSE(Profile::takeWriteFailure());
    {
        Profile profile;
        profile.writeInt("Kept", "Value", 2);
        profile.writeText("Server\\New", "URL", "new");
        profile.deleteKey("Server\\Old");
        EXPECT_FALSE(profile.sync());
        EXPECT_FALSE(profile.keyExists("Server\\New"));
        EXPECT_TRUE(profile.sync()); // nothing left to write
    }
    EXPECT_TRUE(Profile::takeWriteFailure());
    EXPECT_FALSE(Profile::takeWriteFailure());
    { Profile().writeInt("Kept", "Value", 3); } // written, and failing, on destruction
    EXPECT_TRUE(Profile::takeWriteFailure());
    EXPECT_NE(Profile::writeFailureMessage().find(path), std::string::npos);

    std::filesystem::remove(path);
    std::ofstream(path, std::ios::binary) << bytes;
    Profile profile;
    EXPECT_EQ(profile.getInt("Kept", "Value", 0), 1);
    EXPECT_EQ(profile.getText("Server\\Old", "URL", ""), "old");
    EXPECT_FALSE(profile.keyExists("Server\\New"));
    EXPECT_TRUE(profile.sync());
}

// The desktop program and tarvelo-cli may write at the same time; neither may lose the
// other's values.
TEST_F(ProfileTest, TwoProcessesWritingAtOnceKeepEachOthersValues)
{
    constexpr int kWrites = 40;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    const char* who = child == 0 ? "Child" : "Parent";
    for (int i = 0; i < kWrites; ++i) {
        Profile profile;
        profile.writeInt(std::string("Concurrent\\") + who, "Value" + std::to_string(i), i);
    }
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    Profile profile;
    for (int i = 0; i < kWrites; ++i) {
        EXPECT_EQ(profile.getInt("Concurrent\\Child", "Value" + std::to_string(i), -1), i);
        EXPECT_EQ(profile.getInt("Concurrent\\Parent", "Value" + std::to_string(i), -1), i);
    }
}

} // namespace
} // namespace tarvelo
