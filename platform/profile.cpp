#include "platform/profile.h"

#include "platform/atomicfilewriter.h"
#include "platform/codepage.h"
#include "platform/filelock.h"
#include "platform/filestamp.h"
#include "platform/inifile.h"
#include "platform/translation.h"
#include "platform/utf8.h"

#include <QLockFile>
#include <QStandardPaths>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace tarvelo {

namespace {

// ---------------------------------------------------------------------------------
// Names
//
// A name of the profile (UTF-8) is stored as QSettings stored it for us: '%',
// '/' and '\' as %25, %2F and %5C, the empty name as %00; the file then escapes that
// text again as a key (so '%' becomes %2525 in the file). Names are found without
// regard to case, by Unicode's simple case folding, as QString compares them.

char32_t foldedCodePoint(char32_t c)
{
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + 32 : c;
    return QChar::toCaseFolded(c);
}

bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::uint32_t foldHash(std::string_view text)
{
    std::uint32_t h = 2166136261u;
    for (std::size_t pos = 0; pos < text.size();) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        const char32_t c = byte < 0x80 ? (++pos, byte) : nextCodePoint(text, pos);
        const char32_t folded = foldedCodePoint(c);
        for (int shift = 0; shift < 32 && (shift == 0 || (folded >> shift) != 0); shift += 8)
            h = (h ^ ((folded >> shift) & 0xFF)) * 16777619u;
    }
    return h;
}

bool foldEqual(std::string_view a, std::string_view b)
{
    if (isAscii(a) && isAscii(b)) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (foldedCodePoint(static_cast<unsigned char>(a[i])) != foldedCodePoint(static_cast<unsigned char>(b[i])))
                return false;
        }
        return true;
    }
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (foldedCodePoint(nextCodePoint(a, i)) != foldedCodePoint(nextCodePoint(b, j)))
            return false;
    }
    return i == a.size() && j == b.size();
}

// The order of enumeration: without regard to case, then by spelling (as QString
// compares them).
bool lessNoCase(std::string_view a, std::string_view b)
{
    if (isAscii(a) && isAscii(b)) {
        const std::size_t n = std::min(a.size(), b.size());
        for (std::size_t i = 0; i < n; ++i) {
            const char32_t x = foldedCodePoint(static_cast<unsigned char>(a[i]));
            const char32_t y = foldedCodePoint(static_cast<unsigned char>(b[i]));
            if (x != y)
                return x < y;
        }
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    }
    const QString x = QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()));
    const QString y = QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size()));
    const int noCase = QString::compare(x, y, Qt::CaseInsensitive);
    return noCase != 0 ? noCase < 0 : x < y;
}

bool keptInKey(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'
           || c == '.';
}

// A profile name as a key of the file.
void appendFileName(std::string_view name, std::string& out)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    if (name.empty()) {
        out += "%2500";
        return;
    }
    for (const char16_t u : utf8ToUtf16(name)) {
        if (u < 0x80 && keptInKey(static_cast<unsigned char>(u))) {
            out += static_cast<char>(u);
        } else if (u == u'%') {
            out += "%2525";
        } else if (u == u'/') {
            out += "%252F";
        } else if (u == u'\\') {
            out += "%255C";
        } else if (u <= 0xFF) {
            out += '%';
            out += kHex[u / 16];
            out += kHex[u % 16];
        } else {
            out += "%U";
            out += kHex[(u >> 12) & 0xF];
            out += kHex[(u >> 8) & 0xF];
            out += kHex[(u >> 4) & 0xF];
            out += kHex[u & 0xF];
        }
    }
}

// A stored name: the profile's spelling, or, for a name that a profile name cannot
// stand for (written by another program), its key in the file.
struct Name {
    std::string text;
    std::uint32_t fold = 0;
    bool foreign = false;
    bool matchable = true; // found by a profile name without regard to case

    static Name fromProfile(std::string_view text) { return {std::string(text), foldHash(text), false, true}; }
    // From a key of the file as appendEscapedKey writes it, without '\'.
    static Name fromFile(std::string_view key);

    bool sameSpelling(const Name& other) const { return foreign == other.foreign && text == other.text; }
    std::string profileText() const;
    void appendFileName(std::string& out) const
    {
        if (foreign)
            out += text;
        else
            tarvelo::appendFileName(text, out);
    }
    // The name as QSettings held it, for the order of the file.
    std::u16string settingsText() const
    {
        if (foreign)
            return ini::unescapedKey(text);
        if (text.empty())
            return u"%00";
        std::u16string out;
        out.reserve(text.size());
        for (const char16_t c : utf8ToUtf16(text)) {
            if (c == u'%')
                out += u"%25";
            else if (c == u'/')
                out += u"%2F";
            else if (c == u'\\')
                out += u"%5C";
            else
                out += c;
        }
        return out;
    }
};

