#include "cli/cli.h"
#include "tests/cli/clirun.h"
#include "download/downloadengine.h"

#include "model/archive.h"
#include "platform/files.h"
#include "platform/localtime.h"
#include "servers/builtinservers.h"
#include "servers/serverstore.h"
#include "platform/profile.h"

#include "tests/support/pageitems.h"
#include "tests/support/fulldisk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include <sys/stat.h>

#include <clocale>
#include <iostream>

#include <unistd.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

using test::cli;
using test::CliRun;

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
        SecurityItem item;
        ItemSettings& s = item.settings();
        s.name = "M\xC3\x84RZ \"Fund\"\n";
        s.symbol = "DE0001";
        s.memo = "tab\there";
        s.server.name = "Some server";
        s.chart.periodStart = 1000;
        s.chart.periodEnd = 2000;
        s.chart.lineColour = 0x9600DC;
        s.quantity = 0.1;
        s.averageBuyPrice = 1.0 / 3.0;
        item.insertQuotation({100, 12.5});
        item.insertQuotation({200, 0.30000000000000004});
        item.insertQuotation({300, -1.0 / 0.0});
        const std::string file = path("sample.qvx");
        EXPECT_TRUE(savePortfolioFile(file, {&item}).ok());
        return file;
    }

    fs::path m_folder;
};

TEST_F(CliTest, DumpPrintsEveryFieldAsJson)
{
    const CliRun run = cli({"dump", writeSample()});
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
    const CliRun run = cli({"convert", in, out});
    ASSERT_EQ(run.status, 0) << run.err;
    std::string a, b;
    ASSERT_EQ(readWholeFile(in, a), FileError::None);
    ASSERT_EQ(readWholeFile(out, b), FileError::None);
    EXPECT_EQ(a, b);
}

TEST_F(CliTest, FileProblemsExitWithStatusTwoAndTheReason)
{
    CliRun run = cli({"dump", path("missing.qvx")});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Cannot find this file."), std::string::npos);
    EXPECT_EQ(run.out, "");

    ASSERT_EQ(writeFileAtomically(path("bad.qvx"), std::string("\x01\x00\xFF\xFF\x07\x00\x03\x00XYZ", 11)),
              FileError::None);
    run = cli({"dump", path("bad.qvx")});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "tarvelo-cli: " + path("bad.qvx") + ": Unexpected file format.\n");

    run = cli({"convert", writeSample(), path("no/such/folder/out.qvx")});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Failed to save document."), std::string::npos);
}

TEST_F(CliTest, WrongCallsNameTheProblemAndPointToTheHelp)
{
    const std::pair<std::vector<std::string>, std::string> calls[] = {
        {{}, "no command given"},
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{"dump"}, "dump takes one portfolio file"},
        {{"dump", "a", "b"}, "dump takes one portfolio file"},
        {{"convert", "a"}, "convert takes an input and an output file"},
    };
    for (const auto& [args, problem] : calls) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 2) << problem;
        EXPECT_EQ(run.err, "tarvelo-cli: " + problem + "\nsee tarvelo-cli --help\n");
        EXPECT_EQ(run.out, "");
    }
    const CliRun help = cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("dump PORTFOLIO"), std::string::npos);
    const CliRun version = cli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "Tarvelo, Version 2.01\n");
}

TEST_F(CliTest, DumpAndConvertWarnOfBytesAfterTheLastItem)
{
    std::string bytes;
    ASSERT_EQ(readWholeFile(writeSample(), bytes), FileError::None);
    const std::string padded = path("padded.qvx");
    ASSERT_EQ(writeWholeFile(padded, bytes + "junk"), FileError::None);
    const std::string warning = "tarvelo-cli: " + padded + ": 4 bytes after the last item were passed over.\n";

    CliRun run = cli({"dump", padded});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, cli({"dump", path("sample.qvx")}).out);
    EXPECT_EQ(run.err, warning);

    run = cli({"convert", padded, path("clean.qvx")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, warning);
    std::string converted;
    ASSERT_EQ(readWholeFile(path("clean.qvx"), converted), FileError::None);
    EXPECT_EQ(converted, bytes);

    ASSERT_EQ(writeWholeFile(padded, ""), FileError::None);
    run = cli({"dump", padded});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "tarvelo-cli: " + padded + ": Unexpected file format.\n");
}

