#include "platform/filestamp.h"

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvelo {

std::optional<FileStamp> readFileStamp(const std::string& path, bool withHash)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    FileStamp stamp;
    stamp.device = static_cast<std::uint64_t>(info.st_dev);
    stamp.inode = static_cast<std::uint64_t>(info.st_ino);
    stamp.size = static_cast<std::uint64_t>(info.st_size);
    stamp.modifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    if (withHash) {
        std::uint64_t hash = 0xcbf29ce484222325ULL;
        std::uint64_t total = 0;
        static thread_local char buffer[1 << 16];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                ::close(fd);
                return std::nullopt;
            }
            if (got == 0)
                break;
            const std::size_t block = std::hash<std::string_view>{}(std::string_view(buffer, static_cast<std::size_t>(got)));
            hash = (hash ^ block) * 0x100000001b3ULL;
            total += static_cast<std::uint64_t>(got);
        }
        stamp.hash = hash ^ total;
        stamp.size = total;
    }
    ::close(fd);
    return stamp;
}

} // namespace tarvelo