// QSettings' own escape of our names, undone: "%00" is the empty name, "%XX" a
// character.
std::u16string unescapeSettingsName(const std::u16string& stored)
{
    if (stored == u"%00")
        return {};
    const auto hex = [](char16_t c) {
        if (c >= u'0' && c <= u'9')
            return c - u'0';
        if ((c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'))
            return (c | 0x20) - u'a' + 10;
        return -1;
    };
    std::u16string out;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == u'%' && i + 2 < stored.size() && hex(stored[i + 1]) >= 0 && hex(stored[i + 2]) >= 0) {
            out += static_cast<char16_t>(hex(stored[i + 1]) * 16 + hex(stored[i + 2]));
            i += 2;
        } else {
            out += stored[i];
        }
    }
    return out;
}

// The profile name of a key of the file, and whether it is one.
std::string profileTextOf(std::string_view key, bool& representable)
{
    const std::u16string name = unescapeSettingsName(ini::unescapedKey(key));
    std::string text = utf16ToUtf8(name);
    // A surrogate without its partner has no UTF-8 form: it came back as U+FFFD.
    representable = utf8ToUtf16(text) == name;
    return text;
}

Name Name::fromFile(std::string_view key)
{
    if (key.find('%') == std::string_view::npos)
        return fromProfile(key); // letters, digits and "_-." only
    bool representable = false;
    Name name = fromProfile(profileTextOf(key, representable));
    std::string spelled;
    name.appendFileName(spelled);
    if (!representable || spelled != key) {
        name.text.assign(key);
        name.foreign = true;
        name.matchable = representable;
    }
    return name;
}

std::string Name::profileText() const
{
    if (!foreign)
        return text;
    bool representable = false;
    return profileTextOf(text, representable);
}

bool matchesNoCase(const Name& name, std::string_view wanted, std::uint32_t wantedFold)
{
    if (!name.matchable || name.fold != wantedFold)
        return false;
    return name.foreign ? foldEqual(name.profileText(), wanted) : foldEqual(name.text, wanted);
}

// ---------------------------------------------------------------------------------
// The tree
//
// Nodes are shared between the snapshot of the file and the objects that read it, and
// copied on the first write through a path of shared nodes.

struct Value {
    Name name;
    std::string data;   // as the file holds it
    bool dirty = false; // set since the last sync
};

struct Node;
using NodePtr = std::shared_ptr<Node>;

// The lines of a [section] of the file not read yet: a file with a great many server
// configurations is read section by section, as the keys of a section are first
// wanted, so that a command that needs only a few settings does not pay for the rest.
// The file, kept open for the sections that still wait to be read: the settings file
// is replaced by rename, so what the descriptor reads stays what was scanned.
struct OpenFile {
    int fd = -1;

    OpenFile() = default;
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

struct PendingLines {
    std::shared_ptr<const OpenFile> file;
    struct Span {
        std::uint64_t begin;
        std::uint64_t end;
        std::vector<Name> below; // the header's path below the section's own node
    };
    std::vector<Span> spans; // in the order of the file
};

struct Node {
    Name name;
    bool dirty = false; // something below was set since the last sync
    std::vector<Value> values;
    std::vector<NodePtr> children;
    // Children by the hash of their folded name (index + 1; open addressing), for
    // nodes with many children.
    std::vector<std::uint32_t> table;
    // Lines of the file still to be read into this node (nodes of the root only); see
    // ensureRead().
    std::shared_ptr<PendingLines> pending;

