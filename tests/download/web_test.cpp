// Downloads against the web as it is: secure addresses, redirects, compressed and UTF-8
// pages, servers that ask for patience, and the limit on requests to one host.
#include "tests/download/downloadfixture.h"
#include "tests/support/testcertificates.h"

#include "extraction/urltemplate.h"
#include "platform/localtime.h"

#include <brotli/encode.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <mutex>
#include <thread>

namespace tarvelo {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::Received;

// The body compressed by zlib: gzip (windowBits 31) or deflate, the zlib format (15).
std::string zlibPacked(const std::string& body, int windowBits)
{
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, body.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data()));
    stream.avail_in = static_cast<uInt>(body.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

std::string brotliPacked(const std::string& body)
{
    std::size_t size = BrotliEncoderMaxCompressedSize(body.size());
    std::string out(size, '\0');
    BrotliEncoderCompress(BROTLI_DEFAULT_QUALITY, BROTLI_DEFAULT_WINDOW, BROTLI_MODE_TEXT, body.size(),
                          reinterpret_cast<const uint8_t*>(body.data()), &size, reinterpret_cast<uint8_t*>(out.data()));
    out.resize(size);
    return out;
}

class WebTest : public test::DownloadFixture {
protected:
    // Runs one item on the address and returns its final message.
    DownloadMessage fetch(const std::string& url, const std::string& textBefore = "Kurs X:", int timeout = 10)
    {
        ServerConfig config = pageConfig(url, timeout);
        config.textBeforeValue = textBefore;
        const ItemKey pos = addItem("item", "X", config);
        m_run.start({pos});
        std::vector<Received> messages = collect(1);
        const std::vector<Quotation>* stored = m_doc.quotations(pos);
        m_lastValue = stored && !stored->empty() ? stored->back().value : 0;
        for (Received& r : messages) {
            if (isFinalCode(r.message->code))
                return std::move(*r.message);
        }
        return {};
    }

    double m_lastValue = 0; // the value the last fetch stored, 0 if none

    void redirect(const std::string& from, const std::string& to)
    {
        m_server.handle(from, [to](const httplib::Request&, httplib::Response& response) {
            response.status = 302;
            response.set_header("Location", to);
        });
    }
};

TEST_F(WebTest, SecureAddressesAreVerifiedAgainstTheTrustedAuthorities)
{
    const test::TestCertificates certificates;
    test::PageServer secure("127.0.0.1", &certificates);
    secure.page("/q.html", "<p>Kurs X: 7,25</p>");

    // Nothing trusts the test's authority: an error that names the cause, nothing read.
    DownloadMessage refused = fetch(secure.url("/q.html"));
    EXPECT_EQ(refused.code, DownloadCode::Error);
    EXPECT_EQ(refused.detail, DownloadError::Other);
    EXPECT_EQ(refused.errorText.rfind("certificate not trusted for host 127.0.0.1", 0), 0u) << refused.errorText;
    EXPECT_EQ(secure.hits("/q.html"), 0);

    const fs::path authority = m_temp / "authority.pem";
    std::ofstream(authority) << certificates.authorityPem();
    WorkerSettings settings = m_engine->workerSettings();
    settings.certificateAuthorities = authority.string();
    m_engine->setWorkerSettings(settings);
    const DownloadMessage found = fetch(secure.url("/q.html"));
    EXPECT_EQ(found.code, DownloadCode::Done) << found.errorText;
    EXPECT_DOUBLE_EQ(m_lastValue, 7.25);

    // A secure page may not send the download on to an insecure address.
    secure.handle("/down", [this](const httplib::Request&, httplib::Response& response) {
        response.status = 301;
        response.set_header("Location", m_server.url("/plain.html"));
    });
    m_server.page("/plain.html", "<p>Kurs X: 1,00</p>");
    const DownloadMessage downgrade = fetch(secure.url("/down"));
    EXPECT_EQ(downgrade.detail, DownloadError::Other);
    EXPECT_NE(downgrade.errorText.find("insecure address " + m_server.url("/plain.html")), std::string::npos);
    EXPECT_EQ(m_server.hits("/plain.html"), 0);
    fs::remove(authority);
}

TEST_F(WebTest, RedirectsAreFollowedUpToFiveTimesAndNeverInALoop)
{
    m_server.page("/end.html", "<p>Kurs X: 3,50</p>");
    redirect("/a", "/b");
    redirect("/b", m_server.url("/end.html"));
    const DownloadMessage chain = fetch(m_server.url("/a"));
    EXPECT_EQ(chain.code, DownloadCode::Done);
    EXPECT_EQ(chain.page.redirects, 2);
    EXPECT_EQ(chain.page.address, m_server.url("/end.html"));
    EXPECT_EQ(chain.url, m_server.url("/a")); // the messages name the configured address

    redirect("/loop1", "/loop2");
    redirect("/loop2", "/loop1");
    const DownloadMessage loop = fetch(m_server.url("/loop1"));
    EXPECT_EQ(loop.detail, DownloadError::Other);
    EXPECT_NE(loop.errorText.find("loop"), std::string::npos) << loop.errorText;

    for (int i = 1; i < 6; ++i)
        redirect("/hop" + std::to_string(i), "/hop" + std::to_string(i + 1));
    redirect("/hop6", "/end.html");
    const DownloadMessage six = fetch(m_server.url("/hop1"));
    EXPECT_NE(six.errorText.find("more than 5 times"), std::string::npos) << six.errorText;
    const DownloadMessage five = fetch(m_server.url("/hop2"));
    EXPECT_EQ(five.code, DownloadCode::Done) << five.errorText;

    redirect("/local", "file:///etc/passwd");
    const DownloadMessage local = fetch(m_server.url("/local"));
    EXPECT_NE(local.errorText.find("not an http or https address"), std::string::npos) << local.errorText;

    // A dated address that redirects still steps back to the newest day there is.
    const TimeStamp now = currentTime();
    redirect(expandDateVariables("/d[&y][&m][&d]", 0, now), "/gone.html");
    redirect(expandDateVariables("/d[&y][&m][&d]", 1, now), "/end.html");
    const DownloadMessage dated = fetch(m_server.url("/d[&y][&m][&d]"));
    EXPECT_EQ(dated.code, DownloadCode::Done) << dated.errorText;
    EXPECT_EQ(m_server.hits("/gone.html"), 1);
}

TEST_F(WebTest, CompressedPagesAreUnpackedAndABombIsCutOff)
{
    // 5120 bytes unpacked, so the progress counts five kilobytes whatever came over the wire.
    const std::string page = std::string(5101, ' ') + "<p>Kurs X: 9,50</p>";
    const struct {
        const char* encoding;
        std::string body;
    } packed[] = {{"gzip", zlibPacked(page, 31)}, {"deflate", zlibPacked(page, 15)}, {"br", brotliPacked(page)}};
    for (const auto& p : packed) {
        // The handlers own what they send: the server's threads outlive this scope.
        m_server.handle(std::string("/") + p.encoding, [p](const httplib::Request& request, httplib::Response& response) {
            EXPECT_NE(request.get_header_value("Accept-Encoding").find(p.encoding), std::string::npos);
            response.set_header("Content-Encoding", p.encoding);
            response.set_content(p.body, "application/octet-stream");
        });
        ServerConfig config = pageConfig(m_server.url(std::string("/") + p.encoding));
        config.textBeforeValue = "Kurs X:";
        m_run.start({addItem(p.encoding, "X", config)});
        const std::vector<Received> messages = collect(1);
        const DownloadMessage& final = finalMessage(messages);
        EXPECT_EQ(final.code, DownloadCode::Done) << p.encoding << ": " << final.errorText;
        EXPECT_EQ(final.page.bytes, page.size()) << p.encoding;
        EXPECT_EQ(final.page.contentEncoding, p.encoding);
        int kilobytes = 0;
        for (const Received& r : messages)
            kilobytes = r.message->code == DownloadCode::Progress ? r.message->kilobytes : kilobytes;
        EXPECT_EQ(kilobytes, 5) << p.encoding;
    }

    // 100 MiB of nothing in a few hundred kilobytes: cut off at 64 MiB, no file left.
    const std::string bomb = zlibPacked(std::string(100u << 20, '\0'), 31);
    m_server.handle("/bomb", [bomb](const httplib::Request&, httplib::Response& response) {
        response.set_header("Content-Encoding", "gzip");
        response.set_content(bomb, "text/html");
    });
    const DownloadMessage cut = fetch(m_server.url("/bomb"));
    EXPECT_EQ(cut.detail, DownloadError::Other);
    EXPECT_EQ(cut.errorText, "The compressed page unpacks to more than 67108864 bytes; it was cut off there.");
}

TEST_F(WebTest, Utf8PagesAreConvertedBeforeTheyAreSearched)
{
    // "Preis in € für Bär:" as the page sends it, and as the configuration keeps it.
    const std::string utf8 = "<p>Preis in \xE2\x82\xAC f\xC3\xBCr B\xC3\xA4r:\xC2\xA0" "12,50 \xE2\x86\x92</p>";
    const std::string textBefore = "Preis in \xE2\x82\xAC f\xC3\xBCr B\xC3\xA4r:";
    m_server.handle("/header.html", [utf8](const httplib::Request&, httplib::Response& response) {
        response.set_content(utf8, "text/html; charset=UTF-8");
    });
    m_server.handle("/meta.html", [utf8](const httplib::Request&, httplib::Response& response) {
        response.set_content("<html><head><meta charset=\"utf-8\"></head>" + utf8, "text/html");
    });
    m_server.handle("/plain.html", [utf8](const httplib::Request&, httplib::Response& response) {
        response.set_content(utf8, "text/html");
    });
    for (const char* path : {"/header.html", "/meta.html"}) {
        const DownloadMessage found = fetch(m_server.url(path), textBefore);
        EXPECT_EQ(found.code, DownloadCode::Done) << path << ": " << found.extractionMessage;
        EXPECT_DOUBLE_EQ(m_lastValue, 12.5);
        EXPECT_EQ(found.page.charset, "utf-8");
        EXPECT_TRUE(found.page.convertedFromUtf8);
    }
    // Undeclared: searched as it came, so the code page's text is not on it.
    const DownloadMessage undeclared = fetch(m_server.url("/plain.html"), textBefore);
    EXPECT_EQ(undeclared.code, DownloadCode::TextNotFound);
    EXPECT_FALSE(undeclared.page.convertedFromUtf8);

    // A page without the quotation is handed over in the character set it came in, the
    // sign that Windows-1252 lacks shown as '?'.
    WorkerSettings settings = m_engine->workerSettings();
    settings.keepConvertedPages = true;
    m_engine->setWorkerSettings(settings);
    m_keepPages = true;
    const DownloadMessage missing = fetch(m_server.url("/header.html"), "Nowhere");
    ASSERT_EQ(missing.code, DownloadCode::TextNotFound);
    std::string kept;
    ASSERT_EQ(readWholeFile(missing.convertedFile, kept), FileError::None);
    fs::remove(missing.convertedFile);
    EXPECT_EQ(kept, "<p>Preis in \xE2\x82\xAC f\xC3\xBCr B\xC3\xA4r:\xC2\xA0" "12,50 ?</p>");
}

TEST_F(WebTest, ABusyServerIsAskedAgainOnceAfterTheTimeItNames)
{
    std::atomic<int> asked{0};
    m_server.handle("/busy", [&asked](const httplib::Request&, httplib::Response& response) {
        if (asked++ == 0) {
            response.status = 429;
            response.set_header("Retry-After", "1");
            return;
        }
        response.set_content("<p>Kurs X: 2,00</p>", "text/html");
    });
    const auto start = std::chrono::steady_clock::now();
    const DownloadMessage found = fetch(m_server.url("/busy"));
    EXPECT_EQ(found.code, DownloadCode::Done) << found.errorText;
    EXPECT_EQ(asked.load(), 2);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 1s);

    // A wait beyond the job's time is not waited: the error it always was.
    m_server.handle("/later", [](const httplib::Request&, httplib::Response& response) {
        response.status = 503;
        response.set_header("Retry-After", "120");
    });
    const DownloadMessage server = fetch(m_server.url("/later"), "Kurs X:", 5);
    EXPECT_EQ(server.detail, DownloadError::Server);
    EXPECT_EQ(m_server.hits("/later"), 1);
}

