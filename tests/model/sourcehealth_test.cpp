#include "model/sourcehealth.h"

#include "platform/files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace tarvelo {
namespace {

TEST(SourceHealthTest, TwoWritersKeepEachOthersEntriesAndOddTextsSurvive)
{
    const std::string portfolio = std::string(std::getenv("XDG_STATE_HOME")) + "/../Depot.qvx";
    const HealthKey odd{"Name\twith tab\\ and\nline", "S;1"};
    const HealthKey plain{"Plain", ""};
    const HealthKey other{"Other", "O"};

    SourceHealth window(portfolio);
    ASSERT_TRUE(window.load().ok());
    window.recordFailure(odd, "Error: Timeout!");
    window.recordFailure(odd, "Error: Implausible value 1250.0000 (last 12.5000)",
                         HeldBackValue{{1700000000, 1250.0}, 12.5, "Error: Implausible value"});
    window.recordSuccess(plain, 1700000100);

    // Another program records its own items and forgets one meanwhile.
    SourceHealth cli(portfolio);
    ASSERT_TRUE(cli.load().ok());
    cli.recordFailure(other, "Error: Server!");
    cli.recordSuccess(plain, 1600000000);
    ASSERT_TRUE(cli.save().ok());
    cli.forget(plain);
    ASSERT_TRUE(cli.save().ok());

    // The window's save keeps the other's entry and writes only what it changed.
    ASSERT_TRUE(window.save().ok());
    SourceHealth read(portfolio);
    ASSERT_TRUE(read.load().ok());
    ASSERT_EQ(read.entries().size(), 3u);
    const ItemHealth* failing = read.find(odd);
    ASSERT_NE(failing, nullptr);
    EXPECT_EQ(failing->failures, 2);
    EXPECT_EQ(failing->lastReason, "Error: Implausible value 1250.0000 (last 12.5000)");
    ASSERT_TRUE(failing->heldBack);
    EXPECT_EQ(failing->heldBack->quotation, (Quotation{1700000000, 1250.0}));
    EXPECT_EQ(failing->heldBack->latest, 12.5);
    EXPECT_EQ(read.find(plain)->lastSuccess, 1700000100);
    EXPECT_FALSE(read.find(plain)->failing());
    EXPECT_EQ(read.find(other)->failures, 1);
    EXPECT_TRUE(read.anyFailing());

    // A success clears the failures and the held-back value.
    read.recordSuccess(odd, 1700000200);
    EXPECT_EQ(*read.find(odd), (ItemHealth{1700000200, 0, {}, {}}));

    // A damaged line is passed over, a foreign file is read as empty.
    const std::string text = SourceHealth::serialize(read.entries());
    EXPECT_EQ(SourceHealth::parse(text + "broken\tline\nX\t\tnot a number\t0\t\n").size(), 3u);
    EXPECT_TRUE(SourceHealth::parse("something else\n" + text.substr(text.find('\n') + 1)).empty());

    // Two portfolios of the same name in different folders have files of their own.
    EXPECT_NE(SourceHealth::stateFileFor("/a/Depot.qvx"), SourceHealth::stateFileFor("/b/Depot.qvx"));
    EXPECT_EQ(std::filesystem::path(SourceHealth::stateFileFor(portfolio)).parent_path(),
              std::filesystem::path(std::getenv("XDG_STATE_HOME")) / "tarvelo");
}

} // namespace
} // namespace tarvelo