    bool empty() const { return values.empty() && children.empty() && !pending; }
};

void ensureRead(const Node& node);

constexpr std::size_t kTableFrom = 16;

Node& own(NodePtr& node)
{
    ensureRead(*node);
    if (node.use_count() > 1)
        node = std::make_shared<Node>(*node);
    return *node;
}

void tableInsert(Node& node, std::uint32_t index)
{
    const std::size_t mask = node.table.size() - 1;
    std::size_t slot = node.children[index]->name.fold & mask;
    while (node.table[slot] != 0)
        slot = (slot + 1) & mask;
    node.table[slot] = index + 1;
}

void tableRebuild(Node& node)
{
    std::size_t size = 64;
    while (size < node.children.size() * 4)
        size *= 2;
    node.table.assign(size, 0);
    for (std::uint32_t i = 0; i < node.children.size(); ++i)
        tableInsert(node, i);
}

void tableErase(Node& node, std::uint32_t index)
{
    const std::size_t mask = node.table.size() - 1;
    std::size_t hole = node.children[index]->name.fold & mask;
    while (node.table[hole] != index + 1)
        hole = (hole + 1) & mask;
    // Moves back the entries that the hole would hide from their home slot.
    for (std::size_t j = (hole + 1) & mask; node.table[j] != 0; j = (j + 1) & mask) {
        const std::size_t home = node.children[node.table[j] - 1]->name.fold & mask;
        const bool between = hole <= j ? (home > hole && home <= j) : (home > hole || home <= j);
        if (!between) {
            node.table[hole] = node.table[j];
            hole = j;
        }
    }
    node.table[hole] = 0;
}

std::uint32_t addChild(Node& node, Name name)
{
    auto child = std::make_shared<Node>();
    child->name = std::move(name);
    node.children.push_back(std::move(child));
    const auto index = static_cast<std::uint32_t>(node.children.size() - 1);
    if (!node.table.empty() && node.children.size() * 2 <= node.table.size())
        tableInsert(node, index);
    else if (node.children.size() > kTableFrom)
        tableRebuild(node);
    return index;
}

void removeChild(Node& node, std::uint32_t index)
{
    const auto last = static_cast<std::uint32_t>(node.children.size() - 1);
    if (!node.table.empty()) {
        tableErase(node, index);
        if (index != last) {
            tableErase(node, last);
            std::swap(node.children[index], node.children[last]);
            tableInsert(node, index);
        }
    } else if (index != last) {
        std::swap(node.children[index], node.children[last]);
    }
    node.children.pop_back();
}

// Calls visit(index) for each child whose name has the hash, until it returns true.
template <class Visit>
void forEachCandidate(const Node& node, std::uint32_t fold, Visit&& visit)
{
    if (node.table.empty()) {
        for (std::uint32_t i = 0; i < node.children.size(); ++i) {
            if (node.children[i]->name.fold == fold && visit(i))
                return;
        }
        return;
    }
    const std::size_t mask = node.table.size() - 1;
    for (std::size_t slot = fold & mask; node.table[slot] != 0; slot = (slot + 1) & mask) {
        const std::uint32_t i = node.table[slot] - 1;
        if (node.children[i]->name.fold == fold && visit(i))
            return;
    }
}

constexpr std::uint32_t kNone = ~std::uint32_t{0};

// The child a profile name means: the one spelled so, else one that matches without
// regard to case.
std::uint32_t findChild(const Node& node, std::string_view wanted)
{
    const std::uint32_t fold = foldHash(wanted);
    std::uint32_t found = kNone;
    forEachCandidate(node, fold, [&](std::uint32_t i) {
        const Name& name = node.children[i]->name;
        if (!name.foreign && name.text == wanted) {
            found = i;
            return true;
        }
        if (found == kNone && matchesNoCase(name, wanted, fold))
            found = i;
        return false;
    });
    return found;
}

std::uint32_t findChildSpelled(const Node& node, const Name& wanted)
{
    std::uint32_t found = kNone;
    forEachCandidate(node, wanted.fold, [&](std::uint32_t i) {
        if (!node.children[i]->name.sameSpelling(wanted))
            return false;
        found = i;
        return true;
    });
    return found;
}

std::uint32_t findValue(const Node& node, std::string_view wanted)
{
    for (std::uint32_t i = 0; i < node.values.size(); ++i) {
        const Name& name = node.values[i].name;
        if (!name.foreign && name.text == wanted)
            return i;
    }
    const std::uint32_t fold = foldHash(wanted);
    for (std::uint32_t i = 0; i < node.values.size(); ++i) {
        if (matchesNoCase(node.values[i].name, wanted, fold))
            return i;
    }
    return kNone;
}

std::uint32_t findValueSpelled(const Node& node, const Name& wanted)
{
    for (std::uint32_t i = 0; i < node.values.size(); ++i) {
        if (node.values[i].name.sameSpelling(wanted))
            return i;
    }
    return kNone;
}

std::vector<std::string_view> splitKey(std::string_view key)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= key.size()) {
        std::size_t end = key.find('\\', start);
        if (end == std::string_view::npos)
            end = key.size();
        if (end > start)
            parts.push_back(key.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

const Node* findSpelled(const Node& root, const std::vector<Name>& path)
{
    const Node* node = &root;
    for (const Name& part : path) {
        const std::uint32_t i = findChildSpelled(*node, part);
        if (i == kNone)
            return nullptr;
        node = node->children[i].get();
        ensureRead(*node);
    }
    return node;
}

// Removes a value by its spelled path, and the nodes that it leaves empty.
void removeSpelled(NodePtr& root, const std::vector<Name>& path, const Name& value)
{
    std::vector<std::pair<Node*, std::uint32_t>> chain;
    Node* node = &own(root);
    for (const Name& part : path) {
        const std::uint32_t i = findChildSpelled(*node, part);
        if (i == kNone)
            return;
        chain.emplace_back(node, i);
        node = &own(node->children[i]);
    }
    const std::uint32_t v = findValueSpelled(*node, value);
    if (v == kNone)
        return;
    node->values.erase(node->values.begin() + v);
    for (auto link = chain.rbegin(); link != chain.rend() && link->first->children[link->second]->empty(); ++link)
        removeChild(*link->first, link->second);
}

// ---------------------------------------------------------------------------------
// The file

struct Snapshot {
    NodePtr root = std::make_shared<Node>();
    std::optional<FileStamp> stamp; // none: no file
    bool readable = true;           // false: a file that could not be read
};

FileStamp stampOf(const struct stat& info)
{
    FileStamp stamp;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = static_cast<std::uint64_t>(info.st_size);
    stamp.modifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    return stamp;
}

bool sameFile(const std::optional<FileStamp>& a, const std::optional<FileStamp>& b)
{
    return a.has_value() == b.has_value() && (!a || a->sameEntry(*b));
}

bool equalNoCaseAscii(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
           && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return (x | 0x20) == (y | 0x20); });
}