TEST_F(WebTest, NoHostServesMoreThanTwoDownloadsAtOnce)
{
    m_engine = std::make_unique<DownloadEngine>(50);
    UpdateRun run(m_doc, *m_engine, m_queue);
    test::PageServer second("127.0.0.2");
    struct Load {
        std::mutex mutex;
        int now = 0;
        int most = 0;
    } loads[2];
    test::PageServer* servers[] = {&m_server, &second};
    for (int s = 0; s < 2; ++s) {
        servers[s]->handle("/p/.*", [&load = loads[s]](const httplib::Request&, httplib::Response& response) {
            {
                const std::lock_guard lock(load.mutex);
                load.most = std::max(load.most, ++load.now);
            }
            std::this_thread::sleep_for(100ms);
            {
                const std::lock_guard lock(load.mutex);
                --load.now;
            }
            response.set_content("<p>Kurs X: 1,00</p>", "text/html");
        });
        for (int i = 0; i < 10; ++i)
            addItem("item", "X", pageConfig(servers[s]->url("/p/" + std::to_string(i))));
    }
    run.start(m_doc.itemPositions());
    const std::vector<Received> messages = collect(20, &run);
    EXPECT_EQ(std::count_if(messages.begin(), messages.end(),
                            [](const Received& r) { return r.message->code == DownloadCode::Done; }),
              20);
    for (Load& load : loads) {
        const std::lock_guard lock(load.mutex);
        EXPECT_EQ(load.most, 2);
    }
}

TEST_F(WebTest, TheUserAgentIsTheOneSetOrTheProgramsOwn)
{
    std::mutex mutex;
    std::string sent;
    m_server.handle("/agent", [&](const httplib::Request& request, httplib::Response& response) {
        const std::lock_guard lock(mutex);
        sent = request.get_header_value("User-Agent");
        response.set_content("<p>Kurs X: 1,00</p>", "text/html");
    });
    const auto agent = [&] {
        const std::lock_guard lock(mutex);
        return sent;
    };
    fetch(m_server.url("/agent"));
    EXPECT_EQ(agent(), "QVX");
    WorkerSettings settings = m_engine->workerSettings();
    settings.userAgent = "Mozilla/5.0 (X11; Linux x86_64)";
    m_engine->setWorkerSettings(settings);
    fetch(m_server.url("/agent"));
    EXPECT_EQ(agent(), "Mozilla/5.0 (X11; Linux x86_64)");
}

} // namespace
} // namespace tarvelo
