// Importing a server configuration file of 100,000 keys into an empty store, against
// checking the same file without storing it (the parse alone). Prints JSON for
// scripts/bench. A first argument sets another number of keys (for profiling).
#include "bench/benchdata.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "servers/regfile.h"
#include "servers/serverstore.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace tarvelo;
using namespace tarvelo::bench;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kKeys = 100'000;

// Each key with an address and a timeout, as a file written by hand or by another
// program might have them; the other values take their defaults.
std::string makeFile(int keys)
{
    std::string text = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Ombrix\\Tarvelo\\Server Version]\r\n"
                       "\"Version number\"=dword:00000014\r\n\r\n";
    char line[256];
    for (int i = 0; i < keys; ++i) {
        const int n = std::snprintf(line, sizeof line,
                                    "[HKEY_CURRENT_USER\\Software\\Ombrix\\Tarvelo\\Server\\Quotes %06d]\r\n"
                                    "\"URL\"=\"http://q%d.example/quote?s=[&symbol]\"\r\n"
                                    "\"Timeout\"=dword:%08x\r\n\r\n",
                                    i, i, 1 + i % 600);
        text.append(line, static_cast<std::size_t>(n));
    }
    return text;
}

double seconds(Clock::time_point started)
{
    return std::chrono::duration<double>(Clock::now() - started).count();
}

} // namespace

int main(int argc, char** argv)
{
    const int keys = argc > 1 ? std::atoi(argv[1]) : kKeys;
    ScratchFolder folder;
    ::setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
    const std::string text = makeFile(keys);
    std::vector<double> imports, parses;
    std::size_t stored = 0;
    for (int run = 0; run < 3; ++run) {
        std::filesystem::remove(Profile::filePath());
        auto started = Clock::now();
        const RegFileResult checked = checkServerConfigsText(text);
        parses.push_back(seconds(started));
        started = Clock::now();
        const RegFileResult imported = importServerConfigsText(text);
        imports.push_back(seconds(started));
        if (!checked.ok || !imported.ok) {
            std::fprintf(stderr, "regfile_bench: %s\n", (checked.ok ? imported : checked).message.c_str());
            return 1;
        }
        std::vector<std::string> names;
        enumerateServerConfigs(names);
        stored = names.size();
    }
    std::sort(imports.begin(), imports.end());
    std::sort(parses.begin(), parses.end());
    std::printf("{\"import\":%.4f,\"parse\":%.4f,\"keys\":%d,\"stored\":%zu,\"bytes\":%zu}\n", imports[1], parses[1],
                keys, stored, text.size());
    return stored == static_cast<std::size_t>(keys) ? 0 : 1;
}
