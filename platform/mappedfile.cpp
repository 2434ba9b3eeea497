#include "platform/mappedfile.h"

#include "platform/inputfile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace tarvelo {

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
        return fileErrorFromErrno(errno);
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
        return fileErrorFromErrno(error);
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

} // namespace tarvelo
