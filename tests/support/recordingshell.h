#pragma once

#include "ui/shell.h"

#include <QUrl>

#include <string>
#include <vector>

namespace tarvelo::test {

// Remembers what would have been opened, and opens nothing.
class RecordingShell : public Shell {
public:
    bool open(const std::string& address) override
    {
        opened.push_back(address);
        return succeeds;
    }
    bool openFile(const std::string& path) override
    {
        opened.push_back(path);
        return succeeds;
    }
    void showHelp(const QUrl& page) override { opened.push_back(page.toString().toStdString()); }

    std::vector<std::string> opened;
    bool succeeds = true; // false plays a desktop without a program for it
};

} // namespace tarvelo::test
