#pragma once

#include <QIcon>

#include <array>

namespace tarvelo {

// How an item's last update went, as its row icon shows it.
enum class HealthMark {
    None,     // it stored a quotation, or the item was never updated
    Failed,   // it failed: a red badge with a white cross
    HeldBack, // it found a value that was held back: an amber badge with a pause sign
};

// The six row icons of the portfolio list, drawn from paths at the size and pixel ratio
// they are shown at (16 x 16 in the list), so that they are sharp at any scale factor:
// 0 grey arrow right with a circle, 1 red arrow down with a minus, 2 green arrow up with
// a plus; 3 to 5 the same with a yellow exclamation mark for an alarm. Edges and signs
// are shaded for the list's background, light or dark. A health mark puts its badge over the lower left corner, cut free from the
// arrow so that it reads on a light and on a dark background.
QIcon portfolioRowIcon(int index, HealthMark mark = HealthMark::None);

// The row icons a view shows, each made the first time it is asked for (an index out
// of 0 to 5 is taken as the nearest). Each icon keeps its pictures per size, pixel ratio
// and palette, so a row draws with one pixmap copy.
class RowIconCache {
public:
    const QIcon& icon(int index, HealthMark mark) const;

private:
    mutable std::array<QIcon, 18> m_icons;
};

} // namespace tarvelo
