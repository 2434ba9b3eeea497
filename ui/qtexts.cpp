#include "ui/qtexts.h"

#include "platform/codepage.h"

#include <QFile>

namespace tarvelo {

QString fromCp1252(const std::string& text)
{
    const std::u16string units = cp1252ToUtf16(text);
    return QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
}

std::string toCp1252(const QString& text)
{
    return utf16ToCp1252(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                             static_cast<std::size_t>(text.size())));
}

QString fromPath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string toPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace tarvelo
