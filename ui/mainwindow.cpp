#include "ui/mainwindow.h"

#include "download/downloadengine.h"
#include "model/archive.h"
#include "resources/commandids.h"
#include "resources/strings.h"
#include "servers/regfile.h"
#include "ui/aboutdialog.h"
#include "ui/appicons.h"
#include "ui/chartview.h"
#include "ui/commandtable.h"
#include "ui/connectionstatuswindow.h"
#include "ui/downloadhub.h"
#include "ui/generaloptionsdialog.h"
#include "ui/itemcommands.h"
#include "ui/mailsender.h"
#include "ui/mainstatusbar.h"
#include "ui/portfoliofilecontroller.h"
#include "ui/portfoliolistmodel.h"
#include "ui/portfoliolistview.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"
#include "ui/reportprinting.h"
#include "ui/serverconfigurationswindow.h"
#include "ui/settingsfailure.h"
#include "ui/shell.h"
#include "ui/sourcehealthwatch.h"
#include "ui/sourcehealthwindow.h"
#include "ui/unattendedrun.h"
#include "ui/undosteps.h"
#include "ui/updatescheduler.h"
#include "ui/windowplacement.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QSplitter>
#include <QTimer>

namespace tarvelo {

MainWindow::MainWindow(PortfolioDocument& doc, GeneralOptions& options, DownloadEngine& engine, bool unattended,
                       QWidget* parent)
    : QMainWindow(parent), m_doc(doc), m_options(options), m_engine(engine), m_unattended(unattended)
{
    setObjectName(QStringLiteral("mainFrame"));
    setWindowIcon(applicationIcon());
    setAcceptDrops(true);
    WindowPlacement::restore(*this);
    // Every change from here on is recorded for undo.
    m_undo = new UndoSteps(m_doc, this);

    // Client area: the list above the chart pane.
    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setObjectName(QStringLiteral("splitter"));
    m_splitter->setChildrenCollapsible(false);
    m_list = new PortfolioListView(m_doc, m_splitter);
    m_chart = new ChartView(m_doc, *m_list, m_splitter);
    m_splitter->addWidget(m_list);
    m_splitter->addWidget(m_chart);
    m_splitter->setStretchFactor(1, 1);
    setCentralWidget(m_splitter);
    WindowPlacement::restoreSplitter(*m_splitter, height());
    m_list->setFocus();

    m_status = new ConnectionStatusWindow(this);
    m_status->setDownloadStatus(m_options.downloadStatus);
    m_status->setShowFileOnError(m_options.showFileOnError);
    m_status->setUnattended(m_unattended);
    m_hub = new DownloadHub(m_doc, m_engine, *m_status, this);
    m_hub->setUnattended(m_unattended);
    m_hub->setDownloadStatus(m_options.downloadStatus);
    m_items = new ItemCommands(m_doc, *m_list, this);
    m_items->setDownloads(&m_engine, m_hub);
    connect(m_list, &PortfolioListView::propertiesWanted, m_items, [this] { m_items->showProperties(); });
    connect(m_chart, &ChartView::propertiesWanted, m_items,
            [this](ItemKey item, int page, int quotationIndex) { m_items->showProperties(item, page, quotationIndex); });

    // The report prints what the list has marked, in its order.
    m_printing = new ReportPrinting(
        [this] {
            ReportPrinting::Source source;
            for (const ItemKey pos : m_list->selectedPositions()) {
                if (const SecurityItem* item = m_doc.item(pos))
                    source.items.push_back(item);
            }
            source.comparison = m_chart->comparisonSettings();
            source.documentTitle = toCore(portfolioTitle());
            source.made = now();
            return source;
        },
        this);

    m_files = new PortfolioFileController(m_doc, m_options, *this, [this] { return updatesUnderWay(); });
    m_statusBar = new MainStatusBar([this] { return now(); }, this);
    m_mail = new MailSender(this);
    connect(m_mail, &MailSender::failed, this, [this](const QString& message) {
        Prompter::instance().inform(this, message, Prompter::Icon::Warning);
    });
    setStatusBar(m_statusBar);
    // The chart's message goes to the message pane.
    connect(m_chart, &ChartView::messageChanged, m_statusBar, [this](const QString& message) {
        m_statusBar->showMessage(message);
    });
    createCommands();

    m_scheduler = new UpdateScheduler(m_options, [this] { return now(); }, *this);
    connect(m_scheduler, &UpdateScheduler::updateDue, this, &MainWindow::updateAllQuotations);
    m_scheduler->restartPeriod();

    m_run = new UnattendedRun(m_doc, *this);
    connect(m_run, &UnattendedRun::connectionStatusWanted, this, &MainWindow::toggleConnectionStatus);
    connect(m_run, &UnattendedRun::abortWanted, this, &MainWindow::abortDownloads);
    connect(m_run, &UnattendedRun::finished, this, &MainWindow::unattendedFinished);

    // Another program (a scheduled update, a script) may save the portfolio while it is
    // shown here; an unchanged window follows the file.
    if (!m_unattended)
        m_files->followFileOnDisk();
    connect(m_files, &PortfolioFileController::documentCleared, this, [this] {
        m_status->removeAllRows();
        updateTitles();
    });
    connect(m_files, &PortfolioFileController::documentOpened, this, &MainWindow::onDocumentOpened);
    connect(m_files, &PortfolioFileController::documentSaved, this, &MainWindow::updateTitles);
    connect(m_files, &PortfolioFileController::documentReloaded, this, [this] {
        updateTitles();
        updateCommandStates();
    });
    connect(m_files, &PortfolioFileController::recentFilesChanged, this, &MainWindow::reportUnsavedSettings);

    // The list marks the items whose last update failed, from the portfolio's health file.
    m_health = new SourceHealthWatch(m_doc, *this);
    connect(m_health, &SourceHealthWatch::changed, this,
            [this] { m_list->listModel().setHealth(m_health->health().entries()); });
    connect(m_files, &PortfolioFileController::documentOpened, m_health, &SourceHealthWatch::reload);
    connect(m_files, &PortfolioFileController::documentCleared, m_health, &SourceHealthWatch::reload);
    connect(m_files, &PortfolioFileController::documentSaved, m_health, &SourceHealthWatch::refresh);
    connect(m_files, &PortfolioFileController::documentReloaded, m_health, &SourceHealthWatch::refresh);
    connect(m_items, &ItemCommands::itemRenamed, m_health, &SourceHealthWatch::moveEntry);
    connect(m_hub, &DownloadHub::valueAccepted, m_health,
            [this] { m_health->take(m_hub->health(), m_hub->healthError()); });
    m_health->reload();

    connect(m_status, &ConnectionStatusWindow::abortRequested, this, &MainWindow::abortDownloads);
    connect(m_hub, &DownloadHub::runningUpdatesChanged, this, &MainWindow::onRunningUpdatesChanged);
    connect(m_hub, &DownloadHub::updatesFinished, m_undo, &UndoSteps::updateFinished);
    connect(m_hub, &DownloadHub::updatesFinished, this, &MainWindow::onUpdatesFinished);
    connect(m_undo, &UndoSteps::changed, this, [this] {
        showUndoTexts();
        updateCommandStates();
    });
    connect(m_list, &PortfolioListView::amountTextChanged, m_statusBar, &MainStatusBar::setAmountText);
    connect(m_list, &PortfolioListView::selectionChanged, this, &MainWindow::updateCommandStates);
    connect(m_list, &PortfolioListView::contextMenuWanted, this, &MainWindow::showContextMenu);
    if (QClipboard* clipboard = QApplication::clipboard())
        connect(clipboard, &QClipboard::dataChanged, this, &MainWindow::updateCommandStates);
    m_viewToken = m_doc.subscribeViews([this] {
        updateTitles();
        updateCommandStates();
    });

    m_files->loadRecentFiles();
    m_statusBar->setAmountText(m_list->amountText());
    updateTitles();
    showUndoTexts();
    updateCommandStates();
}

MainWindow::~MainWindow()
{
    // No worker may outlive the hub it posts to: stop them, then settle their last
    // messages without showing anything.
    m_hub->setShuttingDown(true);
    m_engine.shutdown();
    QCoreApplication::sendPostedEvents(m_hub);
    m_doc.unsubscribeViews(m_viewToken);
}

QAction* MainWindow::action(int command) const
{
    return m_commands->action(command);
}

QWidget* MainWindow::chartView() const
{
    return m_chart;
}

void MainWindow::setClock(Clock clock)
{
    m_clock = std::move(clock);
    m_list->setNow(m_clock ? m_clock() : 0);
    m_statusBar->showTime();
}

bool MainWindow::updatesUnderWay() const
{
    return m_hub->updatesUnderWay();
}

TimeStamp MainWindow::now() const
{
    return m_clock ? m_clock() : currentTime();
}

void MainWindow::saveViewOptions()
{
    WindowPlacement::save(*this, *m_splitter);
    m_status->saveColumnWidths();
    m_chart->saveViewOptions();
    m_list->saveViewOptions();
    reportUnsavedSettings();
}

void MainWindow::reportUnsavedSettings()
{
    // Nobody could answer a message box in unattended mode.
    if (!m_unattended)
        tarvelo::reportUnsavedSettings(this);
}

void MainWindow::updateCommandStates()
{
    m_commands->updateStates();
    m_files->enableRecentFiles(!updatesUnderWay());
}

void MainWindow::showUndoTexts()
{
    action(commands::kEditUndo)->setText(m_undo->undoText());
    action(commands::kEditRedo)->setText(m_undo->redoText());
}

void MainWindow::showContextMenu(const QPoint& globalPos)
{
    updateCommandStates();
    m_contextMenu->popup(globalPos);
}

// Updates ---------------------------------------------------------------------------

int MainWindow::updateAllQuotations()
{
    const int jobs = m_hub->updateItems(m_doc.itemPositions());
    if (m_unattended)
        m_run->noteItemsBeingUpdated();
    // The next automatic update comes one full period after this one.
    m_scheduler->restartPeriod();
    updateCommandStates();
    return jobs;
}

void MainWindow::abortDownloads()
{
    if (!updatesUnderWay())
        return;
    m_aborting = true;
    m_status->setTitleFor(toCore(portfolioTitle()), true);
    m_status->setAbortEnabled(false);
    m_run->showAborted();
    m_hub->abortUpdates();
    updateCommandStates();
}

void MainWindow::toggleConnectionStatus()
{
    if (m_status->isVisible()) {
        m_status->hide();
    } else {
        m_status->setTitleFor(toCore(portfolioTitle()), m_aborting);
        m_status->show();
        m_status->raise();
        m_status->activateWindow();
    }
    updateCommandStates();
}

void MainWindow::onRunningUpdatesChanged(int running)
{
    m_statusBar->setRunningUpdates(running);
    if (m_unattended)
        m_run->showRunningUpdates(running);
    updateCommandStates();
}

void MainWindow::onUpdatesFinished()
{
    m_aborting = false;
    m_health->take(m_hub->health(), m_hub->healthError());
    updateCommandStates();
    if (m_unattended)
        m_run->finishWhenDone(m_hub->health());
}

// Other windows ------------------------------------------------------------------------

void MainWindow::exportServerConfigurations()
{
    const QString path = Prompter::instance().saveFileName(this, QStringLiteral("Export server configuration"),
                                                           text(strings::kServerExportName),
                                                           text(strings::kRegistryFilter), QStringLiteral("reg"));
    if (path.isEmpty())
        return;
    const Result<void> result = exportServerConfigs(toPath(path));
    if (!result.ok())
        Prompter::instance().inform(this, fileMessage(path, fromCore(result.message())), Prompter::Icon::Warning);
}

void MainWindow::showOptions()
{
    GeneralOptionsDialog dialog(m_options, this);
    if (Prompter::instance().exec(dialog) != QDialog::Accepted)
        return;
    m_options = dialog.options(); // the dialog has stored them, or said why not
    m_status->setDownloadStatus(m_options.downloadStatus);
    m_status->setShowFileOnError(m_options.showFileOnError);
    m_hub->setDownloadStatus(m_options.downloadStatus);
    m_engine.setWorkerSettings(workerSettingsOf(m_options));
    m_scheduler->applyOptions();
}

void MainWindow::showServerConfigurations()
{
    ServerConfigurationsWindow window(m_engine, *m_hub, this);
    Prompter::instance().exec(window);
}

void MainWindow::showSourceHealth()
{
    if (!m_healthWindow)
        m_healthWindow = new SourceHealthWindow(m_doc, *m_health, m_engine, this);
    m_healthWindow->show();
    m_healthWindow->raise();
    m_healthWindow->activateWindow();
}

void MainWindow::showAbout()
{
    AboutDialog dialog(this);
    Prompter::instance().exec(dialog);
}

// The portfolio ---------------------------------------------------------------------------

void MainWindow::sendMail()
{
    // The attachment is named after the portfolio, so the recipient sees what it is.
    QString name = portfolioTitle();
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    if (!name.endsWith(QStringLiteral(".qvx"), Qt::CaseInsensitive))
        name += QStringLiteral(".qvx");
    m_mail->send(saveItems(m_doc.items()), name);
}

QString MainWindow::portfolioTitle() const
{
    return fromPath(m_doc.title());
}

void MainWindow::updateTitles()
{
    setWindowTitle(portfolioTitle() + QStringLiteral("[*] - ")
                   + fromCore(documentTypeString(DocumentTypeField::WindowTitle)));
    setWindowModified(m_doc.isModified());
    m_hub->setPortfolioTitle(toCore(portfolioTitle()));
}

void MainWindow::onDocumentOpened()
{
    m_scheduler->restartPeriod();
    m_status->setTitleFor(toCore(portfolioTitle()), false);
    m_status->removeAllRows();
    updateTitles();
    updateCommandStates();
}

// Window events ---------------------------------------------------------------------------

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!m_run->finishing()) {
        if (m_options.autosaveWindows && !m_unattended)
            saveViewOptions();
        if (!saveModified(true)) {
            event->ignore();
            return;
        }
    }
    // Downloads still running are stopped; the program waits for them as it ends.
    m_hub->abortUpdates();
    m_scheduler->stop();
    m_status->hide();
    m_run->hideNotificationIcon();
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() && !event->mimeData()->urls().isEmpty()
        && event->mimeData()->urls().front().isLocalFile())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile())
        return;
    event->acceptProposedAction();
    const QString path = urls.front().toLocalFile();
    activateWindow();
    // The drop ends first, so no message box runs inside the drag.
    QTimer::singleShot(0, this, [this, path] { openDocument(path); });
}

} // namespace tarvelo
