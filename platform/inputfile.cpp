#include "platform/inputfile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvelo {

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
        return fileErrorFromErrno(errno);
    struct stat info {};
    if (::fstat(m_fd, &info) != 0) {
        const int error = errno;
        close();
        return fileErrorFromErrno(error);
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

} // namespace tarvelo
