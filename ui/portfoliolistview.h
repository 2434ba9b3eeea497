#pragma once

#include "model/portfoliodocument.h"
#include "model/portfoliolist.h"
#include "ui/ownerdrawnlist.h"

#include <vector>

class QTimer;

namespace tarvelo {

class PortfolioListModel;
class PortfolioSortProxy;

// The portfolio list: the list model behind its sorting proxy, one row per item with
// the nine computed columns, the row icon and the item's colour dot, sorted by a column
// that a header click chooses (the header shows the arrow). It keeps track of the
// current and the selected items by their handles, so that they stay across any change
// of the document, a change of everything included. Once the events of the moment are
// handled, the rows of changed items have moved to their sorted places and the totals
// follow; reading the totals sooner works them out at once, and placeChangedRows()
// places the rows at once. What is done to the items is ItemCommands' business: the
// list says when its context menu or the current item's properties are wanted.
class PortfolioListView : public OwnerDrawnList {
    Q_OBJECT
public:
    explicit PortfolioListView(PortfolioDocument& doc, QWidget* parent = nullptr);
    ~PortfolioListView() override;

    PortfolioListModel& listModel() const { return *m_model; }
    PortfolioSortProxy& sortProxy() const { return *m_proxy; }

    // Rows from the document, keeping the current and selected items.
    void rebuild();
    void setNow(TimeStamp now); // tests fix the clock; 0 reads it
    TimeStamp fixedNow() const;
    void setPercentMode(bool percent);
    bool percentMode() const { return m_options.percent; }
    // A header click: the same column reverses the order, another sorts ascending by it.
    void sortBy(int column);
    int sortColumn() const { return m_options.sortColumn; }
    bool sortReverse() const { return m_options.sortReverse; }

    ItemKey currentPosition() const { return m_current; }
    // The selected items in row order.
    const std::vector<ItemKey>& selectedPositions() const { return m_selected; }
    bool hasFocusedRow() const { return static_cast<bool>(m_current); }
    bool hasSelectedRow() const { return !m_selected.empty(); }
    bool allRowsSelected() const;
    // The item's row becomes current and the only one selected, as by a click.
    void setCurrentPosition(ItemKey item);
    // Selects every row, or, when every row is selected, all but the focused one.
    void selectAllOrOne();

    const QString& amountText() const;
    // Moves the rows whose items changed to their sorted places now.
    void placeChangedRows();
    // When the totals wait for the events of the moment to be handled, that happens now:
    // the rows are placed, the current row is scrolled to and the totals are sent.
    void sendPendingTotals();

    void saveViewOptions();
    QColor rowDotColour(const QVariant& itemData) const override;

    // What the empty list says where its rows would be.
    static QString emptyListHint();

signals:
    // The context menu was asked for at this point of the screen.
    void contextMenuWanted(const QPoint& globalPos);
    // A row was double-clicked: the current item's properties are wanted.
    void propertiesWanted();
    // The current item, the selected items (or their order) or whether the current one
    // is selected changed; the chart follows.
    void selectionChanged();
    void amountTextChanged(const QString& text);

protected:
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // Without rows, the hint how to begin fills the place of the rows.
    void paintEvent(QPaintEvent* event) override;

private:
    void documentChanged(const DocumentChange& change);
    // Rows are about to come, go or move: the selection is not tracked until the change
    // is over, so that what Qt does to the current index meanwhile does not count.
    // Returns whether this call began the hold.
    bool holdTracking();
    // The change is over: after a reset the selected items' rows are selected again;
    // the selection settles and is tracked again.
    void finishChange();
    // The current item's row is current and selected; with neither a current nor a
    // selected row, the row at focusedRow (or the last) takes over. Returns whether
    // anything was done.
    bool settleSelection(int focusedRow);
    QModelIndex indexOf(ItemKey item) const;
    ItemKey keyAt(int row) const;
    void applySortOrder();
    void scrollToCurrent();
    void totalsChanged();
    void sendTotals();
    void trackSelection();

    PortfolioDocument& m_doc;
    PortfolioListModel* m_model = nullptr;
    PortfolioSortProxy* m_proxy = nullptr;
    int m_viewToken = 0;
    ListViewOptions m_options;
    ItemKey m_current;
    bool m_currentSelected = false;
    std::vector<ItemKey> m_selected;
    // While rows change: the row that was current before, and whether the model was reset.
    bool m_holding = false;
    bool m_layoutHold = false;
    bool m_wasReset = false;
    int m_focusedRow = -1;
    mutable QString m_amountText;
    mutable bool m_totalsStale = false;
    bool m_scrollPending = false;
    QTimer* m_pending = nullptr; // sends the totals and scrolls once per turn of events
};

} // namespace tarvelo
