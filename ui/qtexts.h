#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <string>
#include <string_view>
#include <vector>

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
// Names (of server configurations) as the lists show them: in alphabetical order without
// regard to letter case; names that differ only in it keep one order.
void sortNames(QStringList& names);
QStringList sortedNames(const std::vector<std::string>& names);
// One of the program's own texts (resources/strings.h) in the user's language.
inline QString text(const char* text)
{
    return QCoreApplication::translate("Strings", text);
}

} // namespace tarvelo
