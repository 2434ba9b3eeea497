// Source health as the window shows it: the marks of the list, the Source health window
// with its doctor, the rename that moves an item's entry, and the unattended run's count.
#include "download/downloadengine.h"
#include "download/updaterun.h"
#include "model/sourcehealth.h"
#include "platform/files.h"
#include "resources/commandids.h"
#include "servers/serverstore.h"
#include "ui/downloadhub.h"
#include "ui/itemcommands.h"
#include "ui/mainwindow.h"
#include "ui/portfoliolistmodel.h"
#include "ui/portfoliolistview.h"
#include "ui/sourcehealthwatch.h"
#include "ui/sourcehealthwindow.h"
#include "ui/unattendedrun.h"

#include "tests/support/pageitems.h"
#include "tests/support/pageserver.h"
#include "tests/support/recordingshell.h"
#include "tests/support/scopedtimezone.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/waitfor.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <clocale>
#include <filesystem>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

class SourceHealthWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::setlocale(LC_ALL, "C");
        Prompter::install(&m_prompter);
        Shell::install(&m_shell);
        m_folder = fs::temp_directory_path() / "sourcehealth-test";
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_page = (m_folder / "page.html").string();
        ASSERT_EQ(writeWholeFile(m_page, "<p>Kurs ABC: <b>22,65</b></p>"), FileError::None);
        m_path = (m_folder / "Health.qvx").string();
    }
    void TearDown() override
    {
        m_frame.reset();
        Prompter::install(nullptr);
        Shell::install(nullptr);
        fs::remove_all(m_folder);
    }
    ItemKey add(PortfolioDocument& doc, const char* name, const char* symbol, const std::string& url = {})
    {
        return doc.addItem(test::pageItemSettings(name, symbol, url.empty() ? "file://" + m_page : url));
    }
    MainWindow& window(bool unattended = false)
    {
        m_frame = std::make_unique<MainWindow>(m_doc, m_options, m_engine, unattended);
        return *m_frame;
    }
    // The list's row of an item.
    QModelIndex rowOf(const char* name) const
    {
        const PortfolioListModel& model = m_frame->listView()->listModel();
        for (int row = 0; row < model.rowCount(); ++row) {
            if (model.index(row, 0).data().toString() == QLatin1String(name))
                return model.index(row, 0);
        }
        ADD_FAILURE() << name << " has no row";
        return {};
    }
    HealthMark markOf(const char* name) const
    {
        return static_cast<HealthMark>(rowOf(name).data(PortfolioListModel::kHealthRole).toInt());
    }
    QString tipOf(const char* name) const { return rowOf(name).data(Qt::ToolTipRole).toString(); }
    QTreeWidgetItem* tableRow(SourceHealthWindow& window, const char* name)
    {
        const QList<QTreeWidgetItem*> found = window.table()->findItems(QLatin1String(name), Qt::MatchExactly);
        return found.size() == 1 ? found.front() : nullptr;
    }

    test::ScopedTimeZone m_zone{"UTC"};
    test::ScriptedPrompter m_prompter;
    test::RecordingShell m_shell;
    fs::path m_folder;
    std::string m_page;
    std::string m_path;
    PortfolioDocument m_doc;
    GeneralOptions m_options;
    DownloadEngine m_engine;
    std::unique_ptr<MainWindow> m_frame;
};