TEST_F(CliTest, ExtractRunsTheSearchTheConfigurationNames)
{
    const std::string page = path("page.html");
    ASSERT_EQ(writeWholeFile(page, "<p>Quote of ABC: <b>1.234,50</b> EUR</p>"), FileError::None);

    // Without options: a configuration read from a missing key (standard search, decimal ",").
    // Without a thousands separator the "." ends the number.
    CliRun run = cli({"extract", page, "--text", "of [&symbol]:", "--symbol", "ABC"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("{\"code\":0,\"value\":1,", 0), 0u) << run.out;

    run = cli({"extract", page, "--text", "of [&symbol]:", "--symbol", "ABC", "--thousands", "."});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("\"code\":0,\"value\":1234.5,"), std::string::npos) << run.out;

    // A stored configuration: semi-html with one tag to skip.
    ServerConfig config;
    config.conversion = Conversion::SemiHtml;
    config.textBeforeValue = "Quote of [&symbol]:";
    config.tagsToSkip = 1;
    config.thousandsSeparator = ".";
    writeServerConfig("Test server", config);
    run = cli({"extract", page, "--server", "Test server", "--symbol", "ABC"});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("\"value\":1234.5,"), std::string::npos) << run.out;
    // Fields given on the command line override the stored ones.
    run = cli({"extract", page, "--server", "Test server", "--symbol", "ABC", "--tags", "0"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("\"code\":1,"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"message\":\"<>1.234,50<> eur<>\""), std::string::npos) << run.out;

    // The regular-expression search with date captures.
    ASSERT_EQ(writeWholeFile(page, "ABC;24.12.2003;22,65;EUR"), FileError::None);
    run = cli({"extract", page, "--regexp", "[&symbol];(\\d+)\\.(\\d+)\\.(\\d+);([0-9,]+)", "--symbol", "ABC",
               "--index", "4", "--date", "1,2,3"});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    const std::string before = "\"value\":22.65,\"time\":";
    const auto at = run.out.find(before);
    ASSERT_NE(at, std::string::npos) << run.out;
    const std::tm date = breakLocalTime(std::stoi(run.out.substr(at + before.size())));
    EXPECT_EQ((std::vector<int>{date.tm_mday, date.tm_mon + 1, date.tm_year + 1900, date.tm_sec}),
              (std::vector<int>{24, 12, 2003, 0}));
}

TEST_F(CliTest, ExtractAndExpandRefuseWrongCalls)
{
    const std::string page = path("page.html");
    ASSERT_EQ(writeWholeFile(page, "x"), FileError::None);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"extract"},
             {"extract", page, "--conversion", "3"},
             {"extract", page, "--case", "yes"},
             {"extract", page, "--date", "1,2"},
             {"extract", page, "--bogus", "1"},
             {"extract", page, "--text"},
             {"expand"},
             {"expand", "x", "--begin", "2003-01-05"},
             {"expand", "x", "--begin", "2003-13-05", "--end", "2003-12-01"},
             {"expand", "x", "--offset", "-1"}}) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 2) << args.size();
        EXPECT_NE(run.err.find("\nsee tarvelo-cli --help\n"), std::string::npos);
    }
    const CliRun missing = cli({"extract", path("missing.html")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("missing.html"), std::string::npos);
}

TEST_F(CliTest, ExpandAppliesRangeItemAndDateVariables)
{
    const CliRun run = cli({"expand", "s=[&symbol]&a=[&day_begin].[&month_begin-1]&b=[&year_end]&y=[&y]", "--symbol",
                            "870747", "--begin", "2003-01-05", "--end", "2003-03-31"});
    EXPECT_EQ(run.status, 0);
    const std::string year = formatLocalTime(currentTime(), "%Y");
    EXPECT_EQ(run.out, "s=870747&a=5.0&b=2003&y=" + year + "\n");
}

