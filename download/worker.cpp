#include "download/downloadengine.h"
#include "download/statusrouter.h"

#include "extraction/extract.h"
#include "extraction/page.h"
#include "extraction/pagecharset.h"
#include "extraction/urltemplate.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/localtime.h"
#include "platform/utf8.h"
#include "resources/strings.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <map>
#include <string_view>
#include <thread>
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
// Redirects followed for one address, as browsers and the older network libraries did.
constexpr int kMaxRedirects = 5;
// The most a compressed page may unpack to, whatever the option MaxPageSize allows.
constexpr std::uint64_t kMaxUnpackedPage = 64u << 20;
// The most header bytes an answer may bring; below what the network library takes in
// all, so that the reason can be told. A single line beyond the library's own limit
// ends the transfer in the library and is told as well.
constexpr std::uint64_t kMaxHeaderBytes = 256 * 1024;
constexpr const char* kHeadersTooLarge =
    "The server's answer has headers of more than 256 KB (or a header line of more than 100 KB); "
    "the page is not read.";
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
    return isValidUtf8(bytes) ? bytes : cp1252ToUtf8(bytes);
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

std::string cut(const std::string& text, std::size_t n)
{
    return std::string(utf8Cut(text, n));
}

// The host name of an http or https address in lower case, the key of the per-host
// limit; empty for any other address.
std::string hostOf(const std::string& url)
{
    const auto colon = url.find("://");
    if (colon == std::string::npos)
        return {};
    std::string scheme = url.substr(0, colon);
    for (char& c : scheme)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (scheme != "http" && scheme != "https")
        return {};
    std::string server = url.substr(colon + 3);
    server.erase(std::min(server.size(), server.find_first_of("/?#")));
    if (const auto at = server.rfind('@'); at != std::string::npos)
        server.erase(0, at + 1);
    if (!server.empty() && server.front() == '[')
        server.erase(std::min(server.size(), server.find(']') + 1));
    else if (const auto port = server.rfind(':'); port != std::string::npos)
        server.erase(port);
    for (char& c : server)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return server;
}

bool isSecure(const std::string& url)
{
    std::string scheme = url.substr(0, 8);
    for (char& c : scheme)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return scheme == "https://";
}

