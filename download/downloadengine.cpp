#include "download/downloadengine.h"

#include "extraction/extract.h"
#include "extraction/urltemplate.h"
#include "model/generaloptions.h"
#include "servers/serverstore.h"

#include <curl/curl.h>

#include <algorithm>
#include <unordered_map>

namespace tarvelo {

namespace {

std::once_flag g_curlInit;
CURLcode g_curlInitResult = CURLE_OK;

// The configuration an item downloads with: its own, or the named one from the store,
// read once per update however many items name it.
ServerConfig configOf(const SecurityItem& item, std::unordered_map<std::string, ServerConfig>& named)
{
    const ServerConfig& own = item.settings().server;
    if (own.name.empty())
        return own;
    auto found = named.find(own.name);
    if (found == named.end())
        found = named.emplace(own.name, resolveServerConfig(own)).first;
    return found->second;
}

DownloadItemEntry entryFor(ItemKey key, const std::string& name, const std::string& symbol, const ServerConfig& config)
{
    DownloadItemEntry entry;
    entry.itemKey = key;
    entry.name = name;
    entry.config = withItemVariables(config, name, symbol);
    return entry;
}

} // namespace

bool initializeDownloads()
{
    std::call_once(g_curlInit, [] { g_curlInitResult = curl_global_init(CURL_GLOBAL_DEFAULT); });
    return g_curlInitResult == CURLE_OK;
}

bool DownloadGate::enter(const std::string& host, bool needsSlot)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] {
        if (m_closed)
            return true;
        if (needsSlot && m_freeSlots == 0)
            return false;
        if (host.empty())
            return true;
        const auto found = m_hosts.find(host);
        return found == m_hosts.end() || found->second < kRequestsPerHost;
    });
    if (m_closed)
        return false;
    if (needsSlot)
        --m_freeSlots;
    if (!host.empty())
        ++m_hosts[host];
    return true;
}

void DownloadGate::leave(const std::string& host, bool slotTaken)
{
    {
        const std::lock_guard lock(m_mutex);
        if (slotTaken)
            ++m_freeSlots;
        if (!host.empty()) {
            const auto found = m_hosts.find(host);
            if (found != m_hosts.end() && --found->second == 0)
                m_hosts.erase(found);
        }
    }
    m_changed.notify_all();
}

void DownloadGate::close()
{
    {
        const std::lock_guard lock(m_mutex);
        m_closed = true;
    }
    m_changed.notify_all();
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
    if (m_shutdown.load())
        return;
    auto done = std::make_shared<std::atomic<bool>>(false);
    const std::uint32_t id = m_nextWorker++;
    std::thread thread([this, job = std::move(job), id, done, settings = m_settings]() mutable {
        downloadWorker(std::move(job), id, WorkerControls{m_shutdown, m_abort, m_gate}, settings);
        done->store(true);
    });
    const std::lock_guard lock(m_mutex);
    reap(false);
    m_workers.push_back({std::move(thread), std::move(done)});
}

void DownloadEngine::reap(bool all)
{
    for (auto it = m_workers.begin(); it != m_workers.end();) {
        if (all || it->done->load()) {
            if (it->thread.joinable())
                it->thread.join();
            it = m_workers.erase(it);
        } else {
            ++it;
        }
    }
}

void DownloadEngine::shutdown()
{
    m_shutdown.store(true);
    m_gate.close();
    const std::lock_guard lock(m_mutex);
    reap(true);
}

void DownloadEngine::wait()
{
    const std::lock_guard lock(m_mutex);
    reap(true);
}

std::size_t DownloadEngine::runningWorkers()
{
    const std::lock_guard lock(m_mutex);
    reap(false);
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

int updateItems(PortfolioDocument& doc, const std::vector<ItemKey>& items, DownloadEngine& engine, MessageSink& sink)
{
    // One job per distinct expanded address, in the order of the items that open them;
    // later items of the same address ride along and the job takes the largest timeout.
    std::vector<std::unique_ptr<DownloadJob>> jobs;
    std::unordered_map<std::string, DownloadJob*> byUrl;
    std::unordered_map<std::string, ServerConfig> named;
    for (const ItemKey pos : items) {
        const SecurityItem* item = doc.item(pos);
        if (!item || item->isBeingUpdated())
            continue;
        const ServerConfig config = configOf(*item, named);
        const std::string& name = item->settings().name;
        const std::string& symbol = item->settings().symbol;
        std::string url = expandItemVariables(config.url, name, symbol);
        doc.markBeingUpdated(pos);
        const auto timeout = static_cast<std::uint32_t>(config.timeout);
        if (const auto found = byUrl.find(url); found != byUrl.end()) {
            DownloadJob& job = *found->second;
            job.entries.push_back(entryFor(pos, name, symbol, config));
            job.timeout = std::max(job.timeout, timeout);
            continue;
        }
        auto job = std::make_unique<DownloadJob>();
        job->url = url;
        job->timeout = timeout;
        job->sink = &sink;
        job->messageId = MessageId::DownloadStatus;
        job->entries.push_back(entryFor(pos, name, symbol, config));
        byUrl.emplace(std::move(url), job.get());
        jobs.push_back(std::move(job));
    }
    for (auto& job : jobs)
        engine.start(std::move(job));
    return static_cast<int>(jobs.size());
}

void startTestDownload(DownloadEngine& engine, MessageSink& sink, const ServerConfig& config,
                       const std::string& name, const std::string& symbol)
{
    auto job = std::make_unique<DownloadJob>();
    job->entries.push_back(entryFor(ItemKey{}, name, symbol, config));
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
