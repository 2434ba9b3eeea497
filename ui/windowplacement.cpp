#include "ui/windowplacement.h"

#include "model/profilesettings.h"
#include "platform/profile.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <string>

namespace tarvelo {

void WindowPlacement::restore(QWidget& window)
{
    window.resize(900, 600);
    const std::string stored = settings::kWindowPlacement.read(Profile());
    int left = 0, top = 0, right = 0, bottom = 0;
    char rest = 0;
    if (stored.empty()
        || std::sscanf(stored.c_str(), "%i,%i,%i,%i%c", &left, &top, &right, &bottom, &rest) != 4)
        return; // nothing stored, or not four numbers: the system places the window
    const QRect rect(QPoint(left, top), QSize(right - left, bottom - top));
    if (rect.width() < 200 || rect.height() < 150)
        return;
    // A place on a screen that is no longer there would hide the window.
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(rect)) {
            window.setGeometry(rect);
            return;
        }
    }
    window.resize(rect.size());
}

void WindowPlacement::restoreSplitter(QSplitter& splitter, int windowHeight)
{
    const int listHeight = settings::kListHeight.read(Profile());
    splitter.setSizes({std::max(listHeight, 20), std::max(windowHeight - listHeight, 20)});
}

void WindowPlacement::save(const QWidget& window, const QSplitter& splitter)
{
    Profile profile;
    const QRect rect = window.normalGeometry();
    const int left = rect.left(), top = rect.top(), right = rect.left() + rect.width(),
              bottom = rect.top() + rect.height();
    if (left > 0 && top > 0 && right > 0 && bottom > 0) {
        char text[64];
        std::snprintf(text, sizeof text, "%i,%i,%i,%i", left, top, right, bottom);
        settings::kWindowPlacement.write(profile, text);
    }
    settings::kListHeight.write(profile, splitter.sizes().value(0, settings::kListHeight.fallback));
    profile.sync();
}

} // namespace tarvelo
