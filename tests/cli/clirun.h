#pragma once

#include "cli/cli.h"

#include <sstream>
#include <string>
#include <vector>

// Runs tarvelo-cli in the test's process and keeps what it printed.
namespace tarvelo::test {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

inline CliRun cli(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = runCli(args, out, err);
    return {status, out.str(), err.str()};
}

} // namespace tarvelo::test
