#pragma once

#include <QIcon>

namespace tarvelo {

// The program's icon (a rising chart on a blue square) and its variant after an abort
// (with a red cross), for windows and the notification icon.
QIcon applicationIcon();
QIcon abortedApplicationIcon();

// The toolbar picture of a command (commands::k...); an empty icon for commands that
// have none.
QIcon commandIcon(int command);

} // namespace tarvelo
