#include "ui/portfoliolistview.h"

#include "download/downloadengine.h"
#include "extraction/urltemplate.h"
#include "model/profilesettings.h"
#include "platform/profile.h"
#include "resources/strings.h"
#include "servers/serverstore.h"
#include "transfer/export.h"
#include "transfer/payload.h"
#include "ui/downloadhub.h"
#include "ui/importdialog.h"
#include "ui/itemproperties/itempropertiesdialog.h"
#include "ui/manualquotationdialog.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"
#include "ui/rowicons.h"
#include "ui/shell.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMimeData>
#include <QTimer>

#include <algorithm>
#include <array>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace tarvelo {

namespace {

ItemKey keyOf(const QTreeWidgetItem* row)
{
    return row ? ItemKey{row->data(0, Qt::UserRole).toULongLong()} : ItemKey{};
}

} // namespace

// A row that works out its texts and icon when they are asked for after its item
// changed: a change costs no formatting until the row is drawn or read.
class PortfolioRow : public QTreeWidgetItem {
public:
    PortfolioRow(const PortfolioDocument& doc, const ListViewOptions& options, const TimeStamp& now, ItemKey pos)
        : m_doc(doc), m_options(options), m_now(now), m_pos(pos)
    {
        setData(0, Qt::UserRole, QVariant::fromValue<qulonglong>(pos.key));
    }

    void itemChanged() { m_stale = true; }
    ItemKey key() const { return m_pos; }
    // Whether the item changed since the row was last put in its sorted place; marking
    // says whether the row was placed until now.
    bool unplaced() const { return m_unplaced; }
    bool markUnplaced() { return !std::exchange(m_unplaced, true); }
    void markPlaced() { m_unplaced = false; }
    // What the row sorts by in the list's column, set when the row is made and when its
    // item changes (while the item is at hand), and the item's place in the portfolio
    // for equal keys.
    const RowSortKey& sortKey() const { return m_sortKey; }
    void setSortKey(const RowSortKey& key) { m_sortKey = key; }
    std::size_t order() const { return m_order; }
    void setOrder(std::size_t order) { m_order = order; }

    QVariant data(int column, int role) const override
    {
        if (column < 0 || column >= kListColumns)
            return QTreeWidgetItem::data(column, role);
        if (role == Qt::DisplayRole || role == Qt::EditRole) {
            refresh();
            return m_texts[static_cast<std::size_t>(column)];
        }
        if (role == Qt::DecorationRole && column == 0) {
            refresh();
            return QVariant::fromValue(m_icon);
        }
        return QTreeWidgetItem::data(column, role);
    }

private:
    void refresh() const
    {
        if (!m_stale)
            return;
        m_stale = false;
        // A deleted item's row keeps its last texts until it goes.
        const SecurityItem* item = m_doc.item(m_pos);
        if (!item)
            return;
        const auto cells = rowCells(*item, m_options.percent, m_now ? m_now : currentTime());
        for (int column = 0; column < kListColumns; ++column)
            m_texts[static_cast<std::size_t>(column)] = fromCore(cells[static_cast<std::size_t>(column)]);
        m_icon = portfolioRowIcon(rowIcon(*item));
    }

    const PortfolioDocument& m_doc;
    const ListViewOptions& m_options;
    const TimeStamp& m_now;
    const ItemKey m_pos;
    mutable bool m_stale = true;
    mutable std::array<QString, kListColumns> m_texts;
    mutable QIcon m_icon;
    bool m_unplaced = false;
    RowSortKey m_sortKey;
    std::size_t m_order = 0;
};


