// Peak memory of a loaded portfolio of 10 million records, and of `tarvelo-cli dump`
// on files crafted to cost the most memory for their size.
//
// Without arguments the program writes the portfolio file into a private folder under
// $TMPDIR, then starts itself again with "--load FILE" so that the load runs in a
// process whose peak resident size has never held the generated portfolio. It also
// writes files of 4 MB and 40 MB of nothing but items without fields (4 bytes each in
// the file, hundreds in memory) and runs tarvelo-cli dump on each, with a settings
// folder of its own. It removes the folder afterwards and prints one JSON object:
//   {"records": N, "rss_before_kib": B, "peak_rss_kib": P, "rss_after_kib": A,
//    "fieldless_dump": [{"file_bytes": F, "peak_rss_kib": R, "rss_per_file_byte": R*1024/F,
//                        "bound_kib": 64 MiB + 40 F, "status": S}, ...]}
// where B is VmRSS just before the load and P is VmHWM just after it. The figures of
// interest are (P - B) * 1024 / (16 * N), memory per record against the bare 16 bytes
// of a Quotation, and for the crafted files the peak against the bound of 64 MiB and 40
// bytes for each byte of the file.

#include "bench/benchdata.h"

#include "model/archive.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace tarvelo::bench {
namespace {

struct ChildRun {
    int status = -1;        // exit status, -1 when it did not exit normally
    std::int64_t peakKiB = 0; // the child's peak resident size
    std::string output;     // what it printed, when asked for
};

// Runs a program and waits for it. Its standard output is kept when asked for, else
// dropped with its errors.
bool run(const std::vector<std::string>& args, char** env, bool keepOutput, ChildRun& run)
{
    int pipeFds[2] = {-1, -1};
    if (keepOutput && ::pipe2(pipeFds, O_CLOEXEC) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (keepOutput)
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (!keepOutput)
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    std::vector<std::string> copies = args;
    for (std::string& arg : copies)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const int error = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), env);
    posix_spawn_file_actions_destroy(&actions);
    if (keepOutput)
        ::close(pipeFds[1]);
    if (error != 0) {
        std::fprintf(stderr, "cannot start %s: %s\n", argv[0], std::strerror(error));
        if (keepOutput)
            ::close(pipeFds[0]);
        return false;
    }
    if (keepOutput) {
        char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer);
            if (got > 0)
                run.output.append(buffer, static_cast<std::size_t>(got));
            else if (got == 0 || errno != EINTR)
                break;
        }
        ::close(pipeFds[0]);
    }
    int status = 0;
    rusage usage{};
    while (::wait4(child, &status, 0, &usage) < 0) {
        if (errno != EINTR)
            return false;
    }
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.peakKiB = usage.ru_maxrss;
    return true;
}

int loadAndReport(const std::string& path)
{
    const std::int64_t before = residentKiB();
    const LoadResult result = loadPortfolioFile(path);
    const std::int64_t peak = peakResidentKiB();
    const std::int64_t after = residentKiB();
    if (!result.ok()) {
        std::fprintf(stderr, "loading %s failed: %s\n", path.c_str(), result.message().c_str());
        return 1;
    }
    std::printf("{\"records\": %zu, \"rss_before_kib\": %lld, \"peak_rss_kib\": %lld, \"rss_after_kib\": %lld}",
                recordCount(result->items), static_cast<long long>(before), static_cast<long long>(peak),
                static_cast<long long>(after));
    return 0;
}

// A portfolio of `bytes` bytes (rounded down to whole items) of items without fields
// or records.
bool writeFieldlessItems(const std::string& path, std::uint64_t bytes)
{
    const std::uint32_t items = static_cast<std::uint32_t>((bytes - 6 - 16) / 4 + 1);
    std::string head("\xFF\xFF", 2);
    head.append(reinterpret_cast<const char*>(&items), 4);
    head.append("\xFF\xFF\x00\x00\x08\x00" "CWPapier" "\x00\x00", 16);
    std::ofstream out(path, std::ios::binary);
    out << head;
    const std::string next("\x01\x80\x00\x00", 4);
    std::string block;
    for (int i = 0; i < 4096; ++i)
        block += next;
    std::uint32_t left = items - 1;
    for (; left >= 4096; left -= 4096)
        out << block;
    out << block.substr(0, std::size_t{left} * 4);
    return static_cast<bool>(out.flush());
}

// The environment with XDG_CONFIG_HOME set to a folder of its own.
std::vector<std::string> privateEnvironment(const std::string& config)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "XDG_CONFIG_HOME=", 16) != 0)
            env.emplace_back(*e);
    env.push_back("XDG_CONFIG_HOME=" + config);
    return env;
}

// Runs tarvelo-cli dump on files of items without fields and returns the figures as
// JSON objects. Runs before the large portfolio is made: a spawned process starts out
// sharing this one's memory, and its peak counts what this process held then.
bool measureFieldlessDumps(const ScratchFolder& folder, std::string& figures)
{
    const std::string config = folder.file("config");
    std::vector<std::string> env = privateEnvironment(config);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    bool ok = true;
    for (const std::uint64_t size : {std::uint64_t{4} << 20, std::uint64_t{40} << 20}) {
        const std::string crafted = folder.file("fieldless.qvx");
        if (!writeFieldlessItems(crafted, size)) {
            std::fprintf(stderr, "cannot write %s\n", crafted.c_str());
            ok = false;
            break;
        }
        const std::uint64_t bytes = fileSize(crafted);
        ChildRun dump;
        ok = run({TARVELO_CLI, "dump", crafted}, envp.data(), false, dump);
        ::unlink(crafted.c_str());
        if (!ok)
            break;
        const std::uint64_t boundKiB = ((std::uint64_t{64} << 20) + 40 * bytes) / 1024;
        char line[256];
        std::snprintf(line, sizeof line,
                      "%s{\"file_bytes\": %llu, \"peak_rss_kib\": %lld, \"rss_per_file_byte\": %.2f, "
                      "\"bound_kib\": %llu, \"status\": %d}",
                      figures.empty() ? "" : ", ", static_cast<unsigned long long>(bytes),
                      static_cast<long long>(dump.peakKiB),
                      static_cast<double>(dump.peakKiB) * 1024 / static_cast<double>(bytes),
                      static_cast<unsigned long long>(boundKiB), dump.status);
        figures += line;
    }
    std::error_code ignored;
    std::filesystem::remove_all(config, ignored);
    return ok;
}

int writeAndMeasure()
{
    ScratchFolder folder;
    std::string figures;
    if (!measureFieldlessDumps(folder, figures))
        return 1;

    const std::string path = folder.file("portfolio.qvx");
    {
        const auto items = makePortfolio(kPortfolioItems, kQuotationsPerItem);
        const Result<void> saved = savePortfolioFile(path, pointers(items));
        if (!saved.ok()) {
            std::fprintf(stderr, "saving %s failed: %s\n", path.c_str(), saved.message().c_str());
            return 1;
        }
    }
    ChildRun load;
    if (!run({"/proc/self/exe", "--load", path}, environ, true, load) || load.status != 0 || load.output.empty())
        return 1;
    std::string object = load.output;
    object.pop_back(); // the closing brace
    std::printf("%s, \"fieldless_dump\": [%s]}\n", object.c_str(), figures.c_str());
    return 0;
}

} // namespace
} // namespace tarvelo::bench

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--load") == 0)
        return tarvelo::bench::loadAndReport(argv[2]);
    if (argc != 1) {
        std::fprintf(stderr, "usage: %s [--load FILE]\n", argv[0]);
        return 2;
    }
    return tarvelo::bench::writeAndMeasure();
}
