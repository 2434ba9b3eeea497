#pragma once

#include "download/downloadjob.h"
#include "download/messagesink.h"
#include "model/generaloptions.h"

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <condition_variable>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace tarvelo {

// The page size limit when none is set: the default of the option "MaxPageSize".
inline constexpr std::uint64_t kDefaultMaxPageSize = 64u << 20;

// How many item updates may download at once: the range and default of the option
// "NumberDownloads".
inline constexpr int kMinDownloadSlots = 1;
inline constexpr int kMaxDownloadSlots = 500;
inline constexpr int kDefaultDownloadSlots = 5;

// No host gets more downloads at once than this, whatever the number of slots.
inline constexpr int kRequestsPerHost = 2;

// Lets workers start their download: an item update needs one of the slots, and no host
// has more than kRequestsPerHost downloads at once, whatever kind of job they serve. A
// worker waits until both hold at the same time, so one that waits for its host keeps
// no slot from the others.
class DownloadGate {
public:
    explicit DownloadGate(int slots) : m_freeSlots(slots) {}

    // Waits until the worker may download from the host (empty: a local file, no host
    // limit), taking a slot too when it needs one. False when close() came first.
    bool enter(const std::string& host, bool needsSlot);
    void leave(const std::string& host, bool slotTaken);
    // Wakes every waiting worker for good; enter() then returns false.
    void close();

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_freeSlots;
    std::unordered_map<std::string, int> m_hosts;
    bool m_closed = false;
};

// What a worker needs to know besides its job.
struct WorkerSettings {
    bool allowHttps = true;
    std::uint64_t maxPageSize = kDefaultMaxPageSize;
    // Sent in place of the default user agent when not empty (the option "UserAgent").
    std::string userAgent;
    // Certificates are checked against this file of authorities instead of the
    // system's store when it is set.
    std::string certificateAuthorities;
    // Item entries hand their converted page to the receiver also when the quotation
    // was found (convertedFile of a Done message), for a receiver that looks at it.
    bool keepConvertedPages = false;
};

// The engine's state that its workers share: the flags they stop on, and the slots an
// item update waits for before it connects.
struct WorkerControls {
    const std::atomic<bool>& shutdown;
    const std::atomic<bool>& abort;
    DownloadGate& gate;
};

// Runs download jobs, one worker thread each, and keeps track of the workers: shutting
// the engine down aborts them and waits for them, so none outlives the sink it posts to.
// Item updates download at most downloadSlotCount() pages at a time, and no host serves
// more than kRequestsPerHost downloads at once; the others wait.
class DownloadEngine {
public:
    // The slot count is held to 1 to 500.
    explicit DownloadEngine(int downloadSlots = kDefaultDownloadSlots);
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
    int downloadSlotCount() const { return m_slotCount; }

    // The abort command: every worker stops at its next check and reports "aborted",
    // and results that arrive meanwhile are not applied (DownloadStatusRouter). The abort
    // lasts until endAbort(), which the router calls once no item is being updated.
    void requestAbort() { m_abort.store(true); }
    bool abortRequested() const { return m_abort.load(); }
    void endAbort() { m_abort.store(false); }

    // What every worker started from now on is told: whether secure addresses are
    // fetched, the page size limit, the user agent.
    void setWorkerSettings(WorkerSettings settings) { m_settings = std::move(settings); }
    const WorkerSettings& workerSettings() const { return m_settings; }
    // Secure HTTP addresses are fetched only when the option "AllowHttps" is 1.
    void setAllowHttps(bool allow) { m_settings.allowHttps = allow; }
    // The largest page a download takes, in bytes (the option "MaxPageSize"); a larger
    // page ends the download with an error and leaves no file behind.
    void setMaxPageSize(std::uint64_t bytes) { m_settings.maxPageSize = bytes; }

private:
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    void reap(bool all);

    std::mutex m_mutex;
    std::list<Worker> m_workers;
    std::atomic<bool> m_shutdown{false};
    std::atomic<bool> m_abort{false};
    const int m_slotCount;
    DownloadGate m_gate;
    std::atomic<std::uint32_t> m_nextWorker{1};
    WorkerSettings m_settings;
};

// Prepares the network library once per process; false when it cannot be used.
bool initializeDownloads();

// The option "NumberDownloads" of the profile section "GeneralOptions", within 1 to 500.
int readNumberDownloads();
// The option "MaxPageSize", held to the range the options dialog accepts.
std::uint64_t readMaxPageSize();
// What the workers take from the general options: "AllowHttps", "MaxPageSize" and
// "UserAgent"; read from the profile, or from options already read.
WorkerSettings readWorkerSettings();
WorkerSettings workerSettingsOf(const GeneralOptions& options);

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
// The worker procedure. An item update takes one of the slots for its download.
void downloadWorker(std::unique_ptr<DownloadJob> job, std::uint32_t workerId, const WorkerControls& controls,
                    const WorkerSettings& settings);

} // namespace tarvelo
