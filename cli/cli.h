#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tarvelo {

// Exit statuses of tarvelo-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; // the command ran and reports a negative result
inline constexpr int kExitError = 2;  // wrong call, or a file that cannot be read or written

// Runs one tarvelo-cli command. args excludes the program name.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tarvelo
