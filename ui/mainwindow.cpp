#include "ui/mainwindow.h"

#include "download/downloadengine.h"
#include "platform/codepage.h"
#include "platform/profile.h"
#include "resources/CommandIds.h"
#include "resources/Strings.h"
#include "servers/regfile.h"
#include "ui/aboutdialog.h"
#include "ui/appicons.h"
#include "ui/connectionstatuswindow.h"
#include "ui/downloadhub.h"
#include "ui/generaloptionsdialog.h"
#include "ui/portfoliolistview.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"
#include "ui/settingsfailure.h"
#include "ui/shell.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>

#include <climits>
#include <cstdio>

namespace tarvelo {

namespace {

using namespace commands;

constexpr const char* kDimensions = "Dimensions";
constexpr int kDefaultListHeight = 150;
constexpr int kTipLength = 63;

// The empty lower pane, where the history and comparison charts are drawn.
class ChartPane : public QWidget {
public:
    explicit ChartPane(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("chartView"));
        setAutoFillBackground(true);
        QPalette colours = palette();
        colours.setColor(QPalette::Window, Qt::white);
        setPalette(colours);
        setMinimumHeight(20);
    }
};

} // namespace

MainWindow::MainWindow(PortfolioDocument& doc, GeneralOptions& options, DownloadEngine& engine, bool unattended,
                       QWidget* parent)
    : QMainWindow(parent), m_doc(doc), m_options(options), m_engine(engine), m_unattended(unattended)
{
    setObjectName(QStringLiteral("mainFrame"));
    setWindowIcon(applicationIcon());
    setAcceptDrops(true);
    restorePlacement();

    // Client area: the list above the chart pane.
    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setObjectName(QStringLiteral("splitter"));
    m_splitter->setChildrenCollapsible(false);
    m_list = new PortfolioListView(m_doc, m_splitter);
    m_chart = new ChartPane(m_splitter);
    m_splitter->addWidget(m_list);
    m_splitter->addWidget(m_chart);
    m_splitter->setStretchFactor(1, 1);
    setCentralWidget(m_splitter);
    const int listHeight = Profile().getInt(kDimensions, "ListView", kDefaultListHeight);
    m_splitter->setSizes({std::max(listHeight, 20), std::max(height() - listHeight, 20)});
    m_list->setFocus();

    m_status = new ConnectionStatusWindow(this);
    m_status->setDownloadStatus(m_options.downloadStatus != 0);
    m_status->setShowFileOnError(m_options.showFileOnError != 0);
    m_status->setUnattended(m_unattended);
    m_hub = new DownloadHub(m_doc, *m_status, this);
    m_hub->setUnattended(m_unattended);
    m_hub->setDownloadStatus(m_options.downloadStatus != 0);
    m_list->setDownloads(&m_engine, m_hub);

    createActions();
    createMenus();
    createToolBar();
    createStatusBar();

    m_updateTimer = new QTimer(this);
    m_updateTimer->setObjectName(QStringLiteral("updateTimer"));
    m_updateTimer->setTimerType(Qt::PreciseTimer); // the daily window's bounds are exact
    connect(m_updateTimer, &QTimer::timeout, this, &MainWindow::onUpdateTimer);
    if (m_options.autoupdate)
        startUpdateTimer(m_options.updateInterval);

    // Another program (a scheduled update, a script) may save the portfolio while it is
    // shown here; an unchanged window follows the file.
    m_diskTimer = new QTimer(this);
    m_diskTimer->setObjectName(QStringLiteral("diskTimer"));
    connect(m_diskTimer, &QTimer::timeout, this, &MainWindow::followFileOnDisk);
    if (!m_unattended)
        m_diskTimer->start(2000);

    connect(m_status, &ConnectionStatusWindow::abortRequested, this, &MainWindow::abortDownloads);
    connect(m_hub, &DownloadHub::runningUpdatesChanged, this, &MainWindow::onRunningUpdatesChanged);
    connect(m_hub, &DownloadHub::updatesFinished, this, &MainWindow::onUpdatesFinished);
    connect(m_list, &PortfolioListView::amountTextChanged, this, [this](const QString& text) {
        m_amountPane->setText(text);
    });
    connect(m_list, &PortfolioListView::selectionChanged, this, &MainWindow::updateCommandStates);
    connect(m_list, &PortfolioListView::contextMenuWanted, this, &MainWindow::showContextMenu);
    if (QClipboard* clipboard = QApplication::clipboard())
        connect(clipboard, &QClipboard::dataChanged, this, &MainWindow::updateCommandStates);
    m_viewToken = m_doc.subscribeViews([this] {
        updateTitles();
        updateCommandStates();
    });

    m_recent.load();
    updateRecentFiles();
    m_amountPane->setText(m_list->amountText());
    updateTitles();
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
    const auto found = m_actions.find(command);
    return found == m_actions.end() ? nullptr : found->second;
}

