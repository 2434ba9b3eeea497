// Opening the property sheet of an item with 1,000,000 quotations (its Quotations page
// shown, on the offscreen platform, until the first turn of events is done) against
// loading the portfolio that holds them from its file, and the memory the open sheet
// takes, once its list has laid out every row, against the history's own size. Prints
// JSON for scripts/bench.
#include "bench/benchdata.h"
#include "download/downloadengine.h"
#include "download/messagesink.h"
#include "model/portfoliodocument.h"
#include "ui/itemproperties/itempropertiesdialog.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

using namespace tarvelo;
using namespace tarvelo::bench;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::size_t kRecords = 1'000'000;
constexpr int kRepeats = 3;

double seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    ScratchFolder folder;
    ::setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);

    const std::string path = folder.file("history.qvx");
    {
        PortfolioDocument doc;
        auto items = makePortfolio(1, kRecords);
        doc.addItemObject(std::move(items.front()));
        if (!doc.saveFile(path).ok())
            return 2;
    }

    double load = 1e9;
    double open = 1e9;
    std::int64_t grownKiB = 0;
    DownloadEngine engine;
    MessageQueue sink;
    {
        // The first dialog of a process loads fonts, styles and icons; that is not the
        // sheet's own cost.
        PortfolioDocument small;
        const ItemKey item = small.addItem(ItemSettings{});
        small.insertQuotation(item, 1.0, 1'700'000'000);
        ItemPropertiesDialog sheet(small, item, ItemPropertiesDialog::Quotations, -1, engine, sink);
        sheet.show();
        QApplication::processEvents();
    }
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
        PortfolioDocument doc;
        const auto loading = Clock::now();
        if (!doc.openFile(path).ok())
            return 2;
        load = std::min(load, seconds(loading));
        const ItemKey item = doc.itemPositions().front();

        const std::int64_t before = residentKiB();
        const auto opening = Clock::now();
        ItemPropertiesDialog sheet(doc, item, ItemPropertiesDialog::Quotations, -1, engine, sink);
        sheet.resize(600, 500);
        sheet.show();
        QApplication::processEvents();
        open = std::min(open, seconds(opening));
        // The list lays out its rows in batches once the sheet shows; the memory is
        // counted when it has done so.
        const auto settling = Clock::now();
        while (seconds(settling) < 0.5)
            QApplication::processEvents();
        if (repeat == 0) // later rounds reuse the memory the first one freed
            grownKiB = residentKiB() - before;
    }
    const std::int64_t historyKiB = static_cast<std::int64_t>(kRecords * sizeof(Quotation) / 1024);
    std::printf("{\"records\":%zu,\"load\":%.6f,\"open\":%.6f,\"grown_kib\":%lld,\"history_kib\":%lld}\n", kRecords,
                load, open, static_cast<long long>(grownKiB), static_cast<long long>(historyKiB));
    return 0;
}
