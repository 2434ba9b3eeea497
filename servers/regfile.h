#pragma once

#include "model/serverconfig.h"
#include "platform/result.h"

#include <string>
#include <string_view>
#include <vector>

// The server configurations as a registry file: the export of the whole store with the
// version of the built-in set, and the import of such a file. The file is REGEDIT4 in
// Windows-1252 while every text fits that code page, and otherwise the UTF-16LE form
// of "Windows Registry Editor Version 5.00" with a byte order mark; both are read.
namespace tarvelo {

// The value lines of a configuration, without line ends, in the file's order and
// notation ("URL"="...", "Timeout"=dword:0000003c, ...): the nineteen of every
// configuration, then "MaxChange" and "Fallback".
std::vector<std::string> serverConfigValueLines(const ServerConfig& config);

// The whole export file of the store as it is now, as the bytes of the file.
std::string serverConfigsRegFileText();
// Writes that file; "File could not be saved (%i)" with the cause code on failure.
Result<void> exportServerConfigs(const std::string& path);

// Reads a registry file and applies its server configurations and set version to the
// store. The whole file is checked first, each value against the range the server
// settings dialog accepts: a file with any error changes nothing and the message names
// the line. A configuration the file names replaces the stored one of that name; the
// others stay. A set version lower than the stored one is not taken, so the next start
// does not install the built-in set over the imported configurations. Everything is
// stored in one write; when the settings file cannot be written nothing is stored and
// the message is Profile::writeFailureMessage().
Result<void> importServerConfigs(const std::string& path);
Result<void> importServerConfigsText(std::string_view text);
// The checks of the import alone, storing nothing.
Result<void> checkServerConfigsText(std::string_view text);

// A configuration of a registry file, named by its key.
struct NamedServerConfig {
    std::string name;
    ServerConfig config;
};
// The configurations of a registry file in the file's order, checked as the import
// checks them, without storing anything.
Result<std::vector<NamedServerConfig>> readServerConfigsText(std::string_view text);

} // namespace tarvelo
