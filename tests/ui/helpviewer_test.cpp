// The help viewer: sections, links and history stay inside it; web addresses go to the
// shell; the about box's link and the Help menu land here too.
#include "ui/helpviewer.h"

#include "resources/strings.h"
#include "ui/aboutdialog.h"
#include "ui/shell.h"

#include "tests/support/recordingshell.h"
#include "tests/support/scriptedprompter.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>
#include <QWindow>

namespace tarvelo {
namespace {

class HelpViewerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Prompter::install(&m_prompter);
        Shell::install(&m_shell);
    }
    void TearDown() override
    {
        if (HelpViewer* viewer = HelpViewer::openViewer())
            viewer->close();
        Shell::install(nullptr);
        Prompter::install(nullptr);
    }

    // The text of the line at the top of the browser's view.
    static QString topLine(const QTextBrowser& browser)
    {
        return browser.cursorForPosition(QPoint(8, 4)).block().text().trimmed();
    }
    static QString page(const QTextBrowser& browser)
    {
        return browser.source().fileName() + QLatin1Char('#') + browser.source().fragment();
    }

    test::ScriptedPrompter m_prompter;
    test::RecordingShell m_shell;
};

TEST_F(HelpViewerTest, SectionsLinksAndHistoryStayInTheViewer)
{
    HelpViewer& viewer = HelpViewer::showPage(helpPageAddress(strings::kDialogHelpPage, "import"));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    QTextBrowser& browser = *viewer.browser();
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Tarvelo - Dialogs"));
    EXPECT_EQ(page(browser), QStringLiteral("Dialogs.html#import"));
    // The section's heading stands at the top of the view.
    const int importAt = browser.verticalScrollBar()->value();
    EXPECT_GT(importAt, 0);
    EXPECT_EQ(topLine(browser), QStringLiteral("Import quotations"));
    EXPECT_FALSE(viewer.backAction()->isEnabled());

    // An anchor of the page: the view moves up to it, and Back returns.
    emit browser.anchorClicked(QUrl(QStringLiteral("#options")));
    EXPECT_EQ(topLine(browser), QStringLiteral("General options"));
    EXPECT_LT(browser.verticalScrollBar()->value(), importAt);
    ASSERT_TRUE(viewer.backAction()->isEnabled());
    // Another help page, at a section.
    emit browser.anchorClicked(QUrl(QStringLiteral("QVXSrv.html#fallback")));
    EXPECT_EQ(page(browser), QStringLiteral("QVXSrv.html#fallback"));
    EXPECT_GT(browser.verticalScrollBar()->value(), 0);

    // Alt+Left twice goes back to where it started, Alt+Right forward again.
    viewer.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&viewer));
    QTest::keyClick(&browser, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(page(browser), QStringLiteral("Dialogs.html#options"));
    QTest::keyClick(&browser, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(page(browser), QStringLiteral("Dialogs.html#import"));
    EXPECT_EQ(browser.verticalScrollBar()->value(), importAt);
    EXPECT_FALSE(viewer.backAction()->isEnabled());
    QTest::keyClick(&browser, Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(topLine(browser), QStringLiteral("General options"));
    viewer.forwardAction()->trigger();
    EXPECT_EQ(page(browser), QStringLiteral("QVXSrv.html#fallback"));
    EXPECT_FALSE(viewer.forwardAction()->isEnabled());

    // A web address goes to the shell; the viewer stays on its page.
    emit browser.anchorClicked(QUrl(QStringLiteral("https://bank.example/quotes")));
    EXPECT_EQ(m_shell.opened, std::vector<std::string>{"https://bank.example/quotes"});
    EXPECT_EQ(page(browser), QStringLiteral("QVXSrv.html#fallback"));

    // Home shows the program's own page; one viewer serves every page.
    viewer.homeAction()->trigger();
    EXPECT_EQ(browser.source().fileName(), QStringLiteral("Tarvelo.html"));
    EXPECT_EQ(topLine(browser), QStringLiteral("Tarvelo"));
    EXPECT_EQ(&HelpViewer::showPage(helpPageAddress(strings::kFaqPage)), &viewer);
    EXPECT_EQ(browser.source().fileName(), QStringLiteral("FAQ.html"));
    EXPECT_TRUE(viewer.backAction()->isEnabled());

    // A page that is not installed says so instead of showing nothing.
    HelpViewer::showPage(helpPageAddress("Missing.html"));
    EXPECT_TRUE(browser.toPlainText().contains(QStringLiteral("Missing.html is not installed")));
}

TEST_F(HelpViewerTest, HelpFromAModalDialogStaysUsableAndOutlivesIt)
{
    auto* dialog = new QDialog;
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
    ASSERT_EQ(QApplication::activeModalWidget(), dialog);
    // A modal dialog blocks every window but its own: the viewer belongs to it meanwhile.
    HelpViewer& viewer = HelpViewer::showPage(helpPageAddress(strings::kDialogHelpPage, "memo"));
    EXPECT_EQ(viewer.parentWidget(), dialog);
    EXPECT_TRUE(viewer.isWindow());
    ASSERT_NE(viewer.windowHandle(), nullptr);
    EXPECT_EQ(viewer.windowHandle()->transientParent(), dialog->windowHandle());
    // A dialog opened from that one takes it over, and hands it back when it closes:
    // while the first is still open, a viewer of its own would be blocked by it.
    auto* inner = new QDialog(dialog);
    inner->setWindowModality(Qt::ApplicationModal);
    inner->show();
    EXPECT_EQ(&HelpViewer::showPage(helpPageAddress(strings::kDialogHelpPage, "memo")), &viewer);
    EXPECT_EQ(viewer.parentWidget(), inner);
    inner->hide();
    EXPECT_EQ(viewer.parentWidget(), dialog);
    EXPECT_TRUE(viewer.isVisible());
    delete inner;
    const QPointer<HelpViewer> kept(&viewer);
    delete dialog;
    ASSERT_FALSE(kept.isNull());
    EXPECT_EQ(kept->parentWidget(), nullptr);
    EXPECT_TRUE(kept->isVisible());
    EXPECT_EQ(kept->browser()->source().fragment(), QStringLiteral("memo"));

    // A modal message of the viewer's own (an address no program opened, say) is no owner:
    // F1 there once made the viewer the child of its own child, and the program hung.
    auto* message = new QDialog(kept.data());
    message->setWindowModality(Qt::ApplicationModal);
    message->show();
    ASSERT_EQ(QApplication::activeModalWidget(), message);
    HelpViewer::showPage(HelpViewer::homePage());
    EXPECT_EQ(kept->parentWidget(), nullptr);
    delete message;
}

TEST_F(HelpViewerTest, TheAboutBoxLeadsToTheProgramsOwnPage)
{
    AboutDialog about;
    auto* link = about.findChild<QLabel*>(QStringLiteral("contactLabel"));
    ASSERT_NE(link, nullptr);
    EXPECT_FALSE(link->text().contains(QStringLiteral("example")));
    emit link->linkActivated(QLatin1String(strings::kHomePage));
    ASSERT_EQ(m_shell.opened.size(), 1u);
    EXPECT_EQ(QUrl(QString::fromStdString(m_shell.opened[0])), HelpViewer::homePage());
}

} // namespace
} // namespace tarvelo
