#include "ui/serversettingsdialog.h"

#include "platform/profile.h"
#include "resources/strings.h"
#include "servers/serverstore.h"
#include "tests/support/recordingshell.h"
#include "tests/support/scopedtimezone.h"
#include "tests/support/scriptedprompter.h"
#include "ui/qtexts.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

// The settings folder is the test program's own (tests/ui/main.cpp); each test starts
// with no stored configurations.
namespace tarvelo {
namespace {

template <typename T = QWidget>
T* child(QWidget& parent, const char* name)
{
    T* found = parent.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

void retype(QWidget& dialog, const char* name, const QString& text)
{
    auto* edit = child<QLineEdit>(dialog, name);
    edit->clear();
    QTest::keyClicks(edit, text);
}

void click(QWidget& dialog, const char* name)
{
    child<QAbstractButton>(dialog, name)->click();
}

// Every number differs from its neighbours, so values that land in the wrong field show.
const ServerConfig kRegExp{.name = "Quotes", .url = "http://quotes.example.com/q?id=[&symbol]", .timeout = 45,
                           .thousandsSeparator = ",", .decimalSeparator = ".", .conversion = Conversion::TextOnly,
                           .textBeforeValue = "Last:", .tagsToSkip = 7, .numbersToSkip = 8, .caseInsensitive = false,
                           .searchKind = SearchKind::RegularExpression, .regExp = "([0-9.]+) (\\d+)/(\\d+)", .quotationIndex = 11,
                           .extractDate = true, .dayIndex = 12, .monthIndex = 13, .yearIndex = 14, .extractTime = true,
                           .hourIndex = 15, .minuteIndex = 16, .maxChange = 17, .fallback = "Backup",
                           .headers = "Accept: application/json\tX-Api-Key: k",
                           .jsonValue = "$.quote.last", .jsonDate = "$.quote.date", .jsonTime = "$.quote[\"time\"]"};
const ServerConfig kSemiHtml = [] {
    ServerConfig c;
    c.url = "http://quotes.example.com/q";
    c.conversion = Conversion::SemiHtml;
    return c;
}();

class ServerSettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Profile().deleteKey(kServerKey);
        Prompter::install(&m_prompter);
        Shell::install(&m_shell);
    }
    void TearDown() override
    {
        Prompter::install(nullptr);
        Shell::install(nullptr);
        Profile().deleteKey(kServerKey);
    }

