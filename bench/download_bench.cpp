// Whole updates against a page server on loopback, as JSON for scripts/bench:
//   latency: 200 items on 50 pages that answer after 50 ms, 5 slots, the pages spread
//            over 5 hosts (127.0.0.1 to 127.0.0.5) in the portfolio's order host by
//            host; the ideal time under the per-host limit and `curl --parallel
//            --parallel-max 5` over the same 50 addresses
//   shared:  10,000 items on one page
//   large:   one item on a 200 MB page; how much the process grew meanwhile
//   gzip:    one item on a 5 MB page sent gzip-compressed and the same page sent as it
//            is; the median of several updates of each
//   pages:   2,000 items on 2,000 distinct local pages (file:// in a private folder),
//            5 slots; the median time of several updates against reading the same pages
//            and copying each into a temporary file, and the most threads the process
//            had beyond those it had before the update
#include "bench/benchdata.h"
#include "download/downloadengine.h"
#include "download/statustext.h"
#include "download/updaterun.h"

#include <httplib.h>

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace tarvelo::bench {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPages = 50;
constexpr int kItemsPerPage = 4;
constexpr int kHosts = 5;
constexpr int kSlots = 5;
constexpr auto kLatency = std::chrono::milliseconds(50);
constexpr std::size_t kLargePage = 200u << 20;
constexpr std::size_t kTablePage = 5u << 20;
constexpr int kTableRuns = 9;
constexpr int kLocalPages = 2000;
constexpr int kLocalRuns = 7;

// A quotation table of about 5 MB as a site of many funds serves it: rows of names,
// codes and figures that repeat in form but not in content, so that it compresses to
// roughly a tenth to a fifth. The row with "Kurs TARGET:" is the last one, so the whole
// page has to come in and be searched.
std::string makeTablePage()
{
    std::string page = "<!DOCTYPE html>\n<html><head><title>Fund prices</title></head><body>\n"
                       "<table class=\"prices\">\n<tr><th>ISIN</th><th>Name</th><th>Price</th><th>Change</th>"
                       "<th>Date</th><th>Volume</th></tr>\n";
    std::uint32_t state = 12345;
    const auto next = [&state](std::uint32_t range) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % range;
    };
    const std::string target = "<tr><td>DE000TARGET0</td><td>Target fund</td><td>Kurs TARGET: 42,17</td></tr>\n";
    const std::string end = "</table>\n</body></html>\n";
    for (int row = 0; page.size() + target.size() + end.size() < kTablePage; ++row) {
        char line[256];
        const int length = std::snprintf(
            line, sizeof line,
            "<tr class=\"%s\"><td class=\"isin\">DE000A%05u%c</td><td class=\"name\">Fund %d</td>"
            "<td class=\"price\">Kurs F%d: %u,%02u</td><td class=\"change\">%c%u,%02u %%</td>"
            "<td class=\"date\">%02u.12.2026</td><td class=\"volume\">%u</td></tr>\n",
            row % 2 ? "odd" : "even", next(100000), static_cast<char>('A' + next(26)), row, row, next(1000),
            next(100), next(2) ? '+' : '-', next(10), next(100), 1 + next(28), next(100000));
        page.append(line, static_cast<std::size_t>(length));
    }
    return page + target + end;
}

const std::string& tablePage()
{
    static const std::string page = makeTablePage();
    return page;
}

// The table page as a gzip stream, as a server that keeps its pages compressed sends it.
const std::string& packedTablePage()
{
    static const std::string packed = [] {
        const std::string& page = tablePage();
        z_stream stream{};
        if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            throw std::runtime_error("deflateInit2");
        std::string out(deflateBound(&stream, page.size()), '\0');
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(page.data()));
        stream.avail_in = static_cast<uInt>(page.size());
        stream.next_out = reinterpret_cast<Bytef*>(out.data());
        stream.avail_out = static_cast<uInt>(out.size());
        const int result = deflate(&stream, Z_FINISH);
        out.resize(stream.total_out);
        deflateEnd(&stream);
        if (result != Z_STREAM_END)
            throw std::runtime_error("deflate");
        return out;
    }();
    return packed;
}