void MainWindow::setClock(Clock clock)
{
    m_clock = std::move(clock);
    m_list->setNow(m_clock ? m_clock() : 0);
    m_clockPane->setText(clockPaneText());
}

bool MainWindow::updatesUnderWay() const
{
    // Jobs waiting for a download slot are not counted as running, but their items
    // carry the being-updated mark.
    return m_hub->runningUpdates() > 0 || m_doc.anyBeingUpdated();
}

TimeStamp MainWindow::now() const
{
    return m_clock ? m_clock() : currentTime();
}

// Placement ------------------------------------------------------------------------

void MainWindow::restorePlacement()
{
    resize(900, 600);
    const std::string stored = Profile().getText(kDimensions, "MainWindow", "");
    int left = 0, top = 0, right = 0, bottom = 0;
    char rest = 0;
    if (stored.empty()
        || std::sscanf(stored.c_str(), "%i,%i,%i,%i%c", &left, &top, &right, &bottom, &rest) != 4)
        return; // nothing stored, or not four numbers: the system places the window
    const QRect rect(QPoint(left, top), QSize(right - left, bottom - top));
    if (rect.width() < 200 || rect.height() < 150)
        return;
    // A place on a screen that is no longer there would hide the window.
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(rect)) {
            setGeometry(rect);
            return;
        }
    }
    resize(rect.size());
}

void MainWindow::saveViewOptions()
{
    Profile profile;
    const QRect rect = normalGeometry();
    const int left = rect.left(), top = rect.top(), right = rect.left() + rect.width(),
              bottom = rect.top() + rect.height();
    if (left > 0 && top > 0 && right > 0 && bottom > 0) {
        char text[64];
        std::snprintf(text, sizeof text, "%i,%i,%i,%i", left, top, right, bottom);
        profile.writeText(kDimensions, "MainWindow", text);
    }
    profile.writeInt(kDimensions, "ListView", m_splitter->sizes().value(0, kDefaultListHeight));
    profile.sync();
    m_status->saveColumnWidths();
    m_list->saveViewOptions();
    reportUnsavedSettings();
}

void MainWindow::reportUnsavedSettings()
{
    // Nobody could answer a message box in unattended mode.
    if (!m_unattended)
        tarvelo::reportUnsavedSettings(this);
}

// Commands -------------------------------------------------------------------------

QAction* MainWindow::addCommand(int command, const QString& text, const QString& prompt, const QKeySequence& shortcut)
{
    auto* action = new QAction(text, this);
    action->setObjectName(QStringLiteral("command%1").arg(command));
    action->setData(command);
    action->setStatusTip(prompt);
    QString tip = text;
    tip.remove(QLatin1Char('&'));
    if (tip.endsWith(QStringLiteral("...")))
        tip.chop(3);
    action->setToolTip(tip);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    const QIcon icon = commandIcon(command);
    if (!icon.isNull())
        action->setIcon(icon);
    m_actions[command] = action;
    addAction(action); // shortcuts work while the menu bar is hidden, too
    return action;
}

