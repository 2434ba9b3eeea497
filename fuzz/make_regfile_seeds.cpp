// Writes the seed corpus of the server configuration import into the folder named on
// the command line: the export of the built-in set, an empty store, hostile names and
// a file in the registry editor's own manner. Every seed must import.

#include "platform/profile.h"
#include "servers/builtinservers.h"
#include "servers/regfile.h"
#include "servers/serverstore.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace tarvelo {
namespace {

void clearStore()
{
    Profile profile;
    profile.deleteKey(kServerKey);
    profile.deleteKey(kServerVersionKey);
}

class SeedWriter {
public:
    explicit SeedWriter(std::filesystem::path folder) : m_folder(std::move(folder)) {}

    void seed(const std::string& name, const std::string& text)
    {
        std::ofstream(m_folder / (name + ".reg"), std::ios::binary)
            .write(text.data(), static_cast<std::streamsize>(text.size()));
        ++m_written;
        clearStore();
        const Result<void> result = importServerConfigsText(text);
        if (!result.ok()) {
            std::fprintf(stderr, "seed %s does not import: %s\n", name.c_str(), result.message().c_str());
            m_failed = true;
        }
    }

    int written() const { return m_written; }
    bool failed() const { return m_failed; }

private:
    std::filesystem::path m_folder;
    int m_written = 0;
    bool m_failed = false;
};

void writeSeeds(SeedWriter& seeds)
{
    clearStore();
    seeds.seed("empty-store", serverConfigsRegFileText());

    clearStore();
    installBuiltInServers();
    seeds.seed("builtin-set", serverConfigsRegFileText());

    clearStore();
    ServerConfig hostile;
    hostile.url = "file:///tmp/quotes \"today\".html";
    hostile.textBeforeValue = "C:\\Kurse\\";
    hostile.regExp = "([0-9]+)\\t\"([0-9.,]+)\"";
    hostile.tagsToSkip = 10000;
    hostile.quotationIndex = 0x7fffffff;
    // A name beyond Windows-1252 makes the file the UTF-16 form.
    for (const char* name : {"Paren (EUR)", "Quote \"q\"", "B\xC3\xB6rse M\xC3\xBCnchen \xE2\x82\xBF", "blanks  inside", "[x]"})
        writeServerConfig(name, hostile);
    seeds.seed("hostile-names", serverConfigsRegFileText());

    seeds.seed("regedit-manner",
               "REGEDIT4\n"
               "\n"
               "; written by hand, line feeds only\n"
               "[hkey_current_user\\software\\ombrix\\tarvelo\\server version]\n"
               "\"version number\"=hex(4):13,00,00,00\n"
               "\n"
               "[HKEY_CURRENT_USER\\Software\\Ombrix\\Tarvelo\\Server\\Hand Made]\n"
               "; a comment between values\n"
               "\"url\"=\"http://x.example/q?s=[&symbol]\"\n"
               "\"Timeout\"=dword:3C\n"
               "\"Format\"=hex(4):01,00,00,\\\n"
               "  00\n"
               "\"Text_before_Value\"=hex(1):4b,75,72,73,\\\n"
               "  20,f6,00\n"
               "\"RegExp\"=\"\\\\d+\\\"\"\n"
               "\n"
               "[HKEY_CURRENT_USER\\Software\\Ombrix\\Tarvelo\\Server\\]\n");
}

} // namespace
} // namespace tarvelo

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    std::error_code error;
    std::filesystem::create_directories(argv[1], error);
    if (error) {
        std::fprintf(stderr, "cannot create %s: %s\n", argv[1], error.message().c_str());
        return 1;
    }
    // A private settings folder, so the seeds never touch the user's configurations.
    std::string settings = (std::filesystem::temp_directory_path() / "tarvelo-regfile-seeds-XXXXXX").string();
    if (!::mkdtemp(settings.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    ::setenv("XDG_CONFIG_HOME", settings.c_str(), 1);

    tarvelo::SeedWriter seeds(argv[1]);
    tarvelo::writeSeeds(seeds);
    std::filesystem::remove_all(settings, error);
    std::printf("%d server configuration seeds in %s\n", seeds.written(), argv[1]);
    return seeds.failed() ? 1 : 0;
}
