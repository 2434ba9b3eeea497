#pragma once

#include "platform/fileerror.h"

#include <string>
#include <vector>

// The copies of old contents that in-place saves of AtomicFileWriter left behind.
namespace tarvelo {

// The copies of the file at path (links resolved) that in-place saves made and never
// removed because they were killed: those beside the file under its name or with its
// inode, and not held by a save in progress. Newest first.
std::vector<std::string> findLeftBackups(const std::string& path);
// Puts the contents of such a copy back into the file (in place, so that every hard
// link sees them) and removes the copy.
FileError restoreBackup(const std::string& path, const std::string& backup);

} // namespace tarvelo
