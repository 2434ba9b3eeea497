#pragma once

class QRect;
class QSplitter;
class QWidget;

namespace tarvelo {

// Where the main window stands and how high its list is, kept in the profile section
// "Dimensions" as "MainWindow" (left,top,right,bottom) and "ListView".
class WindowPlacement {
public:
    // The stored place, moved and shrunk into the available part of the screen it is
    // on (the primary screen when that screen is no longer there); else the default size.
    static void restore(QWidget& window);
    // A place moved and shrunk into the available part of the screens.
    static QRect fitted(const QRect& rect);
    // The list's stored height; the chart pane takes the rest of the window.
    static void restoreSplitter(QSplitter& splitter, int windowHeight);
    // Keeps the window's normal place (not one at or beyond the screen's top-left edge)
    // and the list's height.
    static void save(const QWidget& window, const QSplitter& splitter);
};

} // namespace tarvelo