PortfolioListView::PortfolioListView(PortfolioDocument& doc, QWidget* parent) : OwnerDrawnList(parent), m_doc(doc)
{
    setObjectName(QStringLiteral("portfolioList"));
    setColumnCount(kListColumns);
    setHeaderLabels({QStringLiteral("Item"), QStringLiteral("Date"), QStringLiteral("Value"), QStringLiteral("Low"),
                     QStringLiteral("High"), QStringLiteral("+- Last Day"), QStringLiteral("+- Last"),
                     QStringLiteral("+- Total"), QStringLiteral("Amount Invested")});
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    header()->setStretchLastSection(false);
    header()->setSectionsClickable(true);
    m_options = loadListViewOptions();
    if (!settings::kListColumnWidths.stored(Profile())) {
        // The default widths were made for a small dialog font; wider fonts get wider
        // columns until the user sets their own.
        const double digits = fontMetrics().horizontalAdvance(QStringLiteral("0123456789.")) / 60.0;
        const double scale = std::clamp(digits, 1.0, 2.0);
        for (int& width : m_options.widths)
            width = static_cast<int>(width * scale + 0.5);
    }
    for (int column = 0; column < kListColumns; ++column)
        setColumnWidth(column, m_options.widths[static_cast<std::size_t>(column)]);
    connect(header(), &QHeaderView::sectionClicked, this, &PortfolioListView::sortBy);
    connect(this, &QTreeWidget::itemSelectionChanged, this, &PortfolioListView::trackSelection);
    connect(this, &QTreeWidget::currentItemChanged, this, &PortfolioListView::trackSelection);
    m_pending = new QTimer(this);
    m_pending->setSingleShot(true);
    m_pending->setInterval(0);
    connect(m_pending, &QTimer::timeout, this, &PortfolioListView::sendTotals);
    m_viewToken = m_doc.subscribeViews([this](const DocumentChange& change) { documentChanged(change); });
    rebuild();
}

PortfolioListView::~PortfolioListView()
{
    m_doc.unsubscribeViews(m_viewToken);
}

QColor PortfolioListView::rowDotColour(const QVariant& itemData) const
{
    const SecurityItem* item = m_doc.item(ItemKey{itemData.toULongLong()});
    if (!item)
        return OwnerDrawnList::rowDotColour(itemData);
    const std::uint32_t bgr = item->settings().chart.lineColour;
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}

void PortfolioListView::rebuild()
{
    const int focusedIndex = currentItem() ? indexOfTopLevelItem(currentItem()) : -1;
    // Each item's handle and place in the portfolio.
    std::unordered_map<const SecurityItem*, std::pair<ItemKey, std::size_t>> places;
    std::vector<const SecurityItem*> items;
    m_nextOrder = 0;
    for (const ItemKey pos : m_doc.itemPositions()) {
        const SecurityItem* item = m_doc.item(pos);
        places.emplace(item, std::pair{pos, m_nextOrder++});
        items.push_back(item);
    }
    blockSignals(true);
    clear();
    m_rows.clear();
    m_changedRows.clear();
    for (const SecurityItem* item : sortedRows(items, m_options.sortColumn, m_options.sortReverse)) {
        const auto [pos, order] = places[item];
        auto* row = new PortfolioRow(m_doc, m_options, m_now, pos);
        row->setSortKey(rowSortKey(*item, m_options.sortColumn));
        row->setOrder(order);
        addTopLevelItem(row);
        m_rows.emplace(pos.key, row);
        if (std::find(m_selected.begin(), m_selected.end(), pos) != m_selected.end())
            row->setSelected(true);
    }
    settleSelection(focusedIndex);
    if (currentItem())
        scrollToItem(currentItem());
    blockSignals(false);
    trackSelection();
    m_scrollPending = false;
    m_totalsStale = false;
    m_pending->stop();
    m_amountText = fromCore(totalsText(m_doc.items(), m_options.percent));
    emit amountTextChanged(m_amountText);
}