TEST_F(CliTest, UpdateFetchesEveryItemAndSavesThePortfolio)
{
    const std::string page = path("quotes.html");
    ASSERT_EQ(writeWholeFile(page, "<p>Kurs ABC: <b>22,65</b> EUR</p>"), FileError::None);
    std::vector<std::unique_ptr<SecurityItem>> items;
    for (const char* symbol : {"ABC", "XYZ"}) {
        items.push_back(std::make_unique<SecurityItem>(
            test::pageItemSettings(std::string("Fund ") + symbol, symbol, "file://" + page)));
    }
    const std::string portfolio = path("update.qvx");
    ASSERT_TRUE(savePortfolioFile(portfolio, {items[0].get(), items[1].get()}).ok());

    CliRun run = cli({"update", portfolio, "--slots", "1"});
    EXPECT_EQ(run.status, 1) << run.err; // one item found nothing
    EXPECT_NE(run.out.find("Fund ABC\t22.6500 "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Fund XYZ\tError: Text not found!\n"), std::string::npos) << run.out;
    const LoadResult loaded = loadPortfolioFile(portfolio);
    ASSERT_TRUE(loaded.ok());
    ASSERT_EQ(loaded->items[0]->history().size(), 1u);
    EXPECT_DOUBLE_EQ(loaded->items[0]->history()[0].value, 22.65);
    EXPECT_TRUE(loaded->items[1]->history().empty());
    // Every downloaded and converted page is gone.
    for (const auto& entry : fs::directory_iterator(fs::temp_directory_path()))
        EXPECT_EQ(entry.path(), m_folder);

    EXPECT_EQ(cli({"update", path("missing.qvx")}).status, 2);
    EXPECT_EQ(cli({"update", portfolio, "--slots", "0"}).status, 2);
}

TEST_F(CliTest, ImportAndExportQuotations)
{
    SecurityItem item;
    item.settings().name = "ACME";
    item.settings().symbol = "AC";
    const std::string portfolio = path("import.qvx");
    ASSERT_TRUE(savePortfolioFile(portfolio, {&item}).ok());
    const std::string csv = path("history.csv");
    ASSERT_EQ(writeWholeFile(csv, "Date;Close\n01.02.2003;1.234,50\n02.02.2003;1.240,00\n"), FileError::None);
    const std::vector<std::string> import = {"import", portfolio, "ACME", csv, "--template",
                                             "[&day].[&month].[&year];[&value]", "--format", "0"};

    // A dry run prints what the import would store and leaves the file byte for byte.
    std::string before, after;
    ASSERT_EQ(readWholeFile(portfolio, before), FileError::None);
    const auto dryRun = [&import](std::vector<std::string> extra) {
        std::vector<std::string> args = import;
        args.push_back("--dry-run");
        args.insert(args.end(), extra.begin(), extra.end());
        return cli(args);
    };
    CliRun run = dryRun({});
    EXPECT_EQ(run.status, 0) << run.err << run.out;
    EXPECT_EQ(run.out, "2 lines matched: 2 quotations to import\nDates from 02/01/03 20:00 to 02/02/03 20:00\n"
                       "02/01/03 20:00\t1234.5000\n02/02/03 20:00\t1240.0000\n");
    ASSERT_EQ(readWholeFile(portfolio, after), FileError::None);
    EXPECT_EQ(after, before);

    // Exit 0: every matching line is in the history, imported now or before.
    run = cli(import);
    EXPECT_EQ(run.status, 0) << run.err << run.out;
    EXPECT_EQ(run.out, "2 quotations imported\n");
    LoadResult loaded = loadPortfolioFile(portfolio);
    ASSERT_TRUE(loaded.ok());
    ASSERT_EQ(loaded->items[0]->history().size(), 2u);
    EXPECT_DOUBLE_EQ(loaded->items[0]->history()[0].value, 1234.5);
    run = cli(import);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "0 quotations imported, 2 already in the history\n");
    // Exit 1: some lines skipped; 2: none imported.
    ASSERT_EQ(writeWholeFile(csv, "03.02.2003;1,00\n32.02.2003;2,00\n"), FileError::None);
    run = cli(import);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "1 quotations imported, 1 lines skipped (line 2: day 32 does not exist)\n");
    ASSERT_EQ(writeWholeFile(csv, "30.02.2003;1,00\n"), FileError::None);
    run = cli(import);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "Error importing quotations from file \"" + csv
                           + "\":\n0 quotations imported, 1 lines skipped (line 1: 2003-02-30 does not exist)\n");
    EXPECT_EQ(loadPortfolioFile(portfolio)->items[0]->history().size(), 3u);

    // A quotation in the future is shown with a warning; a script's import stores it only
    // with --allow-future, else the file stays as it was.
    ASSERT_EQ(writeWholeFile(csv, "04.02.2003;1,10\n32.02.2003;1,00\n18.01.2038;1,20\n"), FileError::None);
    ASSERT_EQ(readWholeFile(portfolio, before), FileError::None);
    run = dryRun({});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "3 lines matched: 2 quotations to import, 1 lines skipped (line 2: day 32 does not exist)\n"
                       "Dates from 02/04/03 20:00 to 01/18/38 20:00\n"
                       "Warning: 1 quotation lies in the future (the latest 01/18/38 20:00)\n"
                       "02/04/03 20:00\t1.1000\n01/18/38 20:00\t1.2000\n"
                       "The import stores nothing while quotations lie in the future; --allow-future stores them.\n");
    run = cli(import);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "Nothing was imported: 1 quotation lies in the future (the latest 01/18/38 20:00). "
                       "Check the template and the dates, or give --allow-future to import anyway.\n");
    ASSERT_EQ(readWholeFile(portfolio, after), FileError::None);
    EXPECT_EQ(after, before);
    std::vector<std::string> allowed = import;
    allowed.push_back("--allow-future");
    run = cli(allowed);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "2 quotations imported, 1 lines skipped (line 2: day 32 does not exist)\n");
    EXPECT_EQ(loadPortfolioFile(portfolio)->items[0]->history().size(), 5u);

    // The default template does not fit this file: nothing imported, the reason shown.
    run = cli({"import", portfolio, "ACME", csv});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.out.find("Error importing quotations from file"), std::string::npos);
    EXPECT_EQ(cli({"import", portfolio, "Nobody", csv}).status, 1);
    EXPECT_EQ(cli({"import", portfolio, "ACME", path("missing.csv")}).status, 2);
    EXPECT_EQ(cli({"import", portfolio, "ACME", csv, "--format", "7"}).status, 2);

    // A disk that fills up (a file size limit in a child process): the failed save is
    // the answer, with no word of quotations imported.
    std::vector<Quotation> history;
    for (int i = 0; i < 2000; ++i)
        history.push_back({1000000 + i * 60, 1.0 + i});
    loaded = loadPortfolioFile(portfolio);
    loaded->items[0]->insertQuotations(history);
    ASSERT_TRUE(savePortfolioFile(portfolio, {loaded->items[0].get()}).ok());
    ASSERT_EQ(writeWholeFile(csv, "04.02.2003;1,00\n"), FileError::None);
    EXPECT_TRUE(test::holdsOnFullDisk(4096, [&] {
        run = cli(import);
        return run.status == 2 && run.out.empty() && run.err.find("full") != std::string::npos;
    }));

    const std::string sheet = path("out.xls");
    ASSERT_EQ(cli({"export", portfolio, sheet}).status, 0);
    std::string bytes;
    ASSERT_EQ(readWholeFile(sheet, bytes), FileError::None);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x09\x00\x04\x00", 4));
    const std::string text = path("out.txt");
    ASSERT_EQ(cli({"export", portfolio, text}).status, 0);
    ASSERT_EQ(readWholeFile(text, bytes), FileError::None);
    EXPECT_EQ(bytes.rfind("\"ACME\" (AC)\r\n", 0), 0u);
    EXPECT_EQ(cli({"export", portfolio, path("no/such/out.txt")}).status, 2);
    // No scratch copy of the imported file stays behind.
    for (const auto& entry : fs::directory_iterator(fs::temp_directory_path()))
        EXPECT_EQ(entry.path(), m_folder);
}

