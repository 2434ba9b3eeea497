#include "platform/translation.h"
#include "servers/regfile.h"

#include "model/requestheaders.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/inputfile.h"
#include "platform/outputfile.h"
#include "platform/profile.h"
#include "platform/utf8.h"
#include "servers/serverstore.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <unordered_map>
#include <variant>

namespace tarvelo {

namespace {

constexpr std::string_view kRoot = "HKEY_CURRENT_USER\\Software\\Ombrix\\Tarvelo\\";
constexpr std::size_t kMaxFileBytes = 16 << 20;
constexpr std::size_t kMaxLineBytes = 64 << 10;
// A configuration name is read into a 260-character buffer.
constexpr std::size_t kMaxName = 259;

std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

std::string dword(std::int32_t value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "dword:%08x", static_cast<unsigned>(value));
    return buffer;
}

bool equalNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

// ---------------------------------------------------------------------------------
// Reading

struct ParseError {
    std::string message;
};

using Value = std::variant<std::string, std::int32_t>;

// A configuration as it will be stored: values the file does not give read as they
// would from an empty key.
using ConfigPlan = ServerConfigEntry;
using ImportPlan = ServerConfigFile;

[[noreturn]] void fail(std::size_t line, const std::string& what)
{
    throw ParseError{fill(translate("Servers", "Line %1: %2"), {std::to_string(line), what})};
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::string asciiLower(std::string_view s)
{
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    }
    return out;
}

// A name that commands can address: no control characters (the five bytes that
// Windows-1252 leaves undefined read as the C1 control characters U+0081 and so on),
// and short enough to be read back.
void checkName(std::string_view name, std::size_t lineNumber)
{
    std::size_t characters = 0;
    for (std::size_t pos = 0; pos < name.size(); ++characters) {
        const char32_t c = nextCodePoint(name, pos);
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
            char code[12];
            std::snprintf(code, sizeof code, c < 0x80 ? "0x%02X" : "U+%04X", static_cast<unsigned>(c));
            fail(lineNumber, fill(translate("Servers", "the configuration name holds the control character %1"), {code}));
        }
    }
    if (characters > kMaxName)
        fail(lineNumber, translate("Servers", "the configuration name is longer than 259 characters"));
    if (const std::string problem = serverNameProblem(name); !problem.empty())
        fail(lineNumber, problem);
}

// A quoted text with the escapes \\ and \"; at is moved past the closing quote.
std::string readQuoted(std::string_view line, std::size_t& at, std::size_t lineNumber)
{
    std::string out;
    ++at; // opening quote
    while (at < line.size()) {
        const char c = line[at++];
        if (c == '"')
            return out;
        if (c == '\\') {
            if (at >= line.size())
                break;
            out.push_back(line[at++]);
            continue;
        }
        out.push_back(c);
    }
    fail(lineNumber, translate("Servers", "a quoted text does not end"));
}

// hex bytes "ab,cd,..." after "hex(n):".
std::string readHexBytes(std::string_view text, std::size_t lineNumber)
{
    std::string bytes;
    std::size_t at = 0;
    text = trim(text);
    while (at < text.size()) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
            ++at;
        if (at + 2 > text.size() || hexDigit(text[at]) < 0 || hexDigit(text[at + 1]) < 0)
            fail(lineNumber, translate("Servers", "bad hexadecimal bytes"));
        bytes.push_back(static_cast<char>(hexDigit(text[at]) * 16 + hexDigit(text[at + 1])));
        at += 2;
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
            ++at;
        if (at < text.size()) {
            if (text[at] != ',')
                fail(lineNumber, translate("Servers", "bad hexadecimal bytes"));
            ++at;
        }
    }
    return bytes;
}

// The two forms of the file: REGEDIT4 in Windows-1252, and the form of "Windows
// Registry Editor Version 5.00" in UTF-16LE with a byte order mark.
constexpr std::string_view kNarrowHeader = "REGEDIT4";
constexpr std::string_view kWideHeader = "Windows Registry Editor Version 5.00";

// The UTF-16 units of little-endian bytes; an odd last byte is no unit.
std::u16string utf16leUnits(std::string_view bytes)
{
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i])
                                         | (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return units;
}

