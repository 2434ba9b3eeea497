#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/commandoptions.h"
#include "model/generaloptions.h"
#include "model/requestheaders.h"
#include "platform/codepage.h"
#include "platform/utf8.h"
#include "platform/profile.h"
#include "resources/strings.h"
#include "servers/builtinservers.h"
#include "servers/catalog.h"
#include "servers/regfile.h"
#include "servers/serverstore.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <set>
#include <ostream>

namespace tarvelo {

namespace {

// A settings write that failed; the message names the settings file.
int settingsNotSaved(std::ostream& err)
{
    err << "tarvelo-cli: " << Profile::writeFailureMessage() << '\n'; // UTF-8 already
    return kExitError;
}

// --fallback NAME names another stored configuration; --no-fallback (or an empty name)
// clears it. Why the options are refused, or empty.
std::string fallbackOption(const CommandOptions& o, const std::string& name, ServerConfig& config)
{
    const std::optional<std::string> fallback = o.text("fallback");
    if (fallback && o.flag("no-fallback"))
        return "--fallback and --no-fallback exclude each other";
    if (o.flag("no-fallback") || (fallback && fallback->empty())) {
        config.fallback.clear();
        return {};
    }
    if (!fallback)
        return {};
    const std::string chosen = validUtf8(*fallback);
    if (chosen == name)
        return "--fallback: a configuration cannot be its own fallback";
    if (!serverConfigExists(chosen))
        return "--fallback: no server configuration named '" + *fallback + "'";
    config.fallback = chosen;
    return {};
}

// servers catalog [NAME...]: the ready-made configurations with their descriptions;
// servers catalog --add NAME... [--replace]: stores them.
int catalogCommand(const CommandContext& c)
{
    CommandOptions o;
    if (!o.parse(std::vector<std::string>(c.args.begin() + 1, c.args.end()), {}, {"add", "replace"}))
        return wrongCall(c.err, o.error());
    if (o.flag("replace") && !o.flag("add"))
        return wrongCall(c.err, "--replace goes with --add");
    if (o.flag("add") && o.positional().empty())
        return wrongCall(c.err, "servers catalog --add needs the names of ready-made configurations");
    const Result<std::vector<CatalogEntry>> catalog = readCatalog();
    if (!catalog) {
        c.err << "tarvelo-cli: " << catalog.message() << '\n';
        return kExitError;
    }
    std::vector<const CatalogEntry*> chosen;
    for (const std::string& name : o.positional()) {
        const CatalogEntry* entry = findCatalogEntry(*catalog, validUtf8(name));
        if (!entry) {
            c.err << "tarvelo-cli: no ready-made configuration named '" << name << "'\n";
            return kExitFailed;
        }
        if (std::find(chosen.begin(), chosen.end(), entry) == chosen.end())
            chosen.push_back(entry);
    }
    if (!o.flag("add")) {
        if (chosen.empty()) {
            for (const CatalogEntry& entry : *catalog)
                chosen.push_back(&entry);
        }
        for (const CatalogEntry* entry : chosen) {
            c.out << entry->name << '\n';
            std::size_t start = 0;
            while (start < entry->description.size()) {
                const std::size_t end = entry->description.find('\n', start);
                c.out << "    " << entry->description.substr(start, end - start) << '\n';
                start = end == std::string::npos ? entry->description.size() : end + 1;
            }
            if (!entry->importAddress.empty()) {
                c.out << "    Import address: " << entry->importAddress << '\n';
                c.out << "    Import format: " << entry->importFormat << " (--format " << entry->importNumberFormat
                      << ")\n";
            }
        }
        return kExitOk;
    }
    const Result<void> added = addCatalogEntries(chosen, o.flag("replace"));
    if (!added && added.message() == Profile::writeFailureMessage())
        return settingsNotSaved(c.err);
    if (!added) {
        c.err << "tarvelo-cli: " << added.message() << " Nothing was changed; --replace replaces it.\n";
        return kExitFailed;
    }
    for (const CatalogEntry* entry : chosen)
        c.out << "added: " << entry->name << '\n';
    return kExitOk;
}

// Takes every "--header 'Name: value'" out of args (the option may be given up to eight
// times), leaving the other options and their values for CommandOptions. False when
// the last --header has no value.
bool takeHeaderOptions(std::vector<std::string>& args, const std::set<std::string>& valueOptions,
                       std::vector<std::string>& headers)
{
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--header") {
            if (i + 1 >= args.size())
                return false;
            headers.push_back(args[++i]);
            continue;
        }
        rest.push_back(args[i]);
        if (args[i].starts_with("--") && valueOptions.count(args[i].substr(2)) && i + 1 < args.size())
            rest.push_back(args[++i]);
    }
    args = std::move(rest);
    return true;
}

