#include "ui/sourcehealthwatch.h"

#include "ui/qtexts.h"

#include <QEvent>
#include <QWidget>

#include <chrono>
#include <filesystem>
#include <system_error>

namespace tarvelo {

SourceHealthWatch::SourceHealthWatch(const PortfolioDocument& doc, QWidget& window) : QObject(&window), m_doc(doc)
{
    window.installEventFilter(this);
}

bool SourceHealthWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        refresh();
    return QObject::eventFilter(watched, event);
}

SourceHealthWatch::FileStamp SourceHealthWatch::stampOf(const std::string& file)
{
    FileStamp stamp;
    if (file.empty())
        return stamp;
    std::error_code error;
    const std::filesystem::path path(file);
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error)
        return stamp;
    stamp.exists = true;
    stamp.modified = std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch()).count();
    stamp.size = std::filesystem::file_size(path, error);
    return stamp;
}

void SourceHealthWatch::setError(const std::string& message)
{
    m_error = fromCore(message);
}

void SourceHealthWatch::reload()
{
    m_portfolio = m_doc.filePath();
    SourceHealth fresh(m_portfolio);
    // Taken before the read: a write that comes in between is read at the next look.
    const FileStamp stamp = stampOf(fresh.stateFile());
    const Result<void> loaded = fresh.load();
    setError(loaded.ok() ? std::string() : loaded.message());
    m_stamp = stamp;
    const bool same = fresh.entries() == m_health.entries();
    m_health = std::move(fresh);
    if (!same)
        emit changed();
}

void SourceHealthWatch::refresh()
{
    if (m_doc.filePath() != m_portfolio || stampOf(m_health.stateFile()) != m_stamp)
        reload();
}

void SourceHealthWatch::take(const SourceHealth& fromRun, const std::string& runError)
{
    // A run of another portfolio (the window opened a new one meanwhile) is not this one's.
    if (fromRun.stateFile() != SourceHealth(m_doc.filePath()).stateFile()) {
        refresh();
        return;
    }
    m_portfolio = m_doc.filePath();
    setError(runError);
    m_stamp = stampOf(fromRun.stateFile());
    const bool same = fromRun.entries() == m_health.entries();
    m_health = fromRun;
    if (!same)
        emit changed();
}

void SourceHealthWatch::moveEntry(const HealthKey& from, const HealthKey& to)
{
    if (from == to)
        return;
    if (m_doc.filePath() != m_portfolio)
        reload();
    // The file as it is now, so that the move writes no stale entry of another writer.
    if (!m_health.stateFile().empty()) {
        SourceHealth current(m_portfolio);
        if (current.load().ok())
            m_health = std::move(current);
    }
    if (!m_health.find(from))
        return;
    m_health.rename(from, to);
    const Result<void> saved = m_health.save();
    setError(saved.ok() ? std::string() : saved.message());
    m_stamp = stampOf(m_health.stateFile());
    emit changed();
}

} // namespace tarvelo
