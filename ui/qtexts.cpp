#include "ui/qtexts.h"

#include "platform/codepage.h"
#include "platform/utf8.h"

#include <QFile>

#include <algorithm>

namespace tarvelo {

QString fromCore(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toCore(const QString& text)
{
    // A surrogate without its partner (pasted from somewhere broken) becomes U+FFFD,
    // as the core's decoder reads broken text.
    return utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                           static_cast<std::size_t>(text.size())));
}

QString fromPageText(std::string_view page)
{
    QString out(static_cast<qsizetype>(page.size()), Qt::Uninitialized);
    QChar* units = out.data();
    for (const char byte : page)
        *units++ = QChar(static_cast<char16_t>(cp1252ToCodePoint(static_cast<unsigned char>(byte))));
    return out;
}

QString fromPath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string toPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString fileMessage(const QString& path, const QString& message, QStringView separator)
{
    if (message.isEmpty() || path.isEmpty() || message.contains(path))
        return message;
    return path + separator.toString() + message;
}

void sortNames(QStringList& names)
{
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int order = QString::compare(a, b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
}

QStringList sortedNames(const std::vector<std::string>& names)
{
    QStringList shown;
    shown.reserve(static_cast<qsizetype>(names.size()));
    for (const std::string& name : names)
        shown << fromCore(name);
    sortNames(shown);
    return shown;
}

} // namespace tarvelo
