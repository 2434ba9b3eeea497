// The main window's command table: what each command does and when it is enabled, and
// where it shows in the menus, the toolbar and the list's context menu.

#include "ui/mainwindow.h"

#include "resources/commandids.h"
#include "resources/strings.h"
#include "ui/chartview.h"
#include "ui/reportprinting.h"
#include "ui/commandtable.h"
#include "ui/connectionstatuswindow.h"
#include "ui/itemcommands.h"
#include "ui/itemproperties/itempropertiesdialog.h"
#include "ui/mailsender.h"
#include "ui/mainstatusbar.h"
#include "ui/portfoliofilecontroller.h"
#include "ui/portfoliolistview.h"
#include "ui/serverconfigurationswindow.h"
#include "ui/shell.h"
#include "ui/undosteps.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace tarvelo {

namespace {

QKeySequence key(const char* text)
{
    return QKeySequence(QString::fromLatin1(text));
}

} // namespace

void MainWindow::createCommands()
{
    using namespace commands;
    const auto idle = [this] { return !updatesUnderWay(); };
    const auto hasItems = [this] { return m_doc.itemCount() > 0; };
    const auto selected = [this] { return m_list->hasSelectedRow(); };

    m_commands = new CommandTable(*this, {
        {kFileNew, "Ne&w", "Create a new portfolio", {QKeySequence::New}, [this] { newDocument(); }, idle},
        {kFileOpen, "&Open...", "Open an existing portfolio", {QKeySequence::Open}, [this] { openDocument(); },
         idle},
        {kFileSave, "&Save", "Save the portfolio", {QKeySequence::Save}, [this] { saveDocument(); }},
        {kFileSaveAs, "Save &As...", "Save the portfolio with a new name", {}, [this] { saveDocumentAs(); }},
        {kFilePrintPreview, "P&rint preview", "Show the printed report of the marked items", {},
         [this] { m_printing->preview(this); }, selected},
        {kFilePrint, "&Print...", "Print the report of the marked items", {key("Ctrl+P")},
         [this] { m_printing->print(this); }, selected},
        {kFilePrintSetup, "Prin&t Setup...", "Choose the paper and its orientation", {},
         [this] { m_printing->pageSetup(this); }},
        {kFileSendMail, strings::kSendMail, strings::kSendMailTip, {}, [this] { sendMail(); },
         [this] { return m_mail->available(); }},
        {kAppExit, "E&xit", "Quit the program", {}, [this] { close(); }},

        // Not while downloads run: their quotations become a step of their own when the
        // update is over.
        {kEditUndo, "&Undo", "Take back the last change", {key("Ctrl+Z")}, [this] { m_undo->undo(); },
         [this] { return m_undo->canUndo() && !updatesUnderWay(); }},
        {kEditRedo, "&Redo", "Make the change taken back again", {key("Ctrl+Shift+Z")}, [this] { m_undo->redo(); },
         [this] { return m_undo->canRedo() && !updatesUnderWay(); }},
        {kEditCut, "&Cut", "Move the marked items to the clipboard", {key("Ctrl+X"), key("Shift+Del")},
         [this] { m_items->cutItems(); }, selected},
        {kEditCopy, "C&opy", "Copy the marked items to the clipboard", {key("Ctrl+C"), key("Ctrl+Ins")},
         [this] { m_items->copyItems(); }, selected},
        {kEditPaste, "&Paste", "Add the items on the clipboard", {key("Ctrl+V"), key("Shift+Ins")},
         [this] { m_items->pasteItems(); }, [] { return ItemCommands::clipboardHasItems(); }},
        {kCompareAll, "Compare all", "Mark all items and compare them in the chart", {key("Ctrl+A")},
         [this] {
             m_list->selectAllOrOne(); // the chart follows the selection
             updateCommandStates();
         },
         [this] { return m_list->model()->rowCount() > 1; },
         [this] { return m_list->model()->rowCount() > 0 && m_list->allRowsSelected(); }},
        {kComparisonLimits, "Comparison limits", "Set comparison chart limits", {},
         [this] { m_chart->editComparisonLimits(); }},
        {kGraphicProperties, "&Properties", "Change how the item's chart looks", {},
         [this] { m_chart->showItemProperties(ItemPropertiesDialog::Graphic); },
         [this] { return static_cast<bool>(m_chart->chartedItem()); }},

        {kPercentValues, "Show &percentual values", "Show changes in percent or as differences", {},
         [this] {
             m_list->setPercentMode(!m_list->percentMode());
             m_doc.notifyViews();
         },
         {}, [this] { return m_list->percentMode(); }},
        {kConnectionStatus, "&Connection status", "Show or hide the connection status window", {},
         [this] { toggleConnectionStatus(); }, {}, [this] { return m_status->isVisible(); }},
        {kSourceHealth, "Source &health", "List each item's last successful download and failed updates", {},
         [this] { showSourceHealth(); }},
        {kChartLegend, QT_TRANSLATE_NOOP("MainWindow", "Chart &legend"),
         QT_TRANSLATE_NOOP("MainWindow", "Show the compared items' names in their colours above the comparison chart"),
         {}, [this] { m_chart->setLegendShown(!m_chart->legendShown()); }, {},
         [this] { return m_chart->legendShown(); }},
        {kSaveViewOptions, "S&ave view options", "Keep window placement, columns and sort order", {},
         [this] { saveViewOptions(); }},
        {kRefresh, "&Refresh", "Show the portfolio anew", {}, [this] { m_items->refresh(); }},
        {kTotals, "&Totals", "Show the totals of the portfolio", {}, [this] { m_items->showTotals(); }},

        {kInsertItem, "I&nsert new item", "Add a new item to the portfolio", {QKeySequence(Qt::Key_Insert)},
         [this] { m_items->insertNewItem(); }},
        {kDeleteItem, "&Delete item", "Delete the marked items", {QKeySequence::Delete},
         [this] { m_items->deleteSelectedItems(); }, selected},
        {kItemProperties, "&Properties", "Change the item's settings", {QKeySequence(Qt::Key_Return)},
         [this] { m_items->showProperties(ItemPropertiesDialog::General); },
         [this] {
             const ItemKey current = m_list->currentPosition();
             return m_list->hasFocusedRow() && !m_doc.isBeingUpdated(current);
         }},
        {kShowQuotations, "Show &quotations", "Show the item's quotations", {key("Ctrl+Q")},
         [this] { m_items->showProperties(ItemPropertiesDialog::Quotations); },
         [this] { return m_list->hasFocusedRow(); }},
        {kUpdateQuotation, "&Update quotation", "Download the quotations of the marked items", {key("Ctrl+I")},
         [this] { m_items->updateSelectedQuotations(); }, selected},
        {kUpdateAll, "Update &all quotations", "Download the quotations of all items", {key("Ctrl+U")},
         [this] { updateAllQuotations(); }, hasItems},
        {kAbortDownloads, "A&bort downloads", "Stop all running downloads", {}, [this] { abortDownloads(); },
         [this] { return updatesUnderWay() && !m_aborting; }},
        {kManualQuotation, "&Manually update quotation", "Enter a quotation for the item by hand", {key("Ctrl+M")},
         [this] { m_items->manuallyUpdateQuotation(); }, [this] { return m_list->hasFocusedRow(); }},
        {kTestUpdate, "&Test quotation &update", "Download the item's quotation once and show it", {key("Ctrl+T")},
         [this] { m_items->testQuotationUpdate(); }, selected},
        {kOpenWebPage, "&Open web page", "Open the item's quotation page in the browser", {key("Ctrl+G")},
         [this] { m_items->openWebPage(); }},
        {kImportQuotations, "&Import Quotations...", "Import quotations of the item from a file or a web address",
         {key("Ctrl+R")}, [this] { m_items->importQuotations(); }, [this] { return m_list->hasFocusedRow(); }},
        {kExport, "&Export...", "Export the quotations to a text or spreadsheet file", {key("Ctrl+E")},
         [this] { m_items->exportQuotations(); }, hasItems},

        {kOptions, "&Options...", "Change the general options", {}, [this] { showOptions(); }},
        {kServerConfigurations, "&Server configurations...", "Make, change and delete server configurations", {},
         [this] { showServerConfigurations(); }},
        {kExportServers, "Export server &configuration...", "Save all server configurations to a registry file", {},
         [this] { exportServerConfigurations(); }},

        {kApplicationWebPage, "&Application web page", "Open the program's web page", {},
         [] { openHelpPage(strings::kHomePage); }},
        {kCheckServerUpdate, "&Check server configuration update availability...",
         "Look for newer server configurations on the program's web page", {},
         [this] { ServerConfigurationsWindow::chooseReadyMade(this); }},
        {kFaq, "&Frequently Asked Questions (FAQ)", "Answers to frequently asked questions", {},
         [this] { openHelpPage(strings::kFaqPage); }},
        {kServerInfo, "Info about &server configuration", "How server configurations find quotations", {},
         [this] { openHelpPage(strings::kServerInfoPage); }},
        {kAppAbout, "About &Tarvelo...", "Program information, version number and copyright", {},
         [this] { showAbout(); }},
    });

    QToolBar* bar = addToolBar(QStringLiteral("Standard"));
    bar->setObjectName(QStringLiteral("toolBar"));
    bar->setIconSize(QSize(16, 16));
    bar->setMovable(true);
    constexpr int kSeparator = CommandTable::kSeparator;
    m_commands->fillToolBar(*bar, {kFileNew, kFileOpen, kFileSave, kSeparator, kImportQuotations, kExport,
                                   kSeparator, kInsertItem, kSeparator, kEditCut, kEditCopy, kEditPaste, kSeparator,
                                   kManualQuotation, kSeparator, kUpdateAll, kAbortDownloads, kSeparator,
                                   kPercentValues, kSeparator, kCompareAll, kComparisonLimits, kSeparator,
                                   kFilePrintPreview, kFilePrint, kSeparator, kAppAbout});

    m_commands->fillMenuBar(
        *menuBar(),
        {
            {"&File", {kFileNew, kFileOpen, kFileSave, kFileSaveAs, kSeparator, kExport, kExportServers, kSeparator,
                       kFilePrint, kFilePrintPreview, kFilePrintSetup, kSeparator, kFileSendMail, kSeparator, m_files->recentMenu(),
                       kSeparator, kAppExit}},
            {"&Edit", {kEditUndo, kEditRedo, kSeparator, kEditCut, kEditCopy, kEditPaste, kSeparator, kCompareAll, kComparisonLimits}},
            {"&View", {kPercentValues, kChartLegend, kConnectionStatus, kSourceHealth, kSeparator, kTotals, kRefresh, kSeparator,
                       kSaveViewOptions, kSeparator, bar->toggleViewAction(), m_statusBar->toggleAction()}},
            {"&Item", {kInsertItem, kDeleteItem, kItemProperties, kShowQuotations, kSeparator, kUpdateQuotation,
                       kUpdateAll, kAbortDownloads, kManualQuotation, kTestUpdate, kSeparator, kOpenWebPage,
                       kImportQuotations}},
            {"&Tools", {kOptions, kServerConfigurations}},
            {"&Help", {kFaq, kServerInfo, kSeparator, kApplicationWebPage, kCheckServerUpdate, kSeparator,
                       kAppAbout}},
        },
        [this] { updateCommandStates(); });

    // The list's context menu has texts of its own for the same commands.
    m_contextMenu = m_commands->makeContextMenu({
        {kItemProperties, "&Properties"},
        {kShowQuotations, "Show &quotations"},
        {kUpdateQuotation, "&Update quotation"},
        {kManualQuotation, "&Manually update quotation"},
        {kTestUpdate, "&Test quotation &update"},
        {kOpenWebPage, "&Open web page"},
        {kImportQuotations, "&Import Quotations..."},
        {kDeleteItem, "&Delete item"},
    });
    m_contextMenu->setObjectName(QStringLiteral("listContextMenu"));

    // The chart's context menus: the item's chart settings over a history chart, the
    // comparison limits otherwise.
    QMenu* historyMenu = m_commands->makeContextMenu({{kGraphicProperties, strings::kChartProperties}});
    historyMenu->setObjectName(QStringLiteral("historyChartMenu"));
    QMenu* comparisonMenu = m_commands->makeContextMenu({{kComparisonLimits, strings::kComparisonProperties}});
    comparisonMenu->setObjectName(QStringLiteral("comparisonChartMenu"));
    for (QMenu* menu : {historyMenu, comparisonMenu})
        connect(menu, &QMenu::aboutToShow, this, &MainWindow::updateCommandStates);
    m_chart->setContextMenus(historyMenu, comparisonMenu);
}

} // namespace tarvelo
