// Opens every dialog and window the program has, and every menu of the main window, and
// looks for two visible controls (or two menu entries) that answer the same Alt+letter.
#include "ui/mainwindow.h"

#include "download/downloadengine.h"
#include "platform/files.h"
#include "platform/localtime.h"
#include "ui/portfoliolistview.h"

#include "tests/support/pageitems.h"
#include "tests/support/recordingshell.h"
#include "tests/support/scriptedprompter.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

// The letter Alt answers for in a text, as Qt finds it: the first '&' that is not part of
// "&&"; none when there is none.
QString mnemonicOf(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&'))
            continue;
        if (text.at(i + 1) == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return text.at(i + 1).toUpper();
    }
    return {};
}

// Texts by the letter they answer to; a letter with two texts is a clash.
class MnemonicLetters {
public:
    void add(const QString& text)
    {
        if (const QString letter = mnemonicOf(text); !letter.isEmpty())
            m_texts[letter] << text;
    }
    void report(const QString& where, QStringList& clashes) const
    {
        for (const auto& [letter, texts] : m_texts) {
            if (texts.size() > 1)
                clashes << QStringLiteral("%1: %2 share %3").arg(where, texts.join(QStringLiteral(", ")), letter);
        }
    }

private:
    std::map<QString, QStringList> m_texts;
};

// The visible controls of a window that have a mnemonic: buttons, labels that give the
// focus to a buddy, group box titles and tabs.
void checkWindow(QWidget& window, QStringList& clashes)
{
    MnemonicLetters letters;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (widget->window() != &window || !widget->isVisible())
            continue;
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            letters.add(button->text());
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (label->buddy())
                letters.add(label->text());
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            letters.add(group->title());
        } else if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i)
                letters.add(tabs->tabText(i));
        }
    }
    const QString name = window.objectName().isEmpty() ? QString::fromLatin1(window.metaObject()->className())
                                                       : window.objectName();
    letters.report(name, clashes);
}

void checkMenu(const QMenu& menu, const QString& where, QStringList& clashes)
{
    MnemonicLetters letters;
    for (const QAction* action : menu.actions()) {
        if (!action->isSeparator() && action->isVisible())
            letters.add(action->text());
    }
    letters.report(where, clashes);
}

// Shows each dialog the program runs, checks it on every page of its tab widgets, and
// presses its buttons once to reach the dialogs they open; then cancels it. The
// standard dialogs of Qt (files, colours, printing, message boxes) are not the
// program's own and are cancelled at once.
class WalkingPrompter : public test::ScriptedPrompter {
public:
    int exec(QDialog& dialog) override
    {
        if (dialog.inherits("QColorDialog") || dialog.inherits("QFileDialog") || dialog.inherits("QPrintDialog")
            || dialog.inherits("QPageSetupDialog") || dialog.inherits("QPrintPreviewDialog")
            || dialog.inherits("QMessageBox"))
            return QDialog::Rejected;
        const QString key = QString::fromLatin1(dialog.metaObject()->className()) + QLatin1Char('/')
                            + dialog.objectName();
        seen.insert(key);
        dialog.show();
        QCoreApplication::processEvents();
        const bool first = m_walked.insert(key).second && m_depth < 4;
        ++m_depth;
        visitPages(dialog, first);
        --m_depth;
        dialog.hide();
        // The wizard's first page leads on to the second only when it ends with OK.
        if (dialog.inherits("tarvelo::WizardDownloadPage") && first)
            return QDialog::Accepted;
        return QDialog::Rejected;
    }

    std::set<QString> seen;
    QStringList clashes;

private:
    void visitPages(QDialog& dialog, bool pressButtons)
    {
        const QList<QTabWidget*> tabs = dialog.findChildren<QTabWidget*>();
        if (tabs.isEmpty()) {
            visit(dialog, pressButtons);
            return;
        }
        for (QTabWidget* pages : tabs) {
            for (int i = 0; i < pages->count() && dialog.isVisible(); ++i) {
                pages->setCurrentIndex(i);
                QCoreApplication::processEvents();
                visit(dialog, pressButtons);
            }
        }
    }
    void visit(QDialog& dialog, bool pressButtons)
    {
        checkWindow(dialog, clashes);
        if (!pressButtons)
            return;
        QList<QPointer<QAbstractButton>> buttons;
        for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
            if (button->window() != &dialog || !button->isVisible() || !button->isEnabled())
                continue;
            if (qobject_cast<QDialogButtonBox*>(button->parentWidget()) || qobject_cast<QTabBar*>(button->parentWidget()))
                continue; // OK, Cancel, Help, and the tab bar's arrows
            if (auto* push = qobject_cast<QPushButton*>(button); push && push->menu())
                continue;
            if (auto* tool = qobject_cast<QToolButton*>(button); tool && tool->menu())
                continue;
            const QString plain = button->text().remove(QLatin1Char('&'));
            if (plain == QStringLiteral("OK") || plain == QStringLiteral("Cancel") || plain == QStringLiteral("Close")
                || plain == QStringLiteral("Help") || button->objectName() == QStringLiteral("helpButton"))
                continue;
            buttons << button;
        }
        for (const QPointer<QAbstractButton>& button : buttons) {
            if (!dialog.isVisible())
                break;
            if (!button || !button->isVisible() || !button->isEnabled())
                continue;
            button->click();
            QCoreApplication::processEvents();
            // A button may show or hide controls (Advanced, choices): the dialog is
            // looked at again as it now stands.
            if (dialog.isVisible())
                checkWindow(dialog, clashes);
        }
    }

    std::set<QString> m_walked;
    int m_depth = 0;
};

class MnemonicsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Prompter::install(&m_prompter);
        Shell::install(&m_shell);
        m_folder = fs::temp_directory_path() / "mnemonics-test";
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_page = (m_folder / "page.html").string();
        ASSERT_EQ(writeWholeFile(m_page, "<p>Kurs ABC: <b>22,65</b></p>"), FileError::None);
    }
    void TearDown() override
    {
        m_frame.reset();
        Prompter::install(nullptr);
        Shell::install(nullptr);
        fs::remove_all(m_folder);
    }

    WalkingPrompter m_prompter;
    test::RecordingShell m_shell;
    fs::path m_folder;
    std::string m_page;
    PortfolioDocument m_doc;
    GeneralOptions m_options;
    DownloadEngine m_engine;
    std::unique_ptr<MainWindow> m_frame;
};

TEST_F(MnemonicsTest, NoTwoControlsOfADialogOrEntriesOfAMenuShareALetter)
{
    m_frame = std::make_unique<MainWindow>(m_doc, m_options, m_engine, false);
    MainWindow& frame = *m_frame;
    frame.show();
    QCoreApplication::processEvents();
    QStringList& clashes = m_prompter.clashes;

    // The menu bar, and each menu on its own (submenus and context menus included).
    MnemonicLetters bar;
    for (const QAction* action : frame.menuBar()->actions())
        bar.add(action->text());
    bar.report(QStringLiteral("menu bar"), clashes);
    QList<QAction*> commands;
    for (QMenu* menu : frame.findChildren<QMenu*>()) {
        emit menu->aboutToShow(); // menus that fill themselves when they open
        const QString where = menu->title().isEmpty() ? menu->objectName() : menu->title();
        checkMenu(*menu, where, clashes);
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator() && !action->menu() && !commands.contains(action))
                commands << action;
        }
    }

    // Every command once, with an item in the list that is current and selected, so that
    // the dialogs of the item open too; the windows it shows are looked at as they are.
    for (QAction* action : commands) {
        const QString plain = action->text().remove(QLatin1Char('&'));
        // Not the commands that end the window, drop the portfolio or hand it to the
        // desktop's mail program.
        if (plain == QStringLiteral("Exit") || plain == QStringLiteral("New") || plain == QStringLiteral("Send..."))
            continue;
        if (m_doc.itemCount() == 0)
            m_doc.addItem(test::pageItemSettings("Alpha", "ABC", "file://" + m_page));
        frame.listView()->setCurrentPosition(m_doc.itemPositions().front());
        frame.updateCommandStates();
        action->trigger();
        QCoreApplication::processEvents();
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window != &frame && window->isVisible() && !qobject_cast<QMenu*>(window))
                checkWindow(*window, clashes);
        }
    }

    clashes.removeDuplicates();
    EXPECT_TRUE(clashes.isEmpty()) << clashes.join(QLatin1Char('\n')).toStdString();
    // The walk reached the dialogs it is meant to look at.
    for (const char* dialog :
         {"tarvelo::ItemPropertiesDialog/itemPropertiesDialog", "tarvelo::ServerConfigurationsWindow/serverConfigurationsWindow",
          "tarvelo::ServerSettingsDialog/", "tarvelo::GeneralOptionsDialog/", "tarvelo::ImportDialog/",
          "tarvelo::ManualQuotationDialog/", "tarvelo::WizardRulePage/", "QDialog/newServerDialog", "tarvelo::MemoDialog/memoDialog"}) {
        const QString wanted = QString::fromLatin1(dialog);
        const bool reached = std::any_of(m_prompter.seen.begin(), m_prompter.seen.end(),
                                         [&](const QString& key) { return key.startsWith(wanted); });
        EXPECT_TRUE(reached) << dialog;
    }
    m_engine.shutdown();
}

} // namespace
} // namespace tarvelo
