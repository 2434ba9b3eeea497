// Several programs on one portfolio at once, started as a user (or cron) would: two
// scripts adding quotations, and long updates (tarvelo-cli update, tarvelo -u) racing a
// script. Counts what is lost over many rounds.
#include "model/archive.h"
#include "model/portfoliodocument.h"
#include "platform/filelock.h"
#include "platform/filestamp.h"

#include "tests/app/programs.h"
#include "tests/support/pageserver.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <mutex>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

class SharedPortfolioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("shared-portfolio-test-" + std::to_string(::getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        // The page answers only when the test opens the gate, so that the update is
        // known to have read the file before a script changes it.
        m_server.handle(R"(/quote/\w+)", [this](const httplib::Request& request, httplib::Response& response) {
            std::unique_lock lock(m_mutex);
            ++m_requests;
            m_changed.notify_all();
            m_changed.wait_for(lock, std::chrono::seconds(30), [this] { return m_gateOpen; });
            m_gateOpen = false;
            const std::string symbol = request.path.substr(std::string("/quote/").size());
            // A value of its own each time: the same quotation read twice within its
            // second would be stored once.
            const std::string value = std::to_string(30 + m_requests) + ",5";
            response.set_content(m_pageHasQuotation ? "<p>Kurs " + symbol + ": <b>" + value + "</b></p>"
                                                    : std::string("<p>No trading today.</p>"),
                                 "text/html");
        });

        PortfolioDocument doc;
        ItemSettings fetched;
        fetched.name = "Alpha";
        fetched.symbol = "ALPHA";
        fetched.server.url = m_server.url("/quote/[&symbol]");
        fetched.server.conversion = Conversion::TextOnly;
        fetched.server.textBeforeValue = "Kurs [&symbol]:";
        doc.addItem(fetched);
        ItemSettings manual;
        manual.name = "Beta"; // no address: quoted by hand only
        doc.addItem(manual);
        m_path = (m_folder / "Depot.qvx").string();
        ASSERT_TRUE(doc.saveFile(m_path).ok());
    }
    void TearDown() override
    {
        openGate();
        fs::remove_all(m_folder);
    }

    void openGate()
    {
        const std::lock_guard lock(m_mutex);
        m_gateOpen = true;
        m_changed.notify_all();
    }
    bool waitForRequest(int count)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(30), [&] { return m_requests >= count; });
    }

    static void start(QProcess& process, const char* program, const QStringList& args)
    {
        test::startWithoutDisplay(process, QString::fromLatin1(program), args);
    }
    QStringList quote(const char* name) const
    {
        return {QStringLiteral("quote"), QString::fromStdString(m_path), QString::fromLatin1(name), QStringLiteral("5")};
    }
    std::size_t count(const char* name) const
    {
        const LoadResult loaded = loadPortfolioFile(m_path);
        EXPECT_TRUE(loaded.ok());
        for (const auto& item : loaded->items) {
            if (item->settings().name == name)
                return item->history().size();
        }
        return 0;
    }

    fs::path m_folder;
    std::string m_path;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_requests = 0;
    bool m_gateOpen = false;
    bool m_pageHasQuotation = true;
    // Last, so that it stops before the gate it waits at goes.
    test::PageServer m_server;
};

TEST_F(SharedPortfolioTest, TwoScriptsQuotingAtOnceLoseNothing)
{
    constexpr int kRounds = 40;
    for (int round = 0; round < kRounds; ++round) {
        QProcess first;
        QProcess second;
        start(first, TARVELO_CLI_PROGRAM, quote("Alpha"));
        start(second, TARVELO_CLI_PROGRAM, quote("Beta"));
        ASSERT_EQ(test::finish(first), 0) << first.readAllStandardError().toStdString();
        ASSERT_EQ(test::finish(second), 0) << second.readAllStandardError().toStdString();
    }
    EXPECT_EQ(count("Alpha"), std::size_t{kRounds});
    EXPECT_EQ(count("Beta"), std::size_t{kRounds});
}

