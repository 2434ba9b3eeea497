#include "ui/downloadhub.h"

#include "platform/files.h"
#include "platform/localtime.h"
#include "ui/connectionstatuswindow.h"
#include "ui/itemproperties/itempropertiesdialog.h"

#include "tests/support/pageitems.h"
#include "tests/support/recordingshell.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/waitfor.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QPushButton>
#include <QPointer>
#include <QAction>
#include <QSignalSpy>
#include <QTreeWidget>

#include <filesystem>
#include <memory>
#include <thread>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

class DownloadHubTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Prompter::install(&m_prompter);
        Shell::install(&m_shell);
        m_page = (fs::temp_directory_path() / "hub-page.html").string();
        ASSERT_EQ(writeWholeFile(m_page, "<p>Kurs ABC: <b>22,65</b></p>"), FileError::None);
    }
    void TearDown() override
    {
        m_engine.shutdown();
        Prompter::install(nullptr);
        Shell::install(nullptr);
        fs::remove(m_page);
        for (const auto& entry : fs::directory_iterator(fs::temp_directory_path()))
            EXPECT_NE(entry.path().filename().string().rfind("QVX", 0), 0u) << entry.path();
    }
    ItemKey add(const char* name, const char* symbol)
    {
        return m_doc.addItem(test::pageItemSettings(name, symbol, "file://" + m_page));
    }

    test::ScriptedPrompter m_prompter;
    test::RecordingShell m_shell;
    std::string m_page;
    PortfolioDocument m_doc;
    ConnectionStatusWindow m_status;
    // The hub is built before the engine, so that the engine, ending first, stops its
    // workers while the hub they post to is still there.
    DownloadHub m_hub{m_doc, m_engine, m_status};
    DownloadEngine m_engine{2};
};

TEST_F(DownloadHubTest, AnUpdateRunsFromTheCommandToTheHistory)
{
    const ItemKey found = add("Found", "ABC");
    const ItemKey missing = add("Missing", "XYZ");
    m_hub.setPortfolioTitle("quotes.qvx");
    m_status.setShowFileOnError(false);
    QSignalSpy finished(&m_hub, &DownloadHub::updatesFinished);
    QSignalSpy running(&m_hub, &DownloadHub::runningUpdatesChanged);
    m_hub.updateItems(m_doc.itemPositions());
    ASSERT_TRUE(test::waitFor([&] { return finished.count() == 1; }));

    EXPECT_EQ(m_hub.runningUpdates(), 0);
    EXPECT_DOUBLE_EQ(m_doc.quotations(found)->back().value, 22.65);
    EXPECT_TRUE(m_doc.quotations(missing)->empty());
    EXPECT_FALSE(m_doc.isBeingUpdated(found) || m_doc.isBeingUpdated(missing));
    // The status window keeps the failed row only, with its title.
    EXPECT_EQ(m_status.rowCount(), 1);
    EXPECT_EQ(m_status.statusOf(missing), "Error: Text not found!");
    EXPECT_EQ(m_status.windowTitle(), "[quotes.qvx] - Connections");
    // The count went up to 2 and back to 0.
    ASSERT_GE(running.count(), 2);
    EXPECT_EQ(running.at(1).at(0).toInt(), 2);
    EXPECT_EQ(running.last().at(0).toInt(), 0);
    EXPECT_TRUE(m_prompter.shown.isEmpty());
}

// A value held back by the update stays on its row after the run, with "Accept value" on
// the row's menu; accepting stores it, removes the row and clears it from the health.
TEST_F(DownloadHubTest, AHeldBackValueIsAcceptedFromItsRow)
{
    const ItemKey jump = add("Jump", "ABC");
    m_doc.insertQuotation(jump, 2.265, 1000); // the page shows ten times as much
    QSignalSpy finished(&m_hub, &DownloadHub::updatesFinished);
    m_hub.updateItems({jump});
    ASSERT_TRUE(test::waitFor([&] { return finished.count() == 1; }));
    EXPECT_EQ(m_doc.quotations(jump)->size(), 1u);
    EXPECT_EQ(m_status.statusOf(jump), "Error: Implausible value 22.6500 (last 2.2650)");
    ASSERT_TRUE(m_status.offersAccept(jump));

    auto* list = m_status.findChild<QTreeWidget*>(QStringLiteral("connectionList"));
    auto* accept = m_status.findChild<QAction*>(QStringLiteral("acceptValueAction"));
    ASSERT_TRUE(list && accept);
    list->setCurrentItem(list->topLevelItem(0));
    accept->trigger();
    ASSERT_EQ(m_doc.quotations(jump)->size(), 2u);
    EXPECT_DOUBLE_EQ(m_doc.quotations(jump)->back().value, 22.65);
    EXPECT_EQ(m_status.rowCount(), 0);
    const ItemHealth* health = m_hub.health().find(healthKeyOf(*m_doc.item(jump)));
    ASSERT_TRUE(health);
    EXPECT_FALSE(health->heldBack);
    EXPECT_TRUE(m_prompter.shown.isEmpty());
    // Nothing held back any more: the hub says so and changes nothing.
    EXPECT_FALSE(m_hub.acceptValue(jump));
    EXPECT_EQ(m_prompter.shown, QStringList{QStringLiteral("'Jump' has no value held back by an update.")});
    EXPECT_EQ(m_doc.quotations(jump)->size(), 2u);
}

