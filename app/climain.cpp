#include "cli/cli.h"
#include "platform/localtime.h"
#include "render/chartimage.h"
#include "servers/builtinservers.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    tarvelo::useUserLocale();
    // As the desktop program does at start-up.
    tarvelo::installBuiltInServers();
    std::vector<std::string> args(argv + 1, argv + argc);
    const int status = tarvelo::runCli(args, std::cout, std::cerr);
    // A chart command made a graphical application for its fonts.
    tarvelo::releaseGuiApplication();
    std::cout.flush();
    return status;
}
