#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// JSON data read with Qt's parser, bounded in size and nesting, and looked up by path.
namespace tarvelo {

inline constexpr std::size_t kMaxJsonBytes = std::size_t{64} << 20; // 64 MiB
inline constexpr int kMaxJsonDepth = 256;

// One step of a path: an object's member by key, or an array's element by index
// (negative counts from the end: -1 is the last).
struct JsonStep {
    bool isIndex = false;
    std::string key; // UTF-8
    long long index = 0;
};

// What a path leads to.
struct JsonValue {
    enum class Kind { Missing, Null, Boolean, Number, Text, Array, Object };
    Kind kind = Kind::Missing;
    double number = 0.0;
    bool boolean = false;
    std::string text; // UTF-8
};

// How far the JSON object or array that begins at text[0] ('{' or '[') reaches: the
// length through its matching bracket (brackets inside strings do not count), 0 when
// its brackets do not close; and its deepest nesting (1 for "[]"). The walk stops when
// the nesting passes depthLimit: length is then 0 and depth depthLimit + 1. It only
// finds the end of a value; whether the value is valid JSON is the parser's business.
struct JsonExtent {
    std::size_t length = 0;
    int depth = 0;
};
JsonExtent jsonValueExtent(std::string_view text, int depthLimit = kMaxJsonDepth);

// One parsed JSON object or array.
class JsonReader {
public:
    enum class Status { Ok, TooLarge, TooDeep, Invalid };

    JsonReader();
    ~JsonReader();
    JsonReader(const JsonReader&) = delete;
    JsonReader& operator=(const JsonReader&) = delete;

    // Parses text (UTF-8): one object or array, blanks around it allowed. Text over
    // kMaxJsonBytes, or nesting deeper than kMaxJsonDepth, is refused before the parser
    // sees it. On Invalid, error() holds the parser's reason and offset().
    Status parse(std::string_view text);
    const std::string& error() const { return m_error; }
    std::size_t offset() const { return m_offset; }

    // The value the path leads to from the root; Missing when a step finds nothing (an
    // absent key, an index out of range, a key into an array or an index into an object).
    JsonValue find(const std::vector<JsonStep>& path) const;

    // Every number and string in the data, in document order: the path that leads to it
    // (indices counted from 0), for each step the size of the array it indexes (0 for a
    // key), and the value.
    using LeafVisitor = std::function<void(const std::vector<JsonStep>& path, const std::vector<long long>& arraySizes,
                                           const JsonValue& value)>;
    void forEachLeaf(const LeafVisitor& visit) const;

private:
    struct Data;
    std::unique_ptr<Data> m_data;
    std::string m_error;
    std::size_t m_offset = 0;
};

} // namespace tarvelo
