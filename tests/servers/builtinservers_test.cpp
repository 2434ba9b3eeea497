#include "servers/builtinservers.h"

#include "platform/profile.h"
#include "servers/serverstore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tarvelo {
namespace {

class BuiltInServersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Profile profile;
        profile.deleteKey("Server");
        profile.deleteKey("Server Version");
    }

    static ServerConfig stored(const std::string& name)
    {
        ServerConfig c;
        readServerConfig(name, c);
        c.name = name;
        return c;
    }

    static std::vector<std::string> storedNames()
    {
        std::vector<std::string> names;
        enumerateServerConfigs(names);
        return names;
    }
};

// The table's names in installation order, with the path and query of each address.
const std::pair<const char*, const char*> kNamesAndPaths[] = {
    {"AT-Reiffeisen", "/fonds/kurzInfo.asp?sessionID=&Wpknr=[&symbol]&back=nein"},
    {"AT-Wiener Boerse", "/default.asp?action=markets_equity"},
    {"AU-Yahoo", "/q?m=a&s=[&symbol]&d=t"},
    {"BR-Yahoo", "/q?m=s&s=[&symbol]&d=t"},
    {"CH-SWX", "/market/swissshares_en.html"},
    {"DE-DWS", "/priceoverview/servlet/priceoverview?serverid=2&languageid=de&rowid=-1&page=0"},
    {"DE-DWS (Multiple)", "/aktuell/dws[&dw].asc"},
    {"DE-DB Devisen", "/pbc/is-asp/oic/mace0837.html?eCrmLink=int;from-%FROM%-Q-navigation-PBCde;to-%TO%&"},
    {"DE-Yahoo Finanzen", "/q?m=*&s=[&symbol]&d=t"},
    {"DE-Deka", "/de/fondsprodukte/fondsauswahl/fo_daten_1.html?auswahl_branche=-1&auswahl_region=-1&fcsd=[&symbol]"
                "&auswahl_sortieren=name&auswahl_ausgabeaufschlag=Alle&x=59&y=8&auswahl_kategorie=-1"},
    {"DE-Union Investment", "/produkte/fonds/tabellentool/static_html/fonds_fpreise_4_1.html"},
    {"FR-Yahoo Finance", "/quotes/fr/quote?symbols=[&symbol]&market=*&d=t"},
    {"ES-Yahoo Finanzas", "/q?s=[&symbol]&d=2b"},
    {"IT-Yahoo Finanza Milano", "/quotes/it/quote?symbols=[&symbol]&market=MI&detailed=t"},
    {"PT-BVL", ""},
    {"UK-Yahoo Finance", "/quotes/ukie/quote?s=[&symbol]&market=*&d=t"},
    {"US-Yahoo", "/q?s=[&symbol]&d=t"},
    {"Yahoo International Indices", "/q?s=[&symbol]&d=t"},
};

TEST_F(BuiltInServersTest, CleanStoreGetsTheEighteenConfigurationsInTableOrderAndVersion20)
{
    installBuiltInServers();
    EXPECT_EQ(storedServerSetVersion(), 20);
    EXPECT_TRUE(isServerSetCurrent());

    const std::vector<ServerConfig>& builtIn = builtInServerConfigs();
    ASSERT_EQ(builtIn.size(), std::size(kNamesAndPaths));
    std::vector<std::string> tableNames;
    for (std::size_t i = 0; i < builtIn.size(); ++i) {
        const auto& [name, path] = kNamesAndPaths[i];
        tableNames.push_back(name);
        SCOPED_TRACE(name);
        EXPECT_EQ(builtIn[i].name, name);
        EXPECT_EQ(stored(name), builtIn[i]); // every value reached the store
        const std::string& url = builtIn[i].url;
        if (*path == '\0') {
            EXPECT_EQ(url, "");
            continue;
        }
        ASSERT_EQ(url.rfind("http://", 0), 0u) << url;
        const std::string hostAndPath = url.substr(7);
        const auto slash = hostAndPath.find('/');
        EXPECT_GT(slash, 0u) << "no host in " << url;
        EXPECT_EQ(hostAndPath.substr(slash), path);
    }
    std::vector<std::string> stored = storedNames();
    std::sort(tableNames.begin(), tableNames.end());
    std::sort(stored.begin(), stored.end());
    EXPECT_EQ(stored, tableNames);
}

