#include "cli/cli.h"
#include "tests/cli/clirun.h"

#include "model/archive.h"
#include "servers/serverstore.h"
#include "tests/support/pageserver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

using test::cli;
using test::CliRun;

constexpr const char* kKey = "s3cret-key-42";

// The headers of every request to the server's API page, in the order they came.
class RecordedRequests {
public:
    void add(const httplib::Request& request)
    {
        const std::lock_guard lock(m_mutex);
        m_requests.push_back(request.headers);
    }
    std::vector<httplib::Headers> all()
    {
        const std::lock_guard lock(m_mutex);
        return m_requests;
    }

private:
    std::mutex m_mutex;
    std::vector<httplib::Headers> m_requests;
};

std::vector<std::string> valuesOf(const httplib::Headers& headers, const std::string& name)
{
    std::vector<std::string> values;
    for (auto [at, end] = headers.equal_range(name); at != end; ++at)
        values.push_back(at->second);
    return values;
}

class RequestHeadersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / "requestheaders";
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        // The page answers only a request that brings the key.
        m_server.handle("/api", [this](const httplib::Request& request, httplib::Response& response) {
            m_recorded.add(request);
            if (request.get_header_value("X-Api-Key") == kKey) {
                response.set_content("{\"price\": \"22,65\"}", "application/json");
            } else {
                response.status = 403;
                response.set_content("key missing", "text/plain");
            }
        });
    }
    void TearDown() override { fs::remove_all(m_folder); }
    std::string path(const char* name) const { return (m_folder / name).string(); }

    test::PageServer m_server;
    RecordedRequests m_recorded;
    fs::path m_folder;
};

