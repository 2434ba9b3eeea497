#pragma once

#include "model/portfoliodocument.h"
#include "model/sourcehealth.h"

#include <QObject>
#include <QString>

#include <vector>

class QSystemTrayIcon;
class QWidget;

namespace tarvelo {

// The unattended update: while the window stays hidden, a notification icon (where the
// desktop has a tray) tells how many updates run; once they are all over, the new
// quotations are saved into the portfolio file, the icon tells how many items could not
// be updated, and the run says it has finished.
class UnattendedRun : public QObject {
    Q_OBJECT
public:
    UnattendedRun(PortfolioDocument& doc, QWidget& window);

    void showNotificationIcon();
    QString notificationTip() const { return m_tip; }
    // Shows the running updates in the tip.
    void showRunningUpdates(int running);
    // The update is over: saves what it brought, counts the items whose update failed
    // (by the run's source health) and finishes the run. When some failed and the icon can
    // show messages, the run finishes once the message has been shown.
    void finishWhenDone(const SourceHealth& health);
    void showAborted();
    void hideNotificationIcon();

    // The items whose update has just been started; the run tells at its end whether
    // each of them got a quotation.
    void noteItemsBeingUpdated();

    bool finishing() const { return m_finishing; }
    // What a cron job learns: 0 every item updated got a quotation (or none was to be
    // updated), 1 some did not (what came was saved), 2 the portfolio could not be read
    // or saved.
    int exitCode() const { return m_exitCode; }
    // The items of the run whose update failed, and the message that names them (empty
    // when none failed); known once the run finishes.
    int failedItems() const { return m_failed; }
    QString failureNotice() const { return m_failed > 0 ? failureNotice(m_failed) : QString(); }
    static QString failureNotice(int failed);

    // The tip text of the notification icon for this many running updates.
    static QString notificationTip(const QString& title, int running);

signals:
    void connectionStatusWanted();
    void abortWanted();
    // The portfolio has been saved; the program should end.
    void finished();

private:
    void setNotificationTip(const QString& text);
    // Shows the failure notice at the icon; false when there is nothing to wait for.
    bool showFailureNotice();
    void finish();

    PortfolioDocument& m_doc;
    QWidget& m_window;
    QSystemTrayIcon* m_tray = nullptr;
    QString m_tip;
    bool m_finishing = false;
    int m_exitCode = 0;
    int m_failed = 0;
    bool m_finished = false;
    std::vector<ItemKey> m_updated;
};

} // namespace tarvelo
