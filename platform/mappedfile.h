#pragma once

#include "platform/fileerror.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace tarvelo {

// A whole file mapped into memory, followed by at least one NUL byte, so the contents
// read as one string. The mapping is private: writes change this copy only, and only
// the pages written take memory of their own.
class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    FileError open(const std::string& path);
    const char* data() const { return m_data; }
    char* data() { return m_data; }
    std::size_t size() const { return m_size; }
    void close();

private:
    static constexpr std::uint64_t kReadBelow = 1 << 20;

    char* m_data = m_empty;
    std::size_t m_size = 0;
    std::size_t m_mappedBytes = 0;
    std::unique_ptr<char[]> m_copy; // small files are read rather than mapped
    char m_empty[1] = {0};
};

} // namespace tarvelo
