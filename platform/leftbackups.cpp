#include "platform/leftbackups.h"

#include "platform/atomicfilewriter.h"
#include "platform/filepath.h"
#include "platform/files.h"

#include <algorithm>
#include <charconv>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvelo {

namespace {

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

} // namespace

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

} // namespace tarvelo
