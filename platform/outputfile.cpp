#include "platform/outputfile.h"

#include "platform/filepath.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tarvelo {

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
        return m_error = fileErrorFromErrno(errno);
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
            m_error = fileErrorFromErrno(errno);
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
        m_error = fileErrorFromErrno(errno);
    m_fd = -1;
    return m_error;
}

} // namespace tarvelo
