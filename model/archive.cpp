#include "model/archive.h"

#include "platform/atomicfilewriter.h"
#include "platform/codepage.h"
#include "platform/inputfile.h"
#include "platform/translation.h"
#include "platform/utf8.h"
#include "resources/strings.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <unordered_map>

namespace tarvelo {

static_assert(std::endian::native == std::endian::little, "the archive code assumes a little-endian host");

namespace {

constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kClassTag = 0x8000;
constexpr std::uint16_t kBigObjectTag = 0x7FFF;
constexpr std::uint32_t kBigClassTag = 0x80000000u;
constexpr std::size_t kWriteBlock = 1 << 20;
constexpr std::size_t kReadBlock = 1 << 20;

constexpr std::string_view kItemClassName = "CWPapier";
constexpr std::string_view kQuotationClassName = "CKurs";

// The smallest encoding of one history record: tag, time, value.
constexpr std::uint64_t kMinRecordBytes = 2 + 4 + 8;
// The smallest encoding of one item: tag and an empty history's count.
constexpr std::uint64_t kMinItemBytes = 2 + 2;

// The memory of the objects whose size does not follow from their bytes in the stream,
// charged against the allowance of the bytes read so far (texts and records cost about
// what they take in the stream, and no count can outgrow the bytes left).
// An item: the object, the heap text of a new item's configuration, the allocator's
// headers and its slots in the lists that hold it, here and in the document (counted
// as they stand while a growing list moves to a larger block).
constexpr std::uint64_t kItemMemory = sizeof(SecurityItem) + 192;
// A class description: a node of the class table and its share of the buckets.
constexpr std::uint64_t kClassMemory = 64;

// One of the file texts with "%1" filled by the path.
std::string fileText(const char* text, const std::string& path)
{
    return fill(translate("File", text), {pathText(path)});
}

} // namespace

// ---------------------------------------------------------------------------------
// Writer

ArchiveWriter::ArchiveWriter(Sink sink) : m_sink(std::move(sink))
{
    m_buffer.reserve(kWriteBlock + 64);
}

void ArchiveWriter::put(const void* data, std::size_t n)
{
    m_buffer.append(static_cast<const char*>(data), n);
    if (m_buffer.size() >= kWriteBlock)
        flush();
}

bool ArchiveWriter::flush()
{
    if (!m_buffer.empty() && !m_failed) {
        if (!m_sink(m_buffer))
            m_failed = true;
    }
    m_buffer.clear();
    return !m_failed;
}

void ArchiveWriter::writeByte(std::uint8_t v)
{
    put(&v, 1);
}

void ArchiveWriter::writeWord(std::uint16_t v)
{
    put(&v, 2);
}

void ArchiveWriter::writeDword(std::uint32_t v)
{
    put(&v, 4);
}

void ArchiveWriter::writeDouble(double v)
{
    put(&v, 8);
}

void ArchiveWriter::writeLength(std::size_t n)
{
    if (n < 255) {
        writeByte(static_cast<std::uint8_t>(n));
    } else if (n < 0xFFFE) {
        writeByte(0xFF);
        writeWord(static_cast<std::uint16_t>(n));
    } else {
        writeByte(0xFF);
        writeWord(0xFFFF);
        writeDword(static_cast<std::uint32_t>(n));
    }
}

void ArchiveWriter::writeText(std::string_view text)
{
    // The narrow Windows-1252 form whenever the code page holds the text, so files of
    // such texts stay what they always were; the wide form only for a text it cannot.
    if (fitsCp1252(text)) {
        const std::string narrow = utf8ToCp1252(text);
        writeLength(narrow.size());
        put(narrow.data(), narrow.size());
        return;
    }
    const std::u16string wide = utf8ToUtf16(text);
    writeByte(0xFF);
    writeWord(0xFFFE);
    writeLength(wide.size());
    put(wide.data(), wide.size() * 2);
}

void ArchiveWriter::writeCount(std::uint32_t count)
{
    if (count < 0xFFFF) {
        writeWord(static_cast<std::uint16_t>(count));
    } else {
        writeWord(0xFFFF);
        writeDword(count);
    }
}

void ArchiveWriter::writeObjectTag(std::string_view className, std::uint16_t schema)
{
    auto known = std::find_if(m_classes.begin(), m_classes.end(),
                              [&](const auto& entry) { return entry.first == className; });
    if (known == m_classes.end()) {
        writeWord(kNewClassTag);
        writeWord(schema);
        writeWord(static_cast<std::uint16_t>(className.size()));
        put(className.data(), className.size());
        m_classes.emplace_back(std::string(className), m_mapCount++);
    } else if (known->second < kBigObjectTag) {
        writeWord(static_cast<std::uint16_t>(kClassTag | known->second));
    } else {
        writeWord(kBigObjectTag);
        writeDword(kBigClassTag | known->second);
    }
    ++m_mapCount;
}

void writeItem(ArchiveWriter& w, const SecurityItem& item)
{
    const ItemSettings& s = item.settings();
    const ServerConfig& c = s.server;
    const ChartOptions& g = s.chart;
    w.writeObjectTag(kItemClassName, kItemSchema);
    w.writeText(s.name);
    w.writeText(s.symbol);
    w.writeText(s.memo);
    w.writeText(c.name);
    w.writeText(c.url);
    w.writeInt(c.timeout);
    w.writeText(c.thousandsSeparator);
    w.writeText(c.decimalSeparator);
    w.writeInt(storedNumber(c.conversion));
    w.writeText(c.textBeforeValue);
    w.writeInt(c.tagsToSkip);
    w.writeInt(c.numbersToSkip);
    w.writeInt(c.caseInsensitive.stored());
    w.writeInt(storedNumber(c.searchKind));
    w.writeText(c.regExp);
    w.writeInt(c.quotationIndex);
    w.writeInt(c.extractDate.stored());
    w.writeInt(c.dayIndex);
    w.writeInt(c.monthIndex);
    w.writeInt(c.yearIndex);
    w.writeInt(c.extractTime.stored());
    w.writeInt(c.hourIndex);
    w.writeInt(c.minuteIndex);
    w.writeInt(s.belowAlarm.stored());
    w.writeInt(s.aboveAlarm.stored());
    w.writeInt(s.deviationAlarm.stored());
    w.writeDouble(s.belowLimit);
    w.writeDouble(s.aboveLimit);
    w.writeDouble(s.deviationPercent);
    w.writeDouble(s.quantity);
    w.writeDouble(s.averageBuyPrice);
    w.writeInt(g.pageFlag.stored());
    w.writeInt(g.showGrid.stored());
    w.writeInt(storedNumber(g.valueOnGraphic));
    w.writeInt(storedNumber(g.valueOnAxes));
    w.writeInt(g.periodStart);
    w.writeInt(g.periodEnd);
    w.writeInt(g.periodStartEnabled.stored());
    w.writeInt(g.periodEndEnabled.stored());
    w.writeDword(g.lineColour);

    const auto& history = item.history();
    w.writeCount(static_cast<std::uint32_t>(history.size()));
    for (const Quotation& record : history) {
        w.writeObjectTag(kQuotationClassName, kQuotationSchema);
        w.writeInt(record.time);
        w.writeDouble(record.value);
    }
}

void writeItems(ArchiveWriter& writer, const std::vector<const SecurityItem*>& items)
{
    writer.writeCount(static_cast<std::uint32_t>(items.size()));
    for (const SecurityItem* item : items)
        writeItem(writer, *item);
}

std::string saveItems(const std::vector<const SecurityItem*>& items)
{
    std::string bytes;
    ArchiveWriter writer([&](std::string_view block) {
        bytes.append(block);
        return true;
    });
    writeItems(writer, items);
    writer.flush();
    return bytes;
}

Result<void> savePortfolioFile(const std::string& path, const std::vector<const SecurityItem*>& items)
{
    AtomicFileWriter file;
    FileError error = file.open(path);
    if (error == FileError::None) {
        ArchiveWriter writer([&](std::string_view block) {
            error = file.write(block.data(), block.size());
            return error == FileError::None;
        });
        writeItems(writer, items);
        writer.flush();
        if (error == FileError::None)
            error = file.commit();
    }
    switch (error) {
    case FileError::None:
        return Success{};
    case FileError::DiskFull:
        return Failure{translate("File", strings::kDiskFull)};
    case FileError::AccessDenied:
        return Failure{fileText(strings::kWriteReadOnly, path)};
    default:
        return Failure{translate("File", strings::kFailedToSaveDocument)};
    }
}

// ---------------------------------------------------------------------------------
// Reader

namespace {

struct FormatError {};
struct InputError {};

// Reads primitives from memory or from a file in large blocks. Knows how many bytes
// the stream still holds, so no count or length can make it allocate more, and keeps
// the account of the objects whose memory their bytes do not bound (see
// kLoadMemoryPerByte).
class ArchiveReader {
public:
    ArchiveReader(std::string_view bytes, std::uint64_t memorySlack)
        : m_base(bytes.data()), m_cur(bytes.data()), m_end(bytes.data() + bytes.size()), m_total(bytes.size()),
          m_slack(memorySlack)
    {
    }