void MainWindow::createActions()
{
    connect(addCommand(kFileNew, QStringLiteral("&New"), QStringLiteral("Create a new portfolio"),
                       QKeySequence::New),
            &QAction::triggered, this, [this] { newDocument(); });
    connect(addCommand(kFileOpen, QStringLiteral("&Open..."), QStringLiteral("Open an existing portfolio"),
                       QKeySequence::Open),
            &QAction::triggered, this, [this] { openDocument(); });
    connect(addCommand(kFileSave, QStringLiteral("&Save"), QStringLiteral("Save the portfolio"), QKeySequence::Save),
            &QAction::triggered, this, [this] { saveDocument(); });
    connect(addCommand(kFileSaveAs, QStringLiteral("Save &As..."),
                       QStringLiteral("Save the portfolio with a new name")),
            &QAction::triggered, this, [this] { saveDocumentAs(); });
    addCommand(kFilePrintPreview, QStringLiteral("Print Pre&view"), QStringLiteral("Show the printed report"));
    addCommand(kFilePrint, QStringLiteral("&Print..."), QStringLiteral("Print the portfolio report"),
               QKeySequence(QStringLiteral("Ctrl+P")));
    connect(addCommand(kAppExit, QStringLiteral("E&xit"), QStringLiteral("Quit the program")),
            &QAction::triggered, this, &QWidget::close);

    connect(addCommand(kEditCut, QStringLiteral("&Cut"),
                       QStringLiteral("Move the marked items to the clipboard"), QKeySequence(QStringLiteral("Ctrl+X"))),
            &QAction::triggered, m_list, &PortfolioListView::cutItems);
    connect(addCommand(kEditCopy, QStringLiteral("C&opy"), QStringLiteral("Copy the marked items to the clipboard"),
                       QKeySequence(QStringLiteral("Ctrl+C"))),
            &QAction::triggered, m_list, &PortfolioListView::copyItems);
    connect(addCommand(kEditPaste, QStringLiteral("&Paste"), QStringLiteral("Add the items on the clipboard"),
                       QKeySequence(QStringLiteral("Ctrl+V"))),
            &QAction::triggered, m_list, &PortfolioListView::pasteItems);
    action(kEditCut)->setShortcuts({QKeySequence(QStringLiteral("Ctrl+X")), QKeySequence(QStringLiteral("Shift+Del"))});
    action(kEditCopy)->setShortcuts({QKeySequence(QStringLiteral("Ctrl+C")), QKeySequence(QStringLiteral("Ctrl+Ins"))});
    action(kEditPaste)->setShortcuts({QKeySequence(QStringLiteral("Ctrl+V")), QKeySequence(QStringLiteral("Shift+Ins"))});
    auto* compare = addCommand(kCompareAll, QStringLiteral("Compare all"),
                               QStringLiteral("Mark all items and compare them in the chart"),
                               QKeySequence(QStringLiteral("Ctrl+A")));
    compare->setCheckable(true);
    connect(compare, &QAction::triggered, this, [this] {
        m_list->selectAllOrOne();
        m_chart->update();
        updateCommandStates();
    });
    addCommand(kComparisonLimits, QStringLiteral("Comparison limits"),
               QStringLiteral("Set comparison chart limits"));

    auto* percent = addCommand(kPercentValues, QStringLiteral("Show &percentual values"),
                               QStringLiteral("Show changes in percent or as differences"));
    percent->setCheckable(true);
    connect(percent, &QAction::triggered, this, [this] {
        m_list->setPercentMode(!m_list->percentMode());
        m_doc.updateAllViews();
    });
    auto* status = addCommand(kConnectionStatus, QStringLiteral("&Connection status"),
                              QStringLiteral("Show or hide the connection status window"));
    status->setCheckable(true);
    connect(status, &QAction::triggered, this, &MainWindow::toggleConnectionStatus);
    connect(addCommand(kSaveViewOptions, QStringLiteral("S&ave view options"),
                       QStringLiteral("Keep window placement, columns and sort order")),
            &QAction::triggered, this, &MainWindow::saveViewOptions);
    connect(addCommand(kRefresh, QStringLiteral("&Refresh"), QStringLiteral("Show the portfolio anew")),
            &QAction::triggered, m_list, &PortfolioListView::refresh);
    connect(addCommand(kTotals, QStringLiteral("&Totals"), QStringLiteral("Show the totals of the portfolio")),
            &QAction::triggered, m_list, &PortfolioListView::showTotals);

    addCommand(kInsertItem, QStringLiteral("&Insert new item"), QStringLiteral("Add a new item to the portfolio"),
               QKeySequence(Qt::Key_Insert));
    connect(addCommand(kDeleteItem, QStringLiteral("&Delete item"), QStringLiteral("Delete the marked items"),
                       QKeySequence(QKeySequence::Delete)),
            &QAction::triggered, m_list, &PortfolioListView::deleteSelectedItems);
    addCommand(kItemProperties, QStringLiteral("&Properties"), QStringLiteral("Change the item's settings"),
               QKeySequence(Qt::Key_Return));
    addCommand(kShowQuotations, QStringLiteral("Show &quotations"), QStringLiteral("Show the item's quotations"),
               QKeySequence(QStringLiteral("Ctrl+Q")));
    connect(addCommand(kUpdateQuotation, QStringLiteral("&Update quotation"),
                       QStringLiteral("Download the quotations of the marked items"),
                       QKeySequence(QStringLiteral("Ctrl+I"))),
            &QAction::triggered, m_list, &PortfolioListView::updateSelectedQuotations);
    connect(addCommand(kUpdateAll, QStringLiteral("Update &all quotations"),
                       QStringLiteral("Download the quotations of all items"), QKeySequence(QStringLiteral("Ctrl+U"))),
            &QAction::triggered, this, &MainWindow::updateAllQuotations);
    connect(addCommand(kAbortDownloads, QStringLiteral("A&bort downloads"),
                       QStringLiteral("Stop all running downloads")),
            &QAction::triggered, this, &MainWindow::abortDownloads);
    connect(addCommand(kManualQuotation, QStringLiteral("&Manually update quotation"),
                       QStringLiteral("Enter a quotation for the item by hand"),
                       QKeySequence(QStringLiteral("Ctrl+M"))),
            &QAction::triggered, m_list, &PortfolioListView::manuallyUpdateQuotation);
    connect(addCommand(kTestUpdate, QStringLiteral("&Test quotation &update"),
                       QStringLiteral("Download the item's quotation once and show it"),
                       QKeySequence(QStringLiteral("Ctrl+T"))),
            &QAction::triggered, m_list, &PortfolioListView::testQuotationUpdate);
    connect(addCommand(kOpenWebPage, QStringLiteral("&Open web page"),
                       QStringLiteral("Open the item's quotation page in the browser"),
                       QKeySequence(QStringLiteral("Ctrl+G"))),
            &QAction::triggered, m_list, &PortfolioListView::openWebPage);
    addCommand(kImportQuotations, QStringLiteral("&Import Quotations..."),
               QStringLiteral("Import quotations of the item from a file or a web address"),
               QKeySequence(QStringLiteral("Ctrl+R")));
    connect(addCommand(kExport, QStringLiteral("&Export..."),
                       QStringLiteral("Export the quotations to a text or spreadsheet file"),
                       QKeySequence(QStringLiteral("Ctrl+E"))),
            &QAction::triggered, m_list, &PortfolioListView::exportQuotations);

    connect(addCommand(kOptions, QStringLiteral("&Options..."), QStringLiteral("Change the general options")),
            &QAction::triggered, this, &MainWindow::showOptions);
    connect(addCommand(kExportServers, QStringLiteral("&Export server configuration..."),
                       QStringLiteral("Save all server configurations to a registry file")),
            &QAction::triggered, this, &MainWindow::exportServerConfigurations);

    connect(addCommand(kApplicationWebPage, QStringLiteral("&Application web page"),
                       QStringLiteral("Open the program's web page")),
            &QAction::triggered, this, [] { Shell::instance().open(strings::kApplicationWebPage); });
    connect(addCommand(kCheckServerUpdate, QStringLiteral("&Check server configuration update availability..."),
                       QStringLiteral("Look for newer server configurations on the program's web page")),
            &QAction::triggered, this, [] { Shell::instance().open(strings::kApplicationWebPage); });
    connect(addCommand(kFaq, QStringLiteral("&Frequently Asked Questions (FAQ)"),
                       QStringLiteral("Answers to frequently asked questions")),
            &QAction::triggered, this, [this] { openHelpPage(strings::kFaqPage); });
    connect(addCommand(kServerInfo, QStringLiteral("Info about &server configuration"),
                       QStringLiteral("How server configurations find quotations")),
            &QAction::triggered, this, [this] { openHelpPage(strings::kServerInfoPage); });
    connect(addCommand(kAppAbout, QStringLiteral("&About Tarvelo..."),
                       QStringLiteral("Program information, version number and copyright")),
            &QAction::triggered, this, &MainWindow::showAbout);

    // The commands whose windows are not part of the program yet stay disabled.
    for (const int later : {kFilePrintPreview, kFilePrint, kComparisonLimits, kInsertItem, kItemProperties,
                            kShowQuotations, kImportQuotations})
        action(later)->setEnabled(false);
}

