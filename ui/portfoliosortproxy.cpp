#include "ui/portfoliosortproxy.h"

#include "model/portfoliolist.h"
#include "ui/portfoliolistmodel.h"

#include <QTimer>

#include <algorithm>
#include <iterator>
#include <utility>

namespace tarvelo {

namespace {

// Beyond this many separate runs of changed rows the views hear of one span instead:
// each notice costs a view a search for the row.
constexpr std::size_t kSeparateRuns = 16;

} // namespace

PortfolioSortProxy::PortfolioSortProxy(PortfolioListModel& source, QObject* parent)
    : QAbstractProxyModel(parent), m_source(source)
{
    m_placing = new QTimer(this);
    m_placing->setSingleShot(true);
    m_placing->setInterval(0);
    connect(m_placing, &QTimer::timeout, this, &PortfolioSortProxy::placeChangedRows);

    QAbstractProxyModel::setSourceModel(&source);
    connect(&source, &QAbstractItemModel::dataChanged, this, &PortfolioSortProxy::sourceDataChanged);
    // A new row finds its place among rows that are all in place.
    connect(&source, &QAbstractItemModel::rowsAboutToBeInserted, this, &PortfolioSortProxy::placeChangedRows);
    connect(&source, &QAbstractItemModel::rowsInserted, this, &PortfolioSortProxy::sourceRowsInserted);
    connect(&source, &QAbstractItemModel::rowsAboutToBeRemoved, this, &PortfolioSortProxy::sourceRowsAboutToBeRemoved);
    connect(&source, &QAbstractItemModel::rowsRemoved, this, &PortfolioSortProxy::sourceRowsRemoved);
    connect(&source, &QAbstractItemModel::modelAboutToBeReset, this, &PortfolioSortProxy::beginResetModel);
    connect(&source, &QAbstractItemModel::modelReset, this, &PortfolioSortProxy::sourceReset);
    arrange();
}

QModelIndex PortfolioSortProxy::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    return createIndex(row, column);
}

QModelIndex PortfolioSortProxy::parent(const QModelIndex&) const
{
    return {};
}

int PortfolioSortProxy::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_sourceRowAt.size());
}

int PortfolioSortProxy::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_source.columnCount();
}

bool PortfolioSortProxy::hasChildren(const QModelIndex& parent) const
{
    return !parent.isValid() && !m_sourceRowAt.empty();
}

QModelIndex PortfolioSortProxy::mapToSource(const QModelIndex& proxyIndex) const
{
    if (!proxyIndex.isValid() || proxyIndex.model() != this || proxyIndex.row() >= rowCount())
        return {};
    return m_source.index(m_sourceRowAt[static_cast<std::size_t>(proxyIndex.row())], proxyIndex.column());
}

QModelIndex PortfolioSortProxy::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid() || sourceIndex.model() != &m_source)
        return {};
    const int row = proxyRow(sourceIndex.row());
    return row < 0 ? QModelIndex() : index(row, sourceIndex.column());
}

QVariant PortfolioSortProxy::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The columns are the source's, also while there are no rows to map through.
    if (orientation == Qt::Horizontal)
        return m_source.headerData(section, orientation, role);
    return QAbstractProxyModel::headerData(section, orientation, role);
}

int PortfolioSortProxy::sortColumn() const
{
    return m_source.sortColumn();
}

int PortfolioSortProxy::proxyRow(int sourceRow) const
{
    return sourceRow >= 0 && sourceRow < static_cast<int>(m_proxyRowOf.size())
               ? m_proxyRowOf[static_cast<std::size_t>(sourceRow)]
               : -1;
}

bool PortfolioSortProxy::before(int a, int b) const
{
    const int c = compareRowKeys(m_source.sortKey(a), m_source.sortKey(b), m_source.sortColumn());
    if (c != 0)
        return m_reverse ? c > 0 : c < 0;
    return a < b;
}

