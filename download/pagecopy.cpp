#include "download/pagecopy.h"

#include "extraction/pagecharset.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/inputfile.h"
#include "platform/tempfile.h"

#include <algorithm>
#include <cstddef>
#include <fcntl.h>
#include <functional>
#include <string_view>
#include <unistd.h>

namespace tarvelo {

namespace {

// A file converted a block at a time into a new temporary file: convert(block, out)
// appends a converted block to out, and is called once more with an empty block at the
// end. Empty when the copy could not be written.
std::string convertedCopy(const std::string& path, const std::function<void(std::string_view, std::string&)>& convert)
{
    InputFile input;
    if (input.open(path) != FileError::None)
        return {};
    std::string copy = createTempFile("QVX");
    if (copy.empty())
        return {};
    const int out = ::open(copy.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    bool ok = out >= 0;
    std::string text;
    char block[64 * 1024];
    while (ok) {
        const std::ptrdiff_t got = input.read(block, sizeof block);
        text.clear();
        convert(std::string_view(block, static_cast<std::size_t>(std::max<std::ptrdiff_t>(got, 0))), text);
        ok = got >= 0 && ::write(out, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        if (got <= 0)
            break;
    }
    if (out >= 0)
        ok = ::close(out) == 0 && ok;
    if (!ok) {
        ::unlink(copy.c_str());
        return {};
    }
    return copy;
}

} // namespace

std::string utf8Copy(const std::string& path)
{
    return convertedCopy(path, [](std::string_view block, std::string& out) { out += cp1252ToUtf8(block); });
}

std::string codePageCopy(const std::string& path)
{
    Utf8ToCp1252 converter;
    return convertedCopy(path, [&converter](std::string_view block, std::string& out) {
        if (block.empty())
            converter.finish(out);
        else
            converter.convert(block, out);
    });
}

} // namespace tarvelo