std::string_view trimmed(std::string_view text)
{
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; };
    while (!text.empty() && space(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && space(text.back()))
        text.remove_suffix(1);
    return text;
}

// Appends the names of a key (as appendEscapedKey writes it) to a path.
void appendPath(std::string_view key, std::vector<Name>& path)
{
    for (const std::string_view part : splitKey(key))
        path.push_back(Name::fromFile(part));
}

std::string canonicalKey(std::string_view key)
{
    if (ini::isCanonicalKey(key))
        return std::string(key);
    std::string out;
    ini::appendEscapedKey(ini::unescapedKey(key), out);
    return out;
}

// Reads key lines as QSettings does into top, each under the path `section` (below
// top) and its own: a later value of the same key replaces an earlier one, lines that are
// not keys are skipped. Stops at the first section header.
void readKeys(Node& top, ini::LineReader& reader, const std::vector<Name>& section, std::string_view& header)
{
    std::string_view line;
    std::size_t equals = 0;
    // Consecutive keys usually share their node.
    std::string lastPrefix;
    Node* lastNode = nullptr;
    std::vector<Name> path;
    header = {};
    while (reader.next(line, equals)) {
        if (line.front() == '[') {
            header = line;
            return;
        }
        if (equals == std::string_view::npos)
            continue;
        const std::string key = canonicalKey(trimmed(line.substr(0, equals)));
        const std::size_t slash = key.rfind('\\');
        const std::string_view valueName =
            slash == std::string::npos ? std::string_view(key) : std::string_view(key).substr(slash + 1);
        const std::string_view prefix = slash == std::string::npos ? std::string_view() : std::string_view(key).substr(0, slash);
        if (valueName.empty())
            continue;
        if (!lastNode || prefix != lastPrefix) {
            path = section;
            appendPath(prefix, path);
            Node* node = &top;
            for (Name& part : path) {
                std::uint32_t i = findChildSpelled(*node, part);
                if (i == kNone)
                    i = addChild(*node, std::move(part));
                node = node->children[i].get();
                ensureRead(*node);
            }
            lastNode = node;
            lastPrefix.assign(prefix);
        }
        Name name = Name::fromFile(valueName);
        std::string stored = ini::canonicalValue(line.substr(equals + 1));
        const std::uint32_t existing = findValueSpelled(*lastNode, name);
        if (existing != kNone)
            lastNode->values[existing].data = std::move(stored);
        else
            lastNode->values.push_back({std::move(name), std::move(stored), false});
    }
}

// The path a section header names ("[Server]", "[%General]"); empty for [General].
std::vector<Name> sectionPath(std::string_view headerLine)
{
    std::size_t close = headerLine.find(']');
    if (close == std::string_view::npos)
        close = headerLine.size();
    const std::string_view header = trimmed(headerLine.substr(1, close - 1));
    std::vector<Name> section;
    if (equalNoCaseAscii(header, "%general"))
        section.push_back(Name::fromFile(canonicalKey(header.substr(1))));
    else if (!equalNoCaseAscii(header, "general"))
        appendPath(canonicalKey(header), section);
    return section;
}

// The lines of a file read in large blocks, each with its offset. Lines are the file's
// own here (QSettings writes no line break inside a value); a line ending in a backslash
// goes on in the next, as in LineReader.
class LineScanner {
public:
    explicit LineScanner(int fd) : m_fd(fd), m_block(kBlock) {}

    // The next line without its line end; false at the end of the file or on a read
    // error (failed() tells which).
    bool next(std::string_view& line, std::uint64_t& offset)
    {
        m_carry.clear();
        offset = m_offset + m_at;
        bool carrying = false;
        for (;;) {
            if (m_at == m_have && !fill()) {
                if (carrying && !m_carry.empty()) {
                    line = m_carry;
                    return true;
                }
                return false;
            }
            const char* start = m_block.data() + m_at;
            const void* found = std::memchr(start, '\n', m_have - m_at);
            const std::size_t length = found ? static_cast<std::size_t>(static_cast<const char*>(found) - start)
                                             : m_have - m_at;
            std::string_view piece(start, length);
            m_at += length + (found ? 1 : 0);
            if (!found) { // the line goes on in the next block
                m_carry.append(piece);
                carrying = true;
                continue;
            }
            std::string_view trimmed = piece;
            if (!trimmed.empty() && trimmed.back() == '\r')
                trimmed.remove_suffix(1);
            const bool goesOn = !trimmed.empty() && trimmed.back() == '\\';
            if (!carrying && !goesOn) {
                line = piece;
                return true;
            }
            m_carry.append(piece);
            m_carry.push_back('\n');
            carrying = true;
            if (!goesOn) {
                m_carry.pop_back();
                line = m_carry;
                return true;
            }
        }
    }
    std::uint64_t position() const { return m_offset + m_at; }
    bool failed() const { return m_failed; }

private:
    static constexpr std::size_t kBlock = 1 << 20;

    bool fill()
    {
        m_offset += m_have;
        m_at = m_have = 0;
        for (;;) {
            const ssize_t got = ::read(m_fd, m_block.data(), m_block.size());
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                m_failed = true;
            if (got <= 0)
                return false;
            m_have = static_cast<std::size_t>(got);
            return true;
        }
    }

