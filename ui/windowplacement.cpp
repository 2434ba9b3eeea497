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

namespace {

// The available part (without panels) of the screen that holds most of the rectangle;
// the primary screen's when none holds any of it.
QRect availableFor(const QRect& rect)
{
    QRect best;
    qint64 bestArea = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect overlap = screen->availableGeometry().intersected(rect);
        const qint64 area = qint64(overlap.width()) * overlap.height();
        if (area > bestArea) {
            best = screen->availableGeometry();
            bestArea = area;
        }
    }
    if (bestArea == 0) {
        const QScreen* primary = QGuiApplication::primaryScreen();
        return primary ? primary->availableGeometry() : QRect();
    }
    return best;
}

} // namespace

void WindowPlacement::restore(QWidget& window)
{
    const QRect available = availableFor(QRect());
    window.resize(available.isEmpty() ? QSize(900, 600) : QSize(900, 600).boundedTo(available.size()));
    const std::string stored = settings::kWindowPlacement.read(Profile());
    int left = 0, top = 0, right = 0, bottom = 0;
    char rest = 0;
    if (stored.empty()
        || std::sscanf(stored.c_str(), "%i,%i,%i,%i%c", &left, &top, &right, &bottom, &rest) != 4)
        return; // nothing stored, or not four numbers: the system places the window
    const QRect rect(QPoint(left, top), QSize(right - left, bottom - top));
    if (rect.width() < 200 || rect.height() < 150)
        return;
    window.setGeometry(fitted(rect));
}

QRect WindowPlacement::fitted(const QRect& rect)
{
    const QRect available = availableFor(rect);
    if (available.isEmpty())
        return rect;
    // A window larger than the screen (stored on a larger one, or at another scale
    // factor) shrinks to it; one that stands out of it, or on a screen that is no
    // longer there, moves in.
    const QSize size = rect.size().boundedTo(available.size());
    QPoint place = rect.topLeft();
    if (!available.intersects(rect))
        place = available.center() - QPoint(size.width() / 2, size.height() / 2);
    place.setX(std::clamp(place.x(), available.left(), available.right() + 1 - size.width()));
    place.setY(std::clamp(place.y(), available.top(), available.bottom() + 1 - size.height()));
    return QRect(place, size);
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
