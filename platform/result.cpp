#include "platform/result.h"

#include <cstdio>
#include <cstdlib>

namespace tarvelo {

void valueOfFailedResult(const std::string& message)
{
    std::fprintf(stderr, "tarvelo: the value of a failed result was read (%s)\n", message.c_str());
    std::abort();
}

const std::string& noFailureMessage()
{
    static const std::string empty;
    return empty;
}

} // namespace tarvelo
