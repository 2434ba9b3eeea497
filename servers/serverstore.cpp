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
    const ServerConfig defaults;
    config.url.clear();
    config.timeout = defaults.timeout;
    config.conversion = defaults.conversion;
    config.textBeforeValue.clear();
    config.tagsToSkip = defaults.tagsToSkip;
    config.numbersToSkip = defaults.numbersToSkip;
    config.caseInsensitive = defaults.caseInsensitive;
    config.searchKind = defaults.searchKind;
    config.regExp.clear();
    config.quotationIndex = defaults.quotationIndex;
    config.extractDate = defaults.extractDate;
    config.dayIndex = defaults.dayIndex;
    config.monthIndex = defaults.monthIndex;
    config.yearIndex = defaults.yearIndex;
    config.extractTime = defaults.extractTime;
    config.hourIndex = defaults.hourIndex;
    config.minuteIndex = defaults.minuteIndex;

    const std::string key = KeyOf(name);
    if (!profile.keyExists(key))
        return; // the separators keep what the record held
    ReadText(profile, key, "URL", config.url, "");
    ReadText(profile, key, "TAUSEND", config.thousandsSeparator, "");
    ReadText(profile, key, "DECIMAL", config.decimalSeparator, ",");
    ReadText(profile, key, "Text_before_Value", config.textBeforeValue, "");
    ReadInt(profile, key, "Timeout", config.timeout);
    ReadInt(profile, key, "Format", config.conversion);
    ReadInt(profile, key, "Nr_HTML_before_Value", config.tagsToSkip);
    ReadInt(profile, key, "Numbers_before_Value", config.numbersToSkip);
    ReadInt(profile, key, "NoCaseSensitiv", config.caseInsensitive);
    ReadInt(profile, key, "Filtering", config.searchKind);
    ReadText(profile, key, "RegExp", config.regExp, "");
    ReadInt(profile, key, "RegExpQuotationIndex", config.quotationIndex);
    ReadInt(profile, key, "bRegExpExtractDate", config.extractDate);
    ReadInt(profile, key, "RegExpDayIndex", config.dayIndex);
    ReadInt(profile, key, "RegExpMonthIndex", config.monthIndex);
    ReadInt(profile, key, "RegExpYearIndex", config.yearIndex);
    ReadInt(profile, key, "bRegExpExtractTime", config.extractTime);
    ReadInt(profile, key, "RegExpHourIndex", config.hourIndex);
    ReadInt(profile, key, "RegExpMinuteIndex", config.minuteIndex);
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
    profile.writeText(key, "URL", config.url);
    profile.writeText(key, "TAUSEND", config.thousandsSeparator);
    profile.writeText(key, "DECIMAL", config.decimalSeparator);
    profile.writeText(key, "Text_before_Value", config.textBeforeValue);
    profile.writeInt(key, "Timeout", config.timeout);
    profile.writeInt(key, "Format", config.conversion);
    profile.writeInt(key, "Nr_HTML_before_Value", config.tagsToSkip);
    profile.writeInt(key, "Numbers_before_Value", config.numbersToSkip);
    profile.writeInt(key, "NoCaseSensitiv", config.caseInsensitive);
    profile.writeInt(key, "Filtering", config.searchKind);
    profile.writeText(key, "RegExp", config.regExp);
    profile.writeInt(key, "RegExpQuotationIndex", config.quotationIndex);
    profile.writeInt(key, "bRegExpExtractDate", config.extractDate);
    profile.writeInt(key, "RegExpDayIndex", config.dayIndex);
    profile.writeInt(key, "RegExpMonthIndex", config.monthIndex);
    profile.writeInt(key, "RegExpYearIndex", config.yearIndex);
    profile.writeInt(key, "bRegExpExtractTime", config.extractTime);
    profile.writeInt(key, "RegExpHourIndex", config.hourIndex);
    profile.writeInt(key, "RegExpMinuteIndex", config.minuteIndex);
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