class Server {
public:
    explicit Server(const std::string& address = "127.0.0.1") : m_address(address)
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
        // Both table pages go out as application/octet-stream: the server compresses text/*
        // answers by itself when the client offers it, which would spoil the comparison.
        m_server.Get("/table/plain", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(tablePage(), "application/octet-stream");
        });
        m_server.Get("/table/gzip", [](const httplib::Request&, httplib::Response& response) {
            response.set_header("Content-Encoding", "gzip");
            response.set_content(packedTablePage(), "application/octet-stream");
        });
        m_port = m_server.bind_to_any_port(m_address);
        if (m_port < 0)
            throw std::runtime_error("cannot listen on " + m_address);
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~Server()
    {
        m_server.stop();
        m_thread.join();
    }
    std::string url(const std::string& path) const
    {
        return "http://" + m_address + ":" + std::to_string(m_port) + path;
    }

private:
    std::string m_address;
    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
};

// Runs one update of every item of the document; seconds until its last job has ended.
double update(PortfolioDocument& doc, std::size_t& found, std::uint64_t maxPageSize = kDefaultMaxPageSize)
{
    DownloadEngine engine(kSlots);
    engine.setMaxPageSize(maxPageSize);
    UpdateRun run(doc, engine);
    found = 0;
    const auto started = Clock::now();
    run.start(doc.itemPositions());
    run.runToEnd([&found](DownloadMessage& m) {
        found += m.code == DownloadCode::Done ? 1 : 0;
        settleUnmatchedPage(m, false);
    });
    return std::chrono::duration<double>(Clock::now() - started).count();
}

