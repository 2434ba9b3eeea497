#pragma once

// How a file access failed, for the readers and writers of the core.
namespace tarvelo {

enum class FileError {
    None,
    NotFound,     // missing file or bad path
    AccessDenied, // no permission, read-only medium, file locked
    DiskFull,
    NotRegular,   // a device, FIFO, socket or folder where a file belongs
    Other,
};

// The framework's number for a file error's cause, as "File could not be saved (%i)"
// shows it: 3 bad path, 5 access denied, 13 disk full, 1 anything else.
int fileErrorCause(FileError error);

// The error that a failed system call's errno stands for.
FileError fileErrorFromErrno(int error);

} // namespace tarvelo
