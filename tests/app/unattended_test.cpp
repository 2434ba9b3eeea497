// The desktop program run from a terminal in unattended update mode, as cron would.

#include "model/archive.h"
#include "model/portfoliodocument.h"
#include "platform/profile.h"

#include "tests/app/programs.h"
#include "tests/support/pageserver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

class UnattendedTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / "unattended-test";
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_server.handle(R"(/quote/\w+)", [](const httplib::Request& request, httplib::Response& response) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            const std::string symbol = request.path.substr(std::string("/quote/").size());
            if (symbol == "QRS") {
                response.set_content("<html><body><p>No trading today.</p></body></html>", "text/html");
                return;
            }
            response.set_content("<html><body><p>Kurs " + symbol + ": <b>" + (symbol == "ABC" ? "31,5" : "7,25")
                                     + "</b></p></body></html>",
                                 "text/html");
        });
    }
    void TearDown() override { fs::remove_all(m_folder); }
    std::string portfolio(const char* file, std::initializer_list<const char*> symbols)
    {
        PortfolioDocument doc;
        for (const char* symbol : symbols) {
            ItemSettings settings;
            settings.name = std::string("Item ") + symbol;
            settings.symbol = symbol;
            settings.server.url = m_server.url("/quote/[&symbol]");
            settings.server.conversion = Conversion::TextOnly;
            settings.server.textBeforeValue = "Kurs [&symbol]:";
            doc.addItem(settings);
        }
        const std::string path = (m_folder / file).string();
        EXPECT_TRUE(doc.saveFile(path).ok());
        return path;
    }
    // Runs the program without a display; -1 when it does not end within a minute.
    static int run(const QStringList& args, QString* errors = nullptr)
    {
        QProcess program;
        test::startWithoutDisplay(program, QStringLiteral(TARVELO_GUI_PROGRAM), args);
        const int status = test::finish(program);
        if (errors && status != -1)
            *errors = QString::fromLocal8Bit(program.readAllStandardError());
        return status;
    }

    // Runs the program with arguments that are bytes, not texts; -1 when it does not end
    // within a minute.
    static int runBytes(const std::vector<std::string>& args)
    {
        std::vector<std::string> environment;
        for (char** variable = environ; *variable; ++variable) {
            const std::string_view entry(*variable);
            if (!entry.starts_with("DISPLAY=") && !entry.starts_with("WAYLAND_DISPLAY=")
                && !entry.starts_with("QT_QPA_PLATFORM="))
                environment.emplace_back(entry);
        }
        std::vector<char*> envp;
        for (std::string& entry : environment)
            envp.push_back(entry.data());
        envp.push_back(nullptr);
        std::vector<std::string> words{TARVELO_GUI_PROGRAM};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        pid_t child = 0;
        if (::posix_spawn(&child, TARVELO_GUI_PROGRAM, nullptr, nullptr, argv.data(), envp.data()) != 0)
            return -2;
        for (int tenths = 0; tenths < 600; ++tenths) {
            int status = 0;
            if (::waitpid(child, &status, WNOHANG) == child)
                return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        return -1;
    }

    fs::path m_folder;
    test::PageServer m_server;
};

TEST_F(UnattendedTest, UpdatesSavesAndEndsByItself)
{
    const std::string path = portfolio("Depot.qvx", {"ABC", "XYZ", "QRS"});
    // One download at a time: the running count comes back to 0 after each job, while
    // the others still wait for the slot. The program must wait for them too.
    Profile().writeInt("GeneralOptions", "NumberDownloads", 1);
    // "QRS" gets no quotation: the cron job learns it from the status.
    QString errors;
    EXPECT_EQ(run({QStringLiteral("-u"), QString::fromStdString(path)}, &errors), 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("1 of 3 items got no quotation"))) << errors.toStdString();
    Profile().deleteValue("GeneralOptions", "NumberDownloads");
    const LoadResult saved = loadPortfolioFile(path);
    ASSERT_TRUE(saved.ok());
    ASSERT_EQ(saved->items.size(), 3u);
    ASSERT_EQ(saved->items[0]->history().size(), 1u);
    EXPECT_DOUBLE_EQ(saved->items[0]->history()[0].value, 31.5);
    ASSERT_EQ(saved->items[1]->history().size(), 1u);
    EXPECT_DOUBLE_EQ(saved->items[1]->history()[0].value, 7.25);
    // "QRS" has no quotation on its page: nothing added, and the run still ends.
    EXPECT_TRUE(saved->items[2]->history().empty());
    // The run kept each item's source health, which tarvelo-cli health reports.
    QProcess health;
    test::startWithoutDisplay(health, QStringLiteral(TARVELO_CLI_PROGRAM),
                              {QStringLiteral("health"), QString::fromStdString(path), QStringLiteral("--json")});
    EXPECT_EQ(test::finish(health), 1);
    const QString json = QString::fromUtf8(health.readAllStandardOutput());
    EXPECT_TRUE(json.contains(QStringLiteral("{\"name\":\"Item QRS\",\"symbol\":\"QRS\",\"configuration\":"
                                             "\"-- User defined --\",\"lastSuccess\":null,\"failures\":1,"
                                             "\"reason\":\"Error: Text not found!\"}")))
        << json.toStdString();
    EXPECT_TRUE(json.contains(QStringLiteral("\"symbol\":\"ABC\",\"configuration\":\"-- User defined --\","
                                             "\"lastSuccess\":\"20")))
        << json.toStdString();
    for (const auto& entry : fs::directory_iterator(fs::temp_directory_path()))
        EXPECT_NE(entry.path().filename().string().rfind("QVX", 0), 0u) << entry.path();

    // Every item quoted: 0, also for a name in Latin-1 bytes, which is no UTF-8.
    const std::string latin = portfolio("D\xE9pot.qvx", {"ABC", "XYZ"});
    EXPECT_EQ(runBytes({"-u", latin}), 0);
    const LoadResult both = loadPortfolioFile(latin);
    ASSERT_TRUE(both.ok());
    EXPECT_EQ(both->items[0]->history().size(), 1u);
    EXPECT_EQ(both->items[1]->history().size(), 1u);
}

TEST_F(UnattendedTest, NothingToUpdateOrNoFileEndsAtOnce)
{
    QString errors;
    const std::string empty = portfolio("Empty.qvx", {});
    EXPECT_EQ(run({QStringLiteral("/u"), QString::fromStdString(empty)}, &errors), 0);
    EXPECT_TRUE(errors.contains(QStringLiteral("no quotation to update"))) << errors.toStdString();

    // A name that is not ASCII is named as it is spelt.
    const std::string missing = (m_folder / "missing \xC3\xB6.qvx").string();
    EXPECT_EQ(run({QStringLiteral("-u"), QString::fromStdString(missing)}, &errors), 2);
    EXPECT_TRUE(errors.contains(QString::fromStdString(missing))) << errors.toStdString();
    EXPECT_FALSE(fs::exists(missing));

    EXPECT_EQ(run({QStringLiteral("-u")}, &errors), 2);
    // A damaged file is not touched.
    const std::string damaged = (m_folder / "damaged.qvx").string();
    {
        std::FILE* file = std::fopen(damaged.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fputs("not a portfolio", file);
        std::fclose(file);
    }
    EXPECT_EQ(run({QStringLiteral("-u"), QString::fromStdString(damaged)}, &errors), 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("Unexpected file format."))) << errors.toStdString();
    EXPECT_EQ(fs::file_size(damaged), 15u);
}

} // namespace
} // namespace tarvelo
