#include "download/downloadengine.h"

#include "download/address.h"
#include "download/jobreport.h"
#include "extraction/extract.h"
#include "extraction/urltemplate.h"
#include "model/generaloptions.h"
#include "platform/localtime.h"

#include <curl/curl.h>

#include <algorithm>

namespace tarvelo {

namespace {

std::once_flag g_curlInit;
CURLcode g_curlInitResult = CURLE_OK;

} // namespace

DownloadItemEntry itemEntry(ItemKey key, const std::string& name, const std::string& symbol, const ServerConfig& config)
{
    DownloadItemEntry entry;
    entry.itemKey = key;
    entry.name = name;
    entry.config = withItemVariables(config, name, symbol);
    return entry;
}

bool initializeDownloads()
{
    std::call_once(g_curlInit, [] { g_curlInitResult = curl_global_init(CURL_GLOBAL_DEFAULT); });
    return g_curlInitResult == CURLE_OK;
}

int DownloadGate::downloads(const std::string& host) const
{
    if (host.empty())
        return 0;
    const auto found = m_hosts.find(host);
    return found == m_hosts.end() ? 0 : found->second;
}

void DownloadGate::enter(const std::string& host, bool takesSlot)
{
    if (takesSlot)
        --m_freeSlots;
    if (!host.empty())
        ++m_hosts[host];
}

void DownloadGate::leave(const std::string& host, bool slotTaken)
{
    if (slotTaken)
        ++m_freeSlots;
    if (!host.empty()) {
        const auto found = m_hosts.find(host);
        if (found != m_hosts.end() && --found->second == 0)
            m_hosts.erase(found);
    }
}

DownloadEngine::DownloadEngine(int downloadSlots)
    : m_slotCount(std::clamp(downloadSlots, kMinDownloadSlots, kMaxDownloadSlots)), m_gate(m_slotCount)
{
    initializeDownloads();
}

DownloadEngine::~DownloadEngine()
{
    shutdown();
}

bool DownloadEngine::start(std::unique_ptr<DownloadJob> job)
{
    // The host the job counts against: that of the address as it reads today.
    std::string host = hostOf(expandDateVariables(job->url, 0, currentTime()));
    MessageSink* sink = job->sink;
    const std::lock_guard lock(m_mutex);
    if (m_shutdown)
        return false;
    sink->jobQueued();
    auto group = m_waitingByHost.find(host);
    if (group == m_waitingByHost.end()) {
        m_waiting.push_back({host, {}, 0});
        group = m_waitingByHost.emplace(host, std::prev(m_waiting.end())).first;
    }
    HostJobs& waiting = *group->second;
    waiting.jobs.push_back({std::move(job), m_nextWorker++, std::move(host), m_settings});
    if (!waiting.jobs.back().needsSlot()) {
        ++waiting.slotless;
        ++m_waitingSlotless;
    }
    ++m_waitingJobs;
    // A worker more while the jobs outnumber the idle workers, up to the limit; else an
    // idle worker is woken for a job it may run.
    if (m_waitingJobs > m_idleWorkers && m_workers.size() < static_cast<std::size_t>(workerLimit()))
        m_workers.emplace_back([this] { work(); });
    else
        m_changed.notify_one();
    return true;
}

std::optional<DownloadEngine::QueuedJob> DownloadEngine::takeRunnable()
{
    const bool slotFree = m_gate.hasFreeSlot();
    if (!slotFree && m_waitingSlotless == 0)
        return std::nullopt;
    // The host with the fewest downloads under way among those that may serve one more;
    // a host without any (or a local file) is the best there is.
    auto best = m_waiting.end();
    int fewest = kRequestsPerHost;
    for (auto it = m_waiting.begin(); it != m_waiting.end() && fewest > 0; ++it) {
        const int load = m_gate.downloads(it->host);
        if (load < fewest && (slotFree || it->slotless > 0)) {
            best = it;
            fewest = load;
        }
    }
    if (best == m_waiting.end())
        return std::nullopt;
    auto next = best->jobs.begin();
    if (!slotFree)
        next = std::find_if(next, best->jobs.end(), [](const QueuedJob& queued) { return !queued.needsSlot(); });
    QueuedJob taken = std::move(*next);
    best->jobs.erase(next);
    --m_waitingJobs;
    if (!taken.needsSlot()) {
        --best->slotless;
        --m_waitingSlotless;
    }
    if (best->jobs.empty()) {
        m_waitingByHost.erase(best->host);
        m_waiting.erase(best);
    }
    m_gate.enter(taken.host, taken.needsSlot());
    return taken;
}

void DownloadEngine::work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        std::optional<QueuedJob> next;
        ++m_idleWorkers;
        m_changed.wait(lock, [&] { return m_shutdown || (next = takeRunnable()); });
        --m_idleWorkers;
        if (!next)
            return; // the engine shuts down; what still waits is shutdown()'s to report
        ++m_runningJobs;
        lock.unlock();

