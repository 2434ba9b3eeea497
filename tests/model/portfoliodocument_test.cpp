// The portfolio document: item handles, the changing operations, downloaded
// quotations and the abort flag, opening and saving.
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
    PortfolioDocumentTest() : doc(2)
    {
        doc.SubscribeViews([this] { ++updates; });
        doc.SubscribeViews([this](const DocumentChange& change) { changes.push_back(change); });
    }
    void SetUp() override { g_bAbortDownloads.store(0); }
    void TearDown() override { g_bAbortDownloads.store(0); }

    ItemKey Add(const std::string& name, std::vector<Quotation> records = {})
    {
        ItemSettings settings;
        settings.name = name;
        const ItemKey pos = doc.AddItem(settings);
        for (const Quotation& record : records)
            doc.InsertQuotation(pos, record.value, record.time);
        return pos;
    }
    void ResetFlags()
    {
        doc.SetModifiedFlag(false);
        updates = 0;
        changes.clear();
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (ItemKey pos : doc.GetItemPositions())
            names.push_back(doc.GetItemName(pos));
        return names;
    }
    static std::filesystem::path TempFolder()
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
    const ItemKey a = doc.AddItem(settings);
    const ItemKey b = Add("Beta", {{10, 1}});
    const ItemKey c = Add("Gamma");
    EXPECT_EQ(doc.GetItem(a)->settings(), settings);
    EXPECT_EQ(doc.GetItemSymbol(a), "ALP");
    EXPECT_EQ(doc.GetChartOptions(a).lineColour, 0x123456u);
    EXPECT_TRUE(doc.GetItem(a)->history().empty());
    EXPECT_FALSE(doc.IsBeingUpdated(a));

    doc.DeleteItems({b});
    EXPECT_EQ(Names(), (std::vector<std::string>{"Alpha", "Gamma"}));
    EXPECT_EQ(doc.GetItemName(c), "Gamma");
    const ItemKey d = Add("Delta");
    EXPECT_NE(d, b); // a deleted item's key is never handed out again

    ResetFlags();
    EXPECT_EQ(doc.GetItem(b), nullptr);
    EXPECT_FALSE(doc.IsValid(b));
    EXPECT_EQ(doc.GetQuotations(b), nullptr);
    EXPECT_TRUE(doc.IsBeingUpdated(b));
    EXPECT_EQ(doc.GetItemName(b), "");
    EXPECT_EQ(doc.InsertQuotation(b, 1, 20), 0u);
    EXPECT_EQ(doc.ModifyQuotation(b, 0, 1, 20), -1);
    EXPECT_FALSE(doc.DeleteQuotation(b, 0));
    EXPECT_FALSE(doc.SplitQuotations(b, 0, 2));
    doc.ReplaceItemSettings(b, settings);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(updates, 0);
    EXPECT_EQ(doc.GetItemCount(), 3u);
}

TEST_F(PortfolioDocumentTest, DeleteSkipsItemsBeingUpdated)
{
    const ItemKey a = Add("A"), b = Add("B"), c = Add("C");
    doc.MarkBeingUpdated(b);
    ResetFlags();
    doc.DeleteItems({a, b, c});
    EXPECT_EQ(Names(), (std::vector<std::string>{"B"}));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(changes, (std::vector<DocumentChange>{{DocumentChange::Kind::Removed, {}}}));

    ResetFlags();
    doc.DeleteItems({b}); // nothing deleted, still a change notification
    EXPECT_EQ(doc.GetItemCount(), 1u);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(updates, 1);
}

