#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvelo {

// The per-user settings tree Software\Ombrix\Tarvelo: keys (separated by backslashes,
// relative to that root), each with named integer and text values and sub-keys.
//
// Key and value names are Windows-1252 texts and may hold any character a registry
// name may hold ("/" included); like registry names they are matched without regard to
// letter case, and a key keeps the spelling it was created with. Enumeration is in a
// stable order (case-insensitive by name).
//
// Backed by an INI file under $XDG_CONFIG_HOME/Ombrix (default ~/.config). Every
// Profile object sees the file as it was when created plus its own changes; changes are
// merged into the file under a lock when the object is destroyed or sync() is called,
// so several processes (the desktop program and tarvelo-cli) can use it at once.
// Errors are never reported: a value that cannot be read is absent.
class Profile {
public:
    Profile();
    ~Profile();
    Profile(const Profile&) = delete;
    Profile& operator=(const Profile&) = delete;

    std::optional<std::int32_t> readInt(std::string_view key, std::string_view name) const;
    std::optional<std::string> readText(std::string_view key, std::string_view name) const;
    std::int32_t getInt(std::string_view key, std::string_view name, std::int32_t fallback) const;
    std::string getText(std::string_view key, std::string_view name, std::string_view fallback) const;

    void writeInt(std::string_view key, std::string_view name, std::int32_t value);
    void writeText(std::string_view key, std::string_view name, std::string_view value);
    // Texts that are not in the code page, such as file paths: UTF-8 in and out.
    std::optional<std::string> readUtf8Text(std::string_view key, std::string_view name) const;
    void writeUtf8Text(std::string_view key, std::string_view name, std::string_view value);

    bool keyExists(std::string_view key) const;
    std::vector<std::string> subKeys(std::string_view key) const;
    std::vector<std::string> valueNames(std::string_view key) const;

    // Removes the key with its values and everything below it.
    void deleteKey(std::string_view key);
    void deleteValue(std::string_view key, std::string_view name);

    // Writes pending changes to the file now.
    void sync();

    // The file that holds the tree (for the README and diagnostics).
    static std::string filePath();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace tarvelo
