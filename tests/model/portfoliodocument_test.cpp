// The portfolio document: item handles, the changing operations, downloaded
// quotations, opening and saving.
#include "model/archive.h"
#include "model/portfoliodocument.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace tarvelo {
namespace {

class PortfolioDocumentTest : public ::testing::Test {
protected:
    PortfolioDocumentTest()
    {
        doc.subscribeViews([this] { ++updates; });
        doc.subscribeViews([this](const DocumentChange& change) { changes.push_back(change); });
    }
    ItemKey add(const std::string& name, std::vector<Quotation> records = {})
    {
        ItemSettings settings;
        settings.name = name;
        const ItemKey pos = doc.addItem(settings);
        for (const Quotation& record : records)
            doc.insertQuotation(pos, record.value, record.time);
        return pos;
    }
    void resetFlags()
    {
        doc.setModified(false);
        updates = 0;
        changes.clear();
    }
    std::vector<std::string> names() const
    {
        std::vector<std::string> names;
        for (ItemKey pos : doc.itemPositions())
            names.push_back(doc.itemName(pos));
        return names;
    }
    static std::filesystem::path tempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "docXXXXXX").string();
        return ::mkdtemp(pattern.data());
    }

    PortfolioDocument doc;
    int updates = 0;
    std::vector<DocumentChange> changes;
};

TEST_F(PortfolioDocumentTest, PositionsStayValidAndStaleOnesAreRecognised)
{
    ItemSettings settings;
    settings.name = "Alpha";
    settings.symbol = "ALP";
    settings.quantity = 3;
    settings.chart.lineColour = 0x123456;
    const ItemKey a = doc.addItem(settings);
    const ItemKey b = add("Beta", {{10, 1}});
    const ItemKey c = add("Gamma");
    EXPECT_EQ(doc.item(a)->settings(), settings);
    EXPECT_EQ(doc.itemSymbol(a), "ALP");
    EXPECT_EQ(doc.chartOptions(a).lineColour, 0x123456u);
    EXPECT_TRUE(doc.item(a)->history().empty());
    EXPECT_FALSE(doc.isBeingUpdated(a));

    doc.deleteItems({b});
    EXPECT_EQ(names(), (std::vector<std::string>{"Alpha", "Gamma"}));
    EXPECT_EQ(doc.itemName(c), "Gamma");
    const ItemKey d = add("Delta");
    EXPECT_NE(d, b); // a deleted item's key is never handed out again

    resetFlags();
    EXPECT_EQ(doc.item(b), nullptr);
    EXPECT_FALSE(doc.isValid(b));
    EXPECT_EQ(doc.quotations(b), nullptr);
    EXPECT_TRUE(doc.isBeingUpdated(b));
    EXPECT_EQ(doc.itemName(b), "");
    EXPECT_EQ(doc.insertQuotation(b, 1, 20), 0u);
    EXPECT_EQ(doc.modifyQuotation(b, 0, 1, 20), -1);
    EXPECT_FALSE(doc.deleteQuotation(b, 0));
    EXPECT_FALSE(doc.splitQuotations(b, 0, 2));
    doc.replaceItemSettings(b, settings);
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(updates, 0);
    EXPECT_EQ(doc.itemCount(), 3u);
}

TEST_F(PortfolioDocumentTest, DeleteSkipsItemsBeingUpdated)
{
    const ItemKey a = add("A"), b = add("B"), c = add("C");
    doc.markBeingUpdated(b);
    resetFlags();
    doc.deleteItems({a, b, c});
    EXPECT_EQ(names(), (std::vector<std::string>{"B"}));
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(changes, (std::vector<DocumentChange>{{DocumentChange::Kind::Removed, {}}}));

    resetFlags();
    doc.deleteItems({b}); // nothing deleted, still a change notification
    EXPECT_EQ(doc.itemCount(), 1u);
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(updates, 1);
}