    ArchiveReader(InputFile& file, std::uint64_t memorySlack)
        : m_file(&file), m_total(file.size()), m_slack(memorySlack)
    {
        m_block.resize(kReadBlock);
        m_base = m_cur = m_end = m_block.data();
    }

    // Books memory for an object about to be made. The stream is refused as soon as
    // its objects take more than the slack and kLoadMemoryPerByte for each byte read,
    // so a stream that is mostly such objects fails early, not at its end.
    void charge(std::uint64_t bytes)
    {
        m_charged += bytes;
        if (m_charged > m_slack && (m_charged - m_slack) / kLoadMemoryPerByte > position())
            throw FormatError{};
    }

    std::uint64_t position() const { return m_consumed + static_cast<std::uint64_t>(m_cur - m_base); }
    std::uint64_t remaining() const
    {
        const std::uint64_t at = position();
        return at < m_total ? m_total - at : 0;
    }

    std::uint8_t byte()
    {
        std::uint8_t v;
        read(&v, 1);
        return v;
    }
    std::uint16_t word()
    {
        std::uint16_t v;
        read(&v, 2);
        return v;
    }
    std::uint32_t dword()
    {
        std::uint32_t v;
        read(&v, 4);
        return v;
    }
    std::int32_t integer() { return static_cast<std::int32_t>(dword()); }
    double real()
    {
        double v;
        read(&v, 8);
        return v;
    }

