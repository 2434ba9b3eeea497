#pragma once

#include "platform/fileerror.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvelo {

// Writes a file so that a failed or interrupted save leaves the previous one whole.
//
// The destination is the file a symbolic link leads to, never the link. Usually the
// bytes go to a temporary file in the destination's folder (named ".NAME.tarvelo-save-*"),
// which takes the old file's mode, owner and group and replaces it by rename only when
// commit() succeeds. A file with several hard links is written in place instead, so
// every link keeps seeing it: a synced copy of the old contents
// (".NAME.tarvelo-backup-INODE-PID") is made first, put back if the save fails, and
// removed once the new contents are synced. The writer holds an flock on that copy for
// the whole save, so that a reader can tell the copy of a save in progress from one
// that a killed save left behind (see findLeftBackups). Opening a writer removes our
// temporary files in that folder that are more than an hour old, left behind by a save
// that was killed. Destinations that are not regular files are refused (NotRegular).
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    FileError open(const std::string& path);
    FileError write(const void* data, std::size_t n);
    FileError commit();
    void abort();

    static constexpr std::string_view kTempMarker = ".tarvelo-save-";
    static constexpr std::string_view kBackupMarker = ".tarvelo-backup-";

private:
    FileError openInPlace(std::uint64_t inode);

    int m_fd = -1;
    std::string m_path;
    std::string m_tempPath;
    std::string m_backupPath; // in-place saves only
    int m_backupFd = -1;      // holds the flock on the backup
    FileError m_error = FileError::None;
};

} // namespace tarvelo
