// The portfolio file, byte for byte: expected streams are built by hand here, never
// with the archive writer under test.
#include "model/archive.h"
#include "tests/support/fulldisk.h"
#include "tests/support/heapcounter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <malloc.h>
#include <new>
#include <optional>

namespace tarvelo {
namespace {

namespace fs = std::filesystem;

class Bytes {
public:
    Bytes& u8(unsigned v)
    {
        m_s.push_back(static_cast<char>(v & 0xFF));
        return *this;
    }
    Bytes& u16(unsigned v) { return u8(v).u8(v >> 8); }
    Bytes& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Bytes& f64(double v)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &v, 8);
        return u32(static_cast<std::uint32_t>(bits)).u32(static_cast<std::uint32_t>(bits >> 32));
    }
    Bytes& raw(std::string_view s)
    {
        m_s.append(s);
        return *this;
    }
    Bytes& text(std::string_view s) // short texts only; long prefixes are spelled out
    {
        return u8(static_cast<unsigned>(s.size())).raw(s);
    }
    Bytes& newClass(unsigned schema, std::string_view name)
    {
        return u16(0xFFFF).u16(schema).u16(static_cast<unsigned>(name.size())).raw(name);
    }
    Bytes& record(const Quotation& k) { return u32(static_cast<std::uint32_t>(k.time)).f64(k.value); }
    const std::string& str() const { return m_s; }

private:
    std::string m_s;
};

::testing::AssertionResult sameBytes(std::string_view actual, std::string_view expected)
{
    const auto diff = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    if (diff.first == actual.end() && diff.second == expected.end())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                         << ", first difference at offset " << (diff.first - actual.begin());
}

// Every field different from its default and from the others, so that a swapped or
// skipped field shows.
ItemSettings distinct(const std::string& name = "Name")
{
    return {
        .name = name,
        .symbol = "SYM",
        .memo = "Memo",
        .server = {"Cfg", "http://q.example/", 11, ".", ";", Conversion{12}, "Before", 13, 14,
                   StoredFlag::fromStored(15), SearchKind{16}, "(R)", 17, StoredFlag::fromStored(18), 19, 20, 21,
                   StoredFlag::fromStored(22), 23, 24, 0, {}, {}, {}, {}, {}}, // the file has no limit, fallback, headers or JSON paths
        .chart = {StoredFlag::fromStored(28), StoredFlag::fromStored(29), ValueOnGraphic{30}, ValueOnAxes{31},
                  1500000000, -32, StoredFlag::fromStored(33), StoredFlag::fromStored(34), 0x123456},
        .aboveAlarm = StoredFlag::fromStored(26),
        .belowAlarm = StoredFlag::fromStored(25),
        .deviationAlarm = StoredFlag::fromStored(27),
        .aboveLimit = 2.5,
        .belowLimit = 1.5,
        .deviationPercent = 3.5,
        .quantity = 4.5,
        .averageBuyPrice = 5.5,
    };
}

