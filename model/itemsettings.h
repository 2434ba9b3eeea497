#pragma once

#include "model/serverconfig.h"
#include "model/storedflag.h"

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

namespace tarvelo {

// What the history chart writes beside its curve's points. A stored number outside these
// names is kept as it was read; the chart draws it as Nominal.
enum class ValueOnGraphic : std::int32_t {
    None = 0,
    Percentual = 1,
    Nominal = 2,
};

// How the history chart labels its value axis; a number outside these names labels as
// Percentual.
enum class ValueOnAxes : std::int32_t {
    Percentual = 0,
    Nominal = 1,
};

constexpr std::int32_t storedNumber(ValueOnGraphic shown)
{
    return static_cast<std::int32_t>(shown);
}
constexpr std::int32_t storedNumber(ValueOnAxes shown)
{
    return static_cast<std::int32_t>(shown);
}

// How an item's history chart is drawn; nine 32-bit values.
struct ChartOptions {
    StoredFlag pageFlag = true; // set whenever the Graphic page is opened; nothing reads it
    StoredFlag showGrid = true;
    ValueOnGraphic valueOnGraphic = ValueOnGraphic::None;
    ValueOnAxes valueOnAxes = ValueOnAxes::Percentual;
    std::int32_t periodStart = 0;
    std::int32_t periodEnd = kDefaultPeriod;
    StoredFlag periodStartEnabled;
    StoredFlag periodEndEnabled;
    std::uint32_t lineColour = kOldLineColour; // 0x00BBGGRR

    static constexpr std::int32_t kDefaultPeriod = 365 * 86400;
    // The colour of items stored before line colours existed.
    static constexpr std::uint32_t kOldLineColour = 0xAA0000;

    bool operator==(const ChartOptions&) const = default;
};

// The colours a new item's line is picked from.
inline constexpr std::uint32_t kNewItemColours[11] = {
    0x000000, 0x0000FF, 0x00FF00, 0xFF0000, 0x7F7F7F, 0x00C8BE,
    0x7F007F, 0x646400, 0x0096FF, 0xDCB400, 0x9600DC,
};

// Every persistent field of an item except its history.
struct ItemSettings {
    std::string name;
    std::string symbol;
    std::string memo;
    ServerConfig server = newItemServerConfig();
    ChartOptions chart;
    StoredFlag aboveAlarm;
    StoredFlag belowAlarm;
    StoredFlag deviationAlarm;
    double aboveLimit = 0.0;
    double belowLimit = 0.0;
    double deviationPercent = 20.0;
    double quantity = 0.0;
    double averageBuyPrice = 0.0;

    bool operator==(const ItemSettings&) const = default;
};

// The longest texts an item keeps: name and symbol, and memo, in characters. The edits, tarvelo-cli and the reader of files hold texts to
// them, so that no list row, title or save meets a text of megabytes.
inline constexpr std::size_t kMaxItemNameLength = 255;
inline constexpr std::size_t kMaxItemMemoLength = 64 * 1024;

// The first text of the settings beyond its bound, as "name", "symbol" or "memo"; empty
// when every one is within.
std::string overlongItemText(const ItemSettings& settings);
// Cuts the texts beyond their bounds; true when one was cut.
bool boundItemTexts(ItemSettings& settings);

// The settings of an item the user is about to insert: period from now for a year,
// and a line colour picked at random from kNewItemColours.
ItemSettings newItemSettings(std::int32_t now, std::mt19937& random);
ItemSettings newItemSettings(std::int32_t now);

} // namespace tarvelo
