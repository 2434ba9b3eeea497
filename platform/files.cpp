#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace tarvelo {

namespace {

FileError fromErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return FileError::NotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EBUSY:
        return FileError::AccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileError::DiskFull;
    default:
        return FileError::Other;
    }
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string baseNameOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

bool isSpecialFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

int fileErrorCause(FileError error)
{
    switch (error) {
    case FileError::NotFound: return 3;
    case FileError::AccessDenied: return 5;
    case FileError::DiskFull: return 13;
    default: return 1;
    }
}

InputFile::~InputFile()
{
    close();
}

FileError InputFile::open(const std::string& path)
{
    close();
    // Without blocking: opening a FIFO for reading would wait for a writer. What was
    // opened is looked at before a byte is read.
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (m_fd < 0)
        return fromErrno(errno);
    struct stat info {};
    if (::fstat(m_fd, &info) != 0) {
        const int error = errno;
        close();
        return fromErrno(error);
    }
    if (S_ISDIR(info.st_mode)) {
        close();
        return FileError::NotFound;
    }
    if (!S_ISREG(info.st_mode)) {
        close();
        return FileError::NotRegular;
    }
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
    m_size = static_cast<std::uint64_t>(info.st_size);
    return FileError::None;
}

std::ptrdiff_t InputFile::read(void* buffer, std::size_t n)
{
    if (m_fd < 0)
        return -1;
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, n);
        if (got < 0 && errno == EINTR)
            continue;
        return got;
    }
}

void InputFile::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_size = 0;
}

MappedFile::~MappedFile()
{
    close();
}

FileError MappedFile::open(const std::string& path)
{
    close();
    InputFile file;
    if (const FileError error = file.open(path); error != FileError::None)
        return error;
    const std::uint64_t size = file.size();
    if (size == 0)
        return FileError::None;
    // Small files are read: mapping and unmapping costs more than copying them, above
    // all in a process with several threads, where every unmapping interrupts them.
    if (size < kReadBelow) {
        m_copy = std::make_unique<char[]>(static_cast<std::size_t>(size) + 1);
        std::size_t total = 0;
        while (total < size) {
            const std::ptrdiff_t got = file.read(m_copy.get() + total, static_cast<std::size_t>(size) - total);
            if (got <= 0) {
                m_copy.reset();
                return got < 0 ? FileError::Other : FileError::None;
            }
            total += static_cast<std::size_t>(got);
        }
        m_copy[total] = '\0';
        m_data = m_copy.get();
        m_size = total;
        return FileError::None;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return fromErrno(errno);
    // Room for the file and one more page of zeros; the file is mapped over the start.
    const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t bytes = (static_cast<std::size_t>(size) / page + 2) * page;
    void* area = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED) {
        ::close(fd);
        return FileError::Other;
    }
    // Populated while read-only, so the pages are shared with the disk cache rather
    // than copied; made writable afterwards, a page is copied only when written.
    void* mapped = ::mmap(area, static_cast<std::size_t>(size), PROT_READ, MAP_PRIVATE | MAP_FIXED | MAP_POPULATE, fd, 0);
    const int error = errno;
    ::close(fd);
    if (mapped == MAP_FAILED) {
        ::munmap(area, bytes);
        return fromErrno(error);
    }
    if (::mprotect(mapped, static_cast<std::size_t>(size), PROT_READ | PROT_WRITE) != 0) {
        ::munmap(area, bytes);
        return FileError::Other;
    }
    m_data = static_cast<char*>(area);
    m_size = static_cast<std::size_t>(size);
    m_mappedBytes = bytes;
    return FileError::None;
}

void MappedFile::close()
{
    if (m_mappedBytes != 0)
        ::munmap(m_data, m_mappedBytes);
    m_copy.reset();
    m_data = m_empty;
    m_empty[0] = 0;
    m_size = 0;
    m_mappedBytes = 0;
}

OutputFile::~OutputFile()
{
    close();
}

FileError OutputFile::open(const std::string& path)
{
    close();
    m_error = FileError::None;
    if (isSpecialFile(path))
        return m_error = FileError::NotRegular;
    m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (m_fd < 0)
        return m_error = fromErrno(errno);
    m_buffer.reserve(1 << 20);
    return FileError::None;
}

void OutputFile::write(const char* data, std::size_t n)
{
    constexpr std::size_t kBuffer = 1 << 20;
    if (m_buffer.size() + n <= kBuffer) {
        m_buffer.append(data, n);
        return;
    }
    flush();
    if (n < kBuffer) {
        m_buffer.append(data, n);
        return;
    }
    // A large piece goes straight to the file.
    writeThrough(data, n);
}

void OutputFile::flush()
{
    writeThrough(m_buffer.data(), m_buffer.size());
    m_buffer.clear();
}

void OutputFile::writeThrough(const char* p, std::size_t n)
{
    while (n > 0 && m_fd >= 0 && m_error == FileError::None) {
        const ssize_t put = ::write(m_fd, p, n);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            m_error = fromErrno(errno);
            break;
        }
        p += put;
        n -= static_cast<std::size_t>(put);
    }
}

