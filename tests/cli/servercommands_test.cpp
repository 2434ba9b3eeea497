#include "model/generaloptions.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "servers/serverstore.h"
#include "tests/cli/clirun.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

using test::cli;
using test::CliRun;

// A folder in the settings file's place: nothing can be written there, whoever runs
// the test (a read-only folder does not stop root). The file comes back afterwards.
class UnwritableSettings {
public:
    UnwritableSettings() : m_path(Profile::filePath())
    {
        m_had = readWholeFile(m_path, m_bytes) == FileError::None;
        fs::remove(m_path);
        fs::create_directories(m_path);
    }
    ~UnwritableSettings()
    {
        fs::remove_all(m_path);
        if (m_had)
            writeWholeFile(m_path, m_bytes);
    }

private:
    std::string m_path;
    std::string m_bytes;
    bool m_had = false;
};

TEST(ServerCommandsTest, CommandsThatCannotStoreTheSettingsFailNamingTheFile)
{
    Profile().deleteKey(kServerKey);
    ASSERT_EQ(cli({"options", "set", "UpdateIntervall", "15"}).status, 0);
    const std::string file = (fs::temp_directory_path() / "one.reg").string();
    ASSERT_EQ(writeWholeFile(file, "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Ombrix\\Tarvelo\\Server\\One]\r\n"),
              FileError::None);
    {
        const UnwritableSettings unwritable;
        for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
                 {"options", "set", "UpdateIntervall", "30"}, {"servers", "import", file}, {"servers", "install"}}) {
            SCOPED_TRACE(args[1]);
            const CliRun run = cli(args);
            EXPECT_EQ(run.status, 2);
            EXPECT_NE(run.err.find(Profile::filePath()), std::string::npos) << run.err;
            EXPECT_NE(run.err.find("could not be saved"), std::string::npos) << run.err;
        }
    }
    // Nothing of the failed writes remains, in the file or in this process.
    EXPECT_EQ(loadOptions().updateInterval, 15);
    std::vector<std::string> names;
    enumerateServerConfigs(names);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(cli({"servers", "import", file}).status, 0);
}

// Two of three configurations travel to a store that lacks them; the file carries no set
// version, so the built-in set is installed there as it would have been. Importing it
// again into a store where one of them was changed is refused, and --replace replaces.
TEST(ServerCommandsTest, NamedConfigurationsTravelAndReplaceOnlyWhenAsked)
{
    Profile().deleteKey(kServerKey);
    ASSERT_EQ(cli({"servers", "set", "Bank", "--url", "https://bank.example/q?id=[&symbol]", "--text", "Kurs \"neu\"",
                   "--decimal", ",", "--fallback", ""})
                  .status,
              0);
    ASSERT_EQ(
        cli({"servers", "set", "B\xC3\xB6rse", "--url", "https://exchange.example/[&symbol]", "--max-change", "20"})
            .status,
        0);
    ASSERT_EQ(cli({"servers", "set", "Private", "--url", "https://mine.example/"}).status, 0);
    {
        Profile profile;
        profile.writeInt(kServerVersionKey, kServerVersionValue, 20);
        ASSERT_TRUE(profile.sync());
    }
    const std::string bank = cli({"servers", "show", "Bank"}).out;
    const std::string exchange = cli({"servers", "show", "B\xC3\xB6rse"}).out;
    const std::string file = (fs::temp_directory_path() / "shared.reg").string();

    // An unknown name writes nothing, not even the names that exist.
    CliRun run = cli({"servers", "export", file, "Bank", "Nobody"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("no server configuration named \"Nobody\""), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(file));

    // Names in any letter case, each once, in the store's order and spelling.
    ASSERT_EQ(cli({"servers", "export", file, "b\xC3\xB6rse", "BANK", "Bank"}).status, 0);
    std::string text;
    ASSERT_EQ(readWholeFile(file, text), FileError::None);
    EXPECT_EQ(text.rfind("REGEDIT4\r\n", 0), 0u);
    EXPECT_EQ(text.find("Version"), std::string::npos) << text;
    EXPECT_EQ(text.find("Private"), std::string::npos) << text;
    const std::size_t bankKey = text.find("\\Server\\Bank]\r\n");
    const std::size_t exchangeKey = text.find("\\Server\\B\xF6rse]\r\n"); // Windows-1252
    ASSERT_NE(bankKey, std::string::npos) << text;
    ASSERT_NE(exchangeKey, std::string::npos) << text;
    EXPECT_LT(bankKey, exchangeKey);

    // A fresh store whose set is older: the import adds both, says so and leaves the
    // version, so the next start still installs the built-in set.
    Profile().deleteKey(kServerKey);
    {
        Profile profile;
        profile.writeInt(kServerVersionKey, kServerVersionValue, 19);
        ASSERT_TRUE(profile.sync());
    }
    run = cli({"servers", "import", file});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "added\tBank\nadded\tB\xC3\xB6rse\n");
    EXPECT_EQ(cli({"servers", "show", "Bank"}).out, bank);
    EXPECT_EQ(cli({"servers", "show", "B\xC3\xB6rse"}).out, exchange);
    EXPECT_EQ(storedServerSetVersion(), 19);
    EXPECT_FALSE(serverConfigExists("Private"));

    // One changed here: without --replace nothing is stored and the status is 1.
    ASSERT_EQ(cli({"servers", "set", "Bank", "--tags", "3"}).status, 0);
    ASSERT_EQ(cli({"servers", "delete", "B\xC3\xB6rse"}).status, 0);
    const std::string changed = cli({"servers", "show", "Bank"}).out;
    run = cli({"servers", "import", file});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("'Bank' is stored with other values"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("--replace"), std::string::npos) << run.err;
    EXPECT_EQ(cli({"servers", "show", "Bank"}).out, changed);
    EXPECT_FALSE(serverConfigExists("B\xC3\xB6rse"));

    run = cli({"servers", "import", "--replace", file});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "replaced\tBank\nadded\tB\xC3\xB6rse\n");
    EXPECT_EQ(cli({"servers", "show", "Bank"}).out, bank);
    // Nothing differs any more, so no --replace is needed.
    run = cli({"servers", "import", file});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "unchanged\tBank\nunchanged\tB\xC3\xB6rse\n");

    // The store's names are the same in any letter case: a file that spells one
    // otherwise replaces it rather than adding a second.
    text.replace(text.find("\\Server\\Bank]"), 13, "\\Server\\BANK]");
    text.replace(text.find("\"Nr_HTML_before_Value\"=dword:00000000"), 37, "\"Nr_HTML_before_Value\"=dword:00000002");
    ASSERT_EQ(writeWholeFile(file, text), FileError::None);
    EXPECT_EQ(cli({"servers", "import", file}).status, 1);
    run = cli({"servers", "import", file, "--replace"});
    EXPECT_EQ(run.out, "replaced\tBANK\nunchanged\tB\xC3\xB6rse\n");
    std::vector<std::string> names;
    enumerateServerConfigs(names);
    EXPECT_EQ(names.size(), 2u);
}

} // namespace
} // namespace tarvelo