    int m_fd;
    std::vector<char> m_block;
    std::size_t m_have = 0;
    std::size_t m_at = 0;
    std::uint64_t m_offset = 0; // of the block
    std::string m_carry;
    bool m_failed = false;
};

bool isHeaderLine(std::string_view line)
{
    std::size_t at = 0;
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t' || line[at] == '\r'))
        ++at;
    return at < line.size() && line[at] == '[';
}

// Reads the file: the keys of [General] at once, those of every other section when
// the section is first wanted (ensureRead), from the file kept open. Until then a
// large section costs one pass over its bytes to find where it ends.
NodePtr parseFile(std::shared_ptr<const OpenFile> file, bool& failed)
{
    auto root = std::make_shared<Node>();
    LineScanner scanner(file->fd);
    std::string general; // the lines of [General], read at the end
    Node* pendingNode = nullptr;
    std::vector<Name> pendingBelow;
    std::uint64_t pendingBegin = 0;
    const auto closeSpan = [&](std::uint64_t end) {
        if (pendingNode)
            pendingNode->pending->spans.push_back({pendingBegin, end, std::move(pendingBelow)});
        pendingNode = nullptr;
    };
    std::string_view line;
    std::uint64_t offset = 0;
    bool inGeneral = true;
    while (scanner.next(line, offset)) {
        if (!isHeaderLine(line)) {
            if (inGeneral) {
                general.append(line);
                general.push_back('\n');
            }
            continue;
        }
        closeSpan(offset);
        std::vector<Name> section = sectionPath(line.substr(line.find('[')));
        inGeneral = section.empty();
        if (inGeneral)
            continue;
        std::uint32_t i = findChildSpelled(*root, section.front());
        if (i == kNone)
            i = addChild(*root, section.front());
        pendingNode = root->children[i].get();
        if (!pendingNode->pending) {
            pendingNode->pending = std::make_shared<PendingLines>();
            pendingNode->pending->file = file;
        }
        section.erase(section.begin());
        pendingBelow = std::move(section);
        pendingBegin = scanner.position();
    }
    closeSpan(scanner.position());
    failed = scanner.failed();
    ini::LineReader reader(general);
    std::string_view header;
    readKeys(*root, reader, {}, header);
    return root;
}

std::recursive_mutex g_readMutex; // reading a section reads no other one, but takes the lock again on the way

void ensureRead(const Node& constNode)
{
    // Read once, under a lock: the node may be shared by the objects of several threads.
    // Reading it changes what the node shows, not what it stands for.
    const std::lock_guard lock(g_readMutex);
    if (!constNode.pending)
        return;
    Node& node = const_cast<Node&>(constNode);
    const std::shared_ptr<PendingLines> pending = std::move(node.pending);
    node.pending.reset();
    for (const PendingLines::Span& span : pending->spans) {
        std::string text(static_cast<std::size_t>(span.end - span.begin), '\0');
        std::size_t have = 0;
        while (have < text.size()) {
            const ssize_t got = ::pread(pending->file->fd, text.data() + have, text.size() - have,
                                        static_cast<off_t>(span.begin + have));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            have += static_cast<std::size_t>(got);
        }
        text.resize(have);
        ini::LineReader reader(text);
        std::string_view header;
        readKeys(node, reader, span.below, header);
    }
}

Snapshot readFile(const std::string& path)
{
    Snapshot snapshot;
    auto file = std::make_shared<OpenFile>();
    file->fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file->fd < 0) {
        snapshot.readable = errno == ENOENT || errno == ENOTDIR;
        return snapshot;
    }
    struct stat info {};
    if (::fstat(file->fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        snapshot.readable = false;
        return snapshot;
    }
    bool failed = false;
    NodePtr root = parseFile(file, failed);
    if (failed) {
        snapshot.readable = false;
        return snapshot;
    }
    snapshot.stamp = stampOf(info);
    snapshot.root = std::move(root);
    return snapshot;
}

// The file as the process read or wrote it last, shared by the objects that find it
// unchanged.
std::mutex g_cacheMutex;
std::string g_cachePath;
Snapshot g_cache;

Snapshot currentSnapshot(const std::string& path)
{
    const std::lock_guard lock(g_cacheMutex);
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
        g_cachePath.clear();
        g_cache = Snapshot();
        return Snapshot();
    }
    if (g_cachePath == path && g_cache.stamp && g_cache.stamp->sameEntry(stampOf(info)))
        return g_cache;
    Snapshot snapshot = readFile(path);
    if (snapshot.readable && snapshot.stamp) {
        g_cachePath = path;
        g_cache = snapshot;
    }
    return snapshot;
}

void remember(const std::string& path, const Snapshot& snapshot)
{
    const std::lock_guard lock(g_cacheMutex);
    g_cachePath = path;
    g_cache = snapshot;
}

// Writes the tree as QSettings writes it: the values of the root under [General], each
// node of the root as a section, and within it the keys in the order of their texts.
class FileWriter {
public:
    explicit FileWriter(AtomicFileWriter& file) : m_file(file) { m_buffer.reserve(kChunk + 4096); }

