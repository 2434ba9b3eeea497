#pragma once

#include "platform/fileerror.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvelo {

// A file opened for reading in large blocks.
class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Opens without blocking (a FIFO with no writer would wait for ever) and refuses
    // anything but a regular file with NotRegular.
    FileError open(const std::string& path);
    std::uint64_t size() const { return m_size; }
    // Reads up to n bytes; returns the count read, 0 at the end; -1 on a read error.
    std::ptrdiff_t read(void* buffer, std::size_t n);
    void close();

private:
    int m_fd = -1;
    std::uint64_t m_size = 0;
};

} // namespace tarvelo
