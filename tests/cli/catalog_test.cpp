#include "model/profilesettings.h"
#include "platform/files.h"
#include "platform/localtime.h"
#include "platform/profile.h"
#include "servers/catalog.h"
#include "servers/serverstore.h"
#include "tests/cli/clirun.h"
#include "tests/support/pageserver.h"
#include "model/archive.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

using test::cli;
using test::CliRun;

constexpr const char* kEcb = "ECB euro reference rate";
constexpr const char* kKraken = "Kraken ticker";
constexpr const char* kCanada = "Bank of Canada exchange rate";

std::string dataFile(const char* name)
{
    std::string text;
    EXPECT_EQ(readWholeFile(std::string(TARVELO_TEST_DATA "/") + name, text), FileError::None) << name;
    return text;
}

// The address with the publisher's host replaced by the test server's.
std::string onServer(const std::string& address, const test::PageServer& server)
{
    const std::size_t path = address.find('/', address.find("//") + 2);
    return server.url(address.substr(path));
}

class CatalogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / "catalog";
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        Profile profile;
        for (const char* name : {kEcb, kKraken, kCanada})
            profile.deleteKey(std::string(kServerKey) + '\\' + name);
        profile.deleteKey(settings::kImportTemplates.key);
        ASSERT_TRUE(profile.sync());
        const Result<std::vector<CatalogEntry>> catalog = readCatalog();
        ASSERT_TRUE(catalog.ok()) << catalog.message();
        m_catalog = *catalog;
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string path(const char* name) const { return (m_folder / name).string(); }
    const CatalogEntry& entry(const char* name) const
    {
        const CatalogEntry* found = findCatalogEntry(m_catalog, name);
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }
    // Adds the catalog entry and points it at the test server, keeping its search.
    void addOnServer(const char* name, const test::PageServer& server)
    {
        const CliRun added = cli({"servers", "catalog", "--add", name});
        ASSERT_EQ(added.status, 0) << added.err;
        ASSERT_EQ(cli({"servers", "set", name, "--url", onServer(entry(name).config.url, server)}).status, 0);
    }
    std::string portfolio(const std::vector<std::pair<std::string, std::string>>& items, const char* server)
    {
        const std::string file = path("catalog.qvx");
        EXPECT_EQ(cli({"new", file}).status, 0);
        for (const auto& [name, symbol] : items)
            EXPECT_EQ(cli({"add", file, name, "--symbol", symbol, "--server", server}).status, 0) << name;
        return file;
    }

    fs::path m_folder;
    std::vector<CatalogEntry> m_catalog;
};

