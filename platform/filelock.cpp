#include "platform/filelock.h"

#include "platform/filepath.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace tarvelo {

FileLock::~FileLock()
{
    release();
}

std::string FileLock::lockFilePath(const std::string& path)
{
    const std::string target = resolveLinks(path);
    return folderOf(target) + "/." + baseNameOf(target) + ".lock";
}

FileLock::Result FileLock::acquire(const std::string& path, std::chrono::milliseconds wait)
{
    release();
    m_otherHolder.clear();
    m_lockPath = lockFilePath(path);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    auto pause = std::chrono::milliseconds(2);
    for (;;) {
        // Never through a link, and only a regular file of our own: a lock file planted
        // by someone else must not have us write into whatever it leads to.
        const int fd = ::open(m_lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
        if (fd < 0)
            return errno == ELOOP || errno == ENXIO || errno == EISDIR ? Result::NotOurs : Result::Unavailable;
        struct stat own {};
        if (::fstat(fd, &own) != 0 || !S_ISREG(own.st_mode) || own.st_uid != ::geteuid()) {
            ::close(fd);
            return Result::NotOurs;
        }
        int locked = -1;
        while ((locked = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
        }
        if (locked == 0) {
            // The holder before us removes the lock file as it lets go; a lock taken on
            // a file that is no longer there is no lock, and we try again.
            struct stat held {};
            struct stat named {};
            if (::fstat(fd, &held) == 0 && ::stat(m_lockPath.c_str(), &named) == 0 && held.st_ino == named.st_ino
                && held.st_dev == named.st_dev) {
                m_fd = fd;
                break;
            }
            ::close(fd);
            continue;
        }
        if (errno != EWOULDBLOCK) {
            ::close(fd);
            return Result::Unavailable;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            char text[256];
            const ssize_t got = ::pread(fd, text, sizeof text - 1, 0);
            if (got > 0)
                m_otherHolder.assign(text, static_cast<std::size_t>(got));
            while (!m_otherHolder.empty() && (m_otherHolder.back() == '\n' || m_otherHolder.back() == '\0'))
                m_otherHolder.pop_back();
            ::close(fd);
            return Result::TimedOut;
        }
        ::close(fd);
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
    const std::string line = std::string(program_invocation_short_name) + " (process " + std::to_string(::getpid()) + ")\n";
    (void)!::pwrite(m_fd, line.data(), line.size(), 0);
    return Result::Locked;
}

void FileLock::release()
{
    if (m_fd < 0)
        return;
    // Removed while still held, so that nobody takes a lock on a file that is going;
    // one who opened it meanwhile sees that it has gone and opens the next.
    ::unlink(m_lockPath.c_str());
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
}

std::chrono::milliseconds lockWait()
{
    if (const char* text = std::getenv("TARVELO_LOCK_WAIT"); text && *text) {
        const std::string_view view(text);
        double seconds = -1;
        const auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), seconds);
        if (error == std::errc() && end == view.data() + view.size() && seconds >= 0 && seconds < 86400)
            return std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
    }
    return std::chrono::seconds(20);
}

} // namespace tarvelo
