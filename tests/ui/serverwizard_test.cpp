#include "ui/serverwizard/serverwizard.h"

#include "download/downloadengine.h"
#include "download/messagesink.h"
#include "platform/files.h"
#include "servers/serverstore.h"

#include "tests/support/pageserver.h"
#include "tests/support/recordingshell.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/waitfor.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

// Line breaks before the value, so the highlighted span has to account for the edit
// reading "\r\n" as one break.
const std::string kPage = "<html>\r\n<body>\r\n<p>IBM 870747:<b>Kurs aktuell<br>22,65</b></p>\r\n"
                          "<p>Vortag<br>21,90</p>\r\n</body>\r\n</html>\r\n";
const QString kDownloaded = QStringLiteral(
    "The file has been successfully downloaded, the web page is shown in the\r\nweb browser. If the page is ok, "
    "press next to go to the next step where\r\nyou can configure the quotation extraction rules.");

template <typename T>
T* child(QDialog& dialog, const char* name)
{
    T* found = dialog.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QString statusOf(QDialog& page)
{
    return child<QLabel>(page, "statusText")->text();
}

std::vector<fs::path> temporaryFiles()
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::temp_directory_path())) {
        if (entry.path().filename().string().rfind("QVX", 0) == 0)
            files.push_back(entry.path());
    }
    return files;
}

class ServerWizardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Prompter::install(&m_prompter);
        Shell::install(&m_shell);
        m_server.page("/kurs/870747.html", kPage);
        m_subject.configName = "Wizard test";
        m_subject.itemName = "IBM";
        m_subject.itemSymbol = "870747";
        m_subject.config.url = "http://example.invalid/first";
        m_subject.config.thousandsSeparator = ".";
        m_subject.config.decimalSeparator = ",";
        m_subject.config.timeout = 77;
        m_subject.config.regExp = "kept ([0-9,]+)";
        m_address = QString::fromStdString(m_server.url("/kurs/[&symbol].html"));
    }
    void TearDown() override
    {
        m_engine.shutdown();
        QCoreApplication::processEvents(); // late messages of stopped downloads
        Prompter::install(nullptr);
        Shell::install(nullptr);
        EXPECT_TRUE(temporaryFiles().empty());
    }

    std::optional<ServerConfig> run() { return runServerWizard(nullptr, m_engine, m_subject); }

    // Types the address as the user would, so the page sees the edit.
    static void typeAddress(QDialog& page, const QString& address)
    {
        auto* edit = child<QLineEdit>(page, "addressEdit");
        edit->selectAll();
        QTest::keyClicks(edit, address);
    }
    // The first page's script: downloads the page and goes on.
    std::function<int(QDialog&)> downloadAndGoOn()
    {
        return [this](QDialog& page) {
            page.show();
            typeAddress(page, m_address);
            QTest::mouseClick(child<QPushButton>(page, "downloadButton"), Qt::LeftButton);
            EXPECT_TRUE(test::waitFor([&] { return statusOf(page) == kDownloaded; })) << statusOf(page).toStdString();
            QTest::mouseClick(child<QPushButton>(page, "nextButton"), Qt::LeftButton);
            return page.result();
        };
    }
    // Types the quotation, generates and waits for the outcome.
    void generate(QDialog& page, const QString& quotation)
    {
        auto* edit = child<QLineEdit>(page, "quotationEdit");
        edit->clear();
        QTest::keyClicks(edit, quotation);
        const auto shown = m_prompter.shown.size();
        QTest::mouseClick(child<QPushButton>(page, "getConfigurationButton"), Qt::LeftButton);
        EXPECT_TRUE(test::waitFor([&] {
            return child<QPushButton>(page, "getConfigurationButton")->isEnabled()
                   && (child<QListWidget>(page, "candidateList")->count() > 0 || m_prompter.shown.size() > shown
                       || !child<QLabel>(page, "explanationText")->isHidden());
        }));
    }

    test::ScriptedPrompter m_prompter;
    test::RecordingShell m_shell;
    test::PageServer m_server;
    DownloadEngine m_engine{2};
    WizardSubject m_subject;
    QString m_address;
};

