#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Plain file access for the readers and writers of the core.
namespace tarvelo {

enum class FileError {
    None,
    NotFound,     // missing file or bad path
    AccessDenied, // no permission, read-only medium, file locked
    DiskFull,
    NotRegular,   // a device, FIFO, socket or folder where a file belongs
    Other,
};

// Whether the path names something that exists and is not a regular file (a device,
// FIFO, socket or folder; links are followed). Writers that create or replace a file
// ask first, so that they never put a regular file in the place of such a thing.
bool isSpecialFile(const std::string& path);

// The framework's number for a file error's cause, as "File could not be saved (%i)"
// shows it: 3 bad path, 5 access denied, 13 disk full, 1 anything else.
int fileErrorCause(FileError error);

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

// The copies of the file at path (links resolved) that in-place saves made and never
// removed because they were killed: those beside the file under its name or with its
// inode, and not held by a save in progress. Newest first.
std::vector<std::string> findLeftBackups(const std::string& path);
// Puts the contents of such a copy back into the file (in place, so that every hard
// link sees them) and removes the copy.
FileError restoreBackup(const std::string& path, const std::string& backup);

// The file that a path leads to, through any symbolic links (also when the last link
// leads to a file that does not exist yet). A path without links comes back as it is.
std::string resolveLinks(const std::string& path);

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

// An exclusive advisory lock (flock) on a file that several programs write, held on a
// lock file beside it (".NAME.lock"), so that replacing the file by rename keeps it.
// The lock file exists only while the lock is held. The holder writes who it is into
// it, so that a program that waits in vain can say who has it.
class FileLock {
public:
    enum class Result {
        Locked,
        TimedOut,    // another holder kept it for the whole wait
        Unavailable, // no lock file can be made there (a read-only folder): go on unlocked
        NotOurs      // the lock file is a link, not a regular file, or another user's
    };

    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits up to `wait` for the lock of the file at path (links resolved). The holder
    // is named "PROGRAM (process PID)".
    Result acquire(const std::string& path, std::chrono::milliseconds wait);
    void release();
    bool held() const { return m_fd >= 0; }
    // After TimedOut: what the holder wrote of itself, empty when unknown.
    const std::string& otherHolder() const { return m_otherHolder; }

    static std::string lockFilePath(const std::string& path);

private:
    int m_fd = -1;
    std::string m_lockPath;
    std::string m_otherHolder;
};

// How long a writer waits for another one's lock: TARVELO_LOCK_WAIT seconds from the
// environment, else 20 seconds.
std::chrono::milliseconds lockWait();

// A new, empty, uniquely named file in $TMPDIR (default /tmp) whose name starts with
// the prefix. Returns an empty path when none could be made.
std::string createTempFile(std::string_view prefix);

// Whole-file helpers.
FileError readWholeFile(const std::string& path, std::string& contents);
FileError writeFileAtomically(const std::string& path, std::string_view contents);
// Creates or truncates the file and writes the bytes in place (for scratch files).
FileError writeWholeFile(const std::string& path, std::string_view contents);

} // namespace tarvelo