    test::ScriptedPrompter m_prompter;
    test::RecordingShell m_shell;
};

TEST_F(ServerSettingsDialogTest, EnablingFollowsSearchKindConversionAndExtractChecks)
{
    ServerSettingsDialog dialog(kSemiHtml, "Quotes", "IBM", "870747");
    QWidget* tags = child(dialog, "tagsToSkipEdit");
    const auto expect = [&](bool regExp, bool date, bool time) {
        for (const char* name : {"regExpEdit", "quotationIndexEdit", "extractDateCheck", "extractTimeCheck"})
            EXPECT_EQ(child(dialog, name)->isEnabled(), regExp) << name;
        for (const char* name : {"textBeforeValueEdit", "numbersToSkipEdit", "advancedButton"})
            EXPECT_EQ(child(dialog, name)->isEnabled(), !regExp) << name;
        for (const char* name : {"dayIndexEdit", "monthIndexEdit", "yearIndexEdit"})
            EXPECT_EQ(child(dialog, name)->isEnabled(), date) << name;
        for (const char* name : {"hourIndexEdit", "minuteIndexEdit"})
            EXPECT_EQ(child(dialog, name)->isEnabled(), time) << name;
    };

    // Only a semi-html page has tags left to skip.
    expect(false, false, false);
    EXPECT_TRUE(tags->isEnabled());
    click(dialog, "textOnlyRadio");
    EXPECT_FALSE(tags->isEnabled());
    click(dialog, "semiHtmlRadio");
    EXPECT_TRUE(tags->isEnabled());

    dialog.show();
    click(dialog, "advancedButton");
    click(dialog, "advancedSearchRadio");
    expect(true, false, false);
    EXPECT_FALSE(tags->isEnabled());
    click(dialog, "extractDateCheck");
    expect(true, true, false);
    click(dialog, "extractTimeCheck");
    click(dialog, "extractDateCheck");
    expect(true, false, true);

    // Back to the standard search on a text-only page: the tags stay disabled.
    click(dialog, "textOnlyRadio");
    click(dialog, "standardSearchRadio");
    expect(false, false, false);
    EXPECT_FALSE(tags->isEnabled());
}

// The JSON search takes the expression's place in the advanced part; an item's own
// settings cannot choose it.
TEST_F(ServerSettingsDialogTest, JsonSearchShowsItsPathsInTheAdvancedPart)
{
    ServerSettingsDialog dialog(kSemiHtml, "Quotes", "IBM", "870747");
    dialog.show();
    click(dialog, "advancedButton");
    EXPECT_FALSE(child(dialog, "jsonGroup")->isVisible());
    click(dialog, "jsonSearchRadio");
    EXPECT_TRUE(child(dialog, "jsonGroup")->isVisible());
    EXPECT_TRUE(child(dialog, "jsonValueEdit")->isEnabled());
    for (const char* name : {"regExpEdit", "extractDateCheck", "dayIndexEdit"})
        EXPECT_FALSE(child(dialog, name)->isVisible()) << name;
    for (const char* name : {"textBeforeValueEdit", "numbersToSkipEdit", "tagsToSkipEdit", "advancedButton"})
        EXPECT_FALSE(child(dialog, name)->isEnabled()) << name;
    retype(dialog, "jsonValueEdit", QStringLiteral("$.rates.[&symbol]"));
    retype(dialog, "jsonDateEdit", QStringLiteral("$.time"));
    click(dialog, "okButton");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.config().searchKind, SearchKind::JsonPath);
    EXPECT_EQ(dialog.config().jsonValue, "$.rates.[&symbol]");
    EXPECT_EQ(dialog.config().jsonDate, "$.time");
    EXPECT_EQ(dialog.config().jsonTime, "");

    ServerSettingsDialog own(kSemiHtml, strings::kUserDefinedServer, "IBM", "870747");
    EXPECT_FALSE(child(own, "jsonSearchRadio")->isEnabled());
}

TEST_F(ServerSettingsDialogTest, AdvancedPartGrowsTheDialogBy180Pixels)
{
    ServerSettingsDialog dialog(kSemiHtml, "Quotes", "IBM", "870747");
    dialog.show();
    auto* advanced = child<QPushButton>(dialog, "advancedButton");
    QWidget* rules = child(dialog, "extractionRulesGroup");
    const char* const moving[] = {"testButton", "saveAsButton", "helpButton", "okButton", "cancelButton"};
    const char* const area[] = {"standardSearchRadio", "advancedSearchRadio", "regExpEdit", "quotationIndexUp",
                                "extractDateCheck", "extractTimeCheck", "dayIndexEdit", "minuteIndexEdit"};
    const int height = dialog.height();
    const int rulesHeight = rules->height();
    const auto expect = [&](bool open, const std::vector<int>& tops) {
        EXPECT_EQ(dialog.advancedOpen(), open);
        EXPECT_EQ(advanced->text(), open ? QStringLiteral("Advanced <<") : QStringLiteral("Advanced >>"));
        for (const char* name : area)
            EXPECT_EQ(child(dialog, name)->isVisible(), open) << name;
        const int shift = open ? 180 : 0;
        EXPECT_EQ(dialog.height(), height + shift);
        EXPECT_EQ(rules->height(), rulesHeight + shift);
        for (std::size_t i = 0; i < tops.size(); ++i)
            EXPECT_EQ(child(dialog, moving[i])->y(), tops[i] + shift) << moving[i];
    };
    std::vector<int> tops;
    for (const char* name : moving)
        tops.push_back(child(dialog, name)->y());

    expect(false, tops);
    advanced->click();
    expect(true, tops);
    // Everything in the area fits into its 180 pixels.
    EXPECT_LE(child(dialog, "regExpArea")->minimumSizeHint().height(), 180);
    advanced->click();
    expect(false, tops);

    // A regular-expression configuration opens with the area open for good.
    ServerSettingsDialog regExp(kRegExp, "Quotes", "IBM", "870747");
    regExp.show();
    EXPECT_TRUE(regExp.advancedOpen());
    EXPECT_FALSE(child(regExp, "advancedButton")->isEnabled());
    EXPECT_TRUE(child(regExp, "regExpEdit")->isVisible());
    EXPECT_EQ(regExp.height(), height + 180);
}

