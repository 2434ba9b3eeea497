#pragma once

#include <cstddef>

// Linked into a program, heapcounter.cpp replaces the global operator new and delete so
// that every allocation is counted: a test or fuzz target can see the most heap memory
// that a call held at once.
namespace tarvelo::heapcounter {

std::size_t liveBytes();
// Starts a new peak from what is held now; returns that.
std::size_t resetPeak();
std::size_t peakBytes();

// The most heap memory held at once while the function ran, beyond what was held before.
template <typename Function>
std::size_t peakGrowth(Function&& run)
{
    const std::size_t before = resetPeak();
    run();
    return peakBytes() - before;
}

} // namespace tarvelo::heapcounter
