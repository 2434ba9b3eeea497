#include "platform/tempfile.h"

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace tarvelo {

std::string createTempFile(std::string_view prefix)
{
    const char* dir = std::getenv("TMPDIR");
    std::string folder = (dir && *dir) ? dir : "/tmp";
    std::string pattern = folder + "/" + std::string(prefix) + "XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return {};
    ::close(fd);
    return pattern;
}

} // namespace tarvelo
