#pragma once

#include "model/archive.h"
#include "model/portfoliodocument.h"
#include "platform/result.h"

#include <string>
#include <string_view>
#include <vector>

// Items between portfolios: the clipboard content (MIME type application/x-tarvelo-items)
// is the portfolio file's encoding of a list of items.
namespace tarvelo {

inline constexpr const char* kItemsMimeType = "application/x-tarvelo-items";

std::string writeItemsPayload(const std::vector<const SecurityItem*>& items);

// The items of a payload. A payload that cannot be read, in whole or in part, gives no
// items and says so: "Clipboard data could not be read!", followed on a line of its own
// by the reason when there were bytes but they are damaged.
Result<std::vector<std::unique_ptr<SecurityItem>>> readItemsPayload(std::string_view bytes);

// The name a pasted item gets beside the names already shown (compared without regard
// to case): its own, else "Copy of NAME", else "Copy of NAME (1)", "(2)", ...
std::string pastedItemName(const std::string& name, const std::vector<std::string>& shown);

// Adds the payload's items to the portfolio one by one, each renamed against the names
// shown so far (including the items pasted before it). Returns how many were added.
Result<std::size_t> pasteItems(PortfolioDocument& doc, std::string_view bytes);

} // namespace tarvelo
