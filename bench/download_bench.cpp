// Whole updates against a page server on loopback, as JSON for scripts/bench:
//   latency: 200 items on 50 pages that answer after 50 ms, 5 slots; the ideal time
//            and `curl --parallel --parallel-max 5` over the same 50 addresses
//   shared:  10,000 items on one page
//   large:   one item on a 200 MB page; how much the process grew meanwhile
#include "bench/benchdata.h"
#include "download/downloadengine.h"
#include "download/statusrouter.h"

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace tarvelo::bench {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPages = 50;
constexpr int kItemsPerPage = 4;
constexpr auto kLatency = std::chrono::milliseconds(50);
constexpr std::size_t kLargePage = 200u << 20;

class Server {
public:
    Server()
    {
        m_server.new_task_queue = [] { return new httplib::ThreadPool(16); };
        m_server.Get(R"(/page/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
            std::this_thread::sleep_for(kLatency);
            response.set_content("<td>Fund " + std::string(request.matches[1]) + "</td><td>Kurs Q 12,50</td>",
                                 "text/html");
        });
        m_server.Get("/shared", [](const httplib::Request&, httplib::Response& response) {
            std::string page;
            for (int i = 0; i < 100; ++i)
                page += "<tr><td>Fund " + std::to_string(i) + "</td><td>Kurs " + std::to_string(i) + ": 3,25</td></tr>\n";
            response.set_content(page, "text/html");
        });
        m_server.Get("/large", [](const httplib::Request&, httplib::Response& response) {
            response.set_content_provider(kLargePage, "text/html",
                                          [](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                              static const std::string block(64 * 1024, 'x');
                                              const std::size_t n = std::min(block.size(), kLargePage - offset);
                                              return sink.write(block.data(), n);
                                          });
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~Server()
    {
        m_server.stop();
        m_thread.join();
    }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(m_port) + path; }

private:
    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
};

// Runs one update of every item of the document; seconds until the last final message.
double update(PortfolioDocument& doc, std::size_t& found)
{
    MessageQueue queue;
    DownloadEngine engine(5);
    DownloadStatusRouter router(doc, engine);
    const auto started = Clock::now();
    updateItems(doc, doc.itemPositions(), engine, queue);
    std::size_t finals = 0;
    found = 0;
    while (finals < doc.itemCount()) {
        MessageQueue::Posted posted = queue.take(std::chrono::seconds(60));
        if (!posted.message)
            break;
        if (isFinalCode(posted.message->code)) {
            ++finals;
            found += posted.message->code == DownloadCode::Done ? 1 : 0;
            settleUnmatchedPage(*posted.message, false);
        }
        router.route(*posted.message);
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    engine.wait();
    return seconds;
}

ItemSettings Item(const std::string& url, const std::string& symbol)
{
    ItemSettings settings;
    settings.name = "Fund " + symbol;
    settings.symbol = symbol;
    settings.server.url = url;
    settings.server.textBeforeValue = "Kurs [&symbol]";
    settings.server.conversion = 2;
    settings.server.timeout = 60;
    return settings;
}

// RssAnon of /proc/self/status: memory of the process's own, in KiB.
std::int64_t anonymousKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("RssAnon:", 0) == 0)
            return std::stoll(line.substr(8));
    }
    return 0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace
} // namespace tarvelo::bench

int main(int argc, char** argv)
{
    using namespace tarvelo;
    using namespace tarvelo::bench;
    const std::string mode = argc > 1 ? argv[1] : "latency";
    Server server;

    if (mode == "latency") {
        std::vector<double> ours, curl;
        std::size_t found = 0;
        std::string addresses;
        for (int p = 0; p < kPages; ++p)
            addresses += " '" + server.url("/page/" + std::to_string(p)) + "'";
        for (int run = 0; run < 5; ++run) {
            PortfolioDocument doc;
            for (int p = 0; p < kPages; ++p) {
                for (int i = 0; i < kItemsPerPage; ++i)
                    doc.addItem(Item(server.url("/page/" + std::to_string(p)), "Q"));
            }
            ours.push_back(update(doc, found));
            const auto started = Clock::now();
            const std::string command = "curl -s --no-progress-meter --parallel --parallel-max 5" + addresses + " >/dev/null 2>&1";
            if (std::system(command.c_str()) != 0)
                return 1;
            curl.push_back(std::chrono::duration<double>(Clock::now() - started).count());
        }
        const double ideal = static_cast<double>(kPages) / 5 * std::chrono::duration<double>(kLatency).count();
        std::printf("{\"update\":%.4f,\"ideal\":%.4f,\"curl\":%.4f,\"found\":%zu,\"items\":%d}\n", median(ours), ideal,
                    median(curl), found, kPages * kItemsPerPage);
        return 0;
    }
    if (mode == "shared") {
        PortfolioDocument doc;
        for (int i = 0; i < 10000; ++i)
            doc.addItem(Item(server.url("/shared"), std::to_string(i % 100) + ":"));
        std::size_t found = 0;
        const double seconds = update(doc, found);
        std::printf("{\"seconds\":%.4f,\"found\":%zu,\"items\":10000}\n", seconds, found);
        return 0;
    }
    if (mode == "large") {
        // The process's own memory (not the disk cache that mapped files show as)
        // sampled while the page comes in and is searched.
        PortfolioDocument doc;
        doc.addItem(Item(server.url("/large"), "none"));
        const std::int64_t before = anonymousKiB();
        std::atomic<bool> running{true};
        std::atomic<std::int64_t> peak{before};
        std::thread sampler([&] {
            while (running) {
                peak = std::max<std::int64_t>(peak, anonymousKiB());
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
        std::size_t found = 0;
        const double seconds = update(doc, found);
        running = false;
        sampler.join();
        std::printf("{\"seconds\":%.4f,\"grown_kib\":%lld,\"page_kib\":%zu}\n", seconds,
                    static_cast<long long>(peak - before), kLargePage / 1024);
        return 0;
    }
    return 2;
}
