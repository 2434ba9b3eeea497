#pragma once

#include <QCoreApplication>

// The configuration wizard's own texts, exactly as the user sees them; wizardText() shows
// one in the user's language.
namespace tarvelo::wizardtexts {

inline constexpr const char* kTitle = QT_TRANSLATE_NOOP("ServerWizard", "Server Configuration Wizard - [%1]");
inline constexpr const char* kBack = QT_TRANSLATE_NOOP("ServerWizard", "< Back");
inline constexpr const char* kNextWide = QT_TRANSLATE_NOOP("ServerWizard", "Next     >");
inline constexpr const char* kNext = QT_TRANSLATE_NOOP("ServerWizard", "Next >");
inline constexpr const char* kCancel = QT_TRANSLATE_NOOP("ServerWizard", "Cancel");

// First page.
inline constexpr const char* kAddressLabel = QT_TRANSLATE_NOOP("ServerWizard", "Quotation web page address:");
inline constexpr const char* kStatusLabel = QT_TRANSLATE_NOOP("ServerWizard", "Status:");
inline constexpr const char* kFramedPageHelp = QT_TRANSLATE_NOOP("ServerWizard", "If the quotation is shown inside a frame of the page, the address above must be the frame's own "
    "address: open the frame on its own in the browser (for example through its context menu, \"Open "
    "frame in new tab\") and copy the address from there.");
inline constexpr const char* kVariablesHelp = QT_TRANSLATE_NOOP("ServerWizard", "[&name] = item's name (e.g. IBM),  [&symbol] = item's symbol (e.g. 870747)\n"
    "[&d] = day (e.g. 09),  [&dw] = day of the week (e.g. 01 for monday)\n"
    "[&m] = month (e.g. 07),  [&mstr] = month short (e.g. jan),  [&y] = year (e.g. 2003)");
inline constexpr const char* kPressNext = QT_TRANSLATE_NOOP("ServerWizard", "Press next to download the web page");
inline constexpr const char* kDownloaded = QT_TRANSLATE_NOOP("ServerWizard", "The file has been successfully downloaded, the web page is shown in the\r\nweb browser. If the page is ok, "
    "press next to go to the next step where\r\nyou can configure the quotation extraction rules.");

// Second page.
inline constexpr const char* kConversionLabel = QT_TRANSLATE_NOOP("ServerWizard", "Web page format convertion:");
inline constexpr const char* kConversionNone = QT_TRANSLATE_NOOP("ServerWizard", "none");
inline constexpr const char* kConversionSemiHtml = QT_TRANSLATE_NOOP("ServerWizard", "semi-html");
inline constexpr const char* kConversionTextOnly = QT_TRANSLATE_NOOP("ServerWizard", "text-only");
inline constexpr const char* kConversionNote = QT_TRANSLATE_NOOP("ServerWizard", "(standard = semi-html)");
inline constexpr const char* kQuotationLabel = QT_TRANSLATE_NOOP("ServerWizard", "Quotation which is to be extracted from the web page:\n(actual value shown on the web page in the browser, "
    "e.g. 22,65)");
inline constexpr const char* kGetConfiguration = QT_TRANSLATE_NOOP("ServerWizard", "Get &Configuration");
inline constexpr const char* kFormatLabel = QT_TRANSLATE_NOOP("ServerWizard", "Quotation's thousands/decimal separator format:");
inline constexpr const char* kCandidatesLabel = QT_TRANSLATE_NOOP("ServerWizard", "Select quotation extraction rule (related web page text will be highlighted):");
inline constexpr const char* kNoBuffer = QT_TRANSLATE_NOOP("ServerWizard", "Could not allocate buffer!");
inline constexpr const char* kCannotRead = QT_TRANSLATE_NOOP("ServerWizard", "Could not open file for reading!");

inline QString wizardText(const char* text)
{
    return QCoreApplication::translate("ServerWizard", text);
}

}  // namespace tarvelo::wizardtexts
