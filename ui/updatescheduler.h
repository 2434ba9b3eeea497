#pragma once

#include "model/generaloptions.h"
#include "platform/localtime.h"

#include <QObject>

#include <functional>

class QTimer;
class QWidget;

namespace tarvelo {

// The automatic update: a timer with the period of the option "UpdateInterval" whose
// ticks ask for an update of every item when "now" lies inside the daily window.
class UpdateScheduler : public QObject {
    Q_OBJECT
public:
    using Clock = std::function<TimeStamp()>;

    // The window parents the message about a period the timer cannot hold.
    UpdateScheduler(const GeneralOptions& options, Clock now, QWidget& window);

    // Minutes above 0 (re)start the timer with that period; 0 stops it.
    void start(int minutes);
    void stop();
    // Starts or stops the timer as the options say.
    void applyOptions();
    // After an update the next one comes one full period later, when updates are automatic.
    void restartPeriod();
    bool active() const;
    int remaining() const; // milliseconds, -1 when stopped

    // One tick: asks for the update when inside the daily window.
    void tick();

signals:
    void updateDue();

private:
    const GeneralOptions& m_options;
    Clock m_now;
    QWidget& m_window;
    QTimer* m_timer = nullptr;
};

} // namespace tarvelo
