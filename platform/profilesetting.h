#pragma once

#include "platform/profile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvelo {

// One stored value of the profile: the key and value name it lives under and what it
// reads as when it is missing. Declared once, so that a setting's place and default are
// never restated at the places that read and write it.
struct IntSetting {
    std::string_view key;
    std::string_view name;
    std::int32_t fallback;

    std::int32_t read(const Profile& profile) const { return profile.getInt(key, name, fallback); }
    void write(Profile& profile, std::int32_t value) const { profile.writeInt(key, name, value); }
};

// A yes/no value stored as the number 1 or 0; any stored number but 0 reads as yes.
struct FlagSetting {
    std::string_view key;
    std::string_view name;
    bool fallback;

    bool read(const Profile& profile) const { return profile.getInt(key, name, fallback) != 0; }
    void write(Profile& profile, bool on) const { profile.writeInt(key, name, on); }
};

struct TextSetting {
    std::string_view key;
    std::string_view name;
    std::string_view fallback;

    std::string read(const Profile& profile) const { return profile.getText(key, name, fallback); }
    // The stored text, or nothing when the user never stored one.
    std::optional<std::string> stored(const Profile& profile) const { return profile.readText(key, name); }
    void write(Profile& profile, std::string_view value) const { profile.writeText(key, name, value); }
};

// A family of values in one key, each named by what it belongs to (an item's name, say),
// which the program knows only when it runs.
struct ValuesByName {
    std::string_view key;
};

// A numbered family of values in one key ("File1" to "File8"), numbered from 1.
struct NumberedSetting {
    std::string_view key;
    std::string_view prefix;
    int count;

    std::string name(int number) const { return std::string(prefix) + std::to_string(number); }
};

} // namespace tarvelo
