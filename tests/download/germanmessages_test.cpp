// The core's messages in the language the desktop program has loaded: the German
// catalog, compiled from translations/tarvelo_core_de.ts as the build installs it.
#include "download/statustext.h"
#include "model/archive.h"
#include "model/securityitem.h"
#include "transfer/import.h"
#include "transfer/importpreview.h"

#include "tests/download/downloadfixture.h"

#include <QCoreApplication>
#include <QTranslator>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace tarvelo {
namespace {

class GermanMessagesTest : public test::DownloadFixture {
protected:
    void SetUp() override
    {
        DownloadFixture::SetUp();
        m_app = std::make_unique<QCoreApplication>(m_argc, m_argv);
        ASSERT_TRUE(m_catalog.load(QStringLiteral(TARVELO_CORE_CATALOG)));
        ASSERT_TRUE(QCoreApplication::installTranslator(&m_catalog));
    }
    void TearDown() override
    {
        QCoreApplication::removeTranslator(&m_catalog);
        m_app.reset();
        DownloadFixture::TearDown();
    }

    int m_argc = 1;
    char m_name[8] = "tarvelo";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QCoreApplication> m_app;
    QTranslator m_catalog;
};

TEST_F(GermanMessagesTest, FileDownloadAndImportFailuresSpeakGermanAndKeepTheirValues)
{
    // A portfolio with three bytes after its last item, and one that is not there.
    const std::string portfolio = (m_temp / "Depot \xC3\xBC.qvx").string();
    ItemSettings settings;
    settings.name = "Aktie";
    const SecurityItem item(settings);
    ASSERT_EQ(writeWholeFile(portfolio, saveItems({&item}) + "xyz"), FileError::None);
    const LoadResult damaged = loadPortfolioFile(portfolio);
    ASSERT_TRUE(damaged.ok());
    EXPECT_EQ(damaged->warning, portfolio + ": 3 Bytes nach dem letzten Wertpapier wurden \xC3\xBC" "bergangen.");
    std::filesystem::remove(portfolio);
    const LoadResult missing = loadPortfolioFile(portfolio);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.message(), portfolio + "\nDiese Datei wurde nicht gefunden.\nBitte pr\xC3\xBC" "fen Sie, ob Pfad "
                                             "und Dateiname richtig angegeben sind.");

    // A download of a page that is not there, and what the status window says of it.
    const std::string gone = m_temp.string() + "/weg.html";
    const ItemKey key = addItem("Fonds", "F", pageConfig("file://" + gone));
    m_run.start({key});
    const auto messages = collect(1);
    const DownloadMessage& failed = finalMessage(messages);
    EXPECT_EQ(failed.errorText, "Die Datei " + gone + " existiert nicht.");
    EXPECT_EQ(connectionStatusText(test::message(DownloadCode::Error, DownloadError::Server)), "Fehler: Server!");
    EXPECT_EQ(serverStatusText(503), "Fehler: Server! (HTTP-Status 503)");

    // An import whose only line names a day that does not exist.
    const std::string csv = (m_temp / "kurse.csv").string();
    ASSERT_EQ(writeWholeFile(csv, "30.02.2003;1,00\n"), FileError::None);
    const ImportExpression expression = translateImportTemplate("[&day].[&month].[&year];[&value]", "", ",", "");
    const ImportMatch match = matchImportFile(csv, "kurse.csv", expression, true, "", ",", 0);
    EXPECT_EQ(importFailureText(match), "Fehler beim Import der Kurse aus der Datei \xE2\x80\x9Ekurse.csv\xE2\x80\x9C:\n"
                                        "0 Kurse importiert, 1 Zeilen \xC3\xBC" "bersprungen (Zeile 1: 2003-02-30 "
                                        "existiert nicht)");
    std::filesystem::remove(csv);

    // Without the catalog the same calls give the English source texts again.
    QCoreApplication::removeTranslator(&m_catalog);
    EXPECT_EQ(serverStatusText(503), "Error: Server! (HTTP status 503)");
}

} // namespace
} // namespace tarvelo
