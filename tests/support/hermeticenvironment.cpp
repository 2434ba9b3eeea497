#include "tests/support/hermeticenvironment.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace tarvelo::test {

const char* const HermeticEnvironment::kDesktopPrograms[] = {
    "xdg-open",  "xdg-email", "x-www-browser", "www-browser", "sensible-browser", "gio",     "gvfs-open",
    "kde-open",  "kde-open5", "kfmclient",     "gnome-open",  "exo-open",         "firefox", "chromium",
    "chromium-browser", "google-chrome", "thunderbird", "evolution", "kmail", nullptr,
};

namespace {

constexpr const char* kCallRecord = "desktop-programs-started";

} // namespace

HermeticEnvironment::HermeticEnvironment()
{
    std::string base = (std::filesystem::temp_directory_path() / "tarvelo-test-XXXXXX").string();
    if (!::mkdtemp(base.data()))
        return;
    m_root = base;
    namespace fs = std::filesystem;
    for (const char* folder : {"config", "tmp", "home", "home/.local/share", "home/.cache", "runtime", "desktop"})
        fs::create_directories(m_root / folder);
    fs::permissions(m_root / "runtime", fs::perms::owner_all);
    ::setenv("XDG_CONFIG_HOME", (m_root / "config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (m_root / "home/.local/share").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (m_root / "home/.cache").c_str(), 1);
    ::setenv("XDG_STATE_HOME", (m_root / "home/.local/state").c_str(), 1);
    ::setenv("HOME", (m_root / "home").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (m_root / "runtime").c_str(), 1);
    ::setenv("TMPDIR", (m_root / "tmp").c_str(), 1);
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    ::setenv("LC_ALL", "C.UTF-8", 1);
    for (const char* variable : {"LANGUAGE", "BROWSER", "MAILER", "DBUS_SESSION_BUS_ADDRESS", "XDG_CURRENT_DESKTOP"})
        ::unsetenv(variable);

    const fs::path record = m_root / kCallRecord;
    for (const char* const* program = kDesktopPrograms; *program; ++program) {
        const fs::path standIn = m_root / "desktop" / *program;
        // Builtins only: the stand-in works whatever else is on the path.
        std::ofstream(standIn) << "#!/bin/sh\necho \"$0 $*\" >> '" << record.string() << "'\nexit 3\n";
        fs::permissions(standIn, fs::perms::owner_all);
    }
    const char* path = std::getenv("PATH");
    const std::string searched = (m_root / "desktop").string() + ":" + (path ? path : "/usr/bin:/bin");
    ::setenv("PATH", searched.c_str(), 1);
}

HermeticEnvironment::~HermeticEnvironment()
{
    if (m_root.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

int HermeticEnvironment::finish(int testResult) const
{
    std::ifstream record(m_root / kCallRecord);
    std::stringstream calls;
    calls << record.rdbuf();
    if (calls.str().empty())
        return testResult;
    std::cerr << "A test started a desktop program instead of a stand-in of its own:\n" << calls.str();
    return 1;
}

} // namespace tarvelo::test
