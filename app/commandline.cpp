#include "app/commandline.h"

namespace tarvelo {

CommandLine parseCommandLine(const std::vector<std::string>& args)
{
    CommandLine line;
    bool havePortfolio = false;
    for (const std::string& arg : args) {
        if (arg == "/u" || arg == "-u") {
            line.unattended = true;
        } else if (!arg.empty() && (arg[0] == '-' || (arg[0] == '/' && arg.find('/', 1) == std::string::npos))) {
            continue; // another switch
        } else if (!havePortfolio) {
            line.portfolio = arg;
            havePortfolio = true;
        }
    }
    return line;
}

} // namespace tarvelo
