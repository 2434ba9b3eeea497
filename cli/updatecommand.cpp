#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/commandoptions.h"
#include "download/downloadengine.h"
#include "download/statustext.h"
#include "download/updaterun.h"
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

    bool allFound = true;
    {
        DownloadEngine engine(slots.value_or(loadOptions().numberDownloads));
        engine.setWorkerSettings(readWorkerSettings());
        UpdateRun run(doc, engine);
        run.keepHealth();
        run.start(doc.itemPositions());
        const std::size_t expected = run.itemsStarted();
        std::size_t finals = 0;
        const bool terminal = ::isatty(STDERR_FILENO) == 1;
        run.runToEnd([&](DownloadMessage& m) {
            ++finals;
            allFound = allFound && m.code == DownloadCode::Done;
            c.out << m.itemName << '\t' << finalText(m) << std::endl;
            // As in unattended mode, a page without the quotation is not kept.
            settleUnmatchedPage(m, false);
            if (terminal)
                c.err << '\r' << finals << " of " << expected << " items updated" << (finals == expected ? "\n" : "")
                      << std::flush;
        });
        if (finals < expected)
            allFound = false;
        if (!run.healthError().empty())
            c.err << "tarvelo-cli: " << run.healthError() << '\n';
    }

    const bool saved = saveUpdatedQuotations(doc, [&](const std::string& text, bool failed) {
        if (failed)
            reportFileError(c.err, path, text);
        else
            c.err << "tarvelo-cli: " << text << '\n';
    });
    if (!saved)
        return kExitError;
    return allFound ? kExitOk : kExitFailed;
}

} // namespace tarvelo
