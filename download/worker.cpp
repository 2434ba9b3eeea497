#include "download/downloadengine.h"

#include "extraction/extract.h"
#include "extraction/page.h"
#include "extraction/urltemplate.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/localtime.h"
#include "resources/Strings.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace tarvelo {

namespace {

constexpr std::size_t kBlock = 1024;
constexpr int kTempFileTries = 10;
// Pages below this size are converted and searched in memory.
constexpr std::size_t kInMemoryPage = 8u << 20;
constexpr std::size_t kMaxItemName = 254;
constexpr std::size_t kMaxErrorText = 1023;
constexpr const char* kNoTempFile = "No temporary file could be created.";

enum class Scheme { None, Http, Https, File };

// A parsed address, released with its scope.
struct UrlHandle {
    CURLU* url = curl_url();
    UrlHandle() = default;
    UrlHandle(const UrlHandle&) = delete;
    UrlHandle& operator=(const UrlHandle&) = delete;
    ~UrlHandle() { curl_url_cleanup(url); }
};

// Whether curl reads the server part of an http address ("host", "host:port", "[v6]" or
// "[v6]:port", user name and password already taken off) as a host with a valid port.
// Only the structure is judged: what a host name contains is for the fetch to accept
// or refuse, so curl is shown a plain name of the same shape. A port is at most five
// digits, as curl reads "000080" as 80.
bool namesServer(const std::string& server)
{
    std::string shape;
    std::string port;
    if (!server.empty() && server.front() == '[') {
        const auto close = server.find(']');
        if (close == std::string::npos || close == 1)
            return false;
        shape = "[::1]";
        if (close + 1 < server.size()) {
            if (server[close + 1] != ':')
                return false;
            port = server.substr(close + 2);
        }
    } else {
        // A host without brackets ends at the last colon; curl would take the first.
        const auto colon = server.rfind(':');
        if (server.empty() || colon == 0)
            return false;
        shape = "host";
        if (colon != std::string::npos)
            port = server.substr(colon + 1);
    }
    if (port.size() > 5)
        return false;
    if (!port.empty())
        shape += ":" + port;
    const UrlHandle handle;
    return handle.url && curl_url_set(handle.url, CURLUPART_URL, ("http://" + shape + "/").c_str(), 0) == CURLUE_OK;
}

// The scheme of an address and whether it splits into server, port and object.
Scheme splitAddress(const std::string& url, bool allowHttps)
{
    // The scheme ends at "://"; curl would also read "http:/host".
    const auto colon = url.find("://");
    if (colon == std::string::npos)
        return Scheme::None;
    std::string scheme = url.substr(0, colon);
    for (char& c : scheme)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    const std::string rest = url.substr(colon + 3);
    // Local files are read directly, under any name.
    if (scheme == "file")
        return rest.empty() ? Scheme::None : Scheme::File;
    if (scheme != "http" && !(scheme == "https" && allowHttps))
        return Scheme::None;
    // The server part ends at the first "/", "?" or "#" ("http:///path" has none, where
    // curl would read "path" as the host); user name and password end at its last "@".
    std::string server = rest.substr(0, rest.find_first_of("/?#"));
    if (const auto at = server.rfind('@'); at != std::string::npos)
        server.erase(0, at + 1);
    if (!namesServer(server))
        return Scheme::None;
    return scheme == "http" ? Scheme::Http : Scheme::Https;
}

bool isUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        if (lead >= 0xC2 && lead <= 0xDF)
            extra = 1;
        else if (lead >= 0xE0 && lead <= 0xEF)
            extra = 2;
        else if (lead >= 0xF0 && lead <= 0xF4)
            extra = 3;
        else if (lead >= 0x80)
            return false;
        if (text.size() - i <= extra)
            return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += extra + 1;
    }
    return true;
}

