#include "ui/mainwindow.h"

#include "download/downloadengine.h"
#include "model/archive.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "resources/commandids.h"
#include "ui/connectionstatuswindow.h"
#include "ui/downloadhub.h"
#include "ui/manualquotationdialog.h"
#include "ui/itemcommands.h"
#include "ui/portfoliolistview.h"

#include "tests/support/pageitems.h"
#include "tests/support/pageserver.h"
#include "tests/support/recordingshell.h"
#include "tests/support/scopedtimezone.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/waitfor.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include <QTabWidget>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSignalSpy>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <algorithm>
#include <clocale>
#include <filesystem>
#include <map>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

using namespace commands;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::setlocale(LC_ALL, "C");
        for (const char* section : {"Dimensions", "Columns", "SortColumn", "SortReverse", "ProcentualValue",
                                    "Recent File List"})
            Profile().deleteKey(section);
        Prompter::install(&m_prompter);
        Shell::install(&m_shell);
        m_folder = fs::temp_directory_path() / "mainframe-test";
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_page = (m_folder / "page.html").string();
        ASSERT_EQ(writeWholeFile(m_page, "<p>Kurs ABC: <b>22,65</b> Kurs XYZ: <b>7,5</b></p>"), FileError::None);
        m_options.hour1 = 9;
        m_options.minute1 = 30;
        m_options.hour2 = 18;
        m_options.minute2 = 30;
    }
    void TearDown() override
    {
        m_frame.reset(); // stops the downloads and settles their messages first
        Prompter::install(nullptr);
        Shell::install(nullptr);
        fs::remove_all(m_folder);
    }
    MainWindow& window(bool unattended = false)
    {
        m_frame = std::make_unique<MainWindow>(m_doc, m_options, m_engine, unattended);
        m_frame->setClock([this] { return m_now; });
        return *m_frame;
    }
    ItemKey add(const char* name, const char* symbol, const std::string& url = {})
    {
        return addTo(m_doc, name, symbol, url);
    }
    ItemKey addTo(PortfolioDocument& doc, const char* name, const char* symbol, const std::string& url = {})
    {
        return doc.addItem(test::pageItemSettings(name, symbol, url.empty() ? "file://" + m_page : url));
    }
    bool idle()
    {
        return test::waitFor(
            [this] { return !m_doc.anyBeingUpdated() && m_frame->downloadHub()->runningUpdates() == 0; });
    }
    static TimeStamp at(int hour, int minute, int second = 0)
    {
        return makeLocalTime(2026, 12, 8, hour, minute, second);
    }

    test::ScopedTimeZone m_zone{"UTC"}; // before m_now, which is local time
    test::ScriptedPrompter m_prompter;
    test::RecordingShell m_shell;
    fs::path m_folder;
    std::string m_page;
    PortfolioDocument m_doc;
    GeneralOptions m_options;
    DownloadEngine m_engine;
    TimeStamp m_now = makeLocalTime(2026, 12, 8, 10, 10);
    std::unique_ptr<MainWindow> m_frame;
};

// A local web server whose "/slow" page answers only once the test releases it.
class SlowServer : public test::PageServer {
public:
    SlowServer()
    {
        handle("/slow", [this](const httplib::Request&, httplib::Response& response) {
            waitForRelease();
            response.set_content("<p>Kurs ABC: <b>31,5</b></p>", "text/html");
        });
    }
};

TEST_F(MainWindowTest, ToolbarStatusBarAndSplitterAreLaidOutAsStored)
{
    Profile().writeInt("Dimensions", "ListView", 220);
    MainWindow& frame = window();
    ASSERT_NE(frame.findChild<QToolBar*>(QStringLiteral("toolBar")), nullptr);
    EXPECT_EQ(frame.splitter()->widget(0), frame.listView());
    EXPECT_EQ(frame.splitter()->widget(1), frame.chartView());
    frame.resize(800, 600);
    frame.show();
    EXPECT_EQ(frame.splitter()->sizes().value(0), 220);
    EXPECT_EQ(frame.action(kUpdateQuotation)->shortcut(), QKeySequence(QStringLiteral("Ctrl+I")));
    EXPECT_EQ(frame.clockPaneText().toStdString(), formatLocalTime(m_now, "%X"));
    EXPECT_EQ(frame.amountPaneText(), "Amount invested: 0.00");
    EXPECT_EQ(frame.downloadPaneText(), "");
    EXPECT_EQ(frame.windowTitle(), "Untitled[*] - Tarvelo");

    if (const char* folder = std::getenv("TARVELO_SCREENSHOTS")) {
        add("Nordwind Energie", "NWE");
        frame.grab().save(QString::fromUtf8(folder) + QStringLiteral("/mainframe-empty.png"));
    }
}

