#pragma once

#include "model/portfoliodocument.h"
#include "model/portfoliolist.h"
#include "ui/ownerdrawnlist.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <random>
#include <vector>

class QTimer;

namespace tarvelo {

class PortfolioRow;

class DownloadEngine;
class MessageSink;
struct ImportState;

// The portfolio list: one row per item with the nine computed columns, the row icon
// and the item's colour dot, sorted by a column; it follows the document and keeps
// track of the current and the selected items. A change of one item marks only that
// item's row; once the events of the moment are handled, the changed rows move to their
// sorted places (each on its own when they are few, merged into the others in one pass
// when many came at once, as in an update of all items) and the totals follow. Reading
// the totals sooner works them out at once; placeChangedRows() places the rows at once.
class PortfolioListView : public OwnerDrawnList {
    Q_OBJECT
public:
    explicit PortfolioListView(PortfolioDocument& doc, QWidget* parent = nullptr);
    ~PortfolioListView() override;

    // Rows from the document, keeping the current and selected items.
    void rebuild();
    void setNow(TimeStamp now) { m_now = now; } // tests fix the clock; 0 reads it
    void setPercentMode(bool percent);
    bool percentMode() const { return m_options.percent; }
    // A header click: the same column reverses the order, another sorts ascending by it.
    void sortBy(int column);
    int sortColumn() const { return m_options.sortColumn; }
    bool sortReverse() const { return m_options.sortReverse; }

    ItemKey currentPosition() const { return m_current; }
    const std::vector<ItemKey>& selectedPositions() const { return m_selected; }
    const QString& amountText() const;
    // Moves the rows whose items changed to their sorted places now.
    void placeChangedRows();

    void saveViewOptions();
    QColor rowDotColour(const QVariant& itemData) const override;

    // Where item updates and test downloads run and report.
    void setDownloads(DownloadEngine* engine, MessageSink* sink);

    // The item commands. Each does nothing when its item (or selection) is missing.
    bool hasFocusedRow() const { return static_cast<bool>(m_current); }
    bool hasSelectedRow() const { return !m_selected.empty(); }
    bool allRowsSelected() const;
    void deleteSelectedItems();     // asks first
    void updateSelectedQuotations();
    void testQuotationUpdate();
    void manuallyUpdateQuotation();
    // The item property sheet for a new item; on OK the item is added and becomes current.
    void insertNewItem();
    // The property sheet of the current item, opened on the page (0 General, 1 Quotations,
    // 2 Graphic, 3 Investment) with the quotation of that index selected (negative: the
    // newest).
    void showProperties(int page = 0, int quotationIndex = -1);
    // The same for another item (the one the chart shows, say).
    void showProperties(ItemKey item, int page, int quotationIndex);
    void openWebPage();
    void refresh();
    void showTotals();
    // Selects every row, or, when every row is selected, all but the focused one.
    void selectAllOrOne();
    void exportQuotations();
    // The import dialog for the current item; on OK the file read is imported into the
    // item. When nothing could be imported the error is shown and the dialog opens
    // again, as the user left it.
    void importQuotations();
    void copyItems();
    void cutItems();
    void pasteItems();
    static bool clipboardHasItems();

signals:
    // The context menu was asked for at this point of the screen.
    void contextMenuWanted(const QPoint& globalPos);
    // The current item, the selected items (or their order) or whether the current one
    // is selected changed; the chart follows.
    void selectionChanged();
    void amountTextChanged(const QString& text);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void documentChanged(const DocumentChange& change);
    void rowChanged(ItemKey pos);
    // Whether the row at this index stands on the wrong side of a neighbour.
    bool outOfPlace(int index) const;
    // Moves the few changed rows that are out of place; whether a selected one moved.
    bool moveChangedRows();
    // Merges many changed rows into the others in one pass; whether a selected one moved.
    bool mergeChangedRows();
    void addRow(ItemKey pos);
    void removeStaleRows();
    // Whether a row with sort key a stands above one with sort key b: by the sort column,
    // equal keys in their items' portfolio order.
    bool sortsBefore(const RowSortKey& a, std::size_t orderA, const RowSortKey& b, std::size_t orderB) const;
    // The same for two of the list's rows, by the keys they keep.
    bool rowBefore(const QTreeWidgetItem* a, const QTreeWidgetItem* b) const;
    // Where a row goes among the rows as they are.
    int sortedPlace(const QTreeWidgetItem* row) const;
    // As after a rebuild: the current item's row is current and selected; with neither a
    // current nor a selected row, the row at focusedIndex (or the last) takes over.
    // Returns whether anything was done.
    bool settleSelection(int focusedIndex);
    void totalsChanged();
    void sendTotals();
    void trackSelection();
    bool copySelected();

    PortfolioDocument& m_doc;
    int m_viewToken = 0;
    ListViewOptions m_options;
    TimeStamp m_now = 0;
    ItemKey m_current;
    bool m_currentSelected = false;
    std::vector<ItemKey> m_selected;
    // The rows by item handle, and the portfolio place that the next new row gets.
    std::unordered_map<std::uint64_t, PortfolioRow*> m_rows;
    std::size_t m_nextOrder = 0;
    // The rows whose items changed since they were last placed, by item handle.
    std::vector<std::uint64_t> m_changedRows;
    mutable QString m_amountText;
    mutable bool m_totalsStale = false;
    bool m_scrollPending = false;
    QTimer* m_pending = nullptr; // sends the totals and scrolls once per turn of events
    DownloadEngine* m_engine = nullptr;
    MessageSink* m_sink = nullptr;
    // The import dialog's settings, kept from one import to the next while the program
    // runs.
    std::unique_ptr<ImportState> m_import;
    // Draws the line colour of new items; seeded when the view is made.
    std::mt19937 m_random{static_cast<std::mt19937::result_type>(std::random_device{}())};
};

} // namespace tarvelo