    std::uint32_t count()
    {
        const std::uint16_t small = word();
        return small != 0xFFFF ? small : dword();
    }

    std::string text()
    {
        bool wide = false;
        const std::uint32_t length = textLength(wide);
        if (!wide) {
            std::string out;
            take(out, length);
            return cp1252ToUtf8(out);
        }
        if (std::uint64_t{length} * 2 > remaining())
            throw FormatError{};
        std::u16string wideText(length, u'\0');
        read(wideText.data(), std::size_t{length} * 2);
        return utf16ToUtf8(wideText);
    }

    void take(std::string& out, std::uint64_t n)
    {
        if (n > remaining())
            throw FormatError{};
        out.resize(static_cast<std::size_t>(n));
        read(out.data(), out.size());
    }

    void read(void* out, std::size_t n)
    {
        if (static_cast<std::size_t>(m_end - m_cur) >= n) {
            std::memcpy(out, m_cur, n);
            m_cur += n;
            return;
        }
        readSlow(static_cast<char*>(out), n);
    }

private:
    std::uint32_t textLength(bool& wide)
    {
        const std::uint8_t small = byte();
        if (small < 0xFF)
            return small;
        const std::uint16_t medium = word();
        if (medium == 0xFFFE) {
            if (wide)
                throw FormatError{};
            wide = true;
            return textLength(wide);
        }
        if (medium < 0xFFFF)
            return medium;
        return dword();
    }

    void readSlow(char* out, std::size_t n)
    {
        while (n > 0) {
            std::size_t have = static_cast<std::size_t>(m_end - m_cur);
            if (have == 0) {
                refill();
                have = static_cast<std::size_t>(m_end - m_cur);
            }
            const std::size_t part = std::min(have, n);
            std::memcpy(out, m_cur, part);
            m_cur += part;
            out += part;
            n -= part;
        }
    }

