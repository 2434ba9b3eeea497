#include "platform/inifile.h"

#include "platform/utf8.h"

#include <array>
#include <cstdint>

namespace tarvelo::ini {

namespace {

constexpr char kHexUpper[] = "0123456789ABCDEF";
constexpr char kHexLower[] = "0123456789abcdef";

bool isAsciiAlnum(char32_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool keptInKey(char32_t c)
{
    return isAsciiAlnum(c) || c == '_' || c == '-' || c == '.';
}

int hexValue(char32_t c)
{
    if (c >= '0' && c <= '9')
        return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<int>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return static_cast<int>(c - 'A' + 10);
    return -1;
}

int upperHexValue(char c)
{
    return (c >= 'a' && c <= 'f') ? -1 : hexValue(static_cast<unsigned char>(c));
}

int octValue(char c)
{
    return c >= '0' && c <= '7' ? c - '0' : -1;
}

void appendLowerHex(std::uint32_t value, std::string& out)
{
    char digits[8];
    int n = 0;
    do {
        digits[n++] = kHexLower[value % 16];
        value /= 16;
    } while (value != 0);
    while (n > 0)
        out += digits[--n];
}

bool isHighSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLowSurrogate(char32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Whether a value's character goes into the file as its UTF-8 form, with no escape.
bool isPlainCharacter(char16_t c)
{
    return c > 0x1F && c != u'"' && c != u'\\';
}

void chopTrailingSpaces(std::u16string& text, std::size_t limit)
{
    while (text.size() > limit && (text.back() == u' ' || text.back() == u'\t'))
        text.pop_back();
}

bool startsWith(std::u16string_view text, std::u16string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// Big-endian fields of a serialized value.
class StreamReader {
public:
    explicit StreamReader(std::u16string_view bytes) : m_bytes(bytes) {}
    bool has(std::size_t n) const { return m_bytes.size() - m_pos >= n; }
    std::uint64_t read(int n)
    {
        std::uint64_t v = 0;
        for (int i = 0; i < n; ++i)
            v = (v << 8) | (m_bytes[m_pos++] & 0xFF);
        return v;
    }
    std::u16string_view rest() const { return m_bytes.substr(m_pos); }
    void skip(std::size_t n) { m_pos += n; }

private:
    std::u16string_view m_bytes;
    std::size_t m_pos = 0;
};

std::u16string ascii(std::string_view text)
{
    return std::u16string(text.begin(), text.end());
}

// What QVariant::toString() gives for a value serialized by QDataStream (version 4.0,
// as QSettings writes it), for the kinds that have a text.
std::optional<std::u16string> serializedValueText(std::u16string_view bytes)
{
    StreamReader in(bytes);
    if (!in.has(4))
        return std::nullopt;
    const auto type = static_cast<std::uint32_t>(in.read(4));
    const auto number = [&](int size, bool isSigned) -> std::optional<std::u16string> {
        if (!in.has(static_cast<std::size_t>(size)))
            return std::nullopt;
        std::uint64_t v = in.read(size);
        if (isSigned && size < 8 && (v >> (size * 8 - 1)) != 0)
            v |= ~std::uint64_t{0} << (size * 8);
        return ascii(isSigned ? std::to_string(static_cast<std::int64_t>(v)) : std::to_string(v));
    };
    switch (type) {
    case 1: // bool
        if (!in.has(1))
            return std::nullopt;
        return in.read(1) != 0 ? u"true" : u"false";
    case 2: return number(4, true);
    case 3: return number(4, false);
    case 4: return number(8, true);
    case 5: return number(8, false);
    case 10: // text: a byte count, then UTF-16BE
    case 12: // bytes: a count, then the bytes (UTF-8 as a text)
        {
            if (!in.has(4))
                return std::nullopt;
            const auto size = static_cast<std::uint32_t>(in.read(4));
            if (size == 0xFFFFFFFF)
                return std::u16string();
            if (!in.has(size) || (type == 10 && size % 2 != 0))
                return std::nullopt;
            const std::u16string_view body = in.rest().substr(0, size);
            if (type == 12) {
                std::string raw;
                for (char16_t c : body)
                    raw += static_cast<char>(c & 0xFF);
                return utf8ToUtf16(raw);
            }
            std::u16string text;
            for (std::size_t i = 0; i + 1 < body.size(); i += 2)
                text += static_cast<char16_t>(((body[i] & 0xFF) << 8) | (body[i + 1] & 0xFF));
            return text;
        }
    default:
        return std::nullopt;
    }
}

} // namespace

void appendEscapedKey(std::u16string_view key, std::string& out)
{
    for (char16_t c : key) {
        if (c == u'/') {
            out += '\\';
        } else if (keptInKey(c)) {
            out += static_cast<char>(c);
        } else if (c <= 0xFF) {
            out += '%';
            out += kHexUpper[c / 16];
            out += kHexUpper[c % 16];
        } else {
            out += "%U";
            out += kHexUpper[(c >> 12) & 0xF];
            out += kHexUpper[(c >> 8) & 0xF];
            out += kHexUpper[(c >> 4) & 0xF];
            out += kHexUpper[c & 0xF];
        }
    }
}

std::u16string unescapedKey(std::string_view text)
{
    const std::u16string decoded = utf8ToUtf16(text);
    std::u16string out;
    out.reserve(decoded.size());
    const std::size_t size = decoded.size();
    std::size_t i = 0;
    while (i < size) {
        const char16_t c = decoded[i];
        if (c == u'\\') {
            out += u'/';
            ++i;
            continue;
        }
        if (c != u'%' || i == size - 1) {
            out += c;
            ++i;
            continue;
        }
        std::size_t first = i + 1;
        std::size_t digits = 2;
        if (decoded[i + 1] == u'U') {
            ++first;
            digits = 4;
        }
        std::uint32_t value = 0;
        bool ok = first + digits <= size;
        for (std::size_t d = 0; ok && d < digits; ++d) {
            const int h = hexValue(decoded[first + d]);
            ok = h >= 0;
            value = value * 16 + static_cast<std::uint32_t>(h);
        }
        if (!ok) {
            out += u'%';
            ++i;
            continue;
        }
        out += static_cast<char16_t>(value);
        i = first + digits;
    }
    return out;
}

bool isCanonicalKey(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (keptInKey(static_cast<unsigned char>(c)) || c == '\\')
            continue;
        if (c != '%')
            return false;
        if (i + 1 < text.size() && text[i + 1] == 'U') {
            if (i + 5 >= text.size())
                return false;
            std::uint32_t value = 0;
            for (std::size_t d = 2; d < 6; ++d) {
                const int h = upperHexValue(text[i + d]);
                if (h < 0)
                    return false;
                value = value * 16 + static_cast<std::uint32_t>(h);
            }
            if (value <= 0xFF || isHighSurrogate(value) || isLowSurrogate(value))
                return false;
            i += 5;
            continue;
        }
        if (i + 2 >= text.size())
            return false;
        const int high = upperHexValue(text[i + 1]);
        const int low = upperHexValue(text[i + 2]);
        if (high < 0 || low < 0)
            return false;
        const auto value = static_cast<char32_t>(high * 16 + low);
        if (keptInKey(value) || value == '/')
            return false;
        i += 2;
    }
    return true;
}

void appendEscapedString(std::u16string_view text, std::string& out)
{
    bool needsQuotes = false;
    bool escapeNextIfDigit = false;
    const bool useCodec = !(startsWith(text, u"@ByteArray(") || startsWith(text, u"@Variant(")
                            || startsWith(text, u"@DateTime("));
    const std::size_t start = out.size();
    for (std::size_t i = 0; i < text.size();) {
        const char16_t c = text[i];
        if (c == u';' || c == u',' || c == u'=')
            needsQuotes = true;
        if (escapeNextIfDigit && hexValue(c) >= 0) {
            out += "\\x";
            appendLowerHex(c, out);
            ++i;
            continue;
        }
        escapeNextIfDigit = false;
        switch (c) {
        case u'\0': out += "\\0"; escapeNextIfDigit = true; break;
        case u'\a': out += "\\a"; break;
        case u'\b': out += "\\b"; break;
        case u'\f': out += "\\f"; break;
        case u'\n': out += "\\n"; break;
        case u'\r': out += "\\r"; break;
        case u'\t': out += "\\t"; break;
        case u'\v': out += "\\v"; break;
        case u'"':
        case u'\\':
            out += '\\';
            out += static_cast<char>(c);
            break;
        default:
            if (c <= 0x1F || (c >= 0x7F && !useCodec)) {
                out += "\\x";
                appendLowerHex(c, out);
                escapeNextIfDigit = true;
            } else if (useCodec) {
                // The run of plain characters from here, surrogate pairs whole.
                std::size_t end = i + 1;
                while (end < text.size() && isPlainCharacter(text[end]))
                    ++end;
                const std::u16string_view run = text.substr(i, end - i);
                needsQuotes = needsQuotes || run.find_first_of(u";,=") != std::u16string_view::npos;
                out += utf16ToUtf8(run);
                i = end;
                continue;
            } else {
                out += static_cast<char>(c);
            }
        }
        ++i;
    }
    if (needsQuotes || (start < out.size() && (out[start] == ' ' || out.back() == ' '))) {
        out.insert(out.begin() + static_cast<std::ptrdiff_t>(start), '"');
        out += '"';
    }
}

bool unescapedStringList(std::string_view str, std::u16string& single, std::vector<std::u16string>& list)
{
    static constexpr std::array<std::array<char, 2>, 11> kEscapes = {{
        {'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'}, {'r', '\r'}, {'t', '\t'},
        {'v', '\v'}, {'"', '"'}, {'?', '?'}, {'\'', '\''}, {'\\', '\\'},
    }};
    bool isList = false;
    bool inQuotes = false;
    bool quoted = false;
    // A text that ends inside an escape keeps its trailing blanks.
    bool chopAtEnd = true;
    std::size_t i = 0;
    const std::size_t n = str.size();
    const auto skipSpaces = [&] {
        while (i < n && (str[i] == ' ' || str[i] == '\t'))
            ++i;
    };
    skipSpaces();
    std::size_t chopLimit = single.size();
    while (i < n) {
        const char c = str[i];
        if (c == '\\') {
            if (++i >= n) {
                chopAtEnd = false;
                break;
            }
            const char e = str[i++];
            bool named = false;
            for (const auto& [letter, meaning] : kEscapes) {
                if (e == letter) {
                    single += static_cast<char16_t>(meaning);
                    named = true;
                    break;
                }
            }
            if (!named && (e == 'x' || octValue(e) >= 0)) {
                const bool hex = e == 'x';
                if (hex && i >= n) {
                    chopAtEnd = false;
                    break;
                }
                if (!hex || hexValue(static_cast<unsigned char>(str[i])) >= 0) {
                    char16_t value = hex ? 0 : static_cast<char16_t>(octValue(e));
                    while (i < n) {
                        const int d = hex ? hexValue(static_cast<unsigned char>(str[i])) : octValue(str[i]);
                        if (d < 0)
                            break;
                        value = static_cast<char16_t>((value << (hex ? 4 : 3)) + d);
                        ++i;
                    }
                    single += value;
                    if (i >= n) {
                        chopAtEnd = false;
                        break;
                    }
                }
            } else if (!named && (e == '\n' || e == '\r') && i < n && (str[i] == '\n' || str[i] == '\r')
                       && str[i] != e) {
                ++i;
            }
            chopLimit = single.size();
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipSpaces();
                chopLimit = single.size();
            }
        } else if (c == ',' && !inQuotes) {
            if (!quoted)
                chopTrailingSpaces(single, chopLimit);
            isList = true;
            list.push_back(std::move(single));
            single.clear();
            quoted = false;
            ++i;
            skipSpaces();
            chopLimit = 0;
        } else {
            std::size_t j = i + 1;
            while (j < n && str[j] != '\\' && str[j] != '"' && str[j] != ',')
                ++j;
            single += utf8ToUtf16(str.substr(i, j - i));
            i = j;
        }
    }
    if (chopAtEnd && !quoted)
        chopTrailingSpaces(single, chopLimit);
    if (isList)
        list.push_back(std::move(single));
    return isList;
}

bool isPlainValue(std::string_view text)
{
    if (text.empty())
        return true;
    if (text.front() == ' ' || text.back() == ' ')
        return false;
    for (char c : text) {
        if (c < 0x20 || c > 0x7E || c == '"' || c == '\\' || c == ',' || c == ';' || c == '=')
            return false;
    }
    return true;
}

std::string canonicalValue(std::string_view text)
{
    if (isPlainValue(text))
        return std::string(text);
    std::u16string single;
    std::vector<std::u16string> list;
    std::string out;
    if (!unescapedStringList(text, single, list)) {
        appendEscapedString(single, out);
        return out;
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i != 0)
            out += ", ";
        appendEscapedString(list[i], out);
    }
    return out;
}

std::string encodeText(std::u16string_view text)
{
    std::string out;
    if (text.find(u'\0') != std::u16string_view::npos) {
        std::u16string wrapped = u"@String(";
        wrapped += text;
        wrapped += u')';
        appendEscapedString(wrapped, out);
    } else if (!text.empty() && text.front() == u'@') {
        std::u16string doubled = u"@";
        doubled += text;
        appendEscapedString(doubled, out);
    } else {
        appendEscapedString(text, out);
    }
    return out;
}

std::optional<std::u16string> decodeText(std::string_view stored)
{
    std::u16string s;
    std::vector<std::u16string> list;
    if (unescapedStringList(stored, s, list))
        return std::nullopt; // a list is no text
    if (s.empty() || s.front() != u'@')
        return s;
    if (s.back() == u')') {
        if (startsWith(s, u"@ByteArray(")) {
            std::string bytes;
            for (std::size_t i = 11; i + 1 < s.size(); ++i)
                bytes += s[i] <= 0xFF ? static_cast<char>(s[i]) : '?';
            return utf8ToUtf16(bytes);
        }
        if (startsWith(s, u"@String("))
            return s.substr(8, s.size() - 9);
        if (startsWith(s, u"@Variant("))
            return serializedValueText(std::u16string_view(s).substr(9, s.size() - 10));
        if (startsWith(s, u"@DateTime("))
            return std::nullopt;
        const auto arguments = [&](std::size_t open) {
            std::size_t count = 1;
            for (std::size_t i = open + 1; i + 1 < s.size(); ++i)
                count += s[i] == u' ';
            return count;
        };
        if ((startsWith(s, u"@Rect(") && arguments(5) == 4) || (startsWith(s, u"@Size(") && arguments(5) == 2)
            || (startsWith(s, u"@Point(") && arguments(6) == 2))
            return std::nullopt;
        if (s == u"@Invalid()")
            return std::nullopt;
    }
    if (startsWith(s, u"@@"))
        return s.substr(1);
    return s;
}

LineReader::LineReader(std::string_view data) : m_data(data)
{
    if (m_data.substr(0, 3) == "\xEF\xBB\xBF")
        m_data.remove_prefix(3);
}

bool LineReader::next(std::string_view& line, std::size_t& equals)
{
    const std::string_view data = m_data;
    const std::size_t size = data.size();
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    bool inQuotes = false;
    std::size_t equalsPos = std::string_view::npos;
    std::size_t start = m_pos;
    while (start < size && isSpace(data[start]))
        ++start;
    std::size_t i = start;
    while (i < size) {
        const char c = data[i];
        if (c != '=' && c != '\n' && c != '\r' && c != '\\' && c != '"' && c != ';') {
            ++i;
            continue;
        }
        ++i;
        if (c == '=') {
            if (!inQuotes && equalsPos == std::string_view::npos)
                equalsPos = i - 1;
        } else if (c == '\n' || c == '\r') {
            if (i == start + 1) {
                ++start;
            } else if (!inQuotes) {
                --i;
                break;
            }
        } else if (c == '\\') {
            if (i < size) {
                const char next = data[i++];
                if (i < size) {
                    const char after = data[i];
                    if ((next == '\n' && after == '\r') || (next == '\r' && after == '\n'))
                        ++i;
                }
            }
        } else if (c == '"') {
            inQuotes = !inQuotes;
        } else { // ';'
            if (i == start + 1) {
                while (i < size && data[i] != '\n' && data[i] != '\r')
                    ++i;
                while (i < size && isSpace(data[i]))
                    ++i;
                start = i;
            } else if (!inQuotes) {
                --i;
                break;
            }
        }
    }
    m_pos = i;
    line = data.substr(start, i - start);
    equals = equalsPos == std::string_view::npos ? equalsPos : equalsPos - start;
    return !line.empty();
}

} // namespace tarvelo::ini
