#pragma once

// The configuration wizard's own texts, exactly as the user sees them.
namespace tarvelo::wizardtexts {

inline constexpr const char* kTitle = "Server Configuration Wizard - [%1]";
inline constexpr const char* kBack = "< Back";
inline constexpr const char* kNextWide = "Next     >";
inline constexpr const char* kNext = "Next >";
inline constexpr const char* kCancel = "Cancel";

// First page.
inline constexpr const char* kAddressLabel = "Quotation web page address:";
inline constexpr const char* kStatusLabel = "Status:";
inline constexpr const char* kFramedPageHelp =
    "If the quotation is shown inside a frame of the page, the address above must be the frame's own "
    "address: open the frame on its own in the browser (for example through its context menu, \"Open "
    "frame in new tab\") and copy the address from there.";
inline constexpr const char* kVariablesHelp =
    "[&name] = item's name (e.g. IBM),  [&symbol] = item's symbol (e.g. 870747)\n"
    "[&d] = day (e.g. 09),  [&dw] = day of the week (e.g. 01 for monday)\n"
    "[&m] = month (e.g. 07),  [&mstr] = month short (e.g. jan),  [&y] = year (e.g. 2003)";
inline constexpr const char* kPressNext = "Press next to download the web page";
inline constexpr const char* kDownloaded =
    "The file has been successfully downloaded, the web page is shown in the\r\nweb browser. If the page is ok, "
    "press next to go to the next step where\r\nyou can configure the quotation extraction rules.";

// Second page.
inline constexpr const char* kConversionLabel = "Web page format convertion:";
inline constexpr const char* kConversionNone = "none";
inline constexpr const char* kConversionSemiHtml = "semi-html";
inline constexpr const char* kConversionTextOnly = "text-only";
inline constexpr const char* kConversionNote = "(standard = semi-html)";
inline constexpr const char* kQuotationLabel =
    "Quotation which is to be extracted from the web page:\n(actual value shown on the web page in the browser, "
    "e.g. 22,65)";
inline constexpr const char* kGetConfiguration = "Get &Configuration";
inline constexpr const char* kFormatLabel = "Quotation's thousands/decimal separator format:";
inline constexpr const char* kCandidatesLabel =
    "Select quotation extraction rule (related web page text will be highlighted):";
inline constexpr const char* kNoBuffer = "Could not allocate buffer!";
inline constexpr const char* kCannotRead = "Could not open file for reading!";

}  // namespace tarvelo::wizardtexts