    void refill()
    {
        if (!m_file)
            throw FormatError{};
        m_consumed += static_cast<std::uint64_t>(m_end - m_base);
        const std::ptrdiff_t got = m_file->read(m_block.data(), m_block.size());
        if (got < 0)
            throw InputError{};
        if (got == 0)
            throw FormatError{};
        m_cur = m_block.data();
        m_end = m_block.data() + got;
    }

    InputFile* m_file = nullptr;
    std::vector<char> m_block;
    const char* m_base = nullptr;
    const char* m_cur = nullptr;
    const char* m_end = nullptr;
    std::uint64_t m_total = 0;
    // Bytes of the file before the current block.
    std::uint64_t m_consumed = 0;
    std::uint64_t m_slack = 0;
    // Memory booked by charge().
    std::uint64_t m_charged = 0;
};

enum class ClassKind { Item, Quotation };

struct ClassEntry {
    std::uint32_t index;
    ClassKind kind;
    std::uint16_t schema;
};

// Field numbers of the current item layout; kIntegerQuantity is the old integer form.
constexpr int kIntegerQuantity = 100;

constexpr int kSchema1[] = {1, 5, 2, 4, 6, 9, 10, 11, 12, 13, 32, 33, 34, 35, 36, 37, 38, 39};
constexpr int kSchema2[] = {1,  5,  7,  8,  2,  4,  6,  9,  10, 11, 12, 13, 24, 25,
                            27, 28, kIntegerQuantity, 32, 33, 34, 35, 36, 37, 38, 39};
constexpr int kSchema3[] = {1, 5, 7, 8, 2, 4, 6, 9, 10, 11, 12, 13, 24, 25, 27, 28, 30, 32, 33, 34, 35, 36, 37, 38, 39};
constexpr int kSchema4[] = {1,  5,  7,  8,  2,  4,  6,  9,  10, 11, 12, 13, 24,
                            25, 27, 28, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39};
constexpr int kSchema5[] = {1,  5,  7,  8,  2,  4,  6,  9,  10, 11, 12, 13, 24, 25,
                            27, 28, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40};
constexpr int kSchema6[] = {1,  5,  7,  8,  2,  3,  4,  6,  9,  10, 11, 12, 13, 24, 25, 26, 27,
                            28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40};
constexpr int kSchema7[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
                            21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40};

std::span<const int> layoutOf(std::uint16_t schema)
{
    switch (schema) {
    case 1: return kSchema1;
    case 2: return kSchema2;
    case 3: return kSchema3;
    case 4: return kSchema4;
    case 5: return kSchema5;
    case 6: return kSchema6;
    case 7: return kSchema7;
    default: return {};
    }
}

// The values an item keeps for every field that its stored layout lacks.
void applyOldSchemaDefaults(ItemSettings& s, std::uint16_t schema)
{
    s.memo.clear();
    if (schema == 1) {
        s.server.thousandsSeparator.clear();
        s.server.decimalSeparator = ",";
    }
    s.server.searchKind = SearchKind::Standard;
    s.server.regExp.clear();
    s.server.quotationIndex = 1;
    s.server.extractDate = false;
    s.server.dayIndex = 2;
    s.server.monthIndex = 3;
    s.server.yearIndex = 4;
    s.server.extractTime = false;
    s.server.hourIndex = 5;
    s.server.minuteIndex = 6;
    s.aboveAlarm = s.belowAlarm = s.deviationAlarm = false;
    s.belowLimit = s.aboveLimit = s.deviationPercent = s.quantity = s.averageBuyPrice = 0.0;
    s.chart.lineColour = ChartOptions::kOldLineColour;
}

void readField(ArchiveReader& r, ItemSettings& s, int field)
{
    ServerConfig& c = s.server;
    ChartOptions& g = s.chart;
    switch (field) {
    case 1: s.name = r.text(); break;
    case 2: s.symbol = r.text(); break;
    case 3: s.memo = r.text(); break;
    case 4: c.name = r.text(); break;
    case 5: c.url = r.text(); break;
    case 6: c.timeout = r.integer(); break;
    case 7: c.thousandsSeparator = r.text(); break;
    case 8: c.decimalSeparator = r.text(); break;
    case 9: c.conversion = Conversion{r.integer()}; break;
    case 10: c.textBeforeValue = r.text(); break;
    case 11: c.tagsToSkip = r.integer(); break;
    case 12: c.numbersToSkip = r.integer(); break;
    case 13: c.caseInsensitive = StoredFlag::fromStored(r.integer()); break;
    case 14: c.searchKind = SearchKind{r.integer()}; break;
    case 15: c.regExp = r.text(); break;
    case 16: c.quotationIndex = r.integer(); break;
    case 17: c.extractDate = StoredFlag::fromStored(r.integer()); break;
    case 18: c.dayIndex = r.integer(); break;
    case 19: c.monthIndex = r.integer(); break;
    case 20: c.yearIndex = r.integer(); break;
    case 21: c.extractTime = StoredFlag::fromStored(r.integer()); break;
    case 22: c.hourIndex = r.integer(); break;
    case 23: c.minuteIndex = r.integer(); break;
    case 24: s.belowAlarm = StoredFlag::fromStored(r.integer()); break;
    case 25: s.aboveAlarm = StoredFlag::fromStored(r.integer()); break;
    case 26: s.deviationAlarm = StoredFlag::fromStored(r.integer()); break;
    case 27: s.belowLimit = r.real(); break;
    case 28: s.aboveLimit = r.real(); break;
    case 29: s.deviationPercent = r.real(); break;
    case 30: s.quantity = r.real(); break;
    case 31: s.averageBuyPrice = r.real(); break;
    case 32: g.pageFlag = StoredFlag::fromStored(r.integer()); break;
    case 33: g.showGrid = StoredFlag::fromStored(r.integer()); break;
    case 34: g.valueOnGraphic = ValueOnGraphic{r.integer()}; break;
    case 35: g.valueOnAxes = ValueOnAxes{r.integer()}; break;
    case 36: g.periodStart = r.integer(); break;
    case 37: g.periodEnd = r.integer(); break;
    case 38: g.periodStartEnabled = StoredFlag::fromStored(r.integer()); break;
    case 39: g.periodEndEnabled = StoredFlag::fromStored(r.integer()); break;
    case 40: g.lineColour = r.dword(); break;
    case kIntegerQuantity: s.quantity = static_cast<double>(r.integer()); break;
    default: throw FormatError{};
    }
}

class ItemListReader {
public:
    explicit ItemListReader(ArchiveReader& reader) : m_r(reader) {}

