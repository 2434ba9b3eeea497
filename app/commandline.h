#pragma once

#include <string>
#include <vector>

namespace tarvelo {

// The desktop program's command line: "/u" or "-u" asks for unattended update mode; the
// first plain parameter names the portfolio. Other switches keep their usual meaning and
// are not the portfolio; "/home/..." is an absolute path, not a switch.
struct CommandLine {
    bool unattended = false;
    std::string portfolio;
};
CommandLine parseCommandLine(const std::vector<std::string>& args);

} // namespace tarvelo
