#pragma once

// The program's own texts, exactly as the user sees them. Numbered entries keep the
// numbers of the string table; the framework's standard texts follow.
// Each text is marked for the translation catalogs with the context it is looked up in:
// QT_TRANSLATE_NOOP for the texts of the desktop program (context "Strings" for those it
// shows through text() of ui/qtexts.h, "Commands" for those of its command table) and
// TARVELO_TRANSLATE_NOOP for those that the core reports (translated by the core with the
// same context). The core includes this file without Qt, so the Qt marker is defined here
// as Qt defines it.

#include "platform/translation.h"

#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace tarvelo::strings {

// Framework file texts. "%1" is replaced by the file path.
inline constexpr const char* kUnexpectedFileFormat = TARVELO_TRANSLATE_NOOP("File", "Unexpected file format.");
inline constexpr const char* kFileNotFound =
    TARVELO_TRANSLATE_NOOP("File", "%1\nCannot find this file.\nPlease verify that the correct path and file name are given.");
inline constexpr const char* kDiskFull = TARVELO_TRANSLATE_NOOP("File", "Destination disk drive is full.");
inline constexpr const char* kReadSharingViolation = TARVELO_TRANSLATE_NOOP("File", "Unable to read from %1, it is opened by someone else.");
inline constexpr const char* kWriteReadOnly = TARVELO_TRANSLATE_NOOP("File", "Unable to write to %1, it is read-only or opened by someone else.");
inline constexpr const char* kFailedToOpenDocument = TARVELO_TRANSLATE_NOOP("File", "Failed to open document.");
inline constexpr const char* kFailedToSaveDocument = TARVELO_TRANSLATE_NOOP("File", "Failed to save document.");
inline constexpr const char* kSaveChangesPrompt = QT_TRANSLATE_NOOP("Strings", "Save changes to %1?");

// Document type string (resource 128): lines separated by line feeds.
inline constexpr const char* kDocumentType =
    "Tarvelo\n\nQuotes\nTarvelo Files (*.qvx)\n.QVX\nTarvelo.Document\nTarvelo Document";

// About box.
inline constexpr const char* kAboutTitle = QT_TRANSLATE_NOOP("Strings", "About Tarvelo");
inline constexpr const char* kAboutVersion = QT_TRANSLATE_NOOP("Strings", "Tarvelo, Version 2.01");
inline constexpr const char* kAboutServerVersion = QT_TRANSLATE_NOOP("Strings", "Installed server configuration version:");

// Item configuration entry shown for an item's own settings.
inline constexpr const char* kUserDefinedServer = TARVELO_TRANSLATE_NOOP("Servers", "-- User defined --");

} // namespace tarvelo::strings

namespace tarvelo::strings {

// Main window.
inline constexpr const char* kTimerError = QT_TRANSLATE_NOOP("Strings", "Timer error!");
inline constexpr const char* kTrayEnd = QT_TRANSLATE_NOOP("Strings", "%1 (End)");
inline constexpr const char* kTrayOneDownload = QT_TRANSLATE_NOOP("Strings", "%1 (1 Download)");
inline constexpr const char* kTrayDownloads = QT_TRANSLATE_NOOP("Strings", "%1 (%2 Downloads)");
inline constexpr const char* kRegistryFilter = QT_TRANSLATE_NOOP("Strings", "Registry Files (*.reg)");
inline constexpr const char* kServerExportName = QT_TRANSLATE_NOOP("Strings", "Server");
inline constexpr const char* kExportFilter = QT_TRANSLATE_NOOP("Strings", "Excel Files (*.xls);;Text Files (*.txt)");
inline constexpr const char* kSocketsFailed = QT_TRANSLATE_NOOP("Strings", "Windows sockets initialization failed.");
// The program's own page: what Tarvelo is and where its help begins, shown in the help viewer.
inline constexpr const char* kHomePage = "Tarvelo.html";
inline constexpr const char* kFaqPage = "FAQ.html";
inline constexpr const char* kServerInfoPage = "QVXSrv.html";
// The page that explains every dialog, one section (anchor) each.
inline constexpr const char* kDialogHelpPage = "Dialogs.html";

// Portfolio list.
inline constexpr const char* kDeleteConfirm = QT_TRANSLATE_NOOP("Strings", "Do you really want to delete the marked items?");
inline constexpr const char* kNoItems = QT_TRANSLATE_NOOP("Strings", "No items!");
inline constexpr const char* kClipboardNotOpened = QT_TRANSLATE_NOOP("Strings", "Clipboard could not be opened!");
inline constexpr const char* kClipboardNotRead = TARVELO_TRANSLATE_NOOP("Import", "Clipboard data could not be read!");

} // namespace tarvelo::strings

