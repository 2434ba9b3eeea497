#include "ui/dialogdownloads.h"

#include "ui/queuedmessagesink.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <utility>

namespace tarvelo {

namespace {

class DialogDownloadSink : public QueuedMessageSink {
public:
    DialogDownloadSink(QWidget* asker, MessageSink& target)
        : QueuedMessageSink(nullptr, {}), m_target(target), m_targetObject(dynamic_cast<QObject*>(&target)),
          m_targetIsObject(m_targetObject != nullptr)
    {
        setEndingWithItsJobs(true);
        setHandler([this](MessageId messageId, DownloadMessage& message) { passOn(messageId, message); });
        // Every dialog from the asker's up to the main window: cancelling any of them
        // drops what the download still brings.
        for (QWidget* window = asker ? asker->window() : nullptr; window;
             window = window->parentWidget() ? window->parentWidget()->window() : nullptr) {
            if (auto* dialog = qobject_cast<QDialog*>(window)) {
                connect(dialog, &QDialog::rejected, this, [this] {
                    m_cancelled = true;
                    releaseCursor(); // nobody waits for the answer any more
                });
            }
        }
    }

    ~DialogDownloadSink() override { releaseCursor(); }

    void jobQueued() override
    {
        QueuedMessageSink::jobQueued();
        m_target.jobQueued();
    }
    void jobEnded() override
    {
        // After the messages the job posted, which are on their way here.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (targetThere())
                    m_target.jobEnded();
            },
            Qt::QueuedConnection);
        QueuedMessageSink::jobEnded();
    }

private:
    bool targetThere() const { return !m_targetIsObject || m_targetObject; }

    void releaseCursor()
    {
        if (std::exchange(m_busy, false))
            QApplication::restoreOverrideCursor();
    }

    void passOn(MessageId messageId, DownloadMessage& message)
    {
        // A test download's progress only shows as the busy cursor, held here until its
        // answer comes or the dialog is cancelled: its receiver sees the answer alone.
        if (message.test && !isFinalCode(message.code)) {
            if (!m_cancelled && !m_busy && targetThere()) {
                QApplication::setOverrideCursor(Qt::BusyCursor);
                m_busy = true;
            }
            return;
        }
        releaseCursor();
        if (m_cancelled || !targetThere()) {
            removeMessageFiles(message);
            return;
        }
        m_target.post(messageId, std::make_unique<DownloadMessage>(std::move(message)));
    }

    MessageSink& m_target;
    QPointer<QObject> m_targetObject;
    const bool m_targetIsObject;
    bool m_cancelled = false;
    bool m_busy = false;
};

} // namespace

MessageSink& dialogDownloadSink(QWidget* asker, MessageSink& target)
{
    return *new DialogDownloadSink(asker, target);
}

} // namespace tarvelo