TEST_F(CliTest, BuildAPortfolioAndListIt)
{
    Profile().deleteKey("SortColumn");
    Profile().deleteKey("SortReverse");
    const std::string portfolio = path("built.qvx");
    ASSERT_EQ(cli({"new", portfolio}).status, 0);
    ASSERT_EQ(cli({"add", portfolio, "Zeta", "--symbol", "ZT"}).status, 0);
    ASSERT_EQ(cli({"add", portfolio, "Alpha"}).status, 0);
    EXPECT_EQ(cli({"add", portfolio, "Gone", "--server", "No such server"}).status, 1);
    ASSERT_EQ(cli({"quote", portfolio, "Zeta", "12.5", "--time", "2003-02-01 10:00"}).status, 0);
    ASSERT_EQ(cli({"quote", portfolio, "Zeta", "10", "--time", "2003-02-03 10:00"}).status, 0);
    EXPECT_EQ(cli({"quote", portfolio, "Zeta", "0"}).status, 2);
    EXPECT_EQ(cli({"quote", portfolio, "Zeta", "1", "--time", "2003-02-03"}).status, 2);
    EXPECT_EQ(cli({"quote", portfolio, "Nobody", "1"}).status, 1);

    const LoadResult loaded = loadPortfolioFile(portfolio);
    ASSERT_TRUE(loaded.ok());
    ASSERT_EQ(loaded->items.size(), 2u);
    EXPECT_EQ(loaded->items[0]->settings().symbol, "ZT");
    EXPECT_EQ(loaded->items[0]->settings().server.url, "http://www.");
    EXPECT_EQ(loaded->items[0]->settings().deviationPercent, 20.0);

    // Sorted by name (the stored sort column 0), icon first, the totals last.
    CliRun run = cli({"list", portfolio, "--nominal"});
    ASSERT_EQ(run.status, 0);
    const auto firstLine = run.out.substr(0, run.out.find('\n'));
    EXPECT_EQ(firstLine, "0\tAlpha\t\t\t\t\t\t\t\t");
    EXPECT_NE(run.out.find("\n1\tZeta\t"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\t-2.5000 (2 Days)\t"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\nAmount invested: "), std::string::npos);
    EXPECT_EQ(cli({"list", path("missing.qvx")}).status, 2);

    // A name with a tab and a line break stays one row; a name beyond the bound is
    // refused; a date beyond what a time stamp holds is named so.
    ASSERT_EQ(cli({"add", portfolio, "Two\tcolumns\nand lines"}).status, 0);
    run = cli({"list", portfolio});
    EXPECT_NE(run.out.find("\tTwo\\tcolumns\\nand lines\t"), std::string::npos) << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 4) << run.out;
    run = cli({"add", portfolio, std::string(256, 'N')});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("name is longer than 255 characters"), std::string::npos) << run.err;
    EXPECT_EQ(cli({"add", portfolio, "Sym", "--symbol", std::string(256, 'S')}).status, 2);
    for (const char* when : {"2038-01-20 10:00", "1901-12-13 10:00", "2040-02-29 00:00"}) {
        run = cli({"quote", portfolio, "Zeta", "1", "--time", when});
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("is out of range"), std::string::npos) << when << ": " << run.err;
    }
    run = cli({"quote", portfolio, "Zeta", "1", "--time", "2003-02-30 10:00"});
    EXPECT_NE(run.err.find("--time takes"), std::string::npos) << run.err;
    run = cli({"import", portfolio, "Zeta", path("none.txt"), "--begin", "2003-01-01", "--end", "2099-01-01"});
    EXPECT_NE(run.err.find("--end: 2099-01-01 is out of range"), std::string::npos) << run.err;
}

