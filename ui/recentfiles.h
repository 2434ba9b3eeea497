#pragma once

#include "model/profilesettings.h"

#include <string>
#include <vector>

namespace tarvelo {

// The most recently used portfolio files, newest first, kept in the profile as
// settings::kRecentFiles.
class RecentFileList {
public:
    static constexpr std::size_t kSize = settings::kRecentFiles.count;

    void load();
    void save() const;
    // Puts the path first (once).
    void add(const std::string& path);
    void remove(const std::string& path);
    const std::vector<std::string>& files() const { return m_files; }

private:
    std::vector<std::string> m_files;
};

} // namespace tarvelo