TEST_F(ServerWizardTest, FirstPageDownloadsThePageAndShowsItInTheBrowser)
{
    m_prompter.dialogs.push_back([this](QDialog& page) {
        page.show();
        auto* download = child<QPushButton>(page, "downloadButton");
        auto* next = child<QPushButton>(page, "nextButton");
        EXPECT_EQ(page.windowTitle(), "Server Configuration Wizard - [Wizard test]");
        EXPECT_EQ(child<QLineEdit>(page, "addressEdit")->text(), "http://example.invalid/first");
        EXPECT_EQ(statusOf(page), "Press next to download the web page");
        EXPECT_FALSE(child<QPushButton>(page, "backButton")->isEnabled());
        EXPECT_TRUE(download->isVisible());
        EXPECT_FALSE(next->isVisible());

        // A page that is not there: the error, and the download button to try again.
        typeAddress(page, QString::fromStdString(m_server.url("/missing.html")));
        QTest::mouseClick(download, Qt::LeftButton);
        EXPECT_FALSE(download->isEnabled());
        EXPECT_TRUE(test::waitFor([&] { return statusOf(page) == "Error: File not found: /missing.html"; }))
            << statusOf(page).toStdString();
        EXPECT_TRUE(download->isVisible() && download->isEnabled());
        EXPECT_FALSE(next->isVisible());
        EXPECT_TRUE(m_shell.opened.empty());

        // The page with the item's variables expanded, shown in the browser as ".html".
        typeAddress(page, m_address);
        EXPECT_EQ(statusOf(page), "Press next to download the web page");
        QTest::mouseClick(download, Qt::LeftButton);
        EXPECT_TRUE(test::waitFor([&] { return statusOf(page) == kDownloaded; })) << statusOf(page).toStdString();
        EXPECT_FALSE(download->isVisible());
        EXPECT_TRUE(next->isVisible() && next->isEnabled());
        EXPECT_EQ(m_server.hits("/kurs/870747.html"), 1);
        EXPECT_EQ(m_shell.opened.size(), 1u);
        if (!m_shell.opened.empty()) {
            const std::string& shown = m_shell.opened.front();
            EXPECT_EQ(fs::path(shown).extension(), ".html");
            std::string contents;
            EXPECT_EQ(readWholeFile(shown, contents), FileError::None);
            EXPECT_EQ(contents, kPage);
        }
        EXPECT_EQ(temporaryFiles().size(), 3u);

        // A second download replaces the files of the first.
        typeAddress(page, m_address);
        EXPECT_TRUE(download->isVisible());
        EXPECT_FALSE(next->isVisible());
        QTest::mouseClick(download, Qt::LeftButton);
        EXPECT_TRUE(test::waitFor([&] { return m_shell.opened.size() == 2 && statusOf(page) == kDownloaded; }));
        EXPECT_EQ(temporaryFiles().size(), 3u);
        EXPECT_FALSE(fs::exists(m_shell.opened.front()));
        return static_cast<int>(QDialog::Rejected);
    });
    EXPECT_FALSE(run());
    // Cancelling the first page leaves no file of its downloads behind.
    EXPECT_TRUE(temporaryFiles().empty());
}

