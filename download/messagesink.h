#pragma once

#include "download/downloadjob.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <utility>

namespace tarvelo {

// Deletes the files a message hands over: the page, its semi-html and converted forms.
void removeMessageFiles(const DownloadMessage& message);

// Where workers post their messages. Thread-safe; ownership of the record moves with it.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void post(MessageId messageId, std::unique_ptr<DownloadMessage> message) = 0;

    // The engine tells the sink when a job that posts to it is queued, and when that
    // job has posted its last message, so that a receiver can wait for the end of its
    // jobs. Any thread. A sink lives at least until its last job's jobEnded(): that is
    // the last the engine does with it.
    virtual void jobQueued() {}
    virtual void jobEnded() {}
};

// A sink that queues messages for a thread that takes them one by one (the command line
// and the tests).
class MessageQueue : public MessageSink {
public:
    void post(MessageId messageId, std::unique_ptr<DownloadMessage> message) override;
    void jobQueued() override;
    void jobEnded() override;

    struct Posted {
        MessageId messageId = MessageId::DownloadStatus;
        std::unique_ptr<DownloadMessage> message;
        explicit operator bool() const { return message != nullptr; }
    };
    // Waits for the next message; an empty one once every job that posts here has
    // ended and its messages are taken: nothing more will come.
    Posted take();
    // Waits up to the timeout for the next message; an empty message when none came.
    Posted take(std::chrono::milliseconds timeout);
    std::size_t size() const;

private:
    Posted pop();

    mutable std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<Posted> m_queue;
    std::size_t m_openJobs = 0;
};

} // namespace tarvelo
