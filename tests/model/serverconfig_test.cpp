#include "model/serverconfig.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <type_traits>
#include <variant>

namespace tarvelo {
namespace {

std::ptrdiff_t offsetOf(const ServerConfig& config, const ServerConfigField& field)
{
    const auto* base = reinterpret_cast<const char*>(&config);
    const auto* member = field.text ? reinterpret_cast<const char*>(&(config.*field.text))
                                    : std::visit(
                                          [&](auto number) -> const char* {
                                              if constexpr (std::is_same_v<decltype(number), std::monostate>)
                                                  return nullptr;
                                              else
                                                  return reinterpret_cast<const char*>(&(config.*number));
                                          },
                                          field.number);
    return member - base;
}

// The JSON object lists the members as the record declares them, each one once, and the
// import finds a value by its stored name in any letter case.
TEST(ServerConfigFieldsTest, EveryMemberOnceInJsonOrderAndFoundByAnyCase)
{
    const ServerConfig config;
    std::ptrdiff_t previous = reinterpret_cast<const char*>(&config.name) - reinterpret_cast<const char*>(&config);
    std::set<std::string> keys;
    ASSERT_EQ(serverConfigFieldsInJsonOrder().size(), serverConfigFields().size());
    for (const ServerConfigField* field : serverConfigFieldsInJsonOrder()) {
        const std::ptrdiff_t offset = offsetOf(config, *field);
        EXPECT_GT(offset, previous) << field->storedName;
        previous = offset;
        EXPECT_TRUE(keys.insert(field->jsonKey).second) << field->jsonKey;
    }

    for (const ServerConfigField& field : serverConfigFields()) {
        std::string upper = field.storedName;
        for (char& c : upper)
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        EXPECT_EQ(findServerConfigField(upper), &field);
    }
    EXPECT_EQ(findServerConfigField("Name"), nullptr);
    EXPECT_EQ(findServerConfigField("URL "), nullptr);
}

// The table's defaults are those of a default-constructed record, and each row names
// exactly one member.
TEST(ServerConfigFieldsTest, DefaultsAreTheRecordsOwn)
{
    const ServerConfig defaults;
    for (const ServerConfigField& field : serverConfigFields()) {
        ASSERT_NE(field.text == nullptr, std::holds_alternative<std::monostate>(field.number)) << field.storedName;
        ServerConfig changed;
        if (field.text)
            changed.*field.text = "changed";
        else
            field.setStoredNumber(changed, -12345);
        setServerConfigDefault(field, changed);
        if (field.text)
            EXPECT_EQ(changed.*field.text, defaults.*field.text) << field.storedName;
        else
            EXPECT_EQ(field.storedNumber(changed), field.storedNumber(defaults)) << field.storedName;
    }
}

// Every number keeps any stored value, flags and kinds included, so that a record read
// from a file is written back as it was; a flag is set by any number but 0.
TEST(ServerConfigFieldsTest, NumbersKeepAnyStoredValue)
{
    for (const ServerConfigField& field : serverConfigFields()) {
        if (!field.isNumber())
            continue;
        for (const std::int32_t stored : {-7, 15, INT32_MAX}) {
            ServerConfig config;
            field.setStoredNumber(config, stored);
            EXPECT_EQ(field.storedNumber(config), stored) << field.storedName;
        }
    }
    EXPECT_TRUE(StoredFlag::fromStored(-7).isSet());
    EXPECT_FALSE(StoredFlag::fromStored(0).isSet());
    EXPECT_NE(StoredFlag::fromStored(15), StoredFlag(true));
    EXPECT_EQ(StoredFlag(true).stored(), 1);
}

} // namespace
} // namespace tarvelo
