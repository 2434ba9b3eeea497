#pragma once

#include <QIcon>

namespace tarvelo {

// The program's icon (a rising chart on a blue square) and its variant after an abort
// (with a red cross), for windows and the notification icon.
QIcon applicationIcon();
QIcon abortedApplicationIcon();

// The toolbar picture of a command (commands::k...); an empty icon for commands that
// have none. All of them are drawn from paths at the size and pixel ratio shown, lines on
// the background in the palette's text colour.
QIcon commandIcon(int command);

} // namespace tarvelo
