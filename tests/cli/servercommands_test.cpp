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

} // namespace
} // namespace tarvelo