    bool write(const Node& root)
    {
        std::vector<std::pair<std::u16string, const Node*>> sections;
        if (!root.values.empty())
            sections.emplace_back(std::u16string(), nullptr);
        for (const NodePtr& child : root.children) {
            ensureRead(*child);
            sections.emplace_back(child->name.settingsText(), child.get());
        }
        std::sort(sections.begin(), sections.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        bool first = true;
        for (const auto& [settingsName, node] : sections) {
            if (!first)
                m_buffer += '\n';
            first = false;
            if (!node) {
                m_buffer += "[General]\n";
                writeValues(root);
                continue;
            }
            std::string header;
            node->name.appendFileName(header);
            m_buffer += equalNoCaseAscii(header, "general") ? "[%General]" : "[" + header + "]";
            m_buffer += '\n';
            m_prefix.clear();
            writeNode(*node);
            if (!flush(false))
                return false;
        }
        return flush(true);
    }

private:
    static constexpr std::size_t kChunk = 1 << 20;

    void writeLine(const Value& value)
    {
        m_buffer += m_prefix;
        value.name.appendFileName(m_buffer);
        m_buffer += '=';
        m_buffer += value.data;
        m_buffer += '\n';
    }

    void writeValues(const Node& node)
    {
        std::vector<std::pair<std::u16string, const Value*>> order;
        order.reserve(node.values.size());
        for (const Value& value : node.values)
            order.emplace_back(value.name.settingsText(), &value);
        std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& entry : order)
            writeLine(*entry.second);
    }

    // A value "v" and a node "c" of the same node compare as "v" and "c/".
    void writeNode(const Node& node)
    {
        if (m_failed)
            return;
        struct Item {
            std::u16string key;
            const Value* value;
            const Node* child;
        };
        std::vector<Item> items;
        items.reserve(node.values.size() + node.children.size());
        for (const Value& value : node.values)
            items.push_back({value.name.settingsText(), &value, nullptr});
        for (const NodePtr& child : node.children)
            items.push_back({child->name.settingsText() + u'/', nullptr, child.get()});
        std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.key < b.key; });
        for (const Item& item : items) {
            if (item.value) {
                writeLine(*item.value);
                continue;
            }
            const std::size_t length = m_prefix.size();
            item.child->name.appendFileName(m_prefix);
            m_prefix += '\\';
            writeNode(*item.child);
            m_prefix.resize(length);
            if (m_buffer.size() >= kChunk && !flush(false))
                return;
        }
    }

    bool flush(bool last)
    {
        if (m_failed)
            return false;
        if ((last || m_buffer.size() >= kChunk) && !m_buffer.empty()) {
            m_failed = m_file.write(m_buffer.data(), m_buffer.size()) != FileError::None;
            m_buffer.clear();
        }
        return !m_failed;
    }

    AtomicFileWriter& m_file;
    std::string m_buffer;
    std::string m_prefix;
    bool m_failed = false;
};

void clearDirty(Node& node)
{
    node.dirty = false;
    for (Value& value : node.values)
        value.dirty = false;
    for (NodePtr& child : node.children) {
        if (child->dirty)
            clearDirty(*child);
    }
}

std::atomic<bool> g_writeFailed{false};

} // namespace

// ---------------------------------------------------------------------------------

struct Profile::Impl {
    std::string path = filePath();
    Snapshot base = currentSnapshot(path);
    NodePtr view = base.root;

    // What the changes since the last sync removed, by spelled path (with a value name
    // for a single value): merged into a file that another process has changed
    // meanwhile, they remove what this object saw there.
    struct Removal {
        std::vector<Name> path;
        std::optional<Name> value;
    };
    std::vector<Removal> removals;
    bool changed = false;

    // The node of the key used last: a record's values are read and written one after
    // the other under the same key. Writable when the path to it is this object's own.
    std::string lastKey;
    Node* lastNode = nullptr;
    bool lastWritable = false;

    void forgetLast()
    {
        lastNode = nullptr;
        lastWritable = false;
    }

    const Node* find(std::string_view key)
    {
        if (lastNode && key == lastKey)
            return lastNode;
        const Node* node = view.get();
        for (std::string_view part : splitKey(key)) {
            const std::uint32_t i = findChild(*node, part);
            if (i == kNone)
                return nullptr;
            node = node->children[i].get();
            ensureRead(*node);
            if (node->empty()) // a section of the file without a key
                return nullptr;
        }
        lastKey.assign(key);
        lastNode = const_cast<Node*>(node);
        lastWritable = false;
        return node;
    }

    const std::string* read(std::string_view key, std::string_view name)
    {
        const Node* node = find(key);
        if (!node)
            return nullptr;
        const std::uint32_t i = findValue(*node, name);
        return i == kNone ? nullptr : &node->values[i].data;
    }

