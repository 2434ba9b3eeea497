#pragma once

#include "charts/comparisonchart.h"
#include "charts/historychart.h"
#include "model/portfoliodocument.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <vector>

class QMenu;

namespace tarvelo {

class PortfolioListView;

// The lower pane of the main window, below the portfolio list. It follows the list's
// selection: one selected item shows its history chart, two or more the comparison
// chart of the selected items in list order, none an empty pane.
//
// The chart is drawn once into an image at the pane's device pixel ratio and drawn
// again only when the document, the selection, the size, the palette or the comparison
// settings change. Its background, texts, axes and grid take the palette's colours.
// The pointer (or, with the focus on the pane, the Left and Right keys) picks the
// nearest quotation: its text goes to the message pane and a cursor marks it, painted
// over the image, so that a move repaints only the thin strips that the cursor leaves
// and enters. Over a comparison the message names each curve's value at that moment.
// The pane's accessible description says in a sentence what the chart shows.
class ChartView : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Empty, History, Comparison };

    ChartView(PortfolioDocument& doc, PortfolioListView& list, QWidget* parent = nullptr);
    ~ChartView() override;

    Kind kind() const;
    // The item of a history chart; none for the other kinds.
    ItemKey chartedItem() const;

    const ComparisonSettings& comparisonSettings() const { return m_settings; }
    // Takes new comparison settings; every view of the document follows.
    void setComparisonSettings(const ComparisonSettings& settings);
    // Writes the comparison settings to the profile.
    void saveViewOptions() const;
    // The comparison chart's legend (part of its settings).
    bool legendShown() const { return m_settings.legend; }
    void setLegendShown(bool shown);
    // The colours the chart takes from the pane's palette.
    ChartColours chartColours() const;

    // The context menus: one for a history chart, one for the comparison (or an empty)
    // chart. They belong to the window that made them.
    void setContextMenus(QMenu* history, QMenu* comparison);
    // Asks for the property sheet of the charted item, opened on a page with a quotation
    // selected (negative: the newest).
    void showItemProperties(int page, int quotationIndex = -1);
    // "Properties for the comparison chart"; on OK the settings are taken.
    void editComparisonLimits();

    // The chart as the pane draws it, at a device pixel ratio; the pane keeps the one at
    // its own ratio. Drawing it again also renews what pointer tracking works on.
    QImage drawChart(qreal ratio);
    // The pane's image, brought up to date first.
    const QImage& chartImage();
    const HistoryChart& historyChart() const { return m_history; }
    const ComparisonChart& comparisonChart() const { return m_comparison; }
    // Where the cursor stops: the history chart's points, or the comparison's stops.
    const std::vector<ChartPoint>& cursorStops() const;
    int nearestIndex() const { return m_nearest; }
    int cursorIndex() const { return m_cursor; }
    // What the chart last said in the message pane.
    const QString& message() const { return m_message; }
    // The strips of the widget that the cursor of a point covers.
    QRegion cursorRegion(int index) const;

signals:
    // Text for the message pane of the main window.
    void messageChanged(const QString& text);
    // The charted item's property sheet is wanted, on that page with that quotation.
    void propertiesWanted(ItemKey item, int page, int quotationIndex);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void followSelection();
    void documentChanged(const DocumentChange& change);
    // The chart must be drawn again before it is next shown.
    void invalidate();
    void ensureChart();
    bool tracking() const;
    void stopTracking();
    void showMessage(const QString& text);
    void showContextMenu(const QPoint& globalPos);
    // Puts the cursor on a stop, as the pointer or a key picked it.
    void moveCursorTo(int index);
    QString stopMessage(int index) const;
    std::vector<CanvasPoint> cursorPolyline(int index) const;
    std::vector<const SecurityItem*> chartedItems() const;
    void updateDescription();

    PortfolioDocument& m_doc;
    PortfolioListView& m_list;
    int m_viewToken = 0;
    // The list's selected items in list order, as last copied.
    std::vector<ItemKey> m_items;
    ComparisonSettings m_settings;

    QImage m_cache;
    bool m_cacheValid = false;
    HistoryChart m_history; // what the history chart drew; empty for the other kinds
    ComparisonChart m_comparison;                 // what the comparison chart drew
    std::vector<ChartPoint> m_comparisonStops;    // its cursor stops
    std::vector<const SecurityItem*> m_compared;  // the items it drew, as its curves count them
    int m_nearest = -1;     // the point nearest to the pointer
    int m_cursor = -1;      // the point whose cursor is shown
    QString m_message;

    QMenu* m_historyMenu = nullptr;
    QMenu* m_comparisonMenu = nullptr;
};

} // namespace tarvelo
