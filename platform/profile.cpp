#include "platform/profile.h"

#include "platform/codepage.h"

#include <QSettings>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <map>

namespace tarvelo {

namespace {

QString FromCp1252(std::string_view text)
{
    const std::u16string wide = Cp1252ToUtf16(text);
    return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

std::string ToCp1252(const QString& text)
{
    return Utf16ToCp1252(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                             static_cast<std::size_t>(text.size())));
}

// QSettings reads "/" and "\" as group separators; "%" is our escape character.
// Everything else is left to QSettings' own escaping of the INI file.
QString EscapeName(const QString& name)
{
    QString out;
    out.reserve(name.size());
    for (QChar c : name) {
        if (c == u'%')
            out += QStringLiteral("%25");
        else if (c == u'/')
            out += QStringLiteral("%2F");
        else if (c == u'\\')
            out += QStringLiteral("%5C");
        else
            out += c;
    }
    if (out.isEmpty())
        out = QStringLiteral("%00");
    return out;
}

QString UnescapeName(const QString& stored)
{
    if (stored == QStringLiteral("%00"))
        return {};
    QString out;
    out.reserve(stored.size());
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (stored[i] == u'%' && i + 2 < stored.size()) {
            const QString hex = stored.mid(i + 1, 2);
            bool ok = false;
            const int code = hex.toInt(&ok, 16);
            if (ok) {
                out += QChar(code);
                i += 2;
                continue;
            }
        }
        out += stored[i];
    }
    return out;
}

std::vector<QString> SplitKey(std::string_view key)
{
    std::vector<QString> parts;
    std::size_t start = 0;
    while (start <= key.size()) {
        std::size_t end = key.find('\\', start);
        if (end == std::string_view::npos)
            end = key.size();
        if (end > start)
            parts.push_back(FromCp1252(key.substr(start, end - start)));
        start = end + 1;
    }
    return parts;
}

bool LessNoCase(const QString& a, const QString& b)
{
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

} // namespace

struct Profile::Impl {
    QSettings settings{QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ombrix"),
                       QStringLiteral("Tarvelo")};

    // Enters the stored group of the given key, matching each level without regard
    // to case. Returns false (leaving the settings at the root) when a level is
    // missing and create is false; with create the missing levels get the given
    // spelling.
    // Resolved spellings of the keys this object has entered.
    std::map<std::string, QString, std::less<>> resolved;

    bool enter(std::string_view key, bool create)
    {
        if (const auto known = resolved.find(key); known != resolved.end()) {
            settings.beginGroup(known->second);
            return true;
        }
        QString path;
        for (const QString& part : SplitKey(key)) {
            settings.beginGroup(path);
            const QStringList groups = settings.childGroups();
            settings.endGroup();
            QString stored = EscapeName(part);
            if (!groups.contains(stored)) {
                bool found = false;
                for (const QString& g : groups) {
                    if (QString::compare(UnescapeName(g), part, Qt::CaseInsensitive) == 0) {
                        stored = g;
                        found = true;
                        break;
                    }
                }
                if (!found && !create)
                    return false;
            }
            path = path.isEmpty() ? stored : path + u'/' + stored;
        }
        resolved.emplace(std::string(key), path);
        settings.beginGroup(path);
        return true;
    }

    // The stored spelling of a value name within the current group.
    QString valueKey(std::string_view name)
    {
        const QString wanted = FromCp1252(name);
        const QString escaped = EscapeName(wanted);
        const QStringList keys = settings.childKeys();
        if (keys.contains(escaped))
            return escaped;
        for (const QString& k : keys) {
            if (QString::compare(UnescapeName(k), wanted, Qt::CaseInsensitive) == 0)
                return k;
        }
        return escaped;
    }

    std::optional<QVariant> read(std::string_view key, std::string_view name)
    {
        if (!enter(key, false))
            return std::nullopt;
        const QString k = valueKey(name);
        std::optional<QVariant> result;
        if (settings.contains(k))
            result = settings.value(k);
        settings.endGroup();
        return result;
    }

