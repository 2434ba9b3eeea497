#include "download/transfer.h"

#include "download/address.h"
#include "model/requestheaders.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/inputfile.h"
#include "platform/tempfile.h"
#include "platform/translation.h"
#include "resources/strings.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace tarvelo {

namespace {

constexpr std::size_t kBlock = 1024;
constexpr int kTempFileTries = 10;
// Redirects followed for one address, as browsers and the older network libraries did.
constexpr int kMaxRedirects = 5;
// The most a compressed page may unpack to, whatever the option MaxPageSize allows.
constexpr std::uint64_t kMaxUnpackedPage = 64u << 20;
// The most header bytes an answer may bring; below what the network library takes in
// all, so that the reason can be told. A single line beyond the library's own limit
// ends the transfer in the library and is told as well.
constexpr std::uint64_t kMaxHeaderBytes = 256 * 1024;
constexpr const char* kHeadersTooLarge = TARVELO_TRANSLATE_NOOP(
    "Download", "The server's answer has headers of more than 256 KB (or a header line of more than 100 KB); "
                "the page is not read.");

std::string headerValue(CURL* curl, const char* name)
{
    curl_header* header = nullptr;
    if (curl_easy_header(curl, name, 0, CURLH_HEADER, -1, &header) != CURLHE_OK || !header || !header->value)
        return {};
    return header->value;
}

} // namespace

PageTransfer::PageTransfer(const DownloadJob& job, const JobReporter& reporter, PageFacts& facts,
                           const WorkerControls& controls, const WorkerSettings& settings)
    : m_job(job), m_reporter(reporter), m_facts(facts), m_shutdown(controls.shutdown), m_abort(controls.abort),
      m_settings(settings)
{
}

PageTransfer::~PageTransfer()
{
    discardPage();
    if (m_curl)
        curl_easy_cleanup(m_curl);
    curl_slist_free_all(m_headers);
}

bool PageTransfer::connect()
{
    m_curl = curl_easy_init();
    if (!m_curl)
        return false;
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
    curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, &PageTransfer::onWrite);
    curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(m_curl, CURLOPT_HEADERFUNCTION, &PageTransfer::onHeader);
    curl_easy_setopt(m_curl, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(m_curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(m_curl, CURLOPT_XFERINFOFUNCTION, &PageTransfer::onProgress);
    curl_easy_setopt(m_curl, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!m_settings.certificateAuthorities.empty())
        curl_easy_setopt(m_curl, CURLOPT_CAINFO, m_settings.certificateAuthorities.c_str());
    setRequestHeaders(!m_job.headers.empty());
    m_reporter.postStatus(DownloadCode::Connecting);
    m_fetchStarted = std::chrono::steady_clock::now();
    return true;
}

void PageTransfer::setRequestHeaders(bool withOwn)
{
    curl_slist_free_all(m_headers);
    m_headers = nullptr;
    const auto add = [&](const std::string& line) { m_headers = curl_slist_append(m_headers, line.c_str()); };
    const std::string agent = m_settings.userAgent.empty() ? std::string("QVX") : m_settings.userAgent;
    if (!withOwn || !replacesHeader(m_job.headers, "Accept"))
        add("Accept: text/*");
    if (!withOwn || !replacesHeader(m_job.headers, "User-Agent"))
        add("User-Agent: " + agent);
    if (withOwn) {
        for (const RequestHeader& header : requestHeadersOf(m_job.headers))
            add(header.name + ": " + header.value);
    }
    curl_easy_setopt(m_curl, CURLOPT_HTTPHEADER, m_headers);
    m_ownHeadersSent = withOwn;
}

PageTransfer::Outcome PageTransfer::fetch(const std::string& address, long& status, std::string& openError)
{
    return m_curl ? fetchHttp(address, status) : fetchFile(address, openError);
}

std::string PageTransfer::failureText() const
{
    return !m_failure.empty() ? m_failure : m_curlError[0] ? m_curlError : translate("Download", "The connection failed.");
}

std::string PageTransfer::takePage()
{
    if (m_file >= 0)
        ::close(m_file);
    m_file = -1;
    return std::exchange(m_download, std::string());
}

void PageTransfer::discardPage()
{
    if (m_file >= 0)
        ::close(m_file);
    m_file = -1;
    if (!m_download.empty())
        ::unlink(m_download.c_str());
    m_download.clear();
}

std::uint64_t PageTransfer::pageLimit() const
{
    // A compressed page is held to the size of the largest page it may honestly unpack
    // to, so that a small answer cannot fill the disk.
    if (compressed())
        return std::min(m_settings.maxPageSize, kMaxUnpackedPage);
    return m_settings.maxPageSize;
}

std::string PageTransfer::pageTooLargeText() const
{
    const std::uint64_t limit = pageLimit();
    const char* text = compressed() && limit == kMaxUnpackedPage ? strings::kPageUnpacksTooLarge : strings::kPageTooLarge;
    return fill(translate("Download", text), {std::to_string(limit)});
}

bool PageTransfer::beginDownload(Outcome& outcome)
{
    m_connected = true;
    m_reporter.postStatus(DownloadCode::Connected);
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

bool PageTransfer::takeBlock(const char* data, std::size_t n, Outcome& outcome)
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
            m_failure = fill(translate("Download", "The page could not be stored: %1"), {std::strerror(errno)});
            return false;
        }
        data += put;
        n -= static_cast<std::size_t>(put);
        m_total += static_cast<std::uint64_t>(put);
    }
    m_facts.bytes = m_total;
    if (m_total - m_reported >= 1000) {
        m_reporter.postStatus(DownloadCode::Progress, DownloadError::None, {}, static_cast<int>(m_total / 1000));
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

std::size_t PageTransfer::onWrite(char* data, std::size_t size, std::size_t count, void* self)
{
    auto* w = static_cast<PageTransfer*>(self);
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

std::size_t PageTransfer::onHeader(char*, std::size_t size, std::size_t count, void* self)
{
    auto* w = static_cast<PageTransfer*>(self);
    const std::size_t n = size * count;
    w->m_headerBytes += n;
    if (w->m_headerBytes > kMaxHeaderBytes) {
        w->m_stop = Outcome::NetworkError;
        w->m_failure = translate("Download", kHeadersTooLarge);
        return 0;
    }
    return n;
}

int PageTransfer::onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    auto* w = static_cast<PageTransfer*>(self);
    if (w->stopRequested()) {
        w->m_stop = Outcome::Aborted;
        return 1;
    }
    return 0;
}

bool PageTransfer::pause(long seconds) const
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < until) {
        if (stopRequested())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return !stopRequested();
}

