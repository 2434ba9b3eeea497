#pragma once

#include <string>

// What a path names and where it leads.
namespace tarvelo {

// The folder part of a path: "." without a slash, "/" for a file in the root.
std::string folderOf(const std::string& path);
// The last part of a path, after its last slash.
std::string baseNameOf(const std::string& path);

// Whether the path names something that exists and is not a regular file (a device,
// FIFO, socket or folder; links are followed). Writers that create or replace a file
// ask first, so that they never put a regular file in the place of such a thing.
bool isSpecialFile(const std::string& path);

// The file that a path leads to, through any symbolic links (also when the last link
// leads to a file that does not exist yet). A path without links comes back as it is.
std::string resolveLinks(const std::string& path);

// The folder of the running program's file, or empty when it cannot be told.
std::string programFolder();

} // namespace tarvelo