// One item field in its stored encoding, by its number in the current layout.
void putField(Bytes& b, const ItemSettings& s, int field)
{
    const ServerConfig& c = s.server;
    const ChartOptions& g = s.chart;
    auto integer = [&](std::int32_t v) { b.u32(static_cast<std::uint32_t>(v)); };
    switch (field) {
    case 1: b.text(s.name); break;
    case 2: b.text(s.symbol); break;
    case 3: b.text(s.memo); break;
    case 4: b.text(c.name); break;
    case 5: b.text(c.url); break;
    case 6: integer(c.timeout); break;
    case 7: b.text(c.thousandsSeparator); break;
    case 8: b.text(c.decimalSeparator); break;
    case 9: integer(storedNumber(c.conversion)); break;
    case 10: b.text(c.textBeforeValue); break;
    case 11: integer(c.tagsToSkip); break;
    case 12: integer(c.numbersToSkip); break;
    case 13: integer(c.caseInsensitive.stored()); break;
    case 14: integer(storedNumber(c.searchKind)); break;
    case 15: b.text(c.regExp); break;
    case 16: integer(c.quotationIndex); break;
    case 17: integer(c.extractDate.stored()); break;
    case 18: integer(c.dayIndex); break;
    case 19: integer(c.monthIndex); break;
    case 20: integer(c.yearIndex); break;
    case 21: integer(c.extractTime.stored()); break;
    case 22: integer(c.hourIndex); break;
    case 23: integer(c.minuteIndex); break;
    case 24: integer(s.belowAlarm.stored()); break;
    case 25: integer(s.aboveAlarm.stored()); break;
    case 26: integer(s.deviationAlarm.stored()); break;
    case 27: b.f64(s.belowLimit); break;
    case 28: b.f64(s.aboveLimit); break;
    case 29: b.f64(s.deviationPercent); break;
    case 30: b.f64(s.quantity); break;
    case 31: b.f64(s.averageBuyPrice); break;
    case 32: integer(g.pageFlag.stored()); break;
    case 33: integer(g.showGrid.stored()); break;
    case 34: integer(storedNumber(g.valueOnGraphic)); break;
    case 35: integer(storedNumber(g.valueOnAxes)); break;
    case 36: integer(g.periodStart); break;
    case 37: integer(g.periodEnd); break;
    case 38: integer(g.periodStartEnabled.stored()); break;
    case 39: integer(g.periodEndEnabled.stored()); break;
    case 40: b.u32(g.lineColour); break;
    default: ADD_FAILURE() << "no field " << field;
    }
}

void putItem(Bytes& b, const ItemSettings& s)
{
    for (int field = 1; field <= 40; ++field)
        putField(b, s, field);
}

std::unique_ptr<SecurityItem> makeItem(const ItemSettings& s, const std::vector<Quotation>& records)
{
    auto item = std::make_unique<SecurityItem>(s);
    for (const Quotation& k : records)
        item->appendLoadedQuotation(k);
    return item;
}

std::vector<const SecurityItem*> pointers(const std::vector<std::unique_ptr<SecurityItem>>& items)
{
    std::vector<const SecurityItem*> out;
    for (const auto& item : items)
        out.push_back(item.get());
    return out;
}

// The example of the file format: A with two records, B with one.
const Quotation kA1{1000, 1.25}, kA2{2000, 2.5}, kB1{-3000, 7.75};

std::string indexExample()
{
    Bytes b;
    b.u16(2).newClass(7, "CWPapier");
    putItem(b, distinct("A"));
    b.u16(2).newClass(1, "CKurs").record(kA1).u16(0x8003).record(kA2);
    b.u16(0x8001);
    putItem(b, distinct("B"));
    b.u16(1).u16(0x8003).record(kB1);
    return b.str();
}

void expectFormatError(std::string_view bytes, const std::string& what)
{
    const LoadResult loaded = loadItems(bytes);
    EXPECT_FALSE(loaded.ok()) << what;
    EXPECT_EQ(loaded.message(), "Unexpected file format.") << what;
}

