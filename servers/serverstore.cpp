#include "servers/serverstore.h"

#include "platform/profile.h"

namespace tarvelo {

namespace {

// Text values are read into a 260-byte buffer: a value that does not fit with its
// terminator is not read, and a value ends at its first NUL.
constexpr std::size_t kTextBuffer = 260;

std::string KeyOf(std::string_view name)
{
    std::string key(kServerKey);
    key += '\\';
    key += name;
    return key;
}

void ReadText(const Profile& profile, const std::string& key, std::string_view value, std::string& field,
              std::string_view fallback)
{
    auto text = profile.readText(key, value);
    if (!text || text->size() >= kTextBuffer) {
        field = fallback;
        return;
    }
    const auto nul = text->find('\0');
    if (nul != std::string::npos)
        text->resize(nul);
    field = *text;
}

void ReadInt(const Profile& profile, const std::string& key, std::string_view value, std::int32_t& field)
{
    if (const auto number = profile.readInt(key, value))
        field = *number;
}

} // namespace

void EnumerateServerConfigs(std::vector<std::string>& names)
{
    const Profile profile;
    for (std::string& name : profile.subKeys(kServerKey))
        names.push_back(std::move(name));
}

void ReadServerConfig(std::string_view name, ServerConfig& config)
{
    const Profile profile;
    ReadServerConfig(profile, name, config);
}

void ReadServerConfig(const Profile& profile, std::string_view name, ServerConfig& config)
{
    for (const ServerConfigField& field : ServerConfigFields()) {
        if (!field.keptWhenNotStored)
            SetServerConfigDefault(field, config);
    }
    const std::string key = KeyOf(name);
    if (!profile.keyExists(key))
        return; // the separators keep what the record held
    for (const ServerConfigField& field : ServerConfigFields()) {
        if (field.text)
            ReadText(profile, key, field.storedName, config.*field.text, field.textDefault);
        else
            ReadInt(profile, key, field.storedName, config.*field.number);
    }
}

bool WriteServerConfig(std::string_view name, const ServerConfig& config)
{
    Profile profile;
    WriteServerConfig(profile, name, config);
    return profile.sync();
}

void WriteServerConfig(Profile& profile, std::string_view name, const ServerConfig& config)
{
    if (name.empty())
        return; // a configuration is always a key of its own
    const std::string key = KeyOf(name);
    for (const ServerConfigField& field : ServerConfigFields()) {
        if (field.text)
            profile.writeText(key, field.storedName, config.*field.text);
        else
            profile.writeInt(key, field.storedName, config.*field.number);
    }
}

bool DeleteServerConfig(std::string_view name)
{
    if (name.empty())
        return true; // never the whole set
    Profile profile;
    profile.deleteKey(KeyOf(name));
    return profile.sync();
}

int StoredServerSetVersion()
{
    const Profile profile;
    return StoredServerSetVersion(profile);
}

int StoredServerSetVersion(const Profile& profile)
{
    return profile.getInt(kServerVersionKey, kServerVersionValue, 0);
}

bool IsServerSetCurrent()
{
    return StoredServerSetVersion() >= kServerSetVersion;
}

bool StoreServerSetVersion()
{
    Profile profile;
    RaiseServerSetVersion(profile, kServerSetVersion);
    return profile.sync();
}

void RaiseServerSetVersion(Profile& profile, std::int32_t version)
{
    if (StoredServerSetVersion(profile) < version)
        profile.writeInt(kServerVersionKey, kServerVersionValue, version);
}

ServerConfig ResolveServerConfig(const ServerConfig& own)
{
    if (own.name.empty())
        return own;
    ServerConfig named;
    ReadServerConfig(own.name, named);
    return named;
}

std::string InstalledServerSetVersionText()
{
    return std::to_string(StoredServerSetVersion());
}

} // namespace tarvelo
