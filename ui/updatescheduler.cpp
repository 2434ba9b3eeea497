#include "ui/updatescheduler.h"

#include "resources/strings.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"

#include <QTimer>
#include <QWidget>

#include <climits>

namespace tarvelo {

UpdateScheduler::UpdateScheduler(const GeneralOptions& options, Clock now, QWidget& window)
    : QObject(&window), m_options(options), m_now(std::move(now)), m_window(window)
{
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("updateTimer"));
    m_timer->setTimerType(Qt::PreciseTimer); // the daily window's bounds are exact
    connect(m_timer, &QTimer::timeout, this, &UpdateScheduler::tick);
}

void UpdateScheduler::start(int minutes)
{
    if (minutes <= 0) {
        m_timer->stop();
        return;
    }
    const long long period = static_cast<long long>(minutes) * 60000;
    if (period > INT_MAX) {
        m_timer->stop();
        Prompter::instance().inform(&m_window, text(strings::kTimerError), Prompter::Icon::Warning);
        return;
    }
    m_timer->start(static_cast<int>(period));
}

void UpdateScheduler::stop()
{
    m_timer->stop();
}

void UpdateScheduler::applyOptions()
{
    start(m_options.autoupdate ? m_options.updateInterval : 0);
}

void UpdateScheduler::restartPeriod()
{
    if (m_options.autoupdate)
        start(m_options.updateInterval);
}

bool UpdateScheduler::active() const
{
    return m_timer->isActive();
}

int UpdateScheduler::remaining() const
{
    return m_timer->remainingTime();
}

void UpdateScheduler::tick()
{
    if (insideUpdateWindow(m_options, m_now()))
        emit updateDue();
}

} // namespace tarvelo
