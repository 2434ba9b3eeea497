#pragma once

#include "model/portfoliodocument.h"
#include "model/generaloptions.h"
#include "platform/localtime.h"
#include "ui/mainstatusbar.h"
#include "ui/portfoliofilecontroller.h"
#include "ui/unattendedrun.h"
#include "ui/updatescheduler.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QMenu;
class QSplitter;

namespace tarvelo {

class ChartView;
class CommandTable;
class ConnectionStatusWindow;
class DownloadEngine;
class DownloadHub;
class ItemCommands;
class MailSender;
class PortfolioListView;
class ReportPrinting;
class UndoSteps;
class SourceHealthWatch;
class SourceHealthWindow;

// The program's window: the portfolio list above the chart pane, the menus, toolbar and
// context menu from its command table, the status bar, and the connection status window.
// It counts the running updates and hands the portfolio file, the automatic update, the
// unattended run and its placement to rooms of their own.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    using Clock = std::function<TimeStamp()>;

    MainWindow(PortfolioDocument& doc, GeneralOptions& options, DownloadEngine& engine, bool unattended,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    QAction* action(int command) const;
    PortfolioListView* listView() const { return m_list; }
    ItemCommands* itemCommands() const { return m_items; }
    QWidget* chartView() const;
    ConnectionStatusWindow* connectionStatus() const { return m_status; }
    ReportPrinting* reportPrinting() const { return m_printing; }
    DownloadHub* downloadHub() const { return m_hub; }
    QSplitter* splitter() const { return m_splitter; }
    UndoSteps* undoSteps() const { return m_undo; }

    // Tests fix "now"; by default the system clock.
    void setClock(Clock clock);

    // Minutes above 0 (re)start the automatic update with that period; 0 stops it.
    void startUpdateTimer(int minutes) { m_scheduler->start(minutes); }
    bool updateTimerActive() const { return m_scheduler->active(); }
    int updateTimerRemaining() const { return m_scheduler->remaining(); } // milliseconds, -1 when stopped
    // One tick of the automatic update: updates all inside the daily window.
    void onUpdateTimer() { m_scheduler->tick(); }

    // Commands of the window.
    // Starts an update of every item; returns the number of download jobs started.
    int updateAllQuotations();
    void abortDownloads();
    void toggleConnectionStatus();
    void saveViewOptions();
    void exportServerConfigurations();
    void showServerConfigurations();
    void showOptions();
    void showAbout();
    // View -> Source health: the window that lists every item's source health.
    void showSourceHealth();
    SourceHealthWatch* sourceHealth() const { return m_health; }
    SourceHealthWindow* sourceHealthWindow() const { return m_healthWindow; }
    // Hands the portfolio as it is now to the mail program, as a file of its name.
    void sendMail();
    MailSender* mailSender() const { return m_mail; }

    // The portfolio. Each asks to save a changed one first where it would be replaced.
    bool newDocument() { return m_files->newDocument(); }
    bool openDocument() { return m_files->openDocument(); }
    bool openDocument(const QString& path) { return m_files->openDocument(path); }
    bool saveDocument() { return m_files->saveDocument(); }
    bool saveDocumentAs() { return m_files->saveDocumentAs(); }
    // Saves a changed portfolio after asking (on closing the window silently with the
    // option "AutosaveOnExit"); false when the user cancels or the save fails.
    bool saveModified(bool closing = false) { return m_files->saveModified(closing); }

    // Enables and checks the commands from the current state.
    void updateCommandStates();

    QString amountPaneText() const { return m_statusBar->amountText(); }
    QString downloadPaneText() const { return m_statusBar->downloadText(); }
    QString clockPaneText() const { return m_statusBar->clockText(); }

    // Unattended mode: the notification icon (when the desktop has a tray) and its tip.
    void showNotificationIcon() { m_run->showNotificationIcon(); }
    QString notificationTip() const { return m_run->notificationTip(); }
    // Non-zero when unattended mode could not save the portfolio.
    int exitCode() const { return m_run->exitCode(); }

    // The tip text of the notification icon for this many running updates.
    static QString notificationTip(const QString& title, int running)
    {
        return UnattendedRun::notificationTip(title, running);
    }

signals:
    // Unattended mode has saved the portfolio; the program should end.
    void unattendedFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The command rows and the menus, toolbar and context menu made from them.
    void createCommands();
    void onRunningUpdatesChanged(int running);
    void onUpdatesFinished();
    void onDocumentOpened();
    // Says so when a settings write of this window failed.
    void reportUnsavedSettings();
    void updateTitles();
    // The Edit menu names the steps that Undo and Redo would take.
    void showUndoTexts();
    void showContextMenu(const QPoint& globalPos);
    QString portfolioTitle() const;
    TimeStamp now() const;
    bool updatesUnderWay() const;

    PortfolioDocument& m_doc;
    GeneralOptions& m_options;
    DownloadEngine& m_engine;
    const bool m_unattended;
    Clock m_clock;

    PortfolioListView* m_list = nullptr;
    ItemCommands* m_items = nullptr;
    ChartView* m_chart = nullptr;
    ReportPrinting* m_printing = nullptr;
    QSplitter* m_splitter = nullptr;
    ConnectionStatusWindow* m_status = nullptr;
    DownloadHub* m_hub = nullptr;
    MainStatusBar* m_statusBar = nullptr;
    CommandTable* m_commands = nullptr;
    QMenu* m_contextMenu = nullptr;
    PortfolioFileController* m_files = nullptr;
    UpdateScheduler* m_scheduler = nullptr;
    UnattendedRun* m_run = nullptr;
    MailSender* m_mail = nullptr;
    UndoSteps* m_undo = nullptr;
    SourceHealthWatch* m_health = nullptr;
    SourceHealthWindow* m_healthWindow = nullptr;
    int m_viewToken = 0;
    bool m_aborting = false;
};

} // namespace tarvelo