TEST_F(ServerSettingsDialogTest, OkRefusesNumbersOutsideTheirRangesAndMapsTheFormat)
{
    ServerSettingsDialog dialog(kSemiHtml, "Quotes", "IBM", "870747");
    const auto refused = [&](const char* name, const QString& text, const QString& message) {
        retype(dialog, name, text);
        m_prompter.shown.clear();
        click(dialog, "okButton");
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << text.toStdString();
        EXPECT_EQ(m_prompter.shown, QStringList{message}) << text.toStdString();
        EXPECT_EQ(dialog.focusWidget(), child(dialog, name));
        EXPECT_EQ(child<QLineEdit>(dialog, name)->selectedText(), text);
    };
    const QString timeoutRange = QStringLiteral("Please enter an integer between 1 and 600.");
    refused("timeoutEdit", QStringLiteral("0"), timeoutRange);
    refused("timeoutEdit", QStringLiteral("601"), timeoutRange);
    refused("timeoutEdit", QStringLiteral("99999999999999999999"), timeoutRange);
    refused("timeoutEdit", QString(), QStringLiteral("Please enter an integer."));
    // The arrows stop at 300, yet OK takes up to 600.
    retype(dialog, "timeoutEdit", QStringLiteral("299"));
    child<QToolButton>(dialog, "timeoutUp")->click();
    child<QToolButton>(dialog, "timeoutUp")->click();
    EXPECT_EQ(child<QLineEdit>(dialog, "timeoutEdit")->text(), QStringLiteral("300"));
    retype(dialog, "timeoutEdit", QStringLiteral("600"));
    refused("tagsToSkipEdit", QStringLiteral("10001"), QStringLiteral("Please enter an integer between 0 and 10000."));
    retype(dialog, "tagsToSkipEdit", QStringLiteral("10000"));
    refused("maxChangeEdit", QStringLiteral("100001"), QStringLiteral("Please enter an integer between 0 and 100000."));
    retype(dialog, "maxChangeEdit", QStringLiteral("30"));
    // Request headers are typed one a line; a broken one keeps the dialog open on them
    // and is named without its value.
    auto* headers = child<QPlainTextEdit>(dialog, "headersEdit");
    headers->setPlainText(QStringLiteral("Accept: application/json\nX-Api-Key: s3cret\u00e9"));
    m_prompter.shown.clear();
    click(dialog, "okButton");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    ASSERT_EQ(m_prompter.shown.size(), 1);
    EXPECT_TRUE(m_prompter.shown[0].contains(QStringLiteral("X-Api-Key"))) << m_prompter.shown[0].toStdString();
    EXPECT_FALSE(m_prompter.shown[0].contains(QStringLiteral("s3cret")));
    EXPECT_EQ(dialog.focusWidget(), headers);
    headers->setPlainText(QStringLiteral("  accept :  application/json \n\nX-Api-Key: s3cret\n"));
    child<QComboBox>(dialog, "numberFormatCombo")->setCurrentIndex(2);
    m_prompter.shown.clear();
    click(dialog, "okButton");
    EXPECT_TRUE(m_prompter.shown.isEmpty());
    EXPECT_EQ(dialog.config().headers, "accept: application/json\tX-Api-Key: s3cret");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.config().timeout, 600);
    EXPECT_EQ(dialog.config().tagsToSkip, 10000);
    EXPECT_EQ(dialog.config().maxChange, 30);
    EXPECT_EQ(dialog.config().thousandsSeparator, ",");
    EXPECT_EQ(dialog.config().decimalSeparator, ".");

    // Untouched, every field comes back as it went in.
    ServerSettingsDialog same(kRegExp, "Quotes", "IBM", "870747");
    EXPECT_EQ(child<QComboBox>(same, "numberFormatCombo")->currentIndex(), 2);
    click(same, "okButton");
    EXPECT_EQ(same.config(), kRegExp);

    // A pair that is none of the four formats (as the wizard stores a blank between
    // thousands) has an entry of its own, and OK keeps it.
    for (const std::string thousands : {"'", "\xc2\xa0"}) {
        ServerConfig odd = kSemiHtml;
        odd.thousandsSeparator = thousands;
        odd.decimalSeparator = ".";
        ServerSettingsDialog unknown(odd, "Quotes", "IBM", "870747");
        auto* format = child<QComboBox>(unknown, "numberFormatCombo");
        EXPECT_EQ(format->currentIndex(), 4);
        EXPECT_EQ(format->currentText(), QStringLiteral("9") + fromCore(thousands) + QStringLiteral("999.99"));
        click(unknown, "okButton");
        EXPECT_EQ(unknown.config(), odd);
    }
    // A record without a decimal separator selects nothing, and nothing stores " 9999,99".
    ServerConfig broken = kSemiHtml;
    broken.decimalSeparator.clear();
    ServerSettingsDialog unknown(broken, "Quotes", "IBM", "870747");
    EXPECT_EQ(child<QComboBox>(unknown, "numberFormatCombo")->currentIndex(), -1);
    click(unknown, "okButton");
    EXPECT_EQ(unknown.config().thousandsSeparator, "");
    EXPECT_EQ(unknown.config().decimalSeparator, ",");
}