fs::path tempFolder()
{
    std::string pattern = (fs::temp_directory_path() / "archiveXXXXXX").string();
    return ::mkdtemp(pattern.data());
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(ArchiveWrite, IndexExampleByteForByte)
{
    std::vector<std::unique_ptr<SecurityItem>> items;
    items.push_back(makeItem(distinct("A"), {kA1, kA2}));
    items.push_back(makeItem(distinct("B"), {kB1}));
    EXPECT_TRUE(sameBytes(saveItems(pointers(items)), indexExample()));

    const LoadResult loaded = loadItems(indexExample());
    ASSERT_TRUE(loaded.ok()) << loaded.message();
    ASSERT_EQ(loaded->items.size(), 2u);
    EXPECT_EQ(loaded->items[0]->settings(), distinct("A"));
    EXPECT_EQ(loaded->items[0]->history(), (std::vector<Quotation>{kA1, kA2}));
    EXPECT_EQ(loaded->items[1]->history(), (std::vector<Quotation>{kB1}));
    EXPECT_TRUE(sameBytes(saveItems(pointers(loaded->items)), indexExample()));
}

TEST(ArchiveWrite, EmptyPortfolioAndLateQuotationClass)
{
    EXPECT_EQ(saveItems({}), std::string(2, '\0'));
    const LoadResult loaded = loadItems(std::string_view("\0\0", 2));
    EXPECT_TRUE(loaded.ok());
    EXPECT_TRUE(loaded->items.empty());
    EXPECT_EQ(loaded->warning, "");
    expectFormatError({}, "no bytes");

    // "CKurs" is described at the first record of B and takes the index after B (4).
    std::vector<std::unique_ptr<SecurityItem>> items;
    items.push_back(makeItem(distinct("A"), {}));
    items.push_back(makeItem(distinct("B"), {kB1}));
    items.push_back(makeItem(distinct("C"), {kA1}));
    Bytes b;
    b.u16(3).newClass(7, "CWPapier");
    putItem(b, distinct("A"));
    b.u16(0).u16(0x8001);
    putItem(b, distinct("B"));
    b.u16(1).newClass(1, "CKurs").record(kB1).u16(0x8001);
    putItem(b, distinct("C"));
    b.u16(1).u16(0x8004).record(kA1);
    EXPECT_TRUE(sameBytes(saveItems(pointers(items)), b.str()));
}

TEST(ArchiveWrite, TextLengthPrefixes)
{
    const std::pair<std::size_t, std::string> cases[] = {
        {254, "\xFE"},
        {255, std::string("\xFF\xFF\x00", 3)},
        {65533, "\xFF\xFD\xFF"},
        {65534, std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7)},
    };
    constexpr std::size_t kNameAt = 2 + 14; // count, then the new-class tag of "CWPapier"
    for (const auto& [length, prefix] : cases) {
        ItemSettings s;
        s.name.assign(length, 'n');
        SecurityItem item(s);
        const std::string bytes = saveItems({&item});
        EXPECT_EQ(bytes.substr(kNameAt, prefix.size()), prefix) << length;
        EXPECT_EQ(bytes.substr(kNameAt + prefix.size(), length), s.name) << length;
        const LoadResult loaded = loadItems(bytes);
        ASSERT_TRUE(loaded.ok()) << length;
        EXPECT_EQ(loaded->items[0]->settings(), s) << length;
    }
}

TEST(ArchiveWrite, LargeCountsThroughAFile)
{
    const fs::path folder = tempFolder();
    const std::vector<SecurityItem> items(65535);
    std::vector<const SecurityItem*> pointers;
    for (const SecurityItem& item : items)
        pointers.push_back(&item);

    EXPECT_EQ(saveItems({pointers.begin(), pointers.end() - 1}).substr(0, 2), "\xFE\xFF");
    const std::string path = (folder / "many.qvx").string();
    ASSERT_TRUE(savePortfolioFile(path, pointers).ok());
    EXPECT_EQ(readFile(path).substr(0, 6), std::string("\xFF\xFF\xFF\xFF\x00\x00", 6));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    // The file is many read blocks long.
    const LoadResult loaded = loadPortfolioFile(path);
    ASSERT_TRUE(loaded.ok()) << loaded.message();
    EXPECT_EQ(loaded->items.size(), 65535u);
}

TEST(ArchiveWrite, QuotationClassWithALargeIndex)
{
    // 32764 items without records give "CKurs" the index 0x7FFF, the first that needs the long tag.
    std::vector<std::unique_ptr<SecurityItem>> items;
    for (int i = 0; i < 32764; ++i)
        items.push_back(std::make_unique<SecurityItem>());
    items.push_back(makeItem(ItemSettings{}, {kA1, kA2}));
    const std::string bytes = saveItems(pointers(items));
    Bytes tail;
    tail.u16(2).newClass(1, "CKurs").record(kA1).u16(0x7FFF).u32(0x80007FFF).record(kA2);
    ASSERT_GT(bytes.size(), tail.str().size());
    EXPECT_TRUE(sameBytes(bytes.substr(bytes.size() - tail.str().size()), tail.str()));

    const LoadResult loaded = loadItems(bytes);
    ASSERT_TRUE(loaded.ok()) << loaded.message();
    EXPECT_EQ(loaded->items.back()->history(), (std::vector<Quotation>{kA1, kA2}));
    EXPECT_EQ(saveItems(pointers(loaded->items)), bytes);
}