TEST_F(MainWindowTest, AutomaticUpdateRunsOnlyInsideTheDailyWindow)
{
    const ItemKey item = add("Alpha", "ABC");
    MainWindow& frame = window();
    EXPECT_TRUE(frame.updateTimerActive());

    const auto tickAt = [&](TimeStamp when) {
        m_now = when;
        frame.onUpdateTimer();
        const bool started = m_doc.isBeingUpdated(item);
        EXPECT_TRUE(idle());
        return started;
    };
    EXPECT_FALSE(tickAt(at(8, 45)));
    EXPECT_TRUE(tickAt(at(9, 30, 0)));
    EXPECT_TRUE(tickAt(at(18, 30, 0)));
    EXPECT_FALSE(tickAt(at(18, 30, 1)));
    // Both updates read the same page, stamped by the clock: one that reads it within
    // the same second as the other adds nothing new.
    EXPECT_FALSE(m_doc.quotations(item)->empty());
    EXPECT_LE(m_doc.quotations(item)->size(), 2u);
    EXPECT_DOUBLE_EQ(m_doc.quotations(item)->back().value, 22.65);

    // A window that ends before it starts never holds.
    m_options.hour1 = 22;
    m_options.minute1 = 0;
    m_options.hour2 = 6;
    m_options.minute2 = 0;
    EXPECT_FALSE(tickAt(at(23, 0)));
    EXPECT_FALSE(tickAt(at(3, 0)));
    // Without the window every tick updates.
    m_options.autoupdateTime = 0;
    EXPECT_TRUE(tickAt(at(3, 0)));
}

TEST_F(MainWindowTest, AnUpdateRestartsTheIntervalAndTheTimerFollowsTheOption)
{
    add("Alpha", "ABC");
    m_options.updateInterval = 60;
    MainWindow& frame = window();
    frame.startUpdateTimer(5); // as if 55 of 60 minutes had passed
    EXPECT_LE(frame.updateTimerRemaining(), 5 * 60000 + 1000);
    frame.updateAllQuotations();
    EXPECT_GT(frame.updateTimerRemaining(), 59 * 60000);
    EXPECT_TRUE(idle());

    frame.startUpdateTimer(0);
    EXPECT_FALSE(frame.updateTimerActive());
    m_options.autoupdate = 0;
    frame.updateAllQuotations();
    EXPECT_FALSE(frame.updateTimerActive());
    EXPECT_TRUE(idle());
    // A period the timer cannot hold is refused with a message.
    frame.startUpdateTimer(40000);
    EXPECT_FALSE(frame.updateTimerActive());
    EXPECT_EQ(m_prompter.shown.back(), "Timer error!");
}

TEST_F(MainWindowTest, RunningDownloadsShowInThePaneAndLockNewAndOpen)
{
    SlowServer server;
    // Two distinct addresses, two jobs: as many as one host serves at once.
    for (const char* name : {"A", "B"})
        add(name, "ABC", server.url("/slow") + "?" + name);
    MainWindow& frame = window();
    EXPECT_FALSE(frame.action(kAbortDownloads)->isEnabled()); // nothing runs: abort does nothing
    frame.abortDownloads();
    EXPECT_FALSE(m_engine.abortRequested());

    EXPECT_EQ(frame.updateAllQuotations(), 2);
    ASSERT_TRUE(test::waitFor([&] { return frame.downloadHub()->runningUpdates() == 2; }));
    EXPECT_EQ(frame.downloadPaneText(), "2 Quotations beeing updated");
    const int widest = frame.findChild<QLabel*>(QStringLiteral("downloadPane"))->minimumWidth();
    EXPECT_FALSE(frame.action(kFileNew)->isEnabled());
    EXPECT_FALSE(frame.action(kFileOpen)->isEnabled());
    EXPECT_FALSE(frame.newDocument());
    EXPECT_TRUE(frame.action(kAbortDownloads)->isEnabled());
    EXPECT_TRUE(frame.connectionStatus()->isVisible());
    EXPECT_TRUE(frame.action(kConnectionStatus)->isChecked());

    server.release();
    ASSERT_TRUE(idle());
    EXPECT_EQ(frame.downloadPaneText(), "");
    // The pane keeps its width once it has grown.
    EXPECT_EQ(frame.findChild<QLabel*>(QStringLiteral("downloadPane"))->minimumWidth(), widest);
    EXPECT_TRUE(frame.action(kFileNew)->isEnabled());
    EXPECT_EQ(frame.connectionStatus()->windowTitle(), "[Untitled] - Connections");
    for (const ItemKey pos : m_doc.itemPositions())
        EXPECT_DOUBLE_EQ(m_doc.quotations(pos)->back().value, 31.5);
}

