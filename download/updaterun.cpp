#include "download/updaterun.h"

#include "download/downloadengine.h"
#include "download/plausibility.h"
#include "download/statustext.h"
#include "extraction/urltemplate.h"
#include "servers/serverstore.h"

#include <algorithm>
#include <unordered_map>

namespace tarvelo {

namespace {

// Deletes the pages a message hands over and forgets them: the message reports no page.
void discardMessageFiles(DownloadMessage& m)
{
    removeMessageFiles(m);
    m.rawFile.clear();
    m.semiHtmlFile.clear();
    m.convertedFile.clear();
}

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
        // Items share a download only when they ask for the page alike.
        std::string request = url + '\n' + config.headers;
        m_doc.markBeingUpdated(pos);
        ++m_itemsStarted;
        // Only items with a limit or a fallback need to be followed through their update.
        if (config.maxChange != 0 || !config.fallback.empty())
            m_attempts[pos.key] = ItemAttempt{config.maxChange, config.fallback, {}, {item->settings().server.name}, {}};
        else if (!m_attempts.empty())
            m_attempts.erase(pos.key);
        const auto timeout = static_cast<std::uint32_t>(config.timeout);
        if (const auto found = byUrl.find(request); found != byUrl.end()) {
            DownloadJob& job = *found->second;
            job.entries.push_back(itemEntry(pos, name, symbol, config));
            job.timeout = std::max(job.timeout, timeout);
            continue;
        }
        auto job = std::make_unique<DownloadJob>();
        job->url = url;
        job->headers = config.headers;
        job->timeout = timeout;
        job->sink = &m_sink;
        job->messageId = MessageId::DownloadStatus;
        job->entries.push_back(itemEntry(pos, name, symbol, config));
        byUrl.emplace(std::move(request), job.get());
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
    ItemAttempt* attempt = nullptr;
    if (!m_attempts.empty()) {
        if (const auto found = m_attempts.find(m.itemKey.key); found != m_attempts.end()) {
            attempt = &found->second;
            m.fallbackName = attempt->from;
        }
    }
    if (final) {
        --m_running;
        const bool aborted = m_engine.abortRequested();
        if (!aborted)
            checkFoundValue(m, attempt);
        if (attempt && !aborted) {
            if (startFallback(m, *attempt)) {
                // The item's outcome is the fallback's; this download's page is not wanted.
                discardMessageFiles(m);
                if (m_running != before && m_callbacks.runningChanged)
                    m_callbacks.runningChanged(m_running);
                return;
            }
            preferHeldBackValue(m, *attempt);
        }
        if (attempt)
            m_attempts.erase(m.itemKey.key);
        if (m_onFinal && *m_onFinal)
            (*m_onFinal)(m);
        const bool found = m.code == DownloadCode::Done && m.quotation;
        // Any outcome ends its item's update; a quotation whose item has gone ends nothing.
        const bool ends = !found || m_doc.isValid(m.itemKey);
        if (!aborted)
            recordHealth(m, found);
        if (found && !aborted) {
            // Checked already: a value the scale check corrected is not corrected again.
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

void UpdateRun::checkFoundValue(DownloadMessage& m, const ItemAttempt* attempt)
{
    if (m.code != DownloadCode::Done || !m.quotation)
        return;
    const SecurityItem* item = m_doc.item(m.itemKey);
    if (!item)
        return;
    double newest = 0.0;
    const std::optional<double> latest = item->lastValue(newest) ? std::optional<double>(newest) : std::nullopt;
    const ValueCheck check = checkDownloadedValue(m.quotation->value, latest, attempt ? attempt->maxChange : 0);
    m.quotation->value = check.value;
    if (!check.plausible()) {
        m.code = DownloadCode::Implausible;
        m.latestValue = latest;
    }
}

bool UpdateRun::startFallback(DownloadMessage& m, ItemAttempt& attempt)
{
    const bool failed = (m.code >= DownloadCode::NotFound && m.code <= DownloadCode::Error)
                        || m.code == DownloadCode::Implausible;
    if (!failed)
        return false;
    if (m.code == DownloadCode::Implausible && m.quotation && !attempt.heldBack)
        attempt.heldBack = HeldBackTry{*m.quotation, m.latestValue, m.fallbackName};
    const std::string next = attempt.fallback;
    // tried holds the item's own configuration and the fallbacks tried so far.
    if (!m_tryFallbacks || next.empty() || attempt.tried.size() > kMaxFallbacks)
        return false;
    const bool tried = std::find(attempt.tried.begin(), attempt.tried.end(), next) != attempt.tried.end();
    const SecurityItem* item = m_doc.item(m.itemKey);
    if (tried || !item || !serverConfigExists(next))
        return false;
    ServerConfig config;
    readServerConfig(next, config);
    const std::string& name = item->settings().name;
    const std::string& symbol = item->settings().symbol;
    auto job = std::make_unique<DownloadJob>();
    job->url = expandItemVariables(config.url, name, symbol);
    job->headers = config.headers;
    job->timeout = static_cast<std::uint32_t>(config.timeout);
    job->sink = &m_sink;
    job->messageId = MessageId::DownloadStatus;
    job->entries.push_back(itemEntry(m.itemKey, name, symbol, config));
    if (!m_engine.start(std::move(job)))
        return false; // the engine shuts down
    attempt.tried.push_back(next);
    attempt.from = next;
    attempt.fallback = config.fallback;
    attempt.maxChange = config.maxChange;
    return true;
}

void UpdateRun::preferHeldBackValue(DownloadMessage& m, const ItemAttempt& attempt)
{
    const bool stored = m.code == DownloadCode::Done && m.quotation;
    if (stored || !attempt.heldBack || m.code == DownloadCode::Aborted)
        return;
    const HeldBackTry& held = *attempt.heldBack;
    if (m.code == DownloadCode::Implausible && m.fallbackName == held.from)
        return; // this message is the one
    discardMessageFiles(m);
    m.code = DownloadCode::Implausible;
    m.detail = DownloadError::None;
    m.errorText.clear();
    m.extractionMessage.clear();
    m.quotation = std::make_unique<Quotation>(held.quotation);
    m.latestValue = held.latest;
    m.fallbackName = held.from;
}

void UpdateRun::recordHealth(const DownloadMessage& m, bool stored)
{
    if (!m_keepHealth || m.code == DownloadCode::Aborted)
        return;
    const SecurityItem* item = m_doc.item(m.itemKey);
    if (!item)
        return;
    if (stored) {
        m_health.recordSuccess(healthKeyOf(*item), m.quotation->time);
        return;
    }
    const std::string reason = connectionStatusText(m);
    std::optional<HeldBackValue> heldBack;
    if (m.code == DownloadCode::Implausible && m.quotation)
        heldBack = HeldBackValue{*m.quotation, m.latestValue.value_or(0.0), reason};
    m_health.recordFailure(healthKeyOf(*item), reason, std::move(heldBack));
}

void UpdateRun::runToEnd(const std::function<void(DownloadMessage&)>& onFinal)
{
    if (!m_queue)
        return;
    m_onFinal = &onFinal;
    while (MessageQueue::Posted posted = m_queue->take())
        deliver(*posted.message);
    m_onFinal = nullptr;
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
