#pragma once

#include "model/quotation.h"
#include "model/serverconfig.h"
#include "model/portfoliodocument.h"
#include "platform/translation.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The records of the download engine: a job (one page fetch), the items it serves and
// the messages its worker posts.
namespace tarvelo {

class MessageSink;

// The messages a worker posts, as the receiving windows know them.
enum class MessageId : unsigned {
    DownloadStatus = 0x0400 + 100,
    WizardDownload = 0x0400 + 101,
    ImportDownload = 0x0400 + 102,
};

// What a message reports; the numbers are those of the status texts' table.
enum class DownloadCode {
    None = 0,
    Initialized = 1,
    Connecting = 2,
    Connected = 3,
    Done = 4,
    NotFound = 5,
    InvalidValue = 6,
    TextNotFound = 7,
    Error = 8,
    Progress = 9,
    Aborted = 10,
    // An item update found a value that the plausibility check held back. Never posted
    // by a worker: the update run makes it of a DownloadCode::Done message.
    Implausible = 11,
};

// The cause of DownloadCode::Error.
enum class DownloadError {
    None = 0,
    WrongUrl = 5,
    FileNotFound = 6,
    Timeout = 8,
    BadUrl = 9,
    Server = 10,
    Other = 11,
};

// What a job is for: an item update, a test download whose result is only shown, the
// configuration wizard's page, or an import's page.
enum class JobKind { Update, Test, Wizard, Import };

inline bool isFinalCode(DownloadCode code)
{
    return (code >= DownloadCode::Done && code <= DownloadCode::Error) || code == DownloadCode::Aborted
           || code == DownloadCode::Implausible;
}

// One item a page serves, with a snapshot of the item's configuration whose texts
// already hold the item's name and symbol.
struct DownloadItemEntry {
    ItemKey itemKey; // null in a test job
    std::string name;
    ServerConfig config;
};

struct DownloadJob {
    std::string url; // item variables expanded; date variables still in it
    std::uint32_t timeout = 60; // seconds
    JobKind kind = JobKind::Update; // an update waits for one of the engine's slots
    // The configuration's own request headers, as its field "Headers" holds them; only
    // items whose configurations send the same share a job.
    std::string headers;
    std::vector<DownloadItemEntry> entries;
    MessageSink* sink = nullptr;
    MessageId messageId = MessageId::DownloadStatus;
};

// What a worker saw of the page, for the final messages of item and test jobs: what a
// user needs to tell why a source stopped working.
struct PageFacts {
    std::string address;         // the address fetched last: dates expanded, redirects followed
    int redirects = 0;           // redirects followed to reach it
    long httpStatus = 0;         // of the last answer; 0 for local files and failed connections
    std::uint64_t bytes = 0;     // of the page as read, after any decompression
    std::string contentType;     // the Content-Type header, if any
    std::string contentEncoding; // the Content-Encoding header, if any
    std::string charset;         // the declared character set ("utf-8"), empty when none
    std::string charsetSource;   // "header" or "meta" when one was declared
    bool convertedFromUtf8 = false; // the page was turned from UTF-8 into Windows-1252
};

// The error text of a page whose server certificate is not trusted: the host, then the
// network library's reason.
inline constexpr const char* kCertificateNotTrusted =
    TARVELO_TRANSLATE_NOOP("Download", "certificate not trusted for host %1: %2");
// The error text of a job whose page had nowhere to go.
inline constexpr const char* kNoTempFile = TARVELO_TRANSLATE_NOOP("Download", "No temporary file could be created.");

struct DownloadMessage {
    std::uint32_t worker = 0;
    bool test = false;
    DownloadCode code = DownloadCode::None;
    DownloadError detail = DownloadError::None;
    int kilobytes = 0;
    std::string itemName; // at most 254 characters
    std::string url;
    std::string rawFile;
    std::string semiHtmlFile;
    std::string convertedFile;
    std::string errorText; // at most 1023 characters
    std::string extractionMessage;
    ItemKey itemKey;
    std::unique_ptr<Quotation> quotation; // DownloadCode::Done of an item entry
    PageFacts page; // final messages of item and test jobs
    // Set by the update run: the fallback configuration whose download this message
    // reports ("(from NAME)"), empty for the item's own; and, with
    // DownloadCode::Implausible, the item's latest value the held-back quotation was
    // compared with (none when the item had no history).
    std::string fallbackName;
    std::optional<double> latestValue;
};

} // namespace tarvelo