TEST_F(MainWindowTest, AbortStopsTheDownloadsAndSaysSoInTheStatusWindow)
{
    SlowServer server;
    const ItemKey item = add("A", "ABC", server.url("/slow"));
    MainWindow& frame = window();
    frame.updateAllQuotations();
    ASSERT_TRUE(test::waitFor([&] { return frame.downloadHub()->runningUpdates() == 1; }));
    frame.abortDownloads();
    EXPECT_EQ(frame.connectionStatus()->windowTitle(), "[Untitled] - Abort connections...");
    EXPECT_FALSE(frame.action(kAbortDownloads)->isEnabled());
    EXPECT_TRUE(m_engine.abortRequested());
    server.release();
    ASSERT_TRUE(idle());
    EXPECT_FALSE(m_engine.abortRequested());
    EXPECT_TRUE(m_doc.quotations(item)->empty()); // an aborted quotation is not applied
}

TEST_F(MainWindowTest, NotificationTipFollowsTheRunningCount)
{
    EXPECT_EQ(MainWindow::notificationTip("Depot.qvx", 3), "Depot.qvx (3 Downloads)");
    EXPECT_EQ(MainWindow::notificationTip("Depot.qvx", 1), "Depot.qvx (1 Download)");
    EXPECT_EQ(MainWindow::notificationTip("Depot.qvx", 0), "Depot.qvx (End)");
    EXPECT_EQ(MainWindow::notificationTip("Depot.qvx", -1), "Depot.qvx (End)");
    EXPECT_EQ(MainWindow::notificationTip("100%1.qvx", 2), "100%1.qvx (2 Downloads)");
    const QString longTitle(70, QLatin1Char('x'));
    EXPECT_EQ(MainWindow::notificationTip(longTitle, 2), QString(63, QLatin1Char('x')));
}

TEST_F(MainWindowTest, UnattendedModeSavesThePortfolioOnceTheUpdatesAreOver)
{
    // Two items on two pages, but one download slot: the second job waits while the
    // first runs, so the running count comes back to 0 before the second starts.
    DownloadEngine engine(1);
    PortfolioDocument doc;
    const std::string second = (m_folder / "second.html").string();
    ASSERT_EQ(writeWholeFile(second, "<p>Kurs XYZ: <b>8,25</b></p>"), FileError::None);
    addTo(doc, "A", "ABC");
    addTo(doc, "B", "XYZ", "file://" + second);
    const std::string path = (m_folder / "unattended.qvx").string();
    ASSERT_TRUE(doc.saveFile(path).ok());
    MainWindow frame(doc, m_options, engine, true);
    int finished = 0;
    std::vector<int> counts;
    QObject::connect(&frame, &MainWindow::unattendedFinished, [&] { ++finished; });
    QObject::connect(frame.downloadHub(), &DownloadHub::runningUpdatesChanged, [&](int n) { counts.push_back(n); });
    frame.showNotificationIcon();
    EXPECT_EQ(frame.notificationTip(), QString::fromStdString(path).left(63));
    EXPECT_EQ(frame.updateAllQuotations(), 2);
    ASSERT_TRUE(test::waitFor([&] { return finished > 0; }));
    EXPECT_EQ(counts, (std::vector<int>{1, 0, 1, 0}));
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(frame.exitCode(), 0);
    EXPECT_EQ(frame.notificationTip(), "unattended.qvx (End)");
    EXPECT_FALSE(frame.connectionStatus()->isVisible()); // unattended: never shown
    const LoadResult saved = loadPortfolioFile(path);
    ASSERT_TRUE(saved.ok());
    ASSERT_EQ(saved->items.size(), 2u);
    EXPECT_EQ(saved->items[0]->history().size(), 1u);
    EXPECT_EQ(saved->items[1]->history().size(), 1u);
    EXPECT_FALSE(doc.isModified());
}

