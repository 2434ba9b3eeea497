#pragma once

#include "platform/localtime.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The program's general options (profile section "GeneralOptions") and its document
// type.
namespace tarvelo {

struct GeneralOptions {
    std::int32_t numberDownloads = 5;
    std::int32_t autosaveOnExit = 0;
    std::int32_t autoupdate = 1;
    std::int32_t autoupdateTime = 1;
    std::int32_t downloadStatus = 1;
    std::int32_t hour1 = 9;
    std::int32_t minute1 = 30;
    std::int32_t hour2 = 18;
    std::int32_t minute2 = 30;
    std::int32_t updateInterval = 60;
    std::int32_t autosaveWindows = 1;
    std::int32_t showFileOnError = 1;
    // The largest page a download takes, in bytes; a larger one ends with an error.
    std::int32_t maxPageSize = 64 * 1024 * 1024;
    // Whether https addresses are fetched at all.
    std::int32_t allowHttps = 1;
    // Sent by downloads in place of the program's own user agent when not empty.
    std::string userAgent;

    bool operator==(const GeneralOptions&) const = default;
};

inline constexpr std::string_view kGeneralOptionsSection = "GeneralOptions";

// One option: its profile value name, its field, and the values the options dialog
// accepts.
struct OptionInfo {
    const char* name;
    std::int32_t GeneralOptions::*field;
    std::int32_t low;
    std::int32_t high;
};
const std::vector<OptionInfo>& generalOptionList();
const OptionInfo* findGeneralOption(std::string_view name);

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