TEST_F(SharedPortfolioTest, UpdatesRacingAScriptLoseNothing)
{
    constexpr int kRounds = 4;
    const QStringList update{QStringLiteral("update"), QString::fromStdString(m_path)};
    const QStringList unattended{QStringLiteral("-u"), QString::fromStdString(m_path)};
    std::size_t expectedAlpha = 0;
    int requests = 0;
    for (int round = 0; round < 2 * kRounds; ++round) {
        const bool gui = round % 2 == 1;
        QProcess runner;
        start(runner, gui ? TARVELO_GUI_PROGRAM : TARVELO_CLI_PROGRAM, gui ? unattended : update);
        // The runner has read the file and waits for the page: now a script quotes.
        ASSERT_TRUE(waitForRequest(++requests)) << runner.readAllStandardError().toStdString();
        QProcess script;
        start(script, TARVELO_CLI_PROGRAM, quote("Beta"));
        ASSERT_EQ(test::finish(script), 0) << script.readAllStandardError().toStdString();
        openGate();
        // Beta has no address: the command line's update says so with status 1, and so
        // does tarvelo -u, whose cron job learns that an item got no quotation.
        const int status = test::finish(runner);
        ASSERT_TRUE(gui ? status == 1 : status == 0 || status == 1) << runner.readAllStandardError().toStdString();
        ++expectedAlpha;
        EXPECT_EQ(count("Alpha"), expectedAlpha) << (gui ? "tarvelo -u" : "tarvelo-cli update");
        EXPECT_EQ(count("Beta"), std::size_t(round + 1)) << (gui ? "tarvelo -u" : "tarvelo-cli update");
    }

    // A run that brings no quotation does not write the file at all.
    m_pageHasQuotation = false;
    for (const bool gui : {false, true}) {
        const auto before = readFileStamp(m_path, false);
        QProcess runner;
        start(runner, gui ? TARVELO_GUI_PROGRAM : TARVELO_CLI_PROGRAM, gui ? unattended : update);
        ASSERT_TRUE(waitForRequest(++requests));
        openGate();
        test::finish(runner);
        const auto after = readFileStamp(m_path, false);
        ASSERT_TRUE(before && after);
        EXPECT_TRUE(before->sameEntry(*after)) << (gui ? "tarvelo -u" : "tarvelo-cli update");
    }
}

TEST_F(SharedPortfolioTest, AScriptGivesUpOnAHeldLockNamingTheHolder)
{
    FileLock held;
    ASSERT_EQ(held.acquire(m_path, std::chrono::milliseconds(0)), FileLock::Result::Locked);
    QProcess script;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TARVELO_LOCK_WAIT"), QStringLiteral("0.3"));
    script.setProcessEnvironment(environment);
    script.start(QStringLiteral(TARVELO_CLI_PROGRAM), quote("Beta"));
    EXPECT_EQ(test::finish(script), 2);
    const std::string errors = script.readAllStandardError().toStdString();
    EXPECT_NE(errors.find("(process " + std::to_string(::getpid()) + ")"), std::string::npos) << errors;
    EXPECT_EQ(count("Beta"), 0u);
}

// A lock file planted as a link to another file is not written through, and an import
// from a FIFO ends at once instead of waiting for a writer while the portfolio is locked.
TEST_F(SharedPortfolioTest, APlantedLockLinkAndAFifoSourceNeitherHarmNorHang)
{
    const fs::path victim = m_folder / "victim.txt";
    std::ofstream(victim) << "precious contents";
    const fs::path lock = m_folder / ".Depot.qvx.lock";
    fs::create_symlink(victim, lock);
    QProcess script;
    start(script, TARVELO_CLI_PROGRAM, quote("Beta"));
    EXPECT_EQ(test::finish(script), 2);
    const std::string errors = script.readAllStandardError().toStdString();
    EXPECT_NE(errors.find("The lock file " + lock.string()
                          + " is not ours; remove it if no other program uses the portfolio"),
              std::string::npos)
        << errors;
    std::string kept;
    std::getline(std::ifstream(victim), kept);
    EXPECT_EQ(kept, "precious contents");
    EXPECT_TRUE(fs::is_symlink(lock));
    EXPECT_EQ(count("Beta"), 0u);
    fs::remove(lock);

    const fs::path fifo = m_folder / "quotes.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    QProcess import;
    start(import, TARVELO_CLI_PROGRAM,
          {QStringLiteral("import"), QString::fromStdString(m_path), QStringLiteral("Beta"),
           QString::fromStdString(fifo.string())});
    EXPECT_NE(test::finish(import), 0);
    const std::string importErrors = import.readAllStandardError().toStdString();
    EXPECT_NE(importErrors.find("is not a regular file"), std::string::npos) << importErrors;
    // The lock went with it: a script quotes at once.
    QProcess after;
    start(after, TARVELO_CLI_PROGRAM, quote("Beta"));
    EXPECT_EQ(test::finish(after), 0) << after.readAllStandardError().toStdString();
    EXPECT_EQ(count("Beta"), 1u);
    EXPECT_TRUE(fs::is_fifo(fifo));
}

} // namespace
} // namespace tarvelo
