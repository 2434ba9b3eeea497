#include "ui/itemproperties/generalpage.h"

#include "download/downloadengine.h"
#include "download/messagesink.h"
#include "resources/strings.h"
#include "servers/serverstore.h"
#include "tests/support/recordingshell.h"
#include "tests/support/scriptedprompter.h"
#include "ui/serversettingsdialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <QApplication>
#include <QClipboard>
#include <string>
#include <vector>

namespace tarvelo {
namespace {

const QString kUserDefined = QString::fromLatin1(strings::kUserDefinedServer);

template <typename T>
T* child(QObject& parent, const char* name)
{
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QStringList entries(QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts.push_back(combo->itemText(i));
    return texts;
}

class GeneralPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::vector<std::string> names;
        enumerateServerConfigs(names);
        for (const std::string& name : names)
            deleteServerConfig(name);
        Prompter::install(&m_prompter);
        Shell::install(&m_shell);

        ServerConfig alpha;
        alpha.url = "http://alpha.example/q?s=[&symbol]";
        ASSERT_TRUE(writeServerConfig("alpha", alpha));
        ServerConfig beta;
        beta.url = "http://beta.example/";
        ASSERT_TRUE(writeServerConfig("Beta", beta));

        m_settings.name = "Acme";
        m_settings.symbol = "ACM";
        m_settings.memo = "first\r\nsecond";
        m_settings.server.url = "http://own.example/";
    }
    void TearDown() override
    {
        Shell::install(nullptr);
        Prompter::install(nullptr);
    }

    QComboBox* servers(GeneralPage& page) { return child<QComboBox>(page, "serverCombo"); }
    void choose(GeneralPage& page, const QString& entry)
    {
        QComboBox* combo = servers(page);
        combo->setCurrentIndex(combo->findText(entry));
        ASSERT_EQ(combo->currentText(), entry);
    }
    void click(GeneralPage& page, const char* button) { child<QPushButton>(page, button)->click(); }

