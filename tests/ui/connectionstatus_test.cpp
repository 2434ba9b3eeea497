#include "ui/connectionstatuswindow.h"

#include "platform/files.h"
#include "ui/manualquotationdialog.h"
#include "platform/profile.h"

#include "tests/support/recordingshell.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>

#include <filesystem>

namespace tarvelo {
namespace {

DownloadMessage message(DownloadCode code, std::uint64_t key, DownloadError detail = DownloadError::None)
{
    DownloadMessage m;
    m.code = code;
    m.detail = detail;
    m.worker = 7;
    m.itemName = "ACME";
    m.itemKey = ItemKey{key};
    m.url = "http://quotes.example/q/page.html";
    return m;
}

class ConnectionStatusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Profile().deleteKey("Columns");
        Shell::install(&m_shell);
    }
    void TearDown() override { Shell::install(nullptr); }

    void send(DownloadMessage m) { m_dialog.handleMessage(m); }

    test::RecordingShell m_shell;
    ConnectionStatusWindow m_dialog;
};

TEST_F(ConnectionStatusTest, RowsFollowTheMessagesOfAnUpdate)
{
    m_dialog.show();
    send(message(DownloadCode::Initialized, 1));
    EXPECT_EQ(m_dialog.statusOf(ItemKey{1}), "Initialized");
    auto* list = m_dialog.findChild<QTreeWidget*>(QStringLiteral("connectionList"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "7");
    EXPECT_EQ(list->topLevelItem(0)->text(1), "ACME");
    send(message(DownloadCode::Connecting, 1));
    EXPECT_EQ(m_dialog.statusOf(ItemKey{1}), "Connecting...");
    DownloadMessage progress = message(DownloadCode::Progress, 1);
    progress.kilobytes = 2;
    send(std::move(progress));
    EXPECT_EQ(m_dialog.statusOf(ItemKey{1}), "Download 2 KB");

    send(message(DownloadCode::Initialized, 2));
    send(message(DownloadCode::Error, 2, DownloadError::FileNotFound));
    EXPECT_EQ(m_dialog.statusOf(ItemKey{2}), "Error: File not found: /q/page.html");

    // A success removes the row; the window stays while an error row is left.
    send(message(DownloadCode::Done, 1));
    EXPECT_EQ(m_dialog.rowCount(), 1);
    EXPECT_TRUE(m_dialog.isVisible());

    // The next update of the same item replaces its row by a new one at the end.
    send(message(DownloadCode::Initialized, 3));
    send(message(DownloadCode::Initialized, 2));
    EXPECT_EQ(m_dialog.rowCount(), 2);
    EXPECT_EQ(list->topLevelItem(1)->data(0, Qt::UserRole).toULongLong(), 2u);
    EXPECT_EQ(m_dialog.statusOf(ItemKey{2}), "Initialized");

    // After the last successful row the window hides itself (option DownloadStatus on).
    send(message(DownloadCode::Done, 3));
    send(message(DownloadCode::Done, 2));
    EXPECT_EQ(m_dialog.rowCount(), 0);
    EXPECT_FALSE(m_dialog.isVisible());

    // With the option off it stays.
    m_dialog.setDownloadStatus(false);
    m_dialog.show();
    send(message(DownloadCode::Initialized, 4));
    send(message(DownloadCode::Done, 4));
    EXPECT_TRUE(m_dialog.isVisible());
}

TEST_F(ConnectionStatusTest, PagesWithoutTheQuotationAreShownOrDeleted)
{
    const auto folder = std::filesystem::temp_directory_path();
    const auto page = [&](const char* name) {
        const std::string path = (folder / name).string();
        EXPECT_EQ(writeWholeFile(path, "converted page"), FileError::None);
        return path;
    };
    DownloadMessage shown = message(DownloadCode::TextNotFound, 1);
    shown.convertedFile = page("QVXshown");
    send(message(DownloadCode::Initialized, 1));
    send(std::move(shown));
    EXPECT_EQ(m_dialog.statusOf(ItemKey{1}), "Error: Text not found!");
    ASSERT_EQ(m_shell.opened.size(), 1u);
    EXPECT_EQ(m_shell.opened[0], (folder / "QVXshown.TXT").string());
    EXPECT_TRUE(std::filesystem::exists(folder / "QVXshown.TXT"));
    std::filesystem::remove(folder / "QVXshown.TXT");

    for (const bool unattended : {false, true}) {
        m_dialog.setShowFileOnError(unattended);
        m_dialog.setUnattended(unattended);
        DownloadMessage deleted = message(DownloadCode::NotFound, 9); // no row: the page rule still applies
        deleted.convertedFile = page("QVXdeleted");
        deleted.extractionMessage = "EOF";
        send(std::move(deleted));
        EXPECT_FALSE(std::filesystem::exists(folder / "QVXdeleted"));
    }
    EXPECT_EQ(m_shell.opened.size(), 1u);
}

TEST_F(ConnectionStatusTest, PagesThatNoProgramCanShowAreDeleted)
{
    m_shell.succeeds = false;
    const auto folder = std::filesystem::temp_directory_path();
    DownloadMessage m = message(DownloadCode::InvalidValue, 1);
    m.convertedFile = (folder / "QVXunshown").string();
    ASSERT_EQ(writeWholeFile(m.convertedFile, "converted page"), FileError::None);
    send(message(DownloadCode::Initialized, 1));
    send(std::move(m));
    ASSERT_EQ(m_shell.opened.size(), 1u);
    EXPECT_EQ(m_shell.opened[0], (folder / "QVXunshown.TXT").string());
    EXPECT_FALSE(std::filesystem::exists(folder / "QVXunshown.TXT"));
    EXPECT_FALSE(std::filesystem::exists(folder / "QVXunshown"));
}

TEST_F(ConnectionStatusTest, TextsTooLongForTheirPlaceCanBeReadWhole)
{
    m_dialog.show();
    DownloadMessage failed = message(DownloadCode::Error, 1, DownloadError::Other);
    failed.errorText = "Failed to connect to 127.0.0.1 port 1 after 0 ms: Could not connect to server";
    send(message(DownloadCode::Initialized, 1));
    send(std::move(failed));
    auto* list = m_dialog.findChild<QTreeWidget*>(QStringLiteral("connectionList"));
    ASSERT_NE(list, nullptr);
    for (int column = 0; column < 3; ++column)
        EXPECT_EQ(list->topLevelItem(0)->toolTip(column),
                  "Failed to connect to 127.0.0.1 port 1 after 0 ms: Could not connect to server");

    // The manual quotation dialog opens wide enough for its title beside a title bar's
    // icon and buttons.
    ManualQuotationDialog manual("ACME", 0);
    manual.show();
    QFont bold = manual.font();
    bold.setBold(true);
    EXPECT_GE(manual.width(), QFontMetrics(bold).horizontalAdvance(manual.windowTitle()) + 120);
}

TEST_F(ConnectionStatusTest, TitleAbortButtonAndColumnWidths)
{
    m_dialog.setTitleFor("quotes.qvx", false);
    EXPECT_EQ(m_dialog.windowTitle(), "[quotes.qvx] - Connections");
    m_dialog.setTitleFor("quotes.qvx", true);
    EXPECT_EQ(m_dialog.windowTitle(), "[quotes.qvx] - Abort connections...");

    auto* abort = m_dialog.findChild<QPushButton*>(QStringLiteral("abortButton"));
    ASSERT_NE(abort, nullptr);
    EXPECT_FALSE(abort->isEnabled());
    m_dialog.setAbortEnabled(true);
    QSignalSpy spy(&m_dialog, &ConnectionStatusWindow::abortRequested);
    abort->click();
    EXPECT_EQ(spy.count(), 1);

    EXPECT_EQ(m_dialog.columnWidths(), (std::array<int, 3>{84, 134, 148}));
    Profile().writeText("Columns", "ConnectionDialog", "250");
    m_dialog.loadColumnWidths();
    EXPECT_EQ(m_dialog.columnWidths(), (std::array<int, 3>{250, 134, 148}));
    m_dialog.saveColumnWidths();
    EXPECT_EQ(Profile().getText("Columns", "ConnectionDialog", ""), "250,134,148");
}

} // namespace
} // namespace tarvelo