void MainWindow::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(action(kFileNew));
    file->addAction(action(kFileOpen));
    file->addAction(action(kFileSave));
    file->addAction(action(kFileSaveAs));
    file->addSeparator();
    file->addAction(action(kExport));
    file->addAction(action(kExportServers));
    file->addSeparator();
    file->addAction(action(kFilePrint));
    file->addAction(action(kFilePrintPreview));
    file->addSeparator();
    m_recentMenu = file->addMenu(QStringLiteral("Recent &Files"));
    m_recentMenu->setObjectName(QStringLiteral("recentFilesMenu"));
    file->addSeparator();
    file->addAction(action(kAppExit));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->addAction(action(kEditCut));
    edit->addAction(action(kEditCopy));
    edit->addAction(action(kEditPaste));
    edit->addSeparator();
    edit->addAction(action(kCompareAll));
    edit->addAction(action(kComparisonLimits));

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    m_viewMenu = view;
    view->addAction(action(kPercentValues));
    view->addAction(action(kConnectionStatus));
    view->addSeparator();
    view->addAction(action(kTotals));
    view->addAction(action(kRefresh));
    view->addSeparator();
    view->addAction(action(kSaveViewOptions));

    QMenu* item = menuBar()->addMenu(QStringLiteral("&Item"));
    item->addAction(action(kInsertItem));
    item->addAction(action(kDeleteItem));
    item->addAction(action(kItemProperties));
    item->addAction(action(kShowQuotations));
    item->addSeparator();
    item->addAction(action(kUpdateQuotation));
    item->addAction(action(kUpdateAll));
    item->addAction(action(kAbortDownloads));
    item->addAction(action(kManualQuotation));
    item->addAction(action(kTestUpdate));
    item->addSeparator();
    item->addAction(action(kOpenWebPage));
    item->addAction(action(kImportQuotations));

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->addAction(action(kOptions));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(action(kFaq));
    help->addAction(action(kServerInfo));
    help->addSeparator();
    help->addAction(action(kApplicationWebPage));
    help->addAction(action(kCheckServerUpdate));
    help->addSeparator();
    help->addAction(action(kAppAbout));

    for (QMenu* menu : {file, edit, view, item, tools, help})
        connect(menu, &QMenu::aboutToShow, this, &MainWindow::updateCommandStates);

    // The list's context menu has texts of its own for the same commands.
    m_contextMenu = new QMenu(this);
    m_contextMenu->setObjectName(QStringLiteral("listContextMenu"));
    const std::pair<int, const char*> entries[] = {
        {kItemProperties, "&Properties"},      {kShowQuotations, "Show &quotations"},
        {kUpdateQuotation, "Upda&te quotation"}, {kManualQuotation, "&Manually update quotation"},
        {kTestUpdate, "&Test quotation &update"}, {kOpenWebPage, "&Open web page"},
        {kImportQuotations, "&Import Quotations..."}, {kDeleteItem, "&Delete item"},
    };
    for (const auto& [command, label] : entries) {
        QAction* shared = action(command);
        QAction* entry = m_contextMenu->addAction(text(label));
        entry->setData(command);
        entry->setStatusTip(shared->statusTip());
        connect(entry, &QAction::triggered, shared, &QAction::trigger);
        connect(shared, &QAction::enabledChanged, entry, &QAction::setEnabled);
        entry->setEnabled(shared->isEnabled());
    }
}

