// The configuration wizard's candidate search on a 1 MB semi-html page with the value
// near its end: all 96 attempts, against one PCRE2 JIT scan of the same page for the
// typed value as a literal.
#include "extraction/page.h"
#include "extraction/rulecandidates.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <benchmark/benchmark.h>

#include <string>

namespace tarvelo::bench {
namespace {

constexpr std::size_t kPageSize = 1 << 20;
constexpr const char* kValue = "4711,38";

// A fund list reduced to semi-html: rows of names, numbers and tags, then the share's
// own quotation block. No row repeats the value.
const std::string& semiHtmlPage()
{
    static const std::string page = [] {
        std::string p;
        p.reserve(kPageSize + 200);
        std::size_t row = 0;
        while (p.size() < kPageSize - 200) {
            p += "<><><>Fund Number " + std::to_string(row) + "<><>" + std::to_string(row % 997) + ",";
            p += std::to_string(row % 89) + "<><>EUR<><>+" + std::to_string(row % 7) + ",5 %<>\n";
            ++row;
        }
        p += "<>Nordwind Energie AG<><>Kurs aktuell<>4711,38<> EUR<>\n<>Vortag: 4698,10<><>";
        return p;
    }();
    return page;
}

void BM_GenerateCandidates(benchmark::State& state)
{
    const std::string& page = semiHtmlPage();
    for (auto _ : state) {
        CandidateRequest request;
        request.page = page;
        request.quotation = kValue;
        request.preferred = {".", ","};
        const CandidateSearch search = generateCandidates(request);
        if (search.outcome != CandidateOutcome::Done || search.candidates.empty()) {
            state.SkipWithError("no candidates");
            break;
        }
        benchmark::DoNotOptimize(search.candidates.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

void BM_LiteralScanJit(benchmark::State& state)
{
    const std::string& page = semiHtmlPage();
    int error = 0;
    PCRE2_SIZE offset = 0;
    // Caseless as the candidate expressions are; a literal takes no other options.
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(kValue), PCRE2_ZERO_TERMINATED,
                                     PCRE2_CASELESS | PCRE2_LITERAL, &error, &offset, nullptr);
    if (!code || pcre2_jit_compile(code, PCRE2_JIT_COMPLETE) != 0) {
        state.SkipWithError(code ? "no JIT" : "the literal does not compile");
        pcre2_code_free(code);
        return;
    }
    pcre2_match_data* data = pcre2_match_data_create_from_pattern(code, nullptr);
    for (auto _ : state) {
        const int rc = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(page.data()), page.size() + 1, 0, 0, data,
                                   nullptr);
        if (rc <= 0) {
            state.SkipWithError("the literal was not found");
            break;
        }
        benchmark::DoNotOptimize(pcre2_get_ovector_pointer(data)[0]);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
    pcre2_match_data_free(data);
    pcre2_code_free(code);
}

void median(benchmark::internal::Benchmark* b)
{
    b->Unit(benchmark::kMicrosecond)->MinTime(0.2)->Repetitions(3)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_GenerateCandidates)->Apply(median);
BENCHMARK(BM_LiteralScanJit)->Apply(median);

} // namespace
} // namespace tarvelo::bench
