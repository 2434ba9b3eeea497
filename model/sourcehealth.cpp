#include "model/sourcehealth.h"

#include "model/securityitem.h"
#include "platform/filelock.h"
#include "platform/files.h"
#include "platform/localtime.h"
#include "platform/translation.h"
#include "resources/strings.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <system_error>

namespace tarvelo {

namespace {

constexpr std::string_view kHeader = "Tarvelo source health 1";

std::string stateFolder()
{
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/')
        return std::string(state) + "/tarvelo";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.local/state/tarvelo";
}

// FNV-1a, so that the name does not change with the library's std::hash.
std::uint64_t pathHash(std::string_view text)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string escaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

std::string unescaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i]) {
        case 't': out += '\t'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        default: out += text[i];
        }
    }
    return out;
}

std::vector<std::string_view> fields(std::string_view line)
{
    std::vector<std::string_view> out;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        out.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos)
            return out;
        start = tab + 1;
    }
}

template <typename T>
bool number(std::string_view text, T& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

std::string formatDouble(double value)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

} // namespace

std::string ItemHealth::lastSuccessText() const
{
    if (lastSuccess == 0)
        return "never";
    constexpr std::int64_t low = std::numeric_limits<TimeStamp>::min();
    constexpr std::int64_t high = std::numeric_limits<TimeStamp>::max();
    return formatLocalTime(static_cast<TimeStamp>(std::clamp(lastSuccess, low, high)), "%x %H:%M");
}

SourceHealth::SourceHealth(std::string portfolioPath)
    : m_stateFile(portfolioPath.empty() ? std::string() : stateFileFor(portfolioPath))
{
}

std::string SourceHealth::stateFileFor(const std::string& portfolioPath)
{
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::weakly_canonical(std::filesystem::absolute(portfolioPath, error), error);
    if (absolute.empty())
        absolute = portfolioPath;
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(pathHash(absolute.string())));
    return stateFolder() + "/" + absolute.stem().string() + "-" + hash + ".health";
}

std::string SourceHealth::serialize(const std::map<HealthKey, ItemHealth>& entries)
{
    std::string out(kHeader);
    out += '\n';
    for (const auto& [key, health] : entries) {
        out += escaped(key.name) + '\t' + escaped(key.symbol) + '\t' + std::to_string(health.lastSuccess) + '\t'
            + std::to_string(health.failures) + '\t' + escaped(health.lastReason);
        if (const auto& held = health.heldBack)
            out += '\t' + std::to_string(held->quotation.time) + '\t' + formatDouble(held->quotation.value) + '\t'
                + formatDouble(held->latest) + '\t' + escaped(held->reason);
        out += '\n';
    }
    return out;
}

std::map<HealthKey, ItemHealth> SourceHealth::parse(const std::string& text)
{
    std::map<HealthKey, ItemHealth> entries;
    std::string_view rest = text;
    bool first = true;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (first) {
            first = false;
            if (line != kHeader)
                return {}; // not ours, or a later form this program cannot read
            continue;
        }
        const std::vector<std::string_view> f = fields(line);
        if (f.size() != 5 && f.size() != 9)
            continue;
        ItemHealth health;
        if (!number(f[2], health.lastSuccess) || !number(f[3], health.failures) || health.failures < 0)
            continue;
        health.lastReason = unescaped(f[4]);
        if (f.size() == 9) {
            HeldBackValue held;
            if (!number(f[5], held.quotation.time))
                continue;
            char* endValue = nullptr;
            const std::string value(f[6]), latest(f[7]);
            held.quotation.value = std::strtod(value.c_str(), &endValue);
            if (endValue != value.c_str() + value.size())
                continue;
            held.latest = std::strtod(latest.c_str(), &endValue);
            if (endValue != latest.c_str() + latest.size())
                continue;
            held.reason = unescaped(f[8]);
            health.heldBack = std::move(held);
        }
        entries[HealthKey{unescaped(f[0]), unescaped(f[1])}] = std::move(health);
    }
    return entries;
}

