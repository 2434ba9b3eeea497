#pragma once

#include <QColor>
#include <QIcon>

#include <functional>

class QPainter;

namespace tarvelo {

// The colours an icon takes from the palette it is shown on.
struct IconColours {
    QColor ink;        // lines and signs drawn straight onto the background: the palette's text colour
    QColor background; // what the icon is shown on
    bool dark() const { return background.lightnessF() < 0.5; }
    // A colour drawn straight onto the background, made lighter on a dark one so that it
    // stays readable there.
    QColor onBackground(const QColor& colour) const { return dark() ? colour.lighter(150) : colour; }
};

// Draws an icon into a square of 16 by 16 units, whatever size it is drawn at.
using IconDrawing = std::function<void(QPainter&, const IconColours&)>;

// Where an icon is shown, which says which of the palette's colours it stands on.
enum class IconSurface {
    Window, // toolbars, title bars and dialogs: WindowText on Window
    List,   // rows of a list: Text on Base (HighlightedText on Highlight when selected)
};

// An icon drawn from its drawing at exactly the size and device pixel ratio that it is
// asked for, so that it is sharp at any scale factor, in the colours of the
// application's palette. Each size, pixel ratio, mode and palette is drawn once and
// kept, so showing the icon again costs one pixmap copy. A disabled icon is the style's
// greyed form of the drawn one.
QIcon vectorIcon(IconDrawing drawing, IconSurface surface = IconSurface::Window);

} // namespace tarvelo