TEST_F(MainWindowTest, ViewOptionsKeepThePlacementOnlyWhenItIsOnTheScreen)
{
    {
        MainWindow& frame = window();
        frame.setGeometry(40, 50, 700, 500);
        frame.saveViewOptions();
    }
    EXPECT_EQ(Profile().getText("Dimensions", "MainWindow", ""), "40,50,740,550");
    EXPECT_TRUE(Profile().readInt("Dimensions", "ListView").has_value());
    EXPECT_TRUE(Profile().readText("Columns", "ListView").has_value());
    EXPECT_TRUE(Profile().readText("Columns", "ConnectionDialog").has_value());
    {
        MainWindow& frame = window();
        EXPECT_EQ(frame.geometry(), QRect(40, 50, 700, 500));
        frame.setGeometry(0, 50, 700, 500); // at the screen's edge: not kept
        frame.saveViewOptions();
    }
    EXPECT_EQ(Profile().getText("Dimensions", "MainWindow", ""), "40,50,740,550");
    // A stored value that is not four numbers leaves the placement to the system.
    Profile().writeText("Dimensions", "MainWindow", "40,50,zz");
    EXPECT_NE(window().geometry(), QRect(40, 50, 700, 500));

    // A place stored on a larger screen shrinks into this one's available part; one
    // standing out of it, or off every screen, moves in at its size.
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_LT(available.width(), 3120);
    Profile().writeText("Dimensions", "MainWindow", "100,80,3220,1960");
    EXPECT_EQ(window().geometry(), available);
    const QPoint end = available.bottomRight();
    Profile().writeText("Dimensions", "MainWindow",
                        QStringLiteral("%1,100,%2,400").arg(end.x() - 100).arg(end.x() + 300).toStdString());
    EXPECT_EQ(window().geometry(), QRect(end.x() + 1 - 400, 100, 400, 300));
    Profile().writeText("Dimensions", "MainWindow", "5000,4000,5400,4300");
    const QRect moved = window().geometry();
    EXPECT_EQ(moved.size(), QSize(400, 300));
    EXPECT_TRUE(available.contains(moved)) << moved.x() << "," << moved.y();
}

TEST_F(MainWindowTest, TheHelpMenuStaysInTheProgram)
{
    MainWindow& frame = window();
    // The program's page is its own start page in the help viewer, never an address.
    frame.action(kApplicationWebPage)->trigger();
    ASSERT_EQ(m_shell.opened.size(), 1u);
    const QUrl home(QString::fromStdString(m_shell.opened[0]));
    EXPECT_TRUE(home.isLocalFile());
    EXPECT_EQ(home.fileName(), QStringLiteral("Tarvelo.html"));
    // The update check offers the ready-made configurations.
    QString shown;
    m_prompter.dialogs.push_back([&](QDialog& dialog) {
        shown = dialog.objectName();
        return static_cast<int>(QDialog::Rejected);
    });
    frame.action(kCheckServerUpdate)->trigger();
    EXPECT_EQ(shown, QStringLiteral("catalogDialog"));
    EXPECT_EQ(m_shell.opened.size(), 1u);
}

TEST_F(MainWindowTest, PortfolioFilesOpenSaveAndAskBeforeChangesAreLost)
{
    MainWindow& frame = window();
    add("Alpha", "ABC");
    const QString first = QString::fromStdString((m_folder / "first.qvx").string());
    m_prompter.files.push_back(first);
    m_prompter.answers.push_back(Prompter::Yes); // save changes to Untitled? yes
    EXPECT_TRUE(frame.newDocument());
    EXPECT_EQ(m_prompter.shown.front(), "Save changes to Untitled?");
    EXPECT_TRUE(fs::exists(first.toStdString()));
    EXPECT_EQ(m_doc.itemCount(), 0u);

    // Cancel keeps the changed portfolio; No drops it.
    add("Beta", "XYZ");
    m_prompter.answers.push_back(Prompter::Cancel);
    EXPECT_FALSE(frame.openDocument(first));
    EXPECT_EQ(m_doc.itemCount(), 1u);
    m_prompter.answers.push_back(Prompter::No);
    EXPECT_TRUE(frame.openDocument(first));
    EXPECT_EQ(m_doc.itemName(m_doc.itemPositions().front()), "Alpha");
    EXPECT_EQ(frame.windowTitle(), "first.qvx[*] - Tarvelo");
    EXPECT_EQ(Profile().readText("Recent File List", "File1").value_or(""), first.toStdString());

    // A damaged file is refused with a message that names it, and the open portfolio stays.
    const std::string damaged = (m_folder / "damaged.qvx").string();
    ASSERT_EQ(writeWholeFile(damaged, std::string("\x01\x00\xFF\xFF", 4)), FileError::None);
    EXPECT_FALSE(frame.openDocument(QString::fromStdString(damaged)));
    EXPECT_EQ(m_prompter.shown.back().toStdString(), damaged + "\nUnexpected file format.");
    // A message that names the file already stays as it is.
    const std::string missing = (m_folder / "missing.csv").string();
    EXPECT_FALSE(frame.openDocument(QString::fromStdString(missing)));
    EXPECT_EQ(m_prompter.shown.back(), QString::fromStdString(missing)
                                           + "\nCannot find this file.\nPlease verify that the correct path and file "
                                             "name are given.");
    EXPECT_EQ(m_doc.itemCount(), 1u);
    EXPECT_EQ(m_doc.filePath(), first.toStdString());

    // Saving on exit without asking.
    m_doc.insertQuotation(m_doc.itemPositions().front(), 5.0, m_now);
    m_options.autosaveOnExit = 1;
    const auto asked = m_prompter.shown.size();
    EXPECT_TRUE(frame.close());
    EXPECT_EQ(m_prompter.shown.size(), asked);
    EXPECT_FALSE(m_doc.isModified());
    const LoadResult saved = loadPortfolioFile(first.toStdString());
    ASSERT_TRUE(saved.ok());
    EXPECT_EQ(saved->items.front()->history().size(), 1u);
}

