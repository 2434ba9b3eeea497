// Texts in any script, on every road a text takes: typed in the window, set on the
// command line, stored in the portfolio file and the settings, exported to a
// configuration file and read back, copied through the clipboard. And a portfolio or
// configuration file of Windows-1252 texts stays byte for byte what it always was.
#include "model/archive.h"
#include "model/portfoliodocument.h"
#include "servers/regfile.h"
#include "servers/serverstore.h"
#include "transfer/payload.h"
#include "ui/itemproperties/generalpage.h"

#include "download/downloadengine.h"
#include "download/messagesink.h"
#include "platform/files.h"

#include "tests/cli/clirun.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QInputMethodEvent>

#include <filesystem>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

const std::string kZloty = "Z\xC5\x82oty";                                // Złoty
const std::string kNikkei = "\xE6\x97\xA5\xE7\xB5\x8C\xE5\xB9\xB3\xE5\x9D\x87"; // 日経平均
const std::string kBitcoin = "\xE2\x82\xBF";                             // ₿
const std::string kSkoda = "\xC5\xA0koda";                               // Škoda: Windows-1252 holds Š
const std::string kBoerse = "B\xC3\xB6rse M\xC3\xBCnchen";               // Börse München

void clearServerConfigs()
{
    std::vector<std::string> names;
    enumerateServerConfigs(names);
    for (const std::string& name : names)
        deleteServerConfig(name);
}

TEST(UnicodeText, NamesInAnyScriptSurviveEveryRoad)
{
    const fs::path folder = fs::temp_directory_path() / "unicode-text";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string path = (folder / "Welt.qvx").string();

    // The command line makes the portfolio with a name and a symbol beyond Windows-1252.
    ASSERT_EQ(test::cli({"new", path}).status, 0);
    const test::CliRun added = test::cli({"add", path, kZloty, "--symbol", kBitcoin});
    ASSERT_EQ(added.status, 0) << added.err;

    // The window: a name typed into the item's General page, and a memo.
    PortfolioDocument doc;
    ASSERT_TRUE(doc.openFile(path).ok());
    {
        DownloadEngine engine;
        MessageQueue sink;
        ItemSettings typed;
        GeneralPage page(typed, engine, sink);
        auto* name = page.findChild<QLineEdit*>(QStringLiteral("nameEdit"));
        ASSERT_NE(name, nullptr);
        name->setFocus();
        name->clear();
        // As an input method hands over what was typed in Japanese.
        QInputMethodEvent typing;
        typing.setCommitString(QString::fromUtf8(kNikkei));
        QApplication::sendEvent(name, &typing);
        page.takeValues(typed);
        EXPECT_EQ(typed.name, kNikkei);
        typed.memo = kSkoda + " " + kBitcoin;
        doc.addItem(typed);
    }
    ASSERT_TRUE(doc.saveFile(path).ok());

    // The file holds them whole, and the command line lists them so.
    const LoadResult loaded = loadPortfolioFile(path);
    ASSERT_TRUE(loaded.ok()) << loaded.message();
    ASSERT_EQ(loaded->items.size(), 2u);
    EXPECT_EQ(loaded->items[0]->settings().name, kZloty);
    EXPECT_EQ(loaded->items[0]->settings().symbol, kBitcoin);
    EXPECT_EQ(loaded->items[1]->settings().name, kNikkei);
    EXPECT_EQ(loaded->items[1]->settings().memo, kSkoda + " " + kBitcoin);
    const test::CliRun listed = test::cli({"list", path});
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_NE(listed.out.find(kZloty), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find(kNikkei), std::string::npos) << listed.out;
    // Only the texts Windows-1252 lacks take the wide form; the others stay narrow.
    std::string bytes;
    ASSERT_EQ(readWholeFile(path, bytes), FileError::None);
    EXPECT_NE(bytes.find(std::string("\xFF\xFE\xFF\x05Z\x00\x42\x01o\x00t\x00y\x00", 14)), std::string::npos);
    EXPECT_EQ(bytes.find("Z?oty"), std::string::npos);

    // Through the clipboard into another portfolio.
    auto* mime = new QMimeData;
    const std::string payload = writeItemsPayload(doc.items());
    mime->setData(QString::fromLatin1(kItemsMimeType), QByteArray(payload.data(), static_cast<qsizetype>(payload.size())));
    QApplication::clipboard()->setMimeData(mime);
    const QByteArray pasted = QApplication::clipboard()->mimeData()->data(QString::fromLatin1(kItemsMimeType));
    PortfolioDocument other;
    ASSERT_TRUE(pasteItems(other, std::string_view(pasted.constData(), static_cast<std::size_t>(pasted.size()))).ok());
    ASSERT_EQ(other.itemCount(), 2u);
    EXPECT_EQ(other.items()[0]->settings().name, kZloty);
    EXPECT_EQ(other.items()[1]->settings().name, kNikkei);
    QApplication::clipboard()->clear();

    // A configuration of that name in the settings, exported and read back whole.
    clearServerConfigs();
    ServerConfig config;
    config.url = "http://quotes.example/" + kNikkei;
    config.textBeforeValue = kZloty + ":";
    ASSERT_TRUE(writeServerConfig(kZloty + " " + kBitcoin, config));
    const test::CliRun servers = test::cli({"servers", "list"});
    EXPECT_NE(servers.out.find(kZloty + " " + kBitcoin), std::string::npos) << servers.out;
    const std::string exported = serverConfigsRegFileText();
    EXPECT_TRUE(exported.starts_with(std::string("\xFF\xFE" "W\0i\0n\0", 8)));
    clearServerConfigs();
    ASSERT_TRUE(importServerConfigsText(exported).ok());
    ASSERT_TRUE(serverConfigExists(kZloty + " " + kBitcoin));
    ServerConfig back;
    readServerConfig(kZloty + " " + kBitcoin, back);
    EXPECT_EQ(back.url, config.url);
    EXPECT_EQ(back.textBeforeValue, config.textBeforeValue);
    EXPECT_EQ(serverConfigsRegFileText(), exported);

    // Windows-1252 texts alone: the narrow forms, the same bytes after a round trip.
    clearServerConfigs();
    ASSERT_TRUE(writeServerConfig(kBoerse, ServerConfig{}));
    const std::string narrowRegFile = serverConfigsRegFileText();
    EXPECT_TRUE(narrowRegFile.starts_with("REGEDIT4\r\n"));
    EXPECT_NE(narrowRegFile.find("B\xF6rse M\xFCnchen]"), std::string::npos);
    clearServerConfigs();
    ASSERT_TRUE(importServerConfigsText(narrowRegFile).ok());
    EXPECT_EQ(serverConfigsRegFileText(), narrowRegFile);
    clearServerConfigs();

    PortfolioDocument plain;
    ItemSettings settings;
    settings.name = kBoerse;
    settings.symbol = kSkoda;
    settings.memo = "\xE2\x82\xAC 5";                                     // € is in Windows-1252
    plain.insertQuotation(plain.addItem(settings), 12.5, 1000);
    const std::string narrow = saveItems(plain.items());
    EXPECT_NE(narrow.find("\x0D" "B\xF6rse M\xFCnchen"), std::string::npos);
    EXPECT_NE(narrow.find("\x03\x80 5"), std::string::npos);
    const LoadResult reread = loadItems(narrow);
    ASSERT_TRUE(reread.ok());
    EXPECT_EQ(reread->items[0]->settings().memo, settings.memo);
    EXPECT_EQ(saveItems({reread->items[0].get()}), narrow);
    fs::remove_all(folder);
}

} // namespace
} // namespace tarvelo
