#include "ui/portfoliolistview.h"

#include "model/profilesettings.h"
#include "platform/profile.h"
#include "ui/portfoliolistmodel.h"
#include "ui/portfoliosortproxy.h"
#include "ui/qtexts.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace tarvelo {

PortfolioListView::PortfolioListView(PortfolioDocument& doc, QWidget* parent) : OwnerDrawnList(parent), m_doc(doc)
{
    setObjectName(QStringLiteral("portfolioList"));
    m_options = loadListViewOptions();
    m_model = new PortfolioListModel(m_doc, this);
    m_model->setPercent(m_options.percent);
    m_proxy = new PortfolioSortProxy(*m_model, this);
    m_proxy->sort(m_options.sortColumn, m_options.sortReverse ? Qt::DescendingOrder : Qt::AscendingOrder);
    // Connected before the view takes the model, so that the hold begins before the
    // selection model moves the current index off rows that go.
    connect(m_proxy, &QAbstractItemModel::modelAboutToBeReset, this, &PortfolioListView::holdTracking);
    connect(m_proxy, &QAbstractItemModel::modelReset, this, [this] { m_wasReset = true; });
    connect(m_proxy, &QAbstractItemModel::rowsAboutToBeInserted, this, &PortfolioListView::holdTracking);
    connect(m_proxy, &QAbstractItemModel::rowsAboutToBeRemoved, this, &PortfolioListView::holdTracking);
    connect(m_proxy, &QAbstractItemModel::layoutAboutToBeChanged, this, [this] { m_layoutHold = holdTracking(); });
    connect(m_proxy, &QAbstractItemModel::layoutChanged, this, [this] {
        if (std::exchange(m_layoutHold, false))
            finishChange();
    });
    setModel(m_proxy);
    // Also when no row moved, placing changed rows selects the current row again.
    connect(m_proxy, &PortfolioSortProxy::rowsPlaced, this, [this] {
        if (!m_holding && settleSelection(currentIndex().row()))
            trackSelection();
    });
    setSelectionMode(QAbstractItemView::ExtendedSelection);

    header()->setStretchLastSection(false);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(true);
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
    applySortOrder();
    connect(header(), &QHeaderView::sectionClicked, this, &PortfolioListView::sortBy);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &PortfolioListView::trackSelection);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &PortfolioListView::trackSelection);
    m_pending = new QTimer(this);
    m_pending->setSingleShot(true);
    m_pending->setInterval(0);
    connect(m_pending, &QTimer::timeout, this, &PortfolioListView::sendTotals);
    // After the model's: the view settles once the model has followed the change.
    m_viewToken = m_doc.subscribeViews([this](const DocumentChange& change) { documentChanged(change); });
    // The first row is current until the user chooses another.
    settleSelection(-1);
    trackSelection();
    scrollToCurrent();
    m_totalsStale = true;
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

QString PortfolioListView::emptyListHint()
{
    return tr("No items yet. Insert one with Item → Insert new item (Ins), or open a portfolio.");
}

void PortfolioListView::paintEvent(QPaintEvent* event)
{
    OwnerDrawnList::paintEvent(event);
    if (!model() || model()->rowCount() > 0)
        return;
    QPainter painter(viewport());
    QColor ink = palette().color(QPalette::PlaceholderText);
    if (!ink.isValid() || ink == palette().color(QPalette::Base))
        ink = palette().color(QPalette::Disabled, QPalette::Text);
    painter.setPen(ink);
    const int margin = fontMetrics().averageCharWidth() * 2;
    const QRect room = viewport()->rect().adjusted(margin, margin, -margin, -margin);
    painter.drawText(room, Qt::AlignCenter | Qt::TextWordWrap, emptyListHint());
}

void PortfolioListView::rebuild()
{
    m_model->rebuild();
    finishChange();
    scrollToCurrent();
    m_scrollPending = false;
    m_pending->stop();
    m_totalsStale = true;
    emit amountTextChanged(amountText());
}

