#include "platform/files.h"

#include "platform/atomicfilewriter.h"
#include "platform/inputfile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tarvelo {

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
            return fileErrorFromErrno(errno);
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
        return fileErrorFromErrno(errno);
    const char* p = contents.data();
    std::size_t n = contents.size();
    while (n > 0) {
        const ssize_t put = ::write(fd, p, n);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            return fileErrorFromErrno(error);
        }
        p += put;
        n -= static_cast<std::size_t>(put);
    }
    if (::close(fd) != 0)
        return fileErrorFromErrno(errno);
    return FileError::None;
}

void removeFileIfPresent(const std::string& path)
{
    if (!path.empty())
        ::unlink(path.c_str());
}

} // namespace tarvelo
