#include "model/generaloptions.h"

#include "platform/profile.h"
#include "platform/translation.h"
#include "resources/strings.h"

#include <cstdlib>

namespace tarvelo {

const std::vector<OptionInfo>& generalOptionList()
{
    static const std::vector<OptionInfo> list = {
        {"NumberDownloads", &GeneralOptions::numberDownloads, 1, 500},
        {"AutosaveOnExit", &GeneralOptions::autosaveOnExit, 0, 1},
        {"Autoupdate", &GeneralOptions::autoupdate, 0, 1},
        {"Autoupdate_Time", &GeneralOptions::autoupdateTime, 0, 1},
        {"DownloadStatus", &GeneralOptions::downloadStatus, 0, 1},
        {"Hour1", &GeneralOptions::hour1, 0, 23},
        {"Minute1", &GeneralOptions::minute1, 0, 59},
        {"Hour2", &GeneralOptions::hour2, 0, 23},
        {"Minute2", &GeneralOptions::minute2, 0, 59},
        {"UpdateIntervall", &GeneralOptions::updateInterval, 5, 500},
        {"AutosaveWindows", &GeneralOptions::autosaveWindows, 0, 1},
        {"ShowFileOnError", &GeneralOptions::showFileOnError, 0, 1},
        {"MaxPageSize", &GeneralOptions::maxPageSize, 65536, 2147483647},
        {"AllowHttps", &GeneralOptions::allowHttps, 0, 1},
    };
    return list;
}

const OptionInfo* findGeneralOption(std::string_view name)
{
    for (const OptionInfo& option : generalOptionList()) {
        if (name == option.name)
            return &option;
    }
    return nullptr;
}

const OptionInfo& generalOption(std::int32_t GeneralOptions::*member)
{
    for (const OptionInfo& option : generalOptionList()) {
        if (const auto* number = std::get_if<std::int32_t GeneralOptions::*>(&option.member); number && *number == member)
            return option;
    }
    std::abort(); // a number without an option: the list above misses it
}

std::int32_t OptionInfo::storedValue(const GeneralOptions& options) const
{
    if (const auto* flag = std::get_if<bool GeneralOptions::*>(&member))
        return options.**flag ? 1 : 0;
    return options.*std::get<std::int32_t GeneralOptions::*>(member);
}

void OptionInfo::setStoredValue(GeneralOptions& options, std::int32_t value) const
{
    if (const auto* flag = std::get_if<bool GeneralOptions::*>(&member))
        options.**flag = value != 0;
    else
        options.*std::get<std::int32_t GeneralOptions::*>(member) = value;
}

namespace {

constexpr std::string_view kUserAgentName = "UserAgent";

} // namespace

std::string userAgentProblem(std::string_view userAgent)
{
    if (userAgent.size() > kMaxUserAgent)
        return fill(translate("Options", "The user agent may be at most %1 characters long."),
                    {std::to_string(kMaxUserAgent)});
    for (const char c : userAgent) {
        if (c < ' ' || c > '~')
            return translate("Options", "The user agent may hold only printable ASCII characters.");
    }
    return {};
}

GeneralOptions loadOptions()
{
    const Profile profile;
    GeneralOptions options;
    for (const OptionInfo& option : generalOptionList())
        option.setStoredValue(options, profile.getInt(kGeneralOptionsSection, option.name, option.storedValue(options)));
    // A stored agent that could not be sent as it is counts as none.
    options.userAgent = profile.getText(kGeneralOptionsSection, kUserAgentName, "");
    if (!userAgentProblem(options.userAgent).empty())
        options.userAgent.clear();
    return options;
}

bool saveOptions(const GeneralOptions& options)
{
    Profile profile;
    for (const OptionInfo& option : generalOptionList())
        profile.writeInt(kGeneralOptionsSection, option.name, option.storedValue(options));
    profile.writeText(kGeneralOptionsSection, kUserAgentName, options.userAgent);
    return profile.sync();
}

bool insideUpdateWindow(const GeneralOptions& options, TimeStamp now)
{
    if (!options.autoupdateTime)
        return true;
    const std::tm today = breakLocalTime(now);
    const int year = today.tm_year + 1900;
    const int month = today.tm_mon + 1;
    const TimeStamp start = makeLocalTime(year, month, today.tm_mday, options.hour1, options.minute1, 0);
    const TimeStamp end = makeLocalTime(year, month, today.tm_mday, options.hour2, options.minute2, 0);
    return start <= now && now <= end;
}

std::string documentTypeString(DocumentTypeField field)
{
    const std::string_view all = strings::kDocumentType;
    std::size_t start = 0;
    for (int i = 0; i < static_cast<int>(field); ++i) {
        start = all.find('\n', start);
        if (start == std::string_view::npos)
            return {};
        ++start;
    }
    const auto end = all.find('\n', start);
    return std::string(all.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

} // namespace tarvelo
