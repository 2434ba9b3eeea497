#pragma once

#include <QString>

#include <string>
#include <string_view>

// Texts at the border between the core (UTF-8; file paths as the file system spells
// them) and Qt (UTF-16).
namespace tarvelo {

QString fromCore(const std::string& text);
std::string toCore(const QString& text);
QString fromPath(const std::string& path);
// A page as it is searched, in Windows-1252: one character for each byte, so that
// positions in the page are positions in the text.
QString fromPageText(std::string_view page);
std::string toPath(const QString& path);
// A message about a file that names it: the message as it is when it names the path
// already, else "PATH\nmessage", the form of the framework's file texts (a line of
// standard error takes ": " as the separator). Empty stays empty (a cancelled step has
// nothing to say).
QString fileMessage(const QString& path, const QString& message, QStringView separator = u"\n");
// One of the program's own texts (resources/strings.h).
inline QString text(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace tarvelo
