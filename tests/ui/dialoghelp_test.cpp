// Every dialog's Help button opens the dialog's own section of the dialog help page, and
// that section is on the page the program ships.
#include "charts/comparisonchart.h"
#include "download/downloadengine.h"
#include "download/messagesink.h"
#include "model/generaloptions.h"
#include "model/itemsettings.h"
#include "model/portfoliodocument.h"
#include "ui/comparisonlimitsdialog.h"
#include "ui/connectionstatuswindow.h"
#include "ui/generaloptionsdialog.h"
#include "ui/helpviewer.h"
#include "ui/itemproperties/generalpage.h"
#include "ui/itemproperties/investmentpage.h"
#include "ui/itemproperties/itempropertiesdialog.h"
#include "ui/manualquotationdialog.h"
#include "ui/serverconfigurationswindow.h"
#include "ui/serversettingsdialog.h"
#include "ui/serverwizard/serverwizard.h"
#include "ui/serverwizard/wizarddownloadpage.h"
#include "ui/serverwizard/wizardrulepage.h"
#include "ui/sourcehealthwatch.h"
#include "ui/sourcehealthwindow.h"

#include "tests/support/recordingshell.h"
#include "tests/support/scriptedprompter.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QUrl>

#include <functional>
#include <memory>

namespace tarvelo {
namespace {

class DialogHelpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Prompter::install(&m_prompter);
        Shell::install(&m_shell);
    }
    void TearDown() override
    {
        Shell::install(nullptr);
        Prompter::install(nullptr);
    }

