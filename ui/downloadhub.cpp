#include "ui/downloadhub.h"

#include "download/plausibility.h"
#include "download/statustext.h"
#include "platform/localtime.h"
#include "ui/connectionstatuswindow.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"

#include <QApplication>

#include <cstdio>

namespace tarvelo {

DownloadHub::DownloadHub(PortfolioDocument& doc, DownloadEngine& engine, ConnectionStatusWindow& status,
                         QObject* parent)
    : QueuedMessageSink(nullptr, {}, parent), m_doc(doc), m_status(status), m_run(doc, engine, *this)
{
    setHandler([this](MessageId messageId, DownloadMessage& message) { receive(messageId, message); });
    // The portfolio first, then the status window, as the list view gets the final
    // message before the window shows it; then the count and the end of the update.
    UpdateRun::Callbacks callbacks;
    callbacks.applied = [this](DownloadMessage& m) {
        if (!m_shuttingDown)
            m_status.handleMessage(m);
    };
    callbacks.runningChanged = [this](int running) {
        if (!m_shuttingDown)
            emit runningUpdatesChanged(running);
    };
    callbacks.finished = [this] {
        if (m_shuttingDown)
            return;
        m_status.setTitleFor(m_title, false);
        m_status.setAbortEnabled(false);
        emit updatesFinished();
    };
    m_run.setCallbacks(std::move(callbacks));
    m_run.keepHealth();
    connect(&m_status, &ConnectionStatusWindow::acceptRequested, this, &DownloadHub::acceptValue);
}

bool DownloadHub::acceptValue(ItemKey item)
{
    Result<Quotation> accepted = Failure{};
    m_doc.recordEdit("Accept value", [&] { accepted = acceptHeldBackValue(m_doc, m_run.health(), item); });
    if (!accepted.ok()) {
        Prompter::instance().inform(&m_status, fromCore(accepted.message()), Prompter::Icon::Warning);
        return false;
    }
    m_status.removeRow(item);
    if (const Result<void> saved = m_run.health().save(); !saved.ok())
        Prompter::instance().inform(&m_status, fromCore(saved.message()), Prompter::Icon::Warning);
    emit valueAccepted();
    return true;
}

void DownloadHub::receive(MessageId messageId, DownloadMessage& message)
{
    if (messageId == MessageId::DownloadStatus)
        handle(message);
    else
        emit pageMessage(messageId, &message);
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
        m_run.deliver(m);
        if (m.code >= DownloadCode::NotFound && m.code <= DownloadCode::TextNotFound)
            settleUnmatchedPage(m, false);
        return;
    }
    if (m.code == DownloadCode::Initialized) {
        if (!m_unattended && m_downloadStatus) {
            m_status.setTitleFor(m_title, false);
            m_status.show();
        }
        m_status.setAbortEnabled(true);
    }
    m_run.deliver(m);
}

QString DownloadHub::downloadErrorCause(const DownloadMessage& m)
{
    // The system's or the network library's own words where there are any, else the
    // connection status, with the server's answer when it gave one.
    QString cause = fromCore(m.errorText.empty() ? connectionStatusText(m) : m.errorText);
    if (m.page.httpStatus > 0 && !cause.contains(QStringLiteral("HTTP")))
        cause += tr(" (HTTP status %1)").arg(m.page.httpStatus);
    if (cause.isEmpty())
        cause = tr("The download ended without a result.");
    return cause;
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
                   .arg(fromCore(m.itemName), fromCore(m.url), downloadErrorCause(m));
    }
    Prompter::instance().inform(nullptr, text, icon);
    // The page of a failed test is not shown anywhere; it is not kept either.
    settleUnmatchedPage(m, false);
}

} // namespace tarvelo