namespace tarvelo::strings {

// Downloads. "%1" is replaced by the limit in bytes.
inline constexpr const char* kPageTooLarge = TARVELO_TRANSLATE_NOOP("Download", "The page is larger than %1 bytes, the limit set by the option MaxPageSize.");
inline constexpr const char* kPageUnpacksTooLarge =
    TARVELO_TRANSLATE_NOOP("Download", "The compressed page unpacks to more than %1 bytes; it was cut off there.");

// The shell. "%1" is replaced by the address or file that no program could open.
inline constexpr const char* kShellOpenFailed = QT_TRANSLATE_NOOP("Strings", "%1\nNo program could open this. Please open it by hand.");

} // namespace tarvelo::strings

namespace tarvelo::strings {

// Charts. The message pane's idle text, the comparison chart's title word, the chart's
// context menus and the comparison limits dialog.
inline constexpr const char* kReady = QT_TRANSLATE_NOOP("Strings", "Ready");
inline constexpr const char* kComparison = TARVELO_TRANSLATE_NOOP("Chart", "Comparison");
inline constexpr const char* kChartProperties = QT_TRANSLATE_NOOP("Commands", "&Properties");
inline constexpr const char* kComparisonProperties = QT_TRANSLATE_NOOP("Commands", "&Properties...");
inline constexpr const char* kComparisonLimitsTitle = QT_TRANSLATE_NOOP("Strings", "Properties for the comparison chart");

} // namespace tarvelo::strings

namespace tarvelo::strings {

// Sending the portfolio by mail.
inline constexpr const char* kSendMail = QT_TRANSLATE_NOOP("Commands", "Se&nd...");
inline constexpr const char* kSendMailTip = QT_TRANSLATE_NOOP("Commands", "Send the portfolio as a mail attachment");
inline constexpr const char* kMailUnavailable = QT_TRANSLATE_NOOP("Strings", "Unable to load mail system support.");
inline constexpr const char* kMailProgramInvalid = QT_TRANSLATE_NOOP("Strings", "Mail system DLL is invalid.");
inline constexpr const char* kMailSendFailed = QT_TRANSLATE_NOOP("Strings", "Send Mail failed to send message.");
// The mail program must not see a file half written: a failed write stops the send.
inline constexpr const char* kMailAttachmentFailed = QT_TRANSLATE_NOOP("Strings", "The portfolio could not be written to a temporary file.");

// Pasting items that the clipboard holds in a damaged form.
inline constexpr const char* kClipboardItemsDamaged =
    TARVELO_TRANSLATE_NOOP("Import", "The items on the clipboard are damaged or come from a newer version of the program. Nothing was pasted.");

} // namespace tarvelo::strings