TEST(ArchiveRead, OlderItemSchemas)
{
    // 0 stands for the integer quantity of schema 2.
    const std::vector<std::pair<unsigned, std::vector<int>>> layouts = {
        {1, {1, 5, 2, 4, 6, 9, 10, 11, 12, 13, 32, 33, 34, 35, 36, 37, 38, 39}},
        {2, {1, 5, 7, 8, 2, 4, 6, 9, 10, 11, 12, 13, 24, 25, 27, 28, 0, 32, 33, 34, 35, 36, 37, 38, 39}},
        {3, {1, 5, 7, 8, 2, 4, 6, 9, 10, 11, 12, 13, 24, 25, 27, 28, 30, 32, 33, 34, 35, 36, 37, 38, 39}},
        {4, {1, 5, 7, 8, 2, 4, 6, 9, 10, 11, 12, 13, 24, 25, 27, 28, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39}},
        {5, {1, 5, 7, 8, 2, 4, 6, 9, 10, 11, 12, 13, 24, 25, 27, 28, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40}},
        {6, {1, 5, 7, 8, 2, 3, 4, 6, 9, 10, 11, 12, 13, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37,
             38, 39, 40}},
    };
    const ItemSettings stored = distinct();
    for (const auto& [schema, fields] : layouts) {
        Bytes b;
        b.u16(1).newClass(schema, "CWPapier");
        for (int field : fields) {
            if (field == 0)
                b.u32(7);
            else
                putField(b, stored, field);
        }
        b.u16(1).newClass(1, "CKurs").record(kA1);

        ItemSettings expected = stored;
        auto has = [&](int field) { return std::find(fields.begin(), fields.end(), field) != fields.end(); };
        ServerConfig& c = expected.server;
        if (!has(3)) expected.memo.clear();
        if (!has(7)) c.thousandsSeparator.clear();
        if (!has(8)) c.decimalSeparator = ",";
        c.searchKind = SearchKind::Standard;
        c.regExp.clear();
        c.quotationIndex = 1;
        c.extractDate = false;
        c.dayIndex = 2;
        c.monthIndex = 3;
        c.yearIndex = 4;
        c.extractTime = false;
        c.hourIndex = 5;
        c.minuteIndex = 6;
        if (!has(24)) expected.belowAlarm = expected.aboveAlarm = false;
        if (!has(26)) expected.deviationAlarm = false;
        if (!has(27)) expected.belowLimit = expected.aboveLimit = 0;
        if (!has(29)) expected.deviationPercent = 0;
        if (!has(30)) expected.quantity = has(0) ? 7.0 : 0.0;
        if (!has(31)) expected.averageBuyPrice = 0;
        if (!has(40)) expected.chart.lineColour = 0xAA0000;

        const LoadResult loaded = loadItems(b.str());
        ASSERT_TRUE(loaded.ok()) << "schema " << schema << ": " << loaded.message();
        ASSERT_EQ(loaded->items.size(), 1u);
        EXPECT_EQ(loaded->items[0]->settings(), expected) << "schema " << schema;
        EXPECT_EQ(loaded->items[0]->history(), std::vector<Quotation>{kA1}) << "schema " << schema;
        EXPECT_FALSE(loaded->items[0]->isBeingUpdated());
    }
}

TEST(ArchiveRead, ItemSchemasWithoutFields)
{
    for (unsigned schema : {0u, 8u}) {
        Bytes b;
        b.u16(2).newClass(schema, "CWPapier").u16(1).newClass(1, "CKurs").record(kA1);
        b.u16(0x8001).u16(2).u16(0x8003).record(kA2).u16(0x8003).record(kB1);
        const LoadResult loaded = loadItems(b.str());
        ASSERT_TRUE(loaded.ok()) << "schema " << schema << ": " << loaded.message();
        ASSERT_EQ(loaded->items.size(), 2u);
        EXPECT_EQ(loaded->items[0]->history(), std::vector<Quotation>{kA1});
        EXPECT_EQ(loaded->items[1]->history(), (std::vector<Quotation>{kA2, kB1})); // stored order, not sorted
    }
}