TEST_F(MainWindowTest, ItemCommandsOfTheList)
{
    const ItemKey alpha = add("Alpha", "ABC");
    add("Beta", "XYZ");
    MainWindow& frame = window();
    PortfolioListView& list = *frame.listView();
    list.setCurrentIndex(list.model()->index(0, 0));
    frame.updateCommandStates();
    EXPECT_TRUE(frame.action(kDeleteItem)->isEnabled());
    // Properties opens the sheet on its first page, except while the item is being updated;
    // Show quotations opens it on the Quotations page.
    EXPECT_TRUE(frame.action(kItemProperties)->isEnabled());
    std::vector<int> pages;
    const auto sheetPage = [&pages](QDialog& dialog) {
        pages.push_back(dialog.findChild<QTabWidget*>(QStringLiteral("pages"))->currentIndex());
        return static_cast<int>(QDialog::Rejected);
    };
    m_prompter.dialogs = {sheetPage, sheetPage};
    frame.action(kItemProperties)->trigger();
    frame.action(kShowQuotations)->trigger();
    EXPECT_EQ(pages, (std::vector<int>{0, 1}));
    m_doc.markBeingUpdated(alpha);
    frame.updateCommandStates();
    EXPECT_FALSE(frame.action(kItemProperties)->isEnabled());
    EXPECT_TRUE(frame.action(kShowQuotations)->isEnabled());
    m_doc.clearBeingUpdated(alpha);

    // Open web page: the item's address with its name and symbol.
    m_doc.replaceItemSettings(alpha, [&] {
        ItemSettings s = m_doc.item(alpha)->settings();
        s.server.url = "http://quotes.example/q?s=[&symbol]&n=[&name]";
        return s;
    }());
    list.setCurrentIndex(list.model()->index(0, 0));
    frame.action(kOpenWebPage)->trigger();
    ASSERT_EQ(m_shell.opened.size(), 1u);
    EXPECT_EQ(m_shell.opened[0], "http://quotes.example/q?s=ABC&n=Alpha");

    // Manually update quotation: the dialog's value and time.
    m_prompter.dialogs.push_back([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("valueEdit"))->setText(QStringLiteral("12.5"));
        dialog.accept();
        return dialog.result();
    });
    frame.action(kManualQuotation)->trigger();
    ASSERT_EQ(m_doc.quotations(alpha)->size(), 1u);
    EXPECT_DOUBLE_EQ(m_doc.quotations(alpha)->front().value, 12.5);
    EXPECT_EQ(m_doc.quotations(alpha)->front().time / 60, m_now / 60);

    // Totals in a message box, as in the amount pane.
    frame.action(kTotals)->trigger();
    EXPECT_EQ(m_prompter.shown.back(), frame.amountPaneText());

    // Compare all selects every row, then all but the focused one.
    frame.action(kCompareAll)->trigger();
    EXPECT_TRUE(list.allRowsSelected());
    EXPECT_TRUE(frame.action(kCompareAll)->isChecked());
    frame.action(kCompareAll)->trigger();
    EXPECT_EQ(list.selectedPositions().size(), 1u);

    // Copy and paste bring a renamed copy.
    frame.action(kEditCopy)->trigger();
    frame.updateCommandStates();
    EXPECT_TRUE(frame.action(kEditPaste)->isEnabled());
    frame.action(kEditPaste)->trigger();
    EXPECT_EQ(m_doc.itemCount(), 3u);
    EXPECT_EQ(m_doc.itemName(m_doc.itemPositions().back()), "Copy of Alpha");

    // Delete asks; No keeps the item.
    list.clearSelection();
    list.setCurrentIndex(list.model()->index(0, 0));
    m_prompter.answers.push_back(Prompter::No);
    frame.action(kDeleteItem)->trigger();
    EXPECT_EQ(m_prompter.shown.back(), "Do you really want to delete the marked items?");
    EXPECT_EQ(m_doc.itemCount(), 3u);
    m_prompter.answers.push_back(Prompter::Yes);
    frame.action(kDeleteItem)->trigger();
    EXPECT_EQ(m_doc.itemCount(), 2u);

    // Update quotation without a selection.
    list.clearSelection();
    frame.itemCommands()->updateSelectedQuotations();
    EXPECT_EQ(m_prompter.shown.back(), "No items!");
}

