#pragma once

#include "model/serverconfig.h"

#include <string>
#include <string_view>
#include <vector>

// The named server configurations of the profile store, one key per configuration
// under "Server", and the version of the installed built-in set.
namespace tarvelo {

class Profile;

// The version of the built-in configuration set that this program installs.
inline constexpr int kServerSetVersion = 20;

// The profile key of the configurations, relative to the profile root.
inline constexpr std::string_view kServerKey = "Server";
inline constexpr std::string_view kServerVersionKey = "Server Version";
inline constexpr std::string_view kServerVersionValue = "Version number";

// The longest configuration name that reads back.
inline constexpr std::size_t kMaxServerName = 259;
// Why the store cannot keep a configuration under this name (empty, too long, a control
// character, a "\" or "/" that would make it a key path, blanks at either end), or
// empty when it can.
std::string serverNameProblem(std::string_view name);
// Why a text value of a configuration cannot be stored (a NUL character, which would cut
// it short, or a line break, which the export file could not write), or empty.
std::string serverTextProblem(std::string_view text);
// Whether a configuration of this name is stored.
bool serverConfigExists(std::string_view name);

// Appends the names of all stored configurations (the list is not cleared first).
void enumerateServerConfigs(std::vector<std::string>& names);
// Fills the record from the store; a missing configuration or value reads as defaults.
void readServerConfig(std::string_view name, ServerConfig& config);
// Stores the record's values under the name (the record's own name is not used).
// False when the settings file could not be written (Profile::writeFailureMessage()).
bool writeServerConfig(std::string_view name, const ServerConfig& config);
bool deleteServerConfig(std::string_view name);

// The same on an open profile, for callers that read or write many configurations and
// store them in one write (Profile::sync()).
void readServerConfig(const Profile& profile, std::string_view name, ServerConfig& config);
void writeServerConfig(Profile& profile, std::string_view name, const ServerConfig& config);
// The configuration an item's own record stands for: the named one from the store, or
// the record itself when it names none.
ServerConfig resolveServerConfig(const ServerConfig& own);

bool isServerSetCurrent();
int storedServerSetVersion();
int storedServerSetVersion(const Profile& profile);
// Raises the stored version to the current set's after the set was installed; false
// when the settings file could not be written.
bool storeServerSetVersion();
// Raises the stored version to the given one; a lower one changes nothing, so that an
// older set is never installed over the configurations of a newer one.
void raiseServerSetVersion(Profile& profile, std::int32_t version);
// The figure the About box shows after "Installed server configuration version:".
std::string installedServerSetVersionText();

} // namespace tarvelo
