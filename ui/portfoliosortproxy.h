#pragma once

#include <QAbstractProxyModel>

#include <vector>

class QTimer;

namespace tarvelo {

class PortfolioListModel;

// The portfolio rows in the order of a column: by the rows' sort keys, descending when
// reversed, and rows with equal keys in their items' portfolio order either way (the
// source's row order is the portfolio order). A changed row is not moved at once: once
// the events of the moment are handled, or when placeChangedRows() is called, the rows
// whose items changed since move to their sorted places in one pass (a layout change
// that keeps persistent indexes, and with them the selection, on their items) and the
// views hear which rows changed. New rows go straight to their places; removed rows go.
class PortfolioSortProxy : public QAbstractProxyModel {
    Q_OBJECT
public:
    explicit PortfolioSortProxy(PortfolioListModel& source, QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Sorts by the column, descending for Qt::DescendingOrder; the rows keep their
    // persistent indexes.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    int sortColumn() const;
    Qt::SortOrder sortOrder() const { return m_reverse ? Qt::DescendingOrder : Qt::AscendingOrder; }

    // Moves the rows whose items changed to their sorted places now.
    void placeChangedRows();
    bool hasChangedRows() const { return !m_changed.empty(); }
    // The proxy row of a source row; -1 when it has none.
    int proxyRow(int sourceRow) const;

signals:
    // Changed rows were placed (whether or not any of them moved).
    void rowsPlaced();

private:
    // Whether the source row a stands above the source row b.
    bool before(int a, int b) const;
    // Takes the rows to this order (proxy row to source row) as one layout change.
    void reorder(std::vector<int> order);
    // The views hear that these source rows changed.
    void announce(const std::vector<int>& sourceRows);
    std::vector<int> takeChangedRows();
    void mapRows();
    // Every row in its sorted place, nothing changed.
    void arrange();

    void sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);
    void sourceRowsInserted(const QModelIndex& parent, int start, int end);
    void sourceRowsAboutToBeRemoved(const QModelIndex& parent, int start, int end);
    void sourceRowsRemoved(const QModelIndex& parent, int start, int end);
    void sourceReset();

    PortfolioListModel& m_source;
    bool m_reverse = false;
    std::vector<int> m_sourceRowAt; // by proxy row
    std::vector<int> m_proxyRowOf;  // by source row, -1 for none
    // The source rows changed since they were placed, and a mark by source row.
    std::vector<int> m_changed;
    std::vector<char> m_isChanged;
    QTimer* m_placing = nullptr;
};

} // namespace tarvelo
