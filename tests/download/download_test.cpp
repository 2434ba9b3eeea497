#include "download/address.h"
#include "download/downloadengine.h"
#include "download/statustext.h"
#include "download/updaterun.h"

#include "extraction/urltemplate.h"
#include "model/generaloptions.h"
#include "platform/files.h"
#include "platform/localtime.h"
#include "platform/profile.h"
#include "servers/serverstore.h"

#include "tests/download/downloadfixture.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <filesystem>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace tarvelo {
namespace {

using test::Received;

// The threads of the process now.
int threadCount()
{
    int count = 0;
    if (DIR* tasks = ::opendir("/proc/self/task")) {
        while (const dirent* entry = ::readdir(tasks))
            count += entry->d_name[0] != '.' ? 1 : 0;
        ::closedir(tasks);
    }
    return count;
}

// Passes the messages on to a queue and notes the most threads the process had when one
// was posted.
class ThreadCountingSink : public MessageSink {
public:
    explicit ThreadCountingSink(MessageQueue& queue) : m_queue(queue) {}
    void post(MessageId messageId, std::unique_ptr<DownloadMessage> message) override
    {
        const int now = threadCount();
        int most = m_most.load();
        while (now > most && !m_most.compare_exchange_weak(most, now)) {
        }
        m_queue.post(messageId, std::move(message));
    }
    void jobQueued() override { m_queue.jobQueued(); }
    void jobEnded() override { m_queue.jobEnded(); }
    int most() const { return m_most.load(); }

private:
    MessageQueue& m_queue;
    std::atomic<int> m_most{0};
};

// Paths on which the server misbehaves as real ones do; the test's own pages answer only
// requests that carry the program's headers.
void addMisbehavingPaths(test::PageServer& server)
{
    server.requireHeader("User-Agent", "QVX");
    server.requireHeader("Accept", "text/*");
    server.handle("/403|/503|/302|/304|/999", [](const httplib::Request& request, httplib::Response& response) {
        // A redirect that names no address is not followed.
        response.status = std::stoi(request.path.substr(1));
    });
    // Headers of 300 KB: more than an answer may bring.
    server.handle("/headers", [](const httplib::Request&, httplib::Response& response) {
        for (int i = 0; i < 3000; ++i)
            response.set_header("X-Filler-" + std::to_string(i), std::string(100, 'h'));
        response.set_content("Kurs S: 1,5", "text/html");
    });
    // Accepts, then says nothing until released.
    server.handle("/stall", [&server](const httplib::Request&, httplib::Response&) { server.waitForRelease(); });
    // A long page in small pieces.
    server.handle("/slow", [&server](const httplib::Request&, httplib::Response& response) {
        response.set_content_provider(
            1000000, "text/html", [&server](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                if (server.released())
                    return false;
                std::this_thread::sleep_for(20ms);
                const std::string piece(std::min<std::size_t>(1000, 1000000 - offset), 'x');
                return sink.write(piece.data(), piece.size());
            });
    });
    // 300000 bytes in chunks, no length told beforehand.
    server.handle("/unannounced", [](const httplib::Request&, httplib::Response& response) {
        response.set_chunked_content_provider("text/html", [](std::size_t offset, httplib::DataSink& sink) {
            if (offset >= 300000) {
                sink.done();
                return true;
            }
            const std::string piece(10000, 'u');
            return sink.write(piece.data(), piece.size());
        });
    });
    // Promises 10000 bytes and ends after 100.
    server.handle("/cut", [](const httplib::Request&, httplib::Response& response) {
        response.set_content_provider(10000, "text/html", [](std::size_t, std::size_t, httplib::DataSink& sink) {
            const std::string piece(100, 'y');
            sink.write(piece.data(), piece.size());
            return false;
        });
    });
}

class DownloadTest : public test::DownloadFixture {
protected:
    void SetUp() override
    {
        DownloadFixture::SetUp();
        addMisbehavingPaths(m_server);
    }
};

TEST_F(DownloadTest, ItemsOnOnePageShareOneDownloadWithTheLargerTimeout)
{
    m_server.page("/q.html", "Kurs A: 12,50 EUR Kurs B: 7,25 EUR");
    const ItemKey a = addItem("A", "A", pageConfig(m_server.url("/q.html"), 1));
    const ItemKey b = addItem("B", "B", pageConfig(m_server.url("/q.html"), 20));
    ASSERT_EQ(m_run.start(m_doc.itemPositions()), 1);
    EXPECT_TRUE(m_doc.isBeingUpdated(a));
    const auto messages = collect(2);
    EXPECT_EQ(m_server.hits("/q.html"), 1);
    EXPECT_EQ(codesOf(messages, "A"), (std::vector<DownloadCode>{DownloadCode::Initialized, DownloadCode::Connecting, DownloadCode::Connected, DownloadCode::Done}));
    EXPECT_EQ(codesOf(messages, "B"), (std::vector<DownloadCode>{DownloadCode::Initialized, DownloadCode::Connecting, DownloadCode::Connected, DownloadCode::Done}));
    EXPECT_DOUBLE_EQ(m_doc.quotations(a)->back().value, 12.5);
    EXPECT_DOUBLE_EQ(m_doc.quotations(b)->back().value, 7.25);
    EXPECT_FALSE(m_doc.isBeingUpdated(a) || m_doc.isBeingUpdated(b));
    EXPECT_EQ(m_run.runningUpdates(), 0);
    EXPECT_EQ(messages.front().id, MessageId::DownloadStatus);
}

TEST_F(DownloadTest, ItemsBeingUpdatedAreNotTakenAgain)
{
    const ItemKey a = addItem("A", "A", pageConfig(m_server.url("/stall"), 5));
    EXPECT_EQ(m_run.start({a}), 1);
    EXPECT_EQ(m_run.start({a}), 0);
    m_server.release();
    collect(1);
    EXPECT_EQ(m_server.hits("/stall"), 1);
}

TEST_F(DownloadTest, DatedAddressesStepBackToTheNewestPage)
{
    const TimeStamp now = currentTime();
    const std::string yesterday = expandDateVariables("/q[&y][&m][&d].html", 1, now);
    m_server.page(yesterday, "Kurs X: 3,5 EUR");
    const ItemKey found = addItem("found", "X", pageConfig(m_server.url("/q[&y][&m][&d].html")));
    const ItemKey missing = addItem("missing", "X", pageConfig(m_server.url("/none[&d].html")));
    m_run.start(m_doc.itemPositions());
    const auto messages = collect(2);
    EXPECT_EQ(finalMessage(messages, "found").code, DownloadCode::Done);
    EXPECT_DOUBLE_EQ(m_doc.quotations(found)->back().value, 3.5);
    const DownloadMessage& notFound = finalMessage(messages, "missing");
    EXPECT_EQ(notFound.code, DownloadCode::Error);
    EXPECT_EQ(notFound.detail, DownloadError::FileNotFound);
    EXPECT_EQ(notFound.url, m_server.url(expandDateVariables("/none[&d].html", 0, now)));
    EXPECT_EQ(m_server.hits(expandDateVariables("/none[&d].html", 3, now)), 1);
    EXPECT_TRUE(m_doc.quotations(missing)->empty());

    // Without date variables a 404 is not tried again.
    const ItemKey plain = addItem("plain", "X", pageConfig(m_server.url("/plain.html")));
    m_run.start({plain});
    EXPECT_EQ(finalMessage(collect(1)).detail, DownloadError::FileNotFound);
    EXPECT_EQ(m_server.hits("/plain.html"), 1);
}

TEST_F(DownloadTest, StatusesSchemesAndAddresses)
{
    const struct {
        std::string url;
        DownloadError detail;
        bool connecting;
        const char* text = nullptr; // the status text, where it is not the server's status
    } cases[] = {
        {m_server.url("/403"), DownloadError::BadUrl, true},
        {m_server.url("/503"), DownloadError::Server, true},
        {m_server.url("/302"), DownloadError::Other, true},
        {m_server.url("/304"), DownloadError::Other, true},
        {m_server.url("/999"), DownloadError::Other, true},
        {m_server.url("/headers"), DownloadError::Other, true,
         "The server's answer has headers of more than 256 KB (or a header line of more than 100 KB); the page is not read."},
        {"file://" + (m_temp / "missing.html").string(), DownloadError::FileNotFound, false},
        // A FIFO is refused at once, not waited on for a writer.
        {"file://" + (m_temp / "fifo.html").string(), DownloadError::Other, false},
        {"ftp://127.0.0.1/x", DownloadError::WrongUrl, false},
        {"http://", DownloadError::WrongUrl, false},
        {"", DownloadError::WrongUrl, false},
        // Addresses that curl's own reading would take.
        {"http:/127.0.0.1/x", DownloadError::WrongUrl, false},
        {"http:///127.0.0.1/x", DownloadError::WrongUrl, false},
        {"http://127.0.0.1:000080/x", DownloadError::WrongUrl, false},
        {"http://user@/x", DownloadError::WrongUrl, false},
        {"http://[::1/x", DownloadError::WrongUrl, false},
        {"http://127.0.0.1:65536/x", DownloadError::WrongUrl, false},
    };
    ASSERT_EQ(::mkfifo((m_temp / "fifo.html").c_str(), 0600), 0);
    for (const auto& c : cases) {
        PortfolioDocument doc;
        UpdateRun run(doc, *m_engine, m_queue);
        ItemSettings settings;
        settings.name = "item";
        settings.server = pageConfig(c.url);
        const ItemKey pos = doc.addItem(settings);
        run.start({pos});
        const auto messages = collect(1, &run);
        const DownloadMessage& final = finalMessage(messages);
        EXPECT_EQ(final.code, DownloadCode::Error) << c.url;
        EXPECT_EQ(final.detail, c.detail) << c.url;
        const std::vector<DownloadCode> codes = codesOf(messages);
        EXPECT_EQ(std::count(codes.begin(), codes.end(), DownloadCode::Connecting), c.connecting ? 1 : 0) << c.url;
        EXPECT_EQ(codes.front(), DownloadCode::Initialized);
        if (c.text) {
            EXPECT_EQ(connectionStatusText(final), c.text);
        } else if (c.detail == DownloadError::Other && c.url.starts_with("http")) {
            // A status without a text of its own is named by its number.
            EXPECT_EQ(connectionStatusText(final), "Error: Server! (HTTP status " + c.url.substr(c.url.rfind('/') + 1) + ")");
        }
        if (c.url.rfind("file", 0) == 0) {
            const bool fifo = c.url.find("fifo") != std::string::npos;
            EXPECT_NE(connectionStatusText(final).find(fifo ? "fifo.html is not a regular file" : "missing.html"),
                      std::string::npos)
                << connectionStatusText(final);
        }
        m_engine->wait();
    }
    fs::remove(m_temp / "fifo.html");
}

TEST_F(DownloadTest, PagesBeyondTheSizeLimitEndWithAnErrorAndLeaveNoFile)
{
    constexpr std::size_t kLimit = 100000;
    m_engine->setMaxPageSize(kLimit);
    std::string exact(kLimit - 15, ' ');
    exact += "Kurs S: 1,5 EUR";
    ASSERT_EQ(exact.size(), kLimit);
    m_server.page("/exact.html", exact);
    m_server.page("/over.html", exact + " ");
    const fs::path file = m_temp / "over.html";
    ASSERT_EQ(writeWholeFile(file.string(), exact + " "), FileError::None);
    const ItemKey fits = addItem("exact", "S", pageConfig(m_server.url("/exact.html")));
    addItem("announced", "S", pageConfig(m_server.url("/over.html")));
    addItem("unannounced", "S", pageConfig(m_server.url("/unannounced")));
    addItem("file", "S", pageConfig("file://" + file.string()));
    m_run.start(m_doc.itemPositions());
    const auto messages = collect(4);
    fs::remove(file);

    EXPECT_EQ(finalMessage(messages, "exact").code, DownloadCode::Done);
    EXPECT_DOUBLE_EQ(m_doc.quotations(fits)->back().value, 1.5);
    for (const char* item : {"announced", "unannounced", "file"}) {
        const DownloadMessage& m = finalMessage(messages, item);
        EXPECT_EQ(m.code, DownloadCode::Error) << item;
        EXPECT_EQ(m.detail, DownloadError::Other) << item;
        EXPECT_EQ(connectionStatusText(m),
                  "The page is larger than 100000 bytes, the limit set by the option MaxPageSize.")
            << item;
    }
    EXPECT_FALSE(m_doc.anyBeingUpdated());

    // The option as stored is held to the range the options dialog accepts.
    Profile().writeInt(kGeneralOptionsSection, "MaxPageSize", 5);
    EXPECT_EQ(readMaxPageSize(), 65536u);
    Profile().deleteValue(kGeneralOptionsSection, "MaxPageSize");
    EXPECT_EQ(readMaxPageSize(), 64u << 20);
}

TEST_F(DownloadTest, LocalAddressesArePercentDecoded)
{
    // "Kurs ä.html" spelt as the file system spells it (UTF-8), and the page it holds.
    const std::string name = "Kurs \xC3\xA4.html";
    ASSERT_EQ(writeWholeFile((m_temp / name).string(), "Kurs U: 2,5 EUR"), FileError::None);
    const std::string folder = "file://" + m_temp.string() + "/";
    const ItemKey encoded = addItem("encoded", "U", pageConfig(folder + "Kurs%20%C3%a4.html"));
    // Typed into the program: UTF-8, not encoded.
    const ItemKey typed = addItem("typed", "U", pageConfig(folder + "Kurs \xC3\xA4.html"));
    m_run.start(m_doc.itemPositions());
    const auto messages = collect(2);
    EXPECT_EQ(finalMessage(messages, "encoded").code, DownloadCode::Done);
    EXPECT_EQ(finalMessage(messages, "typed").code, DownloadCode::Done);
    ASSERT_FALSE(m_doc.quotations(encoded)->empty());
    EXPECT_DOUBLE_EQ(m_doc.quotations(encoded)->back().value, 2.5);
    ASSERT_FALSE(m_doc.quotations(typed)->empty());

    // The import takes the same page.
    startImportDownload(*m_engine, m_queue, folder + "Kurs%20%C3%A4.html", "", "");
    const auto imported = collect(1);
    ASSERT_EQ(finalMessage(imported).code, DownloadCode::Done);
    std::string raw;
    EXPECT_EQ(readWholeFile(finalMessage(imported).rawFile, raw), FileError::None);
    EXPECT_EQ(raw, "Kurs U: 2,5 EUR");
    fs::remove(finalMessage(imported).rawFile);

    // A missing file is named as the user reads it.
    const ItemKey missing = addItem("missing", "U", pageConfig(folder + "gone%20%C3%A4.html"));
    m_run.start({missing});
    EXPECT_EQ(finalMessage(collect(1)).errorText, "The file " + m_temp.string() + "/gone \xC3\xA4.html does not exist.");
    fs::remove(m_temp / name);
}

TEST_F(DownloadTest, MissingConfigurationMeansAnEmptyAddress)
{
    deleteServerConfig("Gone");
    ServerConfig named;
    named.name = "Gone";
    const ItemKey pos = addItem("A", "A", named);
    m_run.start({pos});
    const auto messages = collect(1);
    EXPECT_EQ(codesOf(messages), (std::vector<DownloadCode>{DownloadCode::Initialized, DownloadCode::Error}));
    EXPECT_EQ(finalMessage(messages).detail, DownloadError::WrongUrl);
}

TEST_F(DownloadTest, ProgressForEveryThousandBytesAndLocalFiles)
{
    std::string page(2500 - 14, ' ');
    page += "Kurs P: 1,5 EU";
    const fs::path file = m_temp / "page.html";
    ASSERT_EQ(writeWholeFile(file.string(), page), FileError::None);
    m_server.page("/p.html", page);
    for (const std::string& url : {m_server.url("/p.html"), "file://" + file.string()}) {
        const ItemKey pos = addItem("P", "P", pageConfig(url));
        m_run.start({pos});
        const auto messages = collect(1);
        std::vector<int> kilobytes;
        for (const Received& r : messages) {
            if (r.message->code == DownloadCode::Progress)
                kilobytes.push_back(r.message->kilobytes);
        }
        EXPECT_EQ(kilobytes, (std::vector<int>{1, 2})) << url;
        EXPECT_EQ(finalMessage(messages).code, DownloadCode::Done) << url;
    }
    fs::remove(file);
}

TEST_F(DownloadTest, OneSlotRunsThePagesOneAfterTheOther)
{
    PortfolioDocument doc;
    DownloadEngine engine(1);
    UpdateRun run(doc, engine, m_queue);
    for (const char* path : {"/1.html", "/2.html", "/3.html"}) {
        m_server.page(path, "Kurs S: 2,0 EUR");
        ItemSettings settings;
        settings.name = path;
        settings.symbol = "S";
        settings.server = pageConfig(m_server.url(path));
        doc.addItem(settings);
    }
    EXPECT_EQ(run.start(doc.itemPositions()), 3);
    const auto messages = collect(3, &run);
    // Between two "Initialized" there is always the final message of the one before.
    int open = 0;
    for (const Received& r : messages) {
        if (r.message->code == DownloadCode::Initialized) {
            EXPECT_EQ(open++, 0);
        }
        if (isFinalCode(r.message->code))
            --open;
    }
    engine.wait();
}

TEST_F(DownloadTest, ThePoolNeverRunsMoreWorkersThanItsSize)
{
    // Every page is a job of its own: a thread per job would be hundreds at once.
    constexpr int kPages = 300;
    for (int p = 0; p < kPages; ++p) {
        const fs::path file = m_temp / ("p" + std::to_string(p) + ".html");
        ASSERT_EQ(writeWholeFile(file.string(), "Kurs S: 1,5 EUR"), FileError::None);
        addItem("item", "S", pageConfig("file://" + file.string()));
    }
    ThreadCountingSink sink(m_queue); // outlives the engine's workers
    DownloadEngine engine(2);
    UpdateRun run(m_doc, engine, sink);
    const int before = threadCount();
    ASSERT_EQ(run.start(m_doc.itemPositions()), kPages);
    const auto messages = collect(kPages, &run);
    EXPECT_EQ(engine.workerLimit(), 2 + DownloadEngine::kOtherJobWorkers);
    EXPECT_LE(sink.most() - before, engine.workerLimit());
    EXPECT_LE(engine.workerThreads(), static_cast<std::size_t>(engine.workerLimit()));
    EXPECT_EQ(std::count_if(messages.begin(), messages.end(),
                            [](const Received& r) { return r.message->code == DownloadCode::Done; }),
              kPages);
    for (int p = 0; p < kPages; ++p)
        fs::remove(m_temp / ("p" + std::to_string(p) + ".html"));
}

TEST_F(DownloadTest, AJobWaitingForItsHostKeepsNoWorkerFromTheOthers)
{
    // Three slots and five workers. Two of the first host's six pages take two slots;
    // the other four wait for their host without holding a worker, so the second
    // host's page, queued last, gets the third slot while the first host's are held.
    test::PageServer other("127.0.0.2");
    other.page("/q.html", "Kurs S: 2,5 EUR");
    for (int i = 0; i < 6; ++i)
        addItem("held", "S", pageConfig(m_server.url("/stall?" + std::to_string(i)), 60));
    const ItemKey free = addItem("free", "S", pageConfig(other.url("/q.html")));
    DownloadEngine engine(3);
    ASSERT_LT(engine.workerLimit(), 6);
    UpdateRun run(m_doc, engine, m_queue);
    ASSERT_EQ(run.start(m_doc.itemPositions()), 7);
    const auto first = collect(1, &run);
    EXPECT_EQ(finalMessage(first).itemName, "free");
    EXPECT_EQ(finalMessage(first).code, DownloadCode::Done);
    EXPECT_DOUBLE_EQ(m_doc.quotations(free)->back().value, 2.5);
    EXPECT_LE(m_server.hits("/stall"), kRequestsPerHost);
    m_server.release();
    collect(6, &run);
    EXPECT_EQ(m_server.hits("/stall"), 6);
    EXPECT_FALSE(run.underWay());
}

TEST_F(DownloadTest, AbortWhileReadingAndWhileWaitingForASlot)
{
    PortfolioDocument doc;
    DownloadEngine engine(1);
    UpdateRun run(doc, engine, m_queue);
    ItemSettings reading;
    reading.name = "reading";
    reading.server = pageConfig(m_server.url("/slow"), 60);
    doc.addItem(reading);
    ItemSettings waiting = reading;
    waiting.name = "waiting";
    waiting.server.url = m_server.url("/slow?second");
    doc.addItem(waiting);
    run.start(doc.itemPositions());
    // Let the first page come in for a while, then abort.
    std::vector<Received> seen;
    while (true) {
        MessageQueue::Posted posted = m_queue.take(5s);
        ASSERT_TRUE(posted.message);
        const bool progress = posted.message->code == DownloadCode::Progress;
        run.deliver(*posted.message);
        seen.push_back({posted.messageId, std::move(posted.message)});
        if (progress)
            break;
    }
    engine.requestAbort();
    auto rest = collect(2, &run);
    for (auto& r : seen)
        rest.push_back(std::move(r));
    EXPECT_EQ(finalMessage(rest, "reading").code, DownloadCode::Aborted);
    EXPECT_EQ(finalMessage(rest, "waiting").code, DownloadCode::Aborted);
    // The last item to report ended the abort.
    EXPECT_FALSE(engine.abortRequested());
    EXPECT_FALSE(doc.anyBeingUpdated());
    m_server.release();
    engine.wait();
}

TEST_F(DownloadTest, StalledServerTimesOutAndACutConnectionIsAnError)
{
    const ItemKey stalled = addItem("stalled", "S", pageConfig(m_server.url("/stall"), 1));
    const ItemKey cut = addItem("cut", "S", pageConfig(m_server.url("/cut"), 10));
    const auto started = std::chrono::steady_clock::now();
    m_run.start(m_doc.itemPositions());
    const auto messages = collect(2);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
    EXPECT_EQ(finalMessage(messages, "stalled").detail, DownloadError::Timeout);
    const DownloadMessage& broken = finalMessage(messages, "cut");
    EXPECT_EQ(broken.code, DownloadCode::Error);
    EXPECT_EQ(broken.detail, DownloadError::Other);
    EXPECT_FALSE(broken.errorText.empty());
    EXPECT_FALSE(m_doc.isBeingUpdated(stalled) || m_doc.isBeingUpdated(cut));
    m_server.release();
}

TEST_F(DownloadTest, AConfigurationWithoutTimeStillEnds)
{
    // A timeout of 0 must not mean "wait for ever" on a server that says nothing.
    for (const int timeout : {0}) {
        const ItemKey pos = addItem("zero", "Z", pageConfig(m_server.url("/stall"), timeout));
        m_run.start({pos});
        const auto messages = collect(1, nullptr, 100000s);
        EXPECT_EQ(finalMessage(messages).code, DownloadCode::Error) << timeout;
        EXPECT_EQ(finalMessage(messages).detail, DownloadError::Timeout) << timeout;
    }
    m_server.release();
}

TEST_F(DownloadTest, ShutdownEndsEveryWorkerWithAFinalMessage)
{
    PortfolioDocument doc;
    DownloadEngine engine(1); // one reads, two wait for the slot
    for (const char* name : {"a", "b", "c"}) {
        ItemSettings settings;
        settings.name = name;
        settings.server = pageConfig(m_server.url(std::string("/slow?") + name), 60);
        doc.addItem(settings);
    }
    UpdateRun run(doc, engine, m_queue);
    run.start(doc.itemPositions());
    std::this_thread::sleep_for(200ms);
    engine.shutdown();
    std::size_t finals = 0;
    for (;;) {
        MessageQueue::Posted posted = m_queue.take(0ms);
        if (!posted.message)
            break;
        if (isFinalCode(posted.message->code)) {
            ++finals;
            EXPECT_EQ(posted.message->code, DownloadCode::Aborted);
        }
    }
    EXPECT_EQ(finals, 3u);
    m_server.release();
}

TEST_F(DownloadTest, NoTemporaryFileStillEndsWithAFinalMessage)
{
    m_server.page("/q.html", "Kurs A: 1,5 EUR");
    const std::string temp = std::getenv("TMPDIR");
    ::setenv("TMPDIR", (m_temp / "no" / "such" / "folder").c_str(), 1);
    const ItemKey pos = addItem("A", "A", pageConfig(m_server.url("/q.html")));
    m_run.start({pos});
    const auto messages = collect(1);
    ::setenv("TMPDIR", temp.c_str(), 1);
    EXPECT_EQ(finalMessage(messages).code, DownloadCode::Error);
    EXPECT_EQ(finalMessage(messages).detail, DownloadError::Other);
    EXPECT_EQ(finalMessage(messages).errorText, "No temporary file could be created.");
    EXPECT_FALSE(m_doc.isBeingUpdated(pos));
}

TEST_F(DownloadTest, SecureAddressesRefusedWhenNotAllowed)
{
    m_engine->setAllowHttps(false);
    const ItemKey pos = addItem("A", "A", pageConfig("https://127.0.0.1:1/q.html"));
    m_run.start({pos});
    const auto messages = collect(1);
    EXPECT_EQ(finalMessage(messages).detail, DownloadError::WrongUrl);
    EXPECT_EQ(codesOf(messages), (std::vector{DownloadCode::Initialized, DownloadCode::Error}));
}

TEST_F(DownloadTest, TestDownloadsSendTheConfigurationsHeaders)
{
    m_server.page("/k.html", "<p>Kurs T: <b>4,75</b></p>");
    m_server.requireHeader("X-Api-Key", "k1");
    ServerConfig config = pageConfig(m_server.url("/k.html"));
    config.headers = "X-Api-Key: k1";
    startTestDownload(*m_engine, m_queue, config, "test item", "T");
    auto messages = collect(1);
    ASSERT_EQ(finalMessage(messages).code, DownloadCode::Done);
    EXPECT_DOUBLE_EQ(finalMessage(messages).quotation->value, 4.75);
    config.headers.clear();
    startTestDownload(*m_engine, m_queue, config, "test item", "T");
    messages = collect(1);
    EXPECT_EQ(finalMessage(messages).detail, DownloadError::BadUrl);
}

TEST_F(DownloadTest, TestWizardAndImportJobs)
{
    m_server.page("/t.html", "<p>Kurs T: <b>4,75</b></p>");
    ServerConfig config = pageConfig(m_server.url("/t.html"));
    config.textBeforeValue = "Preis";
    startTestDownload(*m_engine, m_queue, config, "test item", "T");
    auto messages = collect(1);
    const DownloadMessage& test = finalMessage(messages);
    EXPECT_TRUE(test.test);
    EXPECT_EQ(test.code, DownloadCode::TextNotFound);
    EXPECT_EQ(test.itemName, "test item");
    EXPECT_FALSE(test.itemKey);
    EXPECT_EQ(m_run.runningUpdates(), 0);

    startWizardDownload(*m_engine, m_queue, m_server.url("/[&name].html"), "t", "");
    messages = collect(1);
    const DownloadMessage& wizard = finalMessage(messages);
    EXPECT_EQ(messages.back().id, MessageId::WizardDownload);
    ASSERT_EQ(wizard.code, DownloadCode::Done);
    std::string raw, semi, text;
    ASSERT_EQ(readWholeFile(wizard.rawFile, raw), FileError::None);
    ASSERT_EQ(readWholeFile(wizard.semiHtmlFile, semi), FileError::None);
    ASSERT_EQ(readWholeFile(wizard.convertedFile, text), FileError::None);
    EXPECT_EQ(raw, "<p>Kurs T: <b>4,75</b></p>");
    EXPECT_EQ(semi, "<>Kurs T: <>4,75<><>");
    EXPECT_EQ(text, "Kurs T:  4,75 ");
    for (const std::string* f : {&wizard.rawFile, &wizard.semiHtmlFile, &wizard.convertedFile})
        fs::remove(*f);

    startImportDownload(*m_engine, m_queue, m_server.url("/t.html"), "", "");
    messages = collect(1);
    EXPECT_EQ(messages.back().id, MessageId::ImportDownload);
    ASSERT_EQ(finalMessage(messages).code, DownloadCode::Done);
    fs::remove(finalMessage(messages).rawFile);
}

// A configuration's own headers follow a redirect only to the same origin: scheme, host
// and port, the scheme's port when none is written, whatever user part or letter case.
TEST(AddressOrigin, SchemeHostAndPortDecide)
{
    EXPECT_EQ(originOf("http://Quotes.Example/a?b"), "http://quotes.example:80");
    EXPECT_EQ(originOf("http://user:pw@quotes.example:80/"), "http://quotes.example:80");
    EXPECT_EQ(originOf("https://quotes.example#x"), "https://quotes.example:443");
    EXPECT_NE(originOf("http://127.0.0.1:18081/a"), originOf("http://127.0.0.1:18082/a"));
    EXPECT_NE(originOf("https://quotes.example/"), originOf("http://quotes.example:443/"));
    EXPECT_EQ(originOf("http://[::1]:8080/x"), "http://[::1]:8080");
    EXPECT_EQ(originOf("http://[::1]/x"), "http://[::1]:80");
    EXPECT_EQ(originOf("file:///tmp/x"), "");
}

} // namespace
} // namespace tarvelo
