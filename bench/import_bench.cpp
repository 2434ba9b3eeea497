// Importing a 1,000,000-line file in the default template's layout into an item that
// holds 10,000 quotations, against python3's csv module parsing the same file into
// (date, float) pairs. Prints JSON for scripts/bench; "--memory" reports the growth of
// the process while importing instead.
#include "bench/benchdata.h"
#include "platform/files.h"
#include "transfer/import.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

using namespace tarvelo;
using namespace tarvelo::bench;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kLines = 1'000'000;

ImportResult import(PortfolioDocument& doc, ItemKey item, const std::string& path)
{
    const ImportSettings settings;
    const ImportExpression e = translateImportTemplate(settings.formatTemplate, settings.thousands, settings.decimal, "");
    return importQuotations(doc, item, path, e, settings.caseInsensitive, settings.thousands, settings.decimal,
                            1700000000);
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

} // namespace

int main(int argc, char** argv)
{
    ScratchFolder folder;
    const std::string path = folder.file("history.csv");
    const std::uint64_t bytes = writeImportFile(path, kLines);
    if (argc > 1 && std::string(argv[1]) == "--memory") {
        PortfolioDocument doc;
        const ItemKey item = itemWithHistory(doc);
        const std::int64_t before = residentKiB();
        const ImportResult r = import(doc, item, path);
        std::printf("{\"grown_kib\":%lld,\"file_kib\":%llu,\"imported\":%zu}\n",
                    static_cast<long long>(peakResidentKiB() - before), static_cast<unsigned long long>(bytes / 1024),
                    r.count);
        return r.count == kLines ? 0 : 1;
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
    for (int run = 0; run < 3; ++run) {
        PortfolioDocument doc;
        const ItemKey item = itemWithHistory(doc);
        auto started = Clock::now();
        imported = import(doc, item, path).count;
        ours.push_back(std::chrono::duration<double>(Clock::now() - started).count());
        started = Clock::now();
        if (std::system(("python3 '" + scriptPath + "' '" + path + "'").c_str()) != 0)
            return 1;
        python.push_back(std::chrono::duration<double>(Clock::now() - started).count());
    }
    std::sort(ours.begin(), ours.end());
    std::sort(python.begin(), python.end());
    std::printf("{\"import\":%.4f,\"python\":%.4f,\"imported\":%zu,\"lines\":%d}\n", ours[1], python[1], imported, kLines);
    return imported == kLines ? 0 : 1;
}
