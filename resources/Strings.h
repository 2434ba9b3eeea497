#pragma once

// The program's own texts, exactly as the user sees them. Numbered entries keep the
// numbers of the string table; the framework's standard texts follow.

namespace tarvelo::strings {

// Framework file texts. "%1" is replaced by the file path.
inline constexpr const char* kUnexpectedFileFormat = "Unexpected file format.";
inline constexpr const char* kFileNotFound =
    "%1\nCannot find this file.\nPlease verify that the correct path and file name are given.";
inline constexpr const char* kDiskFull = "Destination disk drive is full.";
inline constexpr const char* kReadSharingViolation = "Unable to read from %1, it is opened by someone else.";
inline constexpr const char* kWriteReadOnly = "Unable to write to %1, it is read-only or opened by someone else.";
inline constexpr const char* kFailedToOpenDocument = "Failed to open document.";
inline constexpr const char* kFailedToSaveDocument = "Failed to save document.";
inline constexpr const char* kSaveChangesPrompt = "Save changes to %1?";

// Document type string (resource 128): lines separated by line feeds.
inline constexpr const char* kDocumentType =
    "Tarvelo\n\nQuotes\nTarvelo Files (*.qvx)\n.QVX\nTarvelo.Document\nTarvelo Document";

// About box.
inline constexpr const char* kAboutTitle = "About Tarvelo";
inline constexpr const char* kAboutVersion = "Tarvelo, Version 2.01";
inline constexpr const char* kAboutServerVersion = "Installed server configuration version:";

// Item configuration entry shown for an item's own settings.
inline constexpr const char* kUserDefinedServer = "-- User defined --";

} // namespace tarvelo::strings
