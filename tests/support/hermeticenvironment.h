#pragma once

#include <filesystem>

namespace tarvelo::test {

// The surroundings of one test program, the same on every machine: private settings,
// home, cache, runtime and temporary folders (removed at the end), the UTC time zone, the C
// locale, and a search path that starts with stand-ins for the desktop's programs
// (xdg-open, xdg-email, browsers). A stand-in records that it was started and fails as
// a desktop without such a program would, so no test opens a window on the tester's
// desktop or passes only because some program happens to be installed. finish() fails
// the run when any stand-in was started: a test that wants a desktop program installs
// its own stand-in first on the path, or a recording shell.
class HermeticEnvironment {
public:
    HermeticEnvironment();
    ~HermeticEnvironment();
    HermeticEnvironment(const HermeticEnvironment&) = delete;
    HermeticEnvironment& operator=(const HermeticEnvironment&) = delete;

    // The test program's exit status: the result of the tests, or 1 when a desktop
    // program was started; names each start on standard error.
    int finish(int testResult) const;

    // The desktop programs that have stand-ins.
    static const char* const kDesktopPrograms[];

private:
    std::filesystem::path m_root; // empty when it could not be made
};

} // namespace tarvelo::test