// --header replaces the configuration's request headers with the ones given;
// --no-headers clears them. Why the options are refused, or empty; the message names
// no header value.
std::string headerOptions(const std::vector<std::string>& given, bool none, ServerConfig& config)
{
    if (none && !given.empty())
        return "--header and --no-headers exclude each other";
    if (none) {
        config.headers.clear();
        return {};
    }
    if (given.empty())
        return {};
    std::string lines;
    for (const std::string& header : given) {
        if (header.find_first_of("\r\n") != std::string::npos)
            return "--header: a header holds a line break";
        lines += header + '\n';
    }
    const std::string headers = storedRequestHeaders(lines);
    if (const std::string problem = requestHeadersProblem(headers); !problem.empty())
        return "--header: " + problem;
    config.headers = headers;
    return {};
}

} // namespace

int serversCommand(const CommandContext& c)
{
    const auto& a = c.args;
    if (a.empty())
        return wrongCall(c.err, "servers needs list, show, export, import, catalog or install");
    const std::string& what = a[0];
    if (what == "list" && a.size() == 1) {
        std::vector<std::string> names;
        enumerateServerConfigs(names);
        for (const std::string& name : names) {
            ServerConfig config;
            readServerConfig(name, config);
            c.out << name;
            if (!config.fallback.empty())
                c.out << "\tfallback: " << config.fallback;
            c.out << '\n';
        }
        return kExitOk;
    }
    if (what == "show" && a.size() == 2) {
        const std::string name = validUtf8(a[1]);
        if (!serverConfigExists(name)) {
            c.err << "tarvelo-cli: no server configuration named '" << a[1] << "'\n";
            return kExitFailed;
        }
        ServerConfig config;
        readServerConfig(name, config);
        for (const std::string& line : serverConfigValueLines(config))
            c.out << line << '\n';
        return kExitOk;
    }
    if (what == "export" && a.size() >= 2) {
        if (refuseSpecialOutput(a[1], c.err))
            return kExitError;
        // Without names the whole store with the set version; with names only those.
        Result<void> result = Success{};
        if (a.size() == 2) {
            result = exportServerConfigs(a[1]);
        } else {
            std::vector<std::string> names;
            for (std::size_t i = 2; i < a.size(); ++i)
                names.push_back(validUtf8(a[i]));
            result = exportServerConfigs(a[1], names);
        }
        if (!result.ok()) {
            reportFileError(c.err, a[1], result.message());
            return kExitError;
        }
        return kExitOk;
    }
    if (what == "import" && a.size() >= 2) {
        CommandOptions o;
        if (!o.parse(std::vector<std::string>(a.begin() + 1, a.end()), {}, {"replace"}))
            return wrongCall(c.err, o.error());
        if (o.positional().size() != 1)
            return wrongCall(c.err, "servers import takes one file");
        const std::string& file = o.positional()[0];
        const Result<ServerConfigFile> read = readServerConfigsFile(file);
        if (!read.ok()) {
            reportFileError(c.err, file, read.message() + " Nothing was changed.");
            return kExitError;
        }
        const std::vector<ServerConfigChangeEntry> changes = serverConfigChanges(read->configs);
        const std::vector<std::string> differing = serverConfigNames(changes, ServerConfigChange::Replace);
        if (!differing.empty() && !o.flag("replace")) {
            for (const std::string& name : differing)
                c.err << "tarvelo-cli: " << file << ": the server configuration '" << name
                      << "' is stored with other values\n";
            c.err << "tarvelo-cli: give --replace to replace "
                  << (differing.size() == 1 ? "it" : "them") << ". Nothing was changed.\n";
            return kExitFailed;
        }
        if (!storeServerConfigs(read->configs, read->version))
            return settingsNotSaved(c.err);
        static constexpr const char* kWords[] = {"added", "replaced", "unchanged"};
        for (const ServerConfigChangeEntry& entry : changes)
            c.out << kWords[static_cast<int>(entry.change)] << '\t' << entry.name << '\n';
        return kExitOk;
    }
    if (what == "catalog")
        return catalogCommand(c);
    if (what == "install" && a.size() == 1) {
        return installBuiltInServers() ? kExitOk : settingsNotSaved(c.err);
    }
    if (what == "set" && a.size() >= 2) {
        const std::set<std::string> valueOptions{"url",     "timeout", "conversion", "text",  "tags",
                                                 "numbers", "thousands", "decimal", "case", "regexp",
                                                 "index",   "date",    "time",       "max-change", "fallback",
                                                 "json-value", "json-date", "json-time"};
        std::vector<std::string> args(a.begin() + 1, a.end());
        std::vector<std::string> headers;
        if (!takeHeaderOptions(args, valueOptions, headers))
            return wrongCall(c.err, "option '--header' needs a value");
        CommandOptions o;
        if (!o.parse(args, valueOptions, {"no-fallback", "no-headers"}))
            return wrongCall(c.err, o.error());
        if (o.positional().size() != 1)
            return wrongCall(c.err, "servers set takes one configuration name");
        const std::string name = validUtf8(o.positional()[0]);
        if (std::string problem = serverNameProblem(name); !problem.empty() || name == strings::kUserDefinedServer)
            return wrongCall(c.err, problem.empty() ? "that name stands for an item's own settings" : problem);
        // A new configuration starts from the store's defaults with the limit of one a
        // user makes, an existing one from its values.
        ServerConfig config;
        readServerConfig(name, config);
        if (!serverConfigExists(name))
            config.maxChange = kNewConfigMaxChange;
        std::optional<int> maxChange;
        if (!o.integer("max-change", INT_MIN, INT_MAX, maxChange))
            return wrongCall(c.err, o.error());
        if (maxChange)
            config.maxChange = *maxChange;
        if (const std::string problem = fallbackOption(o, name, config); !problem.empty())
            return wrongCall(c.err, problem);
        if (const std::string problem = headerOptions(headers, o.flag("no-headers"), config); !problem.empty())
            return wrongCall(c.err, problem);
        std::string problem;
        if (!applyServerOptions(o, config, problem, ServerOptionRanges::Store))
            return wrongCall(c.err, problem);
        return writeServerConfig(name, config) ? kExitOk : settingsNotSaved(c.err);
    }
    if (what == "delete" && a.size() == 2) {
        const std::string name = validUtf8(a[1]);
        if (!serverConfigExists(name)) {
            c.err << "tarvelo-cli: no server configuration named '" << a[1] << "'\n";
            return kExitFailed;
        }
        return deleteServerConfig(name) ? kExitOk : settingsNotSaved(c.err);
    }
    return wrongCall(c.err, "servers needs list, show NAME, set NAME [options], delete NAME, export FILE [NAME...], "
                            "import FILE [--replace], catalog or install");
}

