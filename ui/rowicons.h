#pragma once

#include <QIcon>

namespace tarvelo {

// The six row icons of the portfolio list, drawn at 16 x 16 pixels: 0 grey arrow right
// with a circle, 1 red arrow down with a minus, 2 green arrow up with a plus; 3 to 5 the
// same with a yellow exclamation mark for an alarm.
QIcon portfolioRowIcon(int index);

} // namespace tarvelo
