#pragma once

#include "download/downloadjob.h"

#include <string>

// The texts of download messages as the connection status window and the command line
// show them, and what becomes of the converted page of a message whose quotation was
// not found.
namespace tarvelo {

// The status text the connection window shows for a message ("Initialized",
// "Download 3 KB", "Error: Timeout!", "Error: Implausible value 1250.0000 (last
// 12.5000)", ...); empty for DownloadCode::Done, whose row is removed. The messages of a
// fallback's download end in " (from NAME)", and its found quotation reads "Quotation
// found (from NAME)".
std::string connectionStatusText(const DownloadMessage& message);
// The error text of an HTTP status that has no text of its own: "Error: Server!" and the
// number, so that a status such as 304 or 999 never shows as an empty text.
std::string serverStatusText(long status);

// What happens to the converted page of a NotFound, InvalidValue or TextNotFound message: kept under its own
// name followed by ".TXT" (returned) so it can be shown, or deleted (empty result).
std::string settleUnmatchedPage(const DownloadMessage& message, bool keep);

} // namespace tarvelo
