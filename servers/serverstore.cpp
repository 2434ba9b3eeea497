#include "platform/translation.h"
#include "servers/serverstore.h"

#include "platform/profile.h"
#include "platform/utf8.h"

#include <algorithm>

namespace tarvelo {

namespace {

// Text values are read into a 260-byte buffer: a value that does not fit with its
// terminator is not read, and a value ends at its first NUL.
constexpr std::size_t kTextBuffer = 260;

std::string keyOf(std::string_view name)
{
    std::string key(kServerKey);
    key += '\\';
    key += name;
    return key;
}

void readText(const Profile& profile, const std::string& key, std::string_view value, std::string& field,
              std::string_view fallback, std::size_t longest)
{
    auto text = profile.readText(key, value);
    // A field allowed more than the buffer (the request headers) is read up to its length.
    if (!text || text->size() >= std::max(kTextBuffer, longest + 1)) {
        field = fallback;
        return;
    }
    const auto nul = text->find('\0');
    if (nul != std::string::npos)
        text->resize(nul);
    field = *text;
}

void readNumber(const Profile& profile, const std::string& key, const ServerConfigField& field, ServerConfig& config)
{
    if (const auto number = profile.readInt(key, field.storedName))
        field.setStoredNumber(config, *number);
}

} // namespace

std::string serverNameProblem(std::string_view name)
{
    if (name.empty())
        return translate("Servers", "Please enter a name for the configuration.");
    if (name.front() == ' ' || name.back() == ' ')
        return translate("Servers", "The name of a configuration may not begin or end with a blank.");
    std::size_t characters = 0;
    for (std::size_t pos = 0; pos < name.size(); ++characters) {
        const char32_t c = nextCodePoint(name, pos);
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
            return translate("Servers", "The name of a configuration may not hold control characters.");
        if (c == '\\' || c == '/')
            return translate("Servers", "The name of a configuration may not hold \"\\\" or \"/\".");
    }
    if (characters > kMaxServerName)
        return fill(translate("Servers", "The name of a configuration may be at most %1 characters long."),
                    {std::to_string(kMaxServerName)});
    return {};
}

std::string serverTextProblem(std::string_view text)
{
    if (text.find('\0') != std::string_view::npos)
        return translate("Servers", "holds a NUL character");
    if (text.find_first_of("\r\n") != std::string_view::npos)
        return translate("Servers", "holds a line break");
    return {};
}

bool serverConfigExists(std::string_view name)
{
    return Profile().keyExists(keyOf(name));
}

void enumerateServerConfigs(std::vector<std::string>& names)
{
    const Profile profile;
    for (std::string& name : profile.subKeys(kServerKey))
        names.push_back(std::move(name));
}

void readServerConfig(std::string_view name, ServerConfig& config)
{
    const Profile profile;
    readServerConfig(profile, name, config);
}

void readServerConfig(const Profile& profile, std::string_view name, ServerConfig& config)
{
    for (const ServerConfigField& field : serverConfigFields()) {
        if (!field.keptWhenNotStored)
            setServerConfigDefault(field, config);
    }
    const std::string key = keyOf(name);
    if (!profile.keyExists(key))
        return; // the separators keep what the record held
    for (const ServerConfigField& field : serverConfigFields()) {
        if (field.text)
            readText(profile, key, field.storedName, config.*field.text, field.textDefault,
                     static_cast<std::size_t>(field.high));
        else
            readNumber(profile, key, field, config);
    }
}

bool writeServerConfig(std::string_view name, const ServerConfig& config)
{
    Profile profile;
    writeServerConfig(profile, name, config);
    return profile.sync();
}

void writeServerConfig(Profile& profile, std::string_view name, const ServerConfig& config)
{
    if (name.empty())
        return; // a configuration is always a key of its own
    const std::string key = keyOf(name);
    for (const ServerConfigField& field : serverConfigFields()) {
        if (omittedFor(field, config))
            profile.deleteValue(key, field.storedName);
        else if (field.text)
            profile.writeText(key, field.storedName, config.*field.text);
        else
            profile.writeInt(key, field.storedName, field.storedNumber(config));
    }
}

bool deleteServerConfig(std::string_view name)
{
    if (name.empty())
        return true; // never the whole set
    Profile profile;
    profile.deleteKey(keyOf(name));
    return profile.sync();
}

int storedServerSetVersion()
{
    const Profile profile;
    return storedServerSetVersion(profile);
}

int storedServerSetVersion(const Profile& profile)
{
    return profile.getInt(kServerVersionKey, kServerVersionValue, 0);
}

bool isServerSetCurrent()
{
    return storedServerSetVersion() >= kServerSetVersion;
}

bool storeServerSetVersion()
{
    Profile profile;
    raiseServerSetVersion(profile, kServerSetVersion);
    return profile.sync();
}

void raiseServerSetVersion(Profile& profile, std::int32_t version)
{
    if (storedServerSetVersion(profile) < version)
        profile.writeInt(kServerVersionKey, kServerVersionValue, version);
}

ServerConfig resolveServerConfig(const ServerConfig& own)
{
    if (own.name.empty())
        return own;
    ServerConfig named;
    readServerConfig(own.name, named);
    return named;
}

std::string installedServerSetVersionText()
{
    return std::to_string(storedServerSetVersion());
}

} // namespace tarvelo
