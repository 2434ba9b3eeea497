#pragma once

#include <QTest>

namespace tarvelo::test {

// Runs the event loop until the condition holds; false when it still does not after
// the time-out.
template <typename Condition>
bool waitFor(Condition done, int timeoutMs = 10000)
{
    return QTest::qWaitFor(done, timeoutMs);
}

} // namespace tarvelo::test