bool PortfolioListView::settleSelection(int focusedIndex)
{
    const auto found = m_rows.find(m_current.key);
    QTreeWidgetItem* current = found == m_rows.end() ? nullptr : found->second;
    if (current) {
        if (currentItem() == current && current->isSelected())
            return false;
        setCurrentItem(current, 0, QItemSelectionModel::Select);
        return true;
    }
    // No row of the current item stays current, even one that took over its index.
    if (currentItem())
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    // Nothing focused and nothing selected (the focused item was deleted, say): the row
    // at the same place, or the last one, takes over.
    if (selectedItems().isEmpty() && topLevelItemCount() > 0) {
        const int index = std::clamp(focusedIndex < 0 ? 0 : focusedIndex, 0, topLevelItemCount() - 1);
        setCurrentItem(topLevelItem(index));
        topLevelItem(index)->setSelected(true);
    }
    return true;
}

bool PortfolioListView::sortsBefore(const RowSortKey& a, std::size_t orderA, const RowSortKey& b,
                                    std::size_t orderB) const
{
    const int c = compareRowKeys(a, b, m_options.sortColumn);
    if (c != 0)
        return m_options.sortReverse ? c > 0 : c < 0;
    return orderA < orderB;
}

bool PortfolioListView::rowBefore(const QTreeWidgetItem* a, const QTreeWidgetItem* b) const
{
    const auto* x = static_cast<const PortfolioRow*>(a);
    const auto* y = static_cast<const PortfolioRow*>(b);
    return sortsBefore(x->sortKey(), x->order(), y->sortKey(), y->order());
}

