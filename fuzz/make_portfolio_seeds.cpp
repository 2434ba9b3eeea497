// Writes the seed corpus of portfolio_fuzzer into the folder named on the command line:
// portfolio streams of every item schema, built byte by byte from the file format's
// field tables rather than by the archive writer, so that the seeds also check the
// reader. Each seed is loaded again and compared with the items it was built to hold;
// the program fails when one does not load as intended, and when a seed in the current
// layout differs from what the writer makes of the same items.

#include "model/archive.h"
#include "platform/codepage.h"
#include "platform/utf8.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tarvelo {
namespace {

// Field numbers of the current layout, in its order; 100 is the old integer quantity.
constexpr int kIntegerQuantity = 100;
const std::vector<int> kLayouts[8] = {
    {},
    {1, 5, 2, 4, 6, 9, 10, 11, 12, 13, 32, 33, 34, 35, 36, 37, 38, 39},
    {1, 5, 7, 8, 2, 4, 6, 9, 10, 11, 12, 13, 24, 25, 27, 28, kIntegerQuantity, 32, 33, 34, 35, 36, 37, 38, 39},
    {1, 5, 7, 8, 2, 4, 6, 9, 10, 11, 12, 13, 24, 25, 27, 28, 30, 32, 33, 34, 35, 36, 37, 38, 39},
    {1, 5, 7, 8, 2, 4, 6, 9, 10, 11, 12, 13, 24, 25, 27, 28, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39},
    {1, 5, 7, 8, 2, 4, 6, 9, 10, 11, 12, 13, 24, 25, 27, 28, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40},
    {1, 5, 7, 8, 2, 3, 4, 6, 9, 10, 11, 12, 13, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40},
    {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
     21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40},
};

enum class Form { Short, Medium, Long }; // length and count prefixes, smallest first

// A little-endian byte stream with the archive's object numbering.
class Stream {
public:
    void byte(std::uint8_t v) { m_bytes.push_back(static_cast<char>(v)); }
    void word(std::uint16_t v) { put(&v, 2); }
    void dword(std::uint32_t v) { put(&v, 4); }
    void integer(std::int32_t v) { dword(static_cast<std::uint32_t>(v)); }
    void real(double v) { put(&v, 8); }
    void raw(std::string_view bytes) { m_bytes.append(bytes); }

    void length(std::size_t n, Form form = Form::Short)
    {
        if (form == Form::Short && n < 255) {
            byte(static_cast<std::uint8_t>(n));
        } else if (form != Form::Long && n <= 65533) {
            byte(0xFF);
            word(static_cast<std::uint16_t>(n));
        } else {
            byte(0xFF);
            word(0xFFFF);
            dword(static_cast<std::uint32_t>(n));
        }
    }
    // A text of the item (UTF-8) as the writer keeps it: narrow in Windows-1252 when the
    // code page holds it, else wide.
    void text(std::string_view s, Form form = Form::Short)
    {
        if (!fitsCp1252(s)) {
            wideText(utf8ToUtf16(s), form);
            return;
        }
        const std::string narrow = utf8ToCp1252(s);
        length(narrow.size(), form);
        raw(narrow);
    }
    void wideText(std::u16string_view s, Form form = Form::Short)
    {
        byte(0xFF);
        word(0xFFFE);
        length(s.size(), form);
        put(s.data(), s.size() * 2);
    }
    void count(std::uint32_t n, Form form = Form::Short)
    {
        if (form == Form::Short && n < 0xFFFF) {
            word(static_cast<std::uint16_t>(n));
        } else {
            word(0xFFFF);
            dword(n);
        }
    }

    // The tag of the next object: its class described on first use, else named by
    // index, in the two-part form when asked or when the index needs it.
    void object(const std::string& className, std::uint16_t schema, Form form = Form::Short)
    {
        const auto known = m_classes.find(className);
        if (known == m_classes.end()) {
            word(0xFFFF);
            word(schema);
            word(static_cast<std::uint16_t>(className.size()));
            raw(className);
            m_classes[className] = m_next++;
        } else if (form == Form::Short && known->second < 0x7FFF) {
            word(static_cast<std::uint16_t>(0x8000 | known->second));
        } else {
            word(0x7FFF);
            dword(0x80000000u | known->second);
        }
        ++m_next;
    }

    const std::string& bytes() const { return m_bytes; }

private:
    void put(const void* data, std::size_t n) { m_bytes.append(static_cast<const char*>(data), n); }