    // The anchors of the page as shipped.
    static QSet<QString> anchors(const char* page)
    {
        // The data folder need not exist: the path is cleaned, not resolved.
        QFile file(
            QDir::cleanPath(QStringLiteral(TARVELO_TEST_DATA "/../../../resources/help/") + QLatin1String(page)));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << page;
        const QString html = QString::fromUtf8(file.readAll());
        QSet<QString> ids;
        const QRegularExpression id(QStringLiteral(R"(\bid="([^"]+)\")"));
        for (auto match = id.globalMatch(html); match.hasNext();)
            ids.insert(match.next().captured(1));
        return ids;
    }

    // Clicks the dialog's Help button; what the shell was asked to open.
    QUrl clickHelp(QDialog& dialog)
    {
        auto* help = dialog.findChild<QAbstractButton*>(QStringLiteral("helpButton"));
        if (!help) {
            ADD_FAILURE() << dialog.objectName().toStdString() << " has no Help button";
            return {};
        }
        EXPECT_TRUE(help->isEnabled());
        m_shell.opened.clear();
        help->click();
        if (m_shell.opened.size() != 1) {
            ADD_FAILURE() << dialog.objectName().toStdString() << " opened " << m_shell.opened.size() << " pages";
            return {};
        }
        const QString opened = QString::fromStdString(m_shell.opened.front());
        return opened.startsWith(QLatin1Char('/')) ? QUrl::fromLocalFile(opened) : QUrl(opened);
    }

    test::ScriptedPrompter m_prompter;
    test::RecordingShell m_shell;
    DownloadEngine m_engine;
    MessageQueue m_sink;
};

TEST_F(DialogHelpTest, EveryDialogOpensItsOwnSection)
{
    PortfolioDocument doc;
    ItemSettings settings;
    settings.name = "ACME";
    const ItemKey item = doc.addItem(settings);
    const WizardSubject subject{"Quotes", "ACME", "AC", {}};
    QWidget window;
    SourceHealthWatch health(doc, window);

    const std::vector<std::pair<const char*, std::function<std::unique_ptr<QDialog>()>>> dialogs = {
        {"options", [] { return std::make_unique<GeneralOptionsDialog>(GeneralOptions{}); }},
        {"server-configurations", [this] { return std::make_unique<ServerConfigurationsWindow>(m_engine, m_sink); }},
        {"wizard", [&] { return std::make_unique<WizardDownloadPage>(m_engine, subject); }},
        {"wizard-rule",
         [&] { return std::make_unique<WizardRulePage>(subject, WizardPageFiles{}, "http://q.example/"); }},
        {"buy", [] { return std::make_unique<BuyDialog>("ACME"); }},
        {"sell", [] { return std::make_unique<SellDialog>("ACME"); }},
        {"dividend", [] { return std::make_unique<DividendDialog>("ACME"); }},
        {"memo", [] { return std::make_unique<MemoDialog>(QStringLiteral("note")); }},
        {"manual-quotation", [] { return std::make_unique<ManualQuotationDialog>("ACME", 1700000000); }},
        {"comparison-limits", [] { return std::make_unique<ComparisonLimitsDialog>(ComparisonSettings{}); }},
        {"connection-status", [] { return std::make_unique<ConnectionStatusWindow>(); }},
        {"source-health", [&] { return std::make_unique<SourceHealthWindow>(doc, health, m_engine); }},
    };
    const QSet<QString> sections = anchors("Dialogs.html");
    QSet<QString> opened;
    for (const auto& [section, make] : dialogs) {
        const std::unique_ptr<QDialog> dialog = make();
        const QUrl url = clickHelp(*dialog);
        EXPECT_TRUE(url.path().endsWith(QStringLiteral("/Dialogs.html")))
            << section << ": " << url.toString().toStdString();
        EXPECT_EQ(url.fragment(), QLatin1String(section));
        EXPECT_TRUE(sections.contains(QLatin1String(section))) << section << " is not on the page";
        opened.insert(url.fragment());
    }
    EXPECT_EQ(opened.size(), static_cast<qsizetype>(dialogs.size())) << "two dialogs share a section";

    // The property sheet explains the page in front.
    ItemPropertiesDialog sheet(doc, item, ItemPropertiesDialog::General, -1, m_engine, m_sink);
    const char* const pages[] = {"item-general", "item-quotations", "item-graphic", "item-investment"};
    ASSERT_EQ(sheet.tabs()->count(), 4);
    for (int page = 3; page >= 0; --page) {
        sheet.tabs()->setCurrentIndex(page);
        const QUrl url = clickHelp(sheet);
        EXPECT_EQ(url.fragment(), QLatin1String(pages[page]));
        EXPECT_TRUE(sections.contains(QLatin1String(pages[page]))) << pages[page];
    }

    // The server settings keep their page of their own, which Dialogs.html points to.
    ServerSettingsDialog server(ServerConfig{}, "Quotes", "ACME", "AC");
    EXPECT_TRUE(clickHelp(server).path().endsWith(QStringLiteral("/QVXSrv.html")));
    EXPECT_TRUE(sections.contains(QStringLiteral("server-settings")));
    // The import dialogs open these sections.
    EXPECT_TRUE(sections.contains(QStringLiteral("import")));
    EXPECT_TRUE(sections.contains(QStringLiteral("import-location")));
}

TEST_F(DialogHelpTest, F1OpensTheHelpOfTheWindowInFront)
{
    installHelpKey();
    const auto pressF1 = [this](QWidget& widget) {
        m_shell.opened.clear();
        QTest::keyClick(&widget, Qt::Key_F1);
        EXPECT_EQ(m_shell.opened.size(), 1u) << widget.objectName().toStdString();
        return m_shell.opened.empty() ? QUrl() : QUrl(QString::fromStdString(m_shell.opened.back()));
    };

    // In a dialog: wherever the focus is, its own section.
    GeneralOptionsDialog options{GeneralOptions{}};
    auto* field = options.findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    const QUrl optionsHelp = pressF1(*field);
    EXPECT_TRUE(optionsHelp.path().endsWith(QStringLiteral("/Dialogs.html")));
    EXPECT_EQ(optionsHelp.fragment(), QStringLiteral("options"));

    // The property sheet: the page in front.
    PortfolioDocument doc;
    ItemSettings settings;
    settings.name = "ACME";
    ItemPropertiesDialog sheet(doc, doc.addItem(settings), ItemPropertiesDialog::General, -1, m_engine, m_sink);
    sheet.tabs()->setCurrentIndex(2);
    EXPECT_EQ(pressF1(*sheet.tabs()).fragment(), QStringLiteral("item-graphic"));

    // A window without a Help button of its own: the program's start page.
    QWidget window;
    auto* inside = new QLineEdit(&window);
    EXPECT_EQ(pressF1(*inside), HelpViewer::homePage());
    EXPECT_TRUE(HelpViewer::homePage().path().endsWith(QStringLiteral("/Tarvelo.html")));

    // Other keys, and F1 with a modifier, are left alone.
    m_shell.opened.clear();
    QTest::keyClick(inside, Qt::Key_F1, Qt::ShiftModifier);
    QTest::keyClick(inside, Qt::Key_A);
    EXPECT_TRUE(m_shell.opened.empty());
    EXPECT_EQ(inside->text(), QStringLiteral("a"));
}

} // namespace
} // namespace tarvelo
