#include "transfer/payload.h"

#include "model/portfoliodocument.h"

#include <algorithm>

namespace tarvelo {

namespace {

bool Shown(const std::string& name, const std::vector<std::string>& shown)
{
    return std::any_of(shown.begin(), shown.end(), [&](const std::string& s) { return SameItemName(s, name); });
}

} // namespace

std::string WriteItemsPayload(const std::vector<const SecurityItem*>& items)
{
    return SaveItems(items);
}

PayloadResult ReadItemsPayload(std::string_view bytes)
{
    PayloadResult result;
    LoadResult loaded = LoadItems(bytes);
    if (!loaded.ok || bytes.empty()) {
        result.message = "Clipboard data could not be read!";
        return result;
    }
    result.ok = true;
    result.items = std::move(loaded.items);
    return result;
}

std::string PastedItemName(const std::string& name, const std::vector<std::string>& shown)
{
    if (!Shown(name, shown))
        return name;
    const std::string copy = "Copy of " + name;
    if (!Shown(copy, shown))
        return copy;
    for (int i = 1;; ++i) {
        std::string numbered = copy + " (" + std::to_string(i) + ")";
        if (!Shown(numbered, shown))
            return numbered;
    }
}

PayloadResult PasteItems(PortfolioDocument& doc, std::string_view bytes)
{
    PayloadResult read = ReadItemsPayload(bytes);
    if (!read.ok)
        return read;
    std::vector<std::string> shown;
    for (const ItemKey pos : doc.GetItemPositions())
        shown.push_back(doc.GetItemName(pos));
    for (auto& item : read.items) {
        item->settings().name = PastedItemName(item->settings().name, shown);
        shown.push_back(item->settings().name);
        doc.AddItemObject(std::move(item));
    }
    read.items.clear();
    return read;
}

} // namespace tarvelo
