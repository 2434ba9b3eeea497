#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// Plain file access for the readers and writers of the core.
namespace tarvelo {

enum class FileError {
    None,
    NotFound,     // missing file or bad path
    AccessDenied, // no permission, read-only medium, file locked
    DiskFull,
    Other,
};

// The framework's number for a file error's cause, as "File could not be saved (%i)"
// shows it: 3 bad path, 5 access denied, 13 disk full, 1 anything else.
int FileErrorCause(FileError error);

// A file opened for reading in large blocks.
class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

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

// Writes a file atomically: the bytes go to a temporary file in the destination's
// folder, which replaces the destination only when commit() succeeds. Destroying an
// uncommitted writer removes the temporary file and leaves the destination untouched.
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

private:
    int m_fd = -1;
    std::string m_path;
    std::string m_tempPath;
    FileError m_error = FileError::None;
};

// A new, empty, uniquely named file in $TMPDIR (default /tmp) whose name starts with
// the prefix. Returns an empty path when none could be made.
std::string CreateTempFile(std::string_view prefix);

// Whole-file helpers.
FileError ReadWholeFile(const std::string& path, std::string& contents);
FileError WriteFileAtomically(const std::string& path, std::string_view contents);
// Creates or truncates the file and writes the bytes in place (for scratch files).
FileError WriteWholeFile(const std::string& path, std::string_view contents);

} // namespace tarvelo
