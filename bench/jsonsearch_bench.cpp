// The JSON search on a 5 MB API answer in memory, against one pass of Qt's JSON parser
// over the same bytes.
#include "extraction/jsonsearch.h"

#include <QByteArray>
#include <QJsonDocument>

#include <benchmark/benchmark.h>

#include <string>

namespace tarvelo::bench {
namespace {

constexpr std::size_t kAnswerSize = 5 << 20;

// An answer of many quotes, the wanted one last.
const std::string& apiAnswer()
{
    static const std::string answer = [] {
        std::string a = "{\"status\": \"ok\", \"quotes\": [";
        a.reserve(kAnswerSize + 200);
        for (std::size_t row = 0; a.size() < kAnswerSize - 200; ++row) {
            a += "{\"symbol\": \"S" + std::to_string(row) + "\", \"name\": \"Fund Number " + std::to_string(row)
                 + "\", \"last\": " + std::to_string(row % 997) + "." + std::to_string(row % 89)
                 + ", \"time\": 1773509700000, \"closes\": [1.5, 2.25, 3.125]},\n";
        }
        a += "{\"symbol\": \"NWE\", \"last\": \"1.234,56\", \"time\": 1773509700000}]}";
        return a;
    }();
    return answer;
}

void BM_JsonSearch(benchmark::State& state)
{
    const std::string& answer = apiAnswer();
    JsonRule rule;
    rule.valuePath = "$.quotes[-1].last";
    rule.datePath = "$.quotes[-1].time";
    rule.thousands = ".";
    rule.decimal = ",";
    for (auto _ : state) {
        const ExtractionResult result = jsonSearchInPage(answer, rule, 0);
        if (result.code != kFound || result.value != 1234.56) {
            state.SkipWithError("the search did not find the value");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * answer.size()));
}

void BM_QtJsonParse(benchmark::State& state)
{
    const std::string& answer = apiAnswer();
    for (auto _ : state) {
        const QJsonDocument document = QJsonDocument::fromJson(
            QByteArray::fromRawData(answer.data(), static_cast<qsizetype>(answer.size())));
        benchmark::DoNotOptimize(document.isObject());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * answer.size()));
}

void median(benchmark::internal::Benchmark* b)
{
    b->Unit(benchmark::kMicrosecond)->MinTime(0.2)->Repetitions(3)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_JsonSearch)->Apply(median);
BENCHMARK(BM_QtJsonParse)->Apply(median);

} // namespace
} // namespace tarvelo::bench
