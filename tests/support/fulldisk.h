#pragma once

#include <cstddef>
#include <functional>

namespace tarvelo::test {

// A disk that fills up: runs check in a child process whose files may grow to no more
// than maxBytes (writes beyond fail as on a full disk) and tells whether check held there.
bool holdsOnFullDisk(std::size_t maxBytes, const std::function<bool()>& check);

} // namespace tarvelo::test