TEST_F(MainWindowTest, AcceleratorsReachTheCommandsFromTheList)
{
    add("Alpha", "ABC");
    add("Beta", "XYZ");
    MainWindow& frame = window();
    frame.show();
    QApplication::setActiveWindow(&frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    PortfolioListView& list = *frame.listView();
    list.setFocus();
    list.setCurrentIndex(list.model()->index(0, 0));
    QTest::keyClick(&list, Qt::Key_A, Qt::ControlModifier); // Compare all, not the list's own select-all
    EXPECT_TRUE(list.allRowsSelected());
    QTest::keyClick(&list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(list.selectedPositions().size(), 1u);
    QTest::keyClick(&list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(ItemCommands::clipboardHasItems());
    m_prompter.answers.push_back(Prompter::Yes);
    QTest::keyClick(&list, Qt::Key_Delete);
    EXPECT_EQ(m_doc.itemCount(), 1u);
}

TEST_F(MainWindowTest, OpeningThroughTheDialogAsksOnceAboutChanges)
{
    const std::string other = (m_folder / "other.qvx").string();
    {
        PortfolioDocument saved;
        addTo(saved, "Other", "OTH");
        ASSERT_TRUE(saved.saveFile(other).ok());
    }
    MainWindow& frame = window();
    add("Alpha", "ABC");
    m_prompter.files.push_back(QString::fromStdString(other));
    m_prompter.answers.push_back(Prompter::No);
    EXPECT_TRUE(frame.openDocument());
    EXPECT_EQ(m_prompter.shown, (QStringList{"Open", "Save changes to Untitled?"}));
    EXPECT_EQ(m_doc.itemName(m_doc.itemPositions().front()), "Other");
}

TEST_F(MainWindowTest, AFileDroppedOnTheWindowIsOpened)
{
    const std::string dropped = (m_folder / "dropped.qvx").string();
    {
        PortfolioDocument saved;
        addTo(saved, "Dropped", "DRP");
        ASSERT_TRUE(saved.saveFile(dropped).ok());
    }
    MainWindow& frame = window();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dropped))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &drop);
    ASSERT_TRUE(test::waitFor([&] { return m_doc.filePath() == dropped; }));
    EXPECT_EQ(m_doc.itemName(m_doc.itemPositions().front()), "Dropped");

    // Anything but a local file is refused.
    QMimeData text;
    text.setText(QStringLiteral("hello"));
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QCoreApplication::sendEvent(&frame, &refused);
    EXPECT_FALSE(refused.isAccepted());
}

TEST_F(MainWindowTest, NoTwoCommandsShareAKey)
{
    MainWindow& frame = window();
    std::map<QString, QString> owner;
    for (const QAction* a : frame.findChildren<QAction*>()) {
        for (const QKeySequence& key : a->shortcuts()) {
            const QString text = key.toString();
            const auto [it, fresh] = owner.emplace(text, a->text());
            EXPECT_TRUE(fresh) << text.toStdString() << ": " << it->second.toStdString() << " and "
                               << a->text().toStdString();
        }
    }
    EXPECT_EQ(owner.count(QStringLiteral("Ctrl+Q")), 1u);
}

// Every action of the menu bar, its submenus included.
std::vector<QAction*> menuActions(const QMenuBar& bar)
{
    std::vector<QAction*> all;
    std::vector<const QWidget*> pending{&bar};
    while (!pending.empty()) {
        const QWidget* menu = pending.back();
        pending.pop_back();
        for (QAction* a : menu->actions()) {
            if (a->isSeparator())
                continue;
            if (a->menu())
                pending.push_back(a->menu());
            else
                all.push_back(a);
        }
    }
    return all;
}

QString withoutMnemonics(QString text)
{
    return text.remove(QLatin1Char('&'));
}

