// The portfolio reader on arbitrary bytes. Whatever it accepts must survive a save and
// a second load unchanged, and the second save must repeat the first byte for byte.

#include "model/archive.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace tarvelo {
namespace {

// Doubles compare by their bits, so that NaNs read from a file count as kept.
bool SameBits(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool SameSettings(ItemSettings a, ItemSettings b)
{
    for (double ItemSettings::*field : {&ItemSettings::aboveLimit, &ItemSettings::belowLimit,
                                        &ItemSettings::deviationPercent, &ItemSettings::quantity,
                                        &ItemSettings::averageBuyPrice}) {
        if (!SameBits(a.*field, b.*field))
            return false;
        a.*field = b.*field = 0.0;
    }
    return a == b;
}

bool SameItem(const CWPapier& a, const CWPapier& b)
{
    if (!SameSettings(a.settings(), b.settings()) || a.history().size() != b.history().size())
        return false;
    for (std::size_t i = 0; i < a.history().size(); ++i) {
        const CKurs& x = a.history()[i];
        const CKurs& y = b.history()[i];
        if (x.time != y.time || !SameBits(x.value, y.value))
            return false;
    }
    return true;
}

std::vector<const CWPapier*> Pointers(const LoadResult& loaded)
{
    std::vector<const CWPapier*> items;
    for (const auto& item : loaded.items)
        items.push_back(item.get());
    return items;
}

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "portfolio_fuzzer: %s\n", what);
    std::abort();
}

} // namespace
} // namespace tarvelo

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarvelo;
    const LoadResult first = LoadItems(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!first.ok) {
        if (!first.items.empty() || first.message.empty())
            Fail("a failed load left items or no message");
        return 0;
    }
    for (const auto& item : first.items)
        if (!item || item->isBeingUpdated())
            Fail("a loaded item is null or marked as being updated");

    const std::string saved = SaveItems(Pointers(first));
    const LoadResult second = LoadItems(saved);
    if (!second.ok)
        Fail("a saved portfolio does not load");
    if (second.items.size() != first.items.size())
        Fail("the second load has another number of items");
    for (std::size_t i = 0; i < first.items.size(); ++i)
        if (!SameItem(*first.items[i], *second.items[i]))
            Fail("an item changed in a save and load");
    if (SaveItems(Pointers(second)) != saved)
        Fail("the second save differs from the first");
    return 0;
}
