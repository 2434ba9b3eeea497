#pragma once

#include "model/securityitem.h"
#include "platform/result.h"

#include <string>
#include <vector>

namespace tarvelo {


// Writes the quotation histories of the items: a BIFF2 spreadsheet when the lower-cased
// path contains ".xls", else a text file (UTF-8). An empty portfolio gives an empty text
// file or a workbook without cells. A spreadsheet keeps its texts in Windows-1252: an
// item whose name or symbol that code page cannot hold is refused, naming the
// characters, and no file is written.

// The refusal of a spreadsheet export for such an item; empty when every item fits.
std::string sheetRefusal(const std::vector<const SecurityItem*>& items);
// A failure says "File could not be saved (%i)", or why the file cannot hold a text.
Result<void> exportQuotations(const std::vector<const SecurityItem*>& items, const std::string& path);

// The two layouts, as bytes.
std::string quotationsText(const std::vector<const SecurityItem*>& items);
std::string quotationsSheet(const std::vector<const SecurityItem*>& items);

} // namespace tarvelo
