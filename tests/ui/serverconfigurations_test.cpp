#include "ui/serverconfigurationswindow.h"

#include "download/downloadengine.h"
#include "download/messagesink.h"
#include "platform/files.h"
#include "servers/regfile.h"
#include "servers/serverstore.h"
#include "ui/catalogdialog.h"
#include "ui/serversettingsdialog.h"

#include "tests/support/scriptedprompter.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tarvelo {
namespace {

class ServerConfigurationsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Prompter::install(&m_prompter);
        std::vector<std::string> names;
        enumerateServerConfigs(names);
        for (const std::string& name : names)
            deleteServerConfig(name);
        ServerConfig shared;
        shared.url = "http://quotes.example/[&symbol]";
        writeServerConfig("Alpha", shared);
    }
    void TearDown() override { Prompter::install(nullptr); }

    // Types the name into the new-configuration dialog and presses OK there.
    std::function<int(QDialog&)> typeName(const QString& name)
    {
        return [name](QDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("nameEdit"))->setText(name);
            for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
                if (button->text().contains(QStringLiteral("OK")))
                    button->click();
            }
            return dialog.result();
        };
    }

    test::ScriptedPrompter m_prompter;
    DownloadEngine m_engine;
    MessageQueue m_sink;
};

TEST_F(ServerConfigurationsTest, NewEditAndDeleteGoThroughTheStore)
{
    ServerConfigurationsWindow window(m_engine, m_sink);
    EXPECT_EQ(window.names(), QStringList{QStringLiteral("Alpha")});

    // A name the store cannot hold, then one that is taken, then a good one; the
    // settings dialog then opens on the new configuration and OK stores it.
    m_prompter.dialogs.push_back([&](QDialog& dialog) {
        typeName(QStringLiteral("a/b"))(dialog);
        typeName(QStringLiteral("alpha"))(dialog);
        return typeName(QStringLiteral("B\u00e4nk"))(dialog);
    });
    m_prompter.dialogs.push_back([](QDialog& dialog) {
        auto& settings = dynamic_cast<ServerSettingsDialog&>(dialog);
        EXPECT_EQ(settings.configName(), "B\xC3\xA4nk");
        settings.accept();
        return settings.result();
    });
    window.newConfiguration();
    ASSERT_GE(m_prompter.shown.size(), 3);
    EXPECT_TRUE(m_prompter.shown[1].contains(QStringLiteral("may not hold")));
    EXPECT_TRUE(m_prompter.shown[2].contains(QStringLiteral("exists already")));
    EXPECT_EQ(window.names(), (QStringList{QStringLiteral("Alpha"), QStringLiteral("B\u00e4nk")}));
    EXPECT_TRUE(serverConfigExists("B\xC3\xA4nk"));

    // Cancelling the settings writes nothing.
    window.select(QStringLiteral("Alpha"));
    m_prompter.dialogs.push_back([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("urlEdit"))->setText(QStringLiteral("http://elsewhere/"));
        dialog.reject();
        return dialog.result();
    });
    window.editConfiguration();
    ServerConfig alpha;
    readServerConfig("Alpha", alpha);
    EXPECT_EQ(alpha.url, "http://quotes.example/[&symbol]");

    // Delete asks first; No keeps the configuration.
    m_prompter.answers = {Prompter::No, Prompter::Yes};
    window.deleteConfiguration();
    EXPECT_TRUE(serverConfigExists("Alpha"));
    window.deleteConfiguration();
    EXPECT_FALSE(serverConfigExists("Alpha"));
    EXPECT_EQ(window.names(), QStringList{QStringLiteral("B\u00e4nk")});
}

// The lines of the import dialog's list, and its question; then it ends with the answer.
struct ImportDialogSeen {
    QStringList lines;
    QString question;
};
std::function<int(QDialog&)> answerImport(ImportDialogSeen& seen, bool ok)
{
    return [&seen, ok](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("changeList"));
        for (int i = 0; list && i < list->count(); ++i)
            seen.lines << list->item(i)->text().trimmed();
        seen.question = dialog.findChild<QLabel*>(QStringLiteral("questionLabel"))->text();
        ok ? dialog.accept() : dialog.reject();
        return dialog.result();
    };
}