    std::vector<std::unique_ptr<SecurityItem>> readItems()
    {
        std::vector<std::unique_ptr<SecurityItem>> items;
        const std::uint32_t n = m_r.count();
        if (std::uint64_t{n} * kMinItemBytes > m_r.remaining())
            throw FormatError{};
        for (std::uint32_t i = 0; i < n; ++i)
            items.push_back(readItem());
        return items;
    }

private:
    // Reads an object tag and returns the class of the object that follows. Null tags
    // and references to objects read before are refused: an item list never holds an
    // empty entry, and no object may be owned twice.
    const ClassEntry& readTag(ClassKind expected, std::uint16_t tag)
    {
        std::uint32_t classIndex = 0;
        if (tag == kNewClassTag) {
            const std::uint16_t schema = m_r.word();
            const std::uint16_t length = m_r.word();
            std::string name;
            m_r.take(name, length);
            ClassKind kind;
            if (name == kItemClassName)
                kind = ClassKind::Item;
            else if (name == kQuotationClassName)
                kind = ClassKind::Quotation;
            else
                throw FormatError{};
            if (kind == ClassKind::Quotation && schema != kQuotationSchema)
                throw FormatError{};
            m_r.charge(kClassMemory);
            classIndex = m_mapCount++;
            m_classes.emplace(classIndex, ClassEntry{classIndex, kind, schema});
        } else if (tag == kBigObjectTag) {
            const std::uint32_t big = m_r.dword();
            if (!(big & kBigClassTag))
                throw FormatError{};
            classIndex = big & ~kBigClassTag;
        } else if (tag & kClassTag) {
            classIndex = tag & ~kClassTag;
        } else {
            throw FormatError{}; // null tag or back reference
        }
        const auto entry = m_classes.find(classIndex);
        if (entry == m_classes.end() || entry->second.kind != expected)
            throw FormatError{};
        ++m_mapCount;
        return entry->second;
    }