int PortfolioListView::sortedPlace(const QTreeWidgetItem* row) const
{
    // The first row that this row stands above.
    int low = 0;
    int high = topLevelItemCount();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (!rowBefore(row, topLevelItem(middle)))
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

void PortfolioListView::documentChanged(const DocumentChange& change)
{
    switch (change.kind) {
    case DocumentChange::Kind::Item:
        rowChanged(change.item);
        return;
    case DocumentChange::Kind::Added:
        addRow(change.item);
        return;
    case DocumentChange::Kind::Removed:
        removeStaleRows();
        return;
    case DocumentChange::Kind::Everything:
        break;
    }
    rebuild();
}

void PortfolioListView::rowChanged(ItemKey pos)
{
    const auto found = m_rows.find(pos.key);
    const SecurityItem* item = m_doc.item(pos);
    if (!item || found == m_rows.end()) {
        rebuild();
        return;
    }
    PortfolioRow* row = found->second;
    row->itemChanged();
    row->setSortKey(rowSortKey(*item, m_options.sortColumn));
    if (row->markUnplaced())
        m_changedRows.push_back(pos.key);
    m_scrollPending = true;
    totalsChanged();
}

void PortfolioListView::placeChangedRows()
{
    if (m_changedRows.empty())
        return;
    const int focusedIndex = currentIndex().row();
    blockSignals(true);
    // A few rows move one by one; one move costs about as much as a pass over all rows.
    const bool selectionMoved = m_changedRows.size() <= 16 ? moveChangedRows() : mergeChangedRows();
    for (const std::uint64_t key : m_changedRows) {
        if (const auto found = m_rows.find(key); found != m_rows.end())
            found->second->markPlaced();
    }
    m_changedRows.clear();
    const bool settled = settleSelection(focusedIndex);
    blockSignals(false);
    if (settled || selectionMoved)
        trackSelection();
}

bool PortfolioListView::outOfPlace(int index) const
{
    const QTreeWidgetItem* row = topLevelItem(index);
    const bool belowPrevious = index == 0 || !rowBefore(row, topLevelItem(index - 1));
    const bool aboveNext = index + 1 >= topLevelItemCount() || !rowBefore(topLevelItem(index + 1), row);
    return !belowPrevious || !aboveNext;
}

bool PortfolioListView::moveChangedRows()
{
    // Changed rows that stand on the wrong side of a neighbour come out until every row
    // left is in order with both neighbours; the unchanged rows are in order among
    // themselves, so the rows left are sorted and each row taken out goes back to its
    // place found by halving.
    std::vector<QTreeWidgetItem*> waiting;
    std::vector<std::pair<QTreeWidgetItem*, bool>> taken; // with whether it was selected
    for (const std::uint64_t key : m_changedRows) {
        const auto found = m_rows.find(key);
        if (found != m_rows.end())
            waiting.push_back(found->second);
    }
    bool selectionMoved = false;
    for (bool progress = true; progress;) {
        progress = false;
        for (auto it = waiting.begin(); it != waiting.end();) {
            const int index = indexOfTopLevelItem(*it);
            if (index < 0 || !outOfPlace(index)) {
                ++it;
                continue;
            }
            // Taking a row out drops its selection.
            taken.emplace_back(*it, (*it)->isSelected());
            takeTopLevelItem(index);
            it = waiting.erase(it);
            progress = true;
        }
    }
    for (const auto& [row, wasSelected] : taken) {
        insertTopLevelItem(sortedPlace(row), row);
        row->setSelected(wasSelected);
        // The selected items are kept in row order.
        selectionMoved = selectionMoved || wasSelected;
    }
    return selectionMoved;
}

bool PortfolioListView::mergeChangedRows()
{
    struct Entry {
        QTreeWidgetItem* row;
        RowSortKey sortKey;
        std::size_t order;
    };
    // The rows' own keys: no item is looked up, so the pass reads only the rows.
    const int count = topLevelItemCount();
    std::vector<QTreeWidgetItem*> before;
    std::vector<Entry> kept;
    std::vector<Entry> changed;
    before.reserve(static_cast<std::size_t>(count));
    kept.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        auto* row = static_cast<PortfolioRow*>(topLevelItem(i));
        before.push_back(row);
        (row->unplaced() ? changed : kept).push_back(Entry{row, row->sortKey(), row->order()});
    }
    const auto less = [this](const Entry& a, const Entry& b) {
        return sortsBefore(a.sortKey, a.order, b.sortKey, b.order);
    };
    std::stable_sort(changed.begin(), changed.end(), less);
    std::vector<Entry> merged;
    merged.reserve(before.size());
    std::merge(kept.begin(), kept.end(), changed.begin(), changed.end(), std::back_inserter(merged), less);
    bool same = true;
    for (std::size_t i = 0; i < merged.size() && same; ++i)
        same = merged[i].row == before[i];
    if (same)
        return false;

    // Taking the rows out drops their selection; it is put back in ranges.
    QTreeWidgetItem* current = currentItem();
    std::unordered_set<QTreeWidgetItem*> selected;
    for (QTreeWidgetItem* row : selectedItems())
        selected.insert(row);
    invisibleRootItem()->takeChildren();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(merged.size()));
    for (const Entry& entry : merged)
        rows.append(entry.row);
    addTopLevelItems(rows);
    if (current)
        setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    QItemSelection selection;
    for (int i = 0; i < static_cast<int>(merged.size());) {
        if (!selected.contains(merged[static_cast<std::size_t>(i)].row)) {
            ++i;
            continue;
        }
        int end = i;
        while (end + 1 < static_cast<int>(merged.size()) && selected.contains(merged[static_cast<std::size_t>(end) + 1].row))
            ++end;
        selection.select(model()->index(i, 0), model()->index(end, columnCount() - 1));
        i = end + 1;
    }
    if (!selection.isEmpty())
        selectionModel()->select(selection, QItemSelectionModel::Select);
    return !selected.empty();
}

void PortfolioListView::addRow(ItemKey pos)
{
    const SecurityItem* item = m_doc.item(pos);
    if (!item || m_rows.contains(pos.key)) {
        rebuild();
        return;
    }
    // A new row finds its place by halving, among rows that are all in place.
    placeChangedRows();
    const int focusedIndex = currentIndex().row();
    blockSignals(true);
    auto* row = new PortfolioRow(m_doc, m_options, m_now, pos);
    row->setSortKey(rowSortKey(*item, m_options.sortColumn));
    row->setOrder(m_nextOrder++);
    insertTopLevelItem(sortedPlace(row), row);
    m_rows.emplace(pos.key, row);
    const bool settled = settleSelection(focusedIndex);
    blockSignals(false);
    if (settled)
        trackSelection();
    m_scrollPending = true;
    totalsChanged();
}