TEST_F(ServerConfigurationsTest, ExportsTheSelectedAndAsksBeforeAnImportReplaces)
{
    ServerConfig beta;
    beta.url = "http://beta.example/[&symbol]";
    beta.textBeforeValue = "Last:";
    writeServerConfig("Beta", beta);
    writeServerConfig("Gamma", ServerConfig{});
    const QString file = QString::fromStdString((std::filesystem::temp_directory_path() / "two.reg").string());

    ServerConfigurationsWindow window(m_engine, m_sink);
    window.select(QStringLiteral("Alpha"));
    window.selectOnly({QStringLiteral("Alpha"), QStringLiteral("Beta")});
    m_prompter.files = {file};
    window.exportConfigurations();
    std::string text;
    ASSERT_EQ(readWholeFile(file.toStdString(), text), FileError::None);
    EXPECT_NE(text.find("\\Server\\Beta]"), std::string::npos) << text;
    EXPECT_EQ(text.find("Gamma"), std::string::npos) << text;
    EXPECT_EQ(text.find("Version number"), std::string::npos) << text;
    // Nothing selected: the whole store with the set version, as File > Export server configuration.
    window.selectOnly({});
    m_prompter.files = {file};
    window.exportConfigurations();
    ASSERT_EQ(readWholeFile(file.toStdString(), text), FileError::None);
    EXPECT_EQ(text, serverConfigsRegFileText());
    m_prompter.files = {file};
    window.selectOnly({QStringLiteral("Alpha"), QStringLiteral("Beta")});
    window.exportConfigurations();

    // Into a store without them: the dialog lists both under "Add"; OK stores them.
    for (const char* name : {"Alpha", "Beta", "Gamma"})
        deleteServerConfig(name);
    ServerConfigurationsWindow fresh(m_engine, m_sink);
    ImportDialogSeen seen;
    m_prompter.files = {file};
    m_prompter.dialogs.push_back(answerImport(seen, true));
    fresh.importConfigurations();
    EXPECT_EQ(seen.lines, (QStringList{QStringLiteral("Add: 2"), QStringLiteral("Alpha"), QStringLiteral("Beta")}));
    EXPECT_EQ(fresh.names(), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta")}));
    EXPECT_EQ(fresh.selectedNames(), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta")}));
    ServerConfig read;
    readServerConfig("Beta", read);
    EXPECT_EQ(read.textBeforeValue, "Last:");

    // Beta changed here: the dialog names it under "Replace", Cancel keeps the change.
    ServerConfig changed = read;
    changed.textBeforeValue = "Mine:";
    writeServerConfig("Beta", changed);
    seen = {};
    m_prompter.files = {file};
    m_prompter.dialogs.push_back(answerImport(seen, false));
    fresh.importConfigurations();
    EXPECT_EQ(seen.lines, (QStringList{QStringLiteral("Replace (stored with other values): 1"), QStringLiteral("Beta"),
                                       QStringLiteral("Unchanged (stored with the same values): 1"),
                                       QStringLiteral("Alpha")}));
    EXPECT_TRUE(seen.question.contains(QStringLiteral("OK replaces"))) << seen.question.toStdString();
    readServerConfig("Beta", read);
    EXPECT_EQ(read.textBeforeValue, "Mine:");

    m_prompter.files = {file};
    m_prompter.dialogs.push_back(answerImport(seen, true));
    fresh.importConfigurations();
    readServerConfig("Beta", read);
    EXPECT_EQ(read.textBeforeValue, "Last:");

    // A broken file says why and changes nothing.
    ASSERT_EQ(writeWholeFile(file.toStdString(), "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n"), FileError::None);
    writeServerConfig("Beta", changed);
    m_prompter.files = {file};
    m_prompter.shown.clear();
    fresh.importConfigurations();
    ASSERT_FALSE(m_prompter.shown.isEmpty());
    EXPECT_TRUE(m_prompter.shown.back().contains(QStringLiteral("Nothing was changed")))
        << m_prompter.shown.back().toStdString();
    readServerConfig("Beta", read);
    EXPECT_EQ(read.textBeforeValue, "Mine:");
}

TEST_F(ServerConfigurationsTest, ReadyMadeConfigurationsAreDescribedAndAddedAfterAsking)
{
    ServerConfigurationsWindow window(m_engine, m_sink);
    const char* ecb = "ECB euro reference rate";
    // Ticks the entry of that name, after looking at the descriptions, and presses Add.
    const auto tick = [&](const QString& name) {
        return [name](QDialog& dialog) {
            auto* list = dialog.findChild<QListWidget*>(QStringLiteral("catalogList"));
            auto* description = dialog.findChild<QPlainTextEdit*>(QStringLiteral("descriptionView"));
            auto* add = dialog.findChild<QPushButton*>(QStringLiteral("addButton"));
            EXPECT_FALSE(add->isEnabled());
            for (int i = 0; i < list->count(); ++i) {
                list->setCurrentRow(i);
                EXPECT_TRUE(description->toPlainText().contains(QStringLiteral("Terms:"))) << i;
                if (list->item(i)->text() == name)
                    list->item(i)->setCheckState(Qt::Checked);
            }
            EXPECT_TRUE(add->isEnabled());
            add->click();
            return dialog.result();
        };
    };

    m_prompter.dialogs.push_back(tick(QString::fromUtf8(ecb)));
    window.addReadyMade();
    EXPECT_TRUE(window.names().contains(QString::fromUtf8(ecb)));
    ServerConfig stored;
    readServerConfig(ecb, stored);
    EXPECT_EQ(stored.searchKind, SearchKind::RegularExpression);

    // A stored one of the same name is replaced only when the user says so.
    stored.timeout = 30;
    writeServerConfig(ecb, stored);
    for (const Prompter::Answer answer : {Prompter::No, Prompter::Yes}) {
        m_prompter.shown.clear();
        m_prompter.answers.push_back(answer);
        m_prompter.dialogs.push_back(tick(QString::fromUtf8(ecb)));
        window.addReadyMade();
        ASSERT_FALSE(m_prompter.shown.isEmpty());
        EXPECT_TRUE(m_prompter.shown.back().contains(QStringLiteral("stored already")));
        readServerConfig(ecb, stored);
        EXPECT_EQ(stored.timeout, answer == Prompter::Yes ? 60 : 30);
    }
}

} // namespace
} // namespace tarvelo

