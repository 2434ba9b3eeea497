#include "model/portfoliolist.h"

#include "model/investment.h"

#include "platform/localtime.h"
#include "model/profilesettings.h"
#include "platform/profile.h"
#include "platform/translation.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace tarvelo {

namespace {

std::string format(const char* format, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

int sign(double v)
{
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

int dayCount(std::int64_t from, std::int64_t to)
{
    return static_cast<int>((to - from) / 86400);
}

// The date column: the time only today, the weekday within the last week, else the date.
std::string dateText(std::int32_t time, TimeStamp now)
{
    std::int64_t days = (static_cast<std::int64_t>(now) - time) / 86400;
    const std::tm t = breakLocalTime(time);
    const std::tm n = breakLocalTime(now);
    if (t.tm_hour * 3600 + t.tm_min * 60 + t.tm_sec > n.tm_hour * 3600 + n.tm_min * 60 + n.tm_sec)
        ++days;
    if (days >= 7)
        return formatLocalTime(time, "%x   %H:%M");
    if (days >= 1)
        return formatLocalTime(time, "%A   %H:%M");
    return formatLocalTime(time, "%H:%M");
}

} // namespace

std::string changeText(double percent, double nominal, int days, bool percentMode)
{
    return fill(translate("Portfolio", "%1 (%2 Days)"),
                {percentMode ? format("%+2.2f%%", percent) : format("%+3.4f", nominal), std::to_string(days)});
}

bool alarmHolds(const SecurityItem& item)
{
    // Rows of items without quotations get no change or alarm icon.
    return !item.history().empty() && inAlarm(item);
}

int rowIcon(const SecurityItem& item)
{
    double percent = 0;
    item.lastChangePercent(percent, true);
    const int direction = percent == 0 ? 0 : (percent < 0 ? 1 : 2);
    return direction + (alarmHolds(item) ? 3 : 0);
}

std::array<std::string, kListColumns> rowCells(const SecurityItem& item, bool percentMode, TimeStamp now)
{
    std::array<std::string, kListColumns> cells;
    const ItemSettings& s = item.settings();
    cells[0] = s.name;
    if (item.history().empty())
        return cells;
    double last = 0, low = 0, high = 0;
    std::int32_t lastTime = 0, firstTime = 0;
    item.lastValue(last);
    item.lowHigh(low, high);
    item.lastTime(lastTime);
    item.firstTime(firstTime);
    cells[1] = dateText(lastTime, now);
    cells[2] = format("%3.4f", last);
    cells[3] = format("%3.4f", low);
    cells[4] = format("%3.4f", high);
    for (const bool sinceLastDay : {true, false}) {
        double percent = 0, nominal = 0;
        item.lastChangePercent(percent, sinceLastDay);
        item.lastChange(nominal, sinceLastDay);
        std::int32_t reference = 0;
        const int days = item.referenceTime(reference, sinceLastDay) ? dayCount(reference, lastTime) : 0;
        cells[sinceLastDay ? 5 : 6] = changeText(percent, nominal, days, percentMode);
    }
    double totalPercent = 0, total = 0;
    item.totalChangePercent(totalPercent);
    item.totalChange(total);
    cells[7] = changeText(totalPercent, total, dayCount(firstTime, lastTime), percentMode);
    const double value = last * s.quantity;
    if (last != 0 && s.quantity != 0 && s.averageBuyPrice != 0) {
        cells[8] = percentMode ? format("%4.2f (%+2.2f%%)", value, last * 100 / s.averageBuyPrice - 100)
                               : format("%4.2f (%+4.2f)", value, (last - s.averageBuyPrice) * s.quantity);
    } else {
        cells[8] = format("%4.2f", value);
    }
    return cells;
}

RowSortKey rowSortKey(const SecurityItem& item, int column)
{
    RowSortKey key;
    double v = 0, low = 0, high = 0;
    switch (column) {
    case 0: key.name = &item.settings().name; break;
    case 1: {
        std::int32_t time = 0;
        item.lastTime(time);
        key.number = time;
        break;
    }
    case 2: item.lastValue(v); key.number = v; break;
    case 3: item.lowHigh(low, high); key.number = low; break;
    case 4: item.lowHigh(low, high); key.number = high; break;
    case 5: item.lastChangePercent(v, true); key.number = v; break;
    case 6: item.lastChangePercent(v, false); key.number = v; break;
    case 7: item.totalChangePercent(v); key.number = v; break;
    case 8: item.lastValue(v); key.number = v * item.settings().quantity; break;
    default: break;
    }
    return key;
}

int compareRowKeys(const RowSortKey& a, const RowSortKey& b, int column)
{
    if (column == 0) {
        static const std::string none;
        const std::string& x = a.name ? *a.name : none;
        const std::string& y = b.name ? *b.name : none;
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        const bool less = std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(),
                                                       [&](char p, char q) { return lower(p) < lower(q); });
        const bool greater = std::lexicographical_compare(y.begin(), y.end(), x.begin(), x.end(),
                                                          [&](char p, char q) { return lower(p) < lower(q); });
        return less ? -1 : (greater ? 1 : 0);
    }
    if (column == 1)
        return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    return sign(a.number - b.number);
}

int compareRows(const SecurityItem& a, const SecurityItem& b, int column)
{
    return compareRowKeys(rowSortKey(a, column), rowSortKey(b, column), column);
}

std::vector<const SecurityItem*> sortedRows(std::vector<const SecurityItem*> items, int column, bool reverse)
{
    std::vector<std::pair<RowSortKey, const SecurityItem*>> keyed;
    keyed.reserve(items.size());
    for (const SecurityItem* item : items)
        keyed.emplace_back(rowSortKey(*item, column), item);
    std::stable_sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
        const int c = compareRowKeys(a.first, b.first, column);
        return reverse ? c > 0 : c < 0;
    });
    for (std::size_t i = 0; i < keyed.size(); ++i)
        items[i] = keyed[i].second;
    return items;
}

