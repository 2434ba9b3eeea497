#include "platform/translation.h"
#include "servers/catalog.h"

#include "model/profilesettings.h"
#include "platform/filepath.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "servers/regfile.h"
#include "servers/serverstore.h"

#include <algorithm>
#include <filesystem>

namespace tarvelo {

namespace {

constexpr std::string_view kDescriptionMarker = ";;";
constexpr std::string_view kImportAddress = "Import address:";
constexpr std::string_view kImportFormat = "Import format:";
constexpr std::string_view kImportNumberFormat = "Import number format:";
constexpr std::string_view kKeyPrefix = "[HKEY_CURRENT_USER\\Software\\Ombrix\\Tarvelo\\Server\\";

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool sameName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        return lower(x) == lower(y);
    });
}

bool isFile(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

// The description lines gathered above a key; they belong to the key that follows.
struct Description {
    std::string text;
    std::string importAddress;
    std::string importFormat;
    int importNumberFormat = 3;
};

} // namespace

std::string catalogFilePath()
{
    const std::string folder = programFolder();
    if (!folder.empty()) {
        const std::filesystem::path program(folder);
        for (const std::filesystem::path& candidate :
             {program / "catalog.reg", program / ".." / "share" / "tarvelo" / "catalog.reg"}) {
            if (isFile(candidate))
                return candidate.lexically_normal().string();
        }
    }
#ifdef TARVELO_BUILD_CATALOG
    if (isFile(TARVELO_BUILD_CATALOG))
        return TARVELO_BUILD_CATALOG;
#endif
    return {};
}

Result<std::vector<CatalogEntry>> readCatalogText(std::string_view text)
{
    Result<ServerConfigFile> configs = readServerConfigsText(text);
    if (!configs)
        return configs.failure();

    // The descriptions, by the name of the key each stands above.
    std::vector<std::pair<std::string, Description>> descriptions;
    Description pending;
    std::size_t lineNumber = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = trimmed(text.substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        if (line.substr(0, kDescriptionMarker.size()) == kDescriptionMarker) {
            std::string_view content = trimmed(line.substr(kDescriptionMarker.size()));
            if (content.substr(0, kImportAddress.size()) == kImportAddress) {
                pending.importAddress = trimmed(content.substr(kImportAddress.size()));
            } else if (content.substr(0, kImportFormat.size()) == kImportFormat) {
                pending.importFormat = trimmed(content.substr(kImportFormat.size()));
            } else if (content.substr(0, kImportNumberFormat.size()) == kImportNumberFormat) {
                const std::string_view digit = trimmed(content.substr(kImportNumberFormat.size()));
                if (digit.size() != 1 || digit[0] < '0' || digit[0] > '3')
                    return Failure{fill(translate("Servers", "Line %1: %2"),
                                        {std::to_string(lineNumber),
                                         translate("Servers", "the import number format is 0, 1, 2 or 3")})};
                pending.importNumberFormat = digit[0] - '0';
            } else {
                pending.text += std::string(content) + '\n';
            }
            continue;
        }
        if (line.substr(0, kKeyPrefix.size()) == kKeyPrefix && line.size() > kKeyPrefix.size() + 1
            && line.back() == ']') {
            descriptions.emplace_back(std::string(line.substr(kKeyPrefix.size(), line.size() - kKeyPrefix.size() - 1)),
                                      std::move(pending));
        }
        pending = {};
    }

    std::vector<CatalogEntry> entries;
    for (ServerConfigEntry& c : configs->configs) {
        const auto found = std::find_if(descriptions.begin(), descriptions.end(), [&](const auto& d) {
            return sameName(d.first, c.name) && !d.second.text.empty();
        });
        if (found == descriptions.end())
            return Failure{fill(translate("Servers", "The ready-made configuration '%1' has no description."), {c.name})};
        CatalogEntry entry;
        entry.name = std::move(c.name);
        entry.config = std::move(c.config);
        entry.description = found->second.text;
        entry.importAddress = found->second.importAddress;
        entry.importFormat = found->second.importFormat;
        entry.importNumberFormat = found->second.importNumberFormat;
        entries.push_back(std::move(entry));
    }
    return entries;
}

Result<std::vector<CatalogEntry>> readCatalog(const std::string& path)
{
    const std::string file = path.empty() ? catalogFilePath() : path;
    if (file.empty())
        return Failure{translate("Servers", "The ready-made configurations (share/tarvelo/catalog.reg) are not installed.")};
    std::string text;
    if (readWholeFile(file, text) != FileError::None)
        return Failure{fill(translate("Servers", "%1: the file cannot be read."), {file})};
    Result<std::vector<CatalogEntry>> entries = readCatalogText(text);
    if (!entries)
        return Failure{file + ": " + entries.message()};
    return entries;
}

const CatalogEntry* findCatalogEntry(const std::vector<CatalogEntry>& entries, std::string_view name)
{
    for (const CatalogEntry& entry : entries) {
        if (sameName(entry.name, name))
            return &entry;
    }
    return nullptr;
}

Result<void> addCatalogEntries(const std::vector<const CatalogEntry*>& entries, bool replace)
{
    if (!replace) {
        std::string stored;
        for (const CatalogEntry* entry : entries) {
            if (serverConfigExists(entry->name))
                stored += (stored.empty() ? "'" : ", '") + entry->name + "'";
        }
        if (!stored.empty())
            return Failure{fill(translate("Servers", "A server configuration of that name is stored already: %1."), {stored})};
    }
    Profile profile;
    for (const CatalogEntry* entry : entries) {
        profile.deleteKey(std::string(kServerKey) + '\\' + entry->name);
        writeServerConfig(profile, entry->name, entry->config);
        if (entry->importAddress.empty())
            continue;
        const NumberedSetting& list = settings::kImportTemplates;
        int freeSlot = 0;
        bool listed = false;
        for (int n = 1; n <= list.count && !listed; ++n) {
            const std::optional<std::string> stored = profile.readText(list.key, list.name(n));
            listed = stored && *stored == entry->importAddress;
            // The first value has a default of its own, so it is never free.
            if (n > 1 && freeSlot == 0 && (!stored || stored->empty()))
                freeSlot = n;
        }
        if (!listed && freeSlot != 0)
            profile.writeText(list.key, list.name(freeSlot), entry->importAddress);
    }
    if (!profile.sync())
        return Failure{Profile::writeFailureMessage()};
    return Success{};
}

} // namespace tarvelo