Result<void> SourceHealth::load()
{
    m_entries.clear();
    m_changed.clear();
    if (m_stateFile.empty())
        return Success{};
    std::string text;
    const FileError error = readWholeFile(m_stateFile, text);
    if (error == FileError::NotFound)
        return Success{};
    if (error != FileError::None)
        return Failure{fill(translate("Portfolio", "The source health file %1 cannot be read."), {m_stateFile})};
    m_entries = parse(text);
    return Success{};
}

Result<void> SourceHealth::save()
{
    if (m_changed.empty() || m_stateFile.empty())
        return Success{};
    std::error_code created;
    std::filesystem::create_directories(std::filesystem::path(m_stateFile).parent_path(), created);
    FileLock lock;
    const FileLock::Result locked = lock.acquire(m_stateFile, lockWait());
    if (locked == FileLock::Result::TimedOut || locked == FileLock::Result::NotOurs)
        return Failure{fill(translate("Portfolio", "The source health file %1 is locked by another program."), {m_stateFile})};
    std::string text;
    std::map<HealthKey, ItemHealth> merged;
    if (readWholeFile(m_stateFile, text) == FileError::None)
        merged = parse(text);
    for (const auto& [key, kept] : m_changed) {
        if (!kept) {
            merged.erase(key);
            continue;
        }
        if (const auto found = m_entries.find(key); found != m_entries.end())
            merged[key] = found->second;
    }
    if (writeFileAtomically(m_stateFile, serialize(merged)) != FileError::None)
        return Failure{fill(translate("Portfolio", "The source health file %1 cannot be written."), {m_stateFile})};
    m_entries = std::move(merged);
    m_changed.clear();
    return Success{};
}

const ItemHealth* SourceHealth::find(const HealthKey& key) const
{
    const auto found = m_entries.find(key);
    return found == m_entries.end() ? nullptr : &found->second;
}

ItemHealth& SourceHealth::touch(const HealthKey& key)
{
    m_changed[key] = true;
    return m_entries[key];
}

void SourceHealth::recordSuccess(const HealthKey& key, std::int64_t when)
{
    ItemHealth& health = touch(key);
    health.lastSuccess = when;
    health.failures = 0;
    health.lastReason.clear();
    health.heldBack.reset();
}

void SourceHealth::recordFailure(const HealthKey& key, const std::string& reason, std::optional<HeldBackValue> heldBack)
{
    ItemHealth& health = touch(key);
    ++health.failures;
    health.lastReason = reason;
    health.heldBack = std::move(heldBack);
}

void SourceHealth::clearHeldBack(const HealthKey& key)
{
    if (const auto found = m_entries.find(key); found != m_entries.end() && found->second.heldBack) {
        found->second.heldBack.reset();
        m_changed[key] = true;
    }
}

void SourceHealth::forget(const HealthKey& key)
{
    m_entries.erase(key);
    m_changed[key] = false;
}

void SourceHealth::rename(const HealthKey& from, const HealthKey& to)
{
    const auto found = m_entries.find(from);
    if (from == to || found == m_entries.end())
        return;
    ItemHealth moved = std::move(found->second);
    m_entries.erase(found);
    m_changed[from] = false;
    touch(to) = std::move(moved);
}

bool SourceHealth::anyFailing() const
{
    for (const auto& [key, health] : m_entries)
        if (health.failing())
            return true;
    return false;
}

std::string configurationShown(const ItemSettings& settings)
{
    return settings.server.name.empty() ? translate("Servers", strings::kUserDefinedServer) : settings.server.name;
}

std::vector<HealthRow> healthRows(const std::vector<const SecurityItem*>& items, const SourceHealth& health)
{
    std::vector<HealthRow> rows;
    rows.reserve(items.size());
    for (const SecurityItem* item : items) {
        const ItemSettings& settings = item->settings();
        HealthRow row{settings.name, settings.symbol, configurationShown(settings), {}};
        if (const ItemHealth* found = health.find(HealthKey{settings.name, settings.symbol}))
            row.health = *found;
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace tarvelo