void MainWindow::createToolBar()
{
    QToolBar* bar = addToolBar(QStringLiteral("Standard"));
    bar->setObjectName(QStringLiteral("toolBar"));
    bar->setIconSize(QSize(16, 16));
    bar->setMovable(true);
    const int buttons[] = {kFileNew, kFileOpen,     kFileSave,         0,          kImportQuotations, kExport, 0,
                           kInsertItem, 0,          kEditCut,          kEditCopy,  kEditPaste,        0,
                           kManualQuotation, 0,     kUpdateAll,        kAbortDownloads, 0,           kPercentValues,
                           0,        kCompareAll,   kComparisonLimits, 0,          kFilePrintPreview, kFilePrint,
                           0,        kAppAbout};
    for (const int command : buttons) {
        if (command == 0)
            bar->addSeparator();
        else
            bar->addAction(action(command));
    }
    m_viewMenu->addSeparator();
    m_viewMenu->addAction(bar->toggleViewAction());
}

void MainWindow::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    m_amountPane = new QLabel(bar);
    m_amountPane->setObjectName(QStringLiteral("amountPane"));
    m_downloadPane = new QLabel(bar);
    m_downloadPane->setObjectName(QStringLiteral("downloadPane"));
    m_clockPane = new QLabel(bar);
    m_clockPane->setObjectName(QStringLiteral("clockPane"));
    for (QLabel* pane : {m_amountPane, m_downloadPane, m_clockPane}) {
        pane->setFrameShape(QFrame::StyledPanel);
        pane->setFrameShadow(QFrame::Sunken);
        pane->setContentsMargins(4, 0, 4, 0);
        bar->addPermanentWidget(pane);
    }
    auto* statusBarToggle = new QAction(QStringLiteral("&Status Bar"), this);
    statusBarToggle->setCheckable(true);
    statusBarToggle->setChecked(true);
    statusBarToggle->setStatusTip(QStringLiteral("Show or hide the status bar"));
    connect(statusBarToggle, &QAction::toggled, bar, &QWidget::setVisible);
    m_viewMenu->addAction(statusBarToggle);

    m_clockTimer = new QTimer(bar);
    m_clockTimer->setObjectName(QStringLiteral("clockTimer"));
    connect(m_clockTimer, &QTimer::timeout, this, [this] { m_clockPane->setText(clockPaneText()); });
    m_clockTimer->start(1000);
    m_clockPane->setText(clockPaneText());
}

void MainWindow::updateCommandStates()
{
    const bool hasItems = m_doc.getItemCount() > 0;
    const int rows = m_list->topLevelItemCount();
    const bool idle = !updatesUnderWay();
    action(kUpdateAll)->setEnabled(hasItems);
    action(kExport)->setEnabled(hasItems);
    action(kAbortDownloads)->setEnabled(!idle && !m_aborting);
    action(kConnectionStatus)->setChecked(m_status->isVisible());
    action(kFileNew)->setEnabled(idle);
    action(kFileOpen)->setEnabled(idle);
    m_recentMenu->setEnabled(idle && !m_recent.files().empty());
    action(kDeleteItem)->setEnabled(m_list->hasSelectedRow());
    action(kUpdateQuotation)->setEnabled(m_list->hasSelectedRow());
    action(kTestUpdate)->setEnabled(m_list->hasSelectedRow());
    action(kManualQuotation)->setEnabled(m_list->hasFocusedRow());
    action(kEditCut)->setEnabled(m_list->hasSelectedRow());
    action(kEditCopy)->setEnabled(m_list->hasSelectedRow());
    action(kEditPaste)->setEnabled(PortfolioListView::clipboardHasItems());
    action(kCompareAll)->setEnabled(rows > 1);
    action(kCompareAll)->setChecked(rows > 0 && m_list->allRowsSelected());
    action(kPercentValues)->setChecked(m_list->percentMode());
}

