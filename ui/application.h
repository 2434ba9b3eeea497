#pragma once

#include <string>
#include <vector>

namespace tarvelo {

// Whether the command line asks for unattended update mode ("/u" or "-u"); the program
// reads it before Qt starts, to choose a platform without a display.
bool wantsUnattendedMode(int argc, char** argv);

// The desktop program from start to end: reads the options, opens the portfolio named
// on the command line (or starts a new one), shows the main window or, in unattended
// mode, updates every item with the window hidden and ends once the quotations are
// saved. Returns the exit status. Needs a QApplication.
int runTarvelo(const std::vector<std::string>& args);

} // namespace tarvelo