TEST_F(CliTest, NoOutputTakesThePlaceOfAFifo)
{
    const std::string portfolio = writeSample();
    const std::string fifo = path("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::vector<std::string> calls[] = {
        {"new", fifo, "--force"},
        {"convert", portfolio, fifo},
        {"export", portfolio, fifo},
        {"chart", portfolio, fifo + ".png"},
        {"print", portfolio, fifo + ".pdf"},
        {"servers", "export", fifo},
    };
    ASSERT_EQ(::mkfifo((fifo + ".png").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((fifo + ".pdf").c_str(), 0600), 0);
    for (const auto& call : calls) {
        const CliRun run = cli(call);
        EXPECT_EQ(run.status, 2) << call[0];
        EXPECT_NE(run.err.find("not a file; it is left as it is"), std::string::npos) << call[0] << ": " << run.err;
    }
    for (const char* name : {"pipe", "pipe.png", "pipe.pdf"})
        EXPECT_TRUE(fs::is_fifo(m_folder / name)) << name;
}

TEST_F(CliTest, HoldingsAndNumbersAreReadTheSameInEveryLocale)
{
    const std::string portfolio = path("held.qvx");
    ASSERT_EQ(cli({"new", portfolio}).status, 0);
    // A German user's locale must not turn "12.5" into 12 or refuse it.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string restore = previous ? previous : "C";
    const bool german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    ASSERT_EQ(cli({"add", portfolio, "Held", "--quantity", "10", "--buy-price", "20.5"}).status, 0);
    ASSERT_EQ(cli({"quote", portfolio, "Held", "25.25", "--time", "2003-02-03 10:00"}).status, 0);
    for (const char* wrong : {"12,5", "abc", "nan", "inf", "1e999", ""})
        EXPECT_EQ(cli({"add", portfolio, "Bad", "--quantity", wrong}).status, 2) << wrong;
    EXPECT_EQ(cli({"quote", portfolio, "Held", "2,5"}).status, 2);
    std::setlocale(LC_NUMERIC, restore.c_str());
    if (!german)
        std::cout << "(de_DE.UTF-8 is not installed; checked in the current locale only)\n";

    const LoadResult loaded = loadPortfolioFile(portfolio);
    ASSERT_TRUE(loaded.ok());
    ASSERT_EQ(loaded->items.size(), 1u);
    EXPECT_EQ(loaded->items[0]->settings().quantity, 10.0);
    EXPECT_EQ(loaded->items[0]->settings().averageBuyPrice, 20.5);
    EXPECT_EQ(loaded->items[0]->history().at(0).value, 25.25);
    const CliRun run = cli({"list", portfolio});
    EXPECT_NE(run.out.find("Amount invested: 252.50 (Total: +23.17%)"), std::string::npos) << run.out;
}

TEST_F(CliTest, ServersListShowExportImportInstall)
{
    Profile().deleteKey("Server");
    Profile().deleteKey("Server Version");
    CliRun run = cli({"servers", "list"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");

    ASSERT_EQ(cli({"servers", "install"}).status, 0);
    run = cli({"servers", "list"});
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 18);
    EXPECT_EQ(run.out.rfind("AT-Reiffeisen\nAT-Wiener Boerse\nAU-Yahoo\n", 0), 0u) << run.out;

    run = cli({"servers", "show", "US-Yahoo"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("\n\"Text_before_Value\"=\"Last Trade:\"\n\"Timeout\"=dword:000000b4\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 22);
    EXPECT_EQ(cli({"servers", "show", "Nobody"}).status, 1);

    const std::string file = path("servers.reg");
    ASSERT_EQ(cli({"servers", "export", file}).status, 0);
    deleteServerConfig("US-Yahoo");
    ASSERT_EQ(cli({"servers", "import", file}).status, 0);
    EXPECT_EQ(cli({"servers", "show", "US-Yahoo"}).out, run.out);
    std::vector<std::string> names;
    enumerateServerConfigs(names);
    EXPECT_EQ(names.size(), 18u);

    ASSERT_EQ(writeWholeFile(file, "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software]\n"), FileError::None);
    run = cli({"servers", "import", file});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Line 2"), std::string::npos) << run.err;
    EXPECT_EQ(cli({"servers", "export", path("no/such/folder.reg")}).status, 2);
    EXPECT_EQ(cli({"servers", "frob"}).status, 2);
}

TEST_F(CliTest, ServersSetAndDeleteWithTheSettingsRanges)
{
    Profile().deleteKey("Server");
    ASSERT_EQ(cli({"servers", "set", "B\xC3\xA4nk", "--url", "http://bank.example/q?id=[&symbol]", "--timeout", "600",
                   "--text", "Kurs:", "--tags", "2", "--conversion", "1"})
                  .status,
              0);
    ServerConfig stored;
    readServerConfig("B\xC3\xA4nk", stored);
    EXPECT_EQ(stored.url, "http://bank.example/q?id=[&symbol]");
    EXPECT_EQ(stored.timeout, 600);
    EXPECT_EQ(stored.tagsToSkip, 2);
    EXPECT_EQ(stored.conversion, Conversion::SemiHtml);
    EXPECT_EQ(stored.maxChange, kNewConfigMaxChange); // the limit of a configuration a user makes
    // Changing one value keeps the others.
    ASSERT_EQ(cli({"servers", "set", "B\xC3\xA4nk", "--numbers", "1"}).status, 0);
    ServerConfig changed = stored;
    changed.numbersToSkip = 1;
    readServerConfig("B\xC3\xA4nk", stored);
    EXPECT_EQ(stored, changed);

    // A refused value or name stores nothing.
    const struct {
        std::vector<std::string> args;
        const char* message;
    } refused[] = {
        {{"servers", "set", "B\xC3\xA4nk", "--timeout", "0", "--tags", "5"}, "--timeout: Please enter an integer between 1 and 600."},
        {{"servers", "set", "B\xC3\xA4nk", "--tags", "10001"}, "--tags: Please enter an integer between 0 and 10000."},
        {{"servers", "set", "a/b", "--tags", "1"}, "may not hold"},
        {{"servers", "set", " lead", "--tags", "1"}, "may not begin or end with a blank"},
        {{"servers", "set", "B\xC3\xA4nk", "--max-change", "-1"}, "--max-change: Please enter an integer between 0 and 100000."},
        {{"servers", "set", "B\xC3\xA4nk", "--fallback", "Nobody"}, "--fallback: no server configuration named 'Nobody'"},
        {{"servers", "set", "B\xC3\xA4nk", "--fallback", "B\xC3\xA4nk"}, "cannot be its own fallback"},
        {{"servers", "set", "B\xC3\xA4nk", "--fallback", "x", "--no-fallback"}, "exclude each other"},
    };
    for (const auto& r : refused) {
        const CliRun run = cli(r.args);
        EXPECT_EQ(run.status, 2) << r.message;
        EXPECT_NE(run.err.find(r.message), std::string::npos) << run.err;
    }
    readServerConfig("B\xC3\xA4nk", stored);
    EXPECT_EQ(stored, changed);
    std::vector<std::string> names;
    enumerateServerConfigs(names);
    EXPECT_EQ(names, std::vector<std::string>{"B\xC3\xA4nk"});

    EXPECT_EQ(cli({"servers", "delete", "B\xC3\xA4nk"}).status, 0);
    EXPECT_EQ(cli({"servers", "delete", "B\xC3\xA4nk"}).status, 1);
    EXPECT_EQ(cli({"servers", "show", "B\xC3\xA4nk"}).status, 1);
}

// A value that looks wrong is held back by update and stored by accept; a configuration
// that fails hands the item to its fallback, and update's line says so.
TEST_F(CliTest, UpdateHoldsBackOrFallsBackAndAcceptStores)
{
    Profile().deleteKey("Server");
    const std::string page = path("quotes.html");
    const std::string spare = path("spare.html");
    ASSERT_EQ(writeWholeFile(page, "<p>Kurs JMP: <b>100,00</b></p>"), FileError::None);
    ASSERT_EQ(writeWholeFile(spare, "<p>Kurs SAV: <b>5,00</b></p>"), FileError::None);
    const auto set = [&](const std::string& name, const std::string& file, std::vector<std::string> more = {}) {
        std::vector<std::string> args = {"servers", "set", name, "--url", "file://" + file, "--conversion", "2",
                                         "--text", "Kurs [&symbol]:", "--decimal", ","};
        args.insert(args.end(), more.begin(), more.end());
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 0) << run.err;
    };
    set("Own", page);
    set("Spare", spare);
    set("Broken", path("missing.html"), {"--fallback", "Spare", "--max-change", "0"});
    CliRun run = cli({"servers", "list"});
    EXPECT_EQ(run.out, "Broken\tfallback: Spare\nOwn\nSpare\n");
    run = cli({"servers", "show", "Broken"});
    EXPECT_NE(run.out.find("\n\"MaxChange\"=dword:00000000\n\"Fallback\"=\"Spare\"\n"), std::string::npos) << run.out;

    std::vector<std::unique_ptr<SecurityItem>> items;
    for (const auto& [name, symbol, server] : {std::tuple{"Jump", "JMP", "Own"}, std::tuple{"Saved", "SAV", "Broken"}}) {
        items.push_back(std::make_unique<SecurityItem>());
        items.back()->settings().name = name;
        items.back()->settings().symbol = symbol;
        items.back()->settings().server.name = server;
        items.back()->insertQuotation({100, 10.0});
    }
    const std::string portfolio = path("checked.qvx");
    ASSERT_TRUE(savePortfolioFile(portfolio, {items[0].get(), items[1].get()}).ok());

    run = cli({"update", portfolio});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.out.find("Jump\tError: Implausible value 100.0000 (last 10.0000)\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Saved\t5.0000 "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(" (from Spare)\n"), std::string::npos) << run.out;
    LoadResult loaded = loadPortfolioFile(portfolio);
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded->items[0]->history().size(), 1u);
    EXPECT_DOUBLE_EQ(loaded->items[1]->history().back().value, 5.0);

    run = cli({"accept", portfolio, "jump"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("Jump\t100.0000 ", 0), 0u) << run.out;
    loaded = loadPortfolioFile(portfolio);
    ASSERT_TRUE(loaded.ok());
    ASSERT_EQ(loaded->items[0]->history().size(), 2u);
    EXPECT_DOUBLE_EQ(loaded->items[0]->history().back().value, 100.0);

    run = cli({"accept", portfolio, "Jump"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("'Jump' has no value held back by an update."), std::string::npos) << run.err;
    EXPECT_EQ(cli({"accept", portfolio, "Nobody"}).status, 1);
    EXPECT_EQ(cli({"accept", portfolio}).status, 2);
    EXPECT_EQ(loadPortfolioFile(portfolio)->items[0]->history().size(), 2u);

    // --no-fallback clears the fallback; the limit stays.
    ASSERT_EQ(cli({"servers", "set", "Broken", "--no-fallback"}).status, 0);
    ServerConfig broken;
    readServerConfig("Broken", broken);
    EXPECT_EQ(broken.fallback, "");
    EXPECT_EQ(broken.maxChange, 0);
    Profile().deleteKey("Server");
}

TEST_F(CliTest, OptionsPrintAndSet)
{
    Profile().deleteKey("GeneralOptions");
    CliRun run = cli({"options"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "NumberDownloads=5\nAutosaveOnExit=0\nAutoupdate=1\nAutoupdate_Time=1\nDownloadStatus=1\n"
                       "Hour1=9\nMinute1=30\nHour2=18\nMinute2=30\nUpdateIntervall=60\nAutosaveWindows=1\n"
                       "ShowFileOnError=1\nMaxPageSize=67108864\nAllowHttps=1\nUserAgent=\n");
    EXPECT_EQ(cli({"options", "set", "UpdateIntervall", "15"}).status, 0);
    EXPECT_NE(cli({"options"}).out.find("UpdateIntervall=15\n"), std::string::npos);
    EXPECT_EQ(cli({"options", "set", "UserAgent", "Mozilla/5.0 (X11)"}).status, 0);
    EXPECT_NE(cli({"options"}).out.find("UserAgent=Mozilla/5.0 (X11)\n"), std::string::npos);
    EXPECT_EQ(readWorkerSettings().userAgent, "Mozilla/5.0 (X11)");
    for (const auto& args : std::vector<std::vector<std::string>>{{"options", "set", "UpdateIntervall", "4"},
                                                                  {"options", "set", "NumberDownloads", "0"},
                                                                  {"options", "set", "Hour1", "24"},
                                                                  {"options", "set", "Nope", "1"},
                                                                  {"options", "set", "Autoupdate", "x"},
                                                                  {"options", "set", "UserAgent", "a\r\nX-Evil: 1"},
                                                                  {"options", "list"}})
        EXPECT_EQ(cli(args).status, 2);
    EXPECT_NE(cli({"options"}).out.find("UpdateIntervall=15\n"), std::string::npos);
}

} // namespace
} // namespace tarvelo
