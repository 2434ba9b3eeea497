// Peak memory of a loaded portfolio of 10 million records.
//
// Without arguments the program writes the portfolio file into a private folder under
// $TMPDIR, then starts itself again with "--load FILE" so that the load runs in a
// process whose peak resident size has never held the generated portfolio, and removes
// the folder afterwards. The loading process prints one JSON object:
//   {"records": N, "rss_before_kib": B, "peak_rss_kib": P, "rss_after_kib": A}
// where B is VmRSS just before the load and P is VmHWM just after it. The figure of
// interest is (P - B) * 1024 / (16 * N): memory per record against the bare 16 bytes
// of a CKurs.

#include "bench/benchdata.h"

#include "model/archive.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/wait.h>

extern char** environ;

namespace tarvelo::bench {
namespace {

int LoadAndReport(const std::string& path)
{
    const std::int64_t before = ResidentKiB();
    const LoadResult result = LoadPortfolioFile(path);
    const std::int64_t peak = PeakResidentKiB();
    const std::int64_t after = ResidentKiB();
    if (!result.ok) {
        std::fprintf(stderr, "loading %s failed: %s\n", path.c_str(), result.message.c_str());
        return 1;
    }
    std::printf("{\"records\": %zu, \"rss_before_kib\": %lld, \"peak_rss_kib\": %lld, \"rss_after_kib\": %lld}\n",
                RecordCount(result.items), static_cast<long long>(before), static_cast<long long>(peak),
                static_cast<long long>(after));
    return 0;
}

int WriteAndMeasure()
{
    ScratchFolder folder;
    const std::string path = folder.file("portfolio.qvx");
    {
        const auto items = MakePortfolio(kPortfolioItems, kQuotationsPerItem);
        const SaveResult saved = SavePortfolioFile(path, Pointers(items));
        if (!saved.ok) {
            std::fprintf(stderr, "saving %s failed: %s\n", path.c_str(), saved.message.c_str());
            return 1;
        }
    }
    std::fflush(stdout);
    char self[] = "/proc/self/exe";
    char load[] = "--load";
    std::string pathArg = path;
    char* argv[] = {self, load, pathArg.data(), nullptr};
    pid_t child = 0;
    if (const int error = ::posix_spawn(&child, self, nullptr, nullptr, argv, environ); error != 0) {
        std::fprintf(stderr, "cannot start the loading process: %s\n", std::strerror(error));
        return 1;
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return 1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

} // namespace
} // namespace tarvelo::bench

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--load") == 0)
        return tarvelo::bench::LoadAndReport(argv[2]);
    if (argc != 1) {
        std::fprintf(stderr, "usage: %s [--load FILE]\n", argv[0]);
        return 2;
    }
    return tarvelo::bench::WriteAndMeasure();
}
