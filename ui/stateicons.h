#pragma once

#include <QIcon>

namespace tarvelo {

// The row icons of the connection status window, drawn from paths at the size and pixel
// ratio shown (16 x 16 in the window), pins and cable in the list's text colour:
// 0 computer with a globe (initialized), 1 computer (connecting), 2 connector
// (connected), 3 blue arrow down (downloading), 4 red cross (error or abort).
QIcon connectionStateIcon(int index);

} // namespace tarvelo
