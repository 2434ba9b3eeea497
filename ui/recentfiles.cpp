#include "ui/recentfiles.h"

#include "model/profilesettings.h"
#include "platform/profile.h"

#include <algorithm>

namespace tarvelo {

namespace {

constexpr std::string_view kSection = settings::kRecentFiles.key;

std::string valueName(std::size_t index)
{
    return settings::kRecentFiles.name(static_cast<int>(index) + 1);
}

} // namespace

void RecentFileList::load()
{
    m_files.clear();
    Profile profile;
    for (std::size_t i = 0; i < kSize; ++i) {
        auto path = profile.readText(kSection, valueName(i));
        if (path && !path->empty() && std::find(m_files.begin(), m_files.end(), *path) == m_files.end())
            m_files.push_back(std::move(*path));
    }
}

void RecentFileList::save() const
{
    Profile profile;
    for (std::size_t i = 0; i < kSize; ++i) {
        if (i < m_files.size())
            profile.writeText(kSection, valueName(i), m_files[i]);
        else
            profile.deleteValue(kSection, valueName(i));
    }
}

void RecentFileList::add(const std::string& path)
{
    if (path.empty())
        return;
    remove(path);
    m_files.insert(m_files.begin(), path);
    if (m_files.size() > kSize)
        m_files.resize(kSize);
}

void RecentFileList::remove(const std::string& path)
{
    m_files.erase(std::remove(m_files.begin(), m_files.end(), path), m_files.end());
}

} // namespace tarvelo