void MainWindow::showContextMenu(const QPoint& globalPos)
{
    updateCommandStates();
    m_contextMenu->popup(globalPos);
}

// Automatic update ------------------------------------------------------------------

void MainWindow::startUpdateTimer(int minutes)
{
    if (minutes <= 0) {
        m_updateTimer->stop();
        return;
    }
    const long long period = static_cast<long long>(minutes) * 60000;
    if (period > INT_MAX) {
        m_updateTimer->stop();
        Prompter::instance().inform(this, text(strings::kTimerError), Prompter::Icon::Warning);
        return;
    }
    m_updateTimer->start(static_cast<int>(period));
}

bool MainWindow::updateTimerActive() const
{
    return m_updateTimer->isActive();
}

int MainWindow::updateTimerRemaining() const
{
    return m_updateTimer->remainingTime();
}

void MainWindow::onUpdateTimer()
{
    if (insideUpdateWindow(m_options, now()))
        updateAllQuotations();
}

int MainWindow::updateAllQuotations()
{
    const int jobs = updateItems(m_doc, m_doc.getItemPositions(), m_engine, *m_hub);
    // The next automatic update comes one full period after this one.
    if (m_options.autoupdate)
        startUpdateTimer(m_options.updateInterval);
    updateCommandStates();
    return jobs;
}

// Downloads ------------------------------------------------------------------------

void MainWindow::abortDownloads()
{
    if (!updatesUnderWay())
        return;
    m_aborting = true;
    m_status->setTitleFor(toCp1252(portfolioTitle()), true);
    m_status->setAbortEnabled(false);
    if (m_tray)
        m_tray->setIcon(abortedApplicationIcon());
    requestAbortDownloads();
    updateCommandStates();
}

void MainWindow::toggleConnectionStatus()
{
    if (m_status->isVisible()) {
        m_status->hide();
    } else {
        m_status->setTitleFor(toCp1252(portfolioTitle()), m_aborting);
        m_status->show();
        m_status->raise();
        m_status->activateWindow();
    }
    updateCommandStates();
}

QString MainWindow::notificationTip(const QString& title, int running)
{
    QString tip = running <= 0  ? text(strings::kTrayEnd).arg(title)
                  : running == 1 ? text(strings::kTrayOneDownload).arg(title)
                                 : text(strings::kTrayDownloads).arg(title, QString::number(running));
    return tip.left(kTipLength);
}

void MainWindow::onRunningUpdatesChanged(int running)
{
    const QString text = DownloadHub::downloadPaneText(running);
    // The pane grows to its widest text and never shrinks.
    const int width = QFontMetrics(statusBar()->font()).horizontalAdvance(text) + 12;
    if (width > m_downloadPane->minimumWidth())
        m_downloadPane->setMinimumWidth(width);
    m_downloadPane->setText(text);
    if (m_unattended)
        setNotificationTip(notificationTip(portfolioTitle(), running));
    updateCommandStates();
}

void MainWindow::onUpdatesFinished()
{
    m_aborting = false;
    updateCommandStates();
    // Jobs that waited for a download slot still hold their items; the run is over
    // only when they have reported too.
    if (!m_unattended || m_finishing || m_doc.anyBeingUpdated())
        return;
    m_finishing = true;
    if (m_doc.getPathName().empty()) {
        m_exitCode = 1;
    } else if (m_doc.hasNewQuotations()) {
        // The downloads ran without the file's lock; their quotations go into the file
        // as it is now. A run that brought none leaves the file alone.
        const DocumentResult saved = m_doc.saveMerged();
        if (!saved.ok) {
            std::fprintf(stderr, "tarvelo: %s\n", cp1252ToUtf8(saved.message).c_str());
            m_exitCode = 1;
        } else if (!saved.warning.empty()) {
            std::fprintf(stderr, "tarvelo: %s\n", cp1252ToUtf8(saved.warning).c_str());
        }
    }
    if (m_tray)
        m_tray->hide();
    emit unattendedFinished();
}

void MainWindow::setNotificationTip(const QString& text)
{
    m_tip = text.left(kTipLength);
    if (m_tray)
        m_tray->setToolTip(m_tip);
}

