// Converting a 50 MB UTF-8 page to Windows-1252 into a buffer that is reused, against
// memcpy of the same bytes into a preallocated buffer; also utf8PageToCp1252, which
// allocates its result each time. Prints JSON for scripts/bench: the median of several
// runs of each, in seconds.
#include "extraction/pagecharset.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace tarvelo;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::size_t kPageSize = 50'000'000;
constexpr int kRuns = 9;

// Table rows of a quotation page, with a euro sign, an a-umlaut or a no-break space in
// every row of about 200 bytes.
std::string makePage(std::size_t& characters)
{
    const char* special[] = {"\xE2\x82\xAC", "\xC3\xA4", "\xC2\xA0"};
    std::string page;
    page.reserve(kPageSize + 300);
    page += "<html><head><meta charset=\"utf-8\"><title>Kurse</title></head><body><table>\n";
    characters = page.size();
    char row[300];
    for (std::size_t i = 0; page.size() < kPageSize; ++i) {
        const int n = std::snprintf(row, sizeof row,
                                    "<tr class=\"row%zu\"><td><a href=\"/quote?id=%zu\">Fund number %zu</a></td>"
                                    "<td class=\"value\">%zu,%02zu%s</td><td>%s</td>"
                                    "<td class=\"time\">17:%02zu:%02zu</td><td class=\"venue\">Xetra</td>"
                                    "<td>Last trade</td></tr>\n",
                                    i % 2, i, i, i % 997, i % 100, special[i % 3], i % 2 ? "EUR" : "USD", i % 60,
                                    (i * 7) % 60);
        page.append(row, static_cast<std::size_t>(n));
        characters += static_cast<std::size_t>(n) - (i % 3 == 0 ? 2 : 1);
    }
    return page;
}

double seconds(Clock::time_point started)
{
    return std::chrono::duration<double>(Clock::now() - started).count();
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main()
{
    std::size_t characters = 0;
    const std::string page = makePage(characters);

    std::string copy(page.size(), '\0');
    std::string out;
    out.reserve(page.size());
    std::size_t wholeSize = 0;
    // The three alternate, so that other work on the machine weighs on each alike.
    std::vector<double> copying, converting, whole;
    for (int run = 0; run < kRuns; ++run) {
        auto started = Clock::now();
        std::memcpy(copy.data(), page.data(), page.size());
        copying.push_back(seconds(started));

        started = Clock::now();
        out.clear();
        Utf8ToCp1252 converter;
        converter.convert(page, out);
        converter.finish(out);
        converting.push_back(seconds(started));

        started = Clock::now();
        wholeSize = utf8PageToCp1252(page).size();
        whole.push_back(seconds(started));
    }

    const bool right = out.size() == characters && wholeSize == characters && copy == page;
    if (!right)
        std::fprintf(stderr, "charset_bench: %zu characters converted, %zu expected\n", out.size(), characters);
    std::printf("{\"convert\":%.6f,\"memcpy\":%.6f,\"whole\":%.6f,\"bytes\":%zu}\n", median(converting),
                median(copying), median(whole), page.size());
    return right ? 0 : 1;
}
