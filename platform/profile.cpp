#include "platform/profile.h"

#include "platform/codepage.h"

#include <QSettings>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <map>
#include <unordered_map>
#include <unordered_set>

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

std::atomic<bool> g_writeFailed{false};

QString ParentOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : path.left(slash);
}

std::unique_ptr<QSettings> OpenSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ombrix"),
                                       QStringLiteral("Tarvelo"));
}

} // namespace

struct Profile::Impl {
    std::unique_ptr<QSettings> settings = OpenSettings();

    // The sub-groups of a stored group (escaped, "/"-separated path; empty for the
    // root) by case-folded name, each with its stored spellings in enumeration order.
    // Read once per group and object, then kept up to date with this object's own
    // changes, so that finding a key costs a hash lookup per level instead of a scan
    // of everything below its parent.
    using ChildIndex = std::unordered_map<QString, std::vector<QString>>;
    std::map<QString, ChildIndex> children;

    // The key entered last with its stored path: a record's values are written one
    // after the other under the same key.
    std::string lastKey;
    QString lastPath;
    bool lastValid = false;

    // What the changes since the last sync replaced: every group changed, with the
    // values below it before its first change, in the order of first change.
    struct SavedGroup {
        QString path;
        std::vector<std::pair<QString, QVariant>> values;
    };
    std::vector<SavedGroup> undo;
    std::unordered_set<QString> savedPaths;
    bool dirty = false;

    ChildIndex& childIndex(const QString& path)
    {
        const auto [at, added] = children.try_emplace(path);
        if (added) {
            settings->beginGroup(path);
            const QStringList groups = settings->childGroups(); // sorted
            settings->endGroup();
            for (const QString& g : groups)
                at->second[UnescapeName(g).toCaseFolded()].push_back(g);
        }
        return at->second;
    }

    // Enters the stored group of the given key, matching each level without regard
    // to case (an exact spelling first). Returns false (leaving the settings at the
    // root) when a level is missing and create is false; with create the missing
    // levels get the given spelling.
    bool enter(std::string_view key, bool create)
    {
        if (lastValid && key == lastKey) {
            settings->beginGroup(lastPath);
            return true;
        }
        QString path;
        for (const QString& part : SplitKey(key)) {
            ChildIndex& index = childIndex(path);
            const QString escaped = EscapeName(part);
            const QString folded = part.toCaseFolded();
            auto spellings = index.find(folded);
            if (spellings == index.end() || spellings->second.empty()) {
                if (!create)
                    return false;
                spellings = index.try_emplace(folded).first;
            }
            std::vector<QString>& known = spellings->second;
            QString stored;
            if (std::find(known.begin(), known.end(), escaped) != known.end())
                stored = escaped;
            else if (!known.empty())
                stored = known.front();
            else
                stored = known.emplace_back(escaped);
            path = path.isEmpty() ? stored : path + u'/' + stored;
        }
        lastKey.assign(key);
        lastPath = path;
        lastValid = true;
        settings->beginGroup(path);
        return true;
    }

    // The stored spelling of a value name within the current group.
    QString valueKey(std::string_view name)
    {
        const QString wanted = FromCp1252(name);
        const QString escaped = EscapeName(wanted);
        const QStringList keys = settings->childKeys();
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
        if (settings->contains(k))
            result = settings->value(k);
        settings->endGroup();
        return result;
    }

    // Keeps what is below the group (outside any group) before its first change.
    void remember(const QString& path)
    {
        dirty = true;
        if (!savedPaths.insert(path).second)
            return;
        SavedGroup saved{path, {}};
        settings->beginGroup(path);
        for (const QString& k : settings->allKeys())
            saved.values.emplace_back(k, settings->value(k));
        settings->endGroup();
        undo.push_back(std::move(saved));
    }

    void write(std::string_view key, std::string_view name, const QVariant& value)
    {
        enter(key, true);
        const QString path = settings->group();
        const QString k = valueKey(name);
        settings->endGroup();
        remember(path);
        settings->beginGroup(path);
        settings->setValue(k, value);
        settings->endGroup();
    }

    // The group is gone: drops it from its parent's index and every index below it.
    void forget(const QString& path)
    {
        lastValid = false;
        if (const auto parent = children.find(ParentOf(path)); parent != children.end()) {
            const QString name = path.mid(path.lastIndexOf(u'/') + 1);
            const auto spellings = parent->second.find(UnescapeName(name).toCaseFolded());
            if (spellings != parent->second.end())
                std::erase(spellings->second, name);
        }
        for (auto at = children.lower_bound(path); at != children.end() && at->first.startsWith(path);) {
            if (at->first.size() == path.size() || at->first[path.size()] == u'/')
                at = children.erase(at);
            else
                ++at;
        }
    }

    // Puts back what the changes since the last sync replaced, newest first.
    void rollBack()
    {
        for (auto saved = undo.rbegin(); saved != undo.rend(); ++saved) {
            settings->beginGroup(saved->path);
            settings->remove(QString());
            for (const auto& [k, value] : saved->values)
                settings->setValue(k, value);
            settings->endGroup();
        }
        children.clear();
        lastValid = false;
    }

    bool sync()
    {
        if (!dirty)
            return true;
        // The status keeps the first error of the object's life, a failed read at its
        // creation included; a new object tells whether this write succeeds.
        if (settings->status() != QSettings::NoError)
            settings = OpenSettings();
        settings->sync();
        const bool ok = settings->status() == QSettings::NoError;
        if (!ok) {
            rollBack();
            g_writeFailed = true;
        }
        undo.clear();
        savedPaths.clear();
        dirty = false;
        return ok;
    }
};

Profile::Profile() : m_impl(std::make_unique<Impl>()) {}

Profile::~Profile()
{
    m_impl->sync();
}

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
    // A group whose last value was deleted is gone though the index still knows it.
    const bool exists = !m_impl->settings->childKeys().isEmpty() || !m_impl->settings->childGroups().isEmpty();
    m_impl->settings->endGroup();
    return exists;
}

std::vector<std::string> Profile::subKeys(std::string_view key) const
{
    std::vector<std::string> result;
    if (!m_impl->enter(key, false))
        return result;
    QStringList groups = m_impl->settings->childGroups();
    m_impl->settings->endGroup();
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
    const QStringList keys = m_impl->settings->childKeys();
    m_impl->settings->endGroup();
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
    const QString path = m_impl->settings->group();
    m_impl->settings->endGroup();
    m_impl->remember(path);
    m_impl->settings->remove(path);
    m_impl->forget(path);
}

void Profile::deleteValue(std::string_view key, std::string_view name)
{
    if (!m_impl->enter(key, false))
        return;
    const QString path = m_impl->settings->group();
    const QString k = m_impl->valueKey(name);
    m_impl->settings->endGroup();
    m_impl->remember(path);
    m_impl->settings->beginGroup(path);
    m_impl->settings->remove(k);
    m_impl->settings->endGroup();
}

bool Profile::sync()
{
    return m_impl->sync();
}

std::string Profile::filePath()
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ombrix"),
                       QStringLiteral("Tarvelo"));
    return settings.fileName().toStdString();
}

std::string Profile::writeFailureMessage()
{
    return "The settings could not be saved to " + filePath() + ".";
}

bool Profile::takeWriteFailure()
{
    return g_writeFailed.exchange(false);
}

} // namespace tarvelo
