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

bool DownloadGate::tryEnter(const std::string& host, bool needsSlot)
{
    if (needsSlot && m_freeSlots == 0)
        return false;
    if (!host.empty()) {
        int& downloads = m_hosts[host];
        if (downloads >= kRequestsPerHost)
            return false;
        ++downloads;
    }
    if (needsSlot)
        --m_freeSlots;
    return true;
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

void DownloadEngine::start(std::unique_ptr<DownloadJob> job)
{
    // The host the job counts against: that of the address as it reads today.
    const std::string host = hostOf(expandDateVariables(job->url, 0, currentTime()));
    MessageSink* sink = job->sink;
    const std::lock_guard lock(m_mutex);
    if (m_shutdown)
        return;
    sink->jobQueued();
    m_queue.push_back({std::move(job), m_nextWorker++, host, m_settings});
    // A worker more while the jobs outnumber the idle ones, up to the limit; an idle
    // worker is woken for a job it may run.
    if (m_queue.size() > m_idleWorkers && m_workers.size() < static_cast<std::size_t>(workerLimit()))
        m_workers.emplace_back([this] { work(); });
    else
        m_changed.notify_one();
}

std::list<DownloadEngine::QueuedJob>::iterator DownloadEngine::nextRunnable()
{
    for (auto it = m_queue.begin(); it != m_queue.end(); ++it) {
        if (m_gate.tryEnter(it->host, it->job->kind == JobKind::Update))
            return it;
    }
    return m_queue.end();
}

void DownloadEngine::work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        auto next = m_queue.end();
        ++m_idleWorkers;
        m_changed.wait(lock, [&] { return m_shutdown || (next = nextRunnable()) != m_queue.end(); });
        --m_idleWorkers;
        if (m_shutdown)
            return; // what still waits is shutdown()'s to report
        QueuedJob job = std::move(*next);
        m_queue.erase(next);
        ++m_runningJobs;
        lock.unlock();

        MessageSink* sink = job.job->sink;
        const bool slotTaken = job.job->kind == JobKind::Update;
        downloadWorker(std::move(job.job), job.id, WorkerControls{m_shutdown, m_abort}, job.settings);
        sink->jobEnded(); // the last the engine does with the sink

        lock.lock();
        m_gate.leave(job.host, slotTaken);
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
    // The jobs that never ran still tell their receivers.
    std::list<QueuedJob> left;
    {
        const std::lock_guard lock(m_mutex);
        left.swap(m_queue);
    }
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
    m_ended.wait(lock, [&] { return m_queue.empty() && m_runningJobs == 0; });
}

std::size_t DownloadEngine::runningWorkers()
{
    const std::lock_guard lock(m_mutex);
    return m_queue.size() + m_runningJobs;
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
    const OptionInfo* option = findGeneralOption("MaxPageSize");
    const std::int32_t bytes = options.maxPageSize;
    if (!option)
        return bytes > 0 ? static_cast<std::uint64_t>(bytes) : kDefaultMaxPageSize;
    return static_cast<std::uint64_t>(std::clamp(bytes, option->low, option->high));
}

std::uint64_t readMaxPageSize()
{
    return maxPageSizeOf(loadOptions());
}

WorkerSettings workerSettingsOf(const GeneralOptions& options)
{
    WorkerSettings settings;
    settings.allowHttps = options.allowHttps != 0;
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
