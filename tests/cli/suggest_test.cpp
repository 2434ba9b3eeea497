#include "cli/cli.h"
#include "tests/cli/clirun.h"

#include "tests/support/pageserver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tarvelo {
namespace {

test::CliRun suggest(std::vector<std::string> args)
{
    args.insert(args.begin(), "suggest");
    return test::cli(args);
}

// The extraction tests' share page.
const std::string kSharePage =
    (std::filesystem::path(TARVELO_TEST_DATA).parent_path().parent_path() / "extraction/data/aktie-IBM.html").string();

TEST(suggestCommand, PrintsOneJsonObjectPerRule)
{
    const test::CliRun run = suggest({kSharePage, "22,65", "--name", "IBM", "--symbol", "870747"});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(run.out.find("{\"text\":\"Kurs aktuell\",\"conversion\":1,\"tags\":1,\"numbers\":0,\"thousands\":\".\","
                           "\"decimal\":\",\",\"format\":\"9.999,99\",\"start\":239,\"length\":19,\"description\":"
                           "\"find text \\\"Kurs aktuell\\\" and skip 1 html tag(s) \",\"template\":\"Kurs aktuell\","
                           "\"verified\":true}\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"template\":\"[&name] [&symbol]: International Busi\""), std::string::npos);

    // The page is UTF-8: texts are found in Windows-1252 and printed in UTF-8 again.
    const test::CliRun umlaut = suggest({kSharePage, "+0,55", "--conversion", "2"});
    EXPECT_NE(umlaut.out.find("{\"text\":\"Ver\xC3\xA4nderung:\""), std::string::npos) << umlaut.out;
}

std::size_t temporaryFiles()
{
    const char* folder = std::getenv("TMPDIR");
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder ? folder : "/tmp"))
        ++n;
    return n;
}

// A page fetched from an address gives what the same page saved to a file gives, and the
// download's files are gone afterwards.
TEST(suggestCommand, AnAddressGivesWhatItsPageFileGives)
{
    std::ifstream in(kSharePage, std::ios::binary);
    std::ostringstream body;
    body << in.rdbuf();
    test::PageServer server;
    server.page("/aktie/IBM.html", body.str());
    const std::size_t before = temporaryFiles();
    for (const char* conversion : {"0", "1", "2"}) {
        const test::CliRun fromFile = suggest({kSharePage, "22,65", "--conversion", conversion, "--name", "IBM"});
        const test::CliRun fromAddress =
            suggest({server.url("/aktie/[&name].html"), "22,65", "--conversion", conversion, "--name", "IBM"});
        EXPECT_EQ(fromAddress.status, kExitOk) << fromAddress.err;
        EXPECT_EQ(fromAddress.out, fromFile.out) << conversion;
    }
    EXPECT_EQ(temporaryFiles(), before);
    EXPECT_EQ(suggest({server.url("/missing.html"), "22,65"}).status, kExitError);
}

std::string writePage(const std::string& name, const std::string& contents)
{
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    std::ofstream(path, std::ios::binary) << contents;
    return path;
}

// The value of a JSON key in a line of suggest's output ("text", "thousands", ...).
std::string jsonText(const std::string& line, const std::string& key)
{
    const std::string start = "\"" + key + "\":";
    const std::size_t at = line.find(start);
    if (at == std::string::npos)
        return {};
    if (line[at + start.size()] != '"') // a number
        return line.substr(at + start.size(), line.find_first_of(",}", at + start.size()) - at - start.size());
    std::string text;
    for (std::size_t i = at + start.size() + 1; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\')
            ++i;
        text.push_back(line[i]);
    }
    return text;
}