FileError OutputFile::close()
{
    if (m_fd < 0)
        return m_error;
    flush();
    if (::close(m_fd) != 0 && m_error == FileError::None)
        m_error = fromErrno(errno);
    m_fd = -1;
    return m_error;
}

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

// The inode a backup's name was made for, or 0.
std::uint64_t backupInode(std::string_view name)
{
    const auto marker = name.rfind(AtomicFileWriter::kBackupMarker);
    if (marker == std::string_view::npos)
        return 0;
    const std::string_view rest = name.substr(marker + AtomicFileWriter::kBackupMarker.size());
    std::uint64_t inode = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), inode);
    return error == std::errc() && end != rest.data() && end != rest.data() + rest.size() && *end == '-' ? inode : 0;
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
        return m_error = fromErrno(errno);
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
        return m_error = fromErrno(errno);
    // The copy is made under a temporary name and takes the backup's name only once it
    // is whole and synced, so that a backup is never a part of the old contents.
    std::string pattern = folderOf(m_path) + "/." + baseNameOf(m_path) + std::string(kTempMarker) + "XXXXXX";
    const int backup = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (backup < 0) {
        const int error = errno;
        ::close(old);
        return m_error = fromErrno(error);
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
        return m_error = fromErrno(error);
    }
    m_backupPath = backupPath;
    m_backupFd = backup;
    m_fd = ::open(m_path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (m_fd < 0) {
        m_error = fromErrno(errno);
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
            m_error = fromErrno(errno);
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
        m_error = fromErrno(errno);
        abort();
        return m_error;
    }
    if (::close(m_fd) != 0) {
        m_fd = -1;
        m_error = fromErrno(errno);
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
        m_error = fromErrno(errno);
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

std::vector<std::string> findLeftBackups(const std::string& path)
{
    const std::string target = resolveLinks(path);
    const std::string folder = folderOf(target);
    const std::string ownPrefix = "." + baseNameOf(target) + std::string(AtomicFileWriter::kBackupMarker);
    struct stat file {};
    const bool exists = ::stat(target.c_str(), &file) == 0;
    std::vector<std::pair<std::int64_t, std::string>> found;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return {};
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.empty() || name[0] != '.' || name.find(AtomicFileWriter::kBackupMarker) == std::string_view::npos)
            continue;
        // Made for this name, or for this file under another of its names.
        const std::uint64_t inode = backupInode(name);
        if (!name.starts_with(ownPrefix) && !(exists && inode != 0 && inode == static_cast<std::uint64_t>(file.st_ino)))
            continue;
        const int fd = ::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info {};
        // A save in progress holds its backup locked; that one is no leftover.
        const bool left = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid()
                       && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        ::close(fd);
        if (left)
            found.emplace_back(static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
                               folder + "/" + std::string(name));
    }
    ::closedir(dir);
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<std::string> paths;
    for (auto& entry : found)
        paths.push_back(std::move(entry.second));
    return paths;
}

FileError restoreBackup(const std::string& path, const std::string& backup)
{
    std::string contents;
    if (const FileError error = readWholeFile(backup, contents); error != FileError::None)
        return error;
    if (const FileError error = writeFileAtomically(path, contents); error != FileError::None)
        return error;
    ::unlink(backup.c_str());
    return FileError::None;
}

std::string resolveLinks(const std::string& path)
{
    std::string current = path;
    // The kernel's own limit on links in a row; a loop ends here as well.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        std::string target(4096, '\0');
        const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size())
            return current;
        target.resize(static_cast<std::size_t>(length));
        current = target[0] == '/' ? target : folderOf(current) + "/" + target;
    }
    return current;
}

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

FileError readWholeFile(const std::string& path, std::string& contents)
{
    InputFile file;
    if (const FileError error = file.open(path); error != FileError::None)
        return error;
    contents.clear();
    char buffer[65536];
    for (;;) {
        const std::ptrdiff_t got = file.read(buffer, sizeof buffer);
        if (got < 0)
            return fromErrno(errno);
        if (got == 0)
            return FileError::None;
        contents.append(buffer, static_cast<std::size_t>(got));
    }
}

FileError writeFileAtomically(const std::string& path, std::string_view contents)
{
    AtomicFileWriter writer;
    if (const FileError error = writer.open(path); error != FileError::None)
        return error;
    if (const FileError error = writer.write(contents.data(), contents.size()); error != FileError::None)
        return error;
    return writer.commit();
}

FileError writeWholeFile(const std::string& path, std::string_view contents)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return fromErrno(errno);
    const char* p = contents.data();
    std::size_t n = contents.size();
    while (n > 0) {
        const ssize_t put = ::write(fd, p, n);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            return fromErrno(error);
        }
        p += put;
        n -= static_cast<std::size_t>(put);
    }
    if (::close(fd) != 0)
        return fromErrno(errno);
    return FileError::None;
}

} // namespace tarvelo