void PortfolioSortProxy::sort(int column, Qt::SortOrder order)
{
    // The rows keep their order between changes: in the same order only the changed
    // ones need placing.
    if (column == sortColumn() && order == sortOrder()) {
        placeChangedRows();
        return;
    }
    m_placing->stop();
    const std::vector<int> changed = takeChangedRows();
    m_source.setSortColumn(column);
    m_reverse = order == Qt::DescendingOrder;
    std::vector<int> sorted = m_sourceRowAt;
    std::sort(sorted.begin(), sorted.end(), [this](int a, int b) { return before(a, b); });
    if (sorted != m_sourceRowAt)
        reorder(std::move(sorted));
    announce(changed);
}

void PortfolioSortProxy::placeChangedRows()
{
    m_placing->stop();
    if (m_changed.empty())
        return;
    // The rows that did not change are in order among themselves, so when every changed
    // row is in order with its neighbours, all are (an update that changed no row's key,
    // say).
    const int rows = rowCount();
    const bool inPlace = std::all_of(m_changed.begin(), m_changed.end(), [&](int row) {
        const int at = proxyRow(row);
        return (at == 0 || before(m_sourceRowAt[static_cast<std::size_t>(at) - 1], row))
            && (at + 1 == rows || before(row, m_sourceRowAt[static_cast<std::size_t>(at) + 1]));
    });
    if (inPlace) {
        announce(takeChangedRows());
        emit rowsPlaced();
        return;
    }
    // Otherwise the changed rows, sorted, merge into the others in one pass.
    std::vector<int> kept;
    kept.reserve(m_sourceRowAt.size());
    for (const int row : m_sourceRowAt) {
        if (!m_isChanged[static_cast<std::size_t>(row)])
            kept.push_back(row);
    }
    const std::vector<int> changed = takeChangedRows();
    std::vector<int> placed = changed;
    const auto less = [this](int a, int b) { return before(a, b); };
    std::sort(placed.begin(), placed.end(), less);
    std::vector<int> merged;
    merged.reserve(m_sourceRowAt.size());
    std::merge(kept.begin(), kept.end(), placed.begin(), placed.end(), std::back_inserter(merged), less);
    if (merged != m_sourceRowAt)
        reorder(std::move(merged));
    announce(changed);
    emit rowsPlaced();
}

std::vector<int> PortfolioSortProxy::takeChangedRows()
{
    for (const int row : m_changed)
        m_isChanged[static_cast<std::size_t>(row)] = 0;
    return std::exchange(m_changed, {});
}

void PortfolioSortProxy::reorder(std::vector<int> order)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Taken after the notice: the selection keeps one persistent index per selected row
    // for the change.
    const QModelIndexList from = persistentIndexList();
    const std::vector<int> previous = std::exchange(m_sourceRowAt, std::move(order));
    mapRows();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& index : from) {
        const bool mapped = index.isValid() && index.row() < static_cast<int>(previous.size());
        to.append(mapped ? this->index(proxyRow(previous[static_cast<std::size_t>(index.row())]), index.column())
                         : QModelIndex());
    }
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void PortfolioSortProxy::announce(const std::vector<int>& sourceRows)
{
    std::vector<int> rows;
    rows.reserve(sourceRows.size());
    for (const int row : sourceRows) {
        if (const int at = proxyRow(row); at >= 0)
            rows.push_back(at);
    }
    if (rows.empty())
        return;
    std::sort(rows.begin(), rows.end());
    std::vector<std::pair<int, int>> runs;
    for (const int row : rows) {
        if (!runs.empty() && runs.back().second + 1 == row)
            runs.back().second = row;
        else
            runs.emplace_back(row, row);
    }
    if (runs.size() > kSeparateRuns)
        runs = {{rows.front(), rows.back()}};
    const int last = columnCount() - 1;
    for (const auto& [first, end] : runs)
        emit dataChanged(index(first, 0), index(end, last));
}

