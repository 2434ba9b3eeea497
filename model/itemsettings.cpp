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

std::string overlongItemText(const ItemSettings& settings)
{
    if (settings.name.size() > kMaxItemNameLength)
        return "name";
    if (settings.symbol.size() > kMaxItemNameLength)
        return "symbol";
    if (settings.memo.size() > kMaxItemMemoLength)
        return "memo";
    return {};
}

bool boundItemTexts(ItemSettings& settings)
{
    bool cut = false;
    const auto bound = [&cut](std::string& text, std::size_t length) {
        if (text.size() > length) {
            text.resize(length);
            text.shrink_to_fit();
            cut = true;
        }
    };
    bound(settings.name, kMaxItemNameLength);
    bound(settings.symbol, kMaxItemNameLength);
    bound(settings.memo, kMaxItemMemoLength);
    return cut;
}

} // namespace tarvelo
