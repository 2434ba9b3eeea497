#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/commandoptions.h"
#include "download/downloadengine.h"
#include "download/statusrouter.h"
#include "model/generaloptions.h"
#include "platform/codepage.h"
#include "platform/localtime.h"

#include <cstdio>
#include <ostream>
#include <unistd.h>

namespace tarvelo {

namespace {

std::string finalText(const DownloadMessage& m)
{
    if (m.code == DownloadCode::Done && m.quotation) {
        char value[64];
        std::snprintf(value, sizeof value, "%3.4f", m.quotation->value);
        return std::string(value) + " " + formatLocalTime(m.quotation->time, "%x %H:%M");
    }
    return connectionStatusText(m);
}

} // namespace

int updateCommand(const CommandContext& c)
{
    CommandOptions o;
    if (!o.parse(c.args, {"slots"}))
        return wrongCall(c.err, o.error());
    if (o.positional().size() != 1)
        return wrongCall(c.err, "update takes one portfolio file");
    std::optional<int> slots;
    if (!o.integer("slots", 1, 500, slots))
        return wrongCall(c.err, o.error());
    const std::string path = o.positional()[0];

    PortfolioDocument doc;
    if (!openPortfolio(doc, path, c.err))
        return kExitError;

    MessageQueue queue;
    bool allFound = true;
    std::size_t finals = 0;
    {
        DownloadEngine engine(slots.value_or(loadOptions().numberDownloads));
        DownloadStatusRouter router(doc, engine);
        engine.setWorkerSettings(readWorkerSettings());
        updateItems(doc, doc.itemPositions(), engine, queue);
        std::size_t expected = 0;
        for (const ItemKey pos : doc.itemPositions())
            expected += doc.isBeingUpdated(pos) ? 1 : 0;
        const bool terminal = ::isatty(STDERR_FILENO) == 1;
        while (finals < expected) {
            MessageQueue::Posted posted = queue.take(std::chrono::milliseconds(500));
            if (!posted.message) {
                if (engine.runningWorkers() == 0 && queue.size() == 0)
                    break; // every worker has ended; nothing more will come
                continue;
            }
            DownloadMessage& m = *posted.message;
            if (!isFinalCode(m.code)) {
                router.route(m);
                continue;
            }
            ++finals;
            allFound = allFound && m.code == DownloadCode::Done;
            c.out << m.itemName << '\t' << finalText(m) << std::endl;
            // As in unattended mode, a page without the quotation is not kept.
            settleUnmatchedPage(m, false);
            router.route(m);
            if (terminal)
                c.err << '\r' << finals << " of " << expected << " items updated" << (finals == expected ? "\n" : "")
                      << std::flush;
        }
        if (finals < expected)
            allFound = false;
    }

    // The downloads ran without the lock; the new quotations go into the file as it
    // is now. A run that brought none leaves the file alone.
    if (doc.hasNewQuotations()) {
        const DocumentResult saved = doc.saveMerged();
        if (!saved.ok()) {
            reportFileError(c.err, path, saved.message());
            return kExitError;
        }
        reportWarning(c.err, *saved);
    }
    return allFound ? kExitOk : kExitFailed;
}

} // namespace tarvelo