namespace tarvelo::strings {

// The import dialog. "%1" is replaced by the item's name.
inline constexpr const char* kImportTitle = QT_TRANSLATE_NOOP("Strings", "Import quotations for \"%1\"");
inline constexpr const char* kImportLocationButton = QT_TRANSLATE_NOOP("Strings", "Quotations' URL or\nlocal file path:");
inline constexpr const char* kImportNumberFormat = QT_TRANSLATE_NOOP("Strings", "Number format:");
inline constexpr const char* kImportCaseInsensitive = QT_TRANSLATE_NOOP("Strings", "Case insensitive search (don't differentiate small and capital letters)");
inline constexpr const char* kImportFormatTemplate = QT_TRANSLATE_NOOP("Strings", "Format template of one line:");
inline constexpr const char* kImportStatus = QT_TRANSLATE_NOOP("Strings", "Status:");
inline constexpr const char* kImportReadFile = QT_TRANSLATE_NOOP("Strings", "Read file");
inline constexpr const char* kImportViewFile = QT_TRANSLATE_NOOP("Strings", "View file in Notepad");
inline constexpr const char* kImportLoaded = QT_TRANSLATE_NOOP("Strings", "The file has been successfully loaded. Press ok to import quotations.");
inline constexpr const char* kImportMatching = QT_TRANSLATE_NOOP("Strings", "Importing quotations...");
// The preview of what OK imports.
inline constexpr const char* kImportPreview = QT_TRANSLATE_NOOP("Strings", "Preview:");
inline constexpr const char* kImportPreviewDate = QT_TRANSLATE_NOOP("Strings", "Date");
inline constexpr const char* kImportPreviewValue = QT_TRANSLATE_NOOP("Strings", "Value");
inline constexpr const char* kImportPreviewNotLoaded = QT_TRANSLATE_NOOP("Strings", "Read the file to see what it gives.");
inline constexpr const char* kImportPreviewWorking = QT_TRANSLATE_NOOP("Strings", "Reading the lines...");
inline constexpr const char* kImportPreviewHeld = QT_TRANSLATE_NOOP("Strings", "Already in the history: not imported again");
inline constexpr const char* kImportPreviewWarning = QT_TRANSLATE_NOOP("Strings", "Warning: %1");
inline constexpr const char* kOk = QT_TRANSLATE_NOOP("Strings", "OK");
inline constexpr const char* kCancel = QT_TRANSLATE_NOOP("Strings", "Cancel");
inline constexpr const char* kHelp = QT_TRANSLATE_NOOP("Strings", "Help");

// Renaming an item whose configuration searches for its name.
inline constexpr const char* kRenameSearchesName = QT_TRANSLATE_NOOP("Strings", "The configuration of this item searches for its name; after renaming, updates will look for the new name.");

// The import location dialog.
inline constexpr const char* kImportLocationTitle = QT_TRANSLATE_NOOP("Strings", "Import location");
inline constexpr const char* kImportLocalFile = QT_TRANSLATE_NOOP("Strings", "Local file");
inline constexpr const char* kImportFilePath = QT_TRANSLATE_NOOP("Strings", "File path");
inline constexpr const char* kImportInternetDownload = QT_TRANSLATE_NOOP("Strings", "Internet download");
inline constexpr const char* kImportPeriodBegin = QT_TRANSLATE_NOOP("Strings", "From:");
inline constexpr const char* kImportPeriodEnd = QT_TRANSLATE_NOOP("Strings", "To:");
inline constexpr const char* kImportUrlTemplate = QT_TRANSLATE_NOOP("Strings", "URL template:");
inline constexpr const char* kImportAllFiles = QT_TRANSLATE_NOOP("Strings", "All Files (*.*)");
inline constexpr const char* kImportTemplateNote = QT_TRANSLATE_NOOP("Strings", "Note: if you use yahoo's historical quotes server, you might need to change item's symbol from ISIN/WKN to "
    "ticker to get URL template working (e.g. 710000.F->DCXGn.F).");

} // namespace tarvelo::strings

namespace tarvelo::strings {

// The portfolio list's column titles that the printed report's item blocks repeat, and
// the unit of the day counts of its changes.
inline constexpr const char* kColumnDate = TARVELO_TRANSLATE_NOOP("Report", "Date");
inline constexpr const char* kColumnLow = TARVELO_TRANSLATE_NOOP("Report", "Low");
inline constexpr const char* kColumnHigh = TARVELO_TRANSLATE_NOOP("Report", "High");
inline constexpr const char* kColumnLastChange = TARVELO_TRANSLATE_NOOP("Report", "+- Last");
inline constexpr const char* kColumnTotalChange = TARVELO_TRANSLATE_NOOP("Report", "+- Total");
inline constexpr const char* kColumnAmountInvested = TARVELO_TRANSLATE_NOOP("Report", "Amount Invested");

} // namespace tarvelo::strings
