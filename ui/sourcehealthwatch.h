#pragma once

#include "model/portfoliodocument.h"
#include "model/sourcehealth.h"

#include <QObject>

#include <cstdint>
#include <string>

class QWidget;

namespace tarvelo {

// The window's copy of the portfolio's source health: read from the portfolio's health
// file when a portfolio is opened, taken from the window's update run when a run ends,
// and read again when another program (tarvelo -u, tarvelo-cli) changed the file, which
// is looked at when the window becomes active and when the portfolio was reloaded.
class SourceHealthWatch : public QObject {
    Q_OBJECT
public:
    // Looks at the file whenever window becomes the active window.
    SourceHealthWatch(const PortfolioDocument& doc, QWidget& window);

    const SourceHealth& health() const { return m_health; }
    // Why the file could not be read or written last; empty when it could.
    const QString& error() const { return m_error; }

    // Reads the health file of the portfolio as it is now (another portfolio, or the same
    // under a new name).
    void reload();
    // Reads the file again only when it changed since it was last read here.
    void refresh();
    // What an update run recorded and wrote: the run's copy is the newest.
    void take(const SourceHealth& fromRun, const std::string& runError);
    // An item was renamed, or got another symbol: its entry goes with it, in the file too.
    void moveEntry(const HealthKey& from, const HealthKey& to);

signals:
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct FileStamp {
        bool exists = false;
        std::int64_t modified = 0; // nanoseconds
        std::uintmax_t size = 0;
        bool operator==(const FileStamp&) const = default;
    };
    static FileStamp stampOf(const std::string& file);
    void setError(const std::string& message);

    const PortfolioDocument& m_doc;
    SourceHealth m_health;
    std::string m_portfolio; // the path m_health belongs to
    FileStamp m_stamp;       // of the file when it was last read or written here
    QString m_error;
};

} // namespace tarvelo
