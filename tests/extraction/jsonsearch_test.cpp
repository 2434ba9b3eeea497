#include "extraction/extract.h"
#include "extraction/jsonsearch.h"

#include "tests/support/scopedtimezone.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvelo {
namespace {

constexpr TimeStamp kNow = 1773000000;
constexpr TimeStamp kMarch14At1735Utc = 1773509700;

JsonRule rule(std::string value, std::string date = {}, std::string time = {})
{
    JsonRule r;
    r.valuePath = std::move(value);
    r.datePath = std::move(date);
    r.timePath = std::move(time);
    r.thousands = ".";
    r.decimal = ",";
    return r;
}

constexpr const char* kApiAnswer = R"({
  "quote": {"symbol": "NWE", "last": "1.234,56", "bid": 1234.5, "updated": 1773509700000,
            "closes": [20.5, 21.25, 23.84], "state": null},
  "rates": {"USD": 1.0842, "BRK.B": 412.5},
  "last price": {"eur": "23,84"},
  "series": [{"date": "2026-03-14T17:35:00Z", "value": 9}]
})";

// An API answer read by every kind of step; strings with the configuration's number
// format, numbers as they are, dates as ISO text or Unix milliseconds.
TEST(jsonSearch, ReadsAnApiAnswer)
{
    ExtractionResult r = jsonSearchInPage(kApiAnswer, rule("$.quote.last", "$.quote.updated"), kNow);
    EXPECT_EQ(r.code, kFound) << r.message;
    EXPECT_DOUBLE_EQ(r.value, 1234.56);
    EXPECT_EQ(r.time, kMarch14At1735Utc);

    r = jsonSearchInPage(kApiAnswer, rule("$.quote.closes[-1]"), kNow);
    EXPECT_EQ(r.code, kFound) << r.message;
    EXPECT_DOUBLE_EQ(r.value, 23.84);
    EXPECT_EQ(r.time, kNow);
    EXPECT_DOUBLE_EQ(jsonSearchInPage(kApiAnswer, rule("$.quote.closes[0]"), kNow).value, 20.5);
    EXPECT_DOUBLE_EQ(jsonSearchInPage(kApiAnswer, rule("$[\"last price\"]['eur']"), kNow).value, 23.84);
    r = jsonSearchInPage(kApiAnswer, rule("$.series[0].value", "$.series[0].date"), kNow);
    EXPECT_EQ(r.time, kMarch14At1735Utc);
    // The date's own time gives way to a time path: here in Berlin, an hour ahead of UTC.
    {
        test::ScopedTimeZone berlin("Europe/Berlin");
        r = jsonSearchInPage(kApiAnswer, rule("$.quote.bid", "$.series[0].date", "$.series[0].date"), kNow);
        EXPECT_EQ(r.code, kInvalidNumber); // a date is no time of day
        const std::string page = R"({"v": 5, "d": "2026-03-14", "t": "17:35"})";
        r = jsonSearchInPage(page, rule("$.v", "$.d", "$.t"), kNow);
        EXPECT_EQ(r.code, kFound) << r.message;
        EXPECT_EQ(r.time, kMarch14At1735Utc - 3600);
    }

    // The symbol becomes one key, dots and all.
    ServerConfig config;
    config.searchKind = SearchKind::JsonPath;
    config.jsonValue = "$.rates.[&symbol]";
    config.decimalSeparator = ".";
    EXPECT_EQ(withItemVariables(config, "", "BRK.B").jsonValue, "$.rates[\"BRK.B\"]");
    EXPECT_DOUBLE_EQ(runExtractionOnPage(withItemVariables(config, "", "BRK.B"), kApiAnswer, kNow).value, 412.5);
    EXPECT_DOUBLE_EQ(runExtractionOnPage(withItemVariables(config, "", "USD"), kApiAnswer, kNow).value, 1.0842);
    EXPECT_EQ(expandJsonPathVariables("$[\"x [&name]\"].v_[&symbol]", "a\"b", "S"), "$[\"x a\\\"b\"].v_S");
    EXPECT_TRUE(searchesForItemName(config) == false);
}

