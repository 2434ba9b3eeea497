#include "ui/portfoliolistmodel.h"

#include "model/profilesettings.h"
#include "platform/profile.h"
#include "ui/portfoliolistview.h"
#include "ui/portfoliosortproxy.h"

#include "tests/support/scopedtimezone.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <clocale>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

class PortfolioListModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::setlocale(LC_ALL, "C");
        for (const char* section : {"Columns", "SortColumn", "SortReverse", "ProcentualValue"})
            Profile().deleteKey(section);
        m_now = makeLocalTime(2026, 12, 7, 16, 0);
    }
    ItemKey add(const std::string& name, std::vector<double> values)
    {
        ItemSettings settings;
        settings.name = name;
        settings.quantity = 3;
        settings.averageBuyPrice = 2;
        const ItemKey pos = m_doc.addItem(settings);
        TimeStamp time = makeLocalTime(2026, 12, 1, 10);
        for (const double value : values) {
            m_doc.insertQuotation(pos, value, time);
            time += 86400;
        }
        return pos;
    }
    static QString text(const QAbstractItemModel& model, int row, int column)
    {
        return model.index(row, column).data().toString();
    }
    static std::vector<QString> columnTexts(const PortfolioListView& view, int column)
    {
        std::vector<QString> texts;
        for (int row = 0; row < view.model()->rowCount(); ++row)
            texts.push_back(text(*view.model(), row, column));
        return texts;
    }
    static std::vector<ItemKey> rowKeys(const PortfolioListView& view)
    {
        std::vector<ItemKey> keys;
        for (int row = 0; row < view.model()->rowCount(); ++row)
            keys.push_back(ItemKey{view.model()->index(row, 0).data(PortfolioListModel::kKeyRole).toULongLong()});
        return keys;
    }
    // The item names in the order of the list rules of the core, as the command line
    // lists them.
    std::vector<QString> namesByRules(int column, bool reverse) const
    {
        std::vector<QString> names;
        for (const SecurityItem* item : sortedRows(m_doc.items(), column, reverse))
            names.push_back(QString::fromStdString(item->settings().name));
        return names;
    }
    static std::vector<ItemKey> sortedKeys(std::vector<ItemKey> keys)
    {
        std::sort(keys.begin(), keys.end(), [](ItemKey a, ItemKey b) { return a.key < b.key; });
        return keys;
    }
    static QModelIndex argumentIndex(const QSignalSpy& spy, int signal, int argument)
    {
        return qvariant_cast<QModelIndex>(spy.at(signal).at(argument));
    }

    test::ScopedTimeZone m_zone{"UTC"};
    PortfolioDocument m_doc;
    TimeStamp m_now = 0;
};

