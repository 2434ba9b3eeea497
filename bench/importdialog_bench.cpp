// Importing a 1,000,000-line file the way the import dialog does (Read file through the
// download engine, the messages through the dialog's sink and event queue, then the
// preview's matching on a thread of its own, which OK waits for, and the batch insert),
// against the same steps as
// tarvelo-cli import takes them (the engine with a blocking queue, then the import on
// the calling thread), both in this process and without saving a portfolio, so only the
// paths differ. Windows are not shown (the offscreen platform). Prints JSON for
// scripts/bench.
#include "bench/benchdata.h"
#include "download/downloadengine.h"
#include "download/messagesink.h"
#include "platform/files.h"
#include "transfer/import.h"
#include "ui/importdialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace tarvelo;
using namespace tarvelo::bench;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kLines = 1'000'000;
constexpr int kRuns = 3;
constexpr TimeStamp kNow = 1'700'000'000;

ItemSettings acme()
{
    ItemSettings settings;
    settings.name = "ACME";
    settings.symbol = "AC";
    return settings;
}

double seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The dialog's path; the count imported.
std::size_t throughDialog(const std::string& file)
{
    PortfolioDocument doc;
    const ItemKey item = doc.addItem(acme());
    ImportState state;
    ImportDialog dialog(state, doc, item, WorkerSettings{}, kNow);
    dialog.findChild<QLineEdit*>(QStringLiteral("addressEdit"))->setText(QString::fromStdString("file://" + file));
    dialog.findChild<QPushButton*>(QStringLiteral("readFileButton"))->click();
    while (dialog.phase() == ImportDialog::Phase::Loading)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (dialog.phase() != ImportDialog::Phase::Loaded)
        return 0;
    dialog.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    const ImportResult result = importMatched(doc, item, dialog.takeMatch());
    state.removeLoadedFile();
    return result.ok() ? result->count : 0;
}

// The command line's path.
std::size_t throughCommandLine(const std::string& file)
{
    PortfolioDocument doc;
    const ItemKey item = doc.addItem(ItemSettings{});
    std::string rawFile;
    {
        MessageQueue queue;
        DownloadEngine engine;
        engine.setWorkerSettings(WorkerSettings{});
        startImportDownload(engine, queue, "file://" + file, "ACME", "AC");
        for (;;) {
            MessageQueue::Posted posted = queue.take(std::chrono::milliseconds(500));
            if (!posted.message)
                continue;
            if (!isFinalCode(posted.message->code))
                continue;
            if (posted.message->code == DownloadCode::Done)
                rawFile = posted.message->rawFile;
            break;
        }
    }
    if (rawFile.empty())
        return 0;
    const ImportSettings settings;
    const ImportExpression expression =
        translateImportTemplate(settings.formatTemplate, settings.thousands, settings.decimal, "AC");
    const ImportResult result = importQuotations(doc, item, rawFile, file, expression, settings.caseInsensitive,
                                                 settings.thousands, settings.decimal, kNow);
    std::remove(rawFile.c_str());
    return result.ok() ? result->count : 0;
}

} // namespace

int main(int argc, char** argv)
{
    ScratchFolder folder;
    ::setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
    ::setenv("TMPDIR", folder.path().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);

    const std::string file = folder.file("history.csv");
    writeImportFile(file, kLines);
    // The first dialog of a process loads fonts and styles: not the import's cost.
    {
        PortfolioDocument doc;
        ImportState state;
        ImportDialog warm(state, doc, doc.addItem(acme()), WorkerSettings{}, kNow);
    }

    double dialog = 1e9;
    double cli = 1e9;
    std::size_t dialogCount = 0;
    std::size_t cliCount = 0;
    for (int run = 0; run < kRuns; ++run) {
        auto started = Clock::now();
        cliCount = throughCommandLine(file);
        cli = std::min(cli, seconds(started));
        started = Clock::now();
        dialogCount = throughDialog(file);
        dialog = std::min(dialog, seconds(started));
    }
    std::printf("{\"lines\":%d,\"dialog_s\":%.4f,\"cli_s\":%.4f,\"ratio\":%.3f,\"dialog_imported\":%zu,"
                "\"cli_imported\":%zu}\n",
                kLines, dialog, cli, dialog / cli, dialogCount, cliCount);
    return dialogCount == static_cast<std::size_t>(kLines) && cliCount == static_cast<std::size_t>(kLines) ? 0 : 1;
}
