#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tarvelo {

// What a file was when it was read: which file, its size and time, and a hash of its
// bytes. Two stamps with the same hash describe the same contents.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::uint64_t hash = 0;

    // The cheap part: whether the directory entry still shows the same file.
    bool sameEntry(const FileStamp& other) const
    {
        return device == other.device && inode == other.inode && size == other.size && modifiedNs == other.modifiedNs;
    }
};
// Without withHash only the entry is read. Empty when the file cannot be read.
std::optional<FileStamp> readFileStamp(const std::string& path, bool withHash);

} // namespace tarvelo
