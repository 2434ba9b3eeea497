#pragma once

#include <string>
#include <vector>

namespace tarvelo {

// The most recently used portfolio files, newest first, kept in the profile section
// "Recent File List" as "File1" to "File8".
class RecentFileList {
public:
    static constexpr std::size_t kSize = 8;

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
