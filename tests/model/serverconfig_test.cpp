#include "model/serverconfig.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <set>
#include <string>

namespace tarvelo {
namespace {

std::ptrdiff_t offsetOf(const ServerConfig& config, const ServerConfigField& field)
{
    const auto* base = reinterpret_cast<const char*>(&config);
    const auto* member = field.text ? reinterpret_cast<const char*>(&(config.*field.text))
                                    : reinterpret_cast<const char*>(&(config.*field.number));
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
        ASSERT_NE(field.text == nullptr, field.number == nullptr) << field.storedName;
        ServerConfig changed;
        if (field.text)
            changed.*field.text = "changed";
        else
            changed.*field.number = -12345;
        setServerConfigDefault(field, changed);
        if (field.text)
            EXPECT_EQ(changed.*field.text, defaults.*field.text) << field.storedName;
        else
            EXPECT_EQ(changed.*field.number, defaults.*field.number) << field.storedName;
    }
}

} // namespace
} // namespace tarvelo
