#pragma once

#include <cstdint>

namespace tarvelo {

// A yes/no setting whose stored form is a number: any number but 0 means yes. The
// number read from a file or the profile is kept, so that a record is written back as
// it was read; a flag set by the program is stored as 0 or 1.
class StoredFlag {
public:
    constexpr StoredFlag() = default;
    constexpr StoredFlag(bool on) : m_stored(on ? 1 : 0) {}
    // Only a bool is a flag (the constructor above wins for one); a stored number comes
    // in through fromStored.
    template <typename T>
    StoredFlag(T) = delete;

    static constexpr StoredFlag fromStored(std::int32_t stored)
    {
        StoredFlag flag;
        flag.m_stored = stored;
        return flag;
    }

    constexpr bool isSet() const { return m_stored != 0; }
    constexpr explicit operator bool() const { return isSet(); }
    constexpr std::int32_t stored() const { return m_stored; }

    // Records compare by what they store; a flag against a bool would hide that.
    bool operator==(const StoredFlag&) const = default;
    bool operator==(bool) const = delete;

private:
    std::int32_t m_stored = 0;
};

} // namespace tarvelo
