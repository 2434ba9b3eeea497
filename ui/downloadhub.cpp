#include "ui/downloadhub.h"

#include "platform/localtime.h"
#include "ui/connectionstatuswindow.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>

#include <cstdio>

namespace tarvelo {

namespace {

const QEvent::Type kMessageEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class MessageEvent : public QEvent {
public:
    MessageEvent(MessageId id, std::unique_ptr<DownloadMessage> m) : QEvent(kMessageEvent), messageId(id), message(std::move(m))
    {
    }
    MessageId messageId;
    std::unique_ptr<DownloadMessage> message;
};

} // namespace

DownloadHub::DownloadHub(PortfolioDocument& doc, DownloadEngine& engine, ConnectionStatusWindow& status,
                         QObject* parent)
    : QObject(parent), m_doc(doc), m_status(status), m_router(doc, engine)
{
}

void DownloadHub::post(MessageId messageId, std::unique_ptr<DownloadMessage> message)
{
    QCoreApplication::postEvent(this, new MessageEvent(messageId, std::move(message)));
}

bool DownloadHub::event(QEvent* event)
{
    if (event->type() != kMessageEvent)
        return QObject::event(event);
    auto* posted = static_cast<MessageEvent*>(event);
    if (posted->messageId == MessageId::DownloadStatus)
        handle(*posted->message);
    else
        emit pageMessage(posted->messageId, posted->message.get());
    return true;
}

QString DownloadHub::downloadPaneText(int running)
{
    if (running <= 0)
        return {};
    if (running == 1)
        return QStringLiteral("1 Quotation beeing updated");
    return QStringLiteral("%1 Quotations beeing updated").arg(running);
}

void DownloadHub::handle(DownloadMessage& m)
{
    if (m.test) {
        // The busy cursor shows while a test download runs.
        const bool final = isFinalCode(m.code);
        if (!final && !m_shuttingDown && m_busyTests.insert(m.worker).second)
            QApplication::setOverrideCursor(Qt::BusyCursor);
        if (final && m_busyTests.erase(m.worker) > 0)
            QApplication::restoreOverrideCursor();
        if (final && m_shuttingDown)
            settleUnmatchedPage(m, false);
        else if (final)
            showTestResult(m);
        return;
    }
    if (m_shuttingDown) {
        m_router.route(m);
        if (m.code >= DownloadCode::NotFound && m.code <= DownloadCode::TextNotFound)
            settleUnmatchedPage(m, false);
        return;
    }
    const int before = m_router.runningUpdates();
    if (m.code == DownloadCode::Initialized) {
        if (!m_unattended && m_downloadStatus) {
            m_status.setTitleFor(m_title, false);
            m_status.show();
        }
        m_status.setAbortEnabled(true);
    }
    // The portfolio first, then the status window, as the list view gets the final
    // message before the window shows it.
    m_router.route(m);
    m_status.handleMessage(m);
    const int running = m_router.runningUpdates();
    if (running != before)
        emit runningUpdatesChanged(running);
    if (isFinalCode(m.code) && running == 0) {
        m_status.setTitleFor(m_title, false);
        m_status.setAbortEnabled(false);
        emit updatesFinished();
    }
}

void DownloadHub::showTestResult(DownloadMessage& m)
{
    QString text;
    Prompter::Icon icon = Prompter::Icon::None;
    if (m.code == DownloadCode::Done && m.quotation) {
        char value[64];
        std::snprintf(value, sizeof value, "%2.4f", m.quotation->value);
        text = QStringLiteral("Quotation for '%1':\nValue: %2\nDate/Time: %3\n")
                   .arg(fromCore(m.itemName), QString::fromLatin1(value),
                        fromCore(formatLocalTime(m.quotation->time, "%c")));
        icon = Prompter::Icon::Information;
    } else if (m.code >= DownloadCode::NotFound && m.code <= DownloadCode::TextNotFound) {
        text = QStringLiteral("Quotation for '%1' not found!\n%2\n").arg(fromCore(m.itemName),
                                                                        fromCore(m.extractionMessage));
    } else {
        text = QStringLiteral("Download error:\nItem: %1\nURL: %2\n%3")
                   .arg(fromCore(m.itemName), fromCore(m.url), fromCore(m.errorText));
    }
    Prompter::instance().inform(nullptr, text, icon);
    // The page of a failed test is not shown anywhere; it is not kept either.
    settleUnmatchedPage(m, false);
}

} // namespace tarvelo