// A file converted a block at a time into a new temporary file: convert(block, out)
// appends a converted block to out, and is called once more with an empty block at the
// end. Empty when the copy could not be written.
std::string convertedCopy(const std::string& path, const std::function<void(std::string_view, std::string&)>& convert)
{
    InputFile input;
    if (input.open(path) != FileError::None)
        return {};
    std::string copy = createTempFile("QVX");
    if (copy.empty())
        return {};
    const int out = ::open(copy.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    bool ok = out >= 0;
    std::string text;
    char block[64 * 1024];
    while (ok) {
        const std::ptrdiff_t got = input.read(block, sizeof block);
        text.clear();
        convert(std::string_view(block, static_cast<std::size_t>(std::max<std::ptrdiff_t>(got, 0))), text);
        ok = got >= 0 && ::write(out, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        if (got <= 0)
            break;
    }
    if (out >= 0)
        ok = ::close(out) == 0 && ok;
    if (!ok) {
        ::unlink(copy.c_str());
        return {};
    }
    return copy;
}

// A file of the code page re-encoded as UTF-8.
std::string utf8Copy(const std::string& path)
{
    return convertedCopy(path, [](std::string_view block, std::string& out) { out += cp1252ToUtf8(block); });
}

// A UTF-8 file in the code page.
std::string codePageCopy(const std::string& path)
{
    Utf8ToCp1252 converter;
    return convertedCopy(path, [&converter](std::string_view block, std::string& out) {
        if (block.empty())
            converter.finish(out);
        else
            converter.convert(block, out);
    });
}

std::string headerValue(CURL* curl, const char* name)
{
    curl_header* header = nullptr;
    if (curl_easy_header(curl, name, 0, CURLH_HEADER, -1, &header) != CURLHE_OK || !header || !header->value)
        return {};
    return header->value;
}

class Worker {
public:
    Worker(DownloadJob& job, std::uint32_t id, const WorkerControls& controls, const WorkerSettings& settings)
        : m_job(job), m_id(id), m_shutdown(controls.shutdown), m_abort(controls.abort), m_gate(controls.gate),
          m_settings(settings)
    {
    }

    ~Worker()
    {
        removeDownload();
        if (!m_searchFile.empty())
            ::unlink(m_searchFile.c_str());
        if (m_curl)
            curl_easy_cleanup(m_curl);
        if (m_inGate)
            m_gate.leave(m_host, m_slotTaken);
    }

    void run();

private:
    enum class Outcome { Read, NotFound, HttpStatus, Redirect, Timeout, Aborted, NetworkError, NoTempFile };

    bool stopRequested() const { return m_abort.load() || m_shutdown.load(); }

    std::unique_ptr<DownloadMessage> message(DownloadCode code) const
    {
        auto m = std::make_unique<DownloadMessage>();
        m->worker = m_id;
        m->test = m_job.kind == JobKind::Test;
        m->code = code;
        m->url = m_job.url;
        if (isFinalCode(code))
            m->page = m_facts;
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

    bool enterGate();
    bool compressed() const { return !m_facts.contentEncoding.empty() && m_facts.contentEncoding != "identity"; }
    std::uint64_t pageLimit() const;
    std::string pageTooLargeText() const;
    Outcome fetchHttp(const std::string& address, long& status);
    Outcome fetchOnce(const std::string& address, long& status);
    // Whether the answer to address may be followed to next; m_failure says why not.
    bool mayRedirect(const std::string& address, const std::string& next);
    // Waits the given seconds unless the downloads are stopped first.
    bool pause(long seconds) const;
    Outcome fetchFile(const std::string& address, std::string& openError);
    // The steps after the page answered: "Connected", the abort check, the file.
    bool beginDownload(Outcome& outcome);
    // One block of the page: stored, counted, reported; false to stop reading.
    bool takeBlock(const char* data, std::size_t n, Outcome& outcome);
    void removeDownload();
    // The character set the page declares; a UTF-8 page is searched in the code page.
    void readCharset(std::string_view pageStart);
    // The file the conversions read: the download, or its copy in the code page.
    bool prepareSearchFile();
    // The converted page as the receiver gets it: in UTF-8 again when the page came so
    // (empty when that copy could not be written).
    std::string handOver(const std::string& convertedFile) const;
    void finishItems();
    void finishWizard();
    void finishImport();

    static std::size_t onWrite(char* data, std::size_t size, std::size_t count, void* self);
    static std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* self);
    static int onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t);

    DownloadJob& m_job;
    const std::uint32_t m_id;
    const std::atomic<bool>& m_shutdown;
    const std::atomic<bool>& m_abort;
    DownloadGate& m_gate;
    const WorkerSettings m_settings;
    std::string m_host;
    bool m_inGate = false;
    bool m_slotTaken = false;
    CURL* m_curl = nullptr;
    char m_curlError[CURL_ERROR_SIZE] = {};
    CURLcode m_result = CURLE_OK;
    // Why the worker itself ended the transfer; the network library would put its own
    // words over a text in m_curlError.
    std::string m_failure;
    PageFacts m_facts;
    std::chrono::steady_clock::time_point m_fetchStarted;

    // The try in progress.
    bool m_connected = false;
    long m_status = 0;
    Outcome m_stop = Outcome::Read;
    bool m_skipBody = false;
    std::uint64_t m_headerBytes = 0; // of the current answer
    int m_file = -1;
    std::string m_download;
    std::string m_searchFile; // the download in the code page, when it came as UTF-8
    std::uint64_t m_total = 0;
    std::uint64_t m_reported = 0;
    std::chrono::steady_clock::time_point m_started;
};

bool Worker::enterGate()
{
    m_slotTaken = m_job.kind == JobKind::Update;
    m_inGate = m_gate.enter(m_host, m_slotTaken);
    return m_inGate;
}

std::uint64_t Worker::pageLimit() const
{
    // A compressed page is held to the size of the largest page it may honestly unpack
    // to, so that a small answer cannot fill the disk.
    if (compressed())
        return std::min(m_settings.maxPageSize, kMaxUnpackedPage);
    return m_settings.maxPageSize;
}

std::string Worker::pageTooLargeText() const
{
    const std::uint64_t limit = pageLimit();
    std::string text = compressed() && limit == kMaxUnpackedPage ? strings::kPageUnpacksTooLarge : strings::kPageTooLarge;
    text.replace(text.find("%1"), 2, std::to_string(limit));
    return text;
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
    if (n > pageLimit() - std::min(pageLimit(), m_total)) {
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
    m_facts.bytes = m_total;
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
    if (w->m_skipBody)
        return n;
    if (!w->m_connected) {
        curl_easy_getinfo(w->m_curl, CURLINFO_RESPONSE_CODE, &w->m_status);
        w->m_facts.httpStatus = w->m_status;
        if (w->m_status == 404) {
            w->m_stop = Outcome::NotFound;
            return 0;
        }
        // A redirect, or an answer that may say when to ask again: its body is read
        // past, so that the network library completes what the headers said.
        if ((w->m_status >= 300 && w->m_status <= 399) || w->m_status == 429 || w->m_status == 503) {
            w->m_stop = w->m_status <= 399 ? Outcome::Redirect : Outcome::HttpStatus;
            w->m_skipBody = true;
            return n;
        }
        if (w->m_status > 299) {
            w->m_stop = Outcome::HttpStatus;
            return 0;
        }
        const char* type = nullptr;
        if (curl_easy_getinfo(w->m_curl, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type)
            w->m_facts.contentType = type;
        w->m_facts.contentEncoding = headerValue(w->m_curl, "Content-Encoding");
        for (char& c : w->m_facts.contentEncoding)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        if (!w->beginDownload(w->m_stop))
            return 0;
    }
    // The page is stored and reported in blocks of at most 1024 bytes, however much an
    // unpacked piece holds.
    for (std::size_t done = 0; done < n; done += kBlock) {
        if (!w->takeBlock(data + done, std::min(kBlock, n - done), w->m_stop))
            return 0;
    }
    return n;
}

std::size_t Worker::onHeader(char*, std::size_t size, std::size_t count, void* self)
{
    auto* w = static_cast<Worker*>(self);
    const std::size_t n = size * count;
    w->m_headerBytes += n;
    if (w->m_headerBytes > kMaxHeaderBytes) {
        w->m_stop = Outcome::NetworkError;
        w->m_failure = kHeadersTooLarge;
        return 0;
    }
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

bool Worker::pause(long seconds) const
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < until) {
        if (stopRequested())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return !stopRequested();
}

bool Worker::mayRedirect(const std::string& address, const std::string& next)
{
    const Scheme to = splitAddress(next, true);
    if (to == Scheme::None || to == Scheme::File) {
        m_failure = "The page redirects to " + next + ", which is not an http or https address.";
        return false;
    }
    if (to == Scheme::Http && isSecure(address)) {
        m_failure = "The secure page redirects to the insecure address " + next + ", which is not followed.";
        return false;
    }
    if (to == Scheme::Https && !m_settings.allowHttps) {
        m_failure = "The page redirects to the secure address " + next
                  + ", but secure addresses are not allowed (option AllowHttps).";
        return false;
    }
    return true;
}

Worker::Outcome Worker::fetchHttp(const std::string& start, long& status)
{
    std::string address = start;
    std::vector<std::string> visited{address};
    m_facts.redirects = 0;
    bool retried = false;
    for (;;) {
        const Outcome outcome = fetchOnce(address, status);
        if (outcome == Outcome::Redirect) {
            const char* target = nullptr;
            curl_easy_getinfo(m_curl, CURLINFO_REDIRECT_URL, &target);
            const std::string next = target ? target : "";
            if (!mayRedirect(address, next))
                return Outcome::NetworkError;
            if (std::find(visited.begin(), visited.end(), next) != visited.end()) {
                m_failure = "The page redirects in a loop: " + next + " leads back to an address already visited.";
                return Outcome::NetworkError;
            }
            if (m_facts.redirects == kMaxRedirects) {
                m_failure = "The page redirects more than " + std::to_string(kMaxRedirects) + " times; the last address was "
                          + next + ".";
                return Outcome::NetworkError;
            }
            ++m_facts.redirects;
            visited.push_back(next);
            address = next;
            continue;
        }
        if (outcome == Outcome::HttpStatus && (status == 429 || status == 503) && !retried) {
            // The server says when it will answer again; if the job's time allows, once.
            curl_off_t after = 0;
            curl_easy_getinfo(m_curl, CURLINFO_RETRY_AFTER, &after);
            const auto spent = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - m_fetchStarted);
            const long long remaining = static_cast<long long>(m_job.timeout) - spent.count();
            if (after > 0 && after <= remaining) {
                retried = true;
                if (!pause(static_cast<long>(after)))
                    return Outcome::Aborted;
                continue;
            }
        }
        return outcome;
    }
}

Worker::Outcome Worker::fetchOnce(const std::string& address, long& status)
{
    m_stop = Outcome::Read;
    m_status = 0;
    m_skipBody = false;
    m_headerBytes = 0;
    m_facts.address = address;
    m_facts.httpStatus = 0;
    curl_easy_setopt(m_curl, CURLOPT_URL, address.c_str());
    m_result = curl_easy_perform(m_curl);
    if (m_stop == Outcome::Redirect) {
        const char* target = nullptr;
        curl_easy_getinfo(m_curl, CURLINFO_REDIRECT_URL, &target);
        if (!target || m_result != CURLE_OK)
            m_stop = Outcome::HttpStatus; // a 3xx that names no address is the error it is
    }
    if (m_stop != Outcome::Read) {
        status = m_status;
        return m_stop;
    }
    if (m_result == CURLE_OPERATION_TIMEDOUT)
        return Outcome::Timeout;
    if (!m_connected && (m_result == CURLE_OUT_OF_MEMORY || (m_result == CURLE_RECV_ERROR && std::strstr(m_curlError, "header")))) {
        // The library's own limit on the headers of an answer.
        m_failure = kHeadersTooLarge;
        return Outcome::NetworkError;
    }
    if (m_result == CURLE_FILESIZE_EXCEEDED) { // the announced length is beyond the limit
        m_failure = pageTooLargeText();
        return Outcome::NetworkError;
    }
    if (m_result == CURLE_PEER_FAILED_VERIFICATION || m_result == CURLE_SSL_CACERT_BADFILE
        || m_result == CURLE_SSL_ISSUER_ERROR || m_result == CURLE_SSL_PINNEDPUBKEYNOTMATCH) {
        m_failure = "certificate not trusted for host " + hostOf(address) + ": "
                  + (m_curlError[0] ? m_curlError : curl_easy_strerror(m_result));
        return Outcome::NetworkError;
    }
    if (m_result != CURLE_OK)
        return Outcome::NetworkError;
    if (!m_connected) {
        // An answer without a body.
        curl_easy_getinfo(m_curl, CURLINFO_RESPONSE_CODE, &m_status);
        m_facts.httpStatus = m_status;
        status = m_status;
        if (m_status == 404)
            return Outcome::NotFound;
        if (m_status >= 300 && m_status <= 399) {
            const char* target = nullptr;
            curl_easy_getinfo(m_curl, CURLINFO_REDIRECT_URL, &target);
            return target ? Outcome::Redirect : Outcome::HttpStatus;
        }
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
    m_facts.address = address;
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
    if (!opened && failure == FileError::NotRegular) {
        // It is there, but it is no file: not "not found", and never waited on.
        const std::string shown = pathText(failedPath);
        m_failure = "The file " + shown + " is not a regular file (a FIFO, device or socket) and is not read.";
        return Outcome::NetworkError;
    }
    if (!opened) {
        const std::string shown = pathText(failedPath);
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
    const TimeStamp now = currentTime();
    bool dated = false;
    const std::string today = expandDateVariables(m_job.url, 0, now, &dated);
    m_host = hostOf(today);
    // A worker waiting for its turn when the engine shuts down still reports.
    if (!enterGate()) {
        postJobStatus(DownloadCode::Initialized);
        postJobStatus(DownloadCode::Aborted);
        return;
    }
    postJobStatus(DownloadCode::Initialized);

    const Scheme scheme = splitAddress(m_job.url, m_settings.allowHttps);
    if (scheme == Scheme::None) {
        postJobStatus(DownloadCode::Error, DownloadError::WrongUrl);
        return;
    }
    const bool http = scheme != Scheme::File;
    curl_slist* headers = nullptr;
    struct HeaderList {
        curl_slist*& list;
        ~HeaderList() { curl_slist_free_all(list); }
    } headerList{headers};
    if (http) {
        m_curl = curl_easy_init();
        if (!m_curl) {
            postJobStatus(DownloadCode::Error, DownloadError::Other, "The internet library could not be started.");
            return;
        }
        curl_easy_setopt(m_curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(m_curl, CURLOPT_USERAGENT, "Tarvelo");
        curl_easy_setopt(m_curl, CURLOPT_PROTOCOLS_STR, m_settings.allowHttps ? "http,https" : "http");
        // Redirects are followed here, one at a time, so that each is checked.
        curl_easy_setopt(m_curl, CURLOPT_FOLLOWLOCATION, 0L);
        // Every compression the library can unpack is offered; the page arrives unpacked.
        curl_easy_setopt(m_curl, CURLOPT_ACCEPT_ENCODING, "");
        curl_easy_setopt(m_curl, CURLOPT_BUFFERSIZE, static_cast<long>(kBlock));
        // A page that announces more than the limit is refused before it comes; the
        // reads hold one that does not announce its length to the limit.
        curl_easy_setopt(m_curl, CURLOPT_MAXFILESIZE_LARGE,
                         static_cast<curl_off_t>(std::min<std::uint64_t>(m_settings.maxPageSize, INT64_MAX)));
        // The job's time is the hard limit of a try; the reads check it too. Curl reads 0
        // as "no limit", so a configuration with no time gets one second, and one whose
        // time is beyond a day (a negative number read as unsigned) the store's default.
        const long limit = m_job.timeout == 0 ? 1L : m_job.timeout > 86400 ? 60L : static_cast<long>(m_job.timeout);
        curl_easy_setopt(m_curl, CURLOPT_CONNECTTIMEOUT, std::min(limit, 60L));
        curl_easy_setopt(m_curl, CURLOPT_TIMEOUT, limit);
        curl_easy_setopt(m_curl, CURLOPT_ERRORBUFFER, m_curlError);
        curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, &Worker::onWrite);
        curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, this);
        curl_easy_setopt(m_curl, CURLOPT_HEADERFUNCTION, &Worker::onHeader);
        curl_easy_setopt(m_curl, CURLOPT_HEADERDATA, this);
        curl_easy_setopt(m_curl, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(m_curl, CURLOPT_XFERINFOFUNCTION, &Worker::onProgress);
        curl_easy_setopt(m_curl, CURLOPT_XFERINFODATA, this);
        curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYHOST, 2L);
        if (!m_settings.certificateAuthorities.empty())
            curl_easy_setopt(m_curl, CURLOPT_CAINFO, m_settings.certificateAuthorities.c_str());
        headers = curl_slist_append(headers, "Accept: text/*");
        const std::string agent = "User-Agent: " + (m_settings.userAgent.empty() ? std::string("QVX") : m_settings.userAgent);
        headers = curl_slist_append(headers, agent.c_str());
        curl_easy_setopt(m_curl, CURLOPT_HTTPHEADER, headers);
        postJobStatus(DownloadCode::Connecting);
    }

    m_fetchStarted = std::chrono::steady_clock::now();
    const int tries = dated ? 4 : 1;
    Outcome outcome = Outcome::NotFound;
    long status = 0;
    std::string openError;
    for (int offset = 0; offset < tries; ++offset) {
        const std::string address = dated ? expandDateVariables(m_job.url, offset, now) : m_job.url;
        if (dated && splitAddress(address, m_settings.allowHttps) != scheme) {
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
    case Outcome::Redirect:
        if (dated)
            m_job.url = today;
        if (status >= 400 && status <= 599) {
            postJobStatus(DownloadCode::Error, status <= 499 ? DownloadError::BadUrl : DownloadError::Server);
        } else {
            // A status with no text of its own (304, 999, ...) is named by its number.
            postJobStatus(DownloadCode::Error, DownloadError::Other, serverStatusText(status));
        }
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

void Worker::readCharset(std::string_view pageStart)
{
    const CharsetDeclaration declared = declaredCharset(m_facts.contentType, pageStart.substr(0, kCharsetSniffBytes));
    m_facts.charset = declared.name;
    m_facts.charsetSource = declared.source;
    m_facts.convertedFromUtf8 = declared.charset == PageCharset::Utf8;
}

bool Worker::prepareSearchFile()
{
    char start[kCharsetSniffBytes];
    std::size_t got = 0;
    InputFile input;
    if (input.open(m_download) == FileError::None) {
        while (got < sizeof start) {
            const std::ptrdiff_t n = input.read(start + got, sizeof start - got);
            if (n <= 0)
                break;
            got += static_cast<std::size_t>(n);
        }
    }
    input.close();
    readCharset(std::string_view(start, got));
    if (!m_facts.convertedFromUtf8)
        return true;
    m_searchFile = codePageCopy(m_download);
    return !m_searchFile.empty();
}

std::string Worker::handOver(const std::string& convertedFile) const
{
    if (!m_facts.convertedFromUtf8)
        return convertedFile;
    std::string copy = utf8Copy(convertedFile);
    ::unlink(convertedFile.c_str());
    return copy;
}

void Worker::finishWizard()
{
    std::string semiHtml = createTempFile("QVX");
    std::string textOnly = createTempFile("QVX");
    const bool prepared = prepareSearchFile();
    const std::string& source = m_searchFile.empty() ? m_download : m_searchFile;
    if (!prepared || semiHtml.empty() || textOnly.empty() || !convertPage(Conversion::SemiHtml, source, semiHtml)
        || !convertPage(Conversion::TextOnly, source, textOnly)) {
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
    std::string page;
    bool prepared = true;
    if (inMemory) {
        const std::string_view downloaded(raw.data(), raw.size());
        readCharset(downloaded);
        if (m_facts.convertedFromUtf8)
            page = utf8PageToCp1252(downloaded);
    } else {
        raw.close();
        prepared = prepareSearchFile();
    }
    const std::string_view searched = !inMemory || !m_facts.convertedFromUtf8 ? std::string_view(raw.data(), raw.size())
                                                                               : std::string_view(page);
    const bool keep = m_settings.keepConvertedPages;
    std::map<Conversion, std::string> conversions;
    for (const DownloadItemEntry& entry : m_job.entries) {
        auto m = message(DownloadCode::None);
        m->itemName = cut(entry.name, kMaxItemName);
        m->itemKey = entry.itemKey;
        m->page = m_facts;
        ExtractionResult result;
        if (inMemory) {
            auto found = conversions.find(entry.config.conversion);
            if (found == conversions.end()) {
                std::string text = convertPageText(entry.config.conversion, searched);
                blankNulBytes(text);
                found = conversions.emplace(entry.config.conversion, std::move(text)).first;
            }
            result = runExtractionOnPage(entry.config, found->second, currentTime());
            if (result.code != kFound || keep) {
                m->convertedFile = createTempFile("QVX");
                const std::string shown = m_facts.convertedFromUtf8 ? cp1252ToUtf8(found->second) : std::string();
                if (m->convertedFile.empty()
                    || writeWholeFile(m->convertedFile, m_facts.convertedFromUtf8 ? shown : found->second) != FileError::None) {
                    if (!m->convertedFile.empty())
                        ::unlink(m->convertedFile.c_str());
                    m->convertedFile.clear();
                }
            }
        } else {
            const std::string converted = prepared ? createTempFile("QVX") : std::string();
            const std::string& source = m_searchFile.empty() ? m_download : m_searchFile;
            if (converted.empty() || !convertPage(entry.config.conversion, source, converted)) {
                if (!converted.empty())
                    ::unlink(converted.c_str());
                m->code = DownloadCode::Error;
                m->detail = DownloadError::Other;
                m->errorText = kNoTempFile;
                m_job.sink->post(m_job.messageId, std::move(m));
                continue;
            }
            result = runExtraction(entry.config, converted, currentTime());
            if (result.code == kFound && !keep) {
                ::unlink(converted.c_str());
            } else {
                m->convertedFile = handOver(converted);
            }
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
