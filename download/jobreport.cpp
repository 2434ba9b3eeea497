#include "download/jobreport.h"

#include "download/messagesink.h"
#include "platform/utf8.h"

namespace tarvelo {

namespace {

constexpr std::size_t kMaxItemName = 254;
constexpr std::size_t kMaxErrorText = 1023;

std::string cut(const std::string& text, std::size_t n)
{
    return std::string(utf8Cut(text, n));
}

} // namespace

std::unique_ptr<DownloadMessage> JobReporter::message(DownloadCode code) const
{
    auto m = std::make_unique<DownloadMessage>();
    m->worker = m_worker;
    m->test = m_job.kind == JobKind::Test;
    m->code = code;
    m->url = m_job.url;
    if (isFinalCode(code) && m_facts)
        m->page = *m_facts;
    return m;
}

std::unique_ptr<DownloadMessage> JobReporter::itemMessage(DownloadCode code, const DownloadItemEntry& entry) const
{
    auto m = message(code);
    m->itemName = cut(entry.name, kMaxItemName);
    m->itemKey = entry.itemKey;
    if (m_facts)
        m->page = *m_facts;
    return m;
}

void JobReporter::postStatus(DownloadCode code, DownloadError detail, const std::string& errorText, int kilobytes) const
{
    const auto post = [&](const DownloadItemEntry* entry) {
        auto m = message(code);
        m->detail = detail;
        m->kilobytes = kilobytes;
        m->errorText = cut(errorText, kMaxErrorText);
        if (entry) {
            m->itemName = cut(entry->name, kMaxItemName);
            m->itemKey = entry->itemKey;
        }
        this->post(std::move(m));
    };
    if (m_job.entries.empty()) {
        post(nullptr);
        return;
    }
    for (const DownloadItemEntry& entry : m_job.entries)
        post(&entry);
}

void JobReporter::post(std::unique_ptr<DownloadMessage> message) const
{
    m_job.sink->post(m_job.messageId, std::move(message));
}

void reportNotRun(DownloadJob& job, std::uint32_t worker)
{
    const JobReporter reporter(job, worker);
    reporter.postStatus(DownloadCode::Initialized);
    reporter.postStatus(DownloadCode::Aborted);
}

} // namespace tarvelo
