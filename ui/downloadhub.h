#pragma once

#include "download/downloadengine.h"
#include "download/statusrouter.h"

#include <QObject>

#include <set>
#include <string>

namespace tarvelo {

class ConnectionStatusWindow;

// The desktop program's end of the download engine: workers post their messages here
// (thread-safe, through the Qt event queue); on the user-interface thread each
// MessageId::DownloadStatus message is counted, a final one is applied to the portfolio (or,
// for a test download, shown in a message box), and every non-test message goes to the
// connection status window.
class DownloadHub : public QObject, public MessageSink {
    Q_OBJECT
public:
    DownloadHub(PortfolioDocument& doc, DownloadEngine& engine, ConnectionStatusWindow& status,
                QObject* parent = nullptr);

    void post(MessageId messageId, std::unique_ptr<DownloadMessage> message) override;

    int runningUpdates() const { return m_router.runningUpdates(); }
    void setPortfolioTitle(std::string title) { m_title = std::move(title); }
    void setUnattended(bool on) { m_unattended = on; }
    void setDownloadStatus(bool on) { m_downloadStatus = on; }
    // While the program ends: results still reach the portfolio, but no window or
    // message box opens and pages that were not matched are deleted.
    void setShuttingDown(bool on) { m_shuttingDown = on; }

    // The status bar's download pane: empty, "1 Quotation beeing updated" or
    // "%i Quotations beeing updated".
    static QString downloadPaneText(int running);

signals:
    void runningUpdatesChanged(int running);
    // The running updates came back to 0 (unattended mode then saves and ends).
    void updatesFinished();
    // A page of another kind of job (wizard, import) for its own window.
    void pageMessage(MessageId messageId, DownloadMessage* message);

protected:
    bool event(QEvent* event) override;

private:
    void handle(DownloadMessage& message);
    void showTestResult(DownloadMessage& message);

    PortfolioDocument& m_doc;
    ConnectionStatusWindow& m_status;
    DownloadStatusRouter m_router;
    std::string m_title;
    bool m_unattended = false;
    bool m_downloadStatus = true;
    bool m_shuttingDown = false;
    // Test downloads under way (by worker), each holding the busy cursor.
    std::set<std::uint32_t> m_busyTests;
};

} // namespace tarvelo
