// buy, sell, dividend, split and alarm change the item in the file as the item's dialogs
// would, and a figure the dialogs would refuse leaves the file as it was.
#include "cli/cli.h"
#include "tests/cli/clirun.h"

#include "model/archive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

using test::cli;
using test::CliRun;

class InvestmentCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / "investment-commands";
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_path = (m_folder / "Depot.qvx").string();
        ASSERT_EQ(cli({"new", m_path}).status, kExitOk);
        ASSERT_EQ(cli({"add", m_path, "Nordwind Energie"}).status, kExitOk);
        for (const auto& [time, value] : {std::pair{"2026-03-02 10:00", "10"}, {"2026-03-03 10:00", "12"},
                                          {"2026-03-04 10:00", "14"}})
            ASSERT_EQ(cli({"quote", m_path, "Nordwind Energie", value, "--time", time}).status, kExitOk);
    }
    std::string bytes() const
    {
        std::ifstream in(m_path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    fs::path m_folder;
    std::string m_path;
};

TEST_F(InvestmentCommandsTest, TransactionsAlarmsAndSplitReachTheFile)
{
    const std::string item = "nordwind energie"; // found as the other commands find names
    EXPECT_EQ(cli({"buy", m_path, item, "10", "20", "--commission", "5"}).out,
              "quantity 10, average buy price 20.5\n");
    EXPECT_EQ(cli({"buy", m_path, item, "10", "30"}).out, "quantity 20, average buy price 25.25\n");
    const CliRun sale = cli({"sell", m_path, item, "5", "30", "--commission", "2.5"});
    EXPECT_EQ(sale.status, kExitOk);
    EXPECT_EQ(sale.out, "quantity 15, average buy price 25.25\n"
                        "Financial result of the selling transaction: 21.25\n");
    EXPECT_EQ(cli({"dividend", m_path, item, "15"}).out, "quantity 15, average buy price 24.25\n");

    // Newest value 14 against 24.25 deviates by 42 %.
    EXPECT_EQ(cli({"alarm", m_path, item, "--above", "50", "--deviation", "20"}).out,
              "above 50 on\nbelow 0 off\ndeviation 20% on\nin alarm\n");
    EXPECT_EQ(cli({"alarm", m_path, item, "--deviation", "off", "--below", "14"}).out,
              "above 50 on\nbelow 14 on\ndeviation 20% off\nnot in alarm\n");

    // The record of that moment and the older ones are divided; the newest is not.
    EXPECT_EQ(cli({"split", m_path, item, "2", "--from", "2026-03-03 10:30"}).status, kExitOk);

    const LoadResult loaded = loadPortfolioFile(m_path);
    const ItemSettings& s = loaded->items.at(0)->settings();
    EXPECT_DOUBLE_EQ(s.quantity, 30);
    EXPECT_DOUBLE_EQ(s.averageBuyPrice, 12.125);
    EXPECT_DOUBLE_EQ(s.belowLimit, 7);
    EXPECT_EQ(s.deviationPercent, 20);
    EXPECT_EQ(s.deviationAlarm.stored(), 0);
    const auto& history = loaded->items[0]->history();
    ASSERT_EQ(history.size(), 3u);
    EXPECT_EQ(history[1].value, 6);
    EXPECT_EQ(history[2].value, 14);

    // Without a moment the whole history is split.
    EXPECT_EQ(cli({"split", m_path, item, "0.5"}).status, kExitOk);
    EXPECT_EQ(loadPortfolioFile(m_path)->items[0]->history()[2].value, 28);
}

TEST_F(InvestmentCommandsTest, RefusedFiguresLeaveTheFileAlone)
{
    const std::string before = bytes();
    struct Refusal {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const std::string name = "Nordwind Energie";
    const Refusal refusals[] = {
        {{"buy", m_path, name, "0.009", "20"}, kExitError, "Please enter a number between 0.01 and 1000000."},
        {{"buy", m_path, name, "10", "12,5"}, kExitError, "Please enter a number."},
        {{"sell", m_path, name, "2.5", "30"}, kExitError, "Please enter a positive integer."},
        {{"split", m_path, name, "0.09"}, kExitError, "Please enter a number between 0.1 and 1000."},
        {{"alarm", m_path, name, "--above", "high"}, kExitError, "Please enter a number."},
        // Nothing held yet: the average would be divided by 0.
        {{"dividend", m_path, name, "5"}, kExitError, "A dividend cannot be booked while no units are held."},
        {{"split", m_path, name, "2", "--from", "2026-03-01 10:00"}, kExitFailed, "no quotation until"},
    };
    for (const Refusal& refusal : refusals) {
        const CliRun result = cli(refusal.args);
        EXPECT_EQ(result.status, refusal.status) << refusal.args[0] << ' ' << refusal.args[3];
        EXPECT_NE(result.err.find(refusal.message), std::string::npos) << result.err;
        EXPECT_EQ(bytes(), before) << refusal.args[0] << ' ' << refusal.args[3];
    }
}

// graphic sets what the item's Graphic page sets, reads back what it stored, and leaves
// the file alone on a value it refuses.
TEST_F(InvestmentCommandsTest, GraphicSettingsReachTheFile)
{
    const std::string item = "Nordwind Energie";
    const CliRun set = cli({"graphic", m_path, item, "--colour", "#0080ff", "--after", "2026-03-03", "--until",
                            "2026-03-03", "--axes", "nominal", "--values", "percent", "--grid", "0"});
    ASSERT_EQ(set.status, kExitOk) << set.err;
    EXPECT_EQ(set.out, "after 2026-03-03 on\nuntil 2026-03-03 on\naxes nominal\nvalues percent\n"
                       "colour #0080FF\ngrid off\n");
    EXPECT_EQ(cli({"graphic", m_path, item}).out, set.out);
    const std::string before = bytes();
    for (const auto& [option, value] : {std::pair{"--colour", "blue"}, {"--after", "2026-02-30"},
                                        {"--values", "all"}, {"--grid", "2"}}) {
        const CliRun refused = cli({"graphic", m_path, item, option, value});
        EXPECT_EQ(refused.status, kExitError) << option;
        EXPECT_NE(refused.err.find(option), std::string::npos) << refused.err;
    }
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(cli({"graphic", m_path, item, "--after", "off"}).out.substr(0, 20), "after 2026-03-03 off");
}

} // namespace
} // namespace tarvelo