    void write(std::string_view key, std::string_view name, const QVariant& value)
    {
        enter(key, true);
        settings.setValue(valueKey(name), value);
        settings.endGroup();
    }
};

Profile::Profile() : m_impl(std::make_unique<Impl>()) {}

Profile::~Profile() = default;

std::optional<std::int32_t> Profile::readInt(std::string_view key, std::string_view name) const
{
    const auto value = m_impl->read(key, name);
    if (!value)
        return std::nullopt;
    bool ok = false;
    const qlonglong number = value->toString().trimmed().toLongLong(&ok);
    if (!ok || number < INT32_MIN || number > UINT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
}

std::optional<std::string> Profile::readText(std::string_view key, std::string_view name) const
{
    const auto value = m_impl->read(key, name);
    if (!value)
        return std::nullopt;
    return ToCp1252(value->toString());
}

std::optional<std::string> Profile::readUtf8Text(std::string_view key, std::string_view name) const
{
    const auto value = m_impl->read(key, name);
    if (!value)
        return std::nullopt;
    return value->toString().toStdString();
}

std::int32_t Profile::getInt(std::string_view key, std::string_view name, std::int32_t fallback) const
{
    return readInt(key, name).value_or(fallback);
}

std::string Profile::getText(std::string_view key, std::string_view name, std::string_view fallback) const
{
    auto value = readText(key, name);
    return value ? *value : std::string(fallback);
}

void Profile::writeInt(std::string_view key, std::string_view name, std::int32_t value)
{
    m_impl->write(key, name, QVariant(static_cast<int>(value)));
}

void Profile::writeText(std::string_view key, std::string_view name, std::string_view value)
{
    m_impl->write(key, name, QVariant(FromCp1252(value)));
}

void Profile::writeUtf8Text(std::string_view key, std::string_view name, std::string_view value)
{
    m_impl->write(key, name, QVariant(QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()))));
}

bool Profile::keyExists(std::string_view key) const
{
    if (!m_impl->enter(key, false))
        return false;
    m_impl->settings.endGroup();
    return true;
}

std::vector<std::string> Profile::subKeys(std::string_view key) const
{
    std::vector<std::string> result;
    if (!m_impl->enter(key, false))
        return result;
    QStringList groups = m_impl->settings.childGroups();
    m_impl->settings.endGroup();
    std::vector<QString> names;
    for (const QString& g : groups)
        names.push_back(UnescapeName(g));
    std::sort(names.begin(), names.end(), LessNoCase);
    for (const QString& n : names)
        result.push_back(ToCp1252(n));
    return result;
}

std::vector<std::string> Profile::valueNames(std::string_view key) const
{
    std::vector<std::string> result;
    if (!m_impl->enter(key, false))
        return result;
    const QStringList keys = m_impl->settings.childKeys();
    m_impl->settings.endGroup();
    std::vector<QString> names;
    for (const QString& k : keys)
        names.push_back(UnescapeName(k));
    std::sort(names.begin(), names.end(), LessNoCase);
    for (const QString& n : names)
        result.push_back(ToCp1252(n));
    return result;
}

void Profile::deleteKey(std::string_view key)
{
    if (SplitKey(key).empty() || !m_impl->enter(key, false))
        return;
    m_impl->settings.remove(QString());
    m_impl->settings.endGroup();
    m_impl->resolved.clear();
}

void Profile::deleteValue(std::string_view key, std::string_view name)
{
    if (!m_impl->enter(key, false))
        return;
    m_impl->settings.remove(m_impl->valueKey(name));
    m_impl->settings.endGroup();
}

void Profile::sync()
{
    m_impl->settings.sync();
}

std::string Profile::filePath()
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ombrix"),
                       QStringLiteral("Tarvelo"));
    return settings.fileName().toStdString();
}

} // namespace tarvelo