void PortfolioListView::removeStaleRows()
{
    const int focusedIndex = currentItem() ? indexOfTopLevelItem(currentItem()) : -1;
    blockSignals(true);
    for (auto it = m_rows.begin(); it != m_rows.end();) {
        if (m_doc.isValid(ItemKey{it->first})) {
            ++it;
            continue;
        }
        delete takeTopLevelItem(indexOfTopLevelItem(it->second));
        it = m_rows.erase(it);
    }
    settleSelection(focusedIndex);
    if (currentItem())
        scrollToItem(currentItem());
    blockSignals(false);
    trackSelection();
    totalsChanged();
}

void PortfolioListView::totalsChanged()
{
    m_totalsStale = true;
    if (!m_pending->isActive())
        m_pending->start();
}

const QString& PortfolioListView::amountText() const
{
    if (m_totalsStale) {
        m_amountText = fromCore(totalsText(m_doc.items(), m_options.percent));
        m_totalsStale = false;
    }
    return m_amountText;
}

void PortfolioListView::sendTotals()
{
    m_pending->stop();
    placeChangedRows();
    // Rows whose items changed draw their new texts.
    viewport()->update();
    if (m_scrollPending && currentItem())
        scrollToItem(currentItem());
    m_scrollPending = false;
    emit amountTextChanged(amountText());
}

void PortfolioListView::setPercentMode(bool percent)
{
    m_options.percent = percent;
    rebuild();
}

void PortfolioListView::sortBy(int column)
{
    if (column == m_options.sortColumn) {
        m_options.sortReverse = !m_options.sortReverse;
    } else {
        m_options.sortColumn = column;
        m_options.sortReverse = false;
    }
    rebuild();
}

void PortfolioListView::trackSelection()
{
    const ItemKey current = keyOf(currentItem());
    const bool currentSelected = currentItem() && currentItem()->isSelected();
    std::vector<ItemKey> selected;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->isSelected())
            selected.push_back(keyOf(topLevelItem(i)));
    }
    const bool changed = current != m_current || selected != m_selected || currentSelected != m_currentSelected;
    m_current = current;
    m_currentSelected = currentSelected;
    m_selected = std::move(selected);
    if (changed)
        emit selectionChanged();
}

void PortfolioListView::saveViewOptions()
{
    for (int column = 0; column < kListColumns; ++column)
        m_options.widths[static_cast<std::size_t>(column)] = columnWidth(column);
    saveListViewOptions(m_options);
}

void PortfolioListView::setDownloads(DownloadEngine* engine, MessageSink* sink)
{
    m_engine = engine;
    m_sink = sink;
}

bool PortfolioListView::allRowsSelected() const
{
    return topLevelItemCount() > 0 && static_cast<int>(m_selected.size()) == topLevelItemCount();
}

void PortfolioListView::contextMenuEvent(QContextMenuEvent* event)
{
    // From the keyboard the menu opens just inside the list's top-left corner.
    const QPoint at = event->reason() == QContextMenuEvent::Mouse ? event->globalPos()
                                                                  : viewport()->mapToGlobal(QPoint(5, 5));
    emit contextMenuWanted(at);
    event->accept();
}

void PortfolioListView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        emit contextMenuWanted(viewport()->mapToGlobal(QPoint(5, 5)));
        event->accept();
        return;
    }
    OwnerDrawnList::keyPressEvent(event);
}

