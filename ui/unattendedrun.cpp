#include "ui/unattendedrun.h"

#include "download/updaterun.h"
#include "platform/codepage.h"
#include "resources/strings.h"
#include "ui/appicons.h"
#include "ui/qtexts.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>

namespace tarvelo {

namespace {

constexpr int kTipLength = 63;
// How long a failure notice shows where the program shows it itself.
constexpr int kNoticeMs = 6000;
// Where the desktop's notification service shows it: the time for the request to leave.
constexpr int kHandOverMs = 300;

} // namespace

UnattendedRun::UnattendedRun(PortfolioDocument& doc, QWidget& window) : QObject(&window), m_doc(doc), m_window(window)
{
}

QString UnattendedRun::notificationTip(const QString& title, int running)
{
    QString tip = running <= 0  ? text(strings::kTrayEnd).arg(title)
                  : running == 1 ? text(strings::kTrayOneDownload).arg(title)
                                 : text(strings::kTrayDownloads).arg(title, QString::number(running));
    return tip.left(kTipLength);
}

void UnattendedRun::setNotificationTip(const QString& text)
{
    m_tip = text.left(kTipLength);
    if (m_tray)
        m_tray->setToolTip(m_tip);
}

void UnattendedRun::showNotificationIcon()
{
    setNotificationTip(fromPath(m_doc.filePath()));
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_tray = new QSystemTrayIcon(applicationIcon(), &m_window);
    m_tray->setObjectName(QStringLiteral("notificationIcon"));
    m_tray->setToolTip(m_tip);
    auto* menu = new QMenu(&m_window);
    connect(menu->addAction(QStringLiteral("Connection &status...")), &QAction::triggered, this,
            &UnattendedRun::connectionStatusWanted);
    connect(menu->addAction(QStringLiteral("&Close")), &QAction::triggered, this, &UnattendedRun::abortWanted);
    m_tray->setContextMenu(menu);
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick)
            emit connectionStatusWanted();
    });
    m_tray->show();
}

void UnattendedRun::showRunningUpdates(int running)
{
    setNotificationTip(notificationTip(fromPath(m_doc.title()), running));
}

QString UnattendedRun::failureNotice(int failed)
{
    return failed == 1 ? QStringLiteral("1 item could not be updated")
                       : QStringLiteral("%1 items could not be updated").arg(failed);
}

void UnattendedRun::finishWhenDone(const SourceHealth& health)
{
    if (m_finishing)
        return;
    m_finishing = true;
    // Counted before the save, which starts the record of new quotations afresh.
    const auto missing = std::count_if(m_updated.begin(), m_updated.end(),
                                       [this](ItemKey pos) { return !m_doc.hasNewQuotationsFor(pos); });
    if (m_doc.filePath().empty()) {
        m_exitCode = 2;
    } else if (!saveUpdatedQuotations(m_doc, [this](const std::string& text, bool) {
                   const QString named = fileMessage(fromPath(m_doc.filePath()), fromCore(text), u": ");
                   std::fprintf(stderr, "tarvelo: %s\n", named.toLocal8Bit().constData());
               })) {
        m_exitCode = 2;
    }
    if (m_exitCode == 0 && missing > 0) {
        std::fprintf(stderr, "tarvelo: %ld of %zu items got no quotation\n", static_cast<long>(missing), m_updated.size());
        m_exitCode = 1;
    }
    m_failed = static_cast<int>(std::count_if(m_updated.begin(), m_updated.end(), [&](ItemKey pos) {
        const SecurityItem* item = m_doc.item(pos);
        const ItemHealth* found = item ? health.find(healthKeyOf(*item)) : nullptr;
        return found && found->failing();
    }));
    if (!showFailureNotice())
        finish();
}

bool UnattendedRun::showFailureNotice()
{
    if (m_failed == 0 || !m_tray || !m_tray->isVisible() || !QSystemTrayIcon::supportsMessages())
        return false;
    m_tray->showMessage(fromPath(m_doc.title()), failureNotice(m_failed), QSystemTrayIcon::Warning, kNoticeMs);
    // Where the desktop has no notification service, Qt shows the message in a balloon of
    // this program's own, which goes with the program: the run ends when the balloon is
    // gone (its time is up, or it was clicked). Otherwise the service keeps the message
    // and the program only lets the request leave. Neither waits for anything else.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->inherits("QBalloonTip") && widget->isVisible()) {
            connect(widget, &QObject::destroyed, this, &UnattendedRun::finish);
            QTimer::singleShot(kNoticeMs + 1000, this, &UnattendedRun::finish);
            return true;
        }
    }
    QTimer::singleShot(kHandOverMs, this, &UnattendedRun::finish);
    return true;
}

void UnattendedRun::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    hideNotificationIcon();
    emit finished();
}

void UnattendedRun::noteItemsBeingUpdated()
{
    for (const ItemKey pos : m_doc.itemPositions()) {
        if (m_doc.isBeingUpdated(pos) && std::find(m_updated.begin(), m_updated.end(), pos) == m_updated.end())
            m_updated.push_back(pos);
    }
}

void UnattendedRun::showAborted()
{
    if (m_tray)
        m_tray->setIcon(abortedApplicationIcon());
}

void UnattendedRun::hideNotificationIcon()
{
    if (m_tray)
        m_tray->hide();
}

} // namespace tarvelo
