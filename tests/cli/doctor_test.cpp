#include "cli/cli.h"
#include "tests/cli/clirun.h"

#include "model/archive.h"
#include "platform/files.h"
#include "servers/serverstore.h"
#include "tests/support/pageserver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

using test::cli;
using test::CliRun;

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class DoctorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / "doctor";
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    std::string path(const char* name) const { return (m_folder / name).string(); }

    // Every page the workers handed over has been removed (the folders of other tests
    // may be there).
    void expectNoPagesLeft()
    {
        for (const auto& entry : fs::directory_iterator(fs::temp_directory_path()))
            EXPECT_TRUE(entry.is_directory()) << entry.path();
    }

    fs::path m_folder;
};

// The demo portfolio of scripts/demo, on the example pages, with the share's
// configuration broken the way a site's redesign breaks one: its text before value in
// other letter case, the search case-sensitive.
TEST_F(DoctorTest, NamesTheCauseOfABrokenItemAndPassesTheOthers)
{
    const std::string examples = fs::path(TARVELO_TEST_DATA "/../../../examples").lexically_normal().string();
    std::string servers;
    ASSERT_EQ(readWholeFile(examples + "/servers.reg.in", servers), FileError::None);
    for (std::size_t at; (at = servers.find("@EXAMPLES@")) != std::string::npos;)
        servers.replace(at, 10, examples);
    ASSERT_EQ(writeWholeFile(path("servers.reg"), servers), FileError::None);
    ASSERT_EQ(cli({"servers", "import", path("servers.reg")}).status, 0);
    const std::string portfolio = path("demo.qvx");
    ASSERT_EQ(cli({"new", portfolio}).status, 0);
    for (const std::vector<std::string>& item :
         {std::vector<std::string>{"Nordwind Energie", "NWE", "Demo Aktien"}, {"Alpen Fonds", "ALPF", "Demo Fonds"},
          {"Nordmark Index", "", "Demo Indizes"}, {"EUR/NKR", "EUR/NKR", "Demo Devisen"}})
        ASSERT_EQ(cli({"add", portfolio, item[0], "--symbol", item[1], "--server", item[2]}).status, 0);
    ServerConfig shares;
    readServerConfig("Demo Aktien", shares);
    shares.textBeforeValue = "letzter kurs:";
    shares.caseInsensitive = false;
    ASSERT_TRUE(writeServerConfig("Demo Aktien", shares));
    std::string before;
    ASSERT_EQ(readWholeFile(portfolio, before), FileError::None);

    CliRun run = cli({"doctor", portfolio});
    EXPECT_EQ(run.status, 1) << run.err;
    for (const char* good : {"Alpen Fonds: would update\n", "Nordmark Index: would update\n", "EUR/NKR: would update\n"})
        EXPECT_NE(run.out.find(good), std::string::npos) << good << run.out;
    EXPECT_NE(run.out.find("Nordwind Energie: would not update\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("parser read:  \"112,37\" = 112.3700\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("cause:        The text before value \"letzter kurs:\" occurs in the page only in other "
                           "letter case (\"Letzter Kurs:\"), and the search tells letter case apart.\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("try:          Turn on case-insensitive search in the server configuration \"Demo "
                           "Aktien\" (NoCaseSensitiv=1); the search would then read 23.8400.\n"),
              std::string::npos)
        << run.out;

    // Only the named items, matched as other commands match names.
    run = cli({"doctor", portfolio, "alpen fonds", "EUR/NKR"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.find("Nordwind"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\n\nEUR/NKR: would update\n"), std::string::npos) << run.out;
    EXPECT_EQ(cli({"doctor", portfolio, "Nobody"}).status, 1);

    // Nothing was written to the portfolio, and no page stayed behind.
    std::string after;
    ASSERT_EQ(readWholeFile(portfolio, after), FileError::None);
    EXPECT_EQ(after, before);
    expectNoPagesLeft();
}

TEST_F(DoctorTest, JsonGivesOneObjectPerItemWithWhatTheServerAnswered)
{
    test::PageServer server;
    const std::string body = "<p>Kurs ABC: <b>22,65</b> EUR</p>";
    server.page("/quote", body);
    server.handle("/refused", [](const httplib::Request&, httplib::Response& response) {
        response.status = 403;
        response.set_content("no robots", "text/plain");
    });
    std::vector<std::unique_ptr<SecurityItem>> items;
    for (const char* page : {"/quote", "/missing", "/refused"}) {
        ItemSettings settings;
        settings.name = std::string("Fund ") + page;
        settings.symbol = "ABC";
        settings.server.url = server.url(page);
        settings.server.textBeforeValue = "Kurs [&symbol]:";
        settings.server.conversion = Conversion::TextOnly;
        items.push_back(std::make_unique<SecurityItem>(settings));
    }
    const std::string portfolio = path("served.qvx");
    ASSERT_TRUE(savePortfolioFile(portfolio, {items[0].get(), items[1].get(), items[2].get()}).ok());

    const CliRun run = cli({"doctor", portfolio, "--json"});
    EXPECT_EQ(run.status, 1) << run.err;
    const std::vector<std::string> lines = linesOf(run.out);
    ASSERT_EQ(lines.size(), 3u) << run.out;
    for (const std::string& line : lines)
        EXPECT_TRUE(line.starts_with("{\"name\":\"Fund /") && line.ends_with("]}")) << line;
    for (const std::string& key : std::vector<std::string>{"\"wouldUpdate\":true", "\"httpStatus\":200",
                                   "\"bytes\":" + std::to_string(body.size()), "\"value\":22.65",
                                   "\"numberRead\":{\"text\":\"22,65\",\"code\":0,\"value\":22.65}"})
        EXPECT_NE(lines[0].find(key), std::string::npos) << key << '\n' << lines[0];
    EXPECT_NE(lines[1].find("\"httpStatus\":404"), std::string::npos) << lines[1];
    EXPECT_NE(lines[1].find("\"suggestions\":[\"Check the address"), std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find("\"httpStatus\":403"), std::string::npos) << lines[2];
    EXPECT_NE(lines[2].find("tarvelo-cli options set UserAgent"), std::string::npos) << lines[2];
    expectNoPagesLeft();
}

// The words a POSIX shell makes of a command line of plain and single-quoted words.
std::vector<std::string> shellWords(const std::string& line)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\'') {
            const std::size_t end = line.find('\'', i + 1);
            word += line.substr(i + 1, end - i - 1);
            i = end;
            inWord = true;
        } else if (c == '\\' && i + 1 < line.size()) {
            word.push_back(line[++i]);
            inWord = true;
        } else if (c == ' ') {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word.push_back(c);
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

// A page whose text before value is gone: the doctor shows how the page begins and where
// the numbers like the item's latest value stand, and its hint is a suggest command that
// runs as it is printed, for a page served over http and for a local file.
TEST_F(DoctorTest, AMissingTextShowsThePageAndAHintThatRuns)
{
    test::PageServer server;
    const std::string body = "<html><body><h1>Nordwind Energie</h1><p>Volumen: 1.204.337</p>"
                             "<p>Schlusskurs: <b>1.234,56</b> EUR</p><p>Vortag: 1.198,10</p></body></html>";
    server.page("/quote/NWE", body);
    const std::string file = path("it's here.html");
    ASSERT_EQ(writeWholeFile(file, body), FileError::None);
    std::vector<std::unique_ptr<SecurityItem>> items;
    for (const std::string& url : {server.url("/quote/[&symbol]"), "file://" + file}) {
        ItemSettings settings;
        settings.name = url.starts_with("file") ? "Nordwind (file)" : "Nordwind";
        settings.symbol = "NWE";
        settings.server.url = url;
        settings.server.textBeforeValue = "Kurs aktuell:";
        settings.server.conversion = Conversion::SemiHtml;
        items.push_back(std::make_unique<SecurityItem>(settings));
    }
    const std::string portfolio = path("missing.qvx");
    ASSERT_TRUE(savePortfolioFile(portfolio, {items[0].get(), items[1].get()}).ok());
    for (const char* name : {"Nordwind", "Nordwind (file)"})
        ASSERT_EQ(cli({"quote", portfolio, name, "1230"}).status, 0);

    const CliRun run = cli({"doctor", portfolio});
    EXPECT_EQ(run.status, 1) << run.err;
    const std::vector<std::string> lines = linesOf(run.out);
    std::vector<std::string> hints;
    for (const std::string& line : lines) {
        if (line.starts_with("  try:          "))
            hints.push_back(line);
    }
    EXPECT_NE(run.out.find("  page begins:  \"<><><>Nordwind Energie<><>Volumen: 1.204.337<><>Schlusskurs: <>1.234,56"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("  latest value: 1230.0000\n  nearest:      \"1.234,56\" = 1234.5600 at 63: "
                           "\"d Energie<><>Volumen: 1.204.337<><>Schlusskurs: <>1.234,56<> EUR<><>Vortag: "
                           "1.198,10<><>\"\n"
                           "  nearest:      \"1.198,10\" = 1198.1000 at 89: "),
              std::string::npos)
        << run.out;
    ASSERT_EQ(hints.size(), 2u) << run.out;
    EXPECT_EQ(hints[0], "  try:          Open the address in a browser; if it shows the quotation as 1.234,56, run: "
                        "tarvelo-cli suggest " + server.url("/quote/NWE") + " 1.234,56 --name Nordwind --symbol NWE "
                        "(else put in the value it shows).");
    for (const std::string& hint : hints) {
        const std::size_t from = hint.find("tarvelo-cli suggest ");
        const std::size_t to = hint.find(" (else");
        ASSERT_NE(from, std::string::npos);
        std::vector<std::string> words = shellWords(hint.substr(from, to - from));
        ASSERT_GE(words.size(), 4u);
        words.erase(words.begin()); // "tarvelo-cli"
        const CliRun suggested = cli(words);
        EXPECT_EQ(suggested.status, 0) << hint << '\n' << suggested.err;
        EXPECT_NE(suggested.out.find("{\"text\":\"Schlusskurs: \",\"conversion\":1,\"tags\":1,\"numbers\":0,"
                                     "\"thousands\":\".\",\"decimal\":\",\""),
                  std::string::npos)
            << suggested.out;
    }

    const CliRun json = cli({"doctor", portfolio, "Nordwind", "--json"});
    EXPECT_NE(json.out.find("\"latestValue\":1230,\"pageStart\":\"<><><>Nordwind Energie<>"), std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"nearestNumbers\":[{\"text\":\"1.234,56\",\"value\":1234.56,\"at\":63,"),
              std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"suggestCommand\":\"tarvelo-cli suggest " + server.url("/quote/NWE")), std::string::npos)
        << json.out;
    expectNoPagesLeft();
}

TEST_F(DoctorTest, WrongCallsExitWithStatusTwo)
{
    const std::string portfolio = path("empty.qvx");
    ASSERT_EQ(cli({"new", portfolio}).status, 0);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"doctor"}, {"doctor", portfolio, "--bogus"}, {"doctor", path("missing.qvx")}}) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 2) << args.size();
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(cli({"doctor", portfolio}).status, 0);
}

} // namespace
} // namespace tarvelo