    std::unique_ptr<SecurityItem> readItem()
    {
        const ClassEntry& itemClass = readTag(ClassKind::Item, m_r.word());
        const std::uint16_t schema = itemClass.schema;
        m_r.charge(kItemMemory);
        auto item = std::make_unique<SecurityItem>();
        const std::span<const int> layout = layoutOf(schema);
        if (!layout.empty()) {
            ItemSettings& s = item->settings();
            if (schema < kItemSchema)
                applyOldSchemaDefaults(s, schema);
            for (int field : layout)
                readField(m_r, s, field);
        }
        readHistory(*item);
        return item;
    }

    void readHistory(SecurityItem& item)
    {
        const std::uint32_t n = m_r.count();
        if (std::uint64_t{n} * kMinRecordBytes > m_r.remaining())
            throw FormatError{};
        item.reserveHistory(n);
        std::uint16_t fastTag = 0;
        for (std::uint32_t i = 0; i < n; ++i) {
            const std::uint16_t tag = m_r.word();
            if (fastTag != 0 && tag == fastTag) {
                ++m_mapCount;
            } else {
                const ClassEntry& kurs = readTag(ClassKind::Quotation, tag);
                fastTag = kurs.index < kBigObjectTag ? static_cast<std::uint16_t>(kClassTag | kurs.index) : 0;
            }
            Quotation record;
            record.time = m_r.integer();
            record.value = m_r.real();
            item.appendLoadedQuotation(record);
        }
    }

    ArchiveReader& m_r;
    // Class descriptions by index; a stream may describe a class more than once.
    std::unordered_map<std::uint32_t, ClassEntry> m_classes;
    std::uint32_t m_mapCount = 1;
};

// "N bytes after the last item were passed over.", with the file's name in front when
// there is one.
std::string trailingBytesWarning(std::uint64_t count, const std::string& path)
{
    const std::string text = count == 1 ? translate("File", "%1 byte after the last item was passed over.")
                                        : translate("File", "%1 bytes after the last item were passed over.");
    const std::string counted = fill(text, {std::to_string(count)});
    return path.empty() ? counted : pathText(path) + ": " + counted;
}

LoadResult readAll(ArchiveReader& reader, const std::string& path)
{
    try {
        LoadedFile loaded;
        loaded.items = ItemListReader(reader).readItems();
        if (const std::uint64_t rest = reader.remaining(); rest > 0)
            loaded.warning = trailingBytesWarning(rest, path);
        return loaded;
    } catch (const FormatError&) {
        return Failure{translate("File", strings::kUnexpectedFileFormat)};
    } catch (const InputError&) {
        return Failure{translate("File", strings::kFailedToOpenDocument)};
    } catch (const std::bad_alloc&) {
        return Failure{translate("File", strings::kFailedToOpenDocument)};
    }
}

} // namespace

LoadResult loadItems(std::string_view bytes, std::uint64_t memorySlack)
{
    ArchiveReader reader(bytes, memorySlack);
    return readAll(reader, {});
}

LoadResult loadPortfolioFile(const std::string& path)
{
    InputFile file;
    switch (file.open(path)) {
    case FileError::None:
        break;
    case FileError::NotFound:
        return Failure{fileText(strings::kFileNotFound, path)};
    case FileError::AccessDenied:
        return Failure{fileText(strings::kReadSharingViolation, path)};
    default:
        return Failure{translate("File", strings::kFailedToOpenDocument)};
    }
    try {
        ArchiveReader reader(file, kLoadMemorySlack);
        return readAll(reader, path);
    } catch (const std::bad_alloc&) {
        return Failure{translate("File", strings::kFailedToOpenDocument)};
    }
}

} // namespace tarvelo
