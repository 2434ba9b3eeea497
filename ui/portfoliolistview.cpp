#include "ui/portfoliolistview.h"

#include "platform/codepage.h"
#include "ui/rowicons.h"

#include <QHeaderView>

#include <unordered_map>

namespace tarvelo {

namespace {

QString FromCp1252(const std::string& text)
{
    const std::string utf8 = Cp1252ToUtf8(text);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

ItemPos KeyOf(const QTreeWidgetItem* row)
{
    return row ? ItemPos{row->data(0, Qt::UserRole).toULongLong()} : ItemPos{};
}

} // namespace

CWPapierLView::CWPapierLView(CWPapierDoc& doc, QWidget* parent) : CListViewEx(parent), m_doc(doc)
{
    setObjectName(QStringLiteral("portfolioList"));
    setColumnCount(kListColumns);
    setHeaderLabels({QStringLiteral("Item"), QStringLiteral("Date"), QStringLiteral("Value"), QStringLiteral("Low"),
                     QStringLiteral("High"), QStringLiteral("+- Last Day"), QStringLiteral("+- Last"),
                     QStringLiteral("+- Total"), QStringLiteral("Amount Invested")});
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    header()->setStretchLastSection(false);
    header()->setSectionsClickable(true);
    m_options = LoadListViewOptions();
    for (int column = 0; column < kListColumns; ++column)
        setColumnWidth(column, m_options.widths[static_cast<std::size_t>(column)]);
    connect(header(), &QHeaderView::sectionClicked, this, &CWPapierLView::sortBy);
    connect(this, &QTreeWidget::itemSelectionChanged, this, &CWPapierLView::trackSelection);
    connect(this, &QTreeWidget::currentItemChanged, this, &CWPapierLView::trackSelection);
    m_viewToken = m_doc.SubscribeViews([this] { rebuild(); });
    rebuild();
}

CWPapierLView::~CWPapierLView()
{
    m_doc.UnsubscribeViews(m_viewToken);
}

QColor CWPapierLView::rowDotColour(const QVariant& itemData) const
{
    const CWPapier* item = m_doc.GetItem(ItemPos{itemData.toULongLong()});
    if (!item)
        return CListViewEx::rowDotColour(itemData);
    const std::uint32_t bgr = item->settings().chart.lineColour;
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}

void CWPapierLView::rebuild()
{
    const int focusedIndex = currentItem() ? indexOfTopLevelItem(currentItem()) : -1;
    const TimeStamp now = m_now ? m_now : CurrentTime();
    std::unordered_map<const CWPapier*, ItemPos> positions;
    std::vector<const CWPapier*> items;
    for (const ItemPos pos : m_doc.GetItemPositions()) {
        const CWPapier* item = m_doc.GetItem(pos);
        positions.emplace(item, pos);
        items.push_back(item);
    }
    blockSignals(true);
    clear();
    QTreeWidgetItem* current = nullptr;
    for (const CWPapier* item : SortedRows(items, m_options.sortColumn, m_options.sortReverse)) {
        const ItemPos pos = positions[item];
        auto* row = new QTreeWidgetItem(this);
        row->setData(0, Qt::UserRole, QVariant::fromValue<qulonglong>(pos.key));
        const auto cells = RowCells(*item, m_options.percent, now);
        for (int column = 0; column < kListColumns; ++column)
            row->setText(column, FromCp1252(cells[static_cast<std::size_t>(column)]));
        row->setIcon(0, PortfolioRowIcon(RowIcon(*item)));
        if (std::find(m_selected.begin(), m_selected.end(), pos) != m_selected.end())
            row->setSelected(true);
        if (pos == m_current)
            current = row;
    }
    if (current)
        setCurrentItem(current, 0, m_currentSelected ? QItemSelectionModel::Select : QItemSelectionModel::NoUpdate);
    // Nothing focused and nothing selected (the focused item was deleted, say): the row
    // at the same place, or the last one, takes over.
    if (!current && selectedItems().isEmpty() && topLevelItemCount() > 0) {
        const int index = std::clamp(focusedIndex < 0 ? 0 : focusedIndex, 0, topLevelItemCount() - 1);
        setCurrentItem(topLevelItem(index));
        topLevelItem(index)->setSelected(true);
    }
    if (currentItem())
        scrollToItem(currentItem());
    blockSignals(false);
    trackSelection();
    m_amountText = FromCp1252(TotalsText(m_doc.Items(), m_options.percent));
    emit amountTextChanged(m_amountText);
}

void CWPapierLView::setPercentMode(bool percent)
{
    m_options.percent = percent;
    rebuild();
}

void CWPapierLView::sortBy(int column)
{
    if (column == m_options.sortColumn) {
        m_options.sortReverse = !m_options.sortReverse;
    } else {
        m_options.sortColumn = column;
        m_options.sortReverse = false;
    }
    rebuild();
}

void CWPapierLView::trackSelection()
{
    const ItemPos current = KeyOf(currentItem());
    const bool currentSelected = currentItem() && currentItem()->isSelected();
    std::vector<ItemPos> selected;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->isSelected())
            selected.push_back(KeyOf(topLevelItem(i)));
    }
    const bool changed =
        current != m_current || selected.size() != m_selected.size() || currentSelected != m_currentSelected;
    m_current = current;
    m_currentSelected = currentSelected;
    m_selected = std::move(selected);
    if (changed)
        emit selectionChanged();
}

void CWPapierLView::saveViewOptions()
{
    for (int column = 0; column < kListColumns; ++column)
        m_options.widths[static_cast<std::size_t>(column)] = columnWidth(column);
    SaveListViewOptions(m_options);
}

} // namespace tarvelo
