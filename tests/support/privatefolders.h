#pragma once

#include <filesystem>

namespace tarvelo::test {

// A private settings folder and temporary folder for one test program, so tests never
// touch the user's files and programs can run in parallel. XDG_CONFIG_HOME and TMPDIR
// point into it while it lives; it is removed with everything in it at the end.
class PrivateFolders {
public:
    PrivateFolders();
    ~PrivateFolders();
    PrivateFolders(const PrivateFolders&) = delete;
    PrivateFolders& operator=(const PrivateFolders&) = delete;

private:
    std::filesystem::path m_root; // empty when it could not be made
};

} // namespace tarvelo::test
