#include "platform/atomicfilewriter.h"

#include "platform/filepath.h"

#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvelo {

namespace {

// Copies the whole contents of one open file into another from their starts.
bool copyContents(int from, int to)
{
    if (::lseek(from, 0, SEEK_SET) != 0 || ::lseek(to, 0, SEEK_SET) != 0)
        return false;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        const char* p = buffer;
        std::size_t n = static_cast<std::size_t>(got);
        while (n > 0) {
            const ssize_t put = ::write(to, p, n);
            if (put < 0 && errno == EINTR)
                continue;
            if (put < 0)
                return false;
            p += put;
            n -= static_cast<std::size_t>(put);
        }
    }
}

// ".NAME.tarvelo-backup-INODE-PID": the name ties the copy to the file under every name
// the file has in that folder.
std::string backupPathFor(const std::string& path, std::uint64_t inode)
{
    return folderOf(path) + "/." + baseNameOf(path) + std::string(AtomicFileWriter::kBackupMarker)
         + std::to_string(inode) + "-" + std::to_string(::getpid());
}

bool syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return synced;
}

// Removes our temporary files of saves that never finished (killed programs), once they
// are an hour old, so that a save in progress elsewhere keeps its own.
void removeStaleTemporaries(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    const std::time_t limit = std::time(nullptr) - 3600;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.empty() || name[0] != '.' || name.find(AtomicFileWriter::kTempMarker) == std::string_view::npos)
            continue;
        struct stat info {};
        if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode)
            && info.st_mtime < limit)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

} // namespace

AtomicFileWriter::~AtomicFileWriter()
{
    abort();
}

FileError AtomicFileWriter::open(const std::string& path)
{
    abort();
    m_path = resolveLinks(path);
    m_error = FileError::None;
    removeStaleTemporaries(folderOf(m_path));
    struct stat info {};
    const bool exists = ::stat(m_path.c_str(), &info) == 0;
    // A device, FIFO or socket stays what it is: no regular file takes its place.
    if (exists && !S_ISREG(info.st_mode))
        return m_error = FileError::NotRegular;
    // A destination that exists but cannot be written is refused up front, as a
    // read-only file would be.
    if (exists && ::access(m_path.c_str(), W_OK) != 0)
        return m_error = FileError::AccessDenied;
    if (exists && info.st_nlink > 1)
        return openInPlace(static_cast<std::uint64_t>(info.st_ino));
    std::string pattern = folderOf(m_path) + "/." + baseNameOf(m_path) + std::string(kTempMarker) + "XXXXXX";
    m_fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (m_fd < 0)
        return m_error = fileErrorFromErrno(errno);
    m_tempPath = pattern;
    if (exists) {
        // The new file is what the old one was: its owner and group where we may set
        // them (the group alone when the owner is another user), then its mode, since
        // a change of owner clears the set-id bits.
        if (::fchown(m_fd, info.st_uid, info.st_gid) != 0)
            (void)::fchown(m_fd, static_cast<uid_t>(-1), info.st_gid);
        ::fchmod(m_fd, info.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(m_fd, 0666 & ~mask);
    }
    return FileError::None;
}

FileError AtomicFileWriter::openInPlace(std::uint64_t inode)
{
    const int old = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (old < 0)
        return m_error = fileErrorFromErrno(errno);
    // The copy is made under a temporary name and takes the backup's name only once it
    // is whole and synced, so that a backup is never a part of the old contents.
    std::string pattern = folderOf(m_path) + "/." + baseNameOf(m_path) + std::string(kTempMarker) + "XXXXXX";
    const int backup = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (backup < 0) {
        const int error = errno;
        ::close(old);
        return m_error = fileErrorFromErrno(error);
    }
    // Held until the save is over: a reader that finds the backup and cannot take this
    // lock knows that a save is in progress, not killed.
    const bool copied = ::flock(backup, LOCK_EX) == 0 && copyContents(old, backup) && ::fsync(backup) == 0;
    int error = errno;
    ::close(old);
    const std::string backupPath = backupPathFor(m_path, inode);
    const bool renamed = copied && ::rename(pattern.c_str(), backupPath.c_str()) == 0;
    if (!renamed || !syncFolder(folderOf(m_path))) {
        error = copied ? errno : error;
        ::unlink(renamed ? backupPath.c_str() : pattern.c_str());
        ::close(backup);
        return m_error = fileErrorFromErrno(error);
    }
    m_backupPath = backupPath;
    m_backupFd = backup;
    m_fd = ::open(m_path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (m_fd < 0) {
        m_error = fileErrorFromErrno(errno);
        abort();
        return m_error;
    }
    return FileError::None;
}

FileError AtomicFileWriter::write(const void* data, std::size_t n)
{
    if (m_fd < 0)
        return m_error == FileError::None ? FileError::Other : m_error;
    const char* p = static_cast<const char*>(data);
    while (n > 0) {
        const ssize_t put = ::write(m_fd, p, n);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            m_error = fileErrorFromErrno(errno);
            abort();
            return m_error;
        }
        p += put;
        n -= static_cast<std::size_t>(put);
    }
    return FileError::None;
}

FileError AtomicFileWriter::commit()
{
    if (m_fd < 0)
        return m_error == FileError::None ? FileError::Other : m_error;
    if (::fsync(m_fd) != 0) {
        m_error = fileErrorFromErrno(errno);
        abort();
        return m_error;
    }
    if (::close(m_fd) != 0) {
        m_fd = -1;
        m_error = fileErrorFromErrno(errno);
        abort();
        return m_error;
    }
    m_fd = -1;
    if (!m_backupPath.empty()) {
        // Written in place and synced: the copy of the old contents has done its job.
        ::unlink(m_backupPath.c_str());
        m_backupPath.clear();
        ::close(m_backupFd);
        m_backupFd = -1;
        return FileError::None;
    }
    if (::rename(m_tempPath.c_str(), m_path.c_str()) != 0) {
        m_error = fileErrorFromErrno(errno);
        abort();
        return m_error;
    }
    m_tempPath.clear();
    return FileError::None;
}

void AtomicFileWriter::abort()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_tempPath.empty())
        ::unlink(m_tempPath.c_str());
    m_tempPath.clear();
    if (!m_backupPath.empty()) {
        // An in-place save that failed: the old contents go back, and the copy is kept
        // should even that fail.
        const int backup = ::open(m_backupPath.c_str(), O_RDONLY | O_CLOEXEC);
        const int target = ::open(m_path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        bool restored = backup >= 0 && target >= 0 && copyContents(backup, target) && ::fsync(target) == 0;
        if (backup >= 0)
            ::close(backup);
        if (target >= 0 && ::close(target) != 0)
            restored = false;
        if (restored)
            ::unlink(m_backupPath.c_str());
        m_backupPath.clear();
    }
    if (m_backupFd >= 0)
        ::close(m_backupFd);
    m_backupFd = -1;
}

} // namespace tarvelo