bool PageTransfer::mayRedirect(const std::string& address, const std::string& next)
{
    const Scheme to = splitAddress(next, true);
    if (to == Scheme::None || to == Scheme::File) {
        m_failure = fill(translate("Download", "The page redirects to %1, which is not an http or https address."), {next});
        return false;
    }
    if (to == Scheme::Http && isSecure(address)) {
        m_failure =
            fill(translate("Download", "The secure page redirects to the insecure address %1, which is not followed."), {next});
        return false;
    }
    if (to == Scheme::Https && !m_settings.allowHttps) {
        m_failure = fill(translate("Download", "The page redirects to the secure address %1, but secure addresses are not "
                                               "allowed (option AllowHttps)."),
                         {next});
        return false;
    }
    return true;
}

PageTransfer::Outcome PageTransfer::fetchHttp(const std::string& start, long& status)
{
    if (!m_job.headers.empty() && !m_ownHeadersSent)
        setRequestHeaders(true); // the try of another date after a redirect elsewhere
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
                m_failure = fill(translate("Download", "The page redirects in a loop: %1 leads back to an address already "
                                                       "visited."),
                                 {next});
                return Outcome::NetworkError;
            }
            if (m_facts.redirects == kMaxRedirects) {
                m_failure = fill(translate("Download", "The page redirects more than %1 times; the last address was %2."),
                                 {std::to_string(kMaxRedirects), next});
                return Outcome::NetworkError;
            }
            ++m_facts.redirects;
            visited.push_back(next);
            address = next;
            // Like curl with credentials: another host, port or scheme gets none of them.
            if (m_ownHeadersSent && originOf(next) != originOf(start))
                setRequestHeaders(false);
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

PageTransfer::Outcome PageTransfer::fetchOnce(const std::string& address, long& status)
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
        m_failure = translate("Download", kHeadersTooLarge);
        return Outcome::NetworkError;
    }
    if (m_result == CURLE_FILESIZE_EXCEEDED) { // the announced length is beyond the limit
        m_failure = pageTooLargeText();
        return Outcome::NetworkError;
    }
    if (m_result == CURLE_PEER_FAILED_VERIFICATION || m_result == CURLE_SSL_CACERT_BADFILE
        || m_result == CURLE_SSL_ISSUER_ERROR || m_result == CURLE_SSL_PINNEDPUBKEYNOTMATCH) {
        m_failure = fill(translate("Download", kCertificateNotTrusted),
                         {hostOf(address), m_curlError[0] ? m_curlError : curl_easy_strerror(m_result)});
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

PageTransfer::Outcome PageTransfer::fetchFile(const std::string& address, std::string& openError)
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
        m_failure = fill(translate("Download", "The file %1 is not a regular file (a FIFO, device or socket) and is not "
                                               "read."),
                         {shown});
        return Outcome::NetworkError;
    }
    if (!opened) {
        const std::string shown = pathText(failedPath);
        const std::string text = failure == FileError::NotFound       ? translate("Download", "The file %1 does not exist.")
                               : failure == FileError::AccessDenied ? translate("Download", "The file %1 may not be read.")
                                                                    : translate("Download", "The file %1 cannot be read.");
        openError = fill(text, {shown});
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

} // namespace tarvelo
