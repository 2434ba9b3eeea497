#pragma once

#include "download/messagesink.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <memory>

namespace tarvelo {

// Carries the messages that workers post to a receiver on the user-interface thread
// (the thread the sink was made on). post() may be called from any thread; the handler
// takes each message there, in the order they came. A message whose receiver has gone
// by then is dropped with its files, as is one still on its way when the sink goes.
// The sink must outlive the jobs that post to it: it is told when the last has ended.
class QueuedMessageSink : public QObject, public MessageSink {
    Q_OBJECT
public:
    // The handler owns the files a message hands over once it has the message.
    using Handler = std::function<void(MessageId messageId, DownloadMessage& message)>;

    // No receiver: the sink itself, which its parent owns.
    QueuedMessageSink(QObject* receiver, Handler handler, QObject* parent = nullptr);

    // The handler, when the sink has to be made before it: before the first message.
    void setHandler(Handler handler) { m_handler = std::move(handler); }

    void post(MessageId messageId, std::unique_ptr<DownloadMessage> message) override;
    void jobQueued() override;
    void jobEnded() override;

    // For the sink of one download: progress reports that come faster than the
    // receiver takes them are folded into one, which shows the latest count.
    void setFoldingProgress(bool on) { m_foldingProgress = on; }
    // The sink deletes itself once the last job that posts to it has ended and its
    // messages have been handed on.
    void setEndingWithItsJobs(bool on) { m_endingWithItsJobs = on; }

private:
    void deliver(MessageId messageId, std::unique_ptr<DownloadMessage> message);

    QPointer<QObject> m_receiver;
    Handler m_handler;
    bool m_foldingProgress = false;
    bool m_endingWithItsJobs = false;
    std::atomic<bool> m_progressPending{false};
    std::atomic<int> m_kilobytes{0};
    std::atomic<int> m_openJobs{0};
};

} // namespace tarvelo
