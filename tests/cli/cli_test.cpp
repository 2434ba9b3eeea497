#include "cli/cli.h"

#include "model/archive.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun Cli(std::vector<std::string> args)
{
    std::ostringstream out, err;
    const int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / "cli";
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    std::string path(const char* name) const { return (m_folder / name).string(); }

    std::string writeSample()
    {
        CWPapier item;
        ItemSettings& s = item.settings();
        s.name = "M\xC4RZ \"Fund\"\n";
        s.symbol = "DE0001";
        s.memo = "tab\there";
        s.server.name = "Some server";
        s.chart.periodStart = 1000;
        s.chart.periodEnd = 2000;
        s.chart.lineColour = 0x9600DC;
        s.quantity = 0.1;
        s.averageBuyPrice = 1.0 / 3.0;
        item.InsertQuotation({100, 12.5});
        item.InsertQuotation({200, 0.30000000000000004});
        item.InsertQuotation({300, -1.0 / 0.0});
        const std::string file = path("sample.qvx");
        EXPECT_TRUE(SavePortfolioFile(file, {&item}).ok);
        return file;
    }

    fs::path m_folder;
};

TEST_F(CliTest, DumpPrintsEveryFieldAsJson)
{
    const CliRun run = Cli({"dump", writeSample()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\"items\":[{\"name\":\"M\xC3\x84RZ \\\"Fund\\\"\\n\",\"symbol\":\"DE0001\",\"memo\":\"tab\\there\","
              "\"server\":{\"name\":\"Some server\",\"url\":\"http://www.\",\"timeout\":180,\"thousands\":\"\","
              "\"decimal\":\",\",\"conversion\":0,\"textBeforeValue\":\"[&symbol]\",\"tagsToSkip\":0,"
              "\"numbersToSkip\":0,\"caseInsensitive\":1,\"searchKind\":0,"
              "\"regExp\":\"[&symbol][\\\"', \\t\\r\\n]*([0-9,]+)\",\"quotationIndex\":1,\"extractDate\":0,"
              "\"dayIndex\":2,\"monthIndex\":3,\"yearIndex\":4,\"extractTime\":0,\"hourIndex\":5,\"minuteIndex\":6},"
              "\"chart\":{\"pageFlag\":1,\"showGrid\":1,\"valueOnGraphic\":0,\"valueOnAxes\":0,\"periodStart\":1000,"
              "\"periodEnd\":2000,\"periodStartEnabled\":0,\"periodEndEnabled\":0,\"lineColour\":9830620},"
              "\"aboveAlarm\":0,\"belowAlarm\":0,\"deviationAlarm\":0,\"aboveLimit\":0,\"belowLimit\":0,"
              "\"deviationPercent\":20,\"quantity\":0.1,\"averageBuyPrice\":0.3333333333333333,"
              "\"history\":[{\"time\":100,\"value\":12.5},{\"time\":200,\"value\":0.30000000000000004},"
              "{\"time\":300,\"value\":-1e999}]}]}\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(CliTest, ConvertWritesTheCurrentFormat)
{
    const std::string in = writeSample();
    const std::string out = path("converted.qvx");
    const CliRun run = Cli({"convert", in, out});
    ASSERT_EQ(run.status, 0) << run.err;
    std::string a, b;
    ASSERT_EQ(ReadWholeFile(in, a), FileError::None);
    ASSERT_EQ(ReadWholeFile(out, b), FileError::None);
    EXPECT_EQ(a, b);
}

TEST_F(CliTest, FileProblemsExitWithStatusTwoAndTheReason)
{
    CliRun run = Cli({"dump", path("missing.qvx")});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Cannot find this file."), std::string::npos);
    EXPECT_EQ(run.out, "");

    ASSERT_EQ(WriteFileAtomically(path("bad.qvx"), std::string("\x01\x00\xFF\xFF\x07\x00\x03\x00XYZ", 11)),
              FileError::None);
    run = Cli({"dump", path("bad.qvx")});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "tarvelo-cli: " + path("bad.qvx") + ": Unexpected file format.\n");

    run = Cli({"convert", writeSample(), path("no/such/folder/out.qvx")});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Failed to save document."), std::string::npos);
}

TEST_F(CliTest, WrongCallsShowTheUsage)
{
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"frobnicate"}, {"dump"}, {"dump", "a", "b"}, {"convert", "a"}}) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("Usage: tarvelo-cli"), std::string::npos);
    }
    const CliRun help = Cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("dump PORTFOLIO"), std::string::npos);
}

} // namespace
} // namespace tarvelo
