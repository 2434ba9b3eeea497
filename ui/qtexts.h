#pragma once

#include <QString>

#include <string>

// Texts at the border between the core (Windows-1252 bytes, file paths as the file
// system spells them) and Qt (UTF-16).
namespace tarvelo {

QString fromCp1252(const std::string& text);
std::string toCp1252(const QString& text);
QString fromPath(const std::string& path);
std::string toPath(const QString& path);
// One of the program's own texts (resources/Strings.h).
inline QString text(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace tarvelo