TEST_F(ServerWizardTest, SecondPageProposesRulesAndStoresTheChosenOne)
{
    m_prompter.dialogs.push_back(downloadAndGoOn());
    m_prompter.dialogs.push_back([this](QDialog& page) {
        page.show();
        auto* conversion = child<QComboBox>(page, "conversionCombo");
        auto* text = child<QPlainTextEdit>(page, "pageText");
        auto* list = child<QListWidget>(page, "candidateList");
        auto* next = child<QPushButton>(page, "nextButton");
        EXPECT_EQ(conversion->currentIndex(), 1);
        EXPECT_EQ(child<QComboBox>(page, "formatCombo")->currentIndex(), 0);
        EXPECT_TRUE(text->toPlainText().contains("IBM 870747:<>Kurs aktuell<>22,65<><>\n<>Vortag<>21,90<>"));
        EXPECT_FALSE(next->isEnabled());

        // Nothing typed, and a value the page does not hold.
        generate(page, QString());
        generate(page, QStringLiteral("22,66"));
        EXPECT_EQ(m_prompter.shown.mid(2),
                  QStringList({"Please enter the quotation to be extracted!",
                               "Quotation doesn't exist in the specified web page!"}));

        // Text-only has no tags to skip; going back to semi-html drops its proposals.
        conversion->setCurrentIndex(2);
        EXPECT_FALSE(text->toPlainText().contains("<>"));
        generate(page, QStringLiteral("22,65"));
        EXPECT_GT(list->count(), 0);
        for (int row = 0; row < list->count(); ++row)
            EXPECT_TRUE(list->item(row)->text().contains("number(s)")) << list->item(row)->text().toStdString();
        conversion->setCurrentIndex(1);
        EXPECT_EQ(list->count(), 0);
        EXPECT_FALSE(next->isEnabled());

        generate(page, QStringLiteral("22,65"));
        EXPECT_EQ(m_prompter.shown.size(), 4);
        EXPECT_FALSE(child<QProgressBar>(page, "generationProgress")->isVisible());
        if (list->count() < 2)
            return static_cast<int>(QDialog::Rejected);
        EXPECT_EQ(list->item(0)->text(), "find text \"Kurs aktuell\" and skip 1 html tag(s) ");
        EXPECT_EQ(list->currentRow(), 0);
        EXPECT_EQ(text->textCursor().selectedText().toStdString(), "Kurs aktuell<>22,65");
        EXPECT_TRUE(next->isEnabled());
        list->setCurrentRow(1);
        EXPECT_EQ(list->item(1)->text(), "find text \"IBM 870747:\" and skip 2 html tag(s) ");
        EXPECT_EQ(text->textCursor().selectedText().toStdString(), "IBM 870747:<>Kurs aktuell<>22,65");

        // The separators are those chosen when the user goes on.
        child<QComboBox>(page, "formatCombo")->setCurrentIndex(1);
        QTest::mouseClick(next, Qt::LeftButton);
        return page.result();
    });
    const std::optional<ServerConfig> stored = run();
    ASSERT_TRUE(stored);
    ServerConfig expected = m_subject.config;
    expected.url = m_address.toStdString(); // as typed, the variables not expanded
    expected.conversion = Conversion::SemiHtml;
    expected.textBeforeValue = "[&name] [&symbol]:";
    expected.tagsToSkip = 2;
    expected.thousandsSeparator = "";
    expected.decimalSeparator = ",";
    expected.maxChange = kNewConfigMaxChange; // the wizard made the configuration
    EXPECT_EQ(*stored, expected);
    ServerConfig read;
    readServerConfig("Wizard test", read);
    read.name = expected.name;
    EXPECT_EQ(read, expected);
    EXPECT_TRUE(temporaryFiles().empty());

    // An item's own configuration is the caller's to store, and the title names the item.
    m_subject.configName = "-- User defined --";
    m_prompter.dialogs.push_back(downloadAndGoOn());
    m_prompter.dialogs.push_back([this](QDialog& page) {
        generate(page, QStringLiteral("22,65"));
        QTest::mouseClick(child<QPushButton>(page, "nextButton"), Qt::LeftButton);
        return page.result();
    });
    EXPECT_TRUE(run());
    EXPECT_EQ(m_prompter.shown.mid(4, 2), QStringList(2, "Server Configuration Wizard - [IBM]"));
    std::vector<std::string> names;
    enumerateServerConfigs(names);
    EXPECT_EQ(std::count(names.begin(), names.end(), "-- User defined --"), 0);
}

// What an update reads with a configuration: a test download of it, as the server
// settings' test runs one.
std::optional<double> updateReads(DownloadEngine& engine, const ServerConfig& config)
{
    MessageQueue queue;
    startTestDownload(engine, queue, config, "IBM", "870747");
    std::optional<double> value;
    while (MessageQueue::Posted posted = queue.take()) {
        const DownloadMessage& message = *posted.message;
        if (message.code == DownloadCode::Done && message.quotation)
            value = message.quotation->value;
        removeMessageFiles(*posted.message);
    }
    return value;
}