TEST_F(BuiltInServersTest, SelectedConfigurationsHaveEveryFieldOfTheTable)
{
    installBuiltInServers();
    const struct {
        const char* name;
        int conversion;
        const char* textBeforeValue;
        int tags, numbers;
        const char *thousands, *decimal;
        int timeout;
    } kRows[] = {
        {"DE-DWS (Multiple)", 0, "[&symbol]\",\"", 0, 0, ".", ",", 180},
        {"BR-Yahoo", 1, "\xC3\x9Alt transa&ccedil;\xC3\xA3o", 2, 0, ",", ".", 180},
        {"IT-Yahoo Finanza Milano", 1, "Ultima trattazione", 3, 0, " ", ".", 120},
        {"PT-BVL", 2, "Fecho", 0, 0, "", ".", 120},
        {"DE-Deka", 2, "[&symbol]", 0, 1, "", ".", 120},
        {"DE-DB Devisen", 1, "&nbsp;[&symbol]", 5, 0, "", ",", 120},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.name);
        ServerConfig expected; // every other field keeps its default
        expected.name = row.name;
        expected.url = stored(row.name).url; // checked against the table above
        expected.timeout = row.timeout;
        expected.thousandsSeparator = row.thousands;
        expected.decimalSeparator = row.decimal;
        expected.conversion = Conversion{row.conversion};
        expected.textBeforeValue = row.textBeforeValue;
        expected.tagsToSkip = row.tags;
        expected.numbersToSkip = row.numbers;
        if (expected.name == "DE-DWS (Multiple)") {
            expected.searchKind = SearchKind::RegularExpression;
            expected.regExp = "[&symbol][\"',\\t\\r\\n]*([0-9,.]+)[\"',\\t\\r\\n]*([0-9]+).([0-9]+).([0-9]+)";
            expected.extractDate = true;
        }
        EXPECT_EQ(stored(row.name), expected);
    }
    // Only the one regular-expression configuration searches with an expression.
    for (const ServerConfig& c : builtInServerConfigs())
        EXPECT_EQ(storedNumber(c.searchKind) + c.extractDate.stored() + !c.regExp.empty(),
                  c.name == "DE-DWS (Multiple)" ? 3 : 0)
            << c.name;
}

TEST_F(BuiltInServersTest, VersionDecidesWhetherTheUsersChangesAndDeletionsSurvive)
{
    installBuiltInServers();
    ServerConfig modified = stored("US-Yahoo");
    modified.url = "http://mine.example/q?s=[&symbol]";
    modified.timeout = 7;
    modified.textBeforeValue = "Mine";
    writeServerConfig("US-Yahoo", modified);
    deleteServerConfig("CH-SWX");

    installBuiltInServers(); // version 20: nothing is written again
    EXPECT_EQ(stored("US-Yahoo"), modified);
    EXPECT_EQ(storedNames().size(), 17u);
    EXPECT_EQ(storedServerSetVersion(), 20);

    Profile().writeInt("Server Version", "Version number", 19); // an older set: every built-in is written over
    installBuiltInServers();
    const ServerConfig table = builtInServerConfigs()[16];
    ASSERT_EQ(table.name, "US-Yahoo");
    EXPECT_EQ(stored("US-Yahoo"), table);
    EXPECT_EQ(storedNames().size(), 18u);
    EXPECT_EQ(storedServerSetVersion(), 20);
}

} // namespace
} // namespace tarvelo