// "%xx" sequences replaced by their bytes; a "%" that starts no such sequence stays.
std::string percentDecoded(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 && hexDigit(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

// The file system's spelling of a name from an address: names are UTF-8 bytes on disk,
// so bytes that are UTF-8 stay, and others are read as Windows-1252, the code page of
// the addresses a user types.
std::string fileSystemName(const std::string& bytes)
{
    return isUtf8(bytes) ? bytes : cp1252ToUtf8(bytes);
}

// The local paths a "file://" address may name, the likeliest first: the address
// percent-decoded ("%20", UTF-8 names); then the path exactly as written, which is how
// addresses were read before they were decoded. Never empty.
std::vector<std::string> localPaths(const std::string& url)
{
    std::string path = url.substr(7);
    if (path.rfind("localhost/", 0) == 0)
        path.erase(0, 9);
    std::vector<std::string> paths;
    // "%00" would cut the name short where the system reads it; such a name is none.
    const std::string decoded = fileSystemName(percentDecoded(path));
    if (decoded.find('\0') == std::string::npos)
        paths.push_back(decoded);
    if (paths.empty() || path != decoded)
        paths.push_back(path);
    return paths;
}

std::string cut(std::string text, std::size_t n)
{
    if (text.size() > n)
        text.resize(n);
    return text;
}

class Worker {
public:
    Worker(DownloadJob& job, std::uint32_t id, const WorkerControls& controls, const WorkerSettings& settings)
        : m_job(job), m_id(id), m_shutdown(controls.shutdown), m_abort(controls.abort), m_slots(controls.downloadSlots),
          m_allowHttps(settings.allowHttps),
          m_maxPageSize(settings.maxPageSize)
    {
    }

    ~Worker()
    {
        removeDownload();
        if (m_curl)
            curl_easy_cleanup(m_curl);
        if (m_slotTaken)
            m_slots.release();
    }

    void run();

private:
    enum class Outcome { Read, NotFound, HttpStatus, Timeout, Aborted, NetworkError, NoTempFile };

    bool stopRequested() const { return m_abort.load() || m_shutdown.load(); }

    std::unique_ptr<DownloadMessage> message(DownloadCode code) const
    {
        auto m = std::make_unique<DownloadMessage>();
        m->worker = m_id;
        m->test = m_job.kind == JobKind::Test;
        m->code = code;
        m->url = m_job.url;
        return m;
    }

    // One message per entry, or one without item for wizard and import jobs.
    void postJobStatus(DownloadCode code, DownloadError detail = DownloadError::None, const std::string& errorText = {}, int kilobytes = 0)
    {
        const auto post = [&](const DownloadItemEntry* entry) {
            auto m = message(code);
            m->detail = detail;
            m->kilobytes = kilobytes;
            m->errorText = cut(errorText, kMaxErrorText);
            if (entry) {
                m->itemName = cut(entry->name, kMaxItemName);
                m->itemKey = entry->itemKey;
            }
            m_job.sink->post(m_job.messageId, std::move(m));
        };
        if (m_job.entries.empty()) {
            post(nullptr);
            return;
        }
        for (const DownloadItemEntry& entry : m_job.entries)
            post(&entry);
    }

    bool takeSlot();
    std::string pageTooLargeText() const
    {
        std::string text = strings::kPageTooLarge;
        text.replace(text.find("%1"), 2, std::to_string(m_maxPageSize));
        return text;
    }
    Outcome fetchHttp(const std::string& address, long& status);
    Outcome fetchFile(const std::string& address, std::string& openError);
    // The steps after the page answered: "Connected", the abort check, the file.
    bool beginDownload(Outcome& outcome);
    // One block of the page: stored, counted, reported; false to stop reading.
    bool takeBlock(const char* data, std::size_t n, Outcome& outcome);
    void removeDownload();
    void finishItems();
    void finishWizard();
    void finishImport();

    static std::size_t onWrite(char* data, std::size_t size, std::size_t count, void* self);
    static int onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t);

    DownloadJob& m_job;
    const std::uint32_t m_id;
    const std::atomic<bool>& m_shutdown;
    const std::atomic<bool>& m_abort;
    DownloadSlots& m_slots;
    const bool m_allowHttps;
    const std::uint64_t m_maxPageSize;
    bool m_slotTaken = false;
    CURL* m_curl = nullptr;
    char m_curlError[CURL_ERROR_SIZE] = {};
    // Why the worker itself ended the transfer; the network library would put its own
    // words over a text in m_curlError.
    std::string m_failure;

    // The try in progress.
    bool m_connected = false;
    long m_status = 0;
    Outcome m_stop = Outcome::Read;
    int m_file = -1;
    std::string m_download;
    std::uint64_t m_total = 0;
    std::uint64_t m_reported = 0;
    std::chrono::steady_clock::time_point m_started;
};

bool Worker::takeSlot()
{
    if (m_job.kind != JobKind::Update)
        return true;
    while (!m_slots.try_acquire_for(std::chrono::milliseconds(50))) {
        if (m_shutdown.load())
            return false;
    }
    m_slotTaken = true;
    return true;
}

bool Worker::beginDownload(Outcome& outcome)
{
    m_connected = true;
    postJobStatus(DownloadCode::Connected);
    if (stopRequested()) {
        outcome = Outcome::Aborted;
        return false;
    }
    for (int i = 0; i < kTempFileTries && m_file < 0; ++i) {
        m_download = createTempFile("QVX");
        if (m_download.empty())
            continue;
        m_file = ::open(m_download.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (m_file < 0) {
            ::unlink(m_download.c_str());
            m_download.clear();
        }
    }
    if (m_file < 0) {
        outcome = Outcome::NoTempFile;
        return false;
    }
    m_started = std::chrono::steady_clock::now();
    return true;
}

bool Worker::takeBlock(const char* data, std::size_t n, Outcome& outcome)
{
    if (n > m_maxPageSize - m_total) {
        outcome = Outcome::NetworkError;
        m_failure = pageTooLargeText();
        return false;
    }
    while (n > 0) {
        const ssize_t put = ::write(m_file, data, n);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            outcome = Outcome::NetworkError;
            m_failure = std::string("The page could not be stored: ") + std::strerror(errno);
            return false;
        }
        data += put;
        n -= static_cast<std::size_t>(put);
        m_total += static_cast<std::uint64_t>(put);
    }
    if (m_total - m_reported >= 1000) {
        postJobStatus(DownloadCode::Progress, DownloadError::None, {}, static_cast<int>(m_total / 1000));
        m_reported += 1000;
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - m_started);
    if (elapsed.count() >= static_cast<long long>(m_job.timeout)) {
        outcome = Outcome::Timeout;
        return false;
    }
    if (stopRequested()) {
        outcome = Outcome::Aborted;
        return false;
    }
    return true;
}

std::size_t Worker::onWrite(char* data, std::size_t size, std::size_t count, void* self)
{
    auto* w = static_cast<Worker*>(self);
    const std::size_t n = size * count;
    if (!w->m_connected) {
        curl_easy_getinfo(w->m_curl, CURLINFO_RESPONSE_CODE, &w->m_status);
        if (w->m_status == 404) {
            w->m_stop = Outcome::NotFound;
            return 0;
        }
        if (w->m_status > 299) {
            w->m_stop = Outcome::HttpStatus;
            return 0;
        }
        if (!w->beginDownload(w->m_stop))
            return 0;
    }
    // Blocks of at most 1024 bytes arrive here (CURLOPT_BUFFERSIZE).
    if (!w->takeBlock(data, n, w->m_stop))
        return 0;
    return n;
}

int Worker::onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    auto* w = static_cast<Worker*>(self);
    if (w->stopRequested()) {
        w->m_stop = Outcome::Aborted;
        return 1;
    }
    return 0;
}

