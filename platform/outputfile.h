#pragma once

#include "platform/fileerror.h"

#include <cstddef>
#include <string>

namespace tarvelo {

// A file created or truncated and written in place, through a buffer.
class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    FileError open(const std::string& path);
    void write(const char* data, std::size_t n);
    // Writes what is buffered and closes; reports the first error of the file's life.
    FileError close();

private:
    void flush();
    void writeThrough(const char* data, std::size_t n);

    int m_fd = -1;
    std::string m_buffer;
    FileError m_error = FileError::None;
};

} // namespace tarvelo
