#pragma once

#include <string>
#include <vector>

namespace tarvelo {

// Opens files and web pages with the desktop's programs. Tests install a recording
// shell instead, so nothing is opened for real.
class Shell {
public:
    virtual ~Shell() = default;
    // A file path or an address.
    virtual void open(const std::string& target) = 0;

    static Shell& instance();
    static void install(Shell* shell); // null restores the desktop's shell
};

// Remembers what would have been opened.
class RecordingShell : public Shell {
public:
    void open(const std::string& target) override { opened.push_back(target); }
    std::vector<std::string> opened;
};

} // namespace tarvelo