// The typed quotation decides the number format: the format list follows the chosen
// rule, "Next >" stores that format, and an update with the stored configuration reads
// the value the user typed. The item's configuration reads " 9999,99", with which the
// first page's rule used to read 1.
TEST_F(ServerWizardTest, TheStoredRuleReadsWhatTheUserTyped)
{
    struct Case {
        const char* page;
        const char* typed;
        const char* format; // the format list's entry
        double value;
        const char* note; // ends the list entry; empty: none
    };
    const Case cases[] = {
        {"<p>Kurs aktuell<b>1.234,56</b> EUR</p>", "1.234,56", "9.999,99", 1234.56, ""},
        {"<p>Last Trade<b>1,234.56</b> USD</p>", "1,234.56", "9,999.99", 1234.56, ""},
        {"<p>Kurs aktuell<b>1&nbsp;234,56</b> EUR</p>", "1 234,56", "9&nbsp;999,99", 1234.56, ""},
        {"<p>Stand<b>123.456</b> Punkte</p><p>Vortag<b>0.5</b></p>", "123.456", "9,999.99", 123.456,
         "[format 9,999.99: 123.456 is read as 123.456, as the page's other numbers are written]"},
    };
    m_subject.config.thousandsSeparator = "";
    m_subject.config.decimalSeparator = ",";
    int round = 0;
    for (const Case& c : cases) {
        const std::string path = "/case" + std::to_string(++round) + "/";
        m_server.page(path + "870747.html", c.page);
        m_address = QString::fromStdString(m_server.url(path + "[&symbol].html"));
        m_prompter.dialogs.push_back(downloadAndGoOn());
        m_prompter.dialogs.push_back([&](QDialog& page) {
            auto* format = child<QComboBox>(page, "formatCombo");
            auto* list = child<QListWidget>(page, "candidateList");
            EXPECT_EQ(format->currentText(), " 9999,99");
            generate(page, QString::fromUtf8(c.typed));
            EXPECT_GT(list->count(), 0) << c.page;
            EXPECT_EQ(format->currentText().toStdString(), c.format) << c.page;
            for (int row = 0; row < list->count(); ++row)
                EXPECT_TRUE(list->item(row)->text().endsWith(QString::fromUtf8(c.note)))
                    << list->item(row)->text().toStdString();
            if (round == 1) {
                // "1.234,56" is no number in " 9999,99": choosing it takes every rule away.
                format->setCurrentIndex(1);
                EXPECT_EQ(list->count(), 0);
                EXPECT_FALSE(child<QPushButton>(page, "nextButton")->isEnabled());
                EXPECT_EQ(child<QLabel>(page, "explanationText")->text(),
                          "The quotation \"1.234,56\" is not a number in the format \" 9999,99\"; choose another "
                          "format, or press Get Configuration again.");
                generate(page, QString::fromUtf8(c.typed));
                EXPECT_EQ(format->currentText().toStdString(), c.format);
                EXPECT_TRUE(child<QLabel>(page, "explanationText")->isHidden());
            }
            QTest::mouseClick(child<QPushButton>(page, "nextButton"), Qt::LeftButton);
            return page.result();
        });
        const std::optional<ServerConfig> stored = run();
        ASSERT_TRUE(stored) << c.page;
        EXPECT_EQ(updateReads(m_engine, *stored), c.value) << c.page << " read with \"" << stored->thousandsSeparator
                                                            << "\" \"" << stored->decimalSeparator << "\"";
    }
}

// A value in an API answer: the wizard proposes its JSON path, the symbol as [&symbol],
// and "Next >" stores the JSON search, with which an update reads the value.
TEST_F(ServerWizardTest, AValueInJsonDataGivesItsPath)
{
    m_server.page("/api/quotes.json", R"({"quotes":{"870747":{"last":"22,65","volume":1200},"870748":{"last":"9,10"}}})");
    m_address = QString::fromStdString(m_server.url("/api/quotes.json"));
    m_prompter.dialogs.push_back(downloadAndGoOn());
    m_prompter.dialogs.push_back([this](QDialog& page) {
        generate(page, QStringLiteral("22,65"));
        auto* list = child<QListWidget>(page, "candidateList");
        EXPECT_GT(list->count(), 0);
        EXPECT_EQ(list->currentRow(), 0);
        EXPECT_EQ(list->item(0)->text(), "JSON path: $.quotes.[&symbol].last");
        QTest::mouseClick(child<QPushButton>(page, "nextButton"), Qt::LeftButton);
        return page.result();
    });
    const std::optional<ServerConfig> stored = run();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->searchKind, SearchKind::JsonPath);
    EXPECT_EQ(stored->jsonValue, "$.quotes.[&symbol].last");
    EXPECT_EQ(updateReads(m_engine, *stored), 22.65);
}

