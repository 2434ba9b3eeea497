#pragma once

#include <string>
#include <string_view>

namespace tarvelo {

// A new, empty, uniquely named file in $TMPDIR (default /tmp) whose name starts with
// the prefix. Returns an empty path when none could be made.
std::string createTempFile(std::string_view prefix);

} // namespace tarvelo