TEST_F(PortfolioDocumentTest, EveryChangeMarksModifiedAndUpdatesViews)
{
    const ItemKey pos = Add("A", {{10, 1}, {20, 2}});
    auto item = std::make_unique<SecurityItem>();
    item->setBeingUpdated(true);
    item->AppendLoadedQuotation({5, 5});
    SecurityItem* raw = item.get();

    // Each notice names what changed: the new item, or the one item changed.
    using Kind = DocumentChange::Kind;
    struct Operation {
        const char* name;
        Kind kind;
        std::function<void()> run;
    };
    const std::vector<Operation> operations = {
        {"AddItem", Kind::Added, [&] { Add("B"); }},
        {"AddItemObject", Kind::Added,
         [&] { EXPECT_FALSE(doc.IsBeingUpdated(doc.AddItemObject(std::move(item)))); }},
        {"ReplaceItemSettings", Kind::Item, [&] { doc.ReplaceItemSettings(pos, ItemSettings{}); }},
        {"InsertQuotation", Kind::Item, [&] { doc.InsertQuotation(pos, 3, 30); }},
        {"InsertQuotations", Kind::Item, [&] { doc.InsertQuotations(pos, std::vector<Quotation>{{40, 4}}); }},
        {"ModifyQuotation", Kind::Item, [&] { EXPECT_EQ(doc.ModifyQuotation(pos, 0, 9, 50), 4); }},
        {"DeleteQuotation", Kind::Item, [&] { EXPECT_TRUE(doc.DeleteQuotation(pos, 0)); }},
        {"SplitQuotations", Kind::Item, [&] { EXPECT_TRUE(doc.SplitQuotations(pos, 0, 2)); }},
        {"InvertQuotations", Kind::Item, [&] { doc.InvertQuotations(pos); }},
        {"ApplyDownloadedQuotation", Kind::Item, [&] { EXPECT_TRUE(doc.ApplyDownloadedQuotation(pos, {60, 6})); }},
        {"DeleteAllQuotations", Kind::Item, [&] { EXPECT_TRUE(doc.DeleteAllQuotations(pos)); }},
    };
    for (const Operation& operation : operations) {
        ResetFlags();
        operation.run();
        EXPECT_TRUE(doc.IsModified()) << operation.name;
        EXPECT_EQ(updates, 1) << operation.name;
        const ItemKey named = operation.kind == Kind::Added ? doc.GetItemPositions().back() : pos;
        EXPECT_EQ(changes, (std::vector<DocumentChange>{{operation.kind, named}})) << operation.name;
    }
    // A refresh names the portfolio as a whole.
    ResetFlags();
    doc.UpdateAllViews();
    EXPECT_EQ(changes, std::vector<DocumentChange>{DocumentChange{}});
    EXPECT_EQ(doc.GetItem(doc.FindItemPos(raw))->history().size(), 1u);

    // Operations that change nothing leave the flag alone.
    ResetFlags();
    EXPECT_EQ(doc.ModifyQuotation(pos, 0, 1, 1), -1);
    EXPECT_FALSE(doc.DeleteQuotation(pos, 0));
    doc.InsertQuotation(pos, 8, 10);
    ResetFlags();
    EXPECT_FALSE(doc.SplitQuotations(pos, 0, 0));
    EXPECT_FALSE(doc.SplitQuotations(pos, 0, -1));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(updates, 0);
    EXPECT_EQ(doc.GetQuotations(pos)->front().value, 8);
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
        const ItemKey pos = Add("A", {{10, c.newest}});
        doc.MarkBeingUpdated(pos);
        ResetFlags();
        EXPECT_TRUE(doc.ApplyDownloadedQuotation(pos, {20, c.downloaded}));
        ASSERT_EQ(doc.GetQuotations(pos)->size(), 2u);
        EXPECT_DOUBLE_EQ(doc.GetQuotations(pos)->back().value, c.stored) << c.downloaded;
        EXPECT_FALSE(doc.IsBeingUpdated(pos));
        EXPECT_TRUE(doc.IsModified());
        EXPECT_GE(updates, 1);
    }
    // The ratio is taken against the newest record, wherever the new one lands.
    const ItemKey pos = Add("B", {{10, 1}, {30, 12.5}});
    doc.ApplyDownloadedQuotation(pos, {20, 1234});
    EXPECT_DOUBLE_EQ(doc.GetQuotations(pos)->at(1).value, 12.34);
}

