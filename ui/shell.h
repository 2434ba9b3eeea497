#pragma once

#include <string>
#include <vector>

namespace tarvelo {

// Opens files and web pages with the desktop's programs. Tests install a recording
// shell instead, so nothing is opened for real.
class Shell {
public:
    virtual ~Shell() = default;
    // An address ("http://...", "mailto:...") in the code page of the portfolio texts.
    virtual void open(const std::string& address) = 0;
    // A local file, its path as the file system spells it.
    virtual void openFile(const std::string& path) = 0;

    static Shell& instance();
    static void install(Shell* shell); // null restores the desktop's shell
};

// Remembers what would have been opened.
class RecordingShell : public Shell {
public:
    void open(const std::string& address) override { opened.push_back(address); }
    void openFile(const std::string& path) override { opened.push_back(path); }
    std::vector<std::string> opened;
};

} // namespace tarvelo