TEST_F(PortfolioDocumentTest, EveryChangeMarksModifiedAndUpdatesViews)
{
    const ItemKey pos = add("A", {{10, 1}, {20, 2}});
    auto item = std::make_unique<SecurityItem>();
    item->setBeingUpdated(true);
    item->appendLoadedQuotation({5, 5});
    SecurityItem* raw = item.get();

    // Each notice names what changed: the new item, or the one item changed.
    using Kind = DocumentChange::Kind;
    struct Operation {
        const char* name;
        Kind kind;
        std::function<void()> run;
    };
    const std::vector<Operation> operations = {
        {"AddItem", Kind::Added, [&] { add("B"); }},
        {"AddItemObject", Kind::Added,
         [&] { EXPECT_FALSE(doc.isBeingUpdated(doc.addItemObject(std::move(item)))); }},
        {"ReplaceItemSettings", Kind::Item, [&] { doc.replaceItemSettings(pos, ItemSettings{}); }},
        {"InsertQuotation", Kind::Item, [&] { doc.insertQuotation(pos, 3, 30); }},
        {"InsertQuotations", Kind::Item, [&] { doc.insertQuotations(pos, std::vector<Quotation>{{40, 4}}); }},
        {"ModifyQuotation", Kind::Item, [&] { EXPECT_EQ(doc.modifyQuotation(pos, 0, 9, 50), 4); }},
        {"DeleteQuotation", Kind::Item, [&] { EXPECT_TRUE(doc.deleteQuotation(pos, 0)); }},
        {"SplitQuotations", Kind::Item, [&] { EXPECT_TRUE(doc.splitQuotations(pos, 0, 2)); }},
        {"InvertQuotations", Kind::Item, [&] { doc.invertQuotations(pos); }},
        {"ApplyDownloadedQuotation", Kind::Item, [&] { EXPECT_TRUE(doc.applyDownloadedQuotation(pos, {60, 6})); }},
        {"DeleteAllQuotations", Kind::Item, [&] { EXPECT_TRUE(doc.deleteAllQuotations(pos)); }},
    };
    for (const Operation& operation : operations) {
        resetFlags();
        operation.run();
        EXPECT_TRUE(doc.isModified()) << operation.name;
        EXPECT_EQ(updates, 1) << operation.name;
        const ItemKey named = operation.kind == Kind::Added ? doc.itemPositions().back() : pos;
        EXPECT_EQ(changes, (std::vector<DocumentChange>{{operation.kind, named}})) << operation.name;
    }
    // A refresh names the portfolio as a whole.
    resetFlags();
    doc.notifyViews();
    EXPECT_EQ(changes, std::vector<DocumentChange>{DocumentChange{}});
    EXPECT_EQ(doc.item(doc.findItemPos(raw))->history().size(), 1u);

    // Operations that change nothing leave the flag alone.
    resetFlags();
    EXPECT_EQ(doc.modifyQuotation(pos, 0, 1, 1), -1);
    EXPECT_FALSE(doc.deleteQuotation(pos, 0));
    doc.insertQuotation(pos, 8, 10);
    resetFlags();
    EXPECT_FALSE(doc.splitQuotations(pos, 0, 0));
    EXPECT_FALSE(doc.splitQuotations(pos, 0, -1));
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(updates, 0);
    EXPECT_EQ(doc.quotations(pos)->front().value, 8);
}

TEST_F(PortfolioDocumentTest, DownloadedValueInHundredthsIsScaled)
{
    struct Case {
        double newest, downloaded, stored;
    };
    const Case cases[] = {
        {12.5, 1234, 12.34}, // ratio 98.72
        {12.5, 1000, 1000},  // ratio exactly 80
        {12.5, 1875, 1875},  // ratio exactly 150
        {12.5, 1001, 10.01},
        {0, 1234, 1234},     // no positive newest value
        {-1, -100, -100},
    };
    for (const Case& c : cases) {
        const ItemKey pos = add("A", {{10, c.newest}});
        doc.markBeingUpdated(pos);
        resetFlags();
        EXPECT_TRUE(doc.applyDownloadedQuotation(pos, {20, c.downloaded}));
        ASSERT_EQ(doc.quotations(pos)->size(), 2u);
        EXPECT_DOUBLE_EQ(doc.quotations(pos)->back().value, c.stored) << c.downloaded;
        EXPECT_FALSE(doc.isBeingUpdated(pos));
        EXPECT_TRUE(doc.isModified());
        EXPECT_GE(updates, 1);
    }
    // The ratio is taken against the newest record, wherever the new one lands.
    const ItemKey pos = add("B", {{10, 1}, {30, 12.5}});
    doc.applyDownloadedQuotation(pos, {20, 1234});
    EXPECT_DOUBLE_EQ(doc.quotations(pos)->at(1).value, 12.34);
}