Value readValue(std::string_view text, std::size_t lineNumber, bool wide)
{
    text = trim(text);
    if (!text.empty() && text.front() == '"') {
        std::size_t at = 0;
        std::string value = readQuoted(text, at, lineNumber);
        if (!trim(text.substr(at)).empty())
            fail(lineNumber, translate("Servers", "text after the value"));
        return value;
    }
    if (text.size() > 6 && equalNoCase(text.substr(0, 6), "dword:")) {
        const std::string_view digits = text.substr(6);
        if (digits.empty() || digits.size() > 8)
            fail(lineNumber, translate("Servers", "a dword needs one to eight hexadecimal digits"));
        std::uint32_t value = 0;
        for (char c : digits) {
            const int d = hexDigit(c);
            if (d < 0)
                fail(lineNumber, translate("Servers", "a dword needs one to eight hexadecimal digits"));
            value = value * 16 + static_cast<std::uint32_t>(d);
        }
        return static_cast<std::int32_t>(value);
    }
    if (text.size() >= 7 && equalNoCase(text.substr(0, 7), "hex(1):")) {
        std::string bytes = readHexBytes(text.substr(7), lineNumber);
        if (!wide) {
            // The terminator ends the text; a NUL before it is the text's, and refused.
            while (!bytes.empty() && bytes.back() == '\0')
                bytes.pop_back();
            return cp1252ToUtf8(bytes);
        }
        std::u16string units = utf16leUnits(bytes);
        while (!units.empty() && units.back() == u'\0')
            units.pop_back();
        return utf16ToUtf8(units);
    }
    if (text.size() >= 7 && equalNoCase(text.substr(0, 7), "hex(4):")) {
        const std::string bytes = readHexBytes(text.substr(7), lineNumber);
        if (bytes.size() != 4)
            fail(lineNumber, translate("Servers", "a hex(4) value needs four bytes"));
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i)
            value = value * 256 + static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
        return static_cast<std::int32_t>(value);
    }
    if (text == "-")
        fail(lineNumber, translate("Servers", "deleting values is not supported"));
    fail(lineNumber, translate("Servers", "values must be texts or dwords"));
}

// Lines of the file with their numbers; a line ending in a backslash goes on in the next.
std::vector<std::pair<std::size_t, std::string>> splitLines(std::string_view text)
{
    std::vector<std::pair<std::size_t, std::string>> lines;
    std::size_t number = 0;
    std::size_t start = 0;
    std::string pending;
    std::size_t pendingNumber = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.size() > kMaxLineBytes || pending.size() + line.size() > kMaxLineBytes)
            fail(number, translate("Servers", "the line is too long"));
        if (pending.empty())
            pendingNumber = number;
        else
            line = trim(line);
        pending += line;
        // Only value lines of hexadecimal bytes go on in the next line.
        if (!pending.empty() && pending.back() == '\\' && pending.front() == '"'
            && pending.find("=hex") != std::string::npos) {
            pending.pop_back();
        } else {
            lines.emplace_back(pendingNumber, std::move(pending));
            pending.clear();
        }
        if (end == text.size())
            break;
        start = end + 1;
    }
    if (!pending.empty())
        lines.emplace_back(pendingNumber, std::move(pending));
    return lines;
}

