#include "download/updaterun.h"

#include "download/downloadengine.h"
#include "download/statustext.h"
#include "extraction/urltemplate.h"
#include "servers/serverstore.h"

#include <algorithm>
#include <unordered_map>

namespace tarvelo {

namespace {

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

} // namespace

UpdateRun::UpdateRun(PortfolioDocument& doc, DownloadEngine& engine)
    : m_doc(doc), m_engine(engine), m_queue(std::make_unique<MessageQueue>()), m_sink(*m_queue)
{
}

UpdateRun::UpdateRun(PortfolioDocument& doc, DownloadEngine& engine, MessageSink& sink, Callbacks callbacks)
    : m_doc(doc), m_engine(engine), m_sink(sink), m_callbacks(std::move(callbacks))
{
}

UpdateRun::~UpdateRun()
{
    if (!m_queue)
        return;
    while (MessageQueue::Posted posted = m_queue->take())
        settleUnmatchedPage(*posted.message, false);
}

HealthKey healthKeyOf(const SecurityItem& item)
{
    return HealthKey{item.settings().name, item.settings().symbol};
}

int UpdateRun::start(const std::vector<ItemKey>& items)
{
    if (m_keepHealth && !underWay()) {
        m_health = SourceHealth(m_doc.filePath());
        const Result<void> loaded = m_health.load();
        m_healthError = loaded.ok() ? std::string() : loaded.message();
    }
    std::vector<std::unique_ptr<DownloadJob>> jobs;
    std::unordered_map<std::string, DownloadJob*> byUrl;
    std::unordered_map<std::string, ServerConfig> named;
    for (const ItemKey pos : items) {
        const SecurityItem* item = m_doc.item(pos);
        if (!item || item->isBeingUpdated())
            continue;
        const ServerConfig config = configOf(*item, named);
        const std::string& name = item->settings().name;
        const std::string& symbol = item->settings().symbol;
        std::string url = expandItemVariables(config.url, name, symbol);
        m_doc.markBeingUpdated(pos);
        ++m_itemsStarted;
        const auto timeout = static_cast<std::uint32_t>(config.timeout);
        if (const auto found = byUrl.find(url); found != byUrl.end()) {
            DownloadJob& job = *found->second;
            job.entries.push_back(itemEntry(pos, name, symbol, config));
            job.timeout = std::max(job.timeout, timeout);
            continue;
        }
        auto job = std::make_unique<DownloadJob>();
        job->url = url;
        job->timeout = timeout;
        job->sink = &m_sink;
        job->messageId = MessageId::DownloadStatus;
        job->entries.push_back(itemEntry(pos, name, symbol, config));
        byUrl.emplace(std::move(url), job.get());
        jobs.push_back(std::move(job));
    }
    for (auto& job : jobs)
        m_engine.start(std::move(job));
    return static_cast<int>(jobs.size());
}

void UpdateRun::deliver(DownloadMessage& m)
{
    if (m.test)
        return;
    const int before = m_running;
    const bool final = isFinalCode(m.code);
    if (m.code == DownloadCode::Initialized)
        ++m_running;
    if (final) {
        --m_running;
        const bool found = m.code == DownloadCode::Done && m.quotation;
        // Any outcome ends its item's update; a quotation whose item has gone ends nothing.
        const bool ends = !found || m_doc.isValid(m.itemKey);
        const bool aborted = m_engine.abortRequested();
        if (!aborted)
            recordHealth(m, found);
        if (found && !aborted) {
            const Quotation quotation = *m.quotation;
            m.quotation.reset();
            m_doc.applyDownloadedQuotation(m.itemKey, quotation);
        } else {
            m_doc.clearBeingUpdated(m.itemKey);
        }
        if (ends && !m_doc.anyBeingUpdated())
            m_engine.endAbort();
    }
    if (m_callbacks.applied)
        m_callbacks.applied(m);
    if (m_running != before && m_callbacks.runningChanged)
        m_callbacks.runningChanged(m_running);
    if (final && !underWay()) {
        if (m_keepHealth) {
            const Result<void> saved = m_health.save();
            m_healthError = saved.ok() ? std::string() : saved.message();
        }
        if (m_callbacks.finished)
            m_callbacks.finished();
    }
}

void UpdateRun::recordHealth(const DownloadMessage& m, bool stored)
{
    if (!m_keepHealth || m.code == DownloadCode::Aborted)
        return;
    const SecurityItem* item = m_doc.item(m.itemKey);
    if (!item)
        return;
    if (stored)
        m_health.recordSuccess(healthKeyOf(*item), m.quotation->time);
    else
        m_health.recordFailure(healthKeyOf(*item), connectionStatusText(m));
}

void UpdateRun::runToEnd(const std::function<void(DownloadMessage&)>& onFinal)
{
    if (!m_queue)
        return;
    while (MessageQueue::Posted posted = m_queue->take()) {
        DownloadMessage& m = *posted.message;
        if (onFinal && isFinalCode(m.code) && !m.test)
            onFinal(m);
        deliver(m);
    }
}

void UpdateRun::abort()
{
    if (underWay())
        m_engine.requestAbort();
}

bool UpdateRun::underWay() const
{
    return m_running > 0 || m_doc.anyBeingUpdated();
}

bool saveUpdatedQuotations(PortfolioDocument& doc, const std::function<void(const std::string& text, bool failed)>& report)
{
    if (!doc.hasNewQuotations())
        return true;
    const DocumentResult saved = doc.saveMerged();
    if (!saved.ok())
        report(saved.message(), true);
    else if (!saved->warning.empty())
        report(saved->warning, false);
    return saved.ok();
}

} // namespace tarvelo
