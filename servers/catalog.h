#pragma once

#include "model/serverconfig.h"
#include "platform/result.h"

#include <string>
#include <string_view>
#include <vector>

// The ready-made configurations shipped with the program (share/tarvelo/catalog.reg):
// an ordinary configuration file whose keys are each preceded by comment lines that
// begin with ";;" and describe the configuration (publisher, address, when the data is
// published, terms of use). Three of those lines, when present, give an address
// template and a line template for the import of the same symbol's history:
// ";; Import address: ...", ";; Import format: ..." and ";; Import number format: N".
namespace tarvelo {

struct CatalogEntry {
    std::string name;
    std::string description; // the ";;" lines without their marker, one a line
    std::string importAddress;
    std::string importFormat;
    int importNumberFormat = 3; // as the import's format list numbers them
    ServerConfig config;
};

// The catalog file: beside the program, in ../share/tarvelo from the program's folder,
// and else the copy of the build tree; empty when there is none.
std::string catalogFilePath();

// Reads the entries of a catalog text, checked as an import of the file is; a key
// without a description is refused.
Result<std::vector<CatalogEntry>> readCatalogText(std::string_view text);
// Reads the catalog file, catalogFilePath() when path is empty.
Result<std::vector<CatalogEntry>> readCatalog(const std::string& path = {});

// The entry of that name (compared as the store compares names), or null.
const CatalogEntry* findCatalogEntry(const std::vector<CatalogEntry>& entries, std::string_view name);

// Stores the entries in one write. A stored configuration of the same name is replaced
// only with replace; otherwise nothing is stored and the message names the ones that
// exist. An entry's import address joins the import's address list (the first free of
// its numbered values) unless the list holds it already, or is full.
Result<void> addCatalogEntries(const std::vector<const CatalogEntry*>& entries, bool replace);

} // namespace tarvelo
