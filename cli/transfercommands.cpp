#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/commandoptions.h"
#include "download/downloadengine.h"
#include "download/pagedownload.h"
#include "download/statustext.h"
#include "extraction/urltemplate.h"
#include "platform/codepage.h"
#include "platform/utf8.h"
#include "platform/localtime.h"
#include "transfer/export.h"
#include "transfer/import.h"
#include "transfer/importpreview.h"
#include "transfer/payload.h"

#include <cstdio>
#include <filesystem>
#include <ostream>

namespace tarvelo {

namespace {

CalendarDate dateOf(TimeStamp time)
{
    const std::tm f = breakLocalTime(time);
    return {f.tm_year + 1900, f.tm_mon + 1, f.tm_mday};
}

} // namespace

int exportCommand(const CommandContext& c)
{
    if (c.args.size() != 2)
        return wrongCall(c.err, "export takes a portfolio and an output file");
    if (refuseSpecialOutput(c.args[1], c.err))
        return kExitError;
    PortfolioDocument doc;
    if (!openPortfolio(doc, c.args[0], c.err))
        return kExitError;
    const Result<void> result = exportQuotations(doc.items(), c.args[1]);
    if (!result.ok()) {
        reportFileError(c.err, c.args[1], result.message());
        return kExitError;
    }
    return kExitOk;
}

int importCommand(const CommandContext& c)
{
    CommandOptions o;
    if (!o.parse(c.args, {"template", "format", "case", "begin", "end"}, {"dry-run", "allow-future"}))
        return wrongCall(c.err, o.error());
    if (o.positional().size() != 3)
        return wrongCall(c.err, "import takes a portfolio, an item name and a source");
    const std::string path = o.positional()[0];
    const std::string source = o.positional()[2];

    ImportSettings settings;
    if (const auto text = o.text("template"))
        settings.formatTemplate = validUtf8(*text);
    std::optional<int> format, caseInsensitive;
    if (!o.integer("format", 0, 3, format) || !o.integer("case", 0, 1, caseInsensitive))
        return wrongCall(c.err, o.error());
    if (format) {
        settings.thousands = numberFormats()[static_cast<std::size_t>(*format)].thousands;
        settings.decimal = numberFormats()[static_cast<std::size_t>(*format)].decimal;
    }
    if (caseInsensitive)
        settings.caseInsensitive = *caseInsensitive == 1;
    const TimeStamp now = currentTime();
    CalendarDate begin = dateOf(now - 2592000);
    CalendarDate end = dateOf(now);
    if (o.has("begin") || o.has("end")) {
        const auto b = parseDateOption(o.text("begin").value_or(""));
        const auto e = parseDateOption(o.text("end").value_or(""));
        if (!b || !e) {
            const std::string format = "--begin and --end take dates as YYYY-MM-DD";
            return wrongCall(c.err, !b ? dateOptionProblem("begin", o.text("begin").value_or(""), false, format)
                                         : dateOptionProblem("end", o.text("end").value_or(""), false, format));
        }
        begin = *b;
        end = *e;
    }

    // A dry run only reads the portfolio: it takes no lock and writes nothing.
    const bool dryRun = o.flag("dry-run");
    const bool allowFuture = o.flag("allow-future");
    PortfolioDocument doc;
    if (!(dryRun ? openPortfolio(doc, path, c.err) : openForChange(doc, path, c.err)))
        return kExitError;
    const ItemKey item = findNamedItem(doc, o.positional()[1], c.err);
    if (!item)
        return kExitFailed;

    // As the import dialog does: a web address is expanded with the period; a local file
    // is fetched like a download, so the import works on a copy.
    std::string url;
    if (!isLocalPath(source)) {
        url = expandImportRange(validUtf8(source), begin, end);
    } else {
        std::error_code ignored;
        url = "file://" + std::filesystem::absolute(source, ignored).string();
    }
    std::string rawFile;
    const std::unique_ptr<DownloadMessage> m =
        downloadPage(JobKind::Import, url, doc.itemName(item), doc.itemSymbol(item), readWorkerSettings());
    if (m && m->code == DownloadCode::Done) {
        rawFile = m->rawFile;
    } else if (m) {
        const std::string status = m->code == DownloadCode::Error && m->detail == DownloadError::Other ? m->errorText
                                                                                          : connectionStatusText(*m);
        c.err << "tarvelo-cli: " << m->url << ": " << status << '\n';
    }
    if (rawFile.empty())
        return kExitError;

    const ImportExpression expression = translateImportTemplate(settings.formatTemplate, settings.thousands,
                                                                settings.decimal, doc.itemSymbol(item));
    const ImportMatch match = matchImportFile(rawFile, validUtf8(source), expression, settings.caseInsensitive,
                                              settings.thousands, settings.decimal, now);
    std::remove(rawFile.c_str());

    if (dryRun) {
        const ImportPreview preview = previewImport(*doc.item(item), match, now);
        for (const std::string& line : previewLines(preview))
            c.out << line << '\n';
        if (preview.importsNothing())
            return kExitError;
        if (preview.future.count > 0 && !allowFuture)
            c.out << "The import stores nothing while quotations lie in the future; --allow-future stores them.\n";
        return preview.skipped > 0 || preview.stopped || !preview.warnings.empty() ? kExitFailed : kExitOk;
    }
    // Nobody sees a warning before a script's import is stored, and a quotation in the
    // future would stay the item's latest until its day: such a file is refused whole.
    if (const FutureRecords future = futureRecords(match, now); future.count > 0 && !allowFuture) {
        c.out << "Nothing was imported: " << futureWarning(future)
              << ". Check the template and the dates, or give --allow-future to import anyway.\n";
        return kExitError;
    }
    const ImportResult result = importMatched(doc, item, match);
    if (!result.ok()) {
        c.out << result.message() << '\n';
        return kExitError;
    }
    // The report follows the save: a portfolio that could not be written imported nothing.
    if (doc.isModified()) {
        const Result<void> saved = doc.saveFile(path);
        if (!saved.ok()) {
            reportFileError(c.err, path, saved.message());
            return kExitError;
        }
    }
    c.out << result->report << '\n';
    return result->skipped > 0 || result->stopped ? kExitFailed : kExitOk;
}

// Items from one portfolio into another, as Copy and Paste carry them between two
// windows: the same payload, the same renaming.
int copyCommand(const CommandContext& c)
{
    if (c.args.size() < 2)
        return wrongCall(c.err, "copy takes the portfolio to copy from, the one to copy into and item names");
    const std::string& from = c.args[0];
    const std::string& into = c.args[1];
    PortfolioDocument source;
    if (!openPortfolio(source, from, c.err))
        return kExitError;
    std::vector<const SecurityItem*> items;
    for (std::size_t i = 2; i < c.args.size(); ++i) {
        const ItemKey key = findNamedItem(source, c.args[i], c.err);
        if (!key)
            return kExitFailed;
        items.push_back(source.item(key));
    }
    if (c.args.size() == 2) {
        for (const ItemKey key : source.itemPositions())
            items.push_back(source.item(key));
    }
    if (items.empty()) {
        c.err << "tarvelo-cli: " << from << " has no items\n";
        return kExitFailed;
    }
    const std::string payload = writeItemsPayload(items);

    PortfolioDocument target;
    if (!openForChange(target, into, c.err))
        return kExitError;
    const std::size_t before = target.itemCount();
    const Result<std::size_t> pasted = pasteItems(target, payload);
    if (!pasted.ok()) {
        c.err << "tarvelo-cli: " << pasted.message() << '\n';
        return kExitFailed;
    }
    if (!savePortfolio(target, into, c.err))
        return kExitError;
    const std::vector<ItemKey> positions = target.itemPositions();
    for (std::size_t i = 0; i < items.size() && before + i < positions.size(); ++i)
        c.out << items[i]->settings().name << " -> "
              << target.item(positions[before + i])->settings().name << '\n';
    return kExitOk;
}

} // namespace tarvelo
