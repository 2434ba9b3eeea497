#include "model/itemsettings.h"

#include "platform/utf8.h"

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

namespace {

// True when the text has more characters than the bound; the bytes tell at once when it
// cannot have.
bool beyond(const std::string& text, std::size_t characters)
{
    return text.size() > characters && utf8Length(text) > characters;
}

} // namespace

std::string overlongItemText(const ItemSettings& settings)
{
    if (beyond(settings.name, kMaxItemNameLength))
        return "name";
    if (beyond(settings.symbol, kMaxItemNameLength))
        return "symbol";
    if (beyond(settings.memo, kMaxItemMemoLength))
        return "memo";
    return {};
}

bool boundItemTexts(ItemSettings& settings)
{
    bool cut = false;
    const auto bound = [&cut](std::string& text, std::size_t characters) {
        if (beyond(text, characters)) {
            text.resize(utf8Prefix(text, characters));
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