TEST_F(PortfolioListModelTest, AMergedFileOfAHundredItemsShowsAsAFreshListAndKeepsTheSelection)
{
    std::vector<ItemKey> keys;
    for (int i = 0; i < 100; ++i)
        keys.push_back(add("Item" + std::to_string(i), {static_cast<double>(i * 37 % 100) + 1}));
    const fs::path folder = fs::temp_directory_path() / "listmodel-test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string path = (folder / "merged.qvx").string();
    ASSERT_TRUE(m_doc.saveFile(path).ok());

    PortfolioListView view(m_doc);
    view.setNow(m_now);
    view.sortBy(2);
    view.setCurrentPosition(keys[17]);
    const std::vector<ItemKey> before = rowKeys(view);
    for (const ItemKey item : {keys[3], keys[80]}) {
        const auto at = std::find(before.begin(), before.end(), item) - before.begin();
        view.selectionModel()->select(view.model()->index(static_cast<int>(at), 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    ASSERT_EQ(view.currentPosition(), keys[17]);
    const std::vector<ItemKey> selected = sortedKeys(view.selectedPositions());
    ASSERT_EQ(selected, sortedKeys({keys[3], keys[17], keys[80]}));

    // Another program brings a new quotation for every item, which sends most rows
    // elsewhere; here one item got one too.
    {
        PortfolioDocument other;
        ASSERT_TRUE(other.openFile(path).ok());
        int i = 0;
        for (const ItemKey pos : other.itemPositions())
            other.insertQuotation(pos, static_cast<double>(i++ * 61 % 100) + 0.5, makeLocalTime(2026, 12, 7, 12));
        ASSERT_TRUE(other.saveFile(path).ok());
    }
    m_doc.insertQuotation(keys[50], 7.25, makeLocalTime(2026, 12, 7, 13));
    QSignalSpy resets(&view.listModel(), &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&view.listModel(), &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&view.listModel(), &QAbstractItemModel::rowsRemoved);
    const DocumentResult merged = m_doc.saveMerged();
    ASSERT_TRUE(merged.ok()) << merged.message();
    QCoreApplication::processEvents();
    ASSERT_EQ(m_doc.quotations(keys[50])->size(), 3u);

    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(inserted.count(), 0);
    EXPECT_EQ(removed.count(), 0);
    PortfolioListView fresh(m_doc);
    fresh.setNow(m_now);
    fresh.sortBy(2);
    ASSERT_EQ(view.model()->rowCount(), 100);
    EXPECT_EQ(rowKeys(view), rowKeys(fresh));
    for (int column = 0; column < kListColumns; ++column)
        EXPECT_EQ(columnTexts(view, column), columnTexts(fresh, column)) << column;
    EXPECT_EQ(view.amountText(), fresh.amountText());
    // The same items are current and selected, wherever their rows went, and the view's
    // own current row is the current item's.
    EXPECT_EQ(view.currentPosition(), keys[17]);
    EXPECT_EQ(sortedKeys(view.selectedPositions()), selected);
    EXPECT_EQ(rowKeys(view)[static_cast<std::size_t>(view.currentIndex().row())], keys[17]);
    fs::remove_all(folder);
}

TEST_F(PortfolioListModelTest, NoticesTouchOnlyTheRowsTheyName)
{
    std::vector<ItemKey> keys;
    for (const char* name : {"A", "B", "C", "D", "E", "F"})
        keys.push_back(add(name, {10.0 - static_cast<double>(keys.size())}));
    PortfolioListModel model(m_doc);
    model.setNow(m_now);
    PortfolioSortProxy proxy(model);
    proxy.sort(2); // by value: F E D C B A
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy shown(&proxy, &QAbstractItemModel::dataChanged);
    QSignalSpy moved(&proxy, &QAbstractItemModel::layoutChanged);

    // A quotation for one item: its row, all of its columns, at once.
    m_doc.insertQuotation(keys[3], 9.5, makeLocalTime(2026, 12, 7, 10));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(argumentIndex(changed, 0, 0), model.index(3, 0));
    EXPECT_EQ(argumentIndex(changed, 0, 1), model.index(3, kListColumns - 1));
    EXPECT_EQ(text(model, 3, 2), "9.5000");
    // The proxy tells its views once the row stands in its new place, between B and A.
    EXPECT_EQ(shown.count(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(moved.count(), 1);
    ASSERT_EQ(shown.count(), 1);
    EXPECT_EQ(argumentIndex(shown, 0, 0), proxy.index(4, 0));
    EXPECT_EQ(argumentIndex(shown, 0, 1), proxy.index(4, kListColumns - 1));
    EXPECT_EQ(text(proxy, 4, 0), "D");
    // A change that leaves the row in its place moves nothing.
    m_doc.insertQuotation(keys[3], 9.25, makeLocalTime(2026, 12, 7, 11));
    QCoreApplication::processEvents();
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(shown.count(), 2);

    // A new item is one row more at the end; deleted items take their rows alone.
    const ItemKey g = add("G", {});
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.at(0).at(1).toInt(), 6);
    EXPECT_EQ(model.key(6), g);
    EXPECT_EQ(text(proxy, 0, 0), "G"); // no value: first by value
    m_doc.deleteItems({keys[1], keys[4]});
    ASSERT_EQ(removed.count(), 2);
    EXPECT_EQ(removed.at(0).at(1).toInt(), 4);
    EXPECT_EQ(removed.at(1).at(1).toInt(), 1);
    EXPECT_EQ(model.rowCount(), 5);
    EXPECT_EQ(proxy.rowCount(), 5);
    for (int row = 0; row < model.rowCount(); ++row)
        EXPECT_EQ(model.key(row), m_doc.itemPositions()[static_cast<std::size_t>(row)]) << row;
    EXPECT_EQ(model.row(keys[4]), -1);
    EXPECT_EQ(resets.count(), 0);

    // Only a change of everything starts afresh.
    m_doc.notifyViews();
    EXPECT_EQ(resets.count(), 1);
}

TEST_F(PortfolioListModelTest, TheStoredSortOrderAndItsTiesFollowTheListRules)
{
    add("beta", {2.0});
    add("Alpha", {1.0, 2.0});
    add("gamma", {});
    add("Delta", {1.0});
    add("alpha", {5.0, 4.0, 5.0});
    add("Epsilon", {2.0});
    ListViewOptions stored;
    stored.sortColumn = 2;
    stored.sortReverse = true;
    saveListViewOptions(stored);

    // Descending by value; equal values keep the portfolio order.
    PortfolioListView view(m_doc);
    view.setNow(m_now);
    EXPECT_TRUE(view.header()->isSortIndicatorShown());
    EXPECT_EQ(view.header()->sortIndicatorSection(), 2);
    EXPECT_EQ(view.header()->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_EQ(columnTexts(view, 0),
              (std::vector<QString>{"alpha", "beta", "Alpha", "Epsilon", "Delta", "gamma"}));

    // Every column both ways as the core's list rules have it (names ignore the case of
    // letters, items without quotations count as nothing), and the arrow follows.
    for (int column = 0; column < kListColumns; ++column) {
        for (const bool reverse : {false, true}) {
            view.sortBy(column);
            ASSERT_EQ(view.sortReverse(), reverse);
            EXPECT_EQ(columnTexts(view, 0), namesByRules(column, reverse)) << column << reverse;
            EXPECT_EQ(view.header()->sortIndicatorSection(), column);
            EXPECT_EQ(view.header()->sortIndicatorOrder(), reverse ? Qt::DescendingOrder : Qt::AscendingOrder);
        }
    }

    // A changed item goes to its place among equal values by its portfolio place too.
    view.sortBy(2);
    m_doc.insertQuotation(m_doc.findItemsByName("gamma").front(), 2.0, makeLocalTime(2026, 12, 7, 10));
    m_doc.insertQuotation(m_doc.findItemsByName("alpha").front(), 0.5, makeLocalTime(2026, 12, 7, 10));
    view.placeChangedRows();
    EXPECT_EQ(columnTexts(view, 0), (std::vector<QString>{"alpha", "Delta", "beta", "Alpha", "gamma", "Epsilon"}));
    EXPECT_EQ(columnTexts(view, 0), namesByRules(2, false));

    // Clicks on the header: another column sorts ascending by it, the same one reverses.
    const auto clickHeader = [&view](int column) {
        QTest::mouseClick(view.header()->viewport(), Qt::LeftButton, {},
                          QPoint(view.header()->sectionViewportPosition(column) + 5, 5));
    };
    clickHeader(0);
    EXPECT_EQ(columnTexts(view, 0), namesByRules(0, false));
    clickHeader(0);
    EXPECT_EQ(columnTexts(view, 0), namesByRules(0, true));
    EXPECT_EQ(view.header()->sortIndicatorSection(), 0);
    EXPECT_EQ(view.header()->sortIndicatorOrder(), Qt::DescendingOrder);
}

} // namespace
} // namespace tarvelo
