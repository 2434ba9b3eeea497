// The server configuration import on arbitrary bytes. A refused file must leave the
// store as it was; an accepted one must survive an export and a second import so that
// the second export repeats the first byte for byte.

#include "platform/profile.h"
#include "servers/regfile.h"
#include "servers/serverstore.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace tarvelo {
namespace {

std::string g_settingsFolder;

void removeSettingsFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(g_settingsFolder, ignored);
}

// Before the first input: a private settings folder, so the fuzzer never touches the
// user's server configurations.
const bool kPrivateSettings = [] {
    std::string folder = (std::filesystem::temp_directory_path() / "tarvelo-regfile-fuzz-XXXXXX").string();
    if (!::mkdtemp(folder.data())) {
        std::perror("regfile_fuzzer: mkdtemp");
        std::abort();
    }
    g_settingsFolder = folder;
    ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    std::atexit(removeSettingsFolder);
    return true;
}();

void clearStore()
{
    Profile profile;
    profile.deleteKey(kServerKey);
    profile.deleteKey(kServerVersionKey);
}

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "regfile_fuzzer: %s\n", what);
    __builtin_trap();
}

} // namespace
} // namespace tarvelo

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarvelo;
    if (!kPrivateSettings)
        return 0;
    clearStore();
    static const std::string emptyStore = serverConfigsRegFileText();

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Result<void> imported = importServerConfigsText(text);
    if (!imported.ok()) {
        if (imported.message().empty())
            fail("a refused file gave no message");
        if (serverConfigsRegFileText() != emptyStore)
            fail("a refused file changed the store");
        return 0;
    }

    const std::string first = serverConfigsRegFileText();
    clearStore();
    const Result<void> again = importServerConfigsText(first);
    if (!again.ok()) {
        std::fprintf(stderr, "regfile_fuzzer: %s\n", again.message().c_str());
        fail("the export of an accepted file is refused");
    }
    if (serverConfigsRegFileText() != first)
        fail("the second export differs from the first");
    return 0;
}