    std::string m_bytes;
    std::map<std::string, std::uint32_t> m_classes;
    std::uint32_t m_next = 1;
};

struct Item {
    ItemSettings settings;
    std::vector<Quotation> history;
};

void writeField(Stream& out, const ItemSettings& s, int field)
{
    const ServerConfig& c = s.server;
    const ChartOptions& g = s.chart;
    switch (field) {
    case 1: out.text(s.name); break;
    case 2: out.text(s.symbol); break;
    case 3: out.text(s.memo); break;
    case 4: out.text(c.name); break;
    case 5: out.text(c.url); break;
    case 6: out.integer(c.timeout); break;
    case 7: out.text(c.thousandsSeparator); break;
    case 8: out.text(c.decimalSeparator); break;
    case 9: out.integer(storedNumber(c.conversion)); break;
    case 10: out.text(c.textBeforeValue); break;
    case 11: out.integer(c.tagsToSkip); break;
    case 12: out.integer(c.numbersToSkip); break;
    case 13: out.integer(c.caseInsensitive.stored()); break;
    case 14: out.integer(storedNumber(c.searchKind)); break;
    case 15: out.text(c.regExp); break;
    case 16: out.integer(c.quotationIndex); break;
    case 17: out.integer(c.extractDate.stored()); break;
    case 18: out.integer(c.dayIndex); break;
    case 19: out.integer(c.monthIndex); break;
    case 20: out.integer(c.yearIndex); break;
    case 21: out.integer(c.extractTime.stored()); break;
    case 22: out.integer(c.hourIndex); break;
    case 23: out.integer(c.minuteIndex); break;
    case 24: out.integer(s.belowAlarm.stored()); break;
    case 25: out.integer(s.aboveAlarm.stored()); break;
    case 26: out.integer(s.deviationAlarm.stored()); break;
    case 27: out.real(s.belowLimit); break;
    case 28: out.real(s.aboveLimit); break;
    case 29: out.real(s.deviationPercent); break;
    case 30: out.real(s.quantity); break;
    case 31: out.real(s.averageBuyPrice); break;
    case 32: out.integer(g.pageFlag.stored()); break;
    case 33: out.integer(g.showGrid.stored()); break;
    case 34: out.integer(storedNumber(g.valueOnGraphic)); break;
    case 35: out.integer(storedNumber(g.valueOnAxes)); break;
    case 36: out.integer(g.periodStart); break;
    case 37: out.integer(g.periodEnd); break;
    case 38: out.integer(g.periodStartEnabled.stored()); break;
    case 39: out.integer(g.periodEndEnabled.stored()); break;
    case 40: out.dword(g.lineColour); break;
    case kIntegerQuantity: out.integer(static_cast<std::int32_t>(s.quantity)); break;
    }
}

void writeHistory(Stream& out, const std::vector<Quotation>& history, Form form = Form::Short)
{
    out.count(static_cast<std::uint32_t>(history.size()), form);
    for (const Quotation& record : history) {
        out.object("CKurs", 1, form);
        out.integer(record.time);
        out.real(record.value);
    }
}

void writeItem(Stream& out, const Item& item, std::uint16_t schema)
{
    out.object("CWPapier", schema);
    if (schema < std::size(kLayouts))
        for (int field : kLayouts[schema])
            writeField(out, item.settings, field);
    writeHistory(out, item.history);
}

// What an item stored in an old layout holds after loading: every field the layout
// lacks has its documented value.
ItemSettings afterLoading(ItemSettings s, std::uint16_t schema)
{
    const std::vector<int>& layout = kLayouts[schema];
    const auto stored = [&](int field) {
        return std::find(layout.begin(), layout.end(), field) != layout.end() ||
               (field == 30 && std::find(layout.begin(), layout.end(), kIntegerQuantity) != layout.end());
    };
    ServerConfig& c = s.server;
    const std::pair<int, std::function<void()>> defaults[] = {
        {3, [&] { s.memo.clear(); }},
        {7, [&] { c.thousandsSeparator.clear(); }},
        {8, [&] { c.decimalSeparator = ","; }},
        {14, [&] { c.searchKind = SearchKind::Standard; }},
        {15, [&] { c.regExp.clear(); }},
        {16, [&] { c.quotationIndex = 1; }},
        {17, [&] { c.extractDate = false; }},
        {18, [&] { c.dayIndex = 2; }},
        {19, [&] { c.monthIndex = 3; }},
        {20, [&] { c.yearIndex = 4; }},
        {21, [&] { c.extractTime = false; }},
        {22, [&] { c.hourIndex = 5; }},
        {23, [&] { c.minuteIndex = 6; }},
        {24, [&] { s.belowAlarm = false; }},
        {25, [&] { s.aboveAlarm = false; }},
        {26, [&] { s.deviationAlarm = false; }},
        {27, [&] { s.belowLimit = 0.0; }},
        {28, [&] { s.aboveLimit = 0.0; }},
        {29, [&] { s.deviationPercent = 0.0; }},
        {30, [&] { s.quantity = 0.0; }},
        {31, [&] { s.averageBuyPrice = 0.0; }},
        {40, [&] { s.chart.lineColour = 0xAA0000; }},
    };
    for (const auto& [field, apply] : defaults)
        if (!stored(field))
            apply();
    return s;
}

// An item with a value in every field that differs from every default.
Item fullItem(std::string name)
{
    Item item;
    ItemSettings& s = item.settings;
    s.name = std::move(name);
    s.symbol = "DE0007007007";
    s.memo = "Bought 2003.\r\nHalf sold in 2005.";
    s.server.name = "Deutsche B\xC3\xB6rse";
    s.server.url = "http://www.example.de/kurs?isin=[&symbol]&d=[&day]";
    s.server.timeout = 45;
    s.server.thousandsSeparator = ".";
    s.server.decimalSeparator = "'";
    s.server.conversion = Conversion::SemiHtml;
    s.server.textBeforeValue = "Letzter Kurs";
    s.server.tagsToSkip = 2;
    s.server.numbersToSkip = 1;
    s.server.caseInsensitive = false;
    s.server.searchKind = SearchKind::RegularExpression;
    s.server.regExp = "Kurs:\\s*([0-9.,]+)";
    s.server.quotationIndex = 2;
    s.server.extractDate = true;
    s.server.dayIndex = 3;
    s.server.monthIndex = 4;
    s.server.yearIndex = 5;
    s.server.extractTime = true;
    s.server.hourIndex = 6;
    s.server.minuteIndex = 7;
    s.aboveAlarm = true;
    s.belowAlarm = true;
    s.deviationAlarm = true;
    s.aboveLimit = 99.25;
    s.belowLimit = 10.5;
    s.deviationPercent = 15.0;
    s.quantity = 7.0;
    s.averageBuyPrice = 23.75;
    s.chart = {false, false, ValueOnGraphic::Nominal, ValueOnAxes::Nominal, -86400, 1136073600, true, true, 0x0096FF};
    // Stream order is kept on loading: two records of the same time, then an older one.
    item.history = {{1104573600, 12.5}, {1104573600, 12.75}, {1104487200, -0.0}};
    return item;
}

class SeedWriter {
public:
    explicit SeedWriter(std::filesystem::path folder) : m_folder(std::move(folder)) {}