TEST_F(RequestHeadersTest, SentWithUpdatesInPlaceOfTheProgramsOwnAndNeverShownByValue)
{
    const std::string key = std::string("X-Api-Key: ") + kKey;
    ASSERT_EQ(cli({"servers", "set", "Api", "--url", m_server.url("/api"), "--text", "price", "--conversion", "2",
                   "--header", "accept:  application/json ", "--header", key})
                  .status,
              0);
    CliRun run = cli({"servers", "show", "Api"});
    EXPECT_NE(run.out.find(std::string("\n\"Headers\"=\"accept: application/json\t") + key + "\"\n"), std::string::npos)
        << run.out;

    // A page that sends the request on to another host does not get the key along.
    const std::string elsewhere = "http://localhost:" + m_server.url("/api").substr(m_server.url("").rfind(':') + 1);
    m_server.handle("/moved", [&](const httplib::Request&, httplib::Response& response) {
        response.set_redirect(elsewhere);
    });
    ServerConfig moved;
    readServerConfig("Api", moved);
    moved.url = m_server.url("/moved");
    ASSERT_TRUE(writeServerConfig("Moved", moved));

    // An item's own settings with the same address, but no headers, download apart.
    std::vector<std::unique_ptr<SecurityItem>> items;
    for (const char* server : {"Api", "", "Moved"}) {
        ItemSettings settings;
        settings.name = std::string("Fund ") + (*server ? server : "Own");
        settings.symbol = "F";
        settings.server.name = server;
        settings.server.url = m_server.url("/api");
        settings.server.textBeforeValue = "price";
        settings.server.conversion = Conversion::TextOnly;
        items.push_back(std::make_unique<SecurityItem>(settings));
    }
    const std::string portfolio = path("api.qvx");
    ASSERT_TRUE(savePortfolioFile(portfolio, {items[0].get(), items[1].get(), items[2].get()}).ok());

    run = cli({"update", portfolio});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.out.find("Fund Api\t22.6500 "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Fund Own\tError: Bad URL!\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Fund Moved\tError: Bad URL!\n"), std::string::npos) << run.out;
    EXPECT_EQ((run.out + run.err).find(kKey), std::string::npos) << run.out << run.err;

    const std::vector<httplib::Headers> requests = m_recorded.all();
    ASSERT_EQ(requests.size(), 3u);
    int withKey = 0;
    for (const httplib::Headers& headers : requests) {
        // One Accept and one User-Agent each: the configuration's replaces the program's.
        const std::vector<std::string> accept = valuesOf(headers, "Accept");
        const bool keyed = valuesOf(headers, "X-Api-Key") == std::vector<std::string>{kKey};
        withKey += keyed;
        EXPECT_EQ(accept, std::vector<std::string>{keyed ? "application/json" : "text/*"});
        EXPECT_EQ(valuesOf(headers, "User-Agent"), std::vector<std::string>{"QVX"});
        if (headers.find("Host") != headers.end() && headers.find("Host")->second.starts_with("localhost")) {
            EXPECT_FALSE(keyed);
        }
    }
    EXPECT_EQ(withKey, 1);

    // The doctor names the headers it sends, never their values; also for a page that
    // refuses the request.
    for (const char* json : {"", "--json"}) {
        std::vector<std::string> args{"doctor", portfolio, "Fund Api", "Fund Moved"};
        if (*json)
            args.push_back(json);
        run = cli(args);
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_NE(run.out.find(*json ? "\"headerNames\":[\"accept\",\"X-Api-Key\"]"
                                     : "  headers sent: accept, X-Api-Key (values not shown)\n"),
                  std::string::npos)
            << run.out;
        EXPECT_EQ((run.out + run.err).find(kKey), std::string::npos) << run.out << run.err;
    }
}

TEST_F(RequestHeadersTest, BrokenHeadersAreRefusedAndChangeNothing)
{
    const std::string key = std::string("X-Api-Key: ") + kKey;
    ASSERT_EQ(cli({"servers", "set", "Api", "--url", m_server.url("/api"), "--header", key}).status, 0);
    const std::string before = cli({"servers", "show", "Api"}).out;

    std::vector<std::string> nine;
    for (int i = 0; i < 9; ++i)
        nine.insert(nine.end(), {"--header", "X-H" + std::to_string(i) + ": v"});
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"--header", "Host: example.com"}, "the header Host is set by the program itself"},
        {{"--header", "content-length: 5"}, "the header Content-Length is set by the program itself"},
        {{"--header", "X Key: 1"}, "header 1 has no valid name"},
        {{"--header", "Accept: a", "--header", "X-Secret: caf\xC3\xA9-" + std::string(kKey)},
         "the value of the header X-Secret holds other than printable ASCII characters"},
        {{"--header", "X-Secret: " + std::string(kKey) + "\r\nX-Other: 1"}, "a header holds a line break"},
        {{"--header", "X-Empty:  "}, "the header X-Empty has no value"},
        {{"--header", std::string(kKey)}, "a header needs the form \"Name: value\""},
        {{"--header", "accept: a", "--header", "Accept: b"}, "the header Accept is given twice"},
        {nine, "at most 8 headers"},
        {{"--header", "Accept: a", "--no-headers"}, "--header and --no-headers exclude each other"},
        {{"--header"}, "'--header' needs a value"},
    };
    for (const auto& [options, message] : refused) {
        std::vector<std::string> args{"servers", "set", "Api"};
        args.insert(args.end(), options.begin(), options.end());
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 2) << message;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find(kKey), std::string::npos) << run.err;
        EXPECT_EQ(cli({"servers", "show", "Api"}).out, before) << message;
    }

    // Headers a hand-edited settings file broke are never sent, and the error names no value.
    ServerConfig edited;
    readServerConfig("Api", edited);
    edited.headers = std::string("X-Api-Key: ") + kKey + "\r\nHost: elsewhere.example";
    ASSERT_TRUE(writeServerConfig("Api", edited));
    ItemSettings settings;
    settings.name = "Fund Api";
    settings.server.name = "Api";
    const SecurityItem item(settings);
    const std::string portfolio = path("edited.qvx");
    ASSERT_TRUE(savePortfolioFile(portfolio, {&item}).ok());
    const CliRun update = cli({"update", portfolio});
    EXPECT_EQ(update.status, 1);
    EXPECT_NE(update.out.find("Fund Api\tHeaders: the value of the header X-Api-Key holds other than printable ASCII"),
              std::string::npos)
        << update.out;
    EXPECT_EQ((update.out + update.err).find(kKey), std::string::npos) << update.out << update.err;
    EXPECT_TRUE(m_recorded.all().empty());

    // Eight are fine; --no-headers clears them.
    std::vector<std::string> args{"servers", "set", "Api"};
    args.insert(args.end(), nine.begin(), nine.end() - 2);
    EXPECT_EQ(cli(args).status, 0);
    EXPECT_NE(cli({"servers", "show", "Api"}).out.find("X-H7: v\"\n"), std::string::npos);
    EXPECT_EQ(cli({"servers", "set", "Api", "--no-headers"}).status, 0);
    EXPECT_NE(cli({"servers", "show", "Api"}).out.find("\n\"Headers\"=\"\"\n"), std::string::npos);
}

} // namespace
} // namespace tarvelo