ImportPlan parse(std::string_view bytes)
{
    if (bytes.size() > kMaxFileBytes)
        throw ParseError{translate("Servers", "The file is too large to be a server configuration file.")};
    // The whole file in UTF-8, whichever form it has.
    const bool wide = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    std::string text;
    if (wide) {
        text = utf16ToUtf8(utf16leUnits(bytes.substr(2)));
    } else {
        text = cp1252ToUtf8(bytes);
    }
    const auto lines = splitLines(text);
    if (lines.empty() || trim(lines.front().second) != (wide ? kWideHeader : kNarrowHeader))
        throw ParseError{wide ? translate("Servers", "Not a registry file of version 5.00.")
                              : translate("Servers", "Not a REGEDIT4 registry file.")};
    // Every line ends with a line break; a file cut off inside a line does not.
    if (text.back() != '\n')
        fail(lines.back().first, translate("Servers", "the file ends inside this line; it seems to be cut off"));

    enum class Key { None, Base, Version, Config };
    Key key = Key::None;
    ImportPlan plan;
    // Each configuration once, however often and in whatever case the file names it.
    std::unordered_map<std::string, std::size_t> configIndex;
    ConfigPlan* config = nullptr;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::size_t n = lines[i].first;
        const std::string_view line = trim(lines[i].second);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const auto close = line.rfind(']');
            if (close == std::string_view::npos || !trim(line.substr(close + 1)).empty())
                fail(n, translate("Servers", "a key line must end with \"]\""));
            const std::string_view path = line.substr(1, close - 1);
            if (!path.empty() && path.front() == '-')
                fail(n, translate("Servers", "deleting keys is not supported"));
            if (path.size() < kRoot.size() || !equalNoCase(path.substr(0, kRoot.size()), kRoot))
                fail(n, fill(translate("Servers", "the key is not one of Tarvelo's server configurations: [%1]"),
                             {std::string(path)}));
            const std::string_view rest = path.substr(kRoot.size());
            if (equalNoCase(rest, "Server") || equalNoCase(rest, "Server\\")) {
                key = Key::Base;
            } else if (equalNoCase(rest, "Server Version")) {
                key = Key::Version;
            } else if (rest.size() > 7 && equalNoCase(rest.substr(0, 7), "Server\\")
                       && rest.substr(7).find('\\') == std::string_view::npos) {
                key = Key::Config;
                const std::string_view name = rest.substr(7);
                checkName(name, n);
                const auto [found, added] = configIndex.try_emplace(asciiLower(name), plan.configs.size());
                if (added)
                    plan.configs.push_back({std::string(name), {}});
                config = &plan.configs[found->second];
            } else {
                fail(n, fill(translate("Servers", "the key is not one of Tarvelo's server configurations: [%1]"),
                             {std::string(path)}));
            }
            continue;
        }
        if (line.front() != '"' && line.front() != '@')
            fail(n, translate("Servers", "neither a key nor a value"));
        std::size_t at = 0;
        std::string name;
        if (line.front() == '@')
            at = 1;
        else
            name = readQuoted(line, at, n);
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
            ++at;
        if (at >= line.size() || line[at] != '=')
            fail(n, translate("Servers", "a value needs \"=\" after its name"));
        const Value value = readValue(line.substr(at + 1), n, wide);

        switch (key) {
        case Key::None:
            fail(n, translate("Servers", "a value before the first key"));
        case Key::Base:
            fail(n, translate("Servers", "the key of all configurations holds no values"));
        case Key::Version:
            if (!equalNoCase(name, kServerVersionValue) || !std::holds_alternative<std::int32_t>(value))
                fail(n, translate("Servers", "the version key holds only the dword \"Version number\""));
            plan.version = std::get<std::int32_t>(value);
            break;
        case Key::Config: {
            const ServerConfigField* field = findServerConfigField(name);
            if (!field)
                fail(n, fill(translate("Servers", "\"%1\" is not a value of a server configuration"), {name}));
            if (field->text && !std::holds_alternative<std::string>(value))
                fail(n, fill(translate("Servers", "\"%1\" must be a text"), {name}));
            if (field->isNumber() && !std::holds_alternative<std::int32_t>(value))
                fail(n, fill(translate("Servers", "\"%1\" must be a dword"), {name}));
            if (field->text) {
                const std::string& text = std::get<std::string>(value);
                if (text.size() > static_cast<std::size_t>(field->high))
                    fail(n, fill(translate("Servers", "\"%1\" is longer than %2 characters"),
                                 {name, std::to_string(field->high)}));
                // The export writes texts as they are, so a line break would end its line.
                if (const std::string problem = serverTextProblem(text); !problem.empty())
                    fail(n, fill(translate("Servers", "\"%1\" %2"), {name, problem}));
                // A fallback names another configuration, which the store must be able to hold.
                if (field->text == &ServerConfig::fallback && !text.empty()) {
                    if (const std::string problem = serverNameProblem(text); !problem.empty())
                        fail(n, fill(translate("Servers", "\"%1\": %2"), {name, problem}));
                }
                // Request headers are sent as they are: the same check as every editor's.
                if (field->text == &ServerConfig::headers) {
                    if (const std::string problem = requestHeadersProblem(text); !problem.empty())
                        fail(n, problem);
                }
                config->config.*(field->text) = text;
            } else {
                const std::int32_t number = std::get<std::int32_t>(value);
                if (number < field->low || number > field->high) {
                    fail(n, fill(translate("Servers", "\"%1\" is %2. Please enter an integer between %3 and %4."),
                                 {name, std::to_string(number), std::to_string(field->low), std::to_string(field->high)}));
                }
                field->setStoredNumber(config->config, number);
            }
            break;
        }
        }
    }
    return plan;
}

} // namespace

