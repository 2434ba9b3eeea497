#pragma once

#include "download/downloadjob.h"
#include "download/messagesink.h"
#include "model/generaloptions.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <condition_variable>
#include <optional>
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

// Which jobs may start their download: an item update needs one of the slots, and no
// host has more than kRequestsPerHost downloads at once, whatever kind of job they
// serve. The engine asks it under its own lock before it hands a waiting job to a
// worker, so a job that waits for its host keeps no slot from the others.
class DownloadGate {
public:
    explicit DownloadGate(int slots) : m_freeSlots(slots) {}

    bool hasFreeSlot() const { return m_freeSlots > 0; }
    // The downloads from the host now; a local file (empty host) counts against none.
    int downloads(const std::string& host) const;
    // A job starts its download from the host, taking a slot when it needs one; the
    // host and the slot count as taken until leave().
    void enter(const std::string& host, bool takesSlot);
    void leave(const std::string& host, bool slotTaken);

private:
    int m_freeSlots;
    std::unordered_map<std::string, int> m_hosts;
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

// The engine's flags that its workers stop on.
struct WorkerControls {
    const std::atomic<bool>& shutdown;
    const std::atomic<bool>& abort;
};

// Runs download jobs on a pool of worker threads and keeps track of them: shutting the
// engine down aborts the jobs and waits for the workers, so none outlives the sink it
// posts to. Item updates download at most downloadSlotCount() pages at a time, and no
// host serves more than kRequestsPerHost downloads at once; the other jobs wait. A
// worker that is free takes a job that may go now, from the host with the fewest
// downloads under way (so the slots spread over the hosts), and of that host's jobs the
// one that came first. The pool has a worker per slot, which item updates never use
// more of, and kOtherJobWorkers more, so that a test, wizard or import download never
// waits behind item updates; workers are made as jobs need them and end with the engine.
class DownloadEngine {
public:
    // Workers beyond the slots, for the jobs that need no slot: a user starts those one
    // at a time (a test download, the wizard's page, an import), and two let the next
    // start while the one before is still under way.
    static constexpr int kOtherJobWorkers = 2;

    // The slot count is held to 1 to 500.
    explicit DownloadEngine(int downloadSlots = kDefaultDownloadSlots);
    ~DownloadEngine();
    DownloadEngine(const DownloadEngine&) = delete;
    DownloadEngine& operator=(const DownloadEngine&) = delete;

    // Queues the job for a worker. After shutdown() the job is not run (false).
    bool start(std::unique_ptr<DownloadJob> job);
    // Stops every job as soon as it can and waits for the workers. Each job still posts
    // a final message per item: one that never ran posts "Initialized" and "Aborted".
    void shutdown();
    // Waits until every job started so far has ended.
    void wait();
    // The jobs that wait or run.
    std::size_t runningWorkers();
    int downloadSlotCount() const { return m_slotCount; }
    // The most worker threads the engine runs, and how many it runs now.
    int workerLimit() const { return m_slotCount + kOtherJobWorkers; }
    std::size_t workerThreads();

    // The abort command: every job stops at its next check and reports "aborted". The
    // abort lasts until endAbort(), which the update run calls once no item is being
    // updated; the results that arrive meanwhile are not applied.
    void requestAbort() { m_abort.store(true); }
    bool abortRequested() const { return m_abort.load(); }
    void endAbort() { m_abort.store(false); }

    // What every job started from now on is told: whether secure addresses are
    // fetched, the page size limit, the user agent.
    void setWorkerSettings(WorkerSettings settings) { m_settings = std::move(settings); }
    const WorkerSettings& workerSettings() const { return m_settings; }
    // Secure HTTP addresses are fetched only when the option "AllowHttps" is 1.
    void setAllowHttps(bool allow) { m_settings.allowHttps = allow; }
    // The largest page a download takes, in bytes (the option "MaxPageSize"); a larger
    // page ends the download with an error and leaves no file behind.
    void setMaxPageSize(std::uint64_t bytes) { m_settings.maxPageSize = bytes; }

private:
    struct QueuedJob {
        std::unique_ptr<DownloadJob> job;
        std::uint32_t id = 0;
        std::string host; // the key of the per-host limit
        WorkerSettings settings;
        bool needsSlot() const { return job->kind == JobKind::Update; }
    };
    // The jobs that wait for one host, in the order they came.
    struct HostJobs {
        std::string host;
        std::deque<QueuedJob> jobs;
        std::size_t slotless = 0; // jobs that need no slot
    };
    // A worker's life: it runs jobs until the engine shuts down.
    void work();
    // Takes a waiting job that may download now and enters it into the gate.
    std::optional<QueuedJob> takeRunnable();

    std::mutex m_mutex;
    std::condition_variable m_changed; // a job came or ended, or the engine shuts down
    std::condition_variable m_ended;    // a job ended
    // The hosts of waiting jobs, in the order their first waiting job came.
    std::list<HostJobs> m_waiting;
    std::unordered_map<std::string, std::list<HostJobs>::iterator> m_waitingByHost;
    std::size_t m_waitingJobs = 0;
    std::size_t m_waitingSlotless = 0;
    std::vector<std::thread> m_workers;
    std::size_t m_idleWorkers = 0; // waiting for a job they may run
    std::size_t m_runningJobs = 0;
    std::atomic<bool> m_shutdown{false};
    std::atomic<bool> m_abort{false};
    const int m_slotCount;
    DownloadGate m_gate;
    std::uint32_t m_nextWorker = 1;
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

// An item's entry in a job: a snapshot of the configuration with the item's name and
// symbol put into its texts.
DownloadItemEntry itemEntry(ItemKey key, const std::string& name, const std::string& symbol, const ServerConfig& config);
// A test download of a configuration for the given name and symbol.
void startTestDownload(DownloadEngine& engine, MessageSink& sink, const ServerConfig& config,
                       const std::string& name, const std::string& symbol);
void startWizardDownload(DownloadEngine& engine, MessageSink& sink, const std::string& urlTemplate,
                         const std::string& name, const std::string& symbol);
void startImportDownload(DownloadEngine& engine, MessageSink& sink, const std::string& url, const std::string& name,
                         const std::string& symbol);
// The worker procedure: runs one job from "Initialized" to its final messages.
void downloadWorker(std::unique_ptr<DownloadJob> job, std::uint32_t workerId, const WorkerControls& controls,
                    const WorkerSettings& settings);

} // namespace tarvelo