int optionsCommand(const CommandContext& c)
{
    const auto& a = c.args;
    if (a.empty()) {
        const GeneralOptions options = loadOptions();
        for (const OptionInfo& option : generalOptionList())
            c.out << option.name << '=' << option.storedValue(options) << '\n';
        c.out << "UserAgent=" << options.userAgent << '\n';
        return kExitOk;
    }
    if (a[0] == "set" && a.size() == 3 && a[1] == "UserAgent") {
        if (const std::string problem = userAgentProblem(a[2]); !problem.empty())
            return wrongCall(c.err, problem);
        GeneralOptions options = loadOptions();
        options.userAgent = a[2];
        return saveOptions(options) ? kExitOk : settingsNotSaved(c.err);
    }
    if (a[0] == "set" && a.size() == 3) {
        const OptionInfo* option = findGeneralOption(a[1]);
        if (!option)
            return wrongCall(c.err, "unknown option '" + a[1] + "'");
        const auto value = parseInteger(a[2], option->low, option->high);
        if (!value) {
            return wrongCall(c.err, a[1] + " takes a whole number from " + std::to_string(option->low) + " to "
                                        + std::to_string(option->high));
        }
        GeneralOptions options = loadOptions();
        option->setStoredValue(options, static_cast<std::int32_t>(*value));
        return saveOptions(options) ? kExitOk : settingsNotSaved(c.err);
    }
    return wrongCall(c.err, "options takes no arguments, or set NAME VALUE");
}

} // namespace tarvelo
