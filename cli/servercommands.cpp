#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/commandoptions.h"
#include "model/generaloptions.h"
#include "platform/codepage.h"
#include "platform/utf8.h"
#include "platform/profile.h"
#include "resources/strings.h"
#include "servers/builtinservers.h"
#include "servers/regfile.h"
#include "servers/serverstore.h"

#include <climits>
#include <optional>
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

} // namespace

int serversCommand(const CommandContext& c)
{
    const auto& a = c.args;
    if (a.empty())
        return wrongCall(c.err, "servers needs list, show, export, import or install");
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
    if (what == "export" && a.size() == 2) {
        if (refuseSpecialOutput(a[1], c.err))
            return kExitError;
        const Result<void> result = exportServerConfigs(a[1]);
        if (!result.ok()) {
            reportFileError(c.err, a[1], result.message());
            return kExitError;
        }
        return kExitOk;
    }
    if (what == "import" && a.size() == 2) {
        const Result<void> result = importServerConfigs(a[1]);
        if (!result.ok() && result.message() == Profile::writeFailureMessage())
            return settingsNotSaved(c.err);
        if (!result.ok()) {
            reportFileError(c.err, a[1], result.message() + " Nothing was changed.");
            return kExitError;
        }
        return kExitOk;
    }
    if (what == "install" && a.size() == 1) {
        return installBuiltInServers() ? kExitOk : settingsNotSaved(c.err);
    }
    if (what == "set" && a.size() >= 2) {
        CommandOptions o;
        if (!o.parse(std::vector<std::string>(a.begin() + 1, a.end()),
                     {"url", "timeout", "conversion", "text", "tags", "numbers", "thousands", "decimal", "case", "regexp",
                      "index", "date", "time", "max-change", "fallback", "json-value", "json-date", "json-time"},
                     {"no-fallback"}))
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
    return wrongCall(c.err, "servers needs list, show NAME, set NAME [options], delete NAME, export FILE, import FILE or install");
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