// What goes wrong is named: the path, and what stands there instead of a number.
TEST(jsonSearch, NamesWhatIsWrong)
{
    struct Case {
        const char* path;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {"$.quote.ask", kNotFound, "JSON path $.quote.ask not found in the page"},
        {"$.quote.closes[3]", kNotFound, "JSON path $.quote.closes[3] not found in the page"},
        {"$.quote.closes[-4]", kNotFound, "JSON path $.quote.closes[-4] not found in the page"},
        {"$.quote", kInvalidNumber, "JSON path $.quote holds an object, not a number"},
        {"$.quote.state", kInvalidNumber, "JSON path $.quote.state holds null, not a number"},
        {"quote.last", kNotFound, "JSON path quote.last: a JSON path begins with \"$\""},
        {"$.quote[x]", kNotFound, "JSON path $.quote[x]: expected a number or a quoted key after the \"[\" at 8"},
        {"$.quote..last", kNotFound, "JSON path $.quote..last: expected a key after the \".\" at 8"},
        {"$[\"quote]", kNotFound, "JSON path $[\"quote]: the quoted key at 2 does not end"},
    };
    for (const Case& c : cases) {
        const ExtractionResult r = jsonSearchInPage(kApiAnswer, rule(c.path), kNow);
        EXPECT_EQ(r.code, c.code) << c.path;
        EXPECT_EQ(r.message, c.message);
        EXPECT_FALSE(r.success);
    }
    // A string in another number format than the configuration's is no quotation, not
    // 1.234 read up to the comma.
    JsonRule dotted = rule("$.quote.last");
    dotted.thousands = "";
    dotted.decimal = ".";
    ExtractionResult r = jsonSearchInPage(kApiAnswer, dotted, kNow);
    EXPECT_EQ(r.code, kInvalidNumber);
    EXPECT_EQ(r.message, "1.234,56");
    // Nor is "1 234,5" read with a "." thousands separator 1, stopped at the blank.
    r = jsonSearchInPage(R"({"p": "1 234,5"})", rule("$.p"), kNow);
    EXPECT_EQ(r.code, kInvalidNumber);
    // A date beyond what a quotation's time can hold is refused, not wrapped around,
    // with or without a time path.
    for (const char* time : {"", "$.t"}) {
        r = jsonSearchInPage(R"({"p": 1.5, "d": "2100-01-01Z", "t": "17:35"})", rule("$.p", "$.d", time), kNow);
        EXPECT_EQ(r.code, kInvalidNumber) << time;
        EXPECT_EQ(r.message, "JSON date path $.d holds a date out of range");
    }
    r = jsonSearchInPage(kApiAnswer, rule("$.quote.bid", "$.quote.symbol"), kNow);
    EXPECT_EQ(r.code, kInvalidNumber);
    EXPECT_EQ(r.message, "JSON date path $.quote.symbol holds no date: NWE");
    r = jsonSearchInPage(kApiAnswer, rule("$.quote.bid", "$.quote.when"), kNow);
    EXPECT_EQ(r.message, "JSON date path $.quote.when not found beside the value");
    r = jsonSearchInPage("{\"a\": [1, 2,}", rule("$.a[0]"), kNow);
    EXPECT_EQ(r.code, kNotFound);
    EXPECT_EQ(r.message.rfind("The page is not valid JSON (", 0), 0u) << r.message;
    r = jsonSearchInPage("<html><body>23,84</body></html>", rule("$.a"), kNow);
    EXPECT_EQ(r.message, "JSON path $.a not found: the page is no JSON and has no script");
}

