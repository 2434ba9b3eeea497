#pragma once

#include "model/securityitem.h"
#include "platform/result.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The portfolio file: the binary object archive of the item list. The same encoding
// carries items through the clipboard.
namespace tarvelo {

inline constexpr std::uint16_t kItemSchema = 7;
inline constexpr std::uint16_t kQuotationSchema = 1;

// Little-endian primitive writer with the archive's object tags. Bytes are collected in
// a buffer that is handed to the sink whenever it grows large, and at flush().
class ArchiveWriter {
public:
    using Sink = std::function<bool(std::string_view)>;
    explicit ArchiveWriter(Sink sink);

    void writeByte(std::uint8_t v);
    void writeWord(std::uint16_t v);
    void writeDword(std::uint32_t v);
    void writeInt(std::int32_t v) { writeDword(static_cast<std::uint32_t>(v)); }
    void writeDouble(double v);
    // A UTF-8 text in the narrow form when Windows-1252 holds it, else the wide form.
    void writeText(std::string_view text);
    void writeCount(std::uint32_t count);
    // Tags the next object as one of the named class, describing the class the first
    // time it appears in the stream.
    void writeObjectTag(std::string_view className, std::uint16_t schema);

    bool flush();
    bool failed() const { return m_failed; }

private:
    void put(const void* data, std::size_t n);
    void writeLength(std::size_t n);

    Sink m_sink;
    std::string m_buffer;
    bool m_failed = false;
    std::uint32_t m_mapCount = 1;
    std::vector<std::pair<std::string, std::uint32_t>> m_classes;
};

// Writes one item with its history in the current layout.
void writeItem(ArchiveWriter& writer, const SecurityItem& item);
// Writes the count of items, then every item.
void writeItems(ArchiveWriter& writer, const std::vector<const SecurityItem*>& items);

// The items of a loaded file; warning is set when the items loaded but the file holds
// something the reader passed over. A failure says "Unexpected file format." or a file
// error text.
struct LoadedFile {
    std::vector<std::unique_ptr<SecurityItem>> items;
    std::string warning;
};
using LoadResult = Result<LoadedFile>;

// The memory a load may take grows with the stream: beyond a fixed slack, the objects
// read so far may take kLoadMemoryPerByte bytes for each byte read. Texts and records
// take about the bytes they fill; items and class descriptions are charged what they
// cost, and a stream whose objects would cost more, such as one of countless items
// without fields, is refused as damaged. An item with the fields of any schema fills at
// least 61 bytes, so no stream of such items comes near the bound.
inline constexpr std::uint64_t kLoadMemorySlack = std::uint64_t{32} << 20;
inline constexpr std::uint64_t kLoadMemoryPerByte = 24;

// The item list of a portfolio stream held in memory. Any damage, an empty stream
// included, gives "Unexpected file format." and no items. Bytes after the last item
// leave the items loaded and are named in the warning.
LoadResult loadItems(std::string_view bytes, std::uint64_t memorySlack = kLoadMemorySlack);
std::string saveItems(const std::vector<const SecurityItem*>& items);

// Files. Saving writes a temporary file beside the destination and renames it, so a
// failed save leaves the previous file whole. Messages have "%1" replaced by the path.
LoadResult loadPortfolioFile(const std::string& path);
Result<void> savePortfolioFile(const std::string& path, const std::vector<const SecurityItem*>& items);

} // namespace tarvelo