    // Writes the seed and checks that it loads as the given items, with the warning.
    void seed(const std::string& name, const std::string& bytes, const std::vector<Item>& expected,
              const std::string& warning = {})
    {
        write(name, bytes);
        const LoadResult loaded = loadItems(bytes);
        if (!loaded.ok())
            return fail(name, "does not load: " + loaded.message());
        if (loaded->warning != warning)
            return fail(name, "warns \"" + loaded->warning + "\"");
        if (loaded->items.size() != expected.size())
            return fail(name, "loads " + std::to_string(loaded->items.size()) + " items");
        for (std::size_t i = 0; i < expected.size(); ++i) {
            if (!(loaded->items[i]->settings() == expected[i].settings))
                return fail(name, "item " + std::to_string(i) + " has other settings");
            if (loaded->items[i]->history() != expected[i].history)
                return fail(name, "item " + std::to_string(i) + " has another history");
        }
    }

    // Writes a seed that must not load.
    void refused(const std::string& name, const std::string& bytes)
    {
        write(name, bytes);
        const LoadResult loaded = loadItems(bytes);
        if (loaded.ok() || loaded.message() != "Unexpected file format.")
            fail(name, "is not refused as damaged");
    }

    // A seed in the current layout must also be what the writer makes of its items.
    void writerSeed(const std::string& name, const std::string& bytes, const std::vector<Item>& items)
    {
        seed(name, bytes, items);
        std::vector<std::unique_ptr<SecurityItem>> owned;
        std::vector<const SecurityItem*> pointers;
        for (const Item& item : items) {
            owned.push_back(std::make_unique<SecurityItem>(item.settings));
            for (const Quotation& record : item.history)
                owned.back()->appendLoadedQuotation(record);
            pointers.push_back(owned.back().get());
        }
        if (saveItems(pointers) != bytes)
            fail(name, "differs from the writer's bytes");
    }

    void fail(const std::string& name, const std::string& what)
    {
        std::fprintf(stderr, "seed %s: %s\n", name.c_str(), what.c_str());
        m_failed = true;
    }

    int written() const { return m_written; }
    bool failed() const { return m_failed; }

private:
    void write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(m_folder / (name + ".qvx"), std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ++m_written;
    }

