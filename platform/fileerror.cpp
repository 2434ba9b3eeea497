#include "platform/fileerror.h"

#include <cerrno>

namespace tarvelo {

int fileErrorCause(FileError error)
{
    switch (error) {
    case FileError::NotFound: return 3;
    case FileError::AccessDenied: return 5;
    case FileError::DiskFull: return 13;
    default: return 1;
    }
}

FileError fileErrorFromErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return FileError::NotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EBUSY:
        return FileError::AccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileError::DiskFull;
    default:
        return FileError::Other;
    }
}

} // namespace tarvelo