TEST_F(SourceHealthWindowTest, TheListMarksFailedItemsFromTheFileRunsAndOtherPrograms)
{
    add(m_doc, "Alpha", "ABC");
    add(m_doc, "Beta", "XYZ"); // the page has no "Kurs XYZ:"
    add(m_doc, "Gamma", "GGG");
    ASSERT_TRUE(m_doc.saveFile(m_path).ok());
    {
        // An earlier run of another program: Alpha failed twice, Gamma succeeded.
        SourceHealth earlier(m_path);
        earlier.recordSuccess({"Gamma", "GGG"}, makeLocalTime(2020, 3, 4, 17, 45));
        earlier.recordFailure({"Alpha", "ABC"}, "Error: Timeout!");
        earlier.recordFailure({"Alpha", "ABC"}, "Error: Timeout!");
        ASSERT_TRUE(earlier.save().ok());
    }

    // The marks show as the window opens, before any update.
    MainWindow& frame = window();
    EXPECT_EQ(markOf("Alpha"), HealthMark::Failed);
    EXPECT_EQ(tipOf("Alpha"), "The last update failed: Error: Timeout!\nFailed updates since the last success: 2\n"
                              "Last success: never");
    EXPECT_EQ(markOf("Beta"), HealthMark::None);
    EXPECT_TRUE(tipOf("Beta").isEmpty());
    EXPECT_EQ(markOf("Gamma"), HealthMark::None);

    // When a run ends its outcome shows: Alpha is well now, Beta and Gamma failed.
    ASSERT_EQ(frame.updateAllQuotations(), 1);
    ASSERT_TRUE(test::waitFor([&] { return markOf("Beta") == HealthMark::Failed; }));
    EXPECT_EQ(markOf("Alpha"), HealthMark::None);
    EXPECT_TRUE(tipOf("Beta").startsWith(QStringLiteral("The last update failed: Error: Text not found!\n")))
        << tipOf("Beta").toStdString();
    EXPECT_EQ(markOf("Gamma"), HealthMark::Failed);
    EXPECT_TRUE(tipOf("Gamma").endsWith(QStringLiteral("since the last success: 1\nLast success: 03/04/20 17:45")))
        << tipOf("Gamma").toStdString();

    // Another program holds a value of Alpha back: the window sees it once it is active.
    {
        SourceHealth other(m_path);
        ASSERT_TRUE(other.load().ok());
        other.recordFailure({"Alpha", "ABC"}, "Error: Implausible value 2265.0000 (last 22.6500)",
                            HeldBackValue{{makeLocalTime(2026, 3, 5, 10, 0), 2265.0}, 22.65, "implausible"});
        ASSERT_TRUE(other.save().ok());
    }
    EXPECT_EQ(markOf("Alpha"), HealthMark::None);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&frame, &activate);
    EXPECT_EQ(markOf("Alpha"), HealthMark::HeldBack);
    EXPECT_TRUE(tipOf("Alpha").contains(QStringLiteral("Implausible value 2265.0000")));

    // View -> Source health lists every item, sorted as asked.
    frame.action(commands::kSourceHealth)->trigger();
    SourceHealthWindow* health = frame.sourceHealthWindow();
    ASSERT_TRUE(health && health->isVisible());
    ASSERT_EQ(health->table()->topLevelItemCount(), 3);
    QTreeWidgetItem* beta = tableRow(*health, "Beta");
    ASSERT_TRUE(beta);
    EXPECT_EQ(beta->text(SourceHealthWindow::Configuration), "-- User defined --");
    EXPECT_EQ(beta->text(SourceHealthWindow::LastSuccess), "never");
    EXPECT_EQ(beta->text(SourceHealthWindow::Failures), "1");
    EXPECT_EQ(beta->text(SourceHealthWindow::Reason), "Error: Text not found!");
    health->table()->sortByColumn(SourceHealthWindow::LastSuccess, Qt::AscendingOrder);
    QStringList order;
    for (int row = 0; row < 3; ++row)
        order << health->table()->topLevelItem(row)->text(SourceHealthWindow::Item);
    EXPECT_EQ(order, (QStringList{"Beta", "Gamma", "Alpha"})); // never, 2020, today

    // Diagnose: the doctor's explanation for the chosen item, while the window stays usable.
    health->table()->setCurrentItem(beta);
    auto* diagnose = health->findChild<QPushButton*>(QStringLiteral("diagnoseButton"));
    ASSERT_TRUE(diagnose && diagnose->isEnabled());
    diagnose->click();
    EXPECT_TRUE(health->diagnosing());
    EXPECT_FALSE(diagnose->isEnabled());
    ASSERT_TRUE(test::waitFor([&] { return !health->diagnosing(); }));
    EXPECT_TRUE(health->explanation().startsWith(QStringLiteral("Beta: would not update\n")))
        << health->explanation().toStdString();
    EXPECT_TRUE(health->explanation().contains(QStringLiteral("result:       Error: Text not found!")));
    EXPECT_TRUE(m_doc.quotations(m_doc.findItemsByName("Beta").front())->empty());

    // A page that never comes: closing the window stops the doctor, and nothing hangs.
    test::PageServer server;
    server.handle("/never", [&server](const httplib::Request&, httplib::Response& response) {
        server.waitForRelease();
        response.set_content("<p>Kurs SLW: <b>1,5</b></p>", "text/html");
    });
    add(m_doc, "Slow", "SLW", server.url("/never"));
    ASSERT_TRUE(test::waitFor([&] { return tableRow(*health, "Slow") != nullptr; }));
    health->table()->setCurrentItem(tableRow(*health, "Slow"));
    health->diagnose();
    ASSERT_TRUE(health->diagnosing());
    QElapsedTimer closing;
    closing.start();
    health->close();
    ASSERT_TRUE(test::waitFor([&] { return !health->diagnosing(); }));
    EXPECT_LT(closing.elapsed(), 5000);
    EXPECT_FALSE(server.released());
    EXPECT_TRUE(m_doc.quotations(m_doc.findItemsByName("Slow").front())->empty());
    // A window goes after its diagnosis has ended, and while one is under way.
    {
        SourceHealthWindow other(m_doc, *frame.sourceHealth(), m_engine);
        other.table()->setCurrentItem(tableRow(other, "Beta"));
        other.diagnose();
        ASSERT_TRUE(test::waitFor([&] { return !other.diagnosing(); }));
        EXPECT_TRUE(other.explanation().startsWith(QStringLiteral("Beta: ")));
    }
    frame.showSourceHealth();
    health->table()->setCurrentItem(tableRow(*health, "Slow"));
    health->diagnose();
    ASSERT_TRUE(health->diagnosing());
    m_frame.reset();
    EXPECT_FALSE(server.released());
}

