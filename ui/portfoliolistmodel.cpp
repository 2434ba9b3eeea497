#include "ui/portfoliolistmodel.h"

#include "ui/qtexts.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <iterator>

namespace tarvelo {

namespace {

// The tooltip of an item whose last update failed: the reason, how often it failed since
// the last success, and when that was.
QString healthTip(const ItemHealth& health)
{
    const QString reason = health.lastReason.empty()
                               ? QCoreApplication::translate("tarvelo::PortfolioListModel", "unknown")
                                                     : fromCore(health.lastReason);
    const QString success = fromCore(health.lastSuccessText());
    return QCoreApplication::translate(
               "tarvelo::PortfolioListModel",
               "The last update failed: %1\nFailed updates since the last success: %2\nLast success: %3")
        .arg(reason, QString::number(health.failures), success);
}

// The columns' names as a screen reader says them: the headers, written out.
constexpr const char* kSpokenColumns[kListColumns] = {
    QT_TRANSLATE_NOOP("tarvelo::PortfolioListModel", "Item"),
    QT_TRANSLATE_NOOP("tarvelo::PortfolioListModel", "Date of the latest quotation"),
    QT_TRANSLATE_NOOP("tarvelo::PortfolioListModel", "Value"),
    QT_TRANSLATE_NOOP("tarvelo::PortfolioListModel", "Lowest value"),
    QT_TRANSLATE_NOOP("tarvelo::PortfolioListModel", "Highest value"),
    QT_TRANSLATE_NOOP("tarvelo::PortfolioListModel", "Change since the last day"),
    QT_TRANSLATE_NOOP("tarvelo::PortfolioListModel", "Change since the previous quotation"),
    QT_TRANSLATE_NOOP("tarvelo::PortfolioListModel", "Change in total"),
    QT_TRANSLATE_NOOP("tarvelo::PortfolioListModel", "Value of the holding"),
};

// What the row icon shows, in words: the change since the last day, the alarm and the
// health badge.
QString spokenIcon(int icon, HealthMark mark)
{
    static const char* const directions[] = {
        QT_TRANSLATE_NOOP("tarvelo::PortfolioListModel", "Unchanged since the last day"),
        QT_TRANSLATE_NOOP("tarvelo::PortfolioListModel", "Down since the last day"),
        QT_TRANSLATE_NOOP("tarvelo::PortfolioListModel", "Up since the last day"),
    };
    QStringList parts{QCoreApplication::translate("tarvelo::PortfolioListModel", directions[std::clamp(icon, 0, 5) % 3])};
    if (icon >= 3)
        parts << QCoreApplication::translate("tarvelo::PortfolioListModel", "an alarm holds");
    if (mark == HealthMark::Failed)
        parts << QCoreApplication::translate("tarvelo::PortfolioListModel", "the last update failed");
    else if (mark == HealthMark::HeldBack)
        parts << QCoreApplication::translate("tarvelo::PortfolioListModel", "the value found was held back");
    return parts.join(QStringLiteral(", "));
}

} // namespace

PortfolioListModel::PortfolioListModel(PortfolioDocument& doc, QObject* parent) : QAbstractTableModel(parent), m_doc(doc)
{
    fill();
    m_viewToken = m_doc.subscribeViews([this](const DocumentChange& change) { documentChanged(change); });
}

PortfolioListModel::~PortfolioListModel()
{
    m_doc.unsubscribeViews(m_viewToken);
}

int PortfolioListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int PortfolioListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kListColumns;
}

QVariant PortfolioListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kListColumns)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return refreshed(index.row()).texts[static_cast<std::size_t>(index.column())];
    case Qt::DecorationRole:
        if (index.column() == 0) {
            const Row& shown = refreshed(index.row());
            return m_icons.icon(shown.iconIndex, shown.mark);
        }
        break;
    case Qt::AccessibleDescriptionRole:
        if (index.column() == 0) {
            const Row& shown = refreshed(index.row());
            return spokenIcon(shown.iconIndex, shown.mark);
        }
        break;
    case Qt::ToolTipRole:
        if (index.column() == 0 && refreshed(index.row()).mark != HealthMark::None)
            return refreshed(index.row()).healthTip;
        break;
    case kHealthRole:
        if (index.column() == 0)
            return static_cast<int>(refreshed(index.row()).mark);
        break;
    case kKeyRole:
        if (index.column() == 0)
            return QVariant::fromValue<qulonglong>(key(index.row()).key);
        break;
    default:
        break;
    }
    return {};
}

QVariant PortfolioListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static constexpr const char* kLabels[] = {QT_TR_NOOP("Item"), QT_TR_NOOP("Date"),        QT_TR_NOOP("Value"),
                                              QT_TR_NOOP("Low"),  QT_TR_NOOP("High"),        QT_TR_NOOP("+- Last Day"),
                                              QT_TR_NOOP("+- Last"), QT_TR_NOOP("+- Total"), QT_TR_NOOP("Amount Invested")};
    static_assert(std::size(kLabels) == kListColumns);
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kListColumns)
        return tr(kLabels[section]);
    if (orientation == Qt::Horizontal && role == Qt::AccessibleTextRole && section >= 0 && section < kListColumns)
        return tr(kSpokenColumns[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

ItemKey PortfolioListModel::key(int row) const
{
    return row >= 0 && row < rowCount() ? m_rows[static_cast<std::size_t>(row)].key : ItemKey{};
}

int PortfolioListModel::row(ItemKey item) const
{
    const auto found = m_rowOf.find(item.key);
    return found == m_rowOf.end() ? -1 : found->second;
}

void PortfolioListModel::rebuild()
{
    beginResetModel();
    fill();
    endResetModel();
}

void PortfolioListModel::setNow(TimeStamp now)
{
    if (now == m_now)
        return;
    m_now = now;
    for (const Row& row : m_rows)
        row.stale = true;
    if (!m_rows.empty())
        emit dataChanged(index(0, 1), index(rowCount() - 1, 1));
}

void PortfolioListModel::setPercent(bool percent)
{
    m_percent = percent;
    for (const Row& row : m_rows)
        row.stale = true;
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, kListColumns - 1));
}

