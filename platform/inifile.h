#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The INI dialect of Qt's QSettings, in which the profile file has always been stored,
// read and written byte for byte as QSettings does it (UTF-8, "\n" line ends).
//
// A key is a path of names separated by '/', written with '\' in the file; letters,
// digits and "_-." stay as they are, other characters up to U+00FF become %XX and the
// rest %UXXXX. The first name of a path is the [section] it is written under; keys
// without one go under [General].
//
// A value is a text. The file holds it with C escapes (\n, \t, \", \\, \xHH, \0), in
// double quotes when it holds ';', ',' or '=' or starts or ends with a space; an
// unquoted ',' makes a list. Texts that start with '@' carry other kinds of values:
// @ByteArray(...), @String(...) (a text with a NUL), @Variant(...) (a serialized
// value), @Invalid() (none); a text of our own that starts with '@' is written "@@...".
namespace tarvelo::ini {

// Keys.
void appendEscapedKey(std::u16string_view key, std::string& out);
std::u16string unescapedKey(std::string_view text);
// Whether the text is already the way appendEscapedKey writes its key (so that it can
// be split at '\' and kept as it is).
bool isCanonicalKey(std::string_view text);

// Values, as they follow the '=' of a line.
void appendEscapedString(std::u16string_view text, std::string& out);
// Returns true for a list, whose items are then in `list`; otherwise the text is in
// `single`.
bool unescapedStringList(std::string_view text, std::u16string& single, std::vector<std::u16string>& list);
// The form in which QSettings would write back what a value of a file stands for.
std::string canonicalValue(std::string_view text);
// Whether a stored value is printable ASCII that stands for itself as a text.
bool isPlainValue(std::string_view text);

// The stored form of a text of our own (one that has no '@' meaning).
std::string encodeText(std::u16string_view text);
// The text that a stored value stands for. Nothing when it holds no text: @Invalid(),
// a list of several items, or a serialized value of a kind other than a number, a
// truth value, a text or bytes.
std::optional<std::u16string> decodeText(std::string_view stored);

// The logical lines of a file: a quoted text and a backslash carry a line on over a
// line end, and ';' starts a comment.
class LineReader {
public:
    explicit LineReader(std::string_view data);
    // The next line, without leading white space; equals is the offset of the first '='
    // outside quotes within the line, or npos.
    bool next(std::string_view& line, std::size_t& equals);

private:
    std::string_view m_data;
    std::size_t m_pos = 0;
};

} // namespace tarvelo::ini
