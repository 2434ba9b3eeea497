#pragma once

#include "model/quotation.h"
#include "model/serverconfig.h"
#include "model/portfoliodocument.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The records of the download engine: a job (one page fetch), the items it serves and
// the messages its worker posts.
namespace tarvelo {

class MessageSink;

// Message ids, as the receiving windows know them.
inline constexpr unsigned kWmUser = 0x0400;
inline constexpr unsigned WM_DOWNLOAD_STATUS = kWmUser + 100;
inline constexpr unsigned WM_WIZARD_DOWNLOAD = kWmUser + 101;
inline constexpr unsigned WM_IMPORT_DOWNLOAD = kWmUser + 102;

// Message codes.
enum DownloadCode {
    DL_INITIALIZED = 1,
    DL_CONNECTING = 2,
    DL_CONNECTED = 3,
    DL_DONE = 4,
    DL_NOT_FOUND = 5,
    DL_INVALID_VALUE = 6,
    DL_TEXT_NOT_FOUND = 7,
    DL_ERROR = 8,
    DL_PROGRESS = 9,
    DL_ABORTED = 10,
};

// Error details of DL_ERROR.
enum DownloadErrorDetail {
    DLERR_WRONG_URL = 5,
    DLERR_FILE_NOT_FOUND = 6,
    DLERR_TIMEOUT = 8,
    DLERR_BAD_URL = 9,
    DLERR_SERVER = 10,
    DLERR_OTHER = 11,
};

inline bool IsFinalCode(int code)
{
    return (code >= DL_DONE && code <= DL_ERROR) || code == DL_ABORTED;
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
    bool test = false;
    bool wizard = false;
    bool import = false;
    DownloadSlots* downloadSlots = nullptr; // item updates only; must outlive the worker
    std::vector<DownloadItemEntry> entries;
    MessageSink* sink = nullptr;
    unsigned messageId = WM_DOWNLOAD_STATUS;
};

struct DownloadMessage {
    std::uint32_t worker = 0;
    bool test = false;
    int code = 0;
    int detail = 0;
    int kilobytes = 0;
    std::string itemName; // at most 254 characters
    std::string url;
    std::string rawFile;
    std::string semiHtmlFile;
    std::string convertedFile;
    std::string errorText; // at most 1023 characters
    std::string extractionMessage;
    ItemKey itemKey;
    std::unique_ptr<Quotation> quotation; // code 4 of an item entry
};

} // namespace tarvelo
