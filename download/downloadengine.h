#pragma once

#include "download/downloadjob.h"
#include "download/messagesink.h"

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tarvelo {

// The page size limit when none is set: the default of the option "MaxPageSize".
inline constexpr std::uint64_t kDefaultMaxPageSize = 64u << 20;

// What a worker needs to know besides its job.
struct WorkerSettings {
    bool allowHttps = false;
    std::uint64_t maxPageSize = kDefaultMaxPageSize;
};

// Runs download jobs, one worker thread each, and keeps track of the workers: shutting
// the engine down aborts them and waits for them, so none outlives the sink it posts to.
class DownloadEngine {
public:
    DownloadEngine();
    ~DownloadEngine();
    DownloadEngine(const DownloadEngine&) = delete;
    DownloadEngine& operator=(const DownloadEngine&) = delete;

    // Starts a worker on the job. After shutdown() the job is not run.
    void start(std::unique_ptr<DownloadJob> job);
    // Stops every worker as soon as it can (each still posts a final message per item)
    // and waits for them.
    void shutdown();
    // Waits until every worker started so far has ended.
    void wait();
    std::size_t runningWorkers();

    // Secure HTTP addresses are fetched only when the option "AllowHttps" is 1.
    void setAllowHttps(bool allow) { m_allowHttps = allow; }
    bool allowHttps() const { return m_allowHttps; }
    // The largest page a download takes, in bytes (the option "MaxPageSize"); a larger
    // page ends the download with an error and leaves no file behind.
    void setMaxPageSize(std::uint64_t bytes) { m_maxPageSize = bytes; }
    std::uint64_t maxPageSize() const { return m_maxPageSize; }

private:
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    void reap(bool all);

    std::mutex m_mutex;
    std::list<Worker> m_workers;
    std::atomic<bool> m_shutdown{false};
    std::atomic<std::uint32_t> m_nextWorker{1};
    bool m_allowHttps = false;
    std::uint64_t m_maxPageSize = kDefaultMaxPageSize;
};

// Prepares the network library once per process; false when it cannot be used.
bool initializeDownloads();

// The option "AllowHttps" of the profile section "GeneralOptions" (default 0).
bool readAllowHttps();
// The option "MaxPageSize" of the same section, held to the range the options dialog
// accepts.
std::uint64_t readMaxPageSize();

// One item-update job per distinct address among the items not being updated; marks
// the items. Returns the number of jobs started.
int updateItems(PortfolioDocument& doc, const std::vector<ItemKey>& items, DownloadEngine& engine, MessageSink& sink);
// A test download of a configuration for the given name and symbol.
void startTestDownload(DownloadEngine& engine, MessageSink& sink, const ServerConfig& config,
                       const std::string& name, const std::string& symbol);
void startWizardDownload(DownloadEngine& engine, MessageSink& sink, const std::string& urlTemplate,
                         const std::string& name, const std::string& symbol);
void startImportDownload(DownloadEngine& engine, MessageSink& sink, const std::string& url, const std::string& name,
                         const std::string& symbol);
// Sets the abort flag; workers stop at their next check.
void requestAbortDownloads();

// The worker procedure.
void downloadWorker(std::unique_ptr<DownloadJob> job, std::uint32_t workerId, const std::atomic<bool>& shutdown,
                    const WorkerSettings& settings);

} // namespace tarvelo
