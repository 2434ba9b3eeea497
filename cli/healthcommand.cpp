#include "cli/cli.h"
#include "cli/commandoptions.h"
#include "cli/commands.h"
#include "cli/json.h"
#include "model/sourcehealth.h"

#include <ctime>
#include <ostream>

namespace tarvelo {

namespace {

// A moment in ISO 8601, in UTC.
std::string isoTime(std::int64_t time)
{
    const std::time_t seconds = static_cast<std::time_t>(time);
    std::tm parts{};
    if (!::gmtime_r(&seconds, &parts))
        return {};
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

void printText(std::ostream& out, const std::vector<HealthRow>& rows)
{
    out << "Item\tSymbol\tConfiguration\tLast success\tFailures\tLast reason\n";
    for (const HealthRow& row : rows) {
        const ItemHealth& h = row.health;
        out << oneLineCell(row.name) << '\t' << oneLineCell(row.symbol) << '\t' << oneLineCell(row.configuration)
            << '\t' << h.lastSuccessText()
            << '\t' << h.failures << '\t' << oneLineCell(h.lastReason) << '\n';
    }
}

void printJson(std::ostream& out, const std::vector<HealthRow>& rows)
{
    out << '[';
    bool first = true;
    for (const HealthRow& row : rows) {
        const ItemHealth& h = row.health;
        out << (first ? "" : ",") << "\n{\"name\":" << json::text(row.name) << ",\"symbol\":" << json::text(row.symbol)
            << ",\"configuration\":" << json::text(row.configuration)
            << ",\"lastSuccess\":" << (h.lastSuccess != 0 ? json::text(isoTime(h.lastSuccess)) : "null")
            << ",\"failures\":" << h.failures
            << ",\"reason\":" << (h.lastReason.empty() ? "null" : json::text(h.lastReason));
        if (const auto& held = h.heldBack)
            out << ",\"heldBack\":{\"value\":" << json::number(held->quotation.value)
                << ",\"time\":" << json::text(isoTime(held->quotation.time))
                << ",\"latest\":" << json::number(held->latest) << '}';
        out << '}';
        first = false;
    }
    out << (rows.empty() ? "]\n" : "\n]\n");
}

} // namespace

int healthCommand(const CommandContext& c)
{
    CommandOptions o;
    if (!o.parse(c.args, {}, {"json"}))
        return wrongCall(c.err, o.error());
    if (o.positional().size() != 1)
        return wrongCall(c.err, "health takes one portfolio file");
    const std::string path = o.positional()[0];

    PortfolioDocument doc;
    if (!openPortfolio(doc, path, c.err))
        return kExitError;
    SourceHealth health(doc.filePath());
    if (const Result<void> loaded = health.load(); !loaded.ok()) {
        reportFileError(c.err, health.stateFile(), loaded.message());
        return kExitError;
    }

    const std::vector<HealthRow> rows = healthRows(doc.items(), health);
    if (o.flag("json"))
        printJson(c.out, rows);
    else
        printText(c.out, rows);
    c.out.flush();
    for (const HealthRow& row : rows) {
        if (row.health.failing())
            return kExitFailed;
    }
    return kExitOk;
}

} // namespace tarvelo
