// Importing a server configuration file of 100,000 keys into an empty store, against
// checking the same file without storing it (the parse alone). Then what such a
// settings file costs every later command: the first setting a new process reads (the
// stored set version, as every tarvelo-cli command does at start), against reading the
// file's bytes. Prints JSON for scripts/bench. A first argument sets another number of
// keys (for profiling).
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

#include <sys/wait.h>
#include <unistd.h>

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

// Seconds a new process (this program again, started with --first-read) takes for its
// first setting.
double firstReadInNewProcess()
{
    int channel[2];
    if (::pipe(channel) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(channel[1], 1);
        ::execl("/proc/self/exe", "regfile_bench", "--first-read", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(channel[1]);
    char answer[64] = {0};
    const ssize_t got = ::read(channel[0], answer, sizeof answer - 1);
    ::close(channel[0]);
    ::waitpid(child, nullptr, 0);
    return got > 0 ? std::atof(answer) : -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "--first-read") {
        const auto started = Clock::now();
        const int version = Profile().getInt("Server Version", "Version number", 0);
        std::printf("%.6f\n", version > 0 ? seconds(started) : -1.0);
        return 0;
    }
    const int keys = argc > 1 ? std::atoi(argv[1]) : kKeys;
    ScratchFolder folder;
    ::setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
    const std::string text = makeFile(keys);
    std::vector<double> imports, parses;
    std::size_t stored = 0;
    for (int run = 0; run < 3; ++run) {
        std::filesystem::remove(Profile::filePath());
        auto started = Clock::now();
        const Result<void> checked = checkServerConfigsText(text);
        parses.push_back(seconds(started));
        started = Clock::now();
        const Result<void> imported = importServerConfigsText(text);
        imports.push_back(seconds(started));
        if (!checked.ok() || !imported.ok()) {
            std::fprintf(stderr, "regfile_bench: %s\n", (checked.ok() ? imported : checked).message().c_str());
            return 1;
        }
        std::vector<std::string> names;
        enumerateServerConfigs(names);
        stored = names.size();
    }
    std::sort(imports.begin(), imports.end());
    std::sort(parses.begin(), parses.end());
    std::vector<double> firstReads, fileReads;
    for (int run = 0; run < 3; ++run) {
        firstReads.push_back(firstReadInNewProcess());
        auto started = Clock::now();
        std::string bytes;
        readWholeFile(Profile::filePath(), bytes);
        fileReads.push_back(seconds(started));
    }
    std::sort(firstReads.begin(), firstReads.end());
    std::sort(fileReads.begin(), fileReads.end());
    std::printf("{\"import\":%.4f,\"parse\":%.4f,\"keys\":%d,\"stored\":%zu,\"bytes\":%zu,"
                "\"first_read\":%.5f,\"file_read\":%.5f}\n",
                imports[1], parses[1], keys, stored, text.size(), firstReads[1], fileReads[1]);
    return stored == static_cast<std::size_t>(keys) ? 0 : 1;
}
