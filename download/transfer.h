#pragma once

#include "download/downloadengine.h"
#include "download/jobreport.h"

#include <curl/curl.h>

#include <chrono>
#include <cstdint>
#include <string>

// Brings a job's page into a temporary file: over http or https (redirects followed one
// at a time and checked, a server's "ask again later" honoured once, the page size and
// the job's time held), or from a local file. It posts "Connecting", "Connected" and the
// progress of the job, and stops as soon as the engine aborts or shuts down.
namespace tarvelo {

class PageTransfer {
public:
    enum class Outcome { Read, NotFound, HttpStatus, Redirect, Timeout, Aborted, NetworkError, NoTempFile };

    // facts is filled in as the page comes; it outlives the transfer.
    PageTransfer(const DownloadJob& job, const JobReporter& reporter, PageFacts& facts, const WorkerControls& controls,
                 const WorkerSettings& settings);
    // Removes a page that nobody took.
    ~PageTransfer();
    PageTransfer(const PageTransfer&) = delete;
    PageTransfer& operator=(const PageTransfer&) = delete;

    // Starts the network library for an http or https address and posts "Connecting";
    // false when the library cannot be started.
    bool connect();
    // One try at the address: over the network after connect(), else the local file it
    // names. status is the last answer's; openError says why a local file could not be
    // opened.
    Outcome fetch(const std::string& address, long& status, std::string& openError);

    bool stopRequested() const { return m_abort.load() || m_shutdown.load(); }
    // Why the transfer failed, for Outcome::NetworkError.
    std::string failureText() const;

    // The file of the whole page, closed; the caller owns it now.
    std::string takePage();
    // Removes the page as far as it came.
    void discardPage();

private:
    // The request's headers: the program's own, of which the configuration's replace
    // those of the same name, and the configuration's, which go only to the host of
    // the job's address (a redirect to another host does not take a key along).
    void setRequestHeaders(bool withOwn);
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

    static std::size_t onWrite(char* data, std::size_t size, std::size_t count, void* self);
    static std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* self);
    static int onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t);

    const DownloadJob& m_job;
    const JobReporter& m_reporter;
    PageFacts& m_facts;
    const std::atomic<bool>& m_shutdown;
    const std::atomic<bool>& m_abort;
    const WorkerSettings& m_settings;
    CURL* m_curl = nullptr;
    curl_slist* m_headers = nullptr;
    bool m_ownHeadersSent = false;
    char m_curlError[CURL_ERROR_SIZE] = {};
    CURLcode m_result = CURLE_OK;
    // Why the worker itself ended the transfer; the network library would put its own
    // words over a text in m_curlError.
    std::string m_failure;
    std::chrono::steady_clock::time_point m_fetchStarted;

    // The try in progress.
    bool m_connected = false;
    long m_status = 0;
    Outcome m_stop = Outcome::Read;
    bool m_skipBody = false;
    std::uint64_t m_headerBytes = 0; // of the current answer
    int m_file = -1;
    std::string m_download;
    std::uint64_t m_total = 0;
    std::uint64_t m_reported = 0;
    std::chrono::steady_clock::time_point m_started;
};

} // namespace tarvelo