void PortfolioListView::documentChanged(const DocumentChange& change)
{
    // The model has followed the change already; a notice that did not match its rows
    // made it start afresh.
    const bool reset = m_wasReset;
    finishChange();
    switch (change.kind) {
    case DocumentChange::Kind::Item:
    case DocumentChange::Kind::Added:
        m_scrollPending = true;
        totalsChanged();
        break;
    case DocumentChange::Kind::Removed:
        scrollToCurrent();
        totalsChanged();
        break;
    case DocumentChange::Kind::Everything:
        break;
    }
    if (reset || change.kind == DocumentChange::Kind::Everything) {
        scrollToCurrent();
        m_scrollPending = false;
        m_pending->stop();
        m_totalsStale = true;
        emit amountTextChanged(amountText());
    }
}

bool PortfolioListView::holdTracking()
{
    if (m_holding)
        return false;
    m_holding = true;
    m_focusedRow = currentIndex().row();
    return true;
}

void PortfolioListView::finishChange()
{
    if (!m_holding)
        return;
    if (std::exchange(m_wasReset, false)) {
        // The rows of the selected items, in ranges.
        std::vector<int> rows;
        for (const ItemKey item : m_selected) {
            if (const QModelIndex at = indexOf(item); at.isValid())
                rows.push_back(at.row());
        }
        std::sort(rows.begin(), rows.end());
        QItemSelection selection;
        const int last = model()->columnCount() - 1;
        for (std::size_t i = 0; i < rows.size();) {
            std::size_t end = i;
            while (end + 1 < rows.size() && rows[end + 1] == rows[end] + 1)
                ++end;
            selection.select(model()->index(rows[i], 0), model()->index(rows[end], last));
            i = end + 1;
        }
        if (!selection.isEmpty())
            selectionModel()->select(selection, QItemSelectionModel::Select);
    }
    settleSelection(m_focusedRow);
    m_holding = false;
    trackSelection();
}

