#pragma once

#include <string>

// Copies of a downloaded page in the other character set, each a new temporary file:
// a UTF-8 page is searched in the code page, and handed back to its receiver in UTF-8.
namespace tarvelo {

// A file of the code page re-encoded as UTF-8; empty when the copy could not be written.
std::string utf8Copy(const std::string& path);

// A UTF-8 file in the code page; empty when the copy could not be written.
std::string codePageCopy(const std::string& path);

} // namespace tarvelo