Worker::Outcome Worker::fetchHttp(const std::string& address, long& status)
{
    m_stop = Outcome::Read;
    m_status = 0;
    curl_easy_setopt(m_curl, CURLOPT_URL, address.c_str());
    const CURLcode result = curl_easy_perform(m_curl);
    if (m_stop != Outcome::Read) {
        status = m_status;
        return m_stop;
    }
    if (result == CURLE_OPERATION_TIMEDOUT)
        return Outcome::Timeout;
    if (result == CURLE_FILESIZE_EXCEEDED) { // the announced length is beyond the limit
        m_failure = pageTooLargeText();
        return Outcome::NetworkError;
    }
    if (result != CURLE_OK)
        return Outcome::NetworkError;
    if (!m_connected) {
        // An answer without a body.
        curl_easy_getinfo(m_curl, CURLINFO_RESPONSE_CODE, &m_status);
        status = m_status;
        if (m_status == 404)
            return Outcome::NotFound;
        if (m_status > 299)
            return Outcome::HttpStatus;
        Outcome outcome = Outcome::Read;
        if (!beginDownload(outcome))
            return outcome;
    }
    status = m_status;
    return Outcome::Read;
}

Worker::Outcome Worker::fetchFile(const std::string& address, std::string& openError)
{
    InputFile input;
    const std::vector<std::string> paths = localPaths(address);
    // The first path's error, unless a later path exists and fails otherwise.
    std::string failedPath;
    FileError failure = FileError::NotFound;
    bool opened = false;
    for (const std::string& path : paths) {
        const FileError error = path.find('\0') == std::string::npos ? input.open(path) : FileError::NotFound;
        if (error == FileError::None) {
            opened = true;
            break;
        }
        if (failedPath.empty() || (failure == FileError::NotFound && error != FileError::NotFound)) {
            failedPath = path;
            failure = error;
        }
    }
    if (!opened) {
        const std::string shown = isUtf8(failedPath) ? utf8ToCp1252(failedPath) : failedPath;
        openError = "The file " + shown
                  + (failure == FileError::NotFound       ? " does not exist."
                     : failure == FileError::AccessDenied ? " may not be read."
                                                          : " cannot be read.");
        return Outcome::NotFound;
    }
    Outcome outcome = Outcome::Read;
    if (!beginDownload(outcome))
        return outcome;
    char block[kBlock];
    for (;;) {
        const std::ptrdiff_t got = input.read(block, sizeof block);
        if (got < 0) {
            std::snprintf(m_curlError, sizeof m_curlError, "%s", std::strerror(errno));
            return Outcome::NetworkError;
        }
        if (!takeBlock(block, static_cast<std::size_t>(got), outcome))
            return outcome;
        if (got == 0)
            return Outcome::Read;
    }
}

