#pragma once

#include "model/serverconfig.h"

#include <vector>

namespace tarvelo {

// The eighteen configurations shipped with the program, in installation order, each
// with its name in the record's name field.
const std::vector<ServerConfig>& builtInServerConfigs();

// Writes every built-in configuration over the one of the same name unless the stored
// set is current, then raises the stored set version to the current one. Runs at every
// start of the desktop program and of tarvelo-cli. All of it is stored in one write; false
// when the settings file could not be written (nothing is then installed).
bool installBuiltInServers();

} // namespace tarvelo