// ---------------------------------------------------------------------------------

std::vector<std::string> serverConfigValueLines(const ServerConfig& config)
{
    std::vector<std::string> lines;
    for (const ServerConfigField& field : serverConfigFields()) {
        if (omittedFor(field, config))
            continue;
        std::string line = quoted(field.storedName) + "=";
        line += field.text ? quoted(config.*field.text) : dword(field.storedNumber(config));
        lines.push_back(std::move(line));
    }
    return lines;
}

namespace {

// The file of the given stored configurations (names as the store spells them), with the
// version key when asked for.
std::string regFileText(const Profile& profile, const std::vector<std::string>& names, bool withVersion)
{
    const std::string base = "Software\\Ombrix\\Tarvelo\\Server\\";
    std::string text = std::string(kNarrowHeader) + "\r\n\r\n";
    text += "[HKEY_CURRENT_USER\\" + base + "]\r\n\r\n";
    if (withVersion) {
        text += "[HKEY_CURRENT_USER\\Software\\Ombrix\\Tarvelo\\Server Version]\r\n";
        text += "\"Version number\"=" + dword(storedServerSetVersion(profile)) + "\r\n\r\n";
    }
    for (const std::string& name : names) {
        ServerConfig config;
        readServerConfig(profile, name, config);
        text += "[HKEY_CURRENT_USER\\" + base + name + "]\r\n";
        for (const std::string& line : serverConfigValueLines(config))
            text += line + "\r\n";
        text += "\r\n";
    }
    // Files of Windows-1252 texts stay REGEDIT4 byte for byte; a text beyond it makes
    // the whole file the UTF-16 form, which holds every text.
    if (fitsCp1252(text))
        return utf8ToCp1252(text);
    const std::u16string units = utf8ToUtf16(std::string(kWideHeader) + text.substr(kNarrowHeader.size()));
    std::string wide = "\xFF\xFE";
    wide.reserve(2 + units.size() * 2);
    for (const char16_t unit : units) {
        wide.push_back(static_cast<char>(unit & 0xFF));
        wide.push_back(static_cast<char>(unit >> 8));
    }
    return wide;
}

Result<void> writeFile(const std::string& path, const std::string& text)
{
    OutputFile file;
    FileError error = file.open(path);
    if (error == FileError::None) {
        file.write(text.data(), text.size());
        error = file.close();
    }
    if (error != FileError::None)
        return Failure{fill(translate("File", "File could not be saved (%1)"), {std::to_string(fileErrorCause(error))})};
    return Success{};
}

} // namespace

std::string serverConfigsRegFileText()
{
    const Profile profile;
    return regFileText(profile, profile.subKeys(kServerKey), true);
}