// The typed value decides the number format; each rule suggest prints, run by extract as
// a download runs it, reads the typed value.
TEST(suggestCommand, EachRuleReadsTheTypedValueInItsFormat)
{
    struct Case {
        const char* page;
        const char* typed;
        const char* thousands;
        const char* decimal;
        const char* value; // as extract prints it
    };
    const Case cases[] = {
        {"<p>Kurs: <b>1.234,56</b> EUR</p>", "1.234,56", ".", ",", "1234.56"},
        {"<p>Last: <b>1,234.56</b> USD</p>", "1,234.56", ",", ".", "1234.56"},
        {"<p>Kurs: <b>1&nbsp;234,56</b> EUR</p>", "1 234,56", "&nbsp;", ",", "1234.56"},
        {"<p>Stand: <b>123.456</b> Punkte</p><p>Vortag: 122.980,50</p>", "123.456", ".", ",", "123456"},
    };
    for (const Case& c : cases) {
        const std::string page = writePage("formats.html", c.page);
        const test::CliRun run = suggest({page, c.typed});
        ASSERT_EQ(run.status, kExitOk) << c.page << run.err;
        std::istringstream lines(run.out);
        int rules = 0;
        for (std::string line; std::getline(lines, line); ++rules) {
            EXPECT_EQ(jsonText(line, "thousands"), c.thousands) << line;
            EXPECT_EQ(jsonText(line, "decimal"), c.decimal) << line;
            const test::CliRun read = test::cli({"extract", page, "--conversion", "1", "--text", jsonText(line, "text"),
                                                 "--tags", jsonText(line, "tags"), "--numbers",
                                                 jsonText(line, "numbers"), "--thousands", c.thousands, "--decimal",
                                                 c.decimal});
            EXPECT_EQ(read.status, kExitOk) << line << read.out;
            EXPECT_EQ(jsonText(read.out, "value"), c.value) << line << read.out;
        }
        EXPECT_GT(rules, 0);
        if (std::string(c.typed) == "123.456") {
            EXPECT_NE(run.out.find(" [format 9.999,99: 123.456 is read as 123456, as the page's other numbers are "
                                   "written]\""),
                      std::string::npos)
                << run.out;
        }
    }
}

// A value in a script's JSON data gives its path, with the date beside it; in script
// data that no JSON parser reads (a trailing comma), the ready expression that reads it.
TEST(suggestCommand, AValueInJsonGivesItsPathOrAReadyExpression)
{
    const std::string json = writePage(
        "json.html", "<html><body><div id=\"kurs\"></div><script>render({\"symbol\":\"NWE\",\"quote\":{\"price\": "
                     "23.84,\"time\":\"2026-12-08T17:35:00Z\"},\"change\":0.41});</script></body></html>");
    const test::CliRun found = suggest({json, "23,84"});
    EXPECT_EQ(found.status, kExitOk) << found.err;
    EXPECT_EQ(found.out.substr(0, found.out.find('\n') + 1),
              "{\"json\":\"$.quote.price\",\"jsonDate\":\"$.quote.time\",\"thousands\":\"\",\"decimal\":\",\","
              "\"format\":\" 9999,99\",\"start\":0,\"length\":0,\"description\":\"JSON path: $.quote.price, date: "
              "$.quote.time\",\"verified\":true}\n");

    const std::string page = writePage(
        "script.html", "<html><body><div id=\"kurs\"></div><script>render({\"symbol\":\"NWE\",\"price\": 23.84,"
                       "\"change\":0.41,});</script></body></html>");
    const test::CliRun run = suggest({page, "23,84"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_TRUE(run.out.empty());
    EXPECT_NE(run.err.find("tarvelo-cli: Quotation doesn't exist in the specified web page!\n"
                           "tarvelo-cli: The quotation "
                           "\"23,84\" does not occur in the page as typed; its value stands only inside a script or "
                           "JSON data, as \"23.84\" (\"price\": 23.84).\n"),
              std::string::npos)
        << run.err;
    const std::string check = "tarvelo-cli: check: tarvelo-cli extract " + page
                            + " --conversion 1 --regexp '\"price\":\\s*([0-9.]+)' --index 1 --thousands ''"
                              " --decimal .\n";
    EXPECT_NE(run.err.find(check), std::string::npos) << run.err;
    const test::CliRun read = test::cli({"extract", page, "--conversion", "1", "--regexp", "\"price\":\\s*([0-9.]+)",
                                         "--index", "1", "--thousands", "", "--decimal", "."});
    EXPECT_EQ(jsonText(read.out, "value"), "23.84") << read.out << read.err;
}

TEST(suggestCommand, NoRuleAndWrongCalls)
{
    test::CliRun run = suggest({kSharePage, "99,99"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_TRUE(run.out.empty());
    EXPECT_NE(run.err.find("Quotation doesn't exist in the specified web page!\ntarvelo-cli: The quotation \"99,99\" "
                           "does not occur in the page.\ntarvelo-cli: try: "),
              std::string::npos)
        << run.err;

    run = suggest({kSharePage, ""});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.err.find("Please enter the quotation to be extracted!"), std::string::npos) << run.err;

    EXPECT_EQ(suggest({kSharePage}).status, kExitError);
    EXPECT_EQ(suggest({kSharePage, "22,65", "--conversion", "3"}).status, kExitError);
    EXPECT_EQ(suggest({kSharePage, "22,65", "--tags", "1"}).status, kExitError);
    run = suggest({kSharePage + ".missing", "22,65"});
    EXPECT_EQ(run.status, kExitError);
    EXPECT_NE(run.err.find("cannot find this file"), std::string::npos) << run.err;
}

} // namespace
} // namespace tarvelo
