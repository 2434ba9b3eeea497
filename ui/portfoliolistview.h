#pragma once

#include "model/portfoliodocument.h"
#include "model/portfoliolist.h"
#include "ui/ownerdrawnlist.h"

#include <vector>

namespace tarvelo {

class DownloadEngine;
class MessageSink;

// The portfolio list: one row per item with the nine computed columns, the row icon
// and the item's colour dot, sorted by a column; it follows the document and keeps
// track of the current and the selected items.
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
    const QString& amountText() const { return m_amountText; }

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
    void openWebPage();
    void refresh();
    void showTotals();
    // Selects every row, or, when every row is selected, all but the focused one.
    void selectAllOrOne();
    void exportQuotations();
    void copyItems();
    void cutItems();
    void pasteItems();
    static bool clipboardHasItems();

signals:
    // The context menu was asked for at this point of the screen.
    void contextMenuWanted(const QPoint& globalPos);
    // The current item, the number of selected items or whether the current one is
    // selected changed; the chart follows.
    void selectionChanged();
    void amountTextChanged(const QString& text);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void trackSelection();
    bool copySelected();
    void sortRows();

    PortfolioDocument& m_doc;
    int m_viewToken = 0;
    ListViewOptions m_options;
    TimeStamp m_now = 0;
    ItemKey m_current;
    bool m_currentSelected = false;
    std::vector<ItemKey> m_selected;
    QString m_amountText;
    DownloadEngine* m_engine = nullptr;
    MessageSink* m_sink = nullptr;
};

} // namespace tarvelo