void PortfolioListView::deleteSelectedItems()
{
    if (m_selected.empty())
        return;
    if (Prompter::instance().ask(this, text(strings::kDeleteConfirm)) != Prompter::Yes)
        return;
    const std::vector<ItemKey> doomed = m_selected;
    if (!doomed.empty())
        m_doc.deleteItems(doomed);
}

void PortfolioListView::updateSelectedQuotations()
{
    if (m_selected.empty()) {
        Prompter::instance().inform(this, text(strings::kNoItems), Prompter::Icon::None);
        return;
    }
    if (auto* hub = dynamic_cast<DownloadHub*>(m_sink))
        hub->updateItems(m_selected);
}

void PortfolioListView::testQuotationUpdate()
{
    const SecurityItem* item = m_doc.item(m_current);
    if (!item || !m_engine || !m_sink)
        return;
    startTestDownload(*m_engine, *m_sink, resolveServerConfig(item->settings().server), item->settings().name, item->settings().symbol);
}

void PortfolioListView::manuallyUpdateQuotation()
{
    const ItemKey pos = m_current;
    const SecurityItem* item = m_doc.item(pos);
    if (!item)
        return;
    ManualQuotationDialog dialog(item->settings().name, m_now ? m_now : currentTime(), this);
    if (Prompter::instance().exec(dialog) != QDialog::Accepted)
        return;
    if (m_doc.isValid(pos))
        m_doc.insertQuotation(pos, dialog.value(), dialog.time());
}

void PortfolioListView::insertNewItem()
{
    if (!m_engine || !m_sink)
        return;
    const TimeStamp now = m_now ? m_now : currentTime();
    ItemPropertiesDialog sheet(m_doc, newItemSettings(static_cast<std::int32_t>(now), m_random), *m_engine, *m_sink,
                               this);
    if (Prompter::instance().exec(sheet) != QDialog::Accepted || !sheet.item())
        return;
    placeChangedRows();
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (keyOf(topLevelItem(i)) == sheet.item()) {
            setCurrentItem(topLevelItem(i));
            break;
        }
    }
}

void PortfolioListView::showProperties(int page, int quotationIndex)
{
    showProperties(m_current, page, quotationIndex);
}

void PortfolioListView::showProperties(ItemKey item, int page, int quotationIndex)
{
    if (!m_engine || !m_sink || !m_doc.item(item))
        return;
    ItemPropertiesDialog sheet(m_doc, item, static_cast<ItemPropertiesDialog::Page>(page), quotationIndex, *m_engine,
                               *m_sink, this);
    Prompter::instance().exec(sheet);
}

void PortfolioListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    OwnerDrawnList::mouseDoubleClickEvent(event);
    // The double click opens the sheet for any focused row, also one being updated.
    if (itemAt(event->pos()) && hasFocusedRow())
        showProperties();
}

void PortfolioListView::openWebPage()
{
    const SecurityItem* item = m_doc.item(m_current);
    if (!item)
        return;
    const std::string address =
        expandItemVariables(resolveServerConfig(item->settings().server).url, item->settings().name, item->settings().symbol);
    if (!address.empty())
        Shell::instance().open(address);
}

void PortfolioListView::refresh()
{
    m_doc.notifyViews();
}

void PortfolioListView::showTotals()
{
    // The amount pane shows what the box shows.
    if (m_pending->isActive())
        sendTotals();
    Prompter::instance().inform(this, amountText(), Prompter::Icon::Information);
}

void PortfolioListView::selectAllOrOne()
{
    if (topLevelItemCount() == 0)
        return;
    blockSignals(true);
    if (!allRowsSelected()) {
        for (int i = 0; i < topLevelItemCount(); ++i)
            topLevelItem(i)->setSelected(true);
    } else {
        for (int i = 0; i < topLevelItemCount(); ++i) {
            QTreeWidgetItem* row = topLevelItem(i);
            if (row != currentItem())
                row->setSelected(false);
        }
    }
    blockSignals(false);
    trackSelection();
    viewport()->update();
}

