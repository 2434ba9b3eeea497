#pragma once

#include <string>

namespace tarvelo {

// The desktop program from start to end: reads the options, opens the portfolio (or
// starts a new one when none is named), shows the main window or, in unattended mode,
// updates every item with the window hidden and ends once the quotations are saved.
// Returns the exit status. Needs a QApplication.
int runTarvelo(bool unattended, const std::string& portfolio);

} // namespace tarvelo