void PortfolioListModel::setSortColumn(int column)
{
    m_sortColumn = column;
    for (Row& row : m_rows) {
        if (const SecurityItem* item = m_doc.item(row.key))
            row.sortKey = rowSortKey(*item, column);
    }
}

void PortfolioListModel::setHealth(const std::map<HealthKey, ItemHealth>& health)
{
    // Only failing items are marked; a copy of every item's record would cost more than
    // the rows themselves in a large portfolio.
    std::map<HealthKey, ItemHealth> failing;
    for (const auto& [key, entry] : health) {
        if (entry.failing())
            failing.emplace(key, entry);
    }
    if (failing == m_health)
        return;
    m_health = std::move(failing);
    for (const Row& row : m_rows)
        row.stale = true;
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0),
                         {Qt::DecorationRole, Qt::ToolTipRole, kHealthRole});
}

void PortfolioListModel::documentChanged(const DocumentChange& change)
{
    switch (change.kind) {
    case DocumentChange::Kind::Item:
        itemChanged(change.item);
        return;
    case DocumentChange::Kind::Added:
        itemAdded(change.item);
        return;
    case DocumentChange::Kind::Removed:
        removeStaleRows();
        return;
    case DocumentChange::Kind::Everything:
        break;
    }
    rebuild();
}

void PortfolioListModel::itemChanged(ItemKey item)
{
    const int at = row(item);
    const SecurityItem* changed = m_doc.item(item);
    // A notice that does not match the rows (an item that got no row) starts afresh.
    if (at < 0 || !changed) {
        rebuild();
        return;
    }
    Row& changedRow = m_rows[static_cast<std::size_t>(at)];
    changedRow.stale = true;
    // Taken while the item is at hand: the proxy compares keys, never items.
    changedRow.sortKey = rowSortKey(*changed, m_sortColumn);
    emit dataChanged(index(at, 0), index(at, kListColumns - 1));
}

void PortfolioListModel::itemAdded(ItemKey item)
{
    const SecurityItem* added = m_doc.item(item);
    if (!added || row(item) >= 0) {
        rebuild();
        return;
    }
    const int at = rowCount();
    beginInsertRows(QModelIndex(), at, at);
    m_rows.emplace_back(item, rowSortKey(*added, m_sortColumn));
    m_rowOf.emplace(item.key, at);
    endInsertRows();
}

void PortfolioListModel::removeStaleRows()
{
    // Runs of rows whose items went, from the bottom up, so that the rows above keep
    // their numbers while the runs below go.
    for (int end = rowCount() - 1; end >= 0; --end) {
        if (m_doc.isValid(m_rows[static_cast<std::size_t>(end)].key))
            continue;
        int start = end;
        while (start > 0 && !m_doc.isValid(m_rows[static_cast<std::size_t>(start) - 1].key))
            --start;
        beginRemoveRows(QModelIndex(), start, end);
        for (int row = start; row <= end; ++row)
            m_rowOf.erase(m_rows[static_cast<std::size_t>(row)].key.key);
        m_rows.erase(m_rows.begin() + start, m_rows.begin() + end + 1);
        indexRows(static_cast<std::size_t>(start));
        endRemoveRows();
        end = start;
    }
}

void PortfolioListModel::fill()
{
    m_rows.clear();
    m_rowOf.clear();
    for (const ItemKey pos : m_doc.itemPositions()) {
        if (const SecurityItem* item = m_doc.item(pos))
            m_rows.emplace_back(pos, rowSortKey(*item, m_sortColumn));
    }
    indexRows(0);
}

void PortfolioListModel::indexRows(std::size_t from)
{
    for (std::size_t row = from; row < m_rows.size(); ++row)
        m_rowOf[m_rows[row].key.key] = static_cast<int>(row);
}

const PortfolioListModel::Row& PortfolioListModel::refreshed(int row) const
{
    const Row& shown = m_rows[static_cast<std::size_t>(row)];
    if (!shown.stale)
        return shown;
    // A deleted item's row keeps its last texts until it goes.
    const SecurityItem* item = m_doc.item(shown.key);
    if (!item)
        return shown;
    shown.stale = false;
    const auto cells = rowCells(*item, m_percent, m_now ? m_now : currentTime());
    for (std::size_t column = 0; column < cells.size(); ++column)
        shown.texts[column] = fromCore(cells[column]);
    shown.mark = HealthMark::None;
    shown.healthTip.clear();
    if (!m_health.empty()) {
        const auto found = m_health.find(HealthKey{item->settings().name, item->settings().symbol});
        if (found != m_health.end()) {
            shown.mark = found->second.heldBack ? HealthMark::HeldBack : HealthMark::Failed;
            shown.healthTip = healthTip(found->second);
        }
    }
    shown.iconIndex = rowIcon(*item);
    return shown;
}

} // namespace tarvelo