namespace tarvelo {
namespace {

// The list ignores letter case; New... offers the wizard, which starts on the new name
// and, cancelled, leaves nothing behind.
TEST_F(ServerConfigurationsTest, NewOffersTheWizardAndTheListIgnoresLetterCase)
{
    for (const char* name : {"beta", "Charlie", "delta"})
        writeServerConfig(name, ServerConfig{});
    ServerConfigurationsWindow window(m_engine, m_sink);
    EXPECT_EQ(window.names(), (QStringList{"Alpha", "beta", "Charlie", "delta"}));

    QString wizardTitle;
    m_prompter.dialogs.push_back([&](QDialog& dialog) {
        auto* empty = dialog.findChild<QRadioButton*>(QStringLiteral("emptySettingsChoice"));
        auto* wizard = dialog.findChild<QRadioButton*>(QStringLiteral("wizardChoice"));
        EXPECT_TRUE(empty && empty->isChecked());
        EXPECT_TRUE(wizard && wizard->text().remove(QLatin1Char('&')) == "Build it with the wizard");
        if (wizard)
            wizard->click();
        return typeName(QStringLiteral("echo"))(dialog);
    });
    m_prompter.dialogs.push_back([&](QDialog& dialog) {
        wizardTitle = dialog.windowTitle();
        dialog.reject();
        return dialog.result();
    });
    window.newConfiguration();
    EXPECT_TRUE(m_prompter.dialogs.empty());
    EXPECT_EQ(wizardTitle, "Server Configuration Wizard - [echo]");
    EXPECT_FALSE(serverConfigExists("echo"));
    EXPECT_EQ(window.names(), (QStringList{"Alpha", "beta", "Charlie", "delta"}));
}

} // namespace
} // namespace tarvelo