TEST_F(CatalogTest, ListsDescribedEntriesAndAddsThemWithoutOverwriting)
{
    // Every entry says who publishes it, where, when and under which terms, and needs
    // neither a key nor an account.
    ASSERT_GE(m_catalog.size(), 2u);
    for (const CatalogEntry& e : m_catalog) {
        for (const char* part : {"Publisher:", "Address:", "Published:", "Terms:", "No key or account", "https://"})
            EXPECT_NE(e.description.find(part), std::string::npos) << e.name << " lacks " << part;
        EXPECT_EQ(e.config.url.find("key="), std::string::npos) << e.name;
    }
    CliRun run = cli({"servers", "catalog"});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const CatalogEntry& e : m_catalog)
        EXPECT_NE(run.out.find(e.name + "\n    Publisher:"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("    Import address: " + entry(kEcb).importAddress + "\n"), std::string::npos) << run.out;

    // Adding stores the configuration as the catalog has it, and offers its history
    // address in the import's address list once.
    run = cli({"servers", "catalog", "--add", kEcb, kKraken});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, std::string("added: ") + kEcb + "\nadded: " + kKraken + "\n");
    ServerConfig stored;
    readServerConfig(kEcb, stored);
    ServerConfig expected = entry(kEcb).config;
    expected.name = stored.name;
    EXPECT_EQ(stored, expected);
    const NumberedSetting& list = settings::kImportTemplates;
    EXPECT_EQ(Profile().readText(list.key, list.name(2)), entry(kEcb).importAddress);

    // A configuration of the same name is not overwritten unless asked.
    ASSERT_EQ(cli({"servers", "set", kEcb, "--timeout", "30"}).status, 0);
    run = cli({"servers", "catalog", "--add", kKraken, kEcb});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("stored already: 'Kraken ticker', 'ECB euro reference rate'. Nothing was changed"),
              std::string::npos)
        << run.err;
    readServerConfig(kEcb, stored);
    EXPECT_EQ(stored.timeout, 30);
    ASSERT_EQ(cli({"servers", "catalog", "--add", kEcb, "--replace"}).status, 0);
    readServerConfig(kEcb, stored);
    EXPECT_EQ(stored.timeout, 60);
    EXPECT_FALSE(Profile().readText(list.key, list.name(3)).has_value()) << "the address is listed twice";

    // Unknown names and calls without names change nothing.
    run = cli({"servers", "catalog", "--add", kKraken, "Nobody"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no ready-made configuration named 'Nobody'"), std::string::npos);
    EXPECT_EQ(cli({"servers", "catalog", "--add"}).status, 2);
    EXPECT_EQ(cli({"servers", "catalog", "--replace", kKraken}).status, 2);

    // The catalog is an ordinary configuration file: the import reads it too, also
    // with Windows line ends; a key without its description is refused.
    EXPECT_EQ(cli({"servers", "import", catalogFilePath()}).status, 0);
    std::string text;
    ASSERT_EQ(readWholeFile(catalogFilePath(), text), FileError::None);
    std::string crlf;
    for (char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const Result<std::vector<CatalogEntry>> again = readCatalogText(crlf);
    ASSERT_TRUE(again.ok()) << again.message();
    ASSERT_EQ(again->size(), m_catalog.size());
    EXPECT_EQ((*again)[0].description, m_catalog[0].description);
    EXPECT_EQ((*again)[0].importFormat, m_catalog[0].importFormat);
    const std::size_t key = text.find("\n[HKEY_CURRENT_USER\\Software\\Ombrix\\Tarvelo\\Server\\Kraken");
    ASSERT_NE(key, std::string::npos);
    const Result<std::vector<CatalogEntry>> bare = readCatalogText(text.substr(0, key) + "\n" + text.substr(key));
    ASSERT_FALSE(bare.ok());
    EXPECT_EQ(bare.message(), "The ready-made configuration 'Kraken ticker' has no description.");
}

TEST_F(CatalogTest, EcbRatesAndHistoryReadThePublishersFormats)
{
    test::PageServer server;
    server.page("/stats/eurofxref/eurofxref-daily.xml", dataFile("eurofxref-daily.xml"));
    std::string asked;
    server.handle("/service/data/EXR/D\\.USD\\.EUR\\.SP00\\.A", [&](const httplib::Request& request,
                                                                    httplib::Response& response) {
        asked = request.get_param_value("format") + " " + request.get_param_value("startPeriod") + " "
              + request.get_param_value("endPeriod");
        response.set_content(dataFile("ecb-exr-usd.csv"), "application/vnd.sdmx.data+csv");
    });
    addOnServer(kEcb, server);
    const std::string file = portfolio({{"US dollar", "USD"}, {"Swiss franc", "CHF"}, {"Nothing", "XXX"}}, kEcb);

    // One configuration for every currency, with the date the file gives.
    const CliRun run = cli({"update", file, "--slots", "1"});
    EXPECT_EQ(run.status, 1) << run.err; // no rate for XXX
    EXPECT_NE(run.out.find("US dollar\t1.0956 "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Swiss franc\t0.9305 "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Nothing\tError: Quotation not found!!"), std::string::npos) << run.out;
    LoadResult loaded = loadPortfolioFile(file);
    ASSERT_TRUE(loaded.ok());
    ASSERT_EQ(loaded->items[0]->history().size(), 1u);
    EXPECT_EQ(formatLocalTime(loaded->items[0]->history()[0].time, "%Y-%m-%d"), "2024-01-02");

    // The history: the catalog's address template with the period's years, read with
    // the catalog's line template.
    const CatalogEntry& ecb = entry(kEcb);
    const CliRun imported = cli({"import", file, "US dollar", onServer(ecb.importAddress, server), "--template",
                                 ecb.importFormat, "--format", std::to_string(ecb.importNumberFormat), "--begin",
                                 "2024-01-01", "--end", "2024-01-31"});
    EXPECT_EQ(imported.status, 0) << imported.out << imported.err;
    EXPECT_EQ(asked, "csvdata 2024 2024");
    loaded = loadPortfolioFile(file);
    ASSERT_TRUE(loaded.ok());
    std::string history;
    for (const Quotation& q : loaded->items[0]->history())
        history += formatLocalTime(q.time, "%Y-%m-%d ") + std::to_string(q.value).substr(0, 6) + "\n";
    EXPECT_EQ(history, "2024-01-02 1.0956\n2024-01-02 1.0956\n2024-01-03 1.0919\n2024-01-04 1.0953\n");
}

// The Kraken ticker's JSON path: the last trade under the pair's name, in the documented
// answer and in a compact one with the keys in another order (not the ask, bid or
// opening price); an unknown pair's error answer is no quotation.
TEST_F(CatalogTest, KrakenTickerReadsTheLastTradeWhateverTheLayout)
{
    test::PageServer server;
    std::string answer;
    server.handle("/0/public/Ticker", [&](const httplib::Request& request, httplib::Response& response) {
        if (request.get_param_value("pair") == "XXBTZUSD")
            response.set_content(answer, "application/json");
        else
            response.set_content(R"({"error":["EQuery:Unknown asset pair"]})", "application/json");
    });
    addOnServer(kKraken, server);
    const std::string file = portfolio({{"Bitcoin", "XXBTZUSD"}, {"Unknown", "NOPE"}}, kKraken);

    const std::string documented = dataFile("kraken-ticker-xbtusd.json");
    const std::string compact = R"({"result":{"XXBTZUSD":{"o":"30502.80000","a":["30300.10000","1","1.000"],)"
                                R"("c":["30311.40000","0.00067643"],"b":["30300.00000","1","1.000"]}},"error":[]})";
    for (const auto& [page, value] : {std::pair{documented, "30303.2000"}, std::pair{compact, "30311.4000"}}) {
        answer = page;
        const CliRun run = cli({"update", file, "--slots", "1"});
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_NE(run.out.find(std::string("Bitcoin\t") + value + " "), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("Unknown\tError: Quotation not found!!"), std::string::npos) << run.out;
    }
}

// The Bank of Canada's Valet answer: the newest observation of the series named by the
// symbol, stamped with its date.
TEST_F(CatalogTest, BankOfCanadaReadsTheNewestObservationWithItsDate)
{
    test::PageServer server;
    server.page("/valet/observations/FXUSDCAD/json", dataFile("boc-valet-fxusdcad.json"));
    addOnServer(kCanada, server);
    const std::string file = portfolio({{"US dollar in CAD", "FXUSDCAD"}}, kCanada);
    const CliRun run = cli({"update", file});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("US dollar in CAD\t1.3353 "), std::string::npos) << run.out;
    const LoadResult loaded = loadPortfolioFile(file);
    ASSERT_TRUE(loaded.ok());
    ASSERT_EQ(loaded->items[0]->history().size(), 1u);
    EXPECT_EQ(formatLocalTime(loaded->items[0]->history()[0].time, "%Y-%m-%d"), "2024-01-04");
}

} // namespace
} // namespace tarvelo