// The toolbar buttons are menu commands, and the context menu entries say and do what
// their menu commands say and do; both follow the commands' enabled state.
TEST_F(MainWindowTest, ToolbarAndContextMenuMirrorTheMenus)
{
    add("Alpha", "ABC");
    add("Beta", "XYZ");
    MainWindow& frame = window();
    frame.show();
    const std::vector<QAction*> inMenus = menuActions(*frame.menuBar());
    const auto menuCommand = [&](int command) -> QAction* {
        for (QAction* a : inMenus) {
            if (a->data().toInt() == command)
                return a;
        }
        return nullptr;
    };
    const auto* bar = frame.findChild<QToolBar*>(QStringLiteral("toolBar"));
    const auto* context = frame.findChild<QMenu*>(QStringLiteral("listContextMenu"));
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(context, nullptr);

    const auto checkFollowTheMenus = [&] {
        int buttons = 0;
        bool someDisabled = false;
        for (QAction* a : bar->actions()) {
            if (a->isSeparator() || a == bar->toggleViewAction())
                continue;
            ++buttons;
            SCOPED_TRACE(a->toolTip().toStdString());
            EXPECT_NE(std::find(inMenus.begin(), inMenus.end(), a), inMenus.end()) << "not in the menus";
            EXPECT_FALSE(a->icon().isNull());
            EXPECT_EQ(a->toolTip(), withoutMnemonics(a->text()).remove(QStringLiteral("...")));
            const QWidget* button = bar->widgetForAction(a);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->isEnabled(), a->isEnabled());
            someDisabled = someDisabled || !a->isEnabled();
        }
        EXPECT_GT(buttons, 10);
        EXPECT_TRUE(someDisabled); // the commands whose windows are not there yet
        int entries = 0;
        for (QAction* entry : context->actions()) {
            if (entry->isSeparator())
                continue;
            ++entries;
            SCOPED_TRACE(entry->text().toStdString());
            const QAction* command = menuCommand(entry->data().toInt());
            ASSERT_NE(command, nullptr) << "not in the menus";
            EXPECT_EQ(withoutMnemonics(entry->text()), withoutMnemonics(command->text()));
            EXPECT_EQ(entry->statusTip(), command->statusTip());
            EXPECT_EQ(entry->isEnabled(), command->isEnabled());
        }
        EXPECT_GT(entries, 5);
    };
    PortfolioListView& list = *frame.listView();
    list.clearSelection();
    frame.updateCommandStates();
    ASSERT_FALSE(frame.action(kDeleteItem)->isEnabled());
    checkFollowTheMenus();
    list.setCurrentIndex(list.model()->index(0, 0));
    frame.updateCommandStates();
    ASSERT_TRUE(frame.action(kDeleteItem)->isEnabled());
    checkFollowTheMenus();

    // Choosing an enabled entry runs its menu command, exactly once.
    for (QAction* entry : context->actions()) {
        if (entry->isSeparator() || !entry->isEnabled())
            continue;
        SCOPED_TRACE(entry->text().toStdString());
        QSignalSpy ran(menuCommand(entry->data().toInt()), &QAction::triggered);
        entry->trigger();
        EXPECT_EQ(ran.count(), 1);
        ASSERT_TRUE(idle());
    }
    EXPECT_EQ(m_doc.itemCount(), 2u); // the delete question was answered No
}

// The quotation export in the real file dialog: a name typed without extension takes
// that of the filter chosen, which so decides the file's type; a typed extension decides
// whatever the filter.
TEST_F(MainWindowTest, QuotationsAreExportedAsTheChosenFilterSays)
{
    add("Alpha", "ABC");
    MainWindow& frame = window();
    frame.updateCommandStates();
    ASSERT_TRUE(frame.action(kExport)->isEnabled());
    Prompter::install(nullptr);
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    const struct {
        int filter; // 0 "Excel Files (*.xls)", 1 "Text Files (*.txt)"
        const char* typed;
        const char* written;
        bool sheet;
    } cases[] = {
        {1, "plain", "plain.txt", false},
        {0, "plain", "plain.xls", true},
        {1, "typed.xls", "typed.xls", true},
        {0, "notes.csv", "notes.csv", false},
    };
    for (const auto& c : cases) {
        // The dialog is answered from its own event loop, as a user would, by keyboard.
        QTimer answer;
        answer.setInterval(10);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            answer.stop();
            dialog->setDirectory(QString::fromStdString(m_folder.string()));
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            ASSERT_NE(types, nullptr);
            types->setFocus();
            while (types->currentIndex() != c.filter)
                QTest::keyClick(types, types->currentIndex() < c.filter ? Qt::Key_Down : Qt::Key_Up);
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(QString::fromLatin1(c.typed));
            QTest::keyClick(name, Qt::Key_Return);
        });
        answer.start();
        frame.action(kExport)->trigger();
        std::string bytes;
        ASSERT_EQ(readWholeFile((m_folder / c.written).string(), bytes), FileError::None) << c.written;
        if (c.sheet) {
            EXPECT_EQ(bytes.substr(0, 4), std::string("\x09\x00\x04\x00", 4)) << c.written;
        } else {
            EXPECT_EQ(bytes.rfind("\"Alpha\" (ABC)\r\n", 0), 0u) << c.written;
        }
        fs::remove(m_folder / c.written);
    }
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, false);
    Prompter::install(&m_prompter);
}

