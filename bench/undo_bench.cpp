// The window's undo stack on an item of 1,000,000 quotations.
//
// BM_UndoStackMemory fills the stack to its cap of 100 steps with the heaviest steps
// there are, 99 that rewrite every value (Split by 3 and 1/X in turn, whose undo keeps
// only the values the opposite arithmetic does not give back exactly), then Delete All
// as the hundredth, and reports the heap the stack holds (counted by a replaced operator
// new: the heap in use, less what is left once the stack is emptied) after the Delete
// All and after its undo, against the heap of the document with its history, measured in
// the same run.
//
// BM_DeleteAllAndUndo times a Delete All and its undo through the stack, against
// BM_CopyHistory, one copy of the same history: the step moves the history, never
// copies it.
#include "bench/benchdata.h"

#include "model/portfoliodocument.h"
#include "ui/undosteps.h"

#include "tests/support/heapcounter.h"

#include <benchmark/benchmark.h>

#include <QUndoStack>

#include <memory>
#include <vector>

namespace tarvelo::bench {
namespace {

constexpr std::size_t kRecords = 1'000'000;

ItemKey addLongHistory(PortfolioDocument& doc)
{
    auto items = makePortfolio(1, kRecords);
    return doc.addItemObject(std::move(items.front()));
}

// The heap the stack holds: what emptying it gives back.
double stackBytes(UndoSteps& steps)
{
    const std::size_t before = heapcounter::liveBytes();
    steps.stack().clear();
    return static_cast<double>(before) - static_cast<double>(heapcounter::liveBytes());
}

void fillWithRewrites(PortfolioDocument& doc, ItemKey item)
{
    for (int i = 0; i < UndoSteps::kLimit - 1; ++i) {
        if (i % 2 == 0)
            doc.recordEdit("Split", [&] { doc.splitQuotations(item, kRecords - 1, 3.0); });
        else
            doc.recordEdit("1/X", [&] { doc.invertQuotations(item); });
    }
}

void BM_UndoStackMemory(benchmark::State& state)
{
    double afterDeleteAll = 0;
    double afterUndo = 0;
    double documentBytes = 0;
    for (auto _ : state) {
        for (const bool undo : {false, true}) {
            PortfolioDocument doc;
            const std::size_t empty = heapcounter::liveBytes();
            const ItemKey item = addLongHistory(doc);
            documentBytes = static_cast<double>(heapcounter::liveBytes() - empty);
            UndoSteps steps(doc);
            fillWithRewrites(doc, item);
            doc.recordEdit("Delete all quotations", [&] { doc.deleteAllQuotations(item); });
            if (steps.stack().count() != UndoSteps::kLimit || !doc.quotations(item)->empty()) {
                state.SkipWithError("the stack did not take the steps");
                return;
            }
            if (undo) {
                steps.undo();
                if (doc.quotations(item)->size() != kRecords) {
                    state.SkipWithError("the undo did not bring the history back");
                    return;
                }
                afterUndo = stackBytes(steps);
            } else {
                afterDeleteAll = stackBytes(steps);
            }
        }
    }
    state.counters["document_bytes"] = documentBytes;
    state.counters["stack_bytes_after_delete_all"] = afterDeleteAll;
    state.counters["stack_bytes_after_undo"] = afterUndo;
    state.counters["steps"] = UndoSteps::kLimit;
}
BENCHMARK(BM_UndoStackMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_DeleteAllAndUndo(benchmark::State& state)
{
    PortfolioDocument doc;
    const ItemKey item = addLongHistory(doc);
    UndoSteps steps(doc);
    for (auto _ : state) {
        doc.recordEdit("Delete all quotations", [&] { doc.deleteAllQuotations(item); });
        steps.undo();
    }
    if (doc.quotations(item)->size() != kRecords)
        state.SkipWithError("the undo did not bring the history back");
}
BENCHMARK(BM_DeleteAllAndUndo)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_CopyHistory(benchmark::State& state)
{
    PortfolioDocument doc;
    const ItemKey item = addLongHistory(doc);
    for (auto _ : state) {
        std::vector<Quotation> copy = *doc.quotations(item);
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_CopyHistory)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
} // namespace tarvelo::bench

BENCHMARK_MAIN();
