#include "download/statustext.h"

#include "platform/files.h"

#include "tests/download/downloadfixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tarvelo {
namespace {

using test::message;

TEST(connectionStatusText, EveryCodeAndDetail)
{
    DownloadMessage progress = message(DownloadCode::Progress);
    progress.kilobytes = 12;
    DownloadMessage notFound = message(DownloadCode::NotFound);
    DownloadMessage notFoundWithReason = message(DownloadCode::NotFound);
    notFoundWithReason.extractionMessage = "EOF";
    DownloadMessage httpPath = message(DownloadCode::Error, DownloadError::FileNotFound);
    httpPath.url = "http://quotes.example/quotes/page.html";
    DownloadMessage filePath = message(DownloadCode::Error, DownloadError::FileNotFound);
    filePath.url = "file://C:/data/page.htm";
    DownloadMessage noSlash = message(DownloadCode::Error, DownloadError::FileNotFound);
    noSlash.url = "http://host";
    DownloadMessage other = message(DownloadCode::Error, DownloadError::Other);
    other.errorText = "Connection refused\r\nTry again\r\n";
    DownloadMessage heldBack = message(DownloadCode::Implausible);
    heldBack.quotation = std::make_unique<Quotation>(Quotation{100, 1250.0});
    heldBack.latestValue = 12.5;
    DownloadMessage heldBackNew = message(DownloadCode::Implausible);
    heldBackNew.quotation = std::make_unique<Quotation>(Quotation{100, 0.0});
    DownloadMessage fallbackFound = message(DownloadCode::Done);
    fallbackFound.fallbackName = "Backup";
    DownloadMessage fallbackFailed = message(DownloadCode::Error, DownloadError::Timeout);
    fallbackFailed.fallbackName = "Backup";
    const struct {
        DownloadMessage* message;
        const char* text;
    } cases[] = {
        {&progress, "Download 12 KB"},
        {&notFound, "Error: Quotation not found!!"},
        {&notFoundWithReason, "Error: Quotation not found!! (EOF)"},
        {&httpPath, "Error: File not found: /quotes/page.html"},
        {&filePath, "Error: File not found: /data/page.htm"},
        {&noSlash, "Error: File not found: "},
        {&other, "Connection refused. Try again. "},
        {&heldBack, "Error: Implausible value 1250.0000 (last 12.5000)"},
        {&heldBackNew, "Error: Implausible value 0.0000"},
        {&fallbackFound, "Quotation found (from Backup)"},
        {&fallbackFailed, "Error: Timeout! (from Backup)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(connectionStatusText(*c.message), c.text);
    const std::pair<DownloadMessage, const char*> simple[] = {
        {message(DownloadCode::Initialized), "Initialized"},
        {message(DownloadCode::Connecting), "Connecting..."},
        {message(DownloadCode::Connected), "Connected"},
        {message(DownloadCode::InvalidValue), "Error: Invalid value!"},
        {message(DownloadCode::TextNotFound), "Error: Text not found!"},
        {message(DownloadCode::Aborted), "Download aborted!"},
        {message(DownloadCode::Error, DownloadError::WrongUrl), "Error: Wrong URL!"},
        {message(DownloadCode::Error, DownloadError::Timeout), "Error: Timeout!"},
        {message(DownloadCode::Error, DownloadError::BadUrl), "Error: Bad URL!"},
        {message(DownloadCode::Error, DownloadError::Server), "Error: Server!"},
        {message(DownloadCode::Error, DownloadError::Other), "Error: Server!"},
        {message(DownloadCode::Error, static_cast<DownloadError>(7)), ""},
        {message(DownloadCode::Done), ""},
    };
    for (const auto& [message, text] : simple)
        EXPECT_EQ(connectionStatusText(message), text)
            << static_cast<int>(message.code) << "/" << static_cast<int>(message.detail);
}

TEST(UnmatchedPages, KeptAsTxtOrDeleted)
{
    const auto folder = std::filesystem::temp_directory_path();
    const std::string page = (folder / "QVXpage").string();
    DownloadMessage m = message(DownloadCode::TextNotFound);
    m.convertedFile = page;
    ASSERT_EQ(writeWholeFile(page, "converted"), FileError::None);
    EXPECT_EQ(settleUnmatchedPage(m, true), page + ".TXT");
    EXPECT_FALSE(std::filesystem::exists(page));
    EXPECT_TRUE(std::filesystem::exists(page + ".TXT"));
    std::filesystem::remove(page + ".TXT");

    ASSERT_EQ(writeWholeFile(page, "converted"), FileError::None);
    EXPECT_EQ(settleUnmatchedPage(m, false), "");
    EXPECT_FALSE(std::filesystem::exists(page));

    // Other codes own no page.
    ASSERT_EQ(writeWholeFile(page, "converted"), FileError::None);
    m.code = DownloadCode::Done;
    EXPECT_EQ(settleUnmatchedPage(m, false), "");
    EXPECT_TRUE(std::filesystem::exists(page));
    std::filesystem::remove(page);
}

} // namespace
} // namespace tarvelo
