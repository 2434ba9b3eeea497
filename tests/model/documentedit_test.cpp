// Undo and redo of recorded steps: every kind of change the window makes, taken back and
// made again to the bit, and a merge after undo that adds nothing undone.
#include "model/archive.h"
#include "model/documentedit.h"
#include "model/investment.h"
#include "model/portfoliodocument.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace tarvelo {
namespace {

// Collects the steps as the window's stack would.
struct Steps : EditListener {
    void editRecorded(const std::string& label, std::unique_ptr<DocumentEdit> edit) override
    {
        labels.push_back(label);
        edits.push_back(std::move(edit));
    }
    void editsDropped() override
    {
        edits.clear();
        labels.clear();
        ++dropped;
    }
    std::vector<std::string> labels;
    std::vector<std::unique_ptr<DocumentEdit>> edits;
    int dropped = 0;
};

// Everything the document holds, in order, values to the bit.
struct Snapshot {
    struct Item {
        std::uint64_t key;
        ItemSettings settings;
        std::vector<std::pair<std::int32_t, std::uint64_t>> history;
        bool operator==(const Item&) const = default;
    };
    std::vector<Item> items;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const PortfolioDocument& doc)
{
    Snapshot shot;
    for (const ItemKey pos : doc.itemPositions()) {
        const SecurityItem* item = doc.item(pos);
        Snapshot::Item entry{pos.key, item->settings(), {}};
        for (const Quotation& q : item->history())
            entry.history.emplace_back(q.time, std::bit_cast<std::uint64_t>(q.value));
        shot.items.push_back(std::move(entry));
    }
    return shot;
}

std::string describe(const Snapshot& shot)
{
    std::string text;
    for (const auto& item : shot.items)
        text += std::to_string(item.key) + " " + item.settings.name + " (" + std::to_string(item.history.size())
              + " records, quantity " + std::to_string(item.settings.quantity) + ")\n";
    return text;
}

// Three items with histories that hold equal times and values that 1/X and a split by 3
// do not give back exactly.
class DocumentEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::mt19937 random(7);
        std::uniform_real_distribution<double> price(1.0, 500.0);
        for (const char* name : {"Alpha", "Beta", "Gamma"}) {
            ItemSettings settings;
            settings.name = name;
            settings.server.url = std::string("http://example.invalid/") + name;
            settings.quantity = 10;
            settings.averageBuyPrice = 20;
            const ItemKey pos = doc.addItem(settings);
            std::vector<Quotation> history;
            for (int i = 0; i < 40; ++i)
                history.push_back({1'600'000'000 + (i / 2) * 86400, price(random)});
            history.push_back({1'600'000'000 + 30 * 86400, 0.0});
            doc.insertQuotations(pos, history);
            keys.push_back(pos);
        }
        doc.setEditListener(&steps);
    }
    void TearDown() override { doc.setEditListener(nullptr); }

    PortfolioDocument doc;
    Steps steps;
    std::vector<ItemKey> keys;
};

TEST_F(DocumentEditTest, EveryKindOfChangeIsUndoneAndRedoneExactly)
{
    const auto settingsWith = [&](ItemKey pos, const std::function<void(ItemSettings&)>& change) {
        ItemSettings settings = doc.item(pos)->settings();
        change(settings);
        doc.replaceItemSettings(pos, settings);
    };
    struct Case {
        const char* name;
        std::function<void()> change;
    };
    const std::vector<Case> cases = {
        {"insert item", [&] { doc.addItem(ItemSettings{}); }},
        {"delete items (and cut)", [&] { doc.deleteItems({keys[1], keys[0]}); }},
        {"rename item", [&] { settingsWith(keys[1], [](ItemSettings& s) { s.name = "Beta renamed"; }); }},
        {"edit item", [&] { settingsWith(keys[2], [](ItemSettings& s) { s.memo = "memo"; s.chart.showGrid = false; }); }},
        {"paste",
         [&] {
             auto copy = std::make_unique<SecurityItem>(*doc.item(keys[0]));
             copy->settings().name = "Copy of Alpha";
             doc.addItemObject(std::move(copy));
         }},
        {"manual quotation", [&] { doc.insertQuotation(keys[0], 12.5, 1'600'000'000 + 5 * 86400); }},
        {"insert quotation", [&] { doc.insertQuotation(keys[0], 1.0, 1'500'000'000); }},
        {"modify quotation", [&] { doc.modifyQuotation(keys[1], 3, 99.0, 1'700'000'000); }},
        {"delete quotation", [&] { doc.deleteQuotation(keys[2], 7); }},
        {"delete all quotations", [&] { doc.deleteAllQuotations(keys[2]); }},
        {"split", [&] { doc.splitQuotations(keys[0], 25, 3.0); }},
        {"1/X", [&] { doc.invertQuotations(keys[1]); }},
        {"buy",
         [&] { settingsWith(keys[0], [](ItemSettings& s) { bookBuy(s, BuyOrder{10, 30, 2.5}); }); }},
        {"sell",
         [&] { settingsWith(keys[0], [](ItemSettings& s) { bookSell(s, SellOrder{4, 31, 1}); }); }},
        {"dividends", [&] { settingsWith(keys[0], [](ItemSettings& s) { bookDividend(s, 7.3); }); }},
        {"import",
         [&] {
             // Out of order, times the history holds already, a record it holds (left
             // out) and two of the same time.
             const std::vector<Quotation> batch = {{1'600'000'000 + 3 * 86400, 7.0},
                                                   {1'590'000'000, 8.0},
                                                   {1'600'000'000 + 3 * 86400, 6.0},
                                                   doc.item(keys[2])->history()[10],
                                                   {1'700'000'000, 9.0},
                                                   {1'600'000'000 + 10 * 86400, 5.0}};
             doc.insertQuotations(keys[2], batch);
         }},
        {"property sheet with its investment", [&] {
             settingsWith(keys[1], [](ItemSettings& s) {
                 s.symbol = "BET";
                 bookBuy(s, BuyOrder{1, 2, 0});
             });
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Snapshot before = snapshot(doc);
        steps.edits.clear();
        doc.recordEdit(c.name, c.change);
        ASSERT_EQ(steps.edits.size(), 1u);
        EXPECT_EQ(steps.labels.back(), c.name);
        const Snapshot after = snapshot(doc);
        ASSERT_NE(before, after);
        DocumentEdit& edit = *steps.edits.back();
        for (int round = 0; round < 2; ++round) {
            doc.setModified(false);
            ASSERT_TRUE(doc.undo(edit));
            EXPECT_TRUE(doc.isModified());
            EXPECT_EQ(snapshot(doc), before) << describe(snapshot(doc)) << "expected\n" << describe(before);
            ASSERT_TRUE(doc.redo(edit));
            EXPECT_EQ(snapshot(doc), after) << describe(snapshot(doc)) << "expected\n" << describe(after);
        }
        // The next case starts from the original portfolio.
        doc.undo(edit);
    }

    // Quotations a download stored gather outside any named step, one step per flush.
    const Snapshot before = snapshot(doc);
    doc.markBeingUpdated(keys[0]);
    doc.markBeingUpdated(keys[1]);
    doc.applyDownloadedQuotation(keys[0], {1'700'000'100, 41.0});
    doc.applyDownloadedQuotation(keys[1], {1'600'000'000, 4100.0}); // before the old records of its time
    steps.edits.clear();
    doc.flushLooseEdit();
    ASSERT_EQ(steps.edits.size(), 1u);
    EXPECT_EQ(steps.labels.back(), "");
    const Snapshot after = snapshot(doc);
    ASSERT_TRUE(doc.undo(*steps.edits.back()));
    EXPECT_EQ(snapshot(doc), before);
    ASSERT_TRUE(doc.redo(*steps.edits.back()));
    EXPECT_EQ(snapshot(doc), after);
}

TEST_F(DocumentEditTest, StepsRecordedAroundAnUndoneDeleteFindTheirItemAgain)
{
    const Snapshot original = snapshot(doc);
    // Steps before and after a delete name the item by its key, which it keeps.
    doc.recordEdit("a", [&] { doc.insertQuotation(keys[1], 1.5, 1'800'000'000); });
    doc.recordEdit("b", [&] { doc.deleteItems({keys[1]}); });
    ASSERT_TRUE(doc.undo(*steps.edits[1]));
    EXPECT_EQ(doc.itemPositions()[1], keys[1]); // back at its place
    steps.edits.pop_back(); // a new step drops the undone one, as the stack does
    doc.recordEdit("c", [&] { doc.splitQuotations(keys[1], 3, 2.0); });
    doc.recordEdit("d", [&] { doc.deleteItems({keys[1]}); });
    ASSERT_EQ(steps.edits.size(), 3u);
    const Snapshot done = snapshot(doc);
    for (int i = 2; i >= 0; --i)
        ASSERT_TRUE(doc.undo(*steps.edits[static_cast<std::size_t>(i)]));
    EXPECT_EQ(snapshot(doc), original);
    for (const auto& edit : steps.edits)
        ASSERT_TRUE(doc.redo(*edit));
    EXPECT_EQ(snapshot(doc), done);
    EXPECT_FALSE(doc.isValid(keys[1]));

    // A change of no substance is no step; a step of other contents changes nothing.
    doc.recordEdit("nothing", [&] { doc.replaceItemSettings(keys[0], doc.item(keys[0])->settings()); });
    EXPECT_EQ(steps.edits.size(), 3u);
    std::unique_ptr<DocumentEdit> old = std::move(steps.edits[0]);
    doc.startNew();
    EXPECT_EQ(steps.dropped, 1);
    EXPECT_TRUE(steps.edits.empty());
    EXPECT_FALSE(doc.undo(*old));
}

TEST_F(DocumentEditTest, AMergedSaveAfterUndoAddsNothingUndone)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("edit-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "Depot.qvx").string();
    ASSERT_TRUE(doc.saveFile(path).ok());
    ASSERT_TRUE(doc.openFile(path).ok());

    // An item, a typed quotation and an import, all taken back; a new item kept.
    ItemSettings undone;
    undone.name = "Undone";
    doc.recordEdit("insert", [&] { doc.addItem(undone); });
    const ItemKey alpha = doc.itemPositions()[0];
    doc.recordEdit("manual", [&] { doc.insertQuotation(alpha, 77.0, 1'750'000'000); });
    doc.recordEdit("import", [&] {
        doc.insertQuotations(alpha, std::vector<Quotation>{{1'750'000'100, 78.0}, {1'750'000'200, 79.0}});
    });
    ItemSettings kept;
    kept.name = "Kept";
    doc.recordEdit("kept", [&] { doc.addItem(kept); });
    ASSERT_EQ(steps.edits.size(), 4u);
    ASSERT_TRUE(doc.undo(*steps.edits[3]));
    ASSERT_TRUE(doc.undo(*steps.edits[2]));
    ASSERT_TRUE(doc.undo(*steps.edits[1]));
    ASSERT_TRUE(doc.undo(*steps.edits[0]));
    ASSERT_TRUE(doc.redo(*steps.edits[0]));
    ASSERT_TRUE(doc.undo(*steps.edits[0]));
    ASSERT_TRUE(doc.redo(*steps.edits[1]));
    ASSERT_TRUE(doc.undo(*steps.edits[1]));
    ASSERT_TRUE(doc.redo(*steps.edits[3]));
    EXPECT_TRUE(doc.isModified());
    // Withdrawn additions are no other change: the merge happens without asking.
    EXPECT_TRUE(doc.changedOnlyByAdditions());

    // Meanwhile another program stores a quotation.
    {
        PortfolioDocument other;
        ASSERT_TRUE(other.openFile(path).ok());
        other.insertQuotation(other.itemPositions()[1], 5.0, 1'760'000'000);
        ASSERT_TRUE(other.saveFile(path).ok());
    }
    const DocumentResult merged = doc.saveMerged();
    ASSERT_TRUE(merged.ok()) << merged.message();
    EXPECT_EQ(steps.dropped, 2); // the open, and the merge that took in the other's quotation
    const LoadResult saved = loadPortfolioFile(path);
    ASSERT_TRUE(saved.ok());
    std::vector<std::string> names;
    for (const auto& item : saved->items)
        names.push_back(item->settings().name);
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "Beta", "Gamma", "Kept"}));
    EXPECT_EQ(saved->items[0]->history().size(), 41u);
    EXPECT_EQ(saved->items[1]->history().size(), 42u);

    // Undo after a save: modified again, and a change a merge cannot carry.
    doc.recordEdit("delete", [&] { doc.deleteQuotation(alpha, 0); });
    ASSERT_TRUE(doc.saveFile(path).ok());
    EXPECT_FALSE(doc.isModified());
    ASSERT_TRUE(doc.undo(*steps.edits.back()));
    EXPECT_TRUE(doc.isModified());
    EXPECT_FALSE(doc.changedOnlyByAdditions());
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace tarvelo