ItemSettings Item(const std::string& url, const std::string& symbol)
{
    ItemSettings settings;
    settings.name = "Fund " + symbol;
    settings.symbol = symbol;
    settings.server.url = url;
    settings.server.textBeforeValue = "Kurs [&symbol]";
    settings.server.conversion = Conversion::TextOnly;
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

// What every download of a local page does at the least: the page read, and copied into
// a temporary file of its own that goes away again. Seconds for all the pages.
double copyPages(const std::vector<std::string>& paths, const std::string& folder)
{
    const auto started = Clock::now();
    std::vector<char> block(64 * 1024);
    for (const std::string& path : paths) {
        std::string copy = folder + "/QVXXXXXXX";
        const int out = ::mkstemp(copy.data());
        const int in = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (out < 0 || in < 0)
            throw std::runtime_error("cannot copy " + path);
        for (ssize_t got; (got = ::read(in, block.data(), block.size())) > 0;) {
            if (::write(out, block.data(), static_cast<std::size_t>(got)) != got)
                throw std::runtime_error("cannot copy " + path);
        }
        ::close(in);
        ::close(out);
        ::unlink(copy.c_str());
    }
    return std::chrono::duration<double>(Clock::now() - started).count();
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
        // One server per host: 127.0.0.1 to 127.0.0.5 all reach loopback. Page p is on
        // host p / 10, so the portfolio asks for the pages host by host.
        std::vector<std::unique_ptr<Server>> others;
        for (int h = 2; h <= kHosts; ++h)
            others.push_back(std::make_unique<Server>("127.0.0." + std::to_string(h)));
        const auto pageUrl = [&](int p) {
            const int host = p / (kPages / kHosts);
            const Server& at = host == 0 ? server : *others[static_cast<std::size_t>(host - 1)];
            return at.url("/page/" + std::to_string(p));
        };
        std::vector<double> ours, curl;
        std::size_t found = 0;
        std::string addresses;
        for (int p = 0; p < kPages; ++p)
            addresses += " '" + pageUrl(p) + "'";
        for (int run = 0; run < 5; ++run) {
            PortfolioDocument doc;
            for (int p = 0; p < kPages; ++p) {
                for (int i = 0; i < kItemsPerPage; ++i)
                    doc.addItem(Item(pageUrl(p), "Q"));
            }
            ours.push_back(update(doc, found));
            const auto started = Clock::now();
            const std::string command = "curl -s --no-progress-meter --parallel --parallel-max 5" + addresses + " >/dev/null 2>&1";
            if (std::system(command.c_str()) != 0)
                return 1;
            curl.push_back(std::chrono::duration<double>(Clock::now() - started).count());
        }
        // At most min(slots, 2 per host × hosts) pages come in at once, and a host's own
        // pages take at least half their number of rounds, whichever is longer.
        const auto roundsUp = [](int a, int b) { return (a + b - 1) / b; };
        const int rounds = std::max(roundsUp(kPages, std::min(kSlots, kRequestsPerHost * kHosts)),
                                    roundsUp(kPages / kHosts, kRequestsPerHost));
        const double ideal = rounds * std::chrono::duration<double>(kLatency).count();
        std::printf("{\"update\":%.4f,\"ideal\":%.4f,\"curl\":%.4f,\"found\":%zu,\"items\":%d,\"pages\":%d,"
                    "\"hosts\":%d,\"slots\":%d,\"per_host\":%d}\n",
                    median(ours), ideal, median(curl), found, kPages * kItemsPerPage, kPages, kHosts, kSlots,
                    kRequestsPerHost);
        return 0;
    }
    if (mode == "gzip") {
        // Both pages are made before the clock runs; then the two in turn, so that both
        // see the same state of the machine.
        packedTablePage();
        std::vector<double> packed, plain;
        std::size_t foundPacked = 0, foundPlain = 0;
        for (int run = 0; run < kTableRuns; ++run) {
            std::size_t found = 0;
            PortfolioDocument packedDoc;
            packedDoc.addItem(Item(server.url("/table/gzip"), "TARGET:"));
            packed.push_back(update(packedDoc, found));
            foundPacked += found;
            PortfolioDocument plainDoc;
            plainDoc.addItem(Item(server.url("/table/plain"), "TARGET:"));
            plain.push_back(update(plainDoc, found));
            foundPlain += found;
        }
        std::printf("{\"gzip\":%.4f,\"plain\":%.4f,\"page_bytes\":%zu,\"gzip_bytes\":%zu,\"found_gzip\":%zu,"
                    "\"found_plain\":%zu,\"runs\":%d}\n",
                    median(packed), median(plain), tablePage().size(), packedTablePage().size(), foundPacked,
                    foundPlain, kTableRuns);
        return 0;
    }
    if (mode == "pages") {
        const ScratchFolder folder;
        std::vector<std::string> paths;
        PortfolioDocument doc;
        for (int p = 0; p < kLocalPages; ++p) {
            std::string page = "<html><body><table>\n";
            for (int row = 0; row < 20; ++row)
                page += "<tr><td>Fund " + std::to_string(p) + "." + std::to_string(row) + "</td><td>Kurs R" +
                        std::to_string(row) + " 7,25</td></tr>\n";
            page += "<tr><td>Fund " + std::to_string(p) + "</td><td>Kurs Q 12,50</td></tr>\n</table></body></html>\n";
            paths.push_back(folder.file("page" + std::to_string(p) + ".html"));
            std::ofstream(paths.back(), std::ios::binary) << page;
            doc.addItem(Item("file://" + paths.back(), "Q"));
        }
        std::vector<double> ours, copies;
        std::size_t found = 0;
        int peak = 0;
        for (int run = 0; run < kLocalRuns; ++run) {
            copies.push_back(copyPages(paths, folder.path()));
            // A thread that samples the count every millisecond while the update runs.
            std::atomic<bool> running{true};
            std::atomic<int> most{0};
            std::thread sampler([&] {
                while (running) {
                    most = std::max(most.load(), threadCount());
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
            });
            const int before = threadCount();
            ours.push_back(update(doc, found));
            running = false;
            sampler.join();
            peak = std::max(peak, most.load() - before);
        }
        std::printf("{\"update\":%.4f,\"copy\":%.4f,\"peak_threads\":%d,\"found\":%zu,\"items\":%d,"
                    "\"slots\":%d,\"runs\":%d}\n",
                    median(ours), median(copies), peak, found, kLocalPages, kSlots, kLocalRuns);
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
        // Above the default limit of the option MaxPageSize, which would refuse the page.
        const double seconds = update(doc, found, 2 * kLargePage);
        running = false;
        sampler.join();
        std::printf("{\"seconds\":%.4f,\"grown_kib\":%lld,\"page_kib\":%zu}\n", seconds,
                    static_cast<long long>(peak - before), kLargePage / 1024);
        return 0;
    }
    return 2;
}
