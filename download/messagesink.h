#pragma once

#include "download/downloadjob.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <utility>

namespace tarvelo {

// Where workers post their messages. Thread-safe; ownership of the record moves with it.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void post(MessageId messageId, std::unique_ptr<DownloadMessage> message) = 0;
};

// A sink that queues messages for a thread that takes them one by one (the command line
// and the tests).
class MessageQueue : public MessageSink {
public:
    void post(MessageId messageId, std::unique_ptr<DownloadMessage> message) override;

    struct Posted {
        MessageId messageId = MessageId::DownloadStatus;
        std::unique_ptr<DownloadMessage> message;
    };
    // Waits up to the timeout for the next message; an empty message when none came.
    Posted take(std::chrono::milliseconds timeout);
    std::size_t size() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<Posted> m_queue;
};

} // namespace tarvelo
