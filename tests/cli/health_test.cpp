// tarvelo-cli health: the table and the JSON of each item's source health, and the exit
// status a script tests.
#include "model/archive.h"
#include "model/sourcehealth.h"
#include "platform/files.h"
#include "platform/localtime.h"
#include "servers/serverstore.h"

#include "tests/cli/clirun.h"
#include "tests/support/pageitems.h"

#include <gtest/gtest.h>

#include <clocale>
#include <ctime>
#include <filesystem>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

using test::cli;
using test::CliRun;

TEST(HealthCommandTest, PrintsWhatTheUpdatesRecordedAndExitsOneWhileAnItemFails)
{
    std::setlocale(LC_ALL, "C");
    const fs::path folder = fs::temp_directory_path() / "health-cli";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string page = (folder / "quotes.html").string();
    ASSERT_EQ(writeWholeFile(page, "<p>Kurs ABC: <b>22,65</b> EUR</p>"), FileError::None);
    std::vector<std::unique_ptr<SecurityItem>> items;
    for (const char* symbol : {"ABC", "XYZ", "NEW"}) {
        ItemSettings settings = test::pageItemSettings(std::string("Fund ") + symbol, symbol, "file://" + page);
        if (std::string(symbol) == "NEW")
            settings.server.name = "Some server";
        items.push_back(std::make_unique<SecurityItem>(settings));
    }
    const std::string portfolio = (folder / "health.qvx").string();
    ASSERT_TRUE(savePortfolioFile(portfolio, {items[0].get(), items[1].get()}).ok());

    // Nothing recorded yet: every item counts as never updated, none as failed.
    CliRun run = cli({"health", portfolio});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Item\tSymbol\tConfiguration\tLast success\tFailures\tLast reason\n"
                       "Fund ABC\tABC\t-- User defined --\tnever\t0\t\n"
                       "Fund XYZ\tXYZ\t-- User defined --\tnever\t0\t\n");

    // An update finds ABC and not XYZ; an item added since has no entry.
    EXPECT_EQ(cli({"update", portfolio}).status, 1);
    LoadResult loaded = loadPortfolioFile(portfolio);
    ASSERT_TRUE(loaded.ok());
    const TimeStamp found = loaded->items[0]->history().back().time;
    loaded->items.push_back(std::move(items[2]));
    ASSERT_TRUE(savePortfolioFile(portfolio, {loaded->items[0].get(), loaded->items[1].get(),
                                              loaded->items[2].get()})
                    .ok());
    run = cli({"health", portfolio, "--json"});
    EXPECT_EQ(run.status, 1) << run.err;
    char when[32];
    const std::time_t seconds = found;
    std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%SZ", std::gmtime(&seconds));
    EXPECT_EQ(run.out, "[\n"
                       "{\"name\":\"Fund ABC\",\"symbol\":\"ABC\",\"configuration\":\"-- User defined --\","
                       "\"lastSuccess\":\"" + std::string(when) + "\",\"failures\":0,\"reason\":null},\n"
                       "{\"name\":\"Fund XYZ\",\"symbol\":\"XYZ\",\"configuration\":\"-- User defined --\","
                       "\"lastSuccess\":null,\"failures\":1,\"reason\":\"Error: Text not found!\"},\n"
                       "{\"name\":\"Fund NEW\",\"symbol\":\"NEW\",\"configuration\":\"Some server\","
                       "\"lastSuccess\":null,\"failures\":0,\"reason\":null}\n"
                       "]\n");

    // A held-back value shows with its figures; the text table names the failure.
    {
        SourceHealth health(portfolio);
        ASSERT_TRUE(health.load().ok());
        health.recordFailure({"Fund ABC", "ABC"}, "Error: Implausible value 2265.0000 (last 22.6500)",
                             HeldBackValue{{found + 60, 2265.0}, 22.65, "implausible"});
        ASSERT_TRUE(health.save().ok());
    }
    run = cli({"health", portfolio, "--json"});
    EXPECT_NE(run.out.find("\"failures\":1,\"reason\":\"Error: Implausible value 2265.0000 (last 22.6500)\","
                           "\"heldBack\":{\"value\":2265,\"time\":\""),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(",\"latest\":22.65}}"), std::string::npos) << run.out;
    run = cli({"health", portfolio});
    EXPECT_NE(run.out.find("\nFund XYZ\tXYZ\t-- User defined --\tnever\t1\tError: Text not found!\n"),
              std::string::npos)
        << run.out;

    // Once every page has its quotation, the status says all is well.
    ASSERT_EQ(writeWholeFile(page, "<p>Kurs ABC: <b>22,70</b> Kurs XYZ: <b>7,5</b> Kurs NEW: <b>1,25</b></p>"),
              FileError::None);
    ServerConfig some = loaded->items[2]->settings().server;
    ASSERT_TRUE(writeServerConfig("Some server", some));
    EXPECT_EQ(cli({"update", portfolio}).status, 0);
    run = cli({"health", portfolio});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("\nFund NEW\tNEW\tSome server\t"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("never"), std::string::npos) << run.out;
    deleteServerConfig("Some server");

    // Wrong calls and unreadable portfolios.
    EXPECT_EQ(cli({"health"}).status, 2);
    EXPECT_EQ(cli({"health", portfolio, "--bogus"}).status, 2);
    EXPECT_EQ(cli({"health", (folder / "missing.qvx").string()}).status, 2);
    fs::remove_all(folder);
}

} // namespace
} // namespace tarvelo
