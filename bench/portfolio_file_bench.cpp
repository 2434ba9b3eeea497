// Saving and loading a portfolio of 10 million records, against the raw cost of the
// same bytes: writing them in 1 MiB blocks with the fsync and rename of the atomic
// save, and reading them in 1 MiB blocks. The file stays in the page cache for both
// the load and the raw read (each reads it once before timing), so the comparison is
// warm against warm.

#include "bench/benchdata.h"

#include "model/archive.h"

#include <benchmark/benchmark.h>

namespace tarvelo::bench {
namespace {

struct PortfolioFiles {
    ScratchFolder folder;
    std::vector<std::unique_ptr<SecurityItem>> items = makePortfolio(kPortfolioItems, kQuotationsPerItem);
    std::size_t records = recordCount(items);
    std::string portfolioPath = folder.file("portfolio.qvx");
    std::string rawPath = folder.file("raw.bin");
    std::vector<char> block = std::vector<char>(kIoBlock, '\x5A');

    // The portfolio file, written once when a benchmark needs it before the save
    // benchmark has made it.
    bool ensureSaved()
    {
        return fileSize(portfolioPath) > 0 || savePortfolioFile(portfolioPath, pointers(items)).ok();
    }
};

// Built on first use; the folder and its files go away when the program ends.
PortfolioFiles& files()
{
    static PortfolioFiles files;
    return files;
}

void setProcessed(benchmark::State& state, std::uint64_t bytes, std::size_t records)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * records));
    state.counters["file_bytes"] = static_cast<double>(bytes);
}

void BM_PortfolioSave(benchmark::State& state)
{
    PortfolioFiles& f = files();
    const std::vector<const SecurityItem*> items = pointers(f.items);
    for (auto _ : state) {
        const Result<void> result = savePortfolioFile(f.portfolioPath, items);
        if (!result.ok()) {
            state.SkipWithError(result.message().c_str());
            break;
        }
    }
    setProcessed(state, fileSize(f.portfolioPath), f.records);
}

void BM_RawWrite(benchmark::State& state)
{
    PortfolioFiles& f = files();
    if (!f.ensureSaved()) {
        state.SkipWithError("cannot write the portfolio file");
        return;
    }
    const std::uint64_t bytes = fileSize(f.portfolioPath);
    for (auto _ : state) {
        if (!rawAtomicWrite(f.rawPath, bytes, f.block)) {
            state.SkipWithError("raw write failed");
            break;
        }
    }
    setProcessed(state, bytes, f.records);
}

void BM_PortfolioLoad(benchmark::State& state)
{
    PortfolioFiles& f = files();
    if (!f.ensureSaved() || rawRead(f.portfolioPath, f.block) < 0) {
        state.SkipWithError("cannot write or read the portfolio file");
        return;
    }
    for (auto _ : state) {
        LoadResult result = loadPortfolioFile(f.portfolioPath);
        // Checking and freeing the loaded portfolio is not part of the load.
        state.PauseTiming();
        const bool complete =
            result.ok() && result->items.size() == f.items.size() && recordCount(result->items) == f.records;
        result = Failure{};
        state.ResumeTiming();
        if (!complete) {
            state.SkipWithError("the loaded portfolio is not the saved one");
            break;
        }
    }
    setProcessed(state, fileSize(f.portfolioPath), f.records);
}

void BM_RawRead(benchmark::State& state)
{
    PortfolioFiles& f = files();
    if (!f.ensureSaved() || rawRead(f.portfolioPath, f.block) < 0) {
        state.SkipWithError("cannot write or read the portfolio file");
        return;
    }
    const std::uint64_t bytes = fileSize(f.portfolioPath);
    for (auto _ : state) {
        const std::int64_t got = rawRead(f.portfolioPath, f.block);
        benchmark::DoNotOptimize(f.block.data());
        if (got != static_cast<std::int64_t>(bytes)) {
            state.SkipWithError("raw read failed");
            break;
        }
    }
    setProcessed(state, bytes, f.records);
}

// The bytes of the file in memory: the file read into newly allocated memory of its
// size. A loaded portfolio has to live in new memory too, so this is the baseline of
// the load; the read into one reused block above shows the cost of the disk cache alone.
void BM_RawReadIntoMemory(benchmark::State& state)
{
    PortfolioFiles& f = files();
    if (!f.ensureSaved() || rawReadIntoMemory(f.portfolioPath) < 0) {
        state.SkipWithError("cannot write or read the portfolio file");
        return;
    }
    const std::uint64_t bytes = fileSize(f.portfolioPath);
    for (auto _ : state) {
        if (rawReadIntoMemory(f.portfolioPath) != static_cast<std::int64_t>(bytes)) {
            state.SkipWithError("raw read failed");
            break;
        }
    }
    setProcessed(state, bytes, f.records);
}

// Not a target, but it tells where a slow load spends its time: putting 10 million
// records into newly allocated histories of the portfolio's shape, with nothing to
// decode, costs what the page faults of fresh memory cost.
void BM_CopyHistories(benchmark::State& state)
{
    PortfolioFiles& f = files();
    std::vector<std::vector<Quotation>> copies;
    for (auto _ : state) {
        copies.reserve(f.items.size());
        for (const auto& item : f.items) {
            const std::vector<Quotation>& history = item->history();
            std::vector<Quotation>& copy = copies.emplace_back();
            copy.reserve(history.size());
            for (const Quotation& record : history)
                copy.push_back(record);
        }
        benchmark::DoNotOptimize(copies.back().data());
        state.PauseTiming();
        copies = {};
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * f.records));
}

// Writes wait for the disk, so wall time is what counts. A fixed, small number of
// iterations per repetition keeps the run short; the median of the repetitions
// smooths out the disk's moods.
void wallTimeMedian(benchmark::internal::Benchmark* b)
{
    b->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_PortfolioSave)->Apply(wallTimeMedian)->Iterations(2);
BENCHMARK(BM_RawWrite)->Apply(wallTimeMedian)->Iterations(2);
BENCHMARK(BM_PortfolioLoad)->Apply(wallTimeMedian)->Iterations(2);
BENCHMARK(BM_RawRead)->Apply(wallTimeMedian)->Iterations(10);
BENCHMARK(BM_RawReadIntoMemory)->Apply(wallTimeMedian)->Iterations(4);
BENCHMARK(BM_CopyHistories)->Apply(wallTimeMedian)->Iterations(2);

} // namespace
} // namespace tarvelo::bench
