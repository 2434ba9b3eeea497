#pragma once

#include "model/securityitem.h"

#include <string>
#include <vector>

namespace tarvelo {

struct ExportResult {
    bool ok = true;
    std::string message; // "File could not be saved (%i)"
};

// Writes the quotation histories of the items: a BIFF2 spreadsheet when the lower-cased
// path contains ".xls", else a text file. An empty portfolio gives an empty text file
// or a workbook without cells.
ExportResult exportQuotations(const std::vector<const SecurityItem*>& items, const std::string& path);

// The two layouts, as bytes.
std::string quotationsText(const std::vector<const SecurityItem*>& items);
std::string quotationsSheet(const std::vector<const SecurityItem*>& items);

} // namespace tarvelo
