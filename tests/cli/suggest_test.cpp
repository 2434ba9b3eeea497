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
    EXPECT_NE(run.out.find("{\"text\":\"Kurs aktuell\",\"conversion\":1,\"tags\":1,\"numbers\":0,\"start\":239,"
                           "\"length\":19,\"description\":\"find text \\\"Kurs aktuell\\\" and skip 1 html tag(s) \","
                           "\"template\":\"Kurs aktuell\",\"verified\":true}\n"),
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

TEST(suggestCommand, NoRuleAndWrongCalls)
{
    test::CliRun run = suggest({kSharePage, "99,99"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_TRUE(run.out.empty());
    EXPECT_NE(run.err.find("Quotation doesn't exist in the specified web page!"), std::string::npos) << run.err;

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
