// Paste with something else on the clipboard, or with items damaged on the way: refused
// with a message, and the portfolio stays as it was.
#include "ui/mainwindow.h"

#include "download/downloadengine.h"
#include "resources/commandids.h"
#include "transfer/payload.h"
#include "ui/itemcommands.h"
#include "ui/portfoliolistview.h"

#include "tests/support/scriptedprompter.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>

namespace tarvelo {
namespace {

TEST(ClipboardPaste, ForeignOrDamagedContentChangesNothing)
{
    test::ScriptedPrompter prompter;
    Prompter::install(&prompter);
    PortfolioDocument doc;
    ItemSettings settings;
    settings.name = "ACME";
    doc.insertQuotation(doc.addItem(settings), 1.5, 100);
    doc.setModified(false);
    GeneralOptions options;
    DownloadEngine engine;
    {
        MainWindow frame(doc, options, engine, false);
        QClipboard* clipboard = QApplication::clipboard();

        clipboard->setText(QStringLiteral("ACME 1.5"));
        frame.updateCommandStates();
        EXPECT_FALSE(frame.action(commands::kEditPaste)->isEnabled());
        frame.itemCommands()->pasteItems();
        EXPECT_EQ(prompter.shown, QStringList{QStringLiteral("Clipboard data could not be read!")});

        // Items cut short on the way: of the two, the first would still read.
        PortfolioDocument other;
        for (const char* name : {"Beta", "Gamma"}) {
            settings.name = name;
            other.insertQuotation(other.addItem(settings), 2.5, 200);
        }
        const std::string payload = writeItemsPayload(other.items());
        auto* damaged = new QMimeData;
        damaged->setData(QString::fromLatin1(kItemsMimeType),
                         QByteArray(payload.data(), static_cast<qsizetype>(payload.size() - 4)));
        clipboard->setMimeData(damaged);
        frame.updateCommandStates();
        EXPECT_TRUE(frame.action(commands::kEditPaste)->isEnabled());
        prompter.shown.clear();
        frame.action(commands::kEditPaste)->trigger();
        ASSERT_EQ(prompter.shown.size(), 1);
        EXPECT_TRUE(prompter.shown[0].startsWith(QStringLiteral("Clipboard data could not be read!\n")));
        EXPECT_EQ(doc.itemCount(), 1u);
        EXPECT_FALSE(doc.isModified());
        EXPECT_EQ(frame.listView()->model()->rowCount(), 1);
        clipboard->clear();
    }
    Prompter::install(nullptr);
}

} // namespace
} // namespace tarvelo