    Node& enter(std::string_view key)
    {
        if (lastWritable && key == lastKey)
            return *lastNode;
        Node* node = &own(view);
        node->dirty = true;
        for (std::string_view part : splitKey(key)) {
            std::uint32_t i = findChild(*node, part);
            if (i == kNone)
                i = addChild(*node, Name::fromProfile(part));
            node = &own(node->children[i]);
            node->dirty = true;
        }
        lastKey.assign(key);
        lastNode = node;
        lastWritable = true;
        return *node;
    }

    void write(std::string_view key, std::string_view name, std::string data)
    {
        Node& node = enter(key);
        const std::uint32_t i = findValue(node, name);
        if (i == kNone) {
            node.values.push_back({Name::fromProfile(name), std::move(data), true});
        } else {
            node.values[i].data = std::move(data);
            node.values[i].dirty = true;
        }
        changed = true;
    }

    // The nodes down to a key (the root first) with the index of each in its parent;
    // empty when the key does not exist.
    bool chain(std::string_view key, std::vector<std::uint32_t>& indices)
    {
        const Node* node = view.get();
        for (std::string_view part : splitKey(key)) {
            const std::uint32_t i = findChild(*node, part);
            if (i == kNone)
                return false;
            indices.push_back(i);
            node = node->children[i].get();
            ensureRead(*node);
        }
        return true;
    }

    // Removes the child at the end of the chain, or a value of the last node, and the
    // nodes that this leaves empty.
    void remove(const std::vector<std::uint32_t>& indices, std::uint32_t valueIndex)
    {
        Removal removal;
        std::vector<Node*> nodes{&own(view)};
        const std::size_t walk = valueIndex == kNone ? indices.size() - 1 : indices.size();
        for (std::size_t k = 0; k < walk; ++k) {
            Node& child = own(nodes.back()->children[indices[k]]);
            removal.path.push_back(child.name);
            nodes.push_back(&child);
        }
        if (valueIndex == kNone) {
            removal.path.push_back(nodes.back()->children[indices.back()]->name);
            removeChild(*nodes.back(), indices.back());
        } else {
            Node& node = *nodes.back();
            removal.value = node.values[valueIndex].name;
            node.values.erase(node.values.begin() + valueIndex);
        }
        for (std::size_t k = nodes.size() - 1; k > 0 && nodes[k]->empty(); --k)
            removeChild(*nodes[k - 1], indices[k - 1]);
        removals.push_back(std::move(removal));
        changed = true;
        forgetLast();
    }

    bool isSetHere(const std::vector<Name>& path, const Name& value) const
    {
        const Node* node = findSpelled(*view, path);
        const std::uint32_t i = node ? findValueSpelled(*node, value) : kNone;
        return i != kNone && node->values[i].dirty;
    }

    // This object's changes applied to the file as another process left it: what it
    // removed of what it saw, then what it set, key by key.
    NodePtr merge(NodePtr file) const
    {
        for (const Removal& removal : removals) {
            const Node* seen = findSpelled(*base.root, removal.path);
            if (!seen)
                continue;
            if (removal.value) {
                if (findValueSpelled(*seen, *removal.value) != kNone && !isSetHere(removal.path, *removal.value))
                    removeSpelled(file, removal.path, *removal.value);
                continue;
            }
            std::vector<Name> path = removal.path;
            const auto removeBelow = [&](const auto& self, const Node& node) -> void {
                for (const Value& value : node.values) {
                    if (!isSetHere(path, value.name))
                        removeSpelled(file, path, value.name);
                }
                for (const NodePtr& child : node.children) {
                    path.push_back(child->name);
                    self(self, *child);
                    path.pop_back();
                }
            };
            removeBelow(removeBelow, *seen);
        }
        std::vector<Name> path;
        const auto addBelow = [&](const auto& self, const Node& node) -> void {
            bool any = false;
            for (const Value& value : node.values)
                any = any || value.dirty;
            if (any) {
                Node* target = &own(file);
                for (const Name& part : path) {
                    std::uint32_t i = findChildSpelled(*target, part);
                    if (i == kNone)
                        i = addChild(*target, part);
                    target = &own(target->children[i]);
                }
                for (const Value& value : node.values) {
                    if (!value.dirty)
                        continue;
                    const std::uint32_t i = findValueSpelled(*target, value.name);
                    if (i == kNone)
                        target->values.push_back({value.name, value.data, false});
                    else
                        target->values[i].data = value.data;
                }
            }
            for (const NodePtr& child : node.children) {
                if (!child->dirty)
                    continue;
                path.push_back(child->name);
                self(self, *child);
                path.pop_back();
            }
        };
        if (view->dirty)
            addBelow(addBelow, *view);
        return file;
    }

    // Merges the changes into the file under its lock and writes it anew.
    bool store()
    {
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
        QLockFile lock(QString::fromStdString(path + ".lock"));
        if (!lock.tryLock(static_cast<int>(lockWait().count())))
            return false;
        struct stat info {};
        std::optional<FileStamp> now;
        if (::stat(path.c_str(), &info) == 0)
            now = stampOf(info);
        else if (errno != ENOENT)
            return false;
        NodePtr merged;
        if (base.readable && sameFile(base.stamp, now)) {
            merged = view;
        } else {
            Snapshot current = currentSnapshot(path);
            if (!current.readable)
                return false;
            merged = merge(current.root);
        }
        if (merged == view)
            clearDirty(*view); // the dirty nodes are this object's own
        AtomicFileWriter file;
        if (file.open(path) != FileError::None)
            return false;
        FileWriter writer(file);
        if (!writer.write(*merged) || file.commit() != FileError::None)
            return false;
        Snapshot written;
        written.root = merged;
        if (::stat(path.c_str(), &info) == 0)
            written.stamp = stampOf(info);
        base = written;
        view = merged;
        if (written.stamp)
            remember(path, written);
        return true;
    }

