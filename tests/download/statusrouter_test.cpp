#include "download/statusrouter.h"

#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tarvelo {
namespace {

DownloadMessage Message(int code, int detail = 0)
{
    DownloadMessage m;
    m.code = code;
    m.detail = detail;
    return m;
}

TEST(ConnectionStatusText, EveryCodeAndDetail)
{
    DownloadMessage progress = Message(DL_PROGRESS);
    progress.kilobytes = 12;
    DownloadMessage notFound = Message(DL_NOT_FOUND);
    DownloadMessage notFoundWithReason = Message(DL_NOT_FOUND);
    notFoundWithReason.extractionMessage = "EOF";
    DownloadMessage httpPath = Message(DL_ERROR, DLERR_FILE_NOT_FOUND);
    httpPath.url = "http://quotes.example/quotes/page.html";
    DownloadMessage filePath = Message(DL_ERROR, DLERR_FILE_NOT_FOUND);
    filePath.url = "file://C:/data/page.htm";
    DownloadMessage noSlash = Message(DL_ERROR, DLERR_FILE_NOT_FOUND);
    noSlash.url = "http://host";
    DownloadMessage other = Message(DL_ERROR, DLERR_OTHER);
    other.errorText = "Connection refused\r\nTry again\r\n";
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
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConnectionStatusText(*c.message), c.text);
    const std::pair<DownloadMessage, const char*> simple[] = {
        {Message(DL_INITIALIZED), "Initialized"},
        {Message(DL_CONNECTING), "Connecting..."},
        {Message(DL_CONNECTED), "Connected"},
        {Message(DL_INVALID_VALUE), "Error: Invalid value!"},
        {Message(DL_TEXT_NOT_FOUND), "Error: Text not found!"},
        {Message(DL_ABORTED), "Download aborted!"},
        {Message(DL_ERROR, DLERR_WRONG_URL), "Error: Wrong URL!"},
        {Message(DL_ERROR, DLERR_TIMEOUT), "Error: Timeout!"},
        {Message(DL_ERROR, DLERR_BAD_URL), "Error: Bad URL!"},
        {Message(DL_ERROR, DLERR_SERVER), "Error: Server!"},
        {Message(DL_ERROR, 7), ""},
        {Message(DL_DONE), ""},
    };
    for (const auto& [message, text] : simple)
        EXPECT_EQ(ConnectionStatusText(message), text) << message.code << "/" << message.detail;
}

TEST(UnmatchedPages, KeptAsTxtOrDeleted)
{
    const auto folder = std::filesystem::temp_directory_path();
    const std::string page = (folder / "QVXpage").string();
    DownloadMessage m = Message(DL_TEXT_NOT_FOUND);
    m.convertedFile = page;
    ASSERT_EQ(WriteWholeFile(page, "converted"), FileError::None);
    EXPECT_EQ(SettleUnmatchedPage(m, true), page + ".TXT");
    EXPECT_FALSE(std::filesystem::exists(page));
    EXPECT_TRUE(std::filesystem::exists(page + ".TXT"));
    std::filesystem::remove(page + ".TXT");

    ASSERT_EQ(WriteWholeFile(page, "converted"), FileError::None);
    EXPECT_EQ(SettleUnmatchedPage(m, false), "");
    EXPECT_FALSE(std::filesystem::exists(page));

    // Other codes own no page.
    ASSERT_EQ(WriteWholeFile(page, "converted"), FileError::None);
    m.code = DL_DONE;
    EXPECT_EQ(SettleUnmatchedPage(m, false), "");
    EXPECT_TRUE(std::filesystem::exists(page));
    std::filesystem::remove(page);
}

TEST(DownloadStatusRouterTest, CountsUpdatesAndAppliesFinalMessages)
{
    PortfolioDocument doc(5);
    ItemSettings settings;
    const ItemKey a = doc.AddItem(settings);
    const ItemKey b = doc.AddItem(settings);
    doc.InsertQuotation(a, 12.5, 100);
    doc.MarkBeingUpdated(a);
    doc.MarkBeingUpdated(b);
    DownloadStatusRouter router(doc);

    for (const ItemKey pos : {a, b}) {
        DownloadMessage init = Message(DL_INITIALIZED);
        init.itemKey = pos;
        router.route(init);
    }
    DownloadMessage test = Message(DL_INITIALIZED);
    test.test = true;
    router.route(test);
    EXPECT_EQ(router.runningUpdates(), 2);

    DownloadMessage done = Message(DL_DONE);
    done.itemKey = a;
    done.quotation = std::make_unique<Quotation>(Quotation{200, 1250.0});
    router.route(done);
    EXPECT_EQ(router.runningUpdates(), 1);
    EXPECT_DOUBLE_EQ(doc.GetQuotations(a)->back().value, 12.5); // scaled by 0.01
    EXPECT_FALSE(doc.IsBeingUpdated(a));

    DownloadMessage failed = Message(DL_ERROR, DLERR_TIMEOUT);
    failed.itemKey = b;
    router.route(failed);
    EXPECT_EQ(router.runningUpdates(), 0);
    EXPECT_FALSE(doc.IsBeingUpdated(b));
    EXPECT_TRUE(doc.GetQuotations(b)->empty());

    // A test result changes nothing.
    DownloadMessage testDone = Message(DL_DONE);
    testDone.test = true;
    testDone.itemKey = b;
    testDone.quotation = std::make_unique<Quotation>(Quotation{300, 1.0});
    router.route(testDone);
    EXPECT_TRUE(doc.GetQuotations(b)->empty());
    EXPECT_EQ(router.runningUpdates(), 0);
}

} // namespace
} // namespace tarvelo