TEST_F(ServerSettingsDialogTest, SaveAsAsksBeforeOverwritingAndRefusesNamesTheStoreCannotKeep)
{
    ASSERT_TRUE(writeServerConfig("beta", kSemiHtml));
    ASSERT_TRUE(writeServerConfig("Alpha", kSemiHtml));
    ServerSettingsDialog dialog(kRegExp, "Quotes", "IBM", "870747");
    retype(dialog, "urlEdit", QStringLiteral("http://new.example.com/"));
    QStringList offered;
    QString selected;
    const auto typing = [&](const QString& name) {
        return [&, name](QDialog& saveAs) {
            auto* names = child<QComboBox>(saveAs, "saveAsCombo");
            if (offered.isEmpty()) { // as it first opens
                for (int i = 0; i < names->count(); ++i)
                    offered << names->itemText(i);
                selected = names->lineEdit()->selectedText();
            }
            names->setEditText(name);
            return static_cast<int>(QDialog::Accepted);
        };
    };
    m_prompter.dialogs = {typing(QStringLiteral("a\\b")), typing(QStringLiteral(" beta")),
                          typing(QStringLiteral("beta")), typing(QStringLiteral("beta"))};
    m_prompter.answers = {Prompter::No, Prompter::Yes};
    click(dialog, "saveAsButton");

    EXPECT_EQ(offered, (QStringList{QStringLiteral("Alpha"), QStringLiteral("beta")}));
    EXPECT_EQ(selected, QStringLiteral("Alpha"));
    const QString replace =
        QStringLiteral("The server configuration 'beta' already exists.\nDo you want to replace it?");
    const QString title = QStringLiteral("Server configuration");
    EXPECT_EQ(m_prompter.shown,
              (QStringList{title, QString::fromStdString(serverNameProblem("a\\b")), title,
                           QString::fromStdString(serverNameProblem(" beta")), title, replace, title, replace}));
    EXPECT_EQ(dialog.configName(), "beta");
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Server properties - [beta]"));
    ServerConfig stored;
    readServerConfig("beta", stored);
    ServerConfig expected = kRegExp;
    expected.name.clear();
    expected.url = "http://new.example.com/";
    EXPECT_EQ(stored, expected);
    std::vector<std::string> names;
    enumerateServerConfigs(names);
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta"})); // nothing under the refused names

    // The item's own settings are the item's to store: nothing is written.
    m_prompter.shown.clear();
    m_prompter.dialogs = {typing(QString::fromUtf8(strings::kUserDefinedServer))};
    retype(dialog, "urlEdit", QStringLiteral("http://own.example.com/"));
    click(dialog, "saveAsButton");
    EXPECT_EQ(dialog.configName(), strings::kUserDefinedServer);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Server properties - [beta]"));
    readServerConfig("beta", stored);
    EXPECT_EQ(stored.url, "http://new.example.com/");
    EXPECT_EQ(m_prompter.shown, QStringList{title});
    // ... and has no limit or fallback.
    EXPECT_FALSE(child(dialog, "maxChangeEdit")->isEnabled());
    EXPECT_FALSE(child(dialog, "fallbackCombo")->isEnabled());

    // The fallback is one of the other stored configurations, or none.
    ServerSettingsDialog alpha(kSemiHtml, "Alpha", "IBM", "870747");
    auto* fallbacks = child<QComboBox>(alpha, "fallbackCombo");
    QStringList listed;
    for (int i = 0; i < fallbacks->count(); ++i)
        listed << fallbacks->itemText(i);
    EXPECT_EQ(listed, (QStringList{QStringLiteral("(none)"), QStringLiteral("beta")}));
    EXPECT_TRUE(fallbacks->isEnabled());
    fallbacks->setCurrentIndex(1);
    click(alpha, "okButton");
    EXPECT_EQ(alpha.config().fallback, "beta");
}

