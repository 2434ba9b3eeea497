// The area the chart pane repaints while the pointer crosses a history chart of a few
// thousand quotations pixel by pixel, against the area of the cursor lines themselves:
// ideally a move repaints the strips of the cursor it leaves and of the one it enters.
// Prints JSON for scripts/bench.
#include "bench/benchdata.h"
#include "model/portfoliodocument.h"
#include "ui/chartview.h"
#include "ui/portfoliolistview.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>

#include <cstdio>
#include <cstdlib>

using namespace tarvelo;
using namespace tarvelo::bench;

namespace {

constexpr std::size_t kRecords = 4000;
constexpr int kWidth = 1200;
constexpr int kHeight = 600;

std::int64_t area(const QRegion& region)
{
    std::int64_t sum = 0;
    for (const QRect& rect : region)
        sum += static_cast<std::int64_t>(rect.width()) * rect.height();
    return sum;
}

// Sums the areas of the paint events of a widget.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted += area(static_cast<QPaintEvent*>(event)->region());
        return false;
    }
    std::int64_t painted = 0;
};

} // namespace

int main(int argc, char** argv)
{
    ScratchFolder folder;
    ::setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);

    PortfolioDocument doc;
    auto items = makePortfolio(1, kRecords);
    ItemSettings settings = items.front()->settings();
    settings.chart.periodStartEnabled = false; // the whole history
    settings.chart.periodEndEnabled = false;
    const ItemKey item = doc.addItemObject(std::move(items.front()));
    doc.replaceItemSettings(item, settings);

    PortfolioListView list(doc);
    list.setCurrentIndex(list.model()->index(0, 0));
    ChartView view(doc, list);
    view.resize(kWidth, kHeight);
    view.show();
    QApplication::processEvents();
    view.repaint();
    const HistoryChart& chart = view.historyChart();
    if (!chart.plotted || chart.points.size() < 2)
        return 2;

    PaintCounter counter;
    view.installEventFilter(&counter);
    int moves = 0;
    std::int64_t cursorArea = 0;
    for (int x = 0; x < kWidth; ++x) {
        const QPoint at(x, kHeight / 2);
        QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &move);
        QApplication::processEvents();
        ++moves;
        cursorArea += area(view.cursorRegion(view.cursorIndex()));
    }
    std::printf("{\"moves\":%d,\"points\":%zu,\"painted_px_per_move\":%.1f,\"widget_px\":%d,\"cursor_px\":%.1f}\n",
                moves, chart.points.size(), static_cast<double>(counter.painted) / moves, kWidth * kHeight,
                static_cast<double>(cursorArea) / moves);
    return 0;
}
