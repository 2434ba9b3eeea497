#include "platform/files.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvelo {

namespace {

FileError FromErrno(int error)
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

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

int FileErrorCause(FileError error)
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
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        return FromErrno(errno);
    struct stat info {};
    if (::fstat(m_fd, &info) != 0) {
        const int error = errno;
        close();
        return FromErrno(error);
    }
    if (S_ISDIR(info.st_mode)) {
        close();
        return FileError::NotFound;
    }
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
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return FromErrno(errno);
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
        return FromErrno(error);
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
    m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (m_fd < 0)
        return m_error = FromErrno(errno);
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
            m_error = FromErrno(errno);
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
        m_error = FromErrno(errno);
    m_fd = -1;
    return m_error;
}

AtomicFileWriter::~AtomicFileWriter()
{
    abort();
}

FileError AtomicFileWriter::open(const std::string& path)
{
    abort();
    m_path = path;
    m_error = FileError::None;
    // A destination that exists but cannot be written is refused up front, as a
    // read-only file would be.
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0)
        return m_error = FileError::AccessDenied;
    std::string pattern = FolderOf(path) + "/." + BaseNameOf(path) + ".XXXXXX";
    m_fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (m_fd < 0)
        return m_error = FromErrno(errno);
    m_tempPath = pattern;
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        ::fchmod(m_fd, info.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(m_fd, 0666 & ~mask);
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
            m_error = FromErrno(errno);
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
        m_error = FromErrno(errno);
        abort();
        return m_error;
    }
    if (::close(m_fd) != 0) {
        m_fd = -1;
        m_error = FromErrno(errno);
        abort();
        return m_error;
    }
    m_fd = -1;
    if (::rename(m_tempPath.c_str(), m_path.c_str()) != 0) {
        m_error = FromErrno(errno);
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
}

std::string CreateTempFile(std::string_view prefix)
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

FileError ReadWholeFile(const std::string& path, std::string& contents)
{
    InputFile file;
    if (const FileError error = file.open(path); error != FileError::None)
        return error;
    contents.clear();
    char buffer[65536];
    for (;;) {
        const std::ptrdiff_t got = file.read(buffer, sizeof buffer);
        if (got < 0)
            return FromErrno(errno);
        if (got == 0)
            return FileError::None;
        contents.append(buffer, static_cast<std::size_t>(got));
    }
}

FileError WriteFileAtomically(const std::string& path, std::string_view contents)
{
    AtomicFileWriter writer;
    if (const FileError error = writer.open(path); error != FileError::None)
        return error;
    if (const FileError error = writer.write(contents.data(), contents.size()); error != FileError::None)
        return error;
    return writer.commit();
}

FileError WriteWholeFile(const std::string& path, std::string_view contents)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return FromErrno(errno);
    const char* p = contents.data();
    std::size_t n = contents.size();
    while (n > 0) {
        const ssize_t put = ::write(fd, p, n);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            return FromErrno(error);
        }
        p += put;
        n -= static_cast<std::size_t>(put);
    }
    if (::close(fd) != 0)
        return FromErrno(errno);
    return FileError::None;
}

} // namespace tarvelo