TEST(ArchiveRead, WideTextsBecomeWindows1252)
{
    ItemSettings s = distinct();
    Bytes b;
    b.u16(1).newClass(7, "CWPapier");
    b.u8(0xFF).u16(0xFFFE).u8(4).u16(u'A').u16(0xE9).u16(0x20AC).u16(0x4E2D); // A é € 中
    b.u8(0xFF).u16(0xFFFE).u8(0xFF).u16(300);
    for (int i = 0; i < 300; ++i)
        b.u16(u'x');
    for (int field = 3; field <= 40; ++field)
        putField(b, s, field);
    b.u16(0);
    const LoadResult loaded = loadItems(b.str());
    ASSERT_TRUE(loaded.ok()) << loaded.message();
    s.name = "A\xC3\xA9\xE2\x82\xAC\xE4\xB8\xAD";
    s.symbol.assign(300, 'x');
    EXPECT_EQ(loaded->items[0]->settings(), s);
}

TEST(ArchiveRead, TruncatedStreamsFail)
{
    const std::string whole = indexExample();
    for (std::size_t size = 1; size < whole.size(); ++size)
        expectFormatError(std::string_view(whole).substr(0, size), "truncated to " + std::to_string(size));
}

TEST(ArchiveRead, BadTagsFail)
{
    auto itemA = [] {
        Bytes b;
        b.newClass(7, "CWPapier");
        putItem(b, distinct("A"));
        return b;
    };
    expectFormatError(Bytes().u16(1).newClass(7, "CWPapierX").str(), "unknown class");
    expectFormatError(Bytes().u16(1).u16(0).u16(0).str(), "null item");
    expectFormatError(Bytes().u16(1).u16(0x8001).u16(0).str(), "undescribed class");
    expectFormatError(Bytes().u16(1).u16(0x8000).u16(0).str(), "class index 0");
    expectFormatError(Bytes().u16(1).newClass(1, "CKurs").record(kA1).str(), "record as item");
    for (unsigned schema : {0u, 2u})
        expectFormatError(Bytes().u16(1).raw(itemA().u16(1).newClass(schema, "CKurs").record(kA1).str()).str(),
                          "CKurs schema " + std::to_string(schema));
    expectFormatError(Bytes().u16(1).raw(itemA().u16(1).u16(0).str()).str(), "null record");
    expectFormatError(Bytes().u16(1).raw(itemA().u16(1).u16(0x8001).record(kA1).str()).str(), "item as record");
    expectFormatError(Bytes().u16(2).raw(itemA().u16(0).u16(0x0002).u16(0).str()).str(), "back reference");
    expectFormatError(Bytes().u16(2).raw(itemA().u16(0).u16(0x7FFF).u32(2).u16(0).str()).str(), "long reference");
    const Bytes twice = itemA().u16(2).newClass(1, "CKurs").record(kA1).u16(0x0004).record(kA2);
    expectFormatError(Bytes().u16(1).raw(twice.str()).str(), "record back reference");
}

TEST(ArchiveRead, HugeCountsAndLengthsFailFast)
{
    expectFormatError(Bytes().u16(0xFFFF).u32(0xFFFFFFFF).u16(0x8001).str(), "item count");
    const Bytes item = Bytes().u16(1).newClass(7, "CWPapier");
    expectFormatError(Bytes(item).u8(0xFF).u16(0xFFFF).u32(0xFFFFFFF0).raw("abc").str(), "text length");
    expectFormatError(Bytes(item).u8(0xFF).u16(0xFFFE).u8(0xFF).u16(0xFFFF).u32(0x7FFFFFFF).str(), "wide length");
    expectFormatError(Bytes().u16(1).u16(0xFFFF).u16(7).u16(0xFFFF).raw("CWPapier").str(), "class name length");
    Bytes history;
    history.u16(1).newClass(7, "CWPapier");
    putItem(history, distinct());
    history.u16(0xFFFF).u32(0xFFFFFFFF).newClass(1, "CKurs").record(kA1);
    expectFormatError(history.str(), "history count");
}