// No rule: the message as it always was, and beside it why and what to try; for a value
// in script data that no JSON parser reads (a trailing comma), an expression that reads it.
TEST_F(ServerWizardTest, NoRuleSaysWhyBesideTheMessage)
{
    m_server.page("/kurs/870747.html", "<html><body><div id=\"kurs\"></div><script>show({\"price\":22.65,"
                                      "\"currency\":\"EUR\",});</script></body></html>");
    m_prompter.dialogs.push_back(downloadAndGoOn());
    m_prompter.dialogs.push_back([this](QDialog& page) {
        auto* explanation = child<QLabel>(page, "explanationText");
        EXPECT_TRUE(explanation->isHidden());
        generate(page, QStringLiteral("22,65"));
        EXPECT_EQ(m_prompter.shown.mid(2), QStringList{"Quotation doesn't exist in the specified web page!"});
        EXPECT_FALSE(explanation->isHidden());
        EXPECT_TRUE(explanation->text().startsWith(
            "The quotation \"22,65\" does not occur in the page as typed; its value stands only inside a script or "
            "JSON data, as \"22.65\" (\"price\":22.65). Use the regular-expression settings"))
            << explanation->text().toStdString();
        EXPECT_TRUE(explanation->text().contains("the expression \"price\":([0-9.]+), quotation match index 1"));

        // The value in JSON as typed: the search ran and found no rule, so no message.
        generate(page, QStringLiteral("22.65"));
        EXPECT_EQ(m_prompter.shown.size(), 3);
        EXPECT_EQ(child<QListWidget>(page, "candidateList")->count(), 0);
        EXPECT_TRUE(explanation->text().startsWith("The quotation \"22.65\" occurs only inside a script or JSON data"))
            << explanation->text().toStdString();
        return static_cast<int>(QDialog::Rejected);
    });
    EXPECT_FALSE(run());
}

TEST_F(ServerWizardTest, TemporaryFilesGoWhenTheWizardEnds)
{
    // Back: a new first page, as at the start; the earlier page stays until the end.
    std::vector<fs::path> earlier;
    m_prompter.dialogs.push_back(downloadAndGoOn());
    m_prompter.dialogs.push_back([](QDialog& page) {
        QTest::mouseClick(child<QPushButton>(page, "backButton"), Qt::LeftButton);
        return page.result();
    });
    m_prompter.dialogs.push_back([&](QDialog& page) {
        EXPECT_EQ(child<QLineEdit>(page, "addressEdit")->text(), "http://example.invalid/first");
        EXPECT_EQ(statusOf(page), "Press next to download the web page");
        earlier = temporaryFiles();
        return static_cast<int>(QDialog::Rejected);
    });
    EXPECT_FALSE(run());
    EXPECT_EQ(earlier.size(), 3u);
    EXPECT_TRUE(temporaryFiles().empty());

    // Cancel on the second page, while candidates are being generated.
    m_prompter.dialogs.push_back(downloadAndGoOn());
    m_prompter.dialogs.push_back([](QDialog& page) {
        QTest::keyClicks(child<QLineEdit>(page, "quotationEdit"), QStringLiteral("22,65"));
        QTest::mouseClick(child<QPushButton>(page, "getConfigurationButton"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(page, "cancelButton"), Qt::LeftButton);
        EXPECT_TRUE(child<QPushButton>(page, "getConfigurationButton")->isEnabled());
        return page.result();
    });
    EXPECT_FALSE(run());
    EXPECT_TRUE(temporaryFiles().empty());

    // Cancel on the first page while its download is under way: the page is gone when
    // the page arrives, and the page's files with it.
    m_server.handle("/held.html", [this](const httplib::Request&, httplib::Response& response) {
        m_server.waitForRelease();
        response.set_content(kPage, "text/html");
    });
    m_prompter.dialogs.push_back([this](QDialog& page) {
        typeAddress(page, QString::fromStdString(m_server.url("/held.html")));
        QTest::mouseClick(child<QPushButton>(page, "downloadButton"), Qt::LeftButton);
        EXPECT_TRUE(test::waitFor([this] { return m_server.hits("/held.html") == 1; }));
        return static_cast<int>(QDialog::Rejected);
    });
    EXPECT_FALSE(run());
    m_server.release();
    m_engine.wait();
    EXPECT_TRUE(test::waitFor([] { return temporaryFiles().empty(); }));
}

} // namespace
} // namespace tarvelo
