#pragma once

#include "model/serverconfig.h"
#include "platform/result.h"

#include <cstdint>
#include <optional>
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

// A file of some configurations only, to pass on: the named ones (letter case aside,
// each once, in the store's order, under the store's spelling), without the version of
// the built-in set, so that importing it never stops or forces the installation of that
// set. A name that is not stored fails the whole call, naming it.
Result<std::string> serverConfigsRegFileText(const std::vector<std::string>& names);
// Writes that file; nothing is written when a name is unknown.
Result<void> exportServerConfigs(const std::string& path, const std::vector<std::string>& names);

// The configurations of a registry file, checked as the import checks them, each with
// every value as it would be stored.
struct ServerConfigEntry {
    std::string name;
    ServerConfig config;
};
struct ServerConfigFile {
    std::vector<ServerConfigEntry> configs;
    // The version of the built-in set the file carries, if it has the version key.
    std::optional<std::int32_t> version;
};
Result<ServerConfigFile> readServerConfigsText(std::string_view text);
Result<ServerConfigFile> readServerConfigsFile(const std::string& path);

// What storing a configuration would do to the store as it is now.
enum class ServerConfigChange { Add, Replace, Unchanged };
struct ServerConfigChangeEntry {
    std::string name;
    ServerConfigChange change;
};
// One entry per configuration, in the given order: Add when no configuration of the name
// (letter case aside) is stored, Unchanged when the stored one has the same values, and
// Replace when it differs.
std::vector<ServerConfigChangeEntry> serverConfigChanges(const std::vector<ServerConfigEntry>& configs);
// The names of one kind of change.
std::vector<std::string> serverConfigNames(const std::vector<ServerConfigChangeEntry>& changes,
                                           ServerConfigChange change);
// Stores the configurations, each replacing the stored one of its name, and raises the
// stored set version to the given one (never lowers it), in one write: all or nothing.
// False when the settings file could not be written (Profile::writeFailureMessage()).
bool storeServerConfigs(const std::vector<ServerConfigEntry>& configs, std::optional<std::int32_t> version);

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


} // namespace tarvelo