void Worker::removeDownload()
{
    if (m_file >= 0)
        ::close(m_file);
    m_file = -1;
    if (!m_download.empty())
        ::unlink(m_download.c_str());
    m_download.clear();
}

void Worker::run()
{
    // A worker waiting for its slot when the engine shuts down still reports.
    if (!takeSlot()) {
        postJobStatus(DownloadCode::Initialized);
        postJobStatus(DownloadCode::Aborted);
        return;
    }
    postJobStatus(DownloadCode::Initialized);

    const Scheme scheme = splitAddress(m_job.url, m_allowHttps);
    if (scheme == Scheme::None) {
        postJobStatus(DownloadCode::Error, DownloadError::WrongUrl);
        return;
    }
    const bool http = scheme != Scheme::File;
    if (http) {
        m_curl = curl_easy_init();
        if (!m_curl) {
            postJobStatus(DownloadCode::Error, DownloadError::Other, "The internet library could not be started.");
            return;
        }
        curl_easy_setopt(m_curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(m_curl, CURLOPT_USERAGENT, "Tarvelo");
        curl_easy_setopt(m_curl, CURLOPT_PROTOCOLS_STR, m_allowHttps ? "http,https" : "http");
        curl_easy_setopt(m_curl, CURLOPT_FOLLOWLOCATION, 0L);
        curl_easy_setopt(m_curl, CURLOPT_BUFFERSIZE, static_cast<long>(kBlock));
        // A page that announces more than the limit is refused before it comes; the
        // reads hold one that does not announce its length to the limit.
        curl_easy_setopt(m_curl, CURLOPT_MAXFILESIZE_LARGE,
                         static_cast<curl_off_t>(std::min<std::uint64_t>(m_maxPageSize, INT64_MAX)));
        // The job's time is the hard limit of a try; the reads check it too. Curl reads 0
        // as "no limit", so a configuration with no time gets one second, and one whose
        // time is beyond a day (a negative number read as unsigned) the store's default.
        const long limit = m_job.timeout == 0 ? 1L : m_job.timeout > 86400 ? 60L : static_cast<long>(m_job.timeout);
        curl_easy_setopt(m_curl, CURLOPT_CONNECTTIMEOUT, std::min(limit, 60L));
        curl_easy_setopt(m_curl, CURLOPT_TIMEOUT, limit);
        curl_easy_setopt(m_curl, CURLOPT_ERRORBUFFER, m_curlError);
        curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, &Worker::onWrite);
        curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, this);
        curl_easy_setopt(m_curl, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(m_curl, CURLOPT_XFERINFOFUNCTION, &Worker::onProgress);
        curl_easy_setopt(m_curl, CURLOPT_XFERINFODATA, this);
        curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYHOST, 2L);
        postJobStatus(DownloadCode::Connecting);
    }
    curl_slist* headers = nullptr;
    if (http) {
        headers = curl_slist_append(headers, "Accept: text/*");
        headers = curl_slist_append(headers, "User-Agent: QVX");
        curl_easy_setopt(m_curl, CURLOPT_HTTPHEADER, headers);
    }
    struct HeaderList {
        curl_slist* list;
        ~HeaderList() { curl_slist_free_all(list); }
    } headerList{headers};

    const TimeStamp now = currentTime();
    bool dated = false;
    const std::string today = expandDateVariables(m_job.url, 0, now, &dated);
    const int tries = dated ? 4 : 1;
    Outcome outcome = Outcome::NotFound;
    long status = 0;
    std::string openError;
    for (int offset = 0; offset < tries; ++offset) {
        const std::string address = dated ? expandDateVariables(m_job.url, offset, now) : m_job.url;
        if (dated && splitAddress(address, m_allowHttps) != scheme) {
            postJobStatus(DownloadCode::Error, DownloadError::WrongUrl);
            return;
        }
        outcome = http ? fetchHttp(address, status) : fetchFile(address, openError);
        if (outcome != Outcome::NotFound)
            break;
    }

    switch (outcome) {
    case Outcome::Read:
        break;
    case Outcome::NotFound:
        if (dated)
            m_job.url = today;
        postJobStatus(DownloadCode::Error, DownloadError::FileNotFound, http ? std::string() : openError);
        return;
    case Outcome::HttpStatus:
        if (dated)
            m_job.url = today;
        postJobStatus(DownloadCode::Error, status >= 400 && status <= 499   ? DownloadError::BadUrl
                                : status >= 500 && status <= 599 ? DownloadError::Server
                                                                 : DownloadError::Other);
        return;
    case Outcome::Timeout:
        removeDownload();
        postJobStatus(DownloadCode::Error, DownloadError::Timeout);
        return;
    case Outcome::Aborted:
        removeDownload();
        postJobStatus(DownloadCode::Aborted);
        return;
    case Outcome::NoTempFile:
        postJobStatus(DownloadCode::Error, DownloadError::Other, kNoTempFile);
        return;
    case Outcome::NetworkError:
        removeDownload();
        postJobStatus(DownloadCode::Error, DownloadError::Other,
                      !m_failure.empty() ? m_failure : m_curlError[0] ? m_curlError : "The connection failed.");
        return;
    }

    // The whole page is in the file.
    ::close(m_file);
    m_file = -1;
    if (stopRequested()) {
        removeDownload();
        postJobStatus(DownloadCode::Aborted);
        return;
    }
    if (m_job.kind == JobKind::Wizard)
        finishWizard();
    else if (m_job.kind == JobKind::Import)
        finishImport();
    else
        finishItems();
}