        MessageSink* sink = next->job->sink;
        const bool slotTaken = next->needsSlot();
        downloadWorker(std::move(next->job), next->id, WorkerControls{m_shutdown, m_abort}, next->settings);
        sink->jobEnded(); // the last the engine does with the sink

        lock.lock();
        m_gate.leave(next->host, slotTaken);
        --m_runningJobs;
        // The slot and the host may let waiting jobs go.
        m_changed.notify_all();
        m_ended.notify_all();
    }
}

void DownloadEngine::shutdown()
{
    std::vector<std::thread> workers;
    {
        const std::lock_guard lock(m_mutex);
        m_shutdown = true;
        workers = std::move(m_workers);
        m_workers.clear();
    }
    m_changed.notify_all();
    for (std::thread& worker : workers)
        worker.join();
    // The jobs that never ran still tell their receivers, in the order they came.
    std::vector<QueuedJob> left;
    {
        const std::lock_guard lock(m_mutex);
        for (HostJobs& host : m_waiting) {
            for (QueuedJob& queued : host.jobs)
                left.push_back(std::move(queued));
        }
        m_waiting.clear();
        m_waitingByHost.clear();
        m_waitingJobs = 0;
        m_waitingSlotless = 0;
    }
    std::sort(left.begin(), left.end(), [](const QueuedJob& a, const QueuedJob& b) { return a.id < b.id; });
    for (QueuedJob& queued : left) {
        MessageSink* sink = queued.job->sink;
        reportNotRun(*queued.job, queued.id);
        sink->jobEnded();
    }
    m_ended.notify_all();
}

void DownloadEngine::wait()
{
    std::unique_lock lock(m_mutex);
    m_ended.wait(lock, [&] { return m_waitingJobs == 0 && m_runningJobs == 0; });
}

std::size_t DownloadEngine::runningWorkers()
{
    const std::lock_guard lock(m_mutex);
    return m_waitingJobs + m_runningJobs;
}

std::size_t DownloadEngine::workerThreads()
{
    const std::lock_guard lock(m_mutex);
    return m_workers.size();
}

int readNumberDownloads()
{
    return std::clamp(loadOptions().numberDownloads, kMinDownloadSlots, kMaxDownloadSlots);
}

std::uint64_t maxPageSizeOf(const GeneralOptions& options)
{
    const OptionInfo& option = generalOption(&GeneralOptions::maxPageSize);
    return static_cast<std::uint64_t>(std::clamp(options.maxPageSize, option.low, option.high));
}

std::uint64_t readMaxPageSize()
{
    return maxPageSizeOf(loadOptions());
}

WorkerSettings workerSettingsOf(const GeneralOptions& options)
{
    WorkerSettings settings;
    settings.allowHttps = options.allowHttps;
    settings.maxPageSize = maxPageSizeOf(options);
    settings.userAgent = options.userAgent;
    return settings;
}

WorkerSettings readWorkerSettings()
{
    return workerSettingsOf(loadOptions());
}

void startTestDownload(DownloadEngine& engine, MessageSink& sink, const ServerConfig& config,
                       const std::string& name, const std::string& symbol)
{
    auto job = std::make_unique<DownloadJob>();
    job->entries.push_back(itemEntry(ItemKey{}, name, symbol, config));
    job->url = job->entries.front().config.url;
    job->headers = config.headers;
    job->timeout = static_cast<std::uint32_t>(config.timeout);
    job->kind = JobKind::Test;
    job->sink = &sink;
    job->messageId = MessageId::DownloadStatus;
    engine.start(std::move(job));
}

namespace {

void startPageJob(DownloadEngine& engine, MessageSink& sink, const std::string& url, const std::string& name,
                  const std::string& symbol, bool wizard)
{
    auto job = std::make_unique<DownloadJob>();
    job->url = expandItemVariables(url, name, symbol);
    job->timeout = 300;
    job->kind = wizard ? JobKind::Wizard : JobKind::Import;
    job->sink = &sink;
    job->messageId = wizard ? MessageId::WizardDownload : MessageId::ImportDownload;
    engine.start(std::move(job));
}

} // namespace

void startWizardDownload(DownloadEngine& engine, MessageSink& sink, const std::string& urlTemplate,
                         const std::string& name, const std::string& symbol)
{
    startPageJob(engine, sink, urlTemplate, name, symbol, true);
}

void startImportDownload(DownloadEngine& engine, MessageSink& sink, const std::string& url, const std::string& name,
                         const std::string& symbol)
{
    startPageJob(engine, sink, url, name, symbol, false);
}

} // namespace tarvelo