TEST_F(DownloadHubTest, TestDownloadsOnlyShowTheirResult)
{
    const ItemKey item = add("Found", "ABC");
    ServerConfig config = m_doc.item(item)->settings().server;
    startTestDownload(m_engine, m_hub, config, "Found", "ABC");
    ASSERT_TRUE(test::waitFor([&] { return m_prompter.shown.size() == 1; }));
    EXPECT_TRUE(m_prompter.shown[0].startsWith("Quotation for 'Found':\nValue: 22.6500\nDate/Time: "))
        << m_prompter.shown[0].toStdString();

    config.textBeforeValue = "Preis";
    startTestDownload(m_engine, m_hub, config, "Found", "ABC");
    ASSERT_TRUE(test::waitFor([&] { return m_prompter.shown.size() == 2; }));
    EXPECT_EQ(m_prompter.shown[1], "Quotation for 'Found' not found!\n\n");

    config.url = "ftp://nowhere/x";
    startTestDownload(m_engine, m_hub, config, "Found", "ABC");
    ASSERT_TRUE(test::waitFor([&] { return m_prompter.shown.size() == 3; }));
    // The box says why, also when the download brought no words of its own.
    EXPECT_EQ(m_prompter.shown[2], "Download error:\nItem: Found\nURL: ftp://nowhere/x\nError: Wrong URL!");

    m_engine.wait();
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_doc.quotations(item)->empty());
    EXPECT_EQ(m_status.rowCount(), 0);
    EXPECT_EQ(m_hub.runningUpdates(), 0);
}

// The answer to a test download started in a property sheet that is then cancelled is
// dropped, files included, without a word; a sheet left with OK gets its answer.
TEST_F(DownloadHubTest, ACancelledSheetDropsTheAnswerOfItsTestDownload)
{
    {
        ItemPropertiesDialog sheet(m_doc, test::pageItemSettings("Cancelled", "ABC", "file://" + m_page), m_engine,
                                   m_hub);
        sheet.findChild<QPushButton*>(QStringLiteral("testButton"))->click();
        sheet.reject();
    }
    m_engine.wait(); // every message of that download is on its way before the next starts
    {
        ItemPropertiesDialog sheet(m_doc, test::pageItemSettings("Kept", "ABC", "file:///nowhere/missing.html"),
                                   m_engine, m_hub);
        sheet.findChild<QPushButton*>(QStringLiteral("testButton"))->click();
        sheet.accept();
    }
    // Messages are handed on in the order they came: the cancelled answer would be first.
    ASSERT_TRUE(test::waitFor([&] { return !m_prompter.shown.isEmpty(); }));
    ASSERT_EQ(m_prompter.shown.size(), 1);
    const QStringList lines = m_prompter.shown[0].split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4) << m_prompter.shown[0].toStdString();
    EXPECT_EQ(lines[0], "Download error:");
    EXPECT_EQ(lines[1], "Item: Kept");
    EXPECT_FALSE(lines[3].trimmed().isEmpty());
    m_engine.wait();
    EXPECT_TRUE(test::waitFor([] { return QApplication::overrideCursor() == nullptr; }));
}

TEST(QueuedMessageSinkTest, AGoneReceiverLosesNothingButFilesAndTheSinkEndsWithItsJob)
{
    const std::string page = (fs::temp_directory_path() / "queued-page.html").string();
    ASSERT_EQ(writeWholeFile(page, "<p>page</p>"), FileError::None);
    auto receiver = std::make_unique<QObject>();
    int handled = 0;
    auto* sink = new QueuedMessageSink(receiver.get(), [&](MessageId, DownloadMessage&) { ++handled; });
    const QPointer<QueuedMessageSink> alive(sink);
    sink->setEndingWithItsJobs(true);
    sink->jobQueued();
    // A worker posts its job's messages and ends before the receiver takes any.
    std::thread worker([sink, page] {
        auto progress = std::make_unique<DownloadMessage>();
        progress->code = DownloadCode::Progress;
        sink->post(MessageId::ImportDownload, std::move(progress));
        auto done = std::make_unique<DownloadMessage>();
        done->code = DownloadCode::Done;
        done->rawFile = page;
        sink->post(MessageId::ImportDownload, std::move(done));
        sink->jobEnded();
    });
    worker.join();
    receiver.reset();
    ASSERT_TRUE(test::waitFor([&] { return alive.isNull(); }));
    EXPECT_EQ(handled, 0);
    EXPECT_FALSE(fs::exists(page));
}

TEST(DownloadPane, Texts)
{
    EXPECT_EQ(DownloadHub::downloadPaneText(0), "");
    EXPECT_EQ(DownloadHub::downloadPaneText(1), "1 Quotation beeing updated");
    EXPECT_EQ(DownloadHub::downloadPaneText(3), "3 Quotations beeing updated");
}

} // namespace
} // namespace tarvelo
