// The standard search with tags on a 5 MB semi-html page in memory, against memmem of
// its text before value over the same bytes; case-sensitive and case-insensitive.
#include "extraction/search.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

namespace tarvelo::bench {
namespace {

constexpr std::size_t kPageSize = 5 << 20;
constexpr const char* kText = "Last Trade:";

// Table rows of a quotation page reduced to semi-html, with the wanted value near the end.
const std::string& semiHtmlPage()
{
    static const std::string page = [] {
        std::string p;
        p.reserve(kPageSize + 200);
        std::size_t row = 0;
        while (p.size() < kPageSize - 100) {
            p += "<><><>Fund Number " + std::to_string(row) + "<><>" + std::to_string(row % 997) + ",";
            p += std::to_string(row % 89) + "<><>EUR<><>\n";
            ++row;
        }
        p += "<>Last Trade:<>22,65<> EUR<>\n<><>";
        return p;
    }();
    return page;
}

StandardRule benchRule(bool caseInsensitive)
{
    StandardRule rule;
    rule.textBeforeValue = kText;
    rule.decimal = ",";
    rule.tagsToSkip = 1;
    rule.caseInsensitive = caseInsensitive;
    return rule;
}

void BM_SearchWithTags(benchmark::State& state, bool caseInsensitive)
{
    std::string page = semiHtmlPage();
    const StandardRule rule = benchRule(caseInsensitive);
    for (auto _ : state) {
        // Lowering works in place; lowering a lowered page costs the same.
        const ExtractionResult result = standardSearchWithTagsInPage(page, rule);
        if (result.code != kFound || result.value != 22.65) {
            state.SkipWithError("the search did not find the value");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

void BM_Memmem(benchmark::State& state)
{
    const std::string& page = semiHtmlPage();
    for (auto _ : state) {
        const void* found = memmem(page.data(), page.size(), kText, std::strlen(kText));
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

void median(benchmark::internal::Benchmark* b)
{
    b->Unit(benchmark::kMicrosecond)->MinTime(0.2)->Repetitions(3)->ReportAggregatesOnly(true);
}

BENCHMARK_CAPTURE(BM_SearchWithTags, case_sensitive, false)->Apply(median);
BENCHMARK_CAPTURE(BM_SearchWithTags, case_insensitive, true)->Apply(median);
BENCHMARK(BM_Memmem)->Apply(median);

} // namespace
} // namespace tarvelo::bench