Result<std::string> serverConfigsRegFileText(const std::vector<std::string>& names)
{
    const Profile profile;
    const std::vector<std::string> stored = profile.subKeys(kServerKey);
    std::vector<bool> chosen(stored.size(), false);
    std::vector<std::string> others; // stored under a spelling that differs beyond ASCII case
    for (const std::string& name : names) {
        if (!serverNameProblem(name).empty() || !profile.keyExists(std::string(kServerKey) + '\\' + name))
            return Failure{fill(translate("Servers", "There is no server configuration named \"%1\"."), {name})};
        auto at = std::find(stored.begin(), stored.end(), name);
        if (at == stored.end())
            at = std::find_if(stored.begin(), stored.end(), [&](const std::string& s) { return equalNoCase(s, name); });
        if (at != stored.end())
            chosen[static_cast<std::size_t>(at - stored.begin())] = true;
        else if (std::find(others.begin(), others.end(), name) == others.end())
            others.push_back(name);
    }
    std::vector<std::string> keys;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (chosen[i])
            keys.push_back(stored[i]);
    }
    keys.insert(keys.end(), others.begin(), others.end());
    return regFileText(profile, keys, false);
}

Result<void> exportServerConfigs(const std::string& path)
{
    return writeFile(path, serverConfigsRegFileText());
}

Result<void> exportServerConfigs(const std::string& path, const std::vector<std::string>& names)
{
    const Result<std::string> text = serverConfigsRegFileText(names);
    if (!text.ok())
        return text.failure();
    return writeFile(path, *text);
}

Result<ServerConfigFile> readServerConfigsText(std::string_view text)
{
    try {
        return parse(text);
    } catch (const ParseError& error) {
        return Failure{error.message};
    }
}

Result<ServerConfigFile> readServerConfigsFile(const std::string& path)
{
    InputFile file;
    if (file.open(path) != FileError::None)
        return Failure{translate("Servers", "The file cannot be read.")};
    if (file.size() > kMaxFileBytes)
        return Failure{translate("Servers", "The file is too large to be a server configuration file.")};
    file.close();
    std::string text;
    if (readWholeFile(path, text) != FileError::None)
        return Failure{translate("Servers", "The file cannot be read.")};
    return readServerConfigsText(text);
}

std::vector<ServerConfigChangeEntry> serverConfigChanges(const std::vector<ServerConfigEntry>& configs)
{
    const Profile profile;
    std::vector<ServerConfigChangeEntry> changes;
    for (const ServerConfigEntry& entry : configs) {
        ServerConfigChange change = ServerConfigChange::Add;
        if (profile.keyExists(std::string(kServerKey) + '\\' + entry.name)) {
            ServerConfig stored;
            readServerConfig(profile, entry.name, stored);
            // Compared as the export writes them: every stored value, the name aside.
            change = serverConfigValueLines(stored) == serverConfigValueLines(entry.config)
                         ? ServerConfigChange::Unchanged
                         : ServerConfigChange::Replace;
        }
        changes.push_back({entry.name, change});
    }
    return changes;
}

std::vector<std::string> serverConfigNames(const std::vector<ServerConfigChangeEntry>& changes,
                                           ServerConfigChange change)
{
    std::vector<std::string> names;
    for (const ServerConfigChangeEntry& entry : changes) {
        if (entry.change == change)
            names.push_back(entry.name);
    }
    return names;
}

bool storeServerConfigs(const std::vector<ServerConfigEntry>& configs, std::optional<std::int32_t> version)
{
    // One write for all of them: they are stored completely or not at all.
    Profile profile;
    for (const ServerConfigEntry& c : configs) {
        profile.deleteKey(std::string(kServerKey) + '\\' + c.name);
        writeServerConfig(profile, c.name, c.config);
    }
    if (version)
        raiseServerSetVersion(profile, *version);
    return profile.sync();
}

namespace {

// Stores a file that was read whole and checked; nothing when it was refused.
Result<void> storeServerConfigFile(const Result<ServerConfigFile>& file)
{
    if (!file.ok())
        return file.failure();
    if (!storeServerConfigs(file->configs, file->version))
        return Failure{Profile::writeFailureMessage()};
    return Success{};
}

} // namespace

Result<void> importServerConfigsText(std::string_view text)
{
    return storeServerConfigFile(readServerConfigsText(text));
}

Result<void> checkServerConfigsText(std::string_view text)
{
    const Result<ServerConfigFile> file = readServerConfigsText(text);
    if (!file.ok())
        return file.failure();
    return Success{};
}

Result<void> importServerConfigs(const std::string& path)
{
    return storeServerConfigFile(readServerConfigsFile(path));
}

} // namespace tarvelo