void Worker::finishWizard()
{
    std::string semiHtml = createTempFile("QVX");
    std::string textOnly = createTempFile("QVX");
    if (semiHtml.empty() || textOnly.empty() || !convertPage(kConversionSemiHtml, m_download, semiHtml)
        || !convertPage(kConversionTextOnly, m_download, textOnly)) {
        if (!semiHtml.empty())
            ::unlink(semiHtml.c_str());
        if (!textOnly.empty())
            ::unlink(textOnly.c_str());
        removeDownload();
        postJobStatus(DownloadCode::Error, DownloadError::Other, kNoTempFile);
        return;
    }
    auto m = message(DownloadCode::Done);
    m->rawFile = m_download;
    m->semiHtmlFile = semiHtml;
    m->convertedFile = textOnly;
    m_download.clear(); // the files belong to the receiver now
    m_job.sink->post(m_job.messageId, std::move(m));
}

void Worker::finishImport()
{
    auto m = message(DownloadCode::Done);
    m->rawFile = m_download;
    m_download.clear();
    m_job.sink->post(m_job.messageId, std::move(m));
}

void Worker::finishItems()
{
    // A page of moderate size is converted once per conversion in memory and searched
    // there; only a page in which the quotation was not found is written to a file of
    // its own for the receiver. Larger pages go through files, so the worker's memory
    // does not grow with the page.
    MappedFile raw;
    const bool inMemory = raw.open(m_download) == FileError::None && raw.size() < kInMemoryPage;
    std::map<int, std::string> conversions;
    for (const DownloadItemEntry& entry : m_job.entries) {
        auto m = message(DownloadCode::None);
        m->itemName = cut(entry.name, kMaxItemName);
        m->itemKey = entry.itemKey;
        ExtractionResult result;
        if (inMemory) {
            auto found = conversions.find(entry.config.conversion);
            if (found == conversions.end()) {
                std::string text = convertPageText(entry.config.conversion, std::string_view(raw.data(), raw.size()));
                blankNulBytes(text);
                found = conversions.emplace(entry.config.conversion, std::move(text)).first;
            }
            result = runExtractionOnPage(entry.config, found->second, currentTime());
            if (result.code != kFound) {
                m->convertedFile = createTempFile("QVX");
                if (m->convertedFile.empty() || writeWholeFile(m->convertedFile, found->second) != FileError::None) {
                    if (!m->convertedFile.empty())
                        ::unlink(m->convertedFile.c_str());
                    m->convertedFile.clear();
                }
            }
        } else {
            const std::string converted = createTempFile("QVX");
            if (converted.empty() || !convertPage(entry.config.conversion, m_download, converted)) {
                if (!converted.empty())
                    ::unlink(converted.c_str());
                m->code = DownloadCode::Error;
                m->detail = DownloadError::Other;
                m->errorText = kNoTempFile;
                m_job.sink->post(m_job.messageId, std::move(m));
                continue;
            }
            result = runExtraction(entry.config, converted, currentTime());
            m->convertedFile = converted;
            if (result.code == kFound)
                ::unlink(converted.c_str());
        }
        m->extractionMessage = result.message;
        switch (result.code) {
        case kFound:
            m->code = DownloadCode::Done;
            m->quotation = std::make_unique<Quotation>(Quotation{result.time, result.value});
            break;
        case kTextNotFound:
            m->code = DownloadCode::TextNotFound;
            break;
        case kInvalidNumber:
            m->code = DownloadCode::InvalidValue;
            break;
        default:
            m->code = DownloadCode::NotFound;
            break;
        }
        m_job.sink->post(m_job.messageId, std::move(m));
    }
    raw.close();
    removeDownload();
}

} // namespace

void downloadWorker(std::unique_ptr<DownloadJob> job, std::uint32_t workerId, const WorkerControls& controls,
                    const WorkerSettings& settings)
{
    Worker worker(*job, workerId, controls, settings);
    worker.run();
}

} // namespace tarvelo
