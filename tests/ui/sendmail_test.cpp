// File > Send...: the portfolio as it is in the window goes to the mail program as a file
// of its name; a stand-in xdg-email on PATH records what it was given.
#include "ui/mainwindow.h"

#include "download/downloadengine.h"
#include "model/archive.h"
#include "platform/files.h"
#include "resources/commandids.h"
#include "ui/mailsender.h"

#include "tests/support/recordingshell.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/waitfor.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

class SendMailTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Prompter::install(&m_prompter);
        Shell::install(&m_shell);
        m_folder = fs::temp_directory_path() / "sendmail-test";
        fs::remove_all(m_folder);
        fs::create_directories(m_folder / "bin");
        m_path = qgetenv("PATH");
        // Only the stand-in is found, whatever the machine has installed.
        qputenv("PATH", QByteArray((m_folder / "bin").c_str()));

        ItemSettings alpha;
        alpha.name = "Alpha";
        const ItemKey first = m_doc.addItem(alpha);
        m_doc.insertQuotation(first, 10.5, 1000);
        m_doc.insertQuotation(first, 11.25, 2000);
        m_doc.setFilePath((m_folder / "Depot.qvx").string());
        ASSERT_TRUE(m_doc.saveFile(m_doc.filePath()).ok());
        // A change made after the save goes along: the mail carries what the window shows.
        ItemSettings beta;
        beta.name = "Beta";
        m_doc.insertQuotation(m_doc.addItem(beta), 3.5, 1500);
    }
    void TearDown() override
    {
        m_frame.reset();
        qputenv("PATH", m_path);
        Shell::install(nullptr);
        Prompter::install(nullptr);
        fs::remove_all(m_folder);
    }

    void mailProgram(const std::string& script, fs::perms permissions = fs::perms::owner_all)
    {
        const fs::path program = m_folder / "bin" / "xdg-email";
        // The stand-in itself finds the system's tools.
        std::ofstream(program) << "#!/bin/sh\nPATH=/usr/bin:/bin\n" << script;
        fs::permissions(program, permissions);
    }
    MainWindow& window()
    {
        m_frame = std::make_unique<MainWindow>(m_doc, m_options, m_engine, false);
        m_frame->updateCommandStates();
        return *m_frame;
    }
    bool mailProgramEnded() const
    {
        return test::waitFor([this] { return m_frame->mailSender()->running() == 0; });
    }
    std::string file(const char* name) const
    {
        std::ifstream in(m_folder / name);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    test::ScriptedPrompter m_prompter;
    test::RecordingShell m_shell;
    fs::path m_folder;
    QByteArray m_path;
    PortfolioDocument m_doc;
    GeneralOptions m_options;
    DownloadEngine m_engine;
    std::unique_ptr<MainWindow> m_frame;
};

TEST_F(SendMailTest, TheMailProgramGetsTheWholePortfolioAndTheFileStaysUntilItEnds)
{
    // Like a mail client started by xdg-email, it reads the attachment a while after.
    mailProgram("printf '%s\\n' \"$@\" > \"" + (m_folder / "arguments").string() + "\"\nsleep 0.5\ncp \"$2\" \""
                + (m_folder / "attachment.qvx").string() + "\"\n");
    MainWindow& frame = window();
    QAction* send = frame.action(commands::kFileSendMail);
    ASSERT_NE(send, nullptr);
    EXPECT_EQ(send->text(), QStringLiteral("Se&nd..."));
    ASSERT_TRUE(send->isEnabled());
    send->trigger();
    // The window does not wait for the mail program.
    EXPECT_EQ(frame.mailSender()->running(), 1);
    ASSERT_TRUE(mailProgramEnded());
    EXPECT_TRUE(m_prompter.shown.isEmpty()) << m_prompter.shown.join(QLatin1Char('\n')).toStdString();

    std::istringstream arguments(file("arguments"));
    std::string option;
    std::string attachment;
    std::getline(arguments, option);
    std::getline(arguments, attachment);
    EXPECT_EQ(option, "--attach");
    EXPECT_EQ(fs::path(attachment).filename(), "Depot.qvx");
    EXPECT_TRUE(attachment.starts_with(QDir::tempPath().toStdString() + "/")) << attachment;
    // Gone, with its private folder, once the program has ended.
    EXPECT_FALSE(fs::exists(fs::path(attachment).parent_path()));

    const LoadResult sent = loadPortfolioFile((m_folder / "attachment.qvx").string());
    ASSERT_TRUE(sent.ok()) << sent.message();
    ASSERT_EQ(sent->items.size(), 2u);
    EXPECT_EQ(sent->items[0]->settings().name, "Alpha");
    EXPECT_EQ(sent->items[0]->history().size(), 2u);
    EXPECT_EQ(sent->items[1]->settings().name, "Beta");
    EXPECT_EQ(sent->items[1]->history().size(), 1u);
    // The portfolio itself is neither saved nor touched.
    EXPECT_TRUE(m_doc.isModified());
    EXPECT_EQ(loadPortfolioFile(m_doc.filePath())->items.size(), 1u);
}

TEST_F(SendMailTest, FailuresAreNamedAndWithoutAMailProgramTheCommandIsOff)
{
    // It ran and failed; the attachment goes all the same.
    mailProgram("echo \"$2\" > \"" + (m_folder / "arguments").string() + "\"\nexit 4\n");
    window().sendMail();
    ASSERT_TRUE(mailProgramEnded());
    EXPECT_EQ(m_prompter.shown, QStringList{QStringLiteral("Send Mail failed to send message.")});
    const std::string attachment = file("arguments").substr(0, file("arguments").find('\n'));
    EXPECT_FALSE(attachment.empty());
    EXPECT_FALSE(fs::exists(attachment));

    // It found no mail client to hand the message to.
    mailProgram("exit 3\n");
    m_prompter.shown.clear();
    m_frame->sendMail();
    ASSERT_TRUE(mailProgramEnded());
    EXPECT_EQ(m_prompter.shown, QStringList{QStringLiteral("Unable to load mail system support.")});

    // There, but not a program: the command stays on, so the user learns what is wrong.
    mailProgram("exit 0\n", fs::perms::owner_read | fs::perms::owner_write);
    m_prompter.shown.clear();
    m_frame->updateCommandStates();
    EXPECT_TRUE(m_frame->action(commands::kFileSendMail)->isEnabled());
    m_frame->sendMail();
    EXPECT_EQ(m_prompter.shown, QStringList{QStringLiteral("Mail system DLL is invalid.")});

    // None at all: the command is off, and invoked anyway it says why.
    fs::remove(m_folder / "bin" / "xdg-email");
    m_prompter.shown.clear();
    m_frame->updateCommandStates();
    EXPECT_FALSE(m_frame->action(commands::kFileSendMail)->isEnabled());
    m_frame->sendMail();
    EXPECT_EQ(m_prompter.shown, QStringList{QStringLiteral("Unable to load mail system support.")});
    EXPECT_EQ(m_frame->mailSender()->running(), 0);
    // No attachment was left behind by any of them.
    EXPECT_TRUE(QDir(QDir::tempPath()).entryList({QStringLiteral("QVXmail-*")}, QDir::AllEntries).isEmpty());
}

} // namespace
} // namespace tarvelo