// In an HTML page, the first JSON value in a script that holds the path: a JSON-LD body,
// or an object assigned in script code, after scripts of plain code.
TEST(jsonSearch, ReadsJsonInsideScripts)
{
    const std::string page = "<html><head><meta charset=\"utf-8\">\n"
                             "<script>var cfg = {debug: true}; function f(a) { return [a, \"{\"]; }</script>\n"
                             "<SCRIPT type=\"application/ld+json\">\n"
                             "{\"@type\": \"Product\", \"name\": \"Nordwind \xC3\x84nergie\",\n"
                             " \"offers\": {\"price\": \"23,84\", \"priceCurrency\": \"EUR\"}}</SCRIPT>\n"
                             "<script>window.__DATA__ = {\"quote\": {\"last\": 19.5}};\n"
                             "var other = {\"quote\": {\"last\": 1, \"bid\": 2}};</script>\n"
                             "</head><body>{\"quote\": {\"bid\": 3}}</body></html>";
    ExtractionResult r = jsonSearchInPage(page, rule("$.offers.price"), kNow);
    EXPECT_EQ(r.code, kFound) << r.message;
    EXPECT_DOUBLE_EQ(r.value, 23.84);
    EXPECT_DOUBLE_EQ(jsonSearchInPage(page, rule("$.quote.last"), kNow).value, 19.5);
    EXPECT_DOUBLE_EQ(jsonSearchInPage(page, rule("$.quote.bid"), kNow).value, 2.0);
    r = jsonSearchInPage(page, rule("$.quote.ask"), kNow);
    EXPECT_EQ(r.code, kNotFound);
    EXPECT_EQ(r.message, "JSON path $.quote.ask not found in the page's 3 script(s)");
    // The page as a download hands it to the search, in Windows-1252, reads the same.
    ServerConfig config;
    config.searchKind = SearchKind::JsonPath;
    config.jsonValue = "$.name";
    EXPECT_EQ(searchConversion(config), Conversion::None);
}

// Deep and huge data is refused with a message, never given to the parser's recursion.
TEST(jsonSearch, RefusesDeepAndHugeData)
{
    const auto nested = [](int depth) { return std::string(depth, '[') + "1" + std::string(depth, ']'); };
    std::string path = "$";
    for (int i = 0; i < 256; ++i)
        path += "[0]";
    ExtractionResult r = jsonSearchInPage(nested(256), rule(path), kNow);
    EXPECT_EQ(r.code, kFound) << r.message;
    EXPECT_DOUBLE_EQ(r.value, 1.0);
    for (int depth : {257, 2000, 1000000}) {
        r = jsonSearchInPage(nested(depth), rule("$[0]"), kNow);
        EXPECT_EQ(r.code, kNotFound);
        EXPECT_EQ(r.message, "The JSON data nests deeper than 256 levels; it is not read");
        r = jsonSearchInPage("<script>var x = " + nested(depth) + ";</script>", rule("$[0]"), kNow);
        EXPECT_EQ(r.message, "The JSON data nests deeper than 256 levels; it is not read");
    }
    // A script nested too deep is passed over for the next one.
    r = jsonSearchInPage("<script>x = " + nested(300000) + "</script><script>var d = {\"price\": \"3,75\"};</script>",
                         rule("$.price"), kNow);
    EXPECT_EQ(r.code, kFound) << r.message;
    EXPECT_DOUBLE_EQ(r.value, 3.75);
    // Script code that wraps values that are no JSON around each other, level upon level,
    // is looked through within a bounded number of passes over the page, then refused.
    std::string tangled = "<script>";
    for (int i = 0; i < 250; ++i)
        tangled += "{\"a\":";
    tangled += "[";
    for (int i = 0; i < 40000; ++i)
        tangled += "\"abcdefghij\",";
    tangled += "1]";
    for (int i = 0; i < 250; ++i)
        tangled += " 1 2}";
    tangled += "</script>";
    r = jsonSearchInPage(tangled, rule("$.price"), kNow);
    EXPECT_EQ(r.code, kNotFound);
    EXPECT_EQ(r.message, "The page's scripts are too tangled to look through for JSON data; it is not read");

    // Brackets inside strings do not count.
    r = jsonSearchInPage("{\"a\": \"" + std::string(5000, '[') + "\", \"b\": 2}", rule("$.b"), kNow);
    EXPECT_DOUBLE_EQ(r.value, 2.0);

    std::string huge = "{\"a\": 1, \"pad\": \"";
    huge.append(kMaxJsonBytes, 'x');
    huge += "\"}";
    r = jsonSearchInPage(huge, rule("$.a"), kNow);
    EXPECT_EQ(r.code, kNotFound);
    EXPECT_EQ(r.message, "The page is larger than 64 MiB; JSON data is read from smaller pages only");
}

} // namespace
} // namespace tarvelo
