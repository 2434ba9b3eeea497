#include "model/itemsettings.h"

namespace tarvelo {

ServerConfig NewItemServerConfig()
{
    ServerConfig config;
    config.url = "http://www.";
    config.timeout = 180;
    config.thousandsSeparator.clear();
    config.decimalSeparator = ",";
    config.conversion = 0;
    config.textBeforeValue = "[&symbol]";
    config.tagsToSkip = 0;
    config.numbersToSkip = 0;
    config.caseInsensitive = 1;
    config.searchKind = 0;
    config.regExp = "[&symbol][\"', \t\r\n]*([0-9,]+)";
    config.quotationIndex = 1;
    config.extractDate = 0;
    config.dayIndex = 2;
    config.monthIndex = 3;
    config.yearIndex = 4;
    config.extractTime = 0;
    config.hourIndex = 5;
    config.minuteIndex = 6;
    return config;
}

ItemSettings NewItemSettings(std::int32_t now, std::mt19937& random)
{
    ItemSettings settings;
    settings.chart.periodStart = now;
    settings.chart.periodEnd = static_cast<std::int32_t>(static_cast<std::int64_t>(now) + ChartOptions::kDefaultPeriod);
    std::uniform_int_distribution<int> pick(0, 10);
    settings.chart.lineColour = kNewItemColours[pick(random)];
    return settings;
}

ItemSettings NewItemSettings(std::int32_t now)
{
    static thread_local std::mt19937 random{std::random_device{}()};
    return NewItemSettings(now, random);
}

} // namespace tarvelo