TEST_F(PortfolioDocumentTest, AbortFlagDropsResultsUntilNoItemIsMarked)
{
    const ItemKey a = Add("A", {{10, 1}}), b = Add("B", {{10, 1}});
    doc.MarkBeingUpdated(a);
    doc.MarkBeingUpdated(b);
    g_bAbortDownloads.store(1);

    doc.ApplyDownloadedQuotation(a, {20, 2});
    EXPECT_EQ(doc.GetQuotations(a)->size(), 1u);
    EXPECT_FALSE(doc.IsBeingUpdated(a));
    EXPECT_EQ(g_bAbortDownloads.load(), 1); // B is still being updated

    doc.ApplyDownloadedQuotation(b, {20, 2});
    EXPECT_EQ(doc.GetQuotations(b)->size(), 1u);
    EXPECT_EQ(g_bAbortDownloads.load(), 0);

    doc.MarkBeingUpdated(a);
    doc.ApplyDownloadedQuotation(a, {20, 2});
    EXPECT_EQ(doc.GetQuotations(a)->size(), 2u);

    doc.MarkBeingUpdated(a);
    g_bAbortDownloads.store(1);
    doc.ClearBeingUpdated(b); // a is still marked
    EXPECT_EQ(g_bAbortDownloads.load(), 1);
    doc.OnCloseDocument();
    EXPECT_EQ(g_bAbortDownloads.load(), 0);
}

TEST_F(PortfolioDocumentTest, FailedOpenKeepsTheOpenPortfolioAndItsFile)
{
    const auto folder = TempFolder();
    Add("A", {{10, 1}});
    doc.SetPathName((folder / "mine.qvx").string());
    doc.SetModifiedFlag(false);
    const std::string missing = (folder / "missing.qvx").string();
    DocumentResult result = doc.OnOpenDocument(missing);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find(missing), std::string::npos);
    EXPECT_EQ(doc.GetItemCount(), 1u);

    const std::string damaged = (folder / "damaged.qvx").string();
    std::ofstream(damaged, std::ios::binary) << std::string("\x01\x00\xFF\xFF", 4);
    result = doc.OnOpenDocument(damaged);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Unexpected file format.");
    // A later save must not write the empty remains of a failed open over the user's file.
    EXPECT_EQ(doc.GetItemCount(), 1u);
    EXPECT_EQ(doc.GetPathName(), (folder / "mine.qvx").string());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(PortfolioDocumentTest, SaveAndOpenRoundTrip)
{
    ItemSettings settings;
    settings.name = "Alpha \xE4";
    settings.memo = "line 1\r\nline 2";
    settings.server.name = "Shared";
    const ItemKey a = doc.AddItem(settings);
    doc.InsertQuotations(a, std::vector<Quotation>{{100, 1.5}, {100, 2.5}, {50, 0.5}});
    Add("Beta");
    Add("Gamma", {{-5, -1}});
    doc.MarkBeingUpdated(a);

    const std::string path = (TempFolder() / "portfolio.qvx").string();
    ASSERT_TRUE(doc.OnSaveDocument(path).ok);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), "portfolio.qvx");

    PortfolioDocument reopened(1);
    reopened.SetModifiedFlag(true);
    ASSERT_TRUE(reopened.OnOpenDocument(path).ok);
    EXPECT_FALSE(reopened.IsModified());
    EXPECT_EQ(reopened.GetPathName(), path);
    const auto before = doc.Items(), after = reopened.Items();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i]->settings(), before[i]->settings()) << i;
        EXPECT_EQ(after[i]->history(), before[i]->history()) << i;
        EXPECT_FALSE(after[i]->isBeingUpdated());
    }
}

} // namespace
} // namespace tarvelo
