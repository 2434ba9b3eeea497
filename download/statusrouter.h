#pragma once

#include "download/downloadjob.h"

#include <string>

// What the desktop program and the command line both do with MessageId::DownloadStatus
// messages: count running updates, hand final messages to the portfolio, and the texts
// of the connection status window.
namespace tarvelo {

class DownloadEngine;

class DownloadStatusRouter {
public:
    DownloadStatusRouter(PortfolioDocument& doc, DownloadEngine& engine) : m_doc(doc), m_engine(engine) {}

    // Counts the message and, for the final message of an item update, applies it to
    // the portfolio: a found quotation is inserted (taken from the message), any other
    // outcome ends the item's update. While the engine is aborting, a found quotation
    // is dropped; the abort ends when the last item being updated has reported. Test
    // messages change nothing.
    void route(DownloadMessage& message);
    int runningUpdates() const { return m_running; }

private:
    PortfolioDocument& m_doc;
    DownloadEngine& m_engine;
    int m_running = 0;
};

// The status text the connection window shows for a message ("Initialized",
// "Download 3 KB", "Error: Timeout!", ...); empty for DownloadCode::Done, whose row is removed.
std::string connectionStatusText(const DownloadMessage& message);
// The error text of an HTTP status that has no text of its own: "Error: Server!" and the
// number, so that a status such as 304 or 999 never shows as an empty text.
std::string serverStatusText(long status);

// What happens to the converted page of a NotFound, InvalidValue or TextNotFound message: kept under its own
// name followed by ".TXT" (returned) so it can be shown, or deleted (empty result).
std::string settleUnmatchedPage(const DownloadMessage& message, bool keep);

} // namespace tarvelo
