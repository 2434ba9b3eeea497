#include "cli/cli.h"
#include "tests/cli/clirun.h"

#include "model/archive.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "servers/serverstore.h"
#include "tests/support/pageserver.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

using test::cli;
using test::CliRun;

// A configuration with JSON paths made by servers set, carried by the export file, and
// used by update on an API answer and by extract on a page with the JSON in a script.
TEST(JsonSource, SetShowExportAndUpdateFromAnApiAnswer)
{
    const fs::path folder = fs::temp_directory_path() / "jsonsource";
    fs::remove_all(folder);
    fs::create_directories(folder);
    Profile().deleteKey("Server");
    test::PageServer server;
    server.handle("/rates/.*", [](const httplib::Request& request, httplib::Response& response) {
        response.set_content(request.path == "/rates/deep" ? std::string(300, '[') + std::string(300, ']')
                                                           : R"({"time": 1773509700000, "rates": {"BRK.B": "412,50", "USD": "1,0842", "日経": "38123,5"}})",
                             "application/json; charset=utf-8");
    });

    CliRun run = cli({"servers", "set", "Rates", "--url", server.url("/rates/[&name]"), "--decimal", ",",
                      "--json-value", "$.rates.[&symbol]", "--json-date", "$.time"});
    ASSERT_EQ(run.status, 0) << run.err;
    run = cli({"servers", "show", "Rates"});
    EXPECT_NE(run.out.find("\"Filtering\"=dword:00000002\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"JsonValue\"=\"$.rates.[&symbol]\"\n\"JsonDate\"=\"$.time\"\n"), std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("JsonTime"), std::string::npos) << run.out; // an empty path is not written
    EXPECT_EQ(cli({"servers", "set", "Other", "--regexp", "x", "--json-value", "$.a"}).status, 2);
    // The store keeps 259 bytes of a path; a longer one is refused, not stored to come back empty.
    run = cli({"servers", "set", "Other", "--json-value", "$." + std::string(300, 'k')});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("--json-value is longer than 259 bytes"), std::string::npos) << run.err;

    // The export carries the paths to another profile.
    const std::string exported = (folder / "servers.reg").string();
    ASSERT_EQ(cli({"servers", "export", exported}).status, 0);
    Profile().deleteKey("Server");
    ASSERT_EQ(cli({"servers", "import", exported}).status, 0);
    ServerConfig rates;
    readServerConfig("Rates", rates);
    EXPECT_EQ(rates.searchKind, SearchKind::JsonPath);
    EXPECT_EQ(rates.jsonValue, "$.rates.[&symbol]");
    EXPECT_EQ(rates.jsonDate, "$.time");

    const std::string portfolio = (folder / "rates.qvx").string();
    ASSERT_EQ(cli({"new", portfolio}).status, 0);
    ASSERT_EQ(cli({"add", portfolio, "api", "--symbol", "BRK.B", "--server", "Rates"}).status, 0);
    ASSERT_EQ(cli({"add", portfolio, "deep", "--symbol", "USD", "--server", "Rates"}).status, 0);
    // A UTF-8 answer is searched as it came: a key outside Windows-1252 is found.
    ASSERT_EQ(cli({"add", portfolio, "nikkei", "--symbol", "日経", "--server", "Rates"}).status, 0);
    run = cli({"update", portfolio});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.out.find("api\t412.5000 "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("nikkei\t38123.5000 "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("deep\tError: Quotation not found!!"), std::string::npos) << run.out;
    const LoadResult loaded = loadPortfolioFile(portfolio);
    ASSERT_TRUE(loaded.ok());
    ASSERT_EQ(loaded->items[0]->history().size(), 1u);
    EXPECT_DOUBLE_EQ(loaded->items[0]->history()[0].value, 412.5);
    EXPECT_EQ(loaded->items[0]->history()[0].time, 1773509700);
    EXPECT_TRUE(loaded->items[1]->history().empty());

    const std::string page = (folder / "page.html").string();
    ASSERT_EQ(writeWholeFile(page, "<html><script>var state = {\"quote\": {\"last\": 23.84, \"closes\": [1, 2]}};"
                                   "</script><p>23,84</p></html>"),
              FileError::None);
    run = cli({"extract", page, "--conversion", "1", "--json-value", "$.quote.last"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("{\"code\":0,\"value\":23.84,", 0), 0u) << run.out;
    run = cli({"extract", page, "--json-value", "$.quote.closes[-3]"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("\"message\":\"JSON path $.quote.closes[-3] not found in the page's 1 script(s)\""),
              std::string::npos)
        << run.out;
    Profile().deleteKey("Server");
    fs::remove_all(folder);
}

} // namespace
} // namespace tarvelo
