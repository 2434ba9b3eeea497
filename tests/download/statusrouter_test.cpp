#include "download/statusrouter.h"

#include "download/downloadengine.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tarvelo {
namespace {

DownloadMessage message(DownloadCode code, DownloadError detail = DownloadError::None)
{
    DownloadMessage m;
    m.code = code;
    m.detail = detail;
    return m;
}

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

TEST(DownloadStatusRouterTest, CountsUpdatesAndAppliesFinalMessages)
{
    PortfolioDocument doc;
    ItemSettings settings;
    const ItemKey a = doc.addItem(settings);
    const ItemKey b = doc.addItem(settings);
    doc.insertQuotation(a, 12.5, 100);
    doc.markBeingUpdated(a);
    doc.markBeingUpdated(b);
    DownloadEngine engine;
    DownloadStatusRouter router(doc, engine);

    for (const ItemKey pos : {a, b}) {
        DownloadMessage init = message(DownloadCode::Initialized);
        init.itemKey = pos;
        router.route(init);
    }
    DownloadMessage test = message(DownloadCode::Initialized);
    test.test = true;
    router.route(test);
    EXPECT_EQ(router.runningUpdates(), 2);

    DownloadMessage done = message(DownloadCode::Done);
    done.itemKey = a;
    done.quotation = std::make_unique<Quotation>(Quotation{200, 1250.0});
    router.route(done);
    EXPECT_EQ(router.runningUpdates(), 1);
    EXPECT_DOUBLE_EQ(doc.quotations(a)->back().value, 12.5); // scaled by 0.01
    EXPECT_FALSE(doc.isBeingUpdated(a));

    DownloadMessage failed = message(DownloadCode::Error, DownloadError::Timeout);
    failed.itemKey = b;
    router.route(failed);
    EXPECT_EQ(router.runningUpdates(), 0);
    EXPECT_FALSE(doc.isBeingUpdated(b));
    EXPECT_TRUE(doc.quotations(b)->empty());

    // A test result changes nothing.
    DownloadMessage testDone = message(DownloadCode::Done);
    testDone.test = true;
    testDone.itemKey = b;
    testDone.quotation = std::make_unique<Quotation>(Quotation{300, 1.0});
    router.route(testDone);
    EXPECT_TRUE(doc.quotations(b)->empty());
    EXPECT_EQ(router.runningUpdates(), 0);
}

TEST(DownloadStatusRouterTest, AbortDropsFoundQuotationsUntilNoItemIsBeingUpdated)
{
    PortfolioDocument doc;
    ItemSettings settings;
    const ItemKey a = doc.addItem(settings), b = doc.addItem(settings), gone = doc.addItem(settings);
    doc.deleteItems({gone});
    DownloadEngine engine;
    DownloadStatusRouter router(doc, engine);
    const auto report = [&](ItemKey pos, bool found) {
        DownloadMessage m = message(found ? DownloadCode::Done : DownloadCode::Error, DownloadError::Timeout);
        m.itemKey = pos;
        if (found)
            m.quotation = std::make_unique<Quotation>(Quotation{200, 2.0});
        router.route(m);
    };
    doc.markBeingUpdated(a);
    doc.markBeingUpdated(b);
    engine.requestAbort();

    report(a, true);
    EXPECT_TRUE(doc.quotations(a)->empty());
    EXPECT_FALSE(doc.isBeingUpdated(a));
    EXPECT_TRUE(engine.abortRequested()); // b is still being updated
    report(b, true);
    EXPECT_TRUE(doc.quotations(b)->empty());
    EXPECT_FALSE(engine.abortRequested());

    doc.markBeingUpdated(a);
    report(a, true);
    EXPECT_EQ(doc.quotations(a)->size(), 1u);

    // Only the outcome of an item that is no longer being updated: the abort lasts as
    // long as another item is; a quotation for an item that has gone ends nothing.
    doc.markBeingUpdated(a);
    engine.requestAbort();
    report(b, false);
    EXPECT_TRUE(engine.abortRequested());
    report(a, false);
    EXPECT_FALSE(engine.abortRequested());
    engine.requestAbort();
    report(gone, true);
    EXPECT_TRUE(engine.abortRequested());
    report(gone, false);
    EXPECT_FALSE(engine.abortRequested());
}

} // namespace
} // namespace tarvelo
