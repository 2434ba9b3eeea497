#include "ui/importdialog.h"

#include "model/profilesettings.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "ui/itemcommands.h"
#include "ui/portfoliolistview.h"

#include "tests/support/pageserver.h"
#include "tests/support/recordingshell.h"
#include "tests/support/scopedtimezone.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/waitfor.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <clocale>
#include <filesystem>

namespace tarvelo {
namespace {

namespace fs = std::filesystem;

// Files the downloads left in the temporary folder.
int temporaryFiles()
{
    int count = 0;
    for (const auto& entry : fs::directory_iterator(fs::temp_directory_path()))
        count += entry.path().filename().string().rfind("QVX", 0) == 0 ? 1 : 0;
    return count;
}

class ImportDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::setlocale(LC_ALL, "C");
        Prompter::install(&m_prompter);
        Shell::install(&m_shell);
        Profile().deleteKey(settings::kImportTemplates.key);
        m_folder = fs::temp_directory_path() / "import-test";
        fs::create_directories(m_folder);
    }
    void TearDown() override
    {
        Prompter::install(nullptr);
        Shell::install(nullptr);
        fs::remove_all(m_folder);
        EXPECT_EQ(temporaryFiles(), 0);
    }
    std::string writeQuotes(const std::string& name, const std::string& body)
    {
        const std::string path = (m_folder / name).string();
        EXPECT_EQ(writeWholeFile(path, body), FileError::None);
        return path;
    }
    template <typename T>
    static T* child(QWidget& parent, const char* name)
    {
        auto* widget = parent.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static QString status(QDialog& dialog) { return child<QPlainTextEdit>(dialog, "statusEdit")->toPlainText(); }
    static void read(QDialog& dialog) { child<QPushButton>(dialog, "readFileButton")->click(); }
    static bool loaded(QDialog& dialog)
    {
        return test::waitFor([&] { return static_cast<ImportDialog&>(dialog).phase() == ImportDialog::Phase::Loaded; });
    }
    // Only the button of the dialog's state shows at the place of "Read file" and "OK".
    static void expectButtons(QDialog& dialog, bool isLoaded)
    {
        EXPECT_EQ(child<QPushButton>(dialog, "readFileButton")->isHidden(), isLoaded);
        EXPECT_EQ(child<QPushButton>(dialog, "okButton")->isHidden(), !isLoaded);
        EXPECT_EQ(child<QPushButton>(dialog, "viewFileButton")->isEnabled(), isLoaded);
    }

    test::ScopedTimeZone m_zone{"UTC"};
    test::ScriptedPrompter m_prompter;
    test::RecordingShell m_shell;
    fs::path m_folder;
    const TimeStamp m_now = makeLocalTime(2026, 12, 7, 16, 0);
};

constexpr const char* kQuotes = "Date,Open,High,Low,Close,Volume,Adj Close\n"
                                "5-Jan-2026,10.00,10.50,9.80,10.20,1000,10.25\n"
                                "6-Jan-2026,10.25,10.90,10.10,10.80,1200,10.75\n"
                                "7-Jan-2026,10.75,11.00,10.60,10.90,900,11.50\n";

TEST_F(ImportDialogTest, ReadingSwitchesStatesAndDropsWhatAnAbandonedDownloadSends)
{
    test::PageServer server;
    // A table that the server sends only once the test lets it go.
    server.handle("/slow.csv", [&](const httplib::Request&, httplib::Response& response) {
        server.waitForRelease();
        response.set_content(std::string(5000, '1'), "text/plain");
    });

    ImportState state;
    ImportDialog dialog(state, "ACME", "AC", WorkerSettings{}, m_now);
    EXPECT_EQ(dialog.windowTitle(), "Import quotations for \"ACME\"");
    expectButtons(dialog, false);
    auto* address = child<QLineEdit>(dialog, "addressEdit");

    // Loading: the status follows the download, and progress reports that come faster
    // than the dialog takes them show as one, with the latest count. Another read cannot
    // start meanwhile.
    const auto startSlowRead = [&] {
        address->setText(QString::fromStdString(server.url("/slow.csv")));
        read(dialog);
        EXPECT_EQ(dialog.phase(), ImportDialog::Phase::Loading);
        EXPECT_FALSE(child<QPushButton>(dialog, "readFileButton")->isEnabled());
        EXPECT_TRUE(test::waitFor([&] { return status(dialog) == "Connecting..."; })) << status(dialog).toStdString();
        // Sinks of downloads left behind stay until their workers end; this one is the newest.
        auto* sink = dialog.findChildren<QueuedMessageSink*>().last();
        for (int kilobytes : {1, 2, 3}) {
            auto progress = std::make_unique<DownloadMessage>();
            progress->code = DownloadCode::Progress;
            progress->kilobytes = kilobytes;
            sink->post(MessageId::ImportDownload, std::move(progress));
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(status(dialog).toStdString(), "Download 3 KB");
        return sink;
    };

    // The system's error text stands as it came, line breaks included; the dialog can
    // read again.
    const QueuedMessageSink* sink = startSlowRead();
    ASSERT_NE(sink, nullptr);
    DownloadMessage failure;
    failure.code = DownloadCode::Error;
    failure.detail = DownloadError::Other;
    failure.errorText = "Line one\nLine two";
    EXPECT_TRUE(dialog.handleMessage(sink, failure));
    EXPECT_EQ(status(dialog), "Line one\nLine two");
    EXPECT_EQ(dialog.phase(), ImportDialog::Phase::NotLoaded);
    expectButtons(dialog, false);
    EXPECT_TRUE(child<QPushButton>(dialog, "readFileButton")->isEnabled());
    // What that download still sends is no longer the dialog's.
    DownloadMessage late;
    late.code = DownloadCode::Progress;
    EXPECT_FALSE(dialog.handleMessage(sink, late));

    sink = startSlowRead();
    DownloadMessage aborted;
    aborted.code = DownloadCode::Aborted;
    EXPECT_TRUE(dialog.handleMessage(sink, aborted));
    EXPECT_EQ(status(dialog), "Download aborted!");
    expectButtons(dialog, false);

    // An edit of the address leaves the download behind: the status clears, and the
    // file that download delivers later is deleted, not loaded.
    startSlowRead();
    QTest::keyClick(address, Qt::Key_End);
    QTest::keyClicks(address, QStringLiteral("x"));
    EXPECT_EQ(dialog.phase(), ImportDialog::Phase::NotLoaded);
    EXPECT_TRUE(status(dialog).isEmpty());
    server.release();
    EXPECT_TRUE(test::waitFor([] { return temporaryFiles() == 0; }));
    QTest::qWait(50);
    EXPECT_EQ(dialog.phase(), ImportDialog::Phase::NotLoaded);
    EXPECT_TRUE(state.loadedFile.empty());

    // An error by its detail: the path of a missing local file.
    address->setText(QStringLiteral("file:///nowhere/quotes.csv"));
    read(dialog);
    EXPECT_TRUE(test::waitFor([&] { return dialog.phase() == ImportDialog::Phase::NotLoaded; }));
    EXPECT_EQ(status(dialog), "Error: File not found: /nowhere/quotes.csv");
}

TEST_F(ImportDialogTest, ALocalFileIsReadIntoATextCopyThatTheViewerOpens)
{
    const std::string source = writeQuotes("quotes.csv", kQuotes);
    ImportState state;
    {
        ImportDialog dialog(state, "ACME", "AC", WorkerSettings{}, m_now);
        // The location dialog builds the address of the file chosen.
        m_prompter.files.push_back(QString::fromStdString(source));
        m_prompter.dialogs.push_back([this](QDialog& location) {
            child<QRadioButton>(location, "localFileButton")->setChecked(true);
            child<QPushButton>(location, "filePathButton")->click();
            location.accept();
            return location.result();
        });
        child<QPushButton>(dialog, "locationButton")->click();
        EXPECT_EQ(child<QLineEdit>(dialog, "addressEdit")->text().toStdString(), "file://" + source);

        read(dialog);
        ASSERT_TRUE(loaded(dialog)) << status(dialog).toStdString();
        EXPECT_EQ(status(dialog), "The file has been successfully loaded. Press ok to import quotations.");
        expectButtons(dialog, true);
        const std::string first = state.loadedFile;
        EXPECT_NE(first, source);
        EXPECT_EQ(fs::path(first).extension(), ".txt");
        std::string copied;
        EXPECT_EQ(readWholeFile(first, copied), FileError::None);
        EXPECT_EQ(copied, kQuotes);

        child<QPushButton>(dialog, "viewFileButton")->click();
        EXPECT_EQ(m_shell.opened, std::vector<std::string>{first});

        // The next read replaces the copy; the source stays.
        QTest::keyClicks(child<QLineEdit>(dialog, "addressEdit"), QStringLiteral(" "));
        child<QLineEdit>(dialog, "addressEdit")->setText(QString::fromStdString("file://" + source));
        expectButtons(dialog, false);
        read(dialog);
        ASSERT_TRUE(loaded(dialog));
        EXPECT_NE(state.loadedFile, first);
        EXPECT_FALSE(fs::exists(first));
        EXPECT_TRUE(fs::exists(state.loadedFile));
        EXPECT_TRUE(fs::exists(source));
    }
    state.removeLoadedFile();
}

TEST_F(ImportDialogTest, LocationModesAndTheAddressesTheyBuild)
{
    {
        Profile profile;
        profile.writeText(settings::kImportTemplates.key, "URL2", "");
        profile.writeText(settings::kImportTemplates.key, "URL4", "http://a.example/h?s=[&symbol]");
    }

    // Each opening of the import dialog starts in local mode with the last 30 days.
    ImportState state;
    state.location.mode = ImportLocation::Download;
    state.location.begin = {2001, 1, 1};
    ImportDialog dialog(state, "ACME", "AC", WorkerSettings{}, m_now);
    EXPECT_EQ(state.location.mode, ImportLocation::LocalFile);
    EXPECT_EQ(state.location.begin.month, 11);
    EXPECT_EQ(state.location.begin.day, 7);
    EXPECT_EQ(state.location.end.day, 7);

    m_prompter.dialogs.push_back([this](QDialog& location) {
        auto* path = child<QLineEdit>(location, "pathEdit");
        auto* combo = child<QComboBox>(location, "urlTemplateCombo");
        auto* begin = child<QDateEdit>(location, "beginDateEdit");
        // The first template always, the others only when set; sorted; URL1 shown.
        EXPECT_EQ(combo->count(), 2);
        EXPECT_LT(combo->itemText(0), combo->itemText(1));
        EXPECT_EQ(combo->currentText().toStdString(), defaultImportTemplate(1));
        EXPECT_EQ(begin->date(), QDate(2026, 11, 7));
        EXPECT_TRUE(path->isEnabled());
        EXPECT_FALSE(combo->isEnabled());
        EXPECT_FALSE(begin->isEnabled());

        child<QRadioButton>(location, "internetDownloadButton")->setChecked(true);
        EXPECT_FALSE(path->isEnabled());
        EXPECT_FALSE(child<QPushButton>(location, "filePathButton")->isEnabled());
        EXPECT_TRUE(combo->isEnabled());
        EXPECT_TRUE(child<QDateEdit>(location, "endDateEdit")->isEnabled());
        combo->setCurrentText(
            QStringLiteral("http://q.example/t?s=[&symbol]&a=[&month_begin-1]&b=[&day_begin]&c=[&year_begin]&f=[&year_end]"));
        begin->setDate(QDate(2025, 3, 9));
        location.accept();
        return location.result();
    });
    child<QPushButton>(dialog, "locationButton")->click();
    // The period goes in; the item's symbol is the download's to put in.
    EXPECT_EQ(child<QLineEdit>(dialog, "addressEdit")->text(),
              "http://q.example/t?s=[&symbol]&a=2&b=9&c=2025&f=2026");

    // Cancelled, the location leaves the address as it was.
    child<QPushButton>(dialog, "locationButton")->click();
    EXPECT_EQ(child<QLineEdit>(dialog, "addressEdit")->text(),
              "http://q.example/t?s=[&symbol]&a=2&b=9&c=2025&f=2026");
}

TEST_F(ImportDialogTest, AFailedImportReopensTheDialogUntilAGoodTemplateImports)
{
    const std::string source = writeQuotes("quotes.csv", kQuotes);
    PortfolioDocument doc;
    ItemSettings settings;
    settings.name = "ACME";
    settings.symbol = "AC";
    const ItemKey item = doc.addItem(settings);
    const TimeStamp existing = makeLocalTime(2026, 1, 6, 20, 0);
    doc.insertQuotation(item, 99.0, existing);
    PortfolioListView view(doc);
    view.setNow(m_now);
    view.rebuild();
    ASSERT_EQ(view.currentPosition(), item);

    const auto readAndConfirm = [this](QDialog& dialog, const char* formatTemplate) {
        child<QLineEdit>(dialog, "templateEdit")->setText(QString::fromLatin1(formatTemplate));
        read(dialog);
        if (!loaded(dialog))
            return static_cast<int>(QDialog::Rejected);
        child<QPushButton>(dialog, "okButton")->click();
        return dialog.result();
    };
    m_prompter.dialogs.push_back([&](QDialog& dialog) {
        // A plain path is read as the local file.
        child<QLineEdit>(dialog, "addressEdit")->setText(QString::fromStdString(source));
        child<QComboBox>(dialog, "numberFormatCombo")->setCurrentIndex(3);
        return readAndConfirm(dialog, "[&day]-[&month]-[&year]");
    });
    std::string reopenedAddress;
    QString reopenedStatus;
    m_prompter.dialogs.push_back([&](QDialog& dialog) {
        // Reopened as the user left it, not loaded, saying what went wrong.
        reopenedAddress = child<QLineEdit>(dialog, "addressEdit")->text().toStdString();
        reopenedStatus = status(dialog);
        EXPECT_EQ(child<QLineEdit>(dialog, "templateEdit")->text(), "[&day]-[&month]-[&year]");
        EXPECT_EQ(child<QComboBox>(dialog, "numberFormatCombo")->currentIndex(), 3);
        EXPECT_TRUE(child<QCheckBox>(dialog, "caseInsensitiveCheck")->isChecked());
        expectButtons(dialog, false);
        return readAndConfirm(dialog, ImportSettings{}.formatTemplate.c_str());
    });
    ItemCommands commands(doc, view);
    commands.importQuotations();

    ASSERT_EQ(m_prompter.shown.size(), 3);
    EXPECT_EQ(m_prompter.shown[0], "Import quotations for \"ACME\"");
    // The file is named as the user knows it, not by the copy read.
    EXPECT_EQ(m_prompter.shown[1].toStdString(),
              "Error importing quotations from file \"" + source + "\":\nQuotation value match place holder missing!");
    EXPECT_EQ(m_prompter.shown[2], "Import quotations for \"ACME\"");
    EXPECT_EQ(reopenedAddress, source);
    EXPECT_EQ(reopenedStatus, m_prompter.shown[1]);

    // Merged by time; the record already there at the same time stays beside the new one.
    const auto& history = *doc.quotations(item);
    ASSERT_EQ(history.size(), 4u);
    EXPECT_DOUBLE_EQ(history[0].value, 10.25);
    EXPECT_EQ(history[1].time, existing);
    EXPECT_EQ(history[2].time, existing);
    EXPECT_DOUBLE_EQ(history[1].value + history[2].value, 99.0 + 10.75);
    EXPECT_DOUBLE_EQ(history[3].value, 11.50);
    EXPECT_TRUE(doc.isModified());
    // No copy of the file is left once the dialog is closed for good.

    EXPECT_EQ(importAddress("http://q.example/h.csv"), "http://q.example/h.csv");
    EXPECT_EQ(importAddress("file:///tmp/h.csv"), "file:///tmp/h.csv");
    EXPECT_EQ(importAddress("~/h.csv"), "file://" + QDir::homePath().toStdString() + "/h.csv");
    EXPECT_EQ(importAddress("h.csv"), "file://" + fs::absolute("h.csv").string());
}

} // namespace
} // namespace tarvelo
