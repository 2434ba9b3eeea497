// Undo and Redo in the window's Edit menu: the steps the commands make, named in the
// menu, taken back and made again by the keys; an update run as one step; the stack's
// cap.
#include "ui/undosteps.h"

#include "download/downloadengine.h"
#include "model/generaloptions.h"
#include "platform/files.h"
#include "resources/commandids.h"
#include "ui/downloadhub.h"
#include "ui/mainwindow.h"
#include "ui/portfoliolistview.h"

#include "tests/support/pageitems.h"
#include "tests/support/recordingshell.h"
#include "tests/support/scopedtimezone.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/waitfor.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QUndoStack>

#include <filesystem>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

using namespace commands;

class UndoStepsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Prompter::install(&m_prompter);
        Shell::install(&m_shell);
        m_folder = fs::temp_directory_path() / "undo-steps-test";
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_page = (m_folder / "page.html").string();
        ASSERT_EQ(writeWholeFile(m_page, "<p>Kurs ABC: <b>22,65</b> Kurs XYZ: <b>7,5</b></p>"), FileError::None);
    }
    void TearDown() override
    {
        m_frame.reset();
        Prompter::install(nullptr);
        Shell::install(nullptr);
        fs::remove_all(m_folder);
    }
    ItemKey add(const char* name, const char* symbol)
    {
        return m_doc.addItem(test::pageItemSettings(name, symbol, "file://" + m_page));
    }
    QAction* editMenuEntry(int command) const
    {
        for (QAction* menu : m_frame->menuBar()->actions()) {
            if (menu->text() != QStringLiteral("&Edit"))
                continue;
            for (QAction* entry : menu->menu()->actions()) {
                if (entry == m_frame->action(command))
                    return entry;
            }
        }
        return nullptr;
    }
    bool idle()
    {
        return test::waitFor(
            [this] { return !m_doc.anyBeingUpdated() && m_frame->downloadHub()->runningUpdates() == 0; });
    }

    test::ScopedTimeZone m_zone{"UTC"};
    test::ScriptedPrompter m_prompter;
    test::RecordingShell m_shell;
    fs::path m_folder;
    std::string m_page;
    PortfolioDocument m_doc;
    GeneralOptions m_options;
    DownloadEngine m_engine;
    std::unique_ptr<MainWindow> m_frame;
};

TEST_F(UndoStepsTest, TheEditMenuNamesTheStepsAndTheKeysTakeThemBackAndAgain)
{
    add("Alpha", "ABC");
    const ItemKey beta = add("Beta", "XYZ");
    m_frame = std::make_unique<MainWindow>(m_doc, m_options, m_engine, false);
    MainWindow& frame = *m_frame;
    frame.show();
    QApplication::setActiveWindow(&frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    QAction* undo = editMenuEntry(kEditUndo);
    QAction* redo = editMenuEntry(kEditRedo);
    ASSERT_NE(undo, nullptr);
    ASSERT_NE(redo, nullptr);
    EXPECT_EQ(undo->text(), "&Undo");
    EXPECT_FALSE(undo->isEnabled());

    // Delete the second item: one step, named in the menu.
    PortfolioListView& list = *frame.listView();
    list.setFocus();
    list.setCurrentIndex(list.model()->index(1, 0));
    m_prompter.answers.push_back(Prompter::Yes);
    QTest::keyClick(&list, Qt::Key_Delete);
    ASSERT_EQ(m_doc.itemCount(), 1u);
    EXPECT_EQ(undo->text(), "&Undo Delete item");
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_TRUE(m_doc.isModified());

    // Ctrl+Z brings it back at its place with its key; Ctrl+Shift+Z deletes it again.
    QTest::keyClick(&list, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(m_doc.itemCount(), 2u);
    EXPECT_EQ(m_doc.itemPositions()[1], beta);
    EXPECT_EQ(redo->text(), "&Redo Delete item");
    EXPECT_TRUE(redo->isEnabled());
    QTest::keyClick(&list, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(m_doc.itemCount(), 1u);
    QTest::keyClick(&list, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_TRUE(m_doc.isValid(beta));

    // The property sheet's OK is one step; a new name names it.
    list.setCurrentIndex(list.model()->index(0, 0));
    m_prompter.dialogs.push_back([](QDialog& sheet) {
        sheet.findChild<QLineEdit*>(QStringLiteral("nameEdit"))->setText(QStringLiteral("Alpha Neu"));
        sheet.accept();
        return sheet.result();
    });
    frame.action(kItemProperties)->trigger();
    EXPECT_EQ(undo->text(), "&Undo Rename item");

    // The quotations an update stored are one step once the update is over.
    frame.updateAllQuotations();
    EXPECT_FALSE(frame.action(kEditUndo)->isEnabled()); // not while downloads run
    ASSERT_TRUE(idle());
    EXPECT_EQ(m_doc.quotations(beta)->size(), 1u);
    EXPECT_EQ(undo->text(), "&Undo Update quotations");
    EXPECT_TRUE(undo->isEnabled());
    frame.action(kEditUndo)->trigger();
    EXPECT_TRUE(m_doc.quotations(beta)->empty());
    EXPECT_TRUE(m_doc.quotations(m_doc.itemPositions()[0])->empty());
    frame.action(kEditUndo)->trigger();
    EXPECT_EQ(m_doc.itemName(m_doc.itemPositions()[0]), "Alpha");

    // A new portfolio empties the stack.
    m_prompter.answers.push_back(Prompter::No); // do not save
    ASSERT_TRUE(frame.newDocument());
    EXPECT_FALSE(frame.undoSteps()->canUndo());
    EXPECT_FALSE(frame.undoSteps()->canRedo());
    EXPECT_EQ(undo->text(), "&Undo");
}

TEST_F(UndoStepsTest, TheStackKeepsTheLastHundredSteps)
{
    const ItemKey alpha = add("Alpha", "ABC");
    UndoSteps steps(m_doc);
    for (int i = 0; i < UndoSteps::kLimit + 5; ++i)
        m_doc.recordEdit("step", [&] { m_doc.insertQuotation(alpha, i + 1.0, 1'700'000'000 + i); });
    EXPECT_EQ(steps.stack().count(), UndoSteps::kLimit);
    while (steps.canUndo())
        steps.undo();
    // The five oldest steps are beyond undo.
    ASSERT_EQ(m_doc.quotations(alpha)->size(), 5u);
    EXPECT_DOUBLE_EQ(m_doc.quotations(alpha)->back().value, 5.0);
    while (steps.canRedo())
        steps.redo();
    EXPECT_EQ(m_doc.quotations(alpha)->size(), 105u);
}

} // namespace
} // namespace tarvelo