TEST(ArchiveFiles, OpenErrors)
{
    const fs::path folder = tempFolder();
    const std::string empty = (folder / "empty.qvx").string();
    std::ofstream(empty).close();
    const LoadResult zero = loadPortfolioFile(empty);
    EXPECT_FALSE(zero.ok());
    EXPECT_EQ(zero.message(), "Unexpected file format.");

    const std::string missing = (folder / "missing.qvx").string();
    const LoadResult none = loadPortfolioFile(missing);
    EXPECT_FALSE(none.ok());
    EXPECT_EQ(none.message(),
              missing + "\nCannot find this file.\nPlease verify that the correct path and file name are given.");
}

TEST(ArchiveFiles, BytesAfterTheLastItemAreNamedInAWarning)
{
    const LoadResult one = loadItems(indexExample() + "x");
    ASSERT_TRUE(one.ok()) << one.message();
    EXPECT_EQ(one->items.size(), 2u);
    EXPECT_EQ(one->warning, "1 byte after the last item was passed over.");

    // Far into a file of many read blocks, after a whole portfolio.
    const fs::path folder = tempFolder();
    const std::string path = (folder / "tail.qvx").string();
    const std::string tail(3 << 20, '\0');
    std::ofstream(path, std::ios::binary) << indexExample() << tail;
    const LoadResult loaded = loadPortfolioFile(path);
    ASSERT_TRUE(loaded.ok()) << loaded.message();
    ASSERT_EQ(loaded->items.size(), 2u);
    EXPECT_EQ(loaded->items[1]->history(), (std::vector<Quotation>{kB1}));
    EXPECT_EQ(loaded->warning, path + ": " + std::to_string(tail.size()) + " bytes after the last item were passed over.");
}

// Items without fields take 4 bytes of a file and hundreds in memory. A load stays
// within the program's target of 64 MiB and 40 bytes for each byte of the file, and
// refuses a file of nothing else once the slack is spent.
TEST(ArchiveFiles, ItemsWithoutFieldsStayWithinTheMemoryBound)
{
    const fs::path folder = tempFolder();
    const std::string path = (folder / "fieldless.qvx").string();
    constexpr std::uint32_t kItems = 1 << 20;
    {
        Bytes b;
        b.u16(0xFFFF).u32(kItems).newClass(0, "CWPapier").u16(0);
        for (std::uint32_t i = 1; i < kItems; ++i)
            b.u16(0x8001).u16(0);
        std::ofstream(path, std::ios::binary) << b.str();
    }
    const std::uint64_t size = fs::file_size(path);
    std::optional<LoadResult> loaded;
    const std::size_t peak = heapcounter::peakGrowth([&] { loaded = loadPortfolioFile(path); });
    EXPECT_FALSE(loaded->ok());
    EXPECT_EQ(loaded->message(), "Unexpected file format.");
    EXPECT_LE(peak, (std::uint64_t{64} << 20) + 40 * size) << "file of " << size << " bytes";

    // Some thousands of them fit in the slack and load.
    Bytes few;
    few.u16(20000).newClass(8, "CWPapier").u16(0);
    for (int i = 1; i < 20000; ++i)
        few.u16(0x8001).u16(0);
    const LoadResult fewLoaded = loadItems(few.str());
    ASSERT_TRUE(fewLoaded.ok()) << fewLoaded.message();
    EXPECT_EQ(fewLoaded->items.size(), 20000u);
}

TEST(ArchiveFiles, FailedSavesKeepTheOldFile)
{
    const fs::path folder = tempFolder();
    const Result<void> noFolder = savePortfolioFile((folder / "absent" / "p.qvx").string(), {});
    EXPECT_FALSE(noFolder.ok());
    EXPECT_EQ(noFolder.message(), "Failed to save document.");

    const std::string path = (folder / "p.qvx").string();
    std::ofstream(path, std::ios::binary) << indexExample();

    // A disk that fills up: a file size limit in a child process.
    std::vector<SecurityItem> items(2000);
    std::vector<const SecurityItem*> pointers;
    for (const SecurityItem& item : items)
        pointers.push_back(&item);
    EXPECT_TRUE(test::holdsOnFullDisk(4096, [&] {
        const Result<void> full = savePortfolioFile(path, pointers);
        return !full.ok() && full.message() == "Destination disk drive is full.";
    }));
    EXPECT_EQ(readFile(path), indexExample());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

} // namespace
} // namespace tarvelo
