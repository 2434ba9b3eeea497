#pragma once

#include "model/securityitem.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Portfolios, folders and process figures shared by the benchmark programs.
namespace tarvelo::bench {

// The size of the portfolio the file benchmarks work on: 10 million records.
inline constexpr std::size_t kPortfolioItems = 100;
inline constexpr std::size_t kQuotationsPerItem = 100'000;
// The block size of the file readers and writers, and of their raw baselines.
inline constexpr std::size_t kIoBlock = 1 << 20;

// A portfolio of `items` items with full settings and `records` ascending quotations
// each. The same arguments always give the same portfolio.
std::vector<std::unique_ptr<SecurityItem>> makePortfolio(std::size_t items, std::size_t records);
std::vector<const SecurityItem*> pointers(const std::vector<std::unique_ptr<SecurityItem>>& items);
std::size_t recordCount(const std::vector<std::unique_ptr<SecurityItem>>& items);

// A private folder under $TMPDIR (default /tmp), removed with everything in it when
// the object goes away.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

std::uint64_t fileSize(const std::string& path);

// A file of historical quotations in the import's default line format (a header line,
// then "1-Jan-1990,open,high,low,close,volume,value" lines, dates from 1990 to 2037 in
// order, no two lines with the same date and value); returns its size in bytes.
std::uint64_t writeImportFile(const std::string& path, int lines);

// Writes `bytes` bytes to `path` the way the atomic save does: a temporary file in the
// same folder filled in blocks of `block` bytes, fsync'd, closed and renamed over the
// destination. Returns false on any failure.
bool rawAtomicWrite(const std::string& path, std::uint64_t bytes, const std::vector<char>& block);
// Reads the whole file in blocks of block.size() bytes; returns the count read, or
// -1 on failure.
std::int64_t rawRead(const std::string& path, std::vector<char>& block);
// Reads the whole file, in blocks of kIoBlock bytes, into newly allocated memory of
// the file's size: the raw cost of having the file's bytes in memory. Returns the
// count read, or -1 on failure.
std::int64_t rawReadIntoMemory(const std::string& path);

// Figures of /proc/self/status in KiB: resident now, and the peak since start.
std::int64_t residentKiB();
std::int64_t peakResidentKiB();

} // namespace tarvelo::bench
