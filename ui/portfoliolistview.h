#pragma once

#include "model/cwpapierdoc.h"
#include "model/portfoliolist.h"
#include "ui/listviewex.h"

#include <vector>

namespace tarvelo {

// The portfolio list: one row per item with the nine computed columns, the row icon
// and the item's colour dot, sorted by a column; it follows the document and keeps
// track of the current and the selected items.
class CWPapierLView : public CListViewEx {
    Q_OBJECT
public:
    explicit CWPapierLView(CWPapierDoc& doc, QWidget* parent = nullptr);
    ~CWPapierLView() override;

    // Rows from the document, keeping the current and selected items.
    void rebuild();
    void setNow(TimeStamp now) { m_now = now; } // tests fix the clock; 0 reads it
    void setPercentMode(bool percent);
    bool percentMode() const { return m_options.percent; }
    // A header click: the same column reverses the order, another sorts ascending by it.
    void sortBy(int column);
    int sortColumn() const { return m_options.sortColumn; }
    bool sortReverse() const { return m_options.sortReverse; }

    ItemPos currentPosition() const { return m_current; }
    const std::vector<ItemPos>& selectedPositions() const { return m_selected; }
    const QString& amountText() const { return m_amountText; }

    void saveViewOptions();
    QColor rowDotColour(const QVariant& itemData) const override;

signals:
    // The current item, the number of selected items or whether the current one is
    // selected changed; the chart follows.
    void selectionChanged();
    void amountTextChanged(const QString& text);

private:
    void trackSelection();
    void sortRows();

    CWPapierDoc& m_doc;
    int m_viewToken = 0;
    ListViewOptions m_options;
    TimeStamp m_now = 0;
    ItemPos m_current;
    bool m_currentSelected = false;
    std::vector<ItemPos> m_selected;
    QString m_amountText;
};

} // namespace tarvelo
