#include "platform/translation.h"
#include "transfer/payload.h"

#include "model/portfoliodocument.h"
#include "resources/strings.h"

#include <algorithm>

namespace tarvelo {

namespace {

bool nameTaken(const std::string& name, const std::vector<std::string>& shown)
{
    return std::any_of(shown.begin(), shown.end(), [&](const std::string& s) { return sameItemName(s, name); });
}

} // namespace

std::string writeItemsPayload(const std::vector<const SecurityItem*>& items)
{
    return saveItems(items);
}

Result<std::vector<std::unique_ptr<SecurityItem>>> readItemsPayload(std::string_view bytes)
{
    if (bytes.empty())
        return Failure{translate("Import", strings::kClipboardNotRead)};
    // A payload is whole or refused: bytes after the items the count announced mean the
    // count itself is damaged, and the items it gave would be only some of the copied.
    LoadResult loaded = loadItems(bytes);
    if (!loaded.ok() || !loaded->warning.empty())
        return Failure{translate("Import", strings::kClipboardNotRead) + "\n"
                       + translate("Import", strings::kClipboardItemsDamaged)};
    return std::move(loaded->items);
}

std::string pastedItemName(const std::string& name, const std::vector<std::string>& shown)
{
    if (!nameTaken(name, shown))
        return name;
    const std::string copy = fill(translate("Import", "Copy of %1"), {name});
    if (!nameTaken(copy, shown))
        return copy;
    for (int i = 1;; ++i) {
        std::string numbered = copy + " (" + std::to_string(i) + ")";
        if (!nameTaken(numbered, shown))
            return numbered;
    }
}

Result<std::size_t> pasteItems(PortfolioDocument& doc, std::string_view bytes)
{
    auto read = readItemsPayload(bytes);
    if (!read.ok())
        return read.failure();
    std::vector<std::string> shown;
    for (const ItemKey pos : doc.itemPositions())
        shown.push_back(doc.itemName(pos));
    for (auto& item : *read) {
        item->settings().name = pastedItemName(item->settings().name, shown);
        // Another program's payload, or "Copy of " before a long name: held to the bounds.
        boundItemTexts(item->settings());
        shown.push_back(item->settings().name);
        doc.addItemObject(std::move(item));
    }
    return read->size();
}

} // namespace tarvelo
