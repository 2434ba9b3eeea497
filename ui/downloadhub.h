#pragma once

#include "download/downloadengine.h"
#include "download/updaterun.h"
#include "ui/queuedmessagesink.h"

#include <QObject>

#include <set>
#include <string>
#include <vector>

namespace tarvelo {

class ConnectionStatusWindow;

// The desktop program's end of the download engine and the window's update run: workers
// post their messages here (thread-safe, carried to the user-interface thread); there
// each MessageId::DownloadStatus message of an item update goes to the run, which
// applies it to the portfolio, and then to the connection status window; a test
// download's final message is shown in a message box.
class DownloadHub : public QueuedMessageSink {
    Q_OBJECT
public:
    DownloadHub(PortfolioDocument& doc, DownloadEngine& engine, ConnectionStatusWindow& status,
                QObject* parent = nullptr);

    // Starts an update of the items; returns the number of download jobs started.
    int updateItems(const std::vector<ItemKey>& items) { return m_run.start(items); }
    // Stops the updates under way; what they still bring is not applied.
    void abortUpdates() { m_run.abort(); }
    int runningUpdates() const { return m_run.runningUpdates(); }
    // A download runs, or an item waits for its own.
    bool updatesUnderWay() const { return m_run.underWay(); }

    // What the window's updates recorded of each item's source.
    const SourceHealth& health() const { return m_run.health(); }
    const std::string& healthError() const { return m_run.healthError(); }

    // "Accept value" in the connection status window: stores the value an update held
    // back for the item (acceptHeldBackValue), removes the item's row and saves the
    // health. Says why not, and is false, when there is no value to accept.
    bool acceptValue(ItemKey item);

    void setPortfolioTitle(std::string title) { m_title = std::move(title); }
    void setUnattended(bool on) { m_unattended = on; }
    void setDownloadStatus(bool on) { m_downloadStatus = on; }
    // While the program ends: results still reach the portfolio, but no window or
    // message box opens and pages that were not matched are deleted.
    void setShuttingDown(bool on) { m_shuttingDown = on; }

    // The status bar's download pane: empty, "1 Quotation beeing updated" or
    // "%i Quotations beeing updated".
    static QString downloadPaneText(int running);
    // Why a download failed, for its error box: never empty.
    static QString downloadErrorCause(const DownloadMessage& message);

signals:
    void runningUpdatesChanged(int running);
    // The update is over: no download runs and no item waits (unattended mode then
    // saves and ends).
    void updatesFinished();
    // A held-back value was stored: the run's health record changed.
    void valueAccepted();
    // A page of another kind of job (wizard, import) for its own window.
    void pageMessage(MessageId messageId, DownloadMessage* message);

private:
    void receive(MessageId messageId, DownloadMessage& message);
    void handle(DownloadMessage& message);
    void showTestResult(DownloadMessage& message);

    PortfolioDocument& m_doc;
    ConnectionStatusWindow& m_status;
    UpdateRun m_run;
    std::string m_title;
    bool m_unattended = false;
    bool m_downloadStatus = true;
    bool m_shuttingDown = false;
    // Test downloads under way (by worker), each holding the busy cursor.
    std::set<std::uint32_t> m_busyTests;
};

} // namespace tarvelo