std::string totalsText(const std::vector<const SecurityItem*>& items, bool percentMode)
{
    double value = 0, invested = 0, previous = 0;
    bool gains = true;
    bool last = true;
    for (const SecurityItem* item : items) {
        const ItemSettings& s = item->settings();
        const auto& history = item->history();
        if (s.quantity == 0 || history.empty())
            continue;
        value += s.quantity * history.back().value;
        invested += s.averageBuyPrice * s.quantity;
        if (s.averageBuyPrice == 0)
            gains = false;
        if (history.size() < 2)
            last = false;
        else
            previous += s.quantity * history[history.size() - 2].value;
    }
    if (value == 0 || invested == 0)
        gains = false;
    if (!gains || value == 0 || previous == 0)
        last = false;
    const std::string amount = format("%4.2f", value);
    if (!gains)
        return fill(translate("Portfolio", "Amount invested: %1"), {amount});
    const std::string total =
        percentMode ? format("%+2.2f%%", value * 100 / invested - 100) : format("%+4.2f", value - invested);
    if (!last)
        return fill(translate("Portfolio", "Amount invested: %1 (Total: %2)"), {amount, total});
    const std::string lastChange =
        percentMode ? format("%+2.2f%%", value * 100 / previous - 100) : format("%+4.2f", value - previous);
    return fill(translate("Portfolio", "Amount invested: %1 (Last: %2 Total: %3)"), {amount, lastChange, total});
}

ListViewOptions loadListViewOptions()
{
    const Profile profile;
    ListViewOptions options;
    const std::string widths = settings::kListColumnWidths.read(profile);
    std::size_t start = 0;
    for (int column = 0; column < kListColumns && start <= widths.size(); ++column) {
        const auto comma = widths.find(',', start);
        const std::string token = widths.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        try {
            std::size_t used = 0;
            const int width = std::stoi(token, &used);
            if (used > 0)
                options.widths[static_cast<std::size_t>(column)] = width;
        } catch (...) {
            // A token that is no number leaves the column at its default width.
        }
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    options.sortColumn = std::clamp(settings::kListSortColumn.read(profile), 0, kListColumns - 1);
    options.sortReverse = settings::kListSortReverse.read(profile);
    options.percent = settings::kListInPercent.read(profile);
    return options;
}

void saveListViewOptions(const ListViewOptions& options)
{
    Profile profile;
    std::string widths = std::to_string(options.widths[0]);
    for (int column = 1; column < kListColumns; ++column)
        widths += "," + std::to_string(options.widths[static_cast<std::size_t>(column)]);
    settings::kListColumnWidths.write(profile, widths);
    settings::kListSortColumn.write(profile, options.sortColumn);
    settings::kListSortReverse.write(profile, options.sortReverse);
    settings::kListInPercent.write(profile, options.percent);
}

} // namespace tarvelo
