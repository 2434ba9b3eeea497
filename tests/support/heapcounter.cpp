#include "tests/support/heapcounter.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

std::atomic<std::size_t> g_liveBytes{0};
std::atomic<std::size_t> g_peakBytes{0};

void* countedAllocation(std::size_t n)
{
    void* p = std::malloc(n == 0 ? 1 : n);
    if (!p)
        throw std::bad_alloc();
    const std::size_t size = ::malloc_usable_size(p);
    const std::size_t live = g_liveBytes.fetch_add(size, std::memory_order_relaxed) + size;
    std::size_t peak = g_peakBytes.load(std::memory_order_relaxed);
    while (live > peak && !g_peakBytes.compare_exchange_weak(peak, live, std::memory_order_relaxed)) {
    }
    return p;
}

void countedRelease(void* p) noexcept
{
    if (!p)
        return;
    g_liveBytes.fetch_sub(::malloc_usable_size(p), std::memory_order_relaxed);
    std::free(p);
}

} // namespace

void* operator new(std::size_t n)
{
    return countedAllocation(n);
}
void* operator new[](std::size_t n)
{
    return countedAllocation(n);
}
void operator delete(void* p) noexcept
{
    countedRelease(p);
}
void operator delete[](void* p) noexcept
{
    countedRelease(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    countedRelease(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    countedRelease(p);
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept
{
    try {
        return countedAllocation(n);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept
{
    try {
        return countedAllocation(n);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void operator delete(void* p, const std::nothrow_t&) noexcept
{
    countedRelease(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    countedRelease(p);
}

namespace tarvelo::heapcounter {

std::size_t liveBytes()
{
    return g_liveBytes.load();
}

std::size_t resetPeak()
{
    const std::size_t now = g_liveBytes.load();
    g_peakBytes.store(now);
    return now;
}

std::size_t peakBytes()
{
    return g_peakBytes.load();
}

} // namespace tarvelo::heapcounter
