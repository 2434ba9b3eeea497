#pragma once

#include "model/portfoliodocument.h"
#include "model/generaloptions.h"
#include "platform/localtime.h"
#include "ui/recentfiles.h"

#include <QMainWindow>

#include <functional>
#include <map>

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QSystemTrayIcon;
class QTimer;

namespace tarvelo {

class ConnectionStatusWindow;
class PortfolioListView;
class DownloadEngine;
class DownloadHub;

// The program's window: toolbar, menus, status bar with the amount, download and clock
// panes, the portfolio list above the chart pane, and the connection status window. It
// runs the automatic update, counts the running updates, keeps its placement, and in
// unattended mode saves the portfolio and ends the program once the updates are over.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    using Clock = std::function<TimeStamp()>;

    MainWindow(PortfolioDocument& doc, GeneralOptions& options, DownloadEngine& engine, bool unattended,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    QAction* action(int command) const;
    PortfolioListView* listView() const { return m_list; }
    QWidget* chartView() const { return m_chart; }
    ConnectionStatusWindow* connectionStatus() const { return m_status; }
    DownloadHub* downloadHub() const { return m_hub; }
    QSplitter* splitter() const { return m_splitter; }

    // Tests fix "now"; by default the system clock.
    void setClock(Clock clock);

    // Minutes above 0 (re)start the automatic update with that period; 0 stops it.
    void startUpdateTimer(int minutes);
    bool updateTimerActive() const;
    int updateTimerRemaining() const; // milliseconds, -1 when stopped
    // One tick of the automatic update: updates all inside the daily window.
    void onUpdateTimer();

    // Commands of the window.
    // Starts an update of every item; returns the number of download jobs started.
    int updateAllQuotations();
    void abortDownloads();
    void toggleConnectionStatus();
    void saveViewOptions();
    void exportServerConfigurations();
    void showOptions();
    void showAbout();
    void openHelpPage(const char* fileName);

    // The portfolio. Each asks to save a changed one first where it would be replaced.
    bool newDocument();
    bool openDocument();
    bool openDocument(const QString& path);
    bool saveDocument();
    bool saveDocumentAs();
    // Saves a changed portfolio after asking (on closing the window silently with the
    // option "AutosaveOnExit"); false when the user cancels or the save fails.
    bool saveModified(bool closing = false);

    // Enables and checks the commands from the current state.
    void updateCommandStates();

    QString amountPaneText() const;
    QString downloadPaneText() const;
    QString clockPaneText() const;

    // Unattended mode: the notification icon (when the desktop has a tray) and its tip.
    void showNotificationIcon();
    QString notificationTip() const { return m_tip; }
    // Non-zero when unattended mode could not save the portfolio.
    int exitCode() const { return m_exitCode; }

    // The tip text of the notification icon for this many running updates.
    static QString notificationTip(const QString& title, int running);

signals:
    // Unattended mode has saved the portfolio; the program should end.
    void unattendedFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void restorePlacement();
    QAction* addCommand(int command, const QString& text, const QString& prompt,
                        const QKeySequence& shortcut = QKeySequence());
    void onRunningUpdatesChanged(int running);
    void onUpdatesFinished();
    void onDocumentOpened();
    // Reloads an unchanged portfolio that another program saved.
    void followFileOnDisk();
    // Says so when a settings write of this window failed.
    void reportUnsavedSettings();
    // Saves over a file that another program changed: merges, or asks.
    DocumentResult saveToChangedFile();
    void updateTitles();
    void updateRecentFiles();
    void setNotificationTip(const QString& text);
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
    QWidget* m_chart = nullptr;
    QSplitter* m_splitter = nullptr;
    ConnectionStatusWindow* m_status = nullptr;
    DownloadHub* m_hub = nullptr;
    QTimer* m_updateTimer = nullptr;
    QTimer* m_clockTimer = nullptr;
    QTimer* m_diskTimer = nullptr;
    QLabel* m_amountPane = nullptr;
    QLabel* m_downloadPane = nullptr;
    QLabel* m_clockPane = nullptr;
    QMenu* m_recentMenu = nullptr;
    QMenu* m_viewMenu = nullptr;
    QMenu* m_contextMenu = nullptr;
    QSystemTrayIcon* m_tray = nullptr;
    std::map<int, QAction*> m_actions;
    RecentFileList m_recent;
    int m_viewToken = 0;
    bool m_aborting = false;
    bool m_finishing = false;
    int m_exitCode = 0;
    QString m_tip;
};

} // namespace tarvelo
