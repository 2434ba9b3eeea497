// Importing a 1,000,000-line file in the default template's layout into an item that
// holds 10,000 quotations, against python3's csv module parsing the same file into
// (date, float) pairs. The time zone is a desktop's: TZ unset, so that the C library
// takes /etc/localtime; "--zone NAME" sets TZ instead. Prints JSON for scripts/bench,
// with the zone and whether it has daylight saving; "--memory" reports the growth and
// the peak of the process while importing instead.
#include "bench/benchdata.h"
#include "platform/files.h"
#include "transfer/import.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

using namespace tarvelo;
using namespace tarvelo::bench;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kLines = 1'000'000;

ImportResult import(PortfolioDocument& doc, ItemKey item, const std::string& path)
{
    const ImportSettings settings;
    const ImportExpression e = translateImportTemplate(settings.formatTemplate, settings.thousands, settings.decimal, "");
    return importQuotations(doc, item, path, path, e, settings.caseInsensitive, settings.thousands,
                            settings.decimal, 1700000000);
}

ItemKey itemWithHistory(PortfolioDocument& doc)
{
    const ItemKey item = doc.addItem(ItemSettings{});
    std::vector<Quotation> history;
    for (int i = 0; i < 10000; ++i)
        history.push_back(Quotation{86400 * 365 + i * 3600, 1.0 + i});
    doc.insertQuotations(item, history);
    return item;
}

// The zone the C library converts with: TZ, or where /etc/localtime leads.
std::string zoneName()
{
    if (const char* tz = std::getenv("TZ"))
        return tz;
    char target[PATH_MAX] = {};
    const ssize_t n = ::readlink("/etc/localtime", target, sizeof target - 1);
    return n > 0 ? "/etc/localtime -> " + std::string(target, static_cast<std::size_t>(n)) : "/etc/localtime";
}

// Whether the zone keeps summer and winter time: January and July differ.
bool hasDaylightSaving()
{
    const auto dst = [](std::time_t t) {
        std::tm fields{};
        localtime_r(&t, &fields);
        return fields.tm_isdst > 0;
    };
    return dst(1579089600) != dst(1594814400); // 15 January and 15 July 2020
}

} // namespace

int main(int argc, char** argv)
{
    bool memory = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--memory")
            memory = true;
        else if (arg == "--zone" && i + 1 < argc)
            ::setenv("TZ", argv[++i], 1);
    }
    ::tzset();
    ScratchFolder folder;
    const std::string path = folder.file("history.csv");
    const std::uint64_t bytes = writeImportFile(path, kLines);
    if (memory) {
        PortfolioDocument doc;
        const ItemKey item = itemWithHistory(doc);
        const std::int64_t before = residentKiB();
        const ImportResult r = import(doc, item, path);
        const std::size_t count = r.ok() ? r->count : 0;
        const std::int64_t peak = peakResidentKiB();
        std::printf("{\"grown_kib\":%lld,\"peak_kib\":%lld,\"file_kib\":%llu,\"imported\":%zu}\n",
                    static_cast<long long>(peak - before), static_cast<long long>(peak),
                    static_cast<unsigned long long>(bytes / 1024), count);
        return count == kLines ? 0 : 1;
    }
    std::vector<double> ours, python;
    std::size_t imported = 0;
    const std::string script =
        "import csv,datetime,sys\n"
        "m={'Jan':1,'Feb':2,'Mar':3,'Apr':4,'May':5,'Jun':6,'Jul':7,'Aug':8,'Sep':9,'Oct':10,'Nov':11,'Dec':12}\n"
        "r=csv.reader(open(sys.argv[1],newline=''))\n"
        "next(r)\n"
        "p=[]\n"
        "for row in r:\n"
        "  d,mo,y=row[0].split('-')\n"
        "  p.append((datetime.date(int(y),m[mo],int(d)),float(row[6])))\n"
        "assert len(p)==1000000\n";
    const std::string scriptPath = folder.file("parse.py");
    writeWholeFile(scriptPath, script);
    // Wall time, and processor time, which a busy shared machine disturbs less.
    std::vector<double> oursCpu, pythonCpu;
    const auto childrenCpu = [] {
        rusage usage{};
        ::getrusage(RUSAGE_CHILDREN, &usage);
        return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    };
    for (int run = 0; run < 3; ++run) {
        PortfolioDocument doc;
        const ItemKey item = itemWithHistory(doc);
        auto started = Clock::now();
        const std::clock_t cpu = std::clock();
        const ImportResult r = import(doc, item, path);
        imported = r.ok() ? r->count : 0;
        oursCpu.push_back(static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC);
        ours.push_back(std::chrono::duration<double>(Clock::now() - started).count());
        started = Clock::now();
        const double before = childrenCpu();
        if (std::system(("python3 '" + scriptPath + "' '" + path + "'").c_str()) != 0)
            return 1;
        pythonCpu.push_back(childrenCpu() - before);
        python.push_back(std::chrono::duration<double>(Clock::now() - started).count());
    }
    for (auto* figures : {&ours, &python, &oursCpu, &pythonCpu})
        std::sort(figures->begin(), figures->end());
    std::printf("{\"import\":%.4f,\"python\":%.4f,\"import_cpu\":%.4f,\"python_cpu\":%.4f,\"imported\":%zu,"
                "\"lines\":%d,\"zone\":\"%s\",\"dst\":%s}\n",
                ours[1], python[1], oursCpu[1], pythonCpu[1], imported, kLines, zoneName().c_str(),
                hasDaylightSaving() ? "true" : "false");
    return imported == kLines ? 0 : 1;
}