void PortfolioSortProxy::mapRows()
{
    m_proxyRowOf.assign(static_cast<std::size_t>(m_source.rowCount()), -1);
    for (std::size_t at = 0; at < m_sourceRowAt.size(); ++at) {
        const auto row = static_cast<std::size_t>(m_sourceRowAt[at]);
        if (row < m_proxyRowOf.size())
            m_proxyRowOf[row] = static_cast<int>(at);
    }
}

void PortfolioSortProxy::sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight)
{
    if (!topLeft.isValid() || !bottomRight.isValid())
        return;
    const int end = std::min(bottomRight.row(), static_cast<int>(m_isChanged.size()) - 1);
    for (int row = topLeft.row(); row <= end; ++row) {
        char& marked = m_isChanged[static_cast<std::size_t>(row)];
        if (!marked) {
            marked = 1;
            m_changed.push_back(row);
        }
    }
    if (!m_placing->isActive())
        m_placing->start();
}

void PortfolioSortProxy::sourceRowsInserted(const QModelIndex& parent, int start, int end)
{
    if (parent.isValid())
        return;
    const int count = end - start + 1;
    for (int& row : m_sourceRowAt)
        row += row >= start ? count : 0;
    for (int& row : m_changed)
        row += row >= start ? count : 0;
    m_isChanged.insert(m_isChanged.begin() + start, static_cast<std::size_t>(count), 0);
    mapRows();
    for (int row = start; row <= end; ++row) {
        // After every row that does not stand below it: equal keys keep portfolio order.
        const auto place = std::upper_bound(m_sourceRowAt.begin(), m_sourceRowAt.end(), row,
                                            [this](int a, int b) { return before(a, b); });
        const int at = static_cast<int>(place - m_sourceRowAt.begin());
        beginInsertRows(QModelIndex(), at, at);
        m_sourceRowAt.insert(place, row);
        mapRows();
        endInsertRows();
    }
}

void PortfolioSortProxy::sourceRowsAboutToBeRemoved(const QModelIndex& parent, int start, int end)
{
    if (parent.isValid())
        return;
    std::vector<int> rows;
    for (int row = start; row <= end; ++row) {
        if (const int at = proxyRow(row); at >= 0)
            rows.push_back(at);
    }
    std::sort(rows.begin(), rows.end());
    // Runs from the bottom up, so that the rows above keep their numbers meanwhile.
    while (!rows.empty()) {
        const int last = rows.back();
        int first = last;
        rows.pop_back();
        while (!rows.empty() && rows.back() == first - 1) {
            first = rows.back();
            rows.pop_back();
        }
        beginRemoveRows(QModelIndex(), first, last);
        m_sourceRowAt.erase(m_sourceRowAt.begin() + first, m_sourceRowAt.begin() + last + 1);
        mapRows();
        endRemoveRows();
    }
}

void PortfolioSortProxy::sourceRowsRemoved(const QModelIndex& parent, int start, int end)
{
    if (parent.isValid())
        return;
    const int count = end - start + 1;
    for (int& row : m_sourceRowAt)
        row -= row > end ? count : 0;
    std::erase_if(m_changed, [&](int row) { return row >= start && row <= end; });
    for (int& row : m_changed)
        row -= row > end ? count : 0;
    m_isChanged.erase(m_isChanged.begin() + start, m_isChanged.begin() + end + 1);
    mapRows();
}

void PortfolioSortProxy::sourceReset()
{
    arrange();
    endResetModel();
}

void PortfolioSortProxy::arrange()
{
    m_placing->stop();
    const int count = m_source.rowCount();
    m_sourceRowAt.resize(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row)
        m_sourceRowAt[static_cast<std::size_t>(row)] = row;
    std::sort(m_sourceRowAt.begin(), m_sourceRowAt.end(), [this](int a, int b) { return before(a, b); });
    m_changed.clear();
    m_isChanged.assign(static_cast<std::size_t>(count), 0);
    mapRows();
}

} // namespace tarvelo