void PortfolioListView::exportQuotations()
{
    // The portfolio's path without its extension is proposed.
    QString proposed = fromPath(m_doc.filePath());
    if (proposed.size() >= 4 && proposed.at(proposed.size() - 4) == QLatin1Char('.'))
        proposed.chop(4);
    const QString path = Prompter::instance().saveFileName(this, QStringLiteral("Export"), proposed,
                                                           text(strings::kExportFilter), QStringLiteral("xls"));
    if (path.isEmpty())
        return;
    const ExportResult result = tarvelo::exportQuotations(m_doc.items(), toPath(path));
    if (!result.ok)
        Prompter::instance().inform(this, fromCore(result.message), Prompter::Icon::Warning);
}

bool PortfolioListView::copySelected()
{
    std::vector<const SecurityItem*> items;
    for (const ItemKey pos : m_selected) {
        if (const SecurityItem* item = m_doc.item(pos))
            items.push_back(item);
    }
    if (items.empty())
        return false;
    QClipboard* clipboard = QApplication::clipboard();
    if (!clipboard) {
        Prompter::instance().inform(this, text(strings::kClipboardNotOpened), Prompter::Icon::Warning);
        return false;
    }
    const std::string payload = writeItemsPayload(items);
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kItemsMimeType),
                  QByteArray(payload.data(), static_cast<qsizetype>(payload.size())));
    clipboard->setMimeData(data);
    return true;
}

void PortfolioListView::importQuotations()
{
    const ItemKey item = m_current;
    if (!item || !m_doc.isValid(item))
        return;
    if (!m_import)
        m_import = std::make_unique<ImportState>();
    const WorkerSettings workers = m_engine ? m_engine->workerSettings() : readWorkerSettings();
    for (;;) {
        ImportDialog dialog(*m_import, m_doc.itemName(item), m_doc.itemSymbol(item), workers, m_now, this);
        if (Prompter::instance().exec(dialog) != QDialog::Accepted)
            break;
        const ImportResult result =
            importLoadedFile(m_doc, item, *m_import, this, m_now != 0 ? m_now : currentTime());
        if (!m_doc.isValid(item))
            break;
        if (result.ok) {
            // Lines that gave nothing new are told about; a clean import needs no words.
            if (result.skipped > 0 || result.duplicates > 0 || result.stopped)
                Prompter::instance().inform(this, fromCore(result.report), Prompter::Icon::Information);
            break;
        }
        // The dialog opens again with the same words in its status, to correct the template.
        m_import->status = result.message;
        Prompter::instance().inform(this, fromCore(result.message), Prompter::Icon::Warning);
    }
    // The copy of the file is not needed once the dialog is left for good.
    m_import->removeLoadedFile();
}

void PortfolioListView::copyItems()
{
    copySelected();
}

void PortfolioListView::cutItems()
{
    if (copySelected())
        deleteSelectedItems();
}

bool PortfolioListView::clipboardHasItems()
{
    const QClipboard* clipboard = QApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    return data && data->hasFormat(QString::fromLatin1(kItemsMimeType));
}

void PortfolioListView::pasteItems()
{
    const QClipboard* clipboard = QApplication::clipboard();
    if (!clipboard) {
        Prompter::instance().inform(this, text(strings::kClipboardNotOpened), Prompter::Icon::Warning);
        return;
    }
    const QMimeData* data = clipboard->mimeData();
    const QByteArray bytes = data ? data->data(QString::fromLatin1(kItemsMimeType)) : QByteArray();
    if (bytes.isEmpty()) {
        Prompter::instance().inform(this, text(strings::kClipboardNotRead), Prompter::Icon::Warning);
        return;
    }
    const PayloadResult pasted = tarvelo::pasteItems(m_doc, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!pasted.ok)
        Prompter::instance().inform(this, fromCore(pasted.message), Prompter::Icon::Warning);
}

} // namespace tarvelo
