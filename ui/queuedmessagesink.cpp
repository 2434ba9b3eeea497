#include "ui/queuedmessagesink.h"

#include <QMetaObject>


namespace tarvelo {

namespace {

// A message on its way to the user-interface thread. One that was never handed on
// takes its files with it.
struct Parcel {
    MessageId messageId;
    std::unique_ptr<DownloadMessage> message;

    Parcel(MessageId id, std::unique_ptr<DownloadMessage> m) : messageId(id), message(std::move(m)) {}
    Parcel(const Parcel&) = delete;
    Parcel& operator=(const Parcel&) = delete;
    ~Parcel()
    {
        if (message)
            removeMessageFiles(*message);
    }
};

} // namespace

QueuedMessageSink::QueuedMessageSink(QObject* receiver, Handler handler, QObject* parent)
    : QObject(parent), m_receiver(receiver ? receiver : this), m_handler(std::move(handler))
{
}

void QueuedMessageSink::post(MessageId messageId, std::unique_ptr<DownloadMessage> message)
{
    if (m_foldingProgress && message->code == DownloadCode::Progress) {
        // One progress report waits at a time; later ones only raise its count.
        m_kilobytes.store(message->kilobytes);
        if (m_progressPending.exchange(true))
            return;
    }
    auto parcel = std::make_shared<Parcel>(messageId, std::move(message));
    QMetaObject::invokeMethod(
        this, [this, parcel] { deliver(parcel->messageId, std::move(parcel->message)); }, Qt::QueuedConnection);
}

void QueuedMessageSink::deliver(MessageId messageId, std::unique_ptr<DownloadMessage> message)
{
    if (m_foldingProgress && message->code == DownloadCode::Progress) {
        m_progressPending.store(false);
        message->kilobytes = m_kilobytes.load();
    }
    if (!m_receiver || !m_handler) {
        removeMessageFiles(*message);
        return;
    }
    m_handler(messageId, *message);
}

void QueuedMessageSink::jobQueued()
{
    ++m_openJobs;
}

void QueuedMessageSink::jobEnded()
{
    // After the messages the job posted, so that they are handed on first.
    if (--m_openJobs == 0 && m_endingWithItsJobs)
        QMetaObject::invokeMethod(this, [this] { deleteLater(); }, Qt::QueuedConnection);
}

} // namespace tarvelo