    std::filesystem::path m_folder;
    int m_written = 0;
    bool m_failed = false;
};

void writeSeeds(SeedWriter& seeds)
{
    seeds.refused("zero-bytes", "");
    seeds.writerSeed("empty-portfolio", std::string("\0\0", 2), {});
    seeds.seed("trailing-bytes", std::string("\0\0tail", 6), {}, "4 bytes after the last item were passed over.");

    for (std::uint16_t schema = 1; schema <= 7; ++schema) {
        const Item source = fullItem("Schema " + std::to_string(schema));
        Stream out;
        out.count(1);
        writeItem(out, source, schema);
        const Item expected{afterLoading(source.settings, schema), source.history};
        if (schema == 7)
            seeds.writerSeed("schema7", out.bytes(), {expected});
        else
            seeds.seed("schema" + std::to_string(schema), out.bytes(), {expected});
    }

    // Items without fields: they keep what a new item object holds.
    for (std::uint16_t schema : {0, 8}) {
        Item item{SecurityItem().settings(), {{1000000000, 1.5}}};
        Stream out;
        out.count(1);
        writeItem(out, item, schema);
        seeds.seed("schema" + std::to_string(schema), out.bytes(), {item});
    }

    // Many items without fields: the shape that costs the most memory for its bytes.
    {
        const Item item{SecurityItem().settings(), {}};
        const std::vector<Item> items(1000, item);
        Stream out;
        out.count(static_cast<std::uint32_t>(items.size()));
        for (const Item& each : items)
            writeItem(out, each, 0);
        seeds.seed("fieldless-items", out.bytes(), items);
    }

    // The first item has no history, so the quotation class is described at the first
    // record of the second item and takes the index current there.
    {
        std::vector<Item> items = {fullItem("No history"), fullItem("Two records"), fullItem("One record"),
                                   fullItem("Empty again")};
        items[0].history.clear();
        items[1].history.resize(2);
        items[2].history = {{2000000000, 1e300}};
        items[3].history.clear();
        Stream out;
        out.count(static_cast<std::uint32_t>(items.size()));
        for (const Item& item : items)
            writeItem(out, item, 7);
        seeds.writerSeed("histories", out.bytes(), items);
    }

    // Texts at the limits of the one-byte length prefix, and empty ones.
    {
        Item item = fullItem(std::string(254, 'n'));
        item.settings.symbol = std::string(255, 's');
        item.settings.memo.clear();
        item.settings.server.regExp.clear();
        Stream out;
        out.count(1);
        writeItem(out, item, 7);
        seeds.writerSeed("text-lengths", out.bytes(), {item});
    }

    // Wide texts: UTF-16 that the reader turns into Windows-1252, '?' where it cannot.
    {
        Item item = fullItem("");
        item.history.clear();
        Stream out;
        out.count(1);
        out.object("CWPapier", 7);
        out.wideText(u"Z\u00FCrich \u20AC \u4E2D");
        out.wideText(u"CH0012005267", Form::Medium);
        out.wideText(u"");
        for (int field = 4; field <= 40; ++field)
            writeField(out, item.settings, field);
        writeHistory(out, item.history);
        item.settings.name = "Z\xC3\xBCrich \xE2\x82\xAC \xE4\xB8\xAD";
        item.settings.symbol = "CH0012005267";
        item.settings.memo.clear();
        seeds.seed("wide-text", out.bytes(), {item});
    }

    // Longer forms than needed of lengths, counts and class tags; readers accept them.
    {
        const std::vector<Item> items = {fullItem("Long forms"), fullItem("Second")};
        Stream out;
        out.count(2, Form::Long);
        out.object("CWPapier", 7);
        out.text(items[0].settings.name, Form::Medium);
        out.text(items[0].settings.symbol, Form::Long);
        for (int field = 3; field <= 40; ++field)
            writeField(out, items[0].settings, field);
        writeHistory(out, items[0].history, Form::Long);
        out.object("CWPapier", 7, Form::Long);
        for (int field : kLayouts[7])
            writeField(out, items[1].settings, field);
        writeHistory(out, items[1].history, Form::Long);
        seeds.seed("long-forms", out.bytes(), items);
    }

    // Several old items in one stream, each with its history.
    {
        std::vector<Item> items;
        Stream out;
        out.count(3);
        for (int i = 0; i < 3; ++i) {
            Item item = fullItem("Old " + std::to_string(i));
            item.history.resize(static_cast<std::size_t>(i));
            writeItem(out, item, 2);
            items.push_back({afterLoading(item.settings, 2), item.history});
        }
        seeds.seed("schema2-list", out.bytes(), items);
    }
}

} // namespace
} // namespace tarvelo

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    std::error_code error;
    std::filesystem::create_directories(argv[1], error);
    if (error) {
        std::fprintf(stderr, "cannot create %s: %s\n", argv[1], error.message().c_str());
        return 1;
    }
    tarvelo::SeedWriter seeds(argv[1]);
    tarvelo::writeSeeds(seeds);
    std::printf("%d portfolio seeds in %s\n", seeds.written(), argv[1]);
    return seeds.failed() ? 1 : 0;
}