TEST_F(ServerSettingsDialogTest, DownloadUrlOpensTheExpandedPageAndTestTakesTheValues)
{
    test::ScopedTimeZone zone("UTC");
    ServerConfig config = kSemiHtml;
    config.url = "http://q.example.com/[&d].[&m].[&y]/[&h][&min]?s=[&symbol]&n=[&name]";
    // An item name holding a date variable shows the order: dates first, then the item.
    ServerSettingsDialog dialog(config, strings::kUserDefinedServer, "IBM[&d]", "870747");
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Server properties - [IBM[&d]]"));
    dialog.setClock([] { return makeLocalTime(2003, 7, 9, 14, 5); });
    click(dialog, "downloadUrlButton");
    EXPECT_EQ(m_shell.opened, std::vector<std::string>{"http://q.example.com/09.07.2003/1405?s=870747&n=IBM[&d]"});
    // Help opens the page on the server configuration.
    click(dialog, "helpButton");
    ASSERT_EQ(m_shell.opened.size(), 2u);
    EXPECT_TRUE(m_shell.opened[1].ends_with("/QVXSrv.html")) << m_shell.opened[1];

    std::vector<ServerConfig> tested;
    EXPECT_FALSE(child(dialog, "testButton")->isEnabled());
    dialog.setTestDownload([&](const ServerConfig& c) { tested.push_back(c); });
    retype(dialog, "timeoutEdit", QStringLiteral("0"));
    click(dialog, "testButton");
    EXPECT_TRUE(tested.empty());
    retype(dialog, "timeoutEdit", QStringLiteral("33"));
    click(dialog, "testButton");
    ASSERT_EQ(tested.size(), 1u);
    EXPECT_EQ(tested[0].timeout, 33);
    EXPECT_EQ(tested[0].url, config.url);
}

} // namespace
} // namespace tarvelo