void MainWindow::showNotificationIcon()
{
    setNotificationTip(fromPath(m_doc.getPathName()));
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_tray = new QSystemTrayIcon(applicationIcon(), this);
    m_tray->setObjectName(QStringLiteral("notificationIcon"));
    m_tray->setToolTip(m_tip);
    auto* menu = new QMenu(this);
    connect(menu->addAction(QStringLiteral("Connection &status...")), &QAction::triggered, this,
            &MainWindow::toggleConnectionStatus);
    connect(menu->addAction(QStringLiteral("&Close")), &QAction::triggered, this, &MainWindow::abortDownloads);
    m_tray->setContextMenu(menu);
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick)
            toggleConnectionStatus();
    });
    m_tray->show();
}

// Other windows ------------------------------------------------------------------------

void MainWindow::exportServerConfigurations()
{
    const QString path = Prompter::instance().saveFileName(this, QStringLiteral("Export server configuration"),
                                                           text(strings::kServerExportName),
                                                           text(strings::kRegistryFilter), QStringLiteral("reg"));
    if (path.isEmpty())
        return;
    const RegFileResult result = exportServerConfigs(toPath(path));
    if (!result.ok)
        Prompter::instance().inform(this, fromCp1252(result.message), Prompter::Icon::Warning);
}

void MainWindow::showOptions()
{
    GeneralOptionsDialog dialog(m_options, this);
    if (Prompter::instance().exec(dialog) != QDialog::Accepted)
        return;
    m_options = dialog.options(); // the dialog has stored them, or said why not
    m_status->setDownloadStatus(m_options.downloadStatus != 0);
    m_status->setShowFileOnError(m_options.showFileOnError != 0);
    m_hub->setDownloadStatus(m_options.downloadStatus != 0);
    startUpdateTimer(m_options.autoupdate ? m_options.updateInterval : 0);
}

void MainWindow::showAbout()
{
    AboutDialog dialog(this);
    Prompter::instance().exec(dialog);
}

void MainWindow::openHelpPage(const char* fileName)
{
    // Beside the program, or where an installation keeps its documents.
    const QDir programDir(QCoreApplication::applicationDirPath());
    QString path = programDir.filePath(text(fileName));
    if (!QFileInfo::exists(path)) {
        const QString shared = programDir.filePath(QStringLiteral("../share/tarvelo/") + text(fileName));
        if (QFileInfo::exists(shared))
            path = QDir::cleanPath(shared);
    }
    Shell::instance().openFile(toPath(path));
}

// The portfolio ---------------------------------------------------------------------------

QString MainWindow::portfolioTitle() const
{
    if (m_doc.getPathName().empty())
        return QStringLiteral("Untitled");
    return QFileInfo(fromPath(m_doc.getPathName())).fileName();
}

void MainWindow::updateTitles()
{
    setWindowTitle(portfolioTitle() + QStringLiteral("[*] - Tarvelo"));
    setWindowModified(m_doc.isModified());
    m_hub->setPortfolioTitle(toCp1252(portfolioTitle()));
}

void MainWindow::updateRecentFiles()
{
    m_recentMenu->clear();
    int number = 1;
    for (const std::string& file : m_recent.files()) {
        const QString path = fromPath(file);
        QAction* entry = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(number).arg(path));
        entry->setData(path);
        entry->setStatusTip(QStringLiteral("Open this portfolio"));
        connect(entry, &QAction::triggered, this, [this, path] { openDocument(path); });
        ++number;
    }
    m_recentMenu->setEnabled(!m_recent.files().empty());
    reportUnsavedSettings();
}

bool MainWindow::saveModified(bool closing)
{
    if (!m_doc.isModified())
        return true;
    if (closing && m_options.autosaveOnExit)
        return saveDocument();
    const QString question = text(strings::kSaveChangesPrompt).arg(portfolioTitle());
    switch (Prompter::instance().askYesNoCancel(this, question)) {
    case Prompter::Yes:
        return saveDocument();
    case Prompter::No:
        return true;
    default:
        return false;
    }
}

bool MainWindow::newDocument()
{
    if (updatesUnderWay() || !saveModified())
        return false;
    m_doc.onNewDocument();
    m_status->removeAllRows();
    updateTitles();
    return true;
}

bool MainWindow::openDocument()
{
    if (updatesUnderWay())
        return false;
    const QString path =
        Prompter::instance().openFileName(this, QStringLiteral("Open"), QStringLiteral("Tarvelo Files (*.qvx);;All Files (*)"));
    if (path.isEmpty())
        return false;
    return openDocument(path);
}

