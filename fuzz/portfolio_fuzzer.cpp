// The portfolio reader on arbitrary bytes. Whatever it accepts must survive a save and
// a second load unchanged, and the second save must repeat the first byte for byte.
// The first load runs with a small slack, and the heap memory it holds at its peak must
// stay within that slack and 40 bytes for each byte of the input: the program's bound,
// which inputs of a fuzzer's size can only reach through the memory per byte.

#include "model/archive.h"
#include "tests/support/heapcounter.h"

#include <atomic>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace tarvelo {
namespace {

// Room for one item and the reader's tables, where the program allows 32 MiB.
constexpr std::uint64_t kSlack = 4096;
constexpr std::uint64_t kBytesPerByte = 40;

// Doubles compare by their bits, so that NaNs read from a file count as kept.
bool sameBits(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool sameSettings(ItemSettings a, ItemSettings b)
{
    for (double ItemSettings::*field : {&ItemSettings::aboveLimit, &ItemSettings::belowLimit,
                                        &ItemSettings::deviationPercent, &ItemSettings::quantity,
                                        &ItemSettings::averageBuyPrice}) {
        if (!sameBits(a.*field, b.*field))
            return false;
        a.*field = b.*field = 0.0;
    }
    return a == b;
}

bool sameItem(const SecurityItem& a, const SecurityItem& b)
{
    if (!sameSettings(a.settings(), b.settings()) || a.history().size() != b.history().size())
        return false;
    for (std::size_t i = 0; i < a.history().size(); ++i) {
        const Quotation& x = a.history()[i];
        const Quotation& y = b.history()[i];
        if (x.time != y.time || !sameBits(x.value, y.value))
            return false;
    }
    return true;
}

std::vector<const SecurityItem*> pointers(const LoadResult& loaded)
{
    std::vector<const SecurityItem*> items;
    for (const auto& item : loaded->items)
        items.push_back(item.get());
    return items;
}

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "portfolio_fuzzer: %s\n", what);
    std::abort();
}

} // namespace
} // namespace tarvelo

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarvelo;
    const std::size_t before = heapcounter::resetPeak();
    const LoadResult first = loadItems(std::string_view(reinterpret_cast<const char*>(data), size), kSlack);
    if (heapcounter::peakBytes() - before > 2 * kSlack + kBytesPerByte * size)
        fail("a load took more memory than the bound of its size");
    if (!first.ok()) {
        if (first.message().empty())
            fail("a failed load gave no message");
        return 0;
    }
    for (const auto& item : first->items)
        if (!item || item->isBeingUpdated())
            fail("a loaded item is null or marked as being updated");

    const std::string saved = saveItems(pointers(first));
    const LoadResult second = loadItems(saved);
    if (!second.ok())
        fail("a saved portfolio does not load");
    if (second->items.size() != first->items.size())
        fail("the second load has another number of items");
    for (std::size_t i = 0; i < first->items.size(); ++i)
        if (!sameItem(*first->items[i], *second->items[i]))
            fail("an item changed in a save and load");
    if (saveItems(pointers(second)) != saved)
        fail("the second save differs from the first");
    return 0;
}
