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
        {kFileNew, QT_TRANSLATE_NOOP("Commands", "Ne&w"), QT_TRANSLATE_NOOP("Commands", "Create a new portfolio"), {QKeySequence::New}, [this] { newDocument(); }, idle},
        {kFileOpen, QT_TRANSLATE_NOOP("Commands", "&Open..."), QT_TRANSLATE_NOOP("Commands", "Open an existing portfolio"), {QKeySequence::Open}, [this] { openDocument(); },
         idle},
        {kFileSave, QT_TRANSLATE_NOOP("Commands", "&Save"), QT_TRANSLATE_NOOP("Commands", "Save the portfolio"), {QKeySequence::Save}, [this] { saveDocument(); }},
        {kFileSaveAs, QT_TRANSLATE_NOOP("Commands", "Save &As..."), QT_TRANSLATE_NOOP("Commands", "Save the portfolio with a new name"), {}, [this] { saveDocumentAs(); }},
        {kFilePrintPreview, QT_TRANSLATE_NOOP("Commands", "P&rint preview"), QT_TRANSLATE_NOOP("Commands", "Show the printed report of the marked items"), {},
         [this] { m_printing->preview(this); }, selected},
        {kFilePrint, QT_TRANSLATE_NOOP("Commands", "&Print..."), QT_TRANSLATE_NOOP("Commands", "Print the report of the marked items"), {key("Ctrl+P")},
         [this] { m_printing->print(this); }, selected},
        {kFilePrintSetup, QT_TRANSLATE_NOOP("Commands", "Prin&t Setup..."), QT_TRANSLATE_NOOP("Commands", "Choose the paper and its orientation"), {},
         [this] { m_printing->pageSetup(this); }},
        {kFileSendMail, strings::kSendMail, strings::kSendMailTip, {}, [this] { sendMail(); },
         [this] { return m_mail->available(); }},
        {kAppExit, QT_TRANSLATE_NOOP("Commands", "E&xit"), QT_TRANSLATE_NOOP("Commands", "Quit the program"), {}, [this] { close(); }},

        // Not while downloads run: their quotations become a step of their own when the
        // update is over.
        {kEditUndo, QT_TRANSLATE_NOOP("Commands", "&Undo"), QT_TRANSLATE_NOOP("Commands", "Take back the last change"), {key("Ctrl+Z")}, [this] { m_undo->undo(); },
         [this] { return m_undo->canUndo() && !updatesUnderWay(); }},
        {kEditRedo, QT_TRANSLATE_NOOP("Commands", "&Redo"), QT_TRANSLATE_NOOP("Commands", "Make the change taken back again"), {key("Ctrl+Shift+Z")}, [this] { m_undo->redo(); },
         [this] { return m_undo->canRedo() && !updatesUnderWay(); }},
        {kEditCut, QT_TRANSLATE_NOOP("Commands", "&Cut"), QT_TRANSLATE_NOOP("Commands", "Move the marked items to the clipboard"), {key("Ctrl+X"), key("Shift+Del")},
         [this] { m_items->cutItems(); }, selected},
        {kEditCopy, QT_TRANSLATE_NOOP("Commands", "C&opy"), QT_TRANSLATE_NOOP("Commands", "Copy the marked items to the clipboard"), {key("Ctrl+C"), key("Ctrl+Ins")},
         [this] { m_items->copyItems(); }, selected},
        {kEditPaste, QT_TRANSLATE_NOOP("Commands", "&Paste"), QT_TRANSLATE_NOOP("Commands", "Add the items on the clipboard"), {key("Ctrl+V"), key("Shift+Ins")},
         [this] { m_items->pasteItems(); }, [] { return ItemCommands::clipboardHasItems(); }},
        {kCompareAll, QT_TRANSLATE_NOOP("Commands", "Compare all"), QT_TRANSLATE_NOOP("Commands", "Mark all items and compare them in the chart"), {key("Ctrl+A")},
         [this] {
             m_list->selectAllOrOne(); // the chart follows the selection
             updateCommandStates();
         },
         [this] { return m_list->model()->rowCount() > 1; },
         [this] { return m_list->model()->rowCount() > 0 && m_list->allRowsSelected(); }},
        {kComparisonLimits, QT_TRANSLATE_NOOP("Commands", "Comparison limits"), QT_TRANSLATE_NOOP("Commands", "Set comparison chart limits"), {},
         [this] { m_chart->editComparisonLimits(); }},
        {kGraphicProperties, QT_TRANSLATE_NOOP("Commands", "&Properties"), QT_TRANSLATE_NOOP("Commands", "Change how the item's chart looks"), {},
         [this] { m_chart->showItemProperties(ItemPropertiesDialog::Graphic); },
         [this] { return static_cast<bool>(m_chart->chartedItem()); }},

        {kPercentValues, QT_TRANSLATE_NOOP("Commands", "Show &percentual values"), QT_TRANSLATE_NOOP("Commands", "Show changes in percent or as differences"), {},
         [this] {
             m_list->setPercentMode(!m_list->percentMode());
             m_doc.notifyViews();
         },
         {}, [this] { return m_list->percentMode(); }},
        {kConnectionStatus, QT_TRANSLATE_NOOP("Commands", "&Connection status"), QT_TRANSLATE_NOOP("Commands", "Show or hide the connection status window"), {},
         [this] { toggleConnectionStatus(); }, {}, [this] { return m_status->isVisible(); }},
        {kSourceHealth, QT_TRANSLATE_NOOP("Commands", "Source &health"), QT_TRANSLATE_NOOP("Commands", "List each item's last successful download and failed updates"), {},
         [this] { showSourceHealth(); }},
        {kChartLegend, QT_TRANSLATE_NOOP("Commands", "Chart &legend"),
         QT_TRANSLATE_NOOP("Commands", "Show the compared items' names in their colours above the comparison chart"),
         {}, [this] { m_chart->setLegendShown(!m_chart->legendShown()); }, {},
         [this] { return m_chart->legendShown(); }},
        {kSaveViewOptions, QT_TRANSLATE_NOOP("Commands", "S&ave view options"), QT_TRANSLATE_NOOP("Commands", "Keep window placement, columns and sort order"), {},
         [this] { saveViewOptions(); }},
        {kRefresh, QT_TRANSLATE_NOOP("Commands", "&Refresh"), QT_TRANSLATE_NOOP("Commands", "Show the portfolio anew"), {}, [this] { m_items->refresh(); }},
        {kTotals, QT_TRANSLATE_NOOP("Commands", "&Totals"), QT_TRANSLATE_NOOP("Commands", "Show the totals of the portfolio"), {}, [this] { m_items->showTotals(); }},

        {kInsertItem, QT_TRANSLATE_NOOP("Commands", "I&nsert new item"), QT_TRANSLATE_NOOP("Commands", "Add a new item to the portfolio"), {QKeySequence(Qt::Key_Insert)},
         [this] { m_items->insertNewItem(); }},
        {kDeleteItem, QT_TRANSLATE_NOOP("Commands", "&Delete item"), QT_TRANSLATE_NOOP("Commands", "Delete the marked items"), {QKeySequence::Delete},
         [this] { m_items->deleteSelectedItems(); }, selected},
        {kItemProperties, QT_TRANSLATE_NOOP("Commands", "&Properties"), QT_TRANSLATE_NOOP("Commands", "Change the item's settings"), {QKeySequence(Qt::Key_Return)},
         [this] { m_items->showProperties(ItemPropertiesDialog::General); },
         [this] {
             const ItemKey current = m_list->currentPosition();
             return m_list->hasFocusedRow() && !m_doc.isBeingUpdated(current);
         }},
        {kShowQuotations, QT_TRANSLATE_NOOP("Commands", "Show &quotations"), QT_TRANSLATE_NOOP("Commands", "Show the item's quotations"), {key("Ctrl+Q")},
         [this] { m_items->showProperties(ItemPropertiesDialog::Quotations); },
         [this] { return m_list->hasFocusedRow(); }},
        {kUpdateQuotation, QT_TRANSLATE_NOOP("Commands", "&Update quotation"), QT_TRANSLATE_NOOP("Commands", "Download the quotations of the marked items"), {key("Ctrl+I")},
         [this] { m_items->updateSelectedQuotations(); }, selected},
        {kUpdateAll, QT_TRANSLATE_NOOP("Commands", "Update &all quotations"), QT_TRANSLATE_NOOP("Commands", "Download the quotations of all items"), {key("Ctrl+U")},
         [this] { updateAllQuotations(); }, hasItems},
        {kAbortDownloads, QT_TRANSLATE_NOOP("Commands", "A&bort downloads"), QT_TRANSLATE_NOOP("Commands", "Stop all running downloads"), {}, [this] { abortDownloads(); },
         [this] { return updatesUnderWay() && !m_aborting; }},
        {kManualQuotation, QT_TRANSLATE_NOOP("Commands", "&Manually update quotation"), QT_TRANSLATE_NOOP("Commands", "Enter a quotation for the item by hand"), {key("Ctrl+M")},
         [this] { m_items->manuallyUpdateQuotation(); }, [this] { return m_list->hasFocusedRow(); }},
        {kTestUpdate, QT_TRANSLATE_NOOP("Commands", "&Test quotation &update"), QT_TRANSLATE_NOOP("Commands", "Download the item's quotation once and show it"), {key("Ctrl+T")},
         [this] { m_items->testQuotationUpdate(); }, selected},
        {kOpenWebPage, QT_TRANSLATE_NOOP("Commands", "&Open web page"), QT_TRANSLATE_NOOP("Commands", "Open the item's quotation page in the browser"), {key("Ctrl+G")},
         [this] { m_items->openWebPage(); }},
        {kImportQuotations, QT_TRANSLATE_NOOP("Commands", "&Import Quotations..."), QT_TRANSLATE_NOOP("Commands", "Import quotations of the item from a file or a web address"),
         {key("Ctrl+R")}, [this] { m_items->importQuotations(); }, [this] { return m_list->hasFocusedRow(); }},
        {kExport, QT_TRANSLATE_NOOP("Commands", "&Export..."), QT_TRANSLATE_NOOP("Commands", "Export the quotations to a text or spreadsheet file"), {key("Ctrl+E")},
         [this] { m_items->exportQuotations(); }, hasItems},

        {kOptions, QT_TRANSLATE_NOOP("Commands", "&Options..."), QT_TRANSLATE_NOOP("Commands", "Change the general options"), {}, [this] { showOptions(); }},
        {kServerConfigurations, QT_TRANSLATE_NOOP("Commands", "&Server configurations..."), QT_TRANSLATE_NOOP("Commands", "Make, change and delete server configurations"), {},
         [this] { showServerConfigurations(); }},
        {kExportServers, QT_TRANSLATE_NOOP("Commands", "Export server &configuration..."), QT_TRANSLATE_NOOP("Commands", "Save all server configurations to a registry file"), {},
         [this] { exportServerConfigurations(); }},

        {kApplicationWebPage, QT_TRANSLATE_NOOP("Commands", "&Application web page"), QT_TRANSLATE_NOOP("Commands", "Open the program's web page"), {},
         [] { openHelpPage(strings::kHomePage); }},
        {kCheckServerUpdate, QT_TRANSLATE_NOOP("Commands", "&Check server configuration update availability..."),
         QT_TRANSLATE_NOOP("Commands", "Look for newer server configurations on the program's web page"), {},
         [this] { ServerConfigurationsWindow::chooseReadyMade(this); }},
        {kFaq, QT_TRANSLATE_NOOP("Commands", "&Frequently Asked Questions (FAQ)"), QT_TRANSLATE_NOOP("Commands", "Answers to frequently asked questions"), {},
         [this] { openHelpPage(strings::kFaqPage); }},
        {kServerInfo, QT_TRANSLATE_NOOP("Commands", "Info about &server configuration"), QT_TRANSLATE_NOOP("Commands", "How server configurations find quotations"), {},
         [this] { openHelpPage(strings::kServerInfoPage); }},
        {kAppAbout, QT_TRANSLATE_NOOP("Commands", "About &Tarvelo..."), QT_TRANSLATE_NOOP("Commands", "Program information, version number and copyright"), {},
         [this] { showAbout(); }},
    });

    QToolBar* bar = addToolBar(tr("Standard"));
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
            {QT_TRANSLATE_NOOP("Commands", "&File"), {kFileNew, kFileOpen, kFileSave, kFileSaveAs, kSeparator, kExport, kExportServers, kSeparator,
                       kFilePrint, kFilePrintPreview, kFilePrintSetup, kSeparator, kFileSendMail, kSeparator, m_files->recentMenu(),
                       kSeparator, kAppExit}},
            {QT_TRANSLATE_NOOP("Commands", "&Edit"), {kEditUndo, kEditRedo, kSeparator, kEditCut, kEditCopy, kEditPaste, kSeparator, kCompareAll, kComparisonLimits}},
            {QT_TRANSLATE_NOOP("Commands", "&View"), {kPercentValues, kChartLegend, kConnectionStatus, kSourceHealth, kSeparator, kTotals, kRefresh, kSeparator,
                       kSaveViewOptions, kSeparator, bar->toggleViewAction(), m_statusBar->toggleAction()}},
            {QT_TRANSLATE_NOOP("Commands", "&Item"), {kInsertItem, kDeleteItem, kItemProperties, kShowQuotations, kSeparator, kUpdateQuotation,
                       kUpdateAll, kAbortDownloads, kManualQuotation, kTestUpdate, kSeparator, kOpenWebPage,
                       kImportQuotations}},
            {QT_TRANSLATE_NOOP("Commands", "&Tools"), {kOptions, kServerConfigurations}},
            {QT_TRANSLATE_NOOP("Commands", "&Help"), {kFaq, kServerInfo, kSeparator, kApplicationWebPage, kCheckServerUpdate, kSeparator,
                       kAppAbout}},
        },
        [this] { updateCommandStates(); });

    // The list's context menu has texts of its own for the same commands.
    m_contextMenu = m_commands->makeContextMenu({
        {kItemProperties, QT_TRANSLATE_NOOP("Commands", "&Properties")},
        {kShowQuotations, QT_TRANSLATE_NOOP("Commands", "Show &quotations")},
        {kUpdateQuotation, QT_TRANSLATE_NOOP("Commands", "&Update quotation")},
        {kManualQuotation, QT_TRANSLATE_NOOP("Commands", "&Manually update quotation")},
        {kTestUpdate, QT_TRANSLATE_NOOP("Commands", "&Test quotation &update")},
        {kOpenWebPage, QT_TRANSLATE_NOOP("Commands", "&Open web page")},
        {kImportQuotations, QT_TRANSLATE_NOOP("Commands", "&Import Quotations...")},
        {kDeleteItem, QT_TRANSLATE_NOOP("Commands", "&Delete item")},
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
