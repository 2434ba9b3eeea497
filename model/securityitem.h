#pragma once

#include "model/quotation.h"
#include "model/itemsettings.h"

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace tarvelo {

// A security item: its settings and its quotation history, ordered by time, oldest
// first. A record with the same time as existing ones goes before all of them.
class SecurityItem {
public:
    SecurityItem() = default;
    explicit SecurityItem(ItemSettings settings) : m_settings(std::move(settings)) {}

    const ItemSettings& settings() const { return m_settings; }
    ItemSettings& settings() { return m_settings; }
    const std::vector<Quotation>& history() const { return m_history; }

    bool isBeingUpdated() const { return m_beingUpdated; }
    void setBeingUpdated(bool on) { m_beingUpdated = on; }

    // Inserts by time; returns the 0-based index the record now has.
    std::size_t insertQuotation(const Quotation& record);
    // Inserts many records; the history ends exactly as inserting them one by one in
    // the given order would leave it.
    void insertQuotations(std::span<const Quotation> batch);
    // Whether the history holds a record of this time and this value.
    bool holdsQuotation(const Quotation& record) const;
    // Whether the history holds a record of this value within the same minute: the same
    // page, unchanged, read again.
    bool holdsQuotationInMinute(const Quotation& record) const;
    // The records of the batch, in batch order, without those whose time and value equal
    // a record of the history or an earlier record of the batch.
    std::vector<Quotation> newQuotations(std::span<const Quotation> batch) const;
    // Takes the record out, changes it and inserts it again. -1 when the index does not
    // name a record, 0 when it was the only record, else the new index plus 1.
    int modifyQuotation(std::size_t index, double value, std::int32_t time);
    bool deleteQuotation(std::size_t index);
    void deleteAllQuotations();
    // A stock split: divisor > 0, applied to the record at index and every older one.
    bool splitQuotations(std::size_t index, double divisor);
    void invertQuotations();

    // The whole history, leaving the item without one.
    std::vector<Quotation> takeHistory() { return std::exchange(m_history, {}); }
    // Undo and redo put back exactly what a recorded change took, in the places it took
    // it from; nothing else writes the history directly.
    std::vector<Quotation>& editableHistory() { return m_history; }

    // Loading appends records in stream order without sorting.
    void appendLoadedQuotation(const Quotation& record) { m_history.push_back(record); }
    void reserveHistory(std::size_t n) { m_history.reserve(n); }

    bool lastTime(std::int32_t& time) const;
    bool firstTime(std::int32_t& time) const;
    bool lastValue(double& value) const;
    bool lowHigh(double& low, double& high) const;
    bool totalChangePercent(double& percent) const;
    bool totalChange(double& change) const;
    bool lastChangePercent(double& percent, bool sinceLastDay) const;
    bool lastChange(double& change, bool sinceLastDay) const;
    bool referenceTime(std::int32_t& time, bool sinceLastDay) const;

private:
    // The record the change columns compare the newest one with, or null.
    const Quotation* changeReference(bool sinceLastDay) const;

    ItemSettings m_settings;
    std::vector<Quotation> m_history;
    bool m_beingUpdated = false;
};

} // namespace tarvelo
