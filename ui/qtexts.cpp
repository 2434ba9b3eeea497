#include "ui/qtexts.h"

#include "platform/codepage.h"

#include <QFile>

namespace tarvelo {

QString fromCp1252(const std::string& text)
{
    const std::string utf8 = cp1252ToUtf8(text);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toCp1252(const QString& text)
{
    return utf8ToCp1252(text.toStdString());
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