    test::ScriptedPrompter m_prompter;
    test::RecordingShell m_shell;
    DownloadEngine m_engine;
    MessageQueue m_sink;
    ItemSettings m_settings;
};

TEST_F(GeneralPageTest, MissingConfigurationIsReportedAndItsNameKept)
{
    m_settings.server.name = "Gone";
    GeneralPage page(m_settings, m_engine, m_sink);
    EXPECT_EQ(entries(servers(page)), QStringList({kUserDefined, "alpha", "Beta"}));
    EXPECT_EQ(servers(page)->currentIndex(), -1);

    page.checkConfiguration();
    ASSERT_EQ(m_prompter.shown.size(), 1);
    EXPECT_EQ(m_prompter.shown[0], "The server properties for the server 'Gone'\n do not exist in this computer!");

    ItemSettings taken;
    page.takeValues(taken);
    EXPECT_EQ(taken.server.name, "Gone");
    EXPECT_EQ(taken.server.url, "http://own.example/");
    EXPECT_EQ(taken.name, "Acme");
    EXPECT_EQ(taken.symbol, "ACM");
    EXPECT_EQ(taken.memo, "first\r\nsecond");
}

TEST_F(GeneralPageTest, UserDefinedEntryGivesAnEmptyConfigurationName)
{
    m_settings.server.name = "Beta";
    GeneralPage page(m_settings, m_engine, m_sink);
    EXPECT_EQ(servers(page)->currentText(), "Beta");
    page.checkConfiguration();
    EXPECT_TRUE(m_prompter.shown.isEmpty());

    choose(page, kUserDefined);
    ItemSettings taken;
    page.takeValues(taken);
    EXPECT_EQ(taken.server.name, "");
    EXPECT_EQ(taken.server.url, "http://own.example/");

    // A selection lost afterwards keeps the last entry's name.
    servers(page)->setCurrentIndex(-1);
    taken.server.name = "x";
    page.takeValues(taken);
    EXPECT_EQ(taken.server.name, "");
}

TEST_F(GeneralPageTest, EditWritesNamedConfigurationAtOnceAndUserDefinedIntoThePage)
{
    m_settings.server.name = "alpha";
    GeneralPage page(m_settings, m_engine, m_sink);
    std::string shownName;
    m_prompter.dialogs.push_back([&](QDialog& dialog) {
        auto& settings = dynamic_cast<ServerSettingsDialog&>(dialog);
        shownName = settings.configName();
        EXPECT_EQ(child<QLineEdit>(dialog, "urlEdit")->text(), "http://alpha.example/q?s=[&symbol]");
        child<QLineEdit>(dialog, "urlEdit")->setText("http://alpha.example/new");
        dialog.accept();
        return dialog.result();
    });
    click(page, "editButton");
    EXPECT_EQ(shownName, "alpha");
    ServerConfig stored;
    readServerConfig("alpha", stored);
    EXPECT_EQ(stored.url, "http://alpha.example/new");
    EXPECT_EQ(servers(page)->currentText(), "alpha");
    ItemSettings taken;
    page.takeValues(taken);
    EXPECT_EQ(taken.server.url, "http://own.example/"); // the item's own copy is untouched

    // Cancel changes nothing.
    m_prompter.dialogs.push_back([](QDialog& dialog) {
        child<QLineEdit>(dialog, "urlEdit")->setText("http://cancelled/");
        dialog.reject();
        return dialog.result();
    });
    click(page, "editButton");
    readServerConfig("alpha", stored);
    EXPECT_EQ(stored.url, "http://alpha.example/new");

    choose(page, kUserDefined);
    m_prompter.dialogs.push_back([](QDialog& dialog) {
        EXPECT_EQ(child<QLineEdit>(dialog, "urlEdit")->text(), "http://own.example/");
        child<QLineEdit>(dialog, "urlEdit")->setText("http://own.example/edited");
        dialog.accept();
        return dialog.result();
    });
    click(page, "editButton");
    page.takeValues(taken);
    EXPECT_EQ(taken.server.url, "http://own.example/edited");
    EXPECT_EQ(taken.server.name, "");
    EXPECT_FALSE(serverConfigExists(strings::kUserDefinedServer));
    std::vector<std::string> names;
    enumerateServerConfigs(names);
    EXPECT_EQ(names.size(), 2U);
}

TEST_F(GeneralPageTest, DeleteRemovesNamedConfigurationButNeverUserDefined)
{
    GeneralPage page(m_settings, m_engine, m_sink);
    EXPECT_EQ(servers(page)->currentText(), kUserDefined);
    click(page, "deleteButton");
    EXPECT_EQ(entries(servers(page)), QStringList({kUserDefined, "alpha", "Beta"}));
    EXPECT_EQ(servers(page)->currentText(), kUserDefined);

    choose(page, "Beta");
    click(page, "deleteButton");
    EXPECT_FALSE(serverConfigExists("Beta"));
    EXPECT_TRUE(serverConfigExists("alpha"));
    EXPECT_EQ(entries(servers(page)), QStringList({kUserDefined, "alpha"}));
    EXPECT_TRUE(m_prompter.shown.isEmpty()); // deleted without asking
}

TEST_F(GeneralPageTest, OpenWebPageExpandsDateAndItemVariables)
{
    m_settings.server.url = "http://own.example/[&symbol]/[&name]?year=[&y]";
    GeneralPage page(m_settings, m_engine, m_sink);
    child<QLineEdit>(page, "symbolEdit")->setText("XYZ");
    click(page, "webPageButton");
    choose(page, "alpha");
    click(page, "webPageButton");

    const std::string year = std::to_string(QDate::currentDate().year());
    ASSERT_EQ(m_shell.opened.size(), 2U);
    EXPECT_EQ(m_shell.opened[0], "http://own.example/XYZ/Acme?year=" + year);
    EXPECT_EQ(m_shell.opened[1], "http://alpha.example/q?s=XYZ");
}

TEST_F(GeneralPageTest, MemoDialogCopiesBackOnOkOnly)
{
    GeneralPage page(m_settings, m_engine, m_sink);
    QString shown;
    m_prompter.dialogs.push_back([&](QDialog& dialog) {
        auto* edit = child<QPlainTextEdit>(dialog, "memoDialogEdit");
        shown = edit->toPlainText();
        edit->setPlainText("changed\nmemo");
        dialog.accept();
        return dialog.result();
    });
    click(page, "memoButton");
    EXPECT_EQ(shown, "first\nsecond");
    EXPECT_EQ(child<QPlainTextEdit>(page, "memoEdit")->toPlainText(), "changed\nmemo");

    m_prompter.dialogs.push_back([](QDialog& dialog) {
        child<QPlainTextEdit>(dialog, "memoDialogEdit")->setPlainText("thrown away");
        dialog.reject();
        return dialog.result();
    });
    click(page, "memoButton");
    ItemSettings taken;
    page.takeValues(taken);
    EXPECT_EQ(taken.memo, "changed\r\nmemo");
}

TEST_F(GeneralPageTest, NameEditedAtEveryKeystroke)
{
    GeneralPage page(m_settings, m_engine, m_sink);
    QSignalSpy edited(&page, &GeneralPage::nameEdited);
    auto* name = child<QLineEdit>(page, "nameEdit");
    name->setFocus();
    name->end(false);
    QTest::keyClicks(name, "Co");
    ASSERT_EQ(edited.size(), 2);
    EXPECT_EQ(edited[0][0].toString(), "AcmeC");
    EXPECT_EQ(edited[1][0].toString(), "AcmeCo");
}

// A text of megabytes pasted into the edits brings only what the item keeps.
TEST_F(GeneralPageTest, PastedTextsAreHeldToTheirBounds)
{
    GeneralPage page(m_settings, m_engine, m_sink);
    const QString huge(5 << 20, QLatin1Char('x'));
    QApplication::clipboard()->setText(huge);
    auto* name = child<QLineEdit>(page, "nameEdit");
    name->selectAll();
    name->paste();
    auto* memo = child<QPlainTextEdit>(page, "memoEdit");
    memo->selectAll();
    memo->paste();
    ItemSettings taken;
    page.takeValues(taken);
    EXPECT_EQ(taken.name.size(), kMaxItemNameLength);
    EXPECT_EQ(taken.memo.size(), kMaxItemMemoLength);
    EXPECT_EQ(taken.memo.find_first_not_of('x'), std::string::npos);
    EXPECT_TRUE(overlongItemText(taken).empty());
}

} // namespace
} // namespace tarvelo
