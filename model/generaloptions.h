#pragma once

#include "platform/localtime.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The program's general options (profile section "GeneralOptions") and its document
// type.
namespace tarvelo {

struct GeneralOptions {
    std::int32_t numberDownloads = 5;
    bool autosaveOnExit = false;
    bool autoupdate = true;
    bool autoupdateTime = true;
    bool downloadStatus = true;
    std::int32_t hour1 = 9;
    std::int32_t minute1 = 30;
    std::int32_t hour2 = 18;
    std::int32_t minute2 = 30;
    std::int32_t updateInterval = 60;
    bool autosaveWindows = true;
    bool showFileOnError = true;
    // The largest page a download takes, in bytes; a larger one ends with an error.
    std::int32_t maxPageSize = 64 * 1024 * 1024;
    // Whether https addresses are fetched at all.
    bool allowHttps = true;
    // Sent by downloads in place of the program's own user agent when not empty.
    std::string userAgent;

    bool operator==(const GeneralOptions&) const = default;
};

inline constexpr std::string_view kGeneralOptionsSection = "GeneralOptions";

// One option: its profile value name, its member, and the values the options dialog
// accepts. The profile, tarvelo-cli options and its set command see every option as a
// whole number: a flag is stored as 0 or 1 (any other number reads as on).
struct OptionInfo {
    const char* name;
    std::variant<std::int32_t GeneralOptions::*, bool GeneralOptions::*> member;
    std::int32_t low;
    std::int32_t high;

    std::int32_t storedValue(const GeneralOptions& options) const;
    void setStoredValue(GeneralOptions& options, std::int32_t value) const;
};
const std::vector<OptionInfo>& generalOptionList();
const OptionInfo* findGeneralOption(std::string_view name);
// The option of that member; every number of GeneralOptions has one.
const OptionInfo& generalOption(std::int32_t GeneralOptions::*member);

// The longest user agent the options take.
inline constexpr std::size_t kMaxUserAgent = 200;
// Why a user agent cannot be sent (it would not be one header line of printable ASCII),
// or empty when it can.
std::string userAgentProblem(std::string_view userAgent);

// Reads every value of the list and the user agent, each with its default when it is
// missing.
GeneralOptions loadOptions();
// Writes every value of the list and the user agent; false when the settings file could not be written
// (nothing is then stored; Profile::writeFailureMessage() says so).
bool saveOptions(const GeneralOptions& options);

// Whether the automatic update may run now: always without the daily window, else when
// today's Hour1:Minute1 <= now <= today's Hour2:Minute2 (local time, both bounds
// included; a window that ends before it starts never holds).
bool insideUpdateWindow(const GeneralOptions& options, TimeStamp now);

// The fields of the document type string (lines of strings::kDocumentType):
// window title, document name, new-file name, filter, extension, type id, type name.
enum class DocumentTypeField { WindowTitle, DocumentName, NewFileName, Filter, Extension, TypeId, TypeName };
std::string documentTypeString(DocumentTypeField field);

} // namespace tarvelo
