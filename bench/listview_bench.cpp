// An update of every item of a portfolio as the window sees it: each item is marked as
// being updated and then receives one downloaded quotation, with a portfolio list shown
// on the offscreen platform, against the same quotations applied to a document that no
// window follows. Run for 1,000 and 10,000 items, once with the rows in name order
// (they stay where they are) and once in value order (every row moves). Prints JSON for
// scripts/bench.
#include "bench/benchdata.h"
#include "model/portfoliodocument.h"
#include "ui/portfoliolistview.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace tarvelo;
using namespace tarvelo::bench;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRepeats = 3;
constexpr std::int32_t kStart = 1'780'000'000;

std::vector<ItemKey> fill(PortfolioDocument& doc, std::size_t items)
{
    std::vector<ItemKey> keys;
    keys.reserve(items);
    for (std::size_t i = 0; i < items; ++i) {
        ItemSettings settings;
        settings.name = "Item " + std::to_string(100000 + i);
        settings.quantity = 10;
        settings.averageBuyPrice = 20;
        const ItemKey pos = doc.addItem(settings);
        // Values spread so that a new one sends the row elsewhere in value order.
        const double value = 10.0 + static_cast<double>((i * 7919) % items);
        doc.insertQuotations(pos, std::vector<Quotation>{{kStart, value}, {kStart + 86400, value + 1}});
        keys.push_back(pos);
    }
    return keys;
}

// Seconds to mark every item and apply one quotation to each, with whatever follows the
// document; the events that the changes leave behind are handled within the time.
double update(PortfolioDocument& doc, const std::vector<ItemKey>& keys)
{
    const std::size_t n = keys.size();
    const auto start = Clock::now();
    for (const ItemKey pos : keys)
        doc.markBeingUpdated(pos);
    for (std::size_t i = 0; i < n; ++i) {
        const double value = 10.0 + static_cast<double>((i * 104729) % n);
        doc.applyDownloadedQuotation(keys[i], {kStart + 2 * 86400, value});
    }
    QApplication::processEvents();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double documentAlone(std::size_t items)
{
    double best = 1e9;
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
        PortfolioDocument doc;
        const std::vector<ItemKey> keys = fill(doc, items);
        best = std::min(best, update(doc, keys));
    }
    return best;
}

double withList(std::size_t items, int sortColumn)
{
    double best = 1e9;
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
        PortfolioDocument doc;
        const std::vector<ItemKey> keys = fill(doc, items);
        PortfolioListView view(doc);
        view.resize(900, 600);
        if (sortColumn != view.sortColumn())
            view.sortBy(sortColumn);
        view.show();
        QApplication::processEvents();
        best = std::min(best, update(doc, keys));
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    // The list reads its options from a settings folder of its own.
    ScratchFolder folder;
    ::setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);

    std::printf("{\"runs\":[");
    bool first = true;
    for (const std::size_t items : {std::size_t{1000}, std::size_t{10000}}) {
        const double alone = documentAlone(items);
        const double byName = withList(items, 0);
        const double byValue = withList(items, 2);
        std::printf("%s{\"items\":%zu,\"document\":%.6f,\"by_name\":%.6f,\"by_value\":%.6f}", first ? "" : ",", items,
                    alone, byName, byValue);
        first = false;
    }
    std::printf("]}\n");
    return 0;
}
