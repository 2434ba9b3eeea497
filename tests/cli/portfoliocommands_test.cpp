// tarvelo-cli's commands that change a portfolio refuse what would lose or confuse data:
// replacing an existing file with an empty one, a second item of a name, a name that
// stands for several items.
#include "cli/cli.h"
#include "tests/cli/clirun.h"

#include "model/archive.h"
#include "model/portfoliodocument.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

using test::cli;
using test::CliRun;

class PortfolioCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / "portfolio-commands";
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_path = (m_folder / "Depot.qvx").string();
    }
    std::size_t itemCount() const { return loadPortfolioFile(m_path)->items.size(); }

    fs::path m_folder;
    std::string m_path;
};

TEST_F(PortfolioCommandsTest, NewAndAddDoNotReplaceOrDoubleWhatIsThere)
{
    ASSERT_EQ(cli({"new", m_path}).status, kExitOk);
    ASSERT_EQ(cli({"add", m_path, "Nordwind Energie"}).status, kExitOk);

    const CliRun again = cli({"new", m_path});
    EXPECT_EQ(again.status, kExitError);
    EXPECT_NE(again.err.find("--force"), std::string::npos) << again.err;
    EXPECT_EQ(itemCount(), 1u);

    const CliRun twice = cli({"add", m_path, "NORDWIND energie"});
    EXPECT_EQ(twice.status, kExitFailed);
    EXPECT_NE(twice.err.find("Nordwind Energie"), std::string::npos) << twice.err;
    EXPECT_EQ(itemCount(), 1u);

    EXPECT_EQ(cli({"add", m_path, "NORDWIND energie", "--duplicate"}).status, kExitOk);
    EXPECT_EQ(itemCount(), 2u);
    EXPECT_EQ(cli({"new", m_path, "--force"}).status, kExitOk);
    EXPECT_EQ(itemCount(), 0u);
}

TEST_F(PortfolioCommandsTest, ANameOfSeveralItemsIsRefusedAndListed)
{
    ASSERT_EQ(cli({"new", m_path}).status, kExitOk);
    ASSERT_EQ(cli({"add", m_path, "Alpen Fonds", "--symbol", "AF1"}).status, kExitOk);
    ASSERT_EQ(cli({"add", m_path, "ALPEN FONDS", "--symbol", "AF2", "--duplicate"}).status, kExitOk);

    // No exact match, two that differ in case: which one is meant cannot be told.
    const CliRun ambiguous = cli({"quote", m_path, "alpen fonds", "12.5"});
    EXPECT_EQ(ambiguous.status, kExitFailed);
    EXPECT_NE(ambiguous.err.find("AF1"), std::string::npos) << ambiguous.err;
    EXPECT_NE(ambiguous.err.find("AF2"), std::string::npos) << ambiguous.err;
    // An exact spelling names one of them; another case of a single item finds it.
    EXPECT_EQ(cli({"quote", m_path, "ALPEN FONDS", "12.5"}).status, kExitOk);
    const LoadResult loaded = loadPortfolioFile(m_path);
    ASSERT_EQ(loaded->items.size(), 2u);
    EXPECT_TRUE(loaded->items[0]->history().empty());
    EXPECT_EQ(loaded->items[1]->history().size(), 1u);
}

// copy carries items with their histories into another portfolio and renames them as
// Paste does; the source stays as it was.
TEST_F(PortfolioCommandsTest, CopyCarriesItemsAndRenamesThemAsPasteDoes)
{
    const std::string into = (m_folder / "Other.qvx").string();
    ASSERT_EQ(cli({"new", m_path}).status, kExitOk);
    ASSERT_EQ(cli({"add", m_path, "Alpha"}).status, kExitOk);
    ASSERT_EQ(cli({"add", m_path, "Beta"}).status, kExitOk);
    ASSERT_EQ(cli({"quote", m_path, "Alpha", "12.5", "--time", "2026-03-02 10:00"}).status, kExitOk);
    ASSERT_EQ(cli({"new", into}).status, kExitOk);
    ASSERT_EQ(cli({"add", into, "ALPHA"}).status, kExitOk);

    const CliRun all = cli({"copy", m_path, into});
    ASSERT_EQ(all.status, kExitOk) << all.err;
    EXPECT_EQ(all.out, "Alpha -> Copy of Alpha\nBeta -> Beta\n");
    EXPECT_EQ(cli({"copy", m_path, into, "alpha"}).out, "Alpha -> Copy of Alpha (1)\n");
    const LoadResult loaded = loadPortfolioFile(into);
    ASSERT_EQ(loaded->items.size(), 4u);
    EXPECT_EQ(loaded->items[1]->history().size(), 1u);
    EXPECT_EQ(loaded->items[3]->history().size(), 1u);
    EXPECT_EQ(itemCount(), 2u);

    EXPECT_EQ(cli({"copy", m_path, into, "Gamma"}).status, kExitFailed);
    EXPECT_EQ(loadPortfolioFile(into)->items.size(), 4u);
}

} // namespace
} // namespace tarvelo