TEST_F(MainWindowTest, ServerConfigurationsAreExportedToTheChosenFile)
{
    MainWindow& frame = window();
    const std::string file = (m_folder / "Server.reg").string();
    m_prompter.files.push_back(QString::fromStdString(file));
    frame.action(kExportServers)->trigger();
    std::string text;
    ASSERT_EQ(readWholeFile(file, text), FileError::None);
    EXPECT_EQ(text.rfind("REGEDIT4", 0), 0u);

    // A file that cannot be written says so, naming it.
    const QString unwritable = QString::fromStdString((m_folder / "missing" / "x.reg").string());
    m_prompter.files.push_back(unwritable);
    frame.action(kExportServers)->trigger();
    EXPECT_TRUE(m_prompter.shown.back().startsWith(unwritable + QStringLiteral("\nFile could not be saved")))
        << m_prompter.shown.back().toStdString();
}

} // namespace
} // namespace tarvelo

namespace tarvelo {
namespace {

TEST_F(MainWindowTest, TheWindowFollowsAFileThatAnotherProgramSaves)
{
    add("Alpha", "ABC");
    const ItemKey beta = add("Beta", "XYZ");
    const std::string path = (m_folder / "shared.qvx").string();
    ASSERT_TRUE(m_doc.saveFile(path).ok());
    MainWindow& frame = window();
    PortfolioListView& list = *frame.listView();
    for (int row = 0; row < list.model()->rowCount(); ++row) {
        if (list.model()->index(row, 0).data().toString() == QStringLiteral("Beta"))
            list.setCurrentIndex(list.model()->index(row, 0));
    }
    ASSERT_EQ(list.currentPosition(), beta);
    frame.findChild<QTimer*>(QStringLiteral("diskTimer"))->setInterval(10);
    const auto quoteElsewhere = [&](double value) {
        PortfolioDocument other;
        ASSERT_TRUE(other.openFile(path).ok());
        other.insertQuotation(other.findItemsByName("Beta").front(), value, m_now - 60);
        ASSERT_TRUE(other.saveFile(path).ok());
    };

    // Unchanged here: the window reloads by itself and the current item stays.
    quoteElsewhere(3.0);
    ASSERT_TRUE(test::waitFor([&] { return m_doc.quotations(beta) && m_doc.quotations(beta)->size() == 1; }));
    EXPECT_EQ(list.currentPosition(), beta);
    EXPECT_FALSE(m_doc.isModified());

    // New quotations here merge into the file without a question.
    m_doc.insertQuotation(beta, 4.0, m_now);
    quoteElsewhere(5.0);
    EXPECT_TRUE(frame.saveDocument());
    EXPECT_TRUE(m_prompter.shown.isEmpty()) << m_prompter.shown.join('|').toStdString();
    EXPECT_EQ(loadPortfolioFile(path)->items[1]->history().size(), 3u);

    // Other changes: the user chooses. Cancel keeps both sides; Merge keeps the file's
    // quotations and adds this window's new ones.
    m_doc.deleteItems({m_doc.findItemsByName("Alpha").front()});
    m_doc.insertQuotation(beta, 6.0, m_now + 60);
    quoteElsewhere(7.0);
    EXPECT_FALSE(frame.saveDocument());
    ASSERT_EQ(m_prompter.shown.size(), 1);
    EXPECT_TRUE(m_prompter.shown.front().contains(QStringLiteral("changed by another program")));
    EXPECT_TRUE(m_doc.isModified());
    EXPECT_EQ(loadPortfolioFile(path)->items[1]->history().size(), 4u);
    m_prompter.choices.push_back(0);
    EXPECT_TRUE(frame.saveDocument());
    const LoadResult merged = loadPortfolioFile(path);
    ASSERT_EQ(merged->items.size(), 2u);
    EXPECT_EQ(merged->items[1]->history().size(), 5u);
    EXPECT_EQ(m_doc.itemCount(), 2u); // the file's Alpha is back
}

} // namespace
} // namespace tarvelo
