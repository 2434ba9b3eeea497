// Inserting a batch of 100,000 quotations into a history of 100,000 with
// SecurityItem::insertQuotations, in ascending, descending and shuffled time order, against
// std::sort of a copy of the same batch by time.
//
// Both sides get a fresh copy of their input in every iteration while the timer is
// paused (one PauseTiming/ResumeTiming pair per iteration, a microsecond or so against
// milliseconds of work, and the same on both sides). Destroying the previous copy
// happens in that paused region too.

#include "bench/benchdata.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>

namespace tarvelo::bench {
namespace {

constexpr std::size_t kHistorySize = 100'000;
constexpr std::size_t kBatchSize = 100'000;
constexpr std::int32_t kFirstTime = 1'262'304'000; // 2010-01-01

enum class Order { Ascending, Descending, Shuffled };

// One record a minute.
SecurityItem makeHistory(std::size_t n)
{
    SecurityItem item;
    item.reserveHistory(n);
    for (std::size_t i = 0; i < n; ++i)
        item.appendLoadedQuotation(Quotation{kFirstTime + static_cast<std::int32_t>(i) * 60, static_cast<double>(i)});
    return item;
}

// Records 61 seconds apart from ten minutes before the history's start, so the batch
// interleaves with the history and runs past its end; every 60th record has the time
// of a history record, and every 7th repeats the time of the one before it.
std::vector<Quotation> makeBatch(std::size_t n, Order order)
{
    std::vector<Quotation> batch(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::int32_t time = i % 7 == 6 ? batch[i - 1].time : kFirstTime - 600 + static_cast<std::int32_t>(i) * 61;
        batch[i] = Quotation{time, 1e6 + static_cast<double>(i)};
    }
    if (order == Order::Descending)
        std::reverse(batch.begin(), batch.end());
    else if (order == Order::Shuffled)
        std::shuffle(batch.begin(), batch.end(), std::mt19937(20240607));
    return batch;
}

bool earlierThan(const Quotation& a, const Quotation& b)
{
    return a.time < b.time;
}

// The batch insert must leave the history as inserting one record after the other
// does, equal times included; checked on a size that one-by-one insertion manages.
bool batchMatchesOneByOne(Order order)
{
    SecurityItem batched = makeHistory(3000);
    SecurityItem single = batched;
    const std::vector<Quotation> batch = makeBatch(2000, order);
    batched.insertQuotations(batch);
    for (const Quotation& record : batch)
        single.insertQuotation(record);
    return batched.history() == single.history();
}

void BM_InsertQuotations(benchmark::State& state, Order order)
{
    if (!batchMatchesOneByOne(order)) {
        state.SkipWithError("InsertQuotations differs from inserting one by one");
        return;
    }
    const SecurityItem original = makeHistory(kHistorySize);
    const std::vector<Quotation> batch = makeBatch(kBatchSize, order);
    std::unique_ptr<SecurityItem> item;
    for (auto _ : state) {
        state.PauseTiming();
        item.reset();
        item = std::make_unique<SecurityItem>(original);
        state.ResumeTiming();
        item->insertQuotations(batch);
        benchmark::DoNotOptimize(item->history().data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kBatchSize));
}

void BM_SortBatch(benchmark::State& state, Order order)
{
    const std::vector<Quotation> batch = makeBatch(kBatchSize, order);
    std::vector<Quotation> copy;
    for (auto _ : state) {
        state.PauseTiming();
        copy = batch;
        state.ResumeTiming();
        std::sort(copy.begin(), copy.end(), earlierThan);
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kBatchSize));
}

void median(benchmark::internal::Benchmark* b)
{
    b->Unit(benchmark::kMicrosecond)->MinTime(0.2)->Repetitions(3)->ReportAggregatesOnly(true);
}

BENCHMARK_CAPTURE(BM_InsertQuotations, ascending, Order::Ascending)->Apply(median);
BENCHMARK_CAPTURE(BM_InsertQuotations, descending, Order::Descending)->Apply(median);
BENCHMARK_CAPTURE(BM_InsertQuotations, random, Order::Shuffled)->Apply(median);
BENCHMARK_CAPTURE(BM_SortBatch, ascending, Order::Ascending)->Apply(median);
BENCHMARK_CAPTURE(BM_SortBatch, descending, Order::Descending)->Apply(median);
BENCHMARK_CAPTURE(BM_SortBatch, random, Order::Shuffled)->Apply(median);

} // namespace
} // namespace tarvelo::bench
