#include "download/messagesink.h"

#include "platform/files.h"

namespace tarvelo {

void removeMessageFiles(const DownloadMessage& message)
{
    removeFileIfPresent(message.rawFile);
    removeFileIfPresent(message.semiHtmlFile);
    removeFileIfPresent(message.convertedFile);
}

void MessageQueue::post(MessageId messageId, std::unique_ptr<DownloadMessage> message)
{
    {
        const std::lock_guard lock(m_mutex);
        m_queue.push_back({messageId, std::move(message)});
    }
    m_ready.notify_one();
}

void MessageQueue::jobQueued()
{
    const std::lock_guard lock(m_mutex);
    ++m_openJobs;
}

void MessageQueue::jobEnded()
{
    // Told under the lock: the taker that learns of the end may destroy the queue.
    const std::lock_guard lock(m_mutex);
    if (m_openJobs > 0)
        --m_openJobs;
    m_ready.notify_all();
}

MessageQueue::Posted MessageQueue::pop()
{
    Posted next = std::move(m_queue.front());
    m_queue.pop_front();
    return next;
}

MessageQueue::Posted MessageQueue::take()
{
    std::unique_lock lock(m_mutex);
    m_ready.wait(lock, [&] { return !m_queue.empty() || m_openJobs == 0; });
    return m_queue.empty() ? Posted{} : pop();
}

MessageQueue::Posted MessageQueue::take(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    if (!m_ready.wait_for(lock, timeout, [&] { return !m_queue.empty(); }))
        return {};
    return pop();
}

std::size_t MessageQueue::size() const
{
    const std::lock_guard lock(m_mutex);
    return m_queue.size();
}

} // namespace tarvelo