    bool sync()
    {
        if (!changed)
            return true;
        const bool ok = store();
        if (!ok) {
            view = base.root;
            g_writeFailed = true;
        }
        removals.clear();
        changed = false;
        forgetLast();
        return ok;
    }
};

Profile::Profile() : m_impl(std::make_unique<Impl>()) {}

Profile::~Profile()
{
    m_impl->sync();
}

namespace {

bool isSpace(char16_t c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680
           || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

// A number as QString::toLongLong reads it after trimming, as a 32-bit value (what
// does not fit in 32 bits unsigned is no number).
std::optional<std::int32_t> parseInt(std::u16string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::int64_t number = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        number = number * 10 + (c - u'0');
        if (number > std::int64_t{UINT32_MAX} + 1)
            return std::nullopt;
    }
    if (negative)
        number = -number;
    if (number < INT32_MIN || number > UINT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
}

std::optional<std::u16string> textOf(const std::string* stored)
{
    if (!stored)
        return std::nullopt;
    if (ini::isPlainValue(*stored) && (stored->empty() || stored->front() != '@'))
        return std::u16string(stored->begin(), stored->end());
    return ini::decodeText(*stored);
}

} // namespace

std::optional<std::int32_t> Profile::readInt(std::string_view key, std::string_view name) const
{
    const auto text = textOf(m_impl->read(key, name));
    return text ? parseInt(*text) : std::nullopt;
}

std::optional<std::string> Profile::readText(std::string_view key, std::string_view name) const
{
    const std::string* stored = m_impl->read(key, name);
    if (stored && ini::isPlainValue(*stored) && (stored->empty() || stored->front() != '@'))
        return *stored; // ASCII: the same in the code page
    const auto text = textOf(stored);
    return text ? std::optional<std::string>(utf16ToUtf8(*text)) : std::nullopt;
}

std::int32_t Profile::getInt(std::string_view key, std::string_view name, std::int32_t fallback) const
{
    return readInt(key, name).value_or(fallback);
}

std::string Profile::getText(std::string_view key, std::string_view name, std::string_view fallback) const
{
    auto value = readText(key, name);
    return value ? *value : std::string(fallback);
}

void Profile::writeInt(std::string_view key, std::string_view name, std::int32_t value)
{
    m_impl->write(key, name, std::to_string(value));
}

void Profile::writeText(std::string_view key, std::string_view name, std::string_view value)
{
    if (ini::isPlainValue(value) && (value.empty() || value.front() != '@'))
        m_impl->write(key, name, std::string(value));
    else
        m_impl->write(key, name, ini::encodeText(utf8ToUtf16(value)));
}

bool Profile::keyExists(std::string_view key) const
{
    const Node* node = m_impl->find(key);
    return node && !node->empty();
}

std::vector<std::string> Profile::subKeys(std::string_view key) const
{
    std::vector<std::string> result;
    if (const Node* node = m_impl->find(key)) {
        result.reserve(node->children.size());
        for (const NodePtr& child : node->children)
            result.push_back(child->name.profileText());
        std::sort(result.begin(), result.end(), lessNoCase);
    }
    return result;
}

std::vector<std::string> Profile::valueNames(std::string_view key) const
{
    std::vector<std::string> result;
    if (const Node* node = m_impl->find(key)) {
        result.reserve(node->values.size());
        for (const Value& value : node->values)
            result.push_back(value.name.profileText());
        std::sort(result.begin(), result.end(), lessNoCase);
    }
    return result;
}

void Profile::deleteKey(std::string_view key)
{
    std::vector<std::uint32_t> indices;
    if (splitKey(key).empty() || !m_impl->chain(key, indices))
        return;
    m_impl->remove(indices, kNone);
}

void Profile::deleteValue(std::string_view key, std::string_view name)
{
    std::vector<std::uint32_t> indices;
    if (!m_impl->chain(key, indices))
        return;
    const Node* node = m_impl->view.get();
    for (std::uint32_t i : indices)
        node = node->children[i].get();
    const std::uint32_t value = findValue(*node, name);
    if (value != kNone)
        m_impl->remove(indices, value);
}

bool Profile::sync()
{
    return m_impl->sync();
}

std::string Profile::filePath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return (folder + QStringLiteral("/Ombrix/Tarvelo.conf")).toStdString();
}

std::string Profile::writeFailureMessage()
{
    return fill(translate("File", "The settings could not be saved to %1."), {filePath()});
}

bool Profile::takeWriteFailure()
{
    return g_writeFailed.exchange(false);
}

} // namespace tarvelo
