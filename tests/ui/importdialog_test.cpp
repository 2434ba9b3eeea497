#include "ui/importdialog.h"

#include "model/profilesettings.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "servers/catalog.h"
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
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

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
        for (const auto& key : {settings::kItemImportTemplates.key, settings::kItemImportNumberFormats.key,
                                settings::kItemImportCaseInsensitive.key})
            Profile().deleteKey(key);
        m_acme = addItem(m_doc, "ACME", "AC");
    }
    static ItemKey addItem(PortfolioDocument& doc, const char* name, const char* symbol)
    {
        ItemSettings settings;
        settings.name = name;
        settings.symbol = symbol;
        return doc.addItem(settings);
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
    PortfolioDocument m_doc;
    ItemKey m_acme;
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
    ImportDialog dialog(state, m_doc, m_acme, WorkerSettings{}, m_now);
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
        ImportDialog dialog(state, m_doc, m_acme, WorkerSettings{}, m_now);
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
    ImportDialog dialog(state, m_doc, m_acme, WorkerSettings{}, m_now);
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

TEST_F(ImportDialogTest, AReadyMadeHistoryAddressBringsItsLineTemplate)
{
    const Result<std::vector<CatalogEntry>> catalog = readCatalog();
    ASSERT_TRUE(catalog.ok()) << catalog.message();
    const CatalogEntry* ecb = findCatalogEntry(*catalog, "ECB euro reference rate");
    ASSERT_NE(ecb, nullptr);
    ImportState state;
    ImportDialog dialog(state, m_doc, m_acme, WorkerSettings{}, m_now);
    const auto choose = [&](const std::string& address) {
        m_prompter.dialogs.push_back([address](QDialog& location) {
            child<QRadioButton>(location, "internetDownloadButton")->setChecked(true);
            child<QComboBox>(location, "urlTemplateCombo")->setCurrentText(QString::fromStdString(address));
            location.accept();
            return location.result();
        });
        child<QPushButton>(dialog, "locationButton")->click();
    };
    choose("http://other.example/[&symbol].csv");
    EXPECT_EQ(child<QLineEdit>(dialog, "templateEdit")->text().toStdString(), ImportSettings{}.formatTemplate);
    choose(ecb->importAddress);
    EXPECT_EQ(child<QLineEdit>(dialog, "templateEdit")->text().toStdString(), ecb->importFormat);
    EXPECT_EQ(child<QComboBox>(dialog, "numberFormatCombo")->currentIndex(), ecb->importNumberFormat);
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


// The preview shows what OK imports, follows every change of the template and the
// number format, and OK stores exactly what it showed, the warned-of record included:
// the user decides.
TEST_F(ImportDialogTest, ThePreviewFollowsTheSettingsAndOkImportsWhatItShows)
{
    const std::string source = writeQuotes("quotes.csv", std::string(kQuotes) + "32-Jan-2026,1,1,1,1,1,10.50\n"
                                                                                 "30-Aug-2031,1,1,1,1,1,1.00\n");
    const TimeStamp existing = makeLocalTime(2026, 1, 6, 20, 0);
    m_doc.insertQuotation(m_acme, 10.75, existing); // the file's second line, already there
    PortfolioListView view(m_doc);
    view.setNow(m_now);
    view.rebuild();
    ASSERT_EQ(view.currentPosition(), m_acme);

    std::vector<std::vector<QString>> tables;
    m_prompter.dialogs.push_back([&](QDialog& shown) {
        auto& dialog = static_cast<ImportDialog&>(shown);
        auto* summary = child<QLabel>(dialog, "previewSummary");
        auto* warnings = child<QLabel>(dialog, "previewWarnings");
        auto* table = child<QTreeWidget>(dialog, "previewTable");
        const auto current = [&] { return test::waitFor([&] { return dialog.previewIsCurrent(); }); };
        const auto rows = [&] {
            std::vector<QString> texts;
            for (int i = 0; i < table->topLevelItemCount(); ++i)
                texts.push_back(table->topLevelItem(i)->text(0) + " " + table->topLevelItem(i)->text(1));
            return texts;
        };
        EXPECT_EQ(summary->text(), "Read the file to see what it gives.");
        child<QLineEdit>(dialog, "addressEdit")->setText(QString::fromStdString(source));
        read(dialog);
        EXPECT_TRUE(loaded(dialog) && current()) << summary->text().toStdString();
        EXPECT_EQ(summary->text().toStdString(),
                  "5 lines matched: 3 quotations to import, 1 already in the history, 1 lines skipped "
                  "(line 5: day 32 does not exist)\nDates from 01/05/26 20:00 to 08/30/31 20:00");
        EXPECT_EQ(warnings->text().toStdString(),
                  "Warning: 1 quotation lies in the future (the latest 08/30/31 20:00)\n"
                  "Warning: 1 quotation is more than 100% away from the latest value 10.7500 (1.0000)");
        EXPECT_FALSE(warnings->isHidden());
        tables.push_back(rows());
        EXPECT_FALSE(table->topLevelItem(1)->toolTip(0).isEmpty()); // the one already there

        // A template that reads no value: the preview says what OK would say.
        child<QLineEdit>(dialog, "templateEdit")->setText(QStringLiteral("[&day]-[&month]-[&year]"));
        EXPECT_FALSE(dialog.previewIsCurrent());
        EXPECT_TRUE(current());
        EXPECT_EQ(summary->text().toStdString(), "Error importing quotations from file \"" + source
                                                     + "\":\nQuotation value match place holder missing!");
        EXPECT_TRUE(warnings->isHidden());
        EXPECT_EQ(table->topLevelItemCount(), 0);

        // Back to the default template, with a decimal comma: the values read otherwise.
        child<QLineEdit>(dialog, "templateEdit")->setText(QString::fromStdString(ImportSettings{}.formatTemplate));
        child<QComboBox>(dialog, "numberFormatCombo")->setCurrentIndex(0);
        EXPECT_TRUE(current());
        tables.push_back(rows());
        EXPECT_TRUE(warnings->text().contains(QStringLiteral("4 quotations are more than 100% away")))
            << warnings->text().toStdString();

        child<QComboBox>(dialog, "numberFormatCombo")->setCurrentIndex(3);
        child<QPushButton>(dialog, "okButton")->click(); // before the new preview: OK waits for it
        EXPECT_TRUE(dialog.previewIsCurrent());
        tables.push_back(rows());
        return dialog.result();
    });
    ItemCommands commands(m_doc, view);
    commands.importQuotations();

    ASSERT_EQ(tables.size(), 3u);
    const std::vector<QString> shown = {"01/05/26 20:00 10.2500", "01/06/26 20:00 10.7500",
                                        "01/07/26 20:00 11.5000", "08/30/31 20:00 1.0000"};
    EXPECT_EQ(tables[0], shown);
    EXPECT_EQ(tables[1], (std::vector<QString>{"01/05/26 20:00 1025.0000", "01/06/26 20:00 1075.0000",
                                               "01/07/26 20:00 1150.0000", "08/30/31 20:00 100.0000"}));
    EXPECT_EQ(tables[2], shown);
    // What the preview showed is what the item holds now; a warning is no refusal.
    std::vector<QString> stored;
    for (const Quotation& q : *m_doc.quotations(m_acme))
        stored.push_back(QString::fromStdString(previewTime(q.time) + " " + previewValue(q.value)));
    EXPECT_EQ(stored, shown);
    // One clean message: a line was skipped, one was there already.
    EXPECT_EQ(m_prompter.shown.back().toStdString(),
              "3 quotations imported, 1 already in the history, 1 lines skipped (line 5: day 32 does not exist)");
}

// The template, number format and letter case belong to the item they were imported
// into: another item starts from the defaults, and the first finds its own again, also
// after the program starts anew (the settings file keeps them, not the portfolio).
TEST_F(ImportDialogTest, EachItemRemembersItsOwnTemplateAndFormat)
{
    const std::string source = writeQuotes("semicolons.csv", "05.01.2026;10,25\n07.01.2026;11,50\n");
    const ItemKey other = addItem(m_doc, "Beta/Fund \\ B", "BF");
    PortfolioListView view(m_doc);
    view.setNow(m_now);
    view.rebuild();
    const auto makeCurrent = [&](ItemKey item) {
        for (int row = 0; row < view.model()->rowCount() && view.currentPosition() != item; ++row)
            view.setCurrentIndex(view.model()->index(row, 0));
        ASSERT_EQ(view.currentPosition(), item);
    };
    struct Seen {
        QString formatTemplate;
        int format;
        bool caseInsensitive;
    };
    std::vector<Seen> seen;
    const auto look = [&](QDialog& dialog) {
        seen.push_back({child<QLineEdit>(dialog, "templateEdit")->text(),
                        child<QComboBox>(dialog, "numberFormatCombo")->currentIndex(),
                        child<QCheckBox>(dialog, "caseInsensitiveCheck")->isChecked()});
        return static_cast<int>(QDialog::Rejected);
    };
    const QString own = QStringLiteral("[&day].[&month].[&year];[&value]");
    const QString initial = QString::fromStdString(ImportSettings{}.formatTemplate);

    auto commands = std::make_unique<ItemCommands>(m_doc, view);
    makeCurrent(m_acme);
    m_prompter.dialogs.push_back([&](QDialog& dialog) {
        child<QLineEdit>(dialog, "addressEdit")->setText(QString::fromStdString(source));
        child<QLineEdit>(dialog, "templateEdit")->setText(own);
        child<QComboBox>(dialog, "numberFormatCombo")->setCurrentIndex(1);
        child<QCheckBox>(dialog, "caseInsensitiveCheck")->setChecked(false);
        read(dialog);
        if (loaded(dialog))
            child<QPushButton>(dialog, "okButton")->click();
        return dialog.result();
    });
    commands->importQuotations();
    ASSERT_EQ(m_doc.quotations(m_acme)->size(), 2u);

    makeCurrent(other);
    m_prompter.dialogs.push_back(look);
    commands->importQuotations();
    // A new start of the program: only the settings file remembers.
    commands = std::make_unique<ItemCommands>(m_doc, view);
    makeCurrent(m_acme);
    m_prompter.dialogs.push_back(look);
    commands->importQuotations();
    makeCurrent(other);
    m_prompter.dialogs.push_back(look);
    commands->importQuotations();

    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].formatTemplate, initial);
    EXPECT_EQ(seen[0].format, 3);
    EXPECT_TRUE(seen[0].caseInsensitive);
    EXPECT_EQ(seen[1].formatTemplate, own);
    EXPECT_EQ(seen[1].format, 1);
    EXPECT_FALSE(seen[1].caseInsensitive);
    EXPECT_EQ(seen[2].formatTemplate, initial);
    EXPECT_EQ(seen[2].format, 3);
}

} // namespace
} // namespace tarvelo