bool MainWindow::openDocument(const QString& path)
{
    if (updatesUnderWay() || !saveModified())
        return false;
    const std::string file = toPath(QFileInfo(path).absoluteFilePath());
    const DocumentResult opened = m_doc.onOpenDocument(file);
    if (!opened.ok) {
        if (!QFileInfo::exists(path)) {
            m_recent.remove(file);
            m_recent.save();
            updateRecentFiles();
        }
        Prompter::instance().inform(this, fromCp1252(opened.message), Prompter::Icon::Warning);
        return false;
    }
    m_recent.add(file);
    m_recent.save();
    updateRecentFiles();
    onDocumentOpened();
    if (!opened.warning.empty())
        Prompter::instance().inform(this, fromCp1252(opened.warning), Prompter::Icon::Warning);
    return true;
}

void MainWindow::followFileOnDisk()
{
    if (m_doc.getPathName().empty() || m_doc.isModified() || m_finishing)
        return;
    if (m_doc.diskState() != PortfolioDocument::DiskState::Changed)
        return;
    // Items keep their handles, so the selection and running updates follow them. A
    // file that cannot be read now stays as shown; the next look tries again.
    if (m_doc.reloadFromDisk().ok) {
        updateTitles();
        updateCommandStates();
    }
}

DocumentResult MainWindow::saveToChangedFile()
{
    // Only new quotations and items here: they go into the file as it is, as an
    // update from the command line does.
    if (m_doc.changedOnlyByAdditions())
        return m_doc.saveMerged();
    const QString question =
        QStringLiteral("%1 was changed by another program since it was opened here.\n\n"
                       "Merge adds the new items and quotations of this window to the file as it is now; "
                       "other changes made here are dropped.\n"
                       "Overwrite replaces the file with the portfolio as this window shows it.")
            .arg(fromPath(m_doc.getPathName()));
    const QStringList buttons{QStringLiteral("&Merge"), QStringLiteral("&Overwrite"), QStringLiteral("Cancel")};
    switch (Prompter::instance().choose(this, question, buttons)) {
    case 0:
        return m_doc.saveMerged();
    case 1:
        return m_doc.onSaveDocument(m_doc.getPathName());
    default:
        return {false, {}, {}};
    }
}

void MainWindow::onDocumentOpened()
{
    if (m_options.autoupdate)
        startUpdateTimer(m_options.updateInterval);
    m_status->setTitleFor(toCp1252(portfolioTitle()), false);
    m_status->removeAllRows();
    updateTitles();
    updateCommandStates();
}

bool MainWindow::saveDocument()
{
    const std::string& path = m_doc.getPathName();
    if (path.empty())
        return saveDocumentAs();
    const QFileInfo info(fromPath(path));
    if (info.exists() && !info.isWritable())
        return saveDocumentAs();
    const DocumentResult saved = m_doc.diskState() == PortfolioDocument::DiskState::Changed ? saveToChangedFile()
                                                                                       : m_doc.onSaveDocument(path);
    if (!saved.ok) {
        if (!saved.message.empty()) // empty when the user cancelled
            Prompter::instance().inform(this, fromCp1252(saved.message), Prompter::Icon::Warning);
        return false;
    }
    if (!saved.warning.empty())
        Prompter::instance().inform(this, fromCp1252(saved.warning), Prompter::Icon::Warning);
    updateTitles();
    return true;
}

bool MainWindow::saveDocumentAs()
{
    QString proposed = m_doc.getPathName().empty() ? QStringLiteral("Quotes") : fromPath(m_doc.getPathName());
    const QString path = Prompter::instance().saveFileName(this, QStringLiteral("Save As"), proposed,
                                                           QStringLiteral("Tarvelo Files (*.qvx)"), QStringLiteral("qvx"));
    if (path.isEmpty())
        return false;
    const DocumentResult saved = m_doc.onSaveDocument(toPath(path));
    if (!saved.ok) {
        Prompter::instance().inform(this, fromCp1252(saved.message), Prompter::Icon::Warning);
        return false;
    }
    m_recent.add(m_doc.getPathName());
    m_recent.save();
    updateRecentFiles();
    updateTitles();
    return true;
}

// Window events ---------------------------------------------------------------------------

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!m_finishing) {
        if (m_options.autosaveWindows && !m_unattended)
            saveViewOptions();
        if (!saveModified(true)) {
            event->ignore();
            return;
        }
    }
    // Downloads still running are stopped; the program waits for them as it ends.
    if (updatesUnderWay())
        requestAbortDownloads();
    m_updateTimer->stop();
    m_status->hide();
    if (m_tray)
        m_tray->hide();
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

// Status panes ------------------------------------------------------------------------------

QString MainWindow::amountPaneText() const
{
    return m_amountPane->text();
}

QString MainWindow::downloadPaneText() const
{
    return m_downloadPane->text();
}

QString MainWindow::clockPaneText() const
{
    return fromCp1252(formatLocalTime(now(), "%X"));
}

} // namespace tarvelo