TEST_F(SourceHealthWindowTest, RenamingAnItemThatSearchesForItsNameAsksAndMovesItsHealth)
{
    ServerConfig byName;
    byName.url = "file://" + m_page;
    byName.conversion = Conversion::TextOnly;
    byName.textBeforeValue = "Kurs [&name]:";
    ASSERT_TRUE(writeServerConfig("Quotes by name", byName));
    ItemSettings nordwind;
    nordwind.name = "Nordwind";
    nordwind.symbol = "NWD";
    nordwind.server.name = "Quotes by name";
    m_doc.addItem(nordwind);
    add(m_doc, "Plain", "PLN");
    ASSERT_TRUE(m_doc.saveFile(m_path).ok());
    {
        SourceHealth earlier(m_path);
        earlier.recordFailure({"Nordwind", "NWD"}, "Error: Text not found!");
        earlier.recordSuccess({"Plain", "PLN"}, makeLocalTime(2026, 3, 4, 9, 0));
        ASSERT_TRUE(earlier.save().ok());
    }
    MainWindow& frame = window();
    PortfolioListView& list = *frame.listView();
    const auto rename = [&](const char* from, const char* to, std::vector<Prompter::Answer> answers) {
        list.setCurrentIndex(list.model()->index(rowOf(from).row(), 0));
        QStringList namesAfterNo;
        m_prompter.dialogs.push_back([&, to, answers](QDialog& sheet) {
            auto* name = sheet.findChild<QLineEdit*>(QStringLiteral("nameEdit"));
            for (const Prompter::Answer answer : answers) {
                name->setText(QLatin1String(to));
                m_prompter.answers.push_back(answer);
                sheet.accept();
                if (sheet.result() == QDialog::Accepted)
                    break;
                namesAfterNo << name->text();
            }
            return sheet.result();
        });
        frame.action(commands::kItemProperties)->trigger();
        return namesAfterNo;
    };

    // No keeps the old name in the sheet, which stays open; Yes renames.
    const QString question = QStringLiteral("The configuration of this item searches for its name; after renaming, "
                                            "updates will look for the new name.");
    EXPECT_EQ(rename("Nordwind", "Nordwind AG", {Prompter::No, Prompter::Yes}), QStringList{"Nordwind"});
    EXPECT_EQ(m_prompter.shown.count(question), 2);
    ASSERT_EQ(m_doc.findItemsByName("Nordwind AG").size(), 1u);
    // The item's health went with it, in the file and in the list.
    SourceHealth stored(m_path);
    ASSERT_TRUE(stored.load().ok());
    EXPECT_EQ(stored.find({"Nordwind", "NWD"}), nullptr);
    ASSERT_NE(stored.find({"Nordwind AG", "NWD"}), nullptr);
    EXPECT_EQ(stored.find({"Nordwind AG", "NWD"})->lastReason, "Error: Text not found!");
    EXPECT_EQ(markOf("Nordwind AG"), HealthMark::Failed);

    // A configuration that does not search for the name renames without a question.
    m_prompter.shown.clear();
    EXPECT_TRUE(rename("Plain", "Plain Fund", {Prompter::No}).isEmpty());
    EXPECT_FALSE(m_prompter.shown.contains(question));
    ASSERT_EQ(m_doc.findItemsByName("Plain Fund").size(), 1u);
    ASSERT_TRUE(stored.load().ok());
    EXPECT_EQ(stored.find({"Plain", "PLN"}), nullptr);
    ASSERT_NE(stored.find({"Plain Fund", "PLN"}), nullptr);
    EXPECT_EQ(stored.find({"Plain Fund", "PLN"})->lastSuccess, makeLocalTime(2026, 3, 4, 9, 0));
}

TEST_F(SourceHealthWindowTest, AnUnattendedRunCountsTheItemsThatFailed)
{
    add(m_doc, "Alpha", "ABC");
    add(m_doc, "Beta", "XYZ");
    add(m_doc, "Gamma", "GGG");
    ASSERT_TRUE(m_doc.saveFile(m_path).ok());
    MainWindow& frame = window(true);
    int finished = 0;
    QObject::connect(&frame, &MainWindow::unattendedFinished, [&] { ++finished; });
    frame.showNotificationIcon();
    frame.updateAllQuotations();
    ASSERT_TRUE(test::waitFor([&] { return finished > 0; }));
    EXPECT_EQ(frame.exitCode(), 1);
    const UnattendedRun* run = frame.findChild<UnattendedRun*>();
    ASSERT_TRUE(run);
    EXPECT_EQ(run->failedItems(), 2);
    EXPECT_EQ(run->failureNotice(), "2 items could not be updated");
    EXPECT_EQ(UnattendedRun::failureNotice(1), "1 item could not be updated");
    SourceHealth stored(m_path);
    ASSERT_TRUE(stored.load().ok());
    EXPECT_TRUE(stored.find({"Beta", "XYZ"})->failing());
    EXPECT_FALSE(stored.find({"Alpha", "ABC"})->failing());
}

} // namespace
} // namespace tarvelo
