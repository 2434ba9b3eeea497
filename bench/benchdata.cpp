#include "bench/benchdata.h"

#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvelo::bench {

std::vector<std::unique_ptr<SecurityItem>> makePortfolio(std::size_t items, std::size_t records)
{
    constexpr std::int32_t kFirstTime = 946'684'800; // 2000-01-01
    std::vector<std::unique_ptr<SecurityItem>> portfolio;
    portfolio.reserve(items);
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    for (std::size_t i = 0; i < items; ++i) {
        ItemSettings s;
        s.name = "Security " + std::to_string(i + 1);
        s.symbol = "DE000" + std::to_string(100000 + i);
        s.memo = "Bought in two lots.\r\nKeep until the next dividend.";
        s.server.name = i % 2 ? "Exchange quotes" : "";
        s.server.url = "http://quotes.example.net/q?s=[&symbol]";
        s.quantity = static_cast<double>(i + 1) * 10.0;
        s.averageBuyPrice = 42.5;
        s.chart.lineColour = kNewItemColours[i % 11];
        auto item = std::make_unique<SecurityItem>(std::move(s));
        item->reserveHistory(records);
        double value = 50.0 + static_cast<double>(i);
        for (std::size_t r = 0; r < records; ++r) {
            state = state * 6364136223846793005u + 1442695040888963407u;
            const double step = static_cast<double>(state >> 40) / static_cast<double>(1u << 24) - 0.5;
            value = std::max(0.01, value + step);
            item->appendLoadedQuotation(Quotation{kFirstTime + static_cast<std::int32_t>(r) * 900, value});
        }
        portfolio.push_back(std::move(item));
    }
    return portfolio;
}

std::vector<const SecurityItem*> pointers(const std::vector<std::unique_ptr<SecurityItem>>& items)
{
    std::vector<const SecurityItem*> pointers;
    pointers.reserve(items.size());
    for (const auto& item : items)
        pointers.push_back(item.get());
    return pointers;
}

std::size_t recordCount(const std::vector<std::unique_ptr<SecurityItem>>& items)
{
    std::size_t n = 0;
    for (const auto& item : items)
        n += item->history().size();
    return n;
}

ScratchFolder::ScratchFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/tarvelo-bench-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        std::fprintf(stderr, "cannot create a folder from %s: %s\n", pattern.c_str(), std::strerror(errno));
        std::exit(1);
    }
    m_path = pattern;
}

ScratchFolder::~ScratchFolder()
{
    // Only plain files are ever made here; temporary files of the writers start with '.'.
    if (DIR* dir = ::opendir(m_path.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                ::unlink(file(name).c_str());
        }
        ::closedir(dir);
    }
    ::rmdir(m_path.c_str());
}

std::uint64_t fileSize(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
}

bool rawAtomicWrite(const std::string& path, std::uint64_t bytes, const std::vector<char>& block)
{
    const std::string temp = path + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    bool ok = true;
    while (ok && bytes > 0) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(bytes, block.size()));
        ok = ::write(fd, block.data(), n) == static_cast<ssize_t>(n);
        bytes -= n;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

std::int64_t rawRead(const std::string& path, std::vector<char>& block)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    std::int64_t total = 0;
    for (;;) {
        const ssize_t got = ::read(fd, block.data(), block.size());
        if (got <= 0) {
            if (got < 0)
                total = -1;
            break;
        }
        total += got;
    }
    ::close(fd);
    return total;
}

namespace {

std::int64_t statusKiB(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::size_t keyLength = std::strlen(key);
    while (std::getline(status, line)) {
        if (line.compare(0, keyLength, key) == 0 && line.size() > keyLength && line[keyLength] == ':')
            return std::strtoll(line.c_str() + keyLength + 1, nullptr, 10);
    }
    return -1;
}

} // namespace

std::int64_t residentKiB()
{
    return statusKiB("VmRSS");
}

std::int64_t peakResidentKiB()
{
    return statusKiB("VmHWM");
}

namespace {
// Keeps the compiler from dropping the read memory unused.
volatile char benchmark_sink = 0;
} // namespace

std::int64_t rawReadIntoMemory(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return -1;
    }
    const auto size = static_cast<std::size_t>(info.st_size);
    std::unique_ptr<char[]> memory(new char[size]);
    std::size_t total = 0;
    while (total < size) {
        const ssize_t got = ::read(fd, memory.get() + total, std::min(kIoBlock, size - total));
        if (got <= 0)
            break;
        total += static_cast<std::size_t>(got);
    }
    ::close(fd);
    benchmark_sink = memory[size / 2];
    return total == size ? static_cast<std::int64_t>(total) : -1;
}

std::uint64_t writeImportFile(const std::string& path, int lines)
{
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const auto daysIn = [](int year, int month) {
        static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return month == 1 && leap ? 29 : kDays[month];
    };
    // Every day from 1 January 1990 to 31 December 2037, in order, each with its share
    // of the lines and a value of its own on every line.
    constexpr long long kDays = 17532;
    std::string text = "Date,Open,High,Low,Close,Volume,Adj Close\n";
    text.reserve(60u * static_cast<std::size_t>(lines));
    char line[128];
    int year = 1990, month = 0, day = 1;
    long long dayIndex = 0;
    for (int i = 0; i < lines; ++i) {
        for (const long long wanted = i * kDays / lines; dayIndex < wanted; ++dayIndex) {
            if (++day > daysIn(year, month)) {
                day = 1;
                if (++month == 12) {
                    month = 0;
                    ++year;
                }
            }
        }
        const double value = 10.0 + (i % 100000) / 100.0;
        const int n = std::snprintf(line, sizeof line, "%d-%s-%d,%.2f,%.2f,%.2f,%.2f,%d,%.2f\n", day, kMonths[month],
                                    year, value, value + 1, value - 1, value, 1000 + i % 5000, value);
        text.append(line, static_cast<std::size_t>(n));
    }
    writeWholeFile(path, text);
    return text.size();
}

} // namespace tarvelo::bench
