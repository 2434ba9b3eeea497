#include "model/itemsettings.h"

namespace tarvelo {

ItemSettings newItemSettings(std::int32_t now, std::mt19937& random)
{
    ItemSettings settings;
    settings.chart.periodStart = now;
    settings.chart.periodEnd = static_cast<std::int32_t>(static_cast<std::int64_t>(now) + ChartOptions::kDefaultPeriod);
    std::uniform_int_distribution<int> pick(0, 10);
    settings.chart.lineColour = kNewItemColours[pick(random)];
    return settings;
}

ItemSettings newItemSettings(std::int32_t now)
{
    static thread_local std::mt19937 random{std::random_device{}()};
    return newItemSettings(now, random);
}

} // namespace tarvelo