TEST_F(PortfolioDocumentTest, FailedOpenKeepsTheOpenPortfolioAndItsFile)
{
    const auto folder = tempFolder();
    add("A", {{10, 1}});
    doc.setFilePath((folder / "mine.qvx").string());
    doc.setModified(false);
    const std::string missing = (folder / "missing.qvx").string();
    DocumentResult result = doc.openFile(missing);
    EXPECT_FALSE(result.ok());
    EXPECT_NE(result.message().find(missing), std::string::npos);
    EXPECT_EQ(doc.itemCount(), 1u);

    const std::string damaged = (folder / "damaged.qvx").string();
    std::ofstream(damaged, std::ios::binary) << std::string("\x01\x00\xFF\xFF", 4);
    result = doc.openFile(damaged);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.message(), "Unexpected file format.");
    // A later save must not write the empty remains of a failed open over the user's file.
    EXPECT_EQ(doc.itemCount(), 1u);
    EXPECT_EQ(doc.filePath(), (folder / "mine.qvx").string());
    EXPECT_FALSE(doc.isModified());
}

TEST_F(PortfolioDocumentTest, SaveAndOpenRoundTrip)
{
    ItemSettings settings;
    settings.name = "Alpha \xC3\xA4";
    settings.memo = "line 1\r\nline 2";
    settings.server.name = "Shared";
    const ItemKey a = doc.addItem(settings);
    doc.insertQuotations(a, std::vector<Quotation>{{100, 1.5}, {100, 2.5}, {50, 0.5}});
    add("Beta");
    add("Gamma", {{-5, -1}});
    doc.markBeingUpdated(a);

    const std::string path = (tempFolder() / "portfolio.qvx").string();
    ASSERT_TRUE(doc.saveFile(path).ok());
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.title(), "portfolio.qvx");

    PortfolioDocument reopened;
    reopened.setModified(true);
    ASSERT_TRUE(reopened.openFile(path).ok());
    EXPECT_FALSE(reopened.isModified());
    EXPECT_EQ(reopened.filePath(), path);
    const auto before = doc.items(), after = reopened.items();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i]->settings(), before[i]->settings()) << i;
        EXPECT_EQ(after[i]->history(), before[i]->history()) << i;
        EXPECT_FALSE(after[i]->isBeingUpdated());
    }
}

// A file that holds a name of megabytes (written before names were bounded) opens with
// the name shortened and says so; a save never cuts a text without a word.
TEST_F(PortfolioDocumentTest, TextsBeyondTheirBoundsAreShortenedOnOpenAndNeverCutOnSave)
{
    SecurityItem huge;
    huge.settings().name = std::string(5 << 20, 'N');
    huge.settings().memo = std::string(100000, 'm');
    const std::string path = (tempFolder() / "huge.qvx").string();
    ASSERT_TRUE(savePortfolioFile(path, {&huge}).ok());

    const DocumentResult opened = doc.openFile(path);
    ASSERT_TRUE(opened.ok()) << opened.message();
    EXPECT_NE(opened->warning.find("were shortened"), std::string::npos) << opened->warning;
    const SecurityItem& item = *doc.items().front();
    EXPECT_EQ(item.settings().name, std::string(kMaxItemNameLength, 'N'));
    EXPECT_EQ(item.settings().memo.size(), kMaxItemMemoLength);

    ItemSettings overlong = item.settings();
    overlong.symbol = std::string(kMaxItemNameLength + 1, 'S');
    doc.replaceItemSettings(doc.itemPositions().front(), overlong);
    const Result<void> saved = doc.saveFile(path);
    EXPECT_FALSE(saved.ok());
    EXPECT_NE(saved.message().find("symbol"), std::string::npos) << saved.message();
    EXPECT_EQ(loadPortfolioFile(path)->items.front()->settings().name.size(), std::size_t{5} << 20);
}

} // namespace
} // namespace tarvelo
