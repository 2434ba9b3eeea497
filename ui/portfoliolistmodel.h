#pragma once

#include "model/portfoliodocument.h"
#include "model/portfoliolist.h"
#include "model/sourcehealth.h"
#include "ui/rowicons.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <array>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

namespace tarvelo {

// The portfolio as a table: one row per item in portfolio order, the nine columns of
// the list (texts from rowCells), the row icon in column 0 and the item's handle under
// kKeyRole. It follows the document's change notices: a changed item's row reports
// dataChanged for that row alone, an added item is inserted, deleted items' rows are
// removed, and only a change of everything resets the model. A row works out its texts
// when they are first asked for after its item changed, so a change costs no formatting
// until the row is drawn or read. Each row also keeps what it sorts by in the sort
// column, for the sorting proxy. An item whose last update failed carries a badge on its
// icon and, in column 0, a tooltip with the reason and the time of the last success. For
// screen readers the columns have written-out names, and column 0 describes its icon.
class PortfolioListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kKeyRole = Qt::UserRole; // column 0: the item's handle (qulonglong)
    static constexpr int kHealthRole = Qt::UserRole + 1; // column 0: the item's HealthMark (int)

    explicit PortfolioListModel(PortfolioDocument& doc, QObject* parent = nullptr);
    ~PortfolioListModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    ItemKey key(int row) const;
    // The row of an item; -1 when it has none.
    int row(ItemKey item) const;

    // The rows anew from the document: a model reset.
    void rebuild();
    // "Now" for the date column; 0 reads the clock.
    void setNow(TimeStamp now);
    TimeStamp now() const { return m_now; }
    // Changes in percent or as differences: every row's texts change.
    void setPercent(bool percent);
    bool percent() const { return m_percent; }
    // The column whose sort keys the rows keep.
    void setSortColumn(int column);
    int sortColumn() const { return m_sortColumn; }
    const RowSortKey& sortKey(int row) const { return m_rows[static_cast<std::size_t>(row)].sortKey; }
    // The source health of the items, by name and symbol: every row's mark follows.
    void setHealth(const std::map<HealthKey, ItemHealth>& health);

private:
    struct Row {
        Row(ItemKey key, const RowSortKey& sortKey) : key(key), sortKey(sortKey) {}
        ItemKey key;
        RowSortKey sortKey;
        mutable bool stale = true;
        mutable std::array<QString, kListColumns> texts;
        mutable int iconIndex = 0;
        mutable HealthMark mark = HealthMark::None;
        mutable QString healthTip;
    };

    void documentChanged(const DocumentChange& change);
    void itemChanged(ItemKey item);
    void itemAdded(ItemKey item);
    void removeStaleRows();
    void fill();
    void indexRows(std::size_t from);
    const Row& refreshed(int row) const;

    PortfolioDocument& m_doc;
    int m_viewToken = 0;
    std::vector<Row> m_rows;
    std::unordered_map<std::uint64_t, int> m_rowOf;
    TimeStamp m_now = 0;
    bool m_percent = true;
    int m_sortColumn = 0;
    std::map<HealthKey, ItemHealth> m_health; // the failing items only
    // The row icons, made when first shown: six pictures, each with every health mark.
    RowIconCache m_icons;
};

} // namespace tarvelo