bool PortfolioListView::settleSelection(int focusedRow)
{
    const QModelIndex current = indexOf(m_current);
    if (current.isValid()) {
        if (currentIndex().row() == current.row() && selectionModel()->isSelected(current))
            return false;
        selectionModel()->setCurrentIndex(current, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        return true;
    }
    // No row of the current item stays current, even one that took over its index.
    if (currentIndex().isValid())
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    // Nothing focused and nothing selected (the focused item was deleted, say): the row
    // at the same place, or the last one, takes over.
    const int rows = model()->rowCount();
    if (!selectionModel()->hasSelection() && rows > 0) {
        const int row = std::clamp(focusedRow < 0 ? 0 : focusedRow, 0, rows - 1);
        selectionModel()->setCurrentIndex(model()->index(row, 0),
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    return true;
}

QModelIndex PortfolioListView::indexOf(ItemKey item) const
{
    const int row = item ? m_proxy->proxyRow(m_model->row(item)) : -1;
    return row < 0 ? QModelIndex() : m_proxy->index(row, 0);
}

ItemKey PortfolioListView::keyAt(int row) const
{
    return m_model->key(m_proxy->mapToSource(m_proxy->index(row, 0)).row());
}

void PortfolioListView::trackSelection()
{
    if (m_holding)
        return;
    const QModelIndex focused = currentIndex();
    const ItemKey current = focused.isValid() ? keyAt(focused.row()) : ItemKey{};
    const bool currentSelected = focused.isValid() && selectionModel()->isSelected(focused.siblingAtColumn(0));
    // A row counts as selected when its first cell is.
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        if (range.left() > 0 || !range.isValid())
            continue;
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<ItemKey> selected;
    selected.reserve(rows.size());
    for (const int row : rows)
        selected.push_back(keyAt(row));
    const bool changed = current != m_current || selected != m_selected || currentSelected != m_currentSelected;
    m_current = current;
    m_currentSelected = currentSelected;
    m_selected = std::move(selected);
    if (changed)
        emit selectionChanged();
}

void PortfolioListView::setCurrentPosition(ItemKey item)
{
    placeChangedRows();
    if (const QModelIndex at = indexOf(item); at.isValid())
        setCurrentIndex(at);
}

bool PortfolioListView::allRowsSelected() const
{
    const int rows = m_proxy->rowCount();
    return rows > 0 && static_cast<int>(m_selected.size()) == rows;
}

void PortfolioListView::selectAllOrOne()
{
    const int rows = m_proxy->rowCount();
    if (rows == 0)
        return;
    m_holding = true;
    if (!allRowsSelected()) {
        selectionModel()->select(QItemSelection(m_proxy->index(0, 0), m_proxy->index(rows - 1, m_proxy->columnCount() - 1)),
                                 QItemSelectionModel::Select);
    } else if (currentIndex().isValid()) {
        selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else {
        selectionModel()->clearSelection();
    }
    m_holding = false;
    trackSelection();
}

void PortfolioListView::placeChangedRows()
{
    m_proxy->placeChangedRows();
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
    if (std::exchange(m_scrollPending, false))
        scrollToCurrent();
    emit amountTextChanged(amountText());
}

void PortfolioListView::sendPendingTotals()
{
    if (m_pending->isActive())
        sendTotals();
}

void PortfolioListView::scrollToCurrent()
{
    if (currentIndex().isValid())
        scrollTo(currentIndex());
}

void PortfolioListView::setNow(TimeStamp now)
{
    m_model->setNow(now);
}

TimeStamp PortfolioListView::fixedNow() const
{
    return m_model->now();
}

void PortfolioListView::setPercentMode(bool percent)
{
    m_options.percent = percent;
    m_model->setPercent(percent);
    m_totalsStale = true;
    emit amountTextChanged(amountText());
}

void PortfolioListView::sortBy(int column)
{
    if (column == m_options.sortColumn) {
        m_options.sortReverse = !m_options.sortReverse;
    } else {
        m_options.sortColumn = column;
        m_options.sortReverse = false;
    }
    applySortOrder();
    scrollToCurrent();
}

void PortfolioListView::applySortOrder()
{
    const Qt::SortOrder order = m_options.sortReverse ? Qt::DescendingOrder : Qt::AscendingOrder;
    header()->setSortIndicator(m_options.sortColumn, order);
    m_proxy->sort(m_options.sortColumn, order);
}

void PortfolioListView::saveViewOptions()
{
    for (int column = 0; column < kListColumns; ++column)
        m_options.widths[static_cast<std::size_t>(column)] = columnWidth(column);
    saveListViewOptions(m_options);
}

void PortfolioListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles)
{
    // The rows are flat and of one height with nothing to edit: the changed rows in sight
    // are drawn anew, without the tree view's look at every row and cell of the range.
    const QModelIndex first = indexAt(QPoint(0, 0));
    if (!first.isValid() || !topLeft.isValid() || !bottomRight.isValid() || topLeft == bottomRight) {
        OwnerDrawnList::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    const QModelIndex lastShown = indexAt(QPoint(0, viewport()->height() - 1));
    const int top = std::max(topLeft.row(), first.row());
    const int bottom = std::min(bottomRight.row(), lastShown.isValid() ? lastShown.row() : model()->rowCount() - 1);
    if (top > bottom)
        return;
    const QRect rows = visualRect(model()->index(top, 0)).united(visualRect(model()->index(bottom, 0)));
    viewport()->update(QRect(0, rows.top(), viewport()->width(), rows.height()));
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

void PortfolioListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    OwnerDrawnList::mouseDoubleClickEvent(event);
    // The double click asks for the sheet of any focused row, also one being updated.
    if (indexAt(event->position().toPoint()).isValid() && hasFocusedRow())
        emit propertiesWanted();
}

} // namespace tarvelo
