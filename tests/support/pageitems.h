#pragma once

#include "model/itemsettings.h"

#include <string>

namespace tarvelo::test {

// An item the tests' quotation pages serve: the standard search reads the number after
// "Kurs SYMBOL:" in the text-only page at the address.
inline ItemSettings pageItemSettings(std::string name, std::string symbol, std::string url)
{
    ItemSettings settings;
    settings.name = std::move(name);
    settings.symbol = std::move(symbol);
    settings.server.url = std::move(url);
    settings.server.conversion = Conversion::TextOnly;
    settings.server.textBeforeValue = "Kurs [&symbol]:";
    return settings;
}

} // namespace tarvelo::test
