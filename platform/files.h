#pragma once

#include "platform/fileerror.h"

#include <string>
#include <string_view>

// A whole file read or written in one call.
namespace tarvelo {

FileError readWholeFile(const std::string& path, std::string& contents);
// Through AtomicFileWriter: the previous file stays whole if the save fails.
FileError writeFileAtomically(const std::string& path, std::string_view contents);
// Creates or truncates the file and writes the bytes in place (for scratch files).
FileError writeWholeFile(const std::string& path, std::string_view contents);
// Deletes a scratch file if there is one; an empty path or a file already gone is no
// error, and a file that cannot be deleted is left.
void removeFileIfPresent(const std::string& path);

} // namespace tarvelo
