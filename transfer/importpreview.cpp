#include "platform/translation.h"
#include "transfer/importpreview.h"

#include "platform/localtime.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace tarvelo {

namespace {

} // namespace

TimeStamp futureAfter(const ImportMatch& match, TimeStamp now)
{
    if (match.timeFromFile)
        return now;
    const std::tm today = breakLocalTime(now);
    const TimeStamp tomorrow = makeLocalTime(today.tm_year + 1900, today.tm_mon + 1, today.tm_mday + 1);
    return tomorrow == -1 ? std::numeric_limits<TimeStamp>::max() : tomorrow - 1;
}

FutureRecords futureRecords(const ImportMatch& match, TimeStamp now)
{
    const TimeStamp after = futureAfter(match, now);
    FutureRecords future;
    for (const Quotation& record : match.lines.records) {
        if (record.time > after) {
            future.latest = future.count == 0 ? record.time : std::max(future.latest, record.time);
            ++future.count;
        }
    }
    return future;
}

std::string futureWarning(const FutureRecords& future)
{
    return fill(future.count == 1 ? translate("Import", "%1 quotation lies in the future (the latest %2)")
                                  : translate("Import", "%1 quotations lie in the future (the latest %2)"),
                {std::to_string(future.count), previewTime(future.latest)});
}

bool isFarFrom(double value, double latest)
{
    return value > 2.0 * latest || value < 0.5 * latest;
}

ImportPreview previewImport(const SecurityItem& item, const ImportMatch& match, TimeStamp now)
{
    ImportPreview preview;
    const ImportLines& lines = match.lines;
    const std::vector<Quotation>& records = lines.records;
    preview.records = records.size();
    preview.skipped = lines.skippedLines;
    preview.stopped = lines.stopped;
    if (records.empty()) {
        preview.failure = importFailureText(match);
        return preview;
    }
    preview.newRecords = item.newQuotations(records).size();
    preview.hasLatest = item.lastValue(preview.latestValue);

    const TimeStamp after = futureAfter(match, now);
    preview.first = preview.last = records.front().time;
    for (const Quotation& record : records) {
        preview.first = std::min(preview.first, record.time);
        preview.last = std::max(preview.last, record.time);
        if (preview.hasLatest && isFarFrom(record.value, preview.latestValue)) {
            preview.farLowest = preview.far == 0 ? record.value : std::min(preview.farLowest, record.value);
            preview.farHighest = preview.far == 0 ? record.value : std::max(preview.farHighest, record.value);
            ++preview.far;
        }
    }
    preview.future = futureRecords(match, now);

    const std::size_t shown = std::min(records.size(), ImportPreview::kShownRecords);
    for (std::size_t i = 0; i < shown; ++i) {
        ImportPreview::Row row;
        row.record = records[i];
        // Not added when the history holds it, or when an earlier line gave the same.
        row.held = item.holdsQuotation(records[i])
                   || std::find(records.begin(), records.begin() + static_cast<std::ptrdiff_t>(i), records[i])
                          != records.begin() + static_cast<std::ptrdiff_t>(i);
        row.future = records[i].time > after;
        row.far = preview.hasLatest && isFarFrom(records[i].value, preview.latestValue);
        preview.rows.push_back(row);
    }

    preview.counts = fill(translate("Import", "%1 lines matched: %2"),
                          {std::to_string(records.size() + lines.skippedLines),
                           importReportText(preview.newRecords, records.size() - preview.newRecords, lines,
                                            translate("Import", "to import"))});
    preview.range = fill(translate("Import", "Dates from %1 to %2"), {previewTime(preview.first), previewTime(preview.last)});
    if (preview.future.count > 0)
        preview.warnings.push_back(futureWarning(preview.future));
    if (preview.far > 0) {
        const std::string values =
            preview.far == 1 || preview.farLowest == preview.farHighest
                ? previewValue(preview.farLowest)
                : fill(translate("Import", "%1 to %2"), {previewValue(preview.farLowest), previewValue(preview.farHighest)});
        preview.warnings.push_back(
            fill(preview.far == 1 ? translate("Import", "%1 quotation is more than 100% away from the latest value %2 (%3)")
                                  : translate("Import", "%1 quotations are more than 100% away from the latest value %2 (%3)"),
                 {std::to_string(preview.far), previewValue(preview.latestValue), values}));
    }
    return preview;
}

std::string previewTime(TimeStamp time)
{
    return formatLocalTime(time, "%x %H:%M");
}

std::string previewValue(double value)
{
    std::string text(64, '\0');
    const int n = std::snprintf(text.data(), text.size(), "%3.4lf", value);
    if (n >= static_cast<int>(text.size())) {
        text.resize(static_cast<std::size_t>(n) + 1);
        std::snprintf(text.data(), text.size(), "%3.4lf", value);
    }
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return text;
}

std::vector<std::string> previewLines(const ImportPreview& preview)
{
    if (preview.importsNothing())
        return {preview.failure};
    std::vector<std::string> lines{preview.counts, preview.range};
    for (const std::string& warning : preview.warnings)
        lines.push_back(fill(translate("Import", "Warning: %1"), {warning}));
    for (const ImportPreview::Row& row : preview.rows)
        lines.push_back(previewTime(row.record.time) + '\t' + previewValue(row.record.value)
                        + (row.held ? "\t" + translate("Import", "(already in the history)") : std::string()));
    return lines;
}

} // namespace tarvelo
