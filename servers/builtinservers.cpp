#include "servers/builtinservers.h"

#include "platform/profile.h"
#include "servers/serverstore.h"

namespace tarvelo {

namespace {

struct Row {
    const char* name;
    const char* host; // empty: the configuration has no address
    const char* path;
    Conversion conversion;
    const char* textBeforeValue;
    int tags;
    int numbers;
    const char* thousands;
    const char* decimal;
    int timeout;
};

// Hosts are the public sites of the services the configurations were written for.
constexpr Row kRows[] = {
    {"AT-Reiffeisen", "www.rcm.at", "/fonds/kurzInfo.asp?sessionID=&Wpknr=[&symbol]&back=nein", Conversion::SemiHtml,
     "R&uuml;cknahmepreis aktuell:", 4, 0, ".", ",", 120},
    {"AT-Wiener Boerse", "www.wienerborse.at", "/default.asp?action=markets_equity", Conversion::TextOnly, "[&name]", 0,
     0, ".", ",", 180},
    {"AU-Yahoo", "au.finance.yahoo.com", "/q?m=a&s=[&symbol]&d=t", Conversion::SemiHtml, "Last Trade", 2, 0, ",", ".",
     180},
    {"BR-Yahoo", "br.finance.yahoo.com", "/q?m=s&s=[&symbol]&d=t", Conversion::SemiHtml,
     "\xC3\x9Alt transa&ccedil;\xC3\xA3o", 2, 0, ",", ".", 180},
    {"CH-SWX", "www.swx.com", "/market/swissshares_en.html", Conversion::SemiHtml, "[&symbol]", 1, 0, "", ".", 240},
    {"DE-DWS", "www.dws.de", "/priceoverview/servlet/priceoverview?serverid=2&languageid=de&rowid=-1&page=0",
     Conversion::TextOnly, "[&symbol]", 0, 0, ".", ",", 180},
    {"DE-DWS (Multiple)", "www.dws.de", "/aktuell/dws[&dw].asc", Conversion::None, "[&symbol]\",\"", 0, 0, ".", ",",
     180},
    {"DE-DB Devisen", "www.deutsche-bank.de",
     "/pbc/is-asp/oic/mace0837.html?eCrmLink=int;from-%FROM%-Q-navigation-PBCde;to-%TO%&", Conversion::SemiHtml,
     "&nbsp;[&symbol]", 5, 0, "", ",", 120},
    {"DE-Yahoo Finanzen", "de.finance.yahoo.com", "/q?m=*&s=[&symbol]&d=t", Conversion::SemiHtml, "Letzter Kurs", 3, 0,
     ".", ",", 90},
    {"DE-Deka", "www.deka.de",
     "/de/fondsprodukte/fondsauswahl/fo_daten_1.html?auswahl_branche=-1&auswahl_region=-1&fcsd=[&symbol]"
     "&auswahl_sortieren=name&auswahl_ausgabeaufschlag=Alle&x=59&y=8&auswahl_kategorie=-1",
     Conversion::TextOnly, "[&symbol]", 0, 1, "", ".", 120},
    {"DE-Union Investment", "www.union-investment.de",
     "/produkte/fonds/tabellentool/static_html/fonds_fpreise_4_1.html", Conversion::TextOnly, "[&symbol]", 0, 1, "",
     ",", 180},
    {"FR-Yahoo Finance", "fr.finance.yahoo.com", "/quotes/fr/quote?symbols=[&symbol]&market=*&d=t",
     Conversion::SemiHtml, "Dern. Cours", 3, 0, ".", ",", 180},
    {"ES-Yahoo Finanzas", "es.finance.yahoo.com", "/q?s=[&symbol]&d=2b", Conversion::SemiHtml,
     "&Uacute;ltima transacci&oacute", 3, 0, ",", ".", 180},
    {"IT-Yahoo Finanza Milano", "it.finance.yahoo.com", "/quotes/it/quote?symbols=[&symbol]&market=MI&detailed=t",
     Conversion::SemiHtml, "Ultima trattazione", 3, 0, " ", ".", 120},
    {"PT-BVL", "", "", Conversion::TextOnly, "Fecho", 0, 0, "", ".", 120},
    {"UK-Yahoo Finance", "uk.finance.yahoo.com", "/quotes/ukie/quote?s=[&symbol]&market=*&d=t", Conversion::SemiHtml,
     "Last Trade", 2, 0, ",", ".", 120},
    {"US-Yahoo", "finance.yahoo.com", "/q?s=[&symbol]&d=t", Conversion::SemiHtml, "Last Trade:", 4, 0, ",", ".", 180},
    {"Yahoo International Indices", "finance.yahoo.com", "/q?s=[&symbol]&d=t", Conversion::SemiHtml, "Index Value:", 4,
     0, ",", ".", 180},
};

// The one regular-expression configuration: quotation, then day, month and year.
constexpr const char* kDwsMultipleExpression =
    "[&symbol][\"',\\t\\r\\n]*([0-9,.]+)[\"',\\t\\r\\n]*([0-9]+).([0-9]+).([0-9]+)";

std::vector<ServerConfig> build()
{
    std::vector<ServerConfig> configs;
    for (const Row& row : kRows) {
        ServerConfig c;
        c.name = row.name;
        if (*row.host)
            c.url = std::string("http://") + row.host + row.path;
        c.timeout = row.timeout;
        c.thousandsSeparator = row.thousands;
        c.decimalSeparator = row.decimal;
        c.conversion = row.conversion;
        c.textBeforeValue = row.textBeforeValue;
        c.tagsToSkip = row.tags;
        c.numbersToSkip = row.numbers;
        c.caseInsensitive = true;
        if (c.name == "DE-DWS (Multiple)") {
            c.searchKind = SearchKind::RegularExpression;
            c.regExp = kDwsMultipleExpression;
            c.extractDate = true;
        }
        configs.push_back(std::move(c));
    }
    return configs;
}

} // namespace

const std::vector<ServerConfig>& builtInServerConfigs()
{
    static const std::vector<ServerConfig> configs = build();
    return configs;
}

bool installBuiltInServers()
{
    Profile profile;
    if (storedServerSetVersion(profile) >= kServerSetVersion)
        return true;
    for (const ServerConfig& config : builtInServerConfigs())
        writeServerConfig(profile, config.name, config);
    raiseServerSetVersion(profile, kServerSetVersion);
    return profile.sync();
}

} // namespace tarvelo
