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
// Key and value names, like every text, are UTF-8 and may hold any character a registry
// name may hold ("/" included); like registry names they are matched without regard to
// letter case, and a key keeps the spelling it was created with. Enumeration is in a
// stable order (case-insensitive by name).
//
// Backed by an INI file under $XDG_CONFIG_HOME/Ombrix (default ~/.config). Every
// Profile object sees the file as it was when created plus its own changes; changes are
// merged into the file under a lock when sync() is called or the object is destroyed,
// so several processes (the desktop program and tarvelo-cli) can use it at once.
//
// A value that cannot be read is absent. A write that cannot be stored (a read-only or
// full folder, a folder in the file's place) is reported by sync(); all changes of that
// sync are then undone in this process as well, so what the program sees is what the
// file holds. Changes written by the destructor can report only through
// takeWriteFailure().
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

    bool keyExists(std::string_view key) const;
    std::vector<std::string> subKeys(std::string_view key) const;
    std::vector<std::string> valueNames(std::string_view key) const;

    // Removes the key with its values and everything below it.
    void deleteKey(std::string_view key);
    void deleteValue(std::string_view key, std::string_view name);

    // Writes pending changes to the file now; false when they could not be written (and
    // are undone). Without pending changes there is nothing to fail.
    bool sync();

    // The file that holds the tree, UTF-8 (for messages and diagnostics).
    static std::string filePath();
    // "The settings could not be saved to FILE." for a failed write.
    static std::string writeFailureMessage();
    // Whether a write of any Profile object of this process failed since the last call;
    // the record is cleared. Lets a window report failures of writes made elsewhere.
    static bool takeWriteFailure();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace tarvelo
