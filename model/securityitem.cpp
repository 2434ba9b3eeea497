#include "model/securityitem.h"

#include "model/investment.h"
#include "platform/localtime.h"

#include <algorithm>
#include <bit>
#include <numeric>
#include <optional>

namespace tarvelo {

namespace {

bool earlierThan(const Quotation& a, const Quotation& b)
{
    return a.time < b.time;
}

// The first position whose time is not earlier than the record's: a new record goes
// before every record with the same time.
std::vector<Quotation>::iterator placeFor(std::vector<Quotation>& history, std::int32_t time)
{
    if (history.empty() || time > history.back().time)
        return history.end();
    return std::lower_bound(history.begin(), history.end(), Quotation{time, 0.0}, earlierThan);
}

// The identity of a value for finding equal records: equal values (0 and -0 among them)
// give equal keys; NaN, equal to nothing, gives none.
std::optional<std::uint64_t> valueKey(double value)
{
    if (value != value)
        return std::nullopt;
    return value == 0.0 ? 0 : std::bit_cast<std::uint64_t>(value);
}

std::int32_t emptyHistoryTime()
{
    return makeLocalTime(1975, 1, 23);
}

std::int32_t noReferenceTime()
{
    return makeLocalTime(1980, 1, 1);
}

} // namespace

std::size_t SecurityItem::insertQuotation(const Quotation& record)
{
    const auto place = placeFor(m_history, record.time);
    const auto inserted = m_history.insert(place, record);
    return static_cast<std::size_t>(inserted - m_history.begin());
}

namespace {

// Merges a batch into the history from the back. next() yields the batch records from
// the last to the first in the order they must end in; among equal times an old record
// stays behind the batch records.
template <typename Next>
void mergeFromBack(std::vector<Quotation>& history, std::size_t batchSize, Next next)
{
    const std::size_t oldSize = history.size();
    history.resize(oldSize + batchSize);
    std::size_t i = oldSize;
    std::size_t k = history.size();
    for (std::size_t left = batchSize; left > 0; --left) {
        const Quotation record = next();
        while (i > 0 && history[i - 1].time >= record.time)
            history[--k] = history[--i];
        history[--k] = record;
    }
}

} // namespace

void SecurityItem::insertQuotations(std::span<const Quotation> batch)
{
    // Inserted one by one, a later record goes before an earlier one of the same time,
    // and every batch record before the old records of its time. So the batch must
    // end in time order with each run of equal times reversed.
    const std::size_t m = batch.size();
    if (m == 0)
        return;
    if (std::is_sorted(batch.begin(), batch.end(), earlierThan)) {
        // Runs of equal times from the last to the first, each in its own order.
        std::size_t runStart = m;
        std::size_t runEnd = m;
        std::size_t at = m;
        mergeFromBack(m_history, m, [&] {
            if (at == runEnd) {
                runEnd = runStart;
                runStart = runEnd - 1;
                while (runStart > 0 && batch[runStart - 1].time == batch[runEnd - 1].time)
                    --runStart;
                at = runStart;
            }
            return batch[at++];
        });
        return;
    }
    if (std::is_sorted(batch.rbegin(), batch.rend(), earlierThan)) {
        // Descending: the wanted order is the batch reversed, so from the back it is
        // the batch from its first record on.
        std::size_t at = 0;
        mergeFromBack(m_history, m, [&] { return batch[at++]; });
        return;
    }
    std::vector<Quotation> sorted(batch.rbegin(), batch.rend());
    std::stable_sort(sorted.begin(), sorted.end(), earlierThan);
    std::size_t at = m;
    mergeFromBack(m_history, m, [&] { return sorted[--at]; });
}

bool SecurityItem::holdsQuotation(const Quotation& record) const
{
    if (m_history.empty() || record.time < m_history.front().time || record.time > m_history.back().time)
        return false;
    auto it = std::lower_bound(m_history.begin(), m_history.end(), record, earlierThan);
    for (; it != m_history.end() && it->time == record.time; ++it) {
        if (it->value == record.value)
            return true;
    }
    return false;
}

bool SecurityItem::holdsQuotationInMinute(const Quotation& record) const
{
    const std::int64_t time = record.time;
    const std::int64_t minute = (time >= 0 ? time : time - 59) / 60 * 60;
    auto it = std::lower_bound(m_history.begin(), m_history.end(), minute,
                               [](const Quotation& q, std::int64_t t) { return q.time < t; });
    for (; it != m_history.end() && it->time < minute + 60; ++it) {
        if (it->value == record.value)
            return true;
    }
    return false;
}

std::vector<Quotation> SecurityItem::newQuotations(std::span<const Quotation> batch) const
{
    // Equal records have equal times: the batch is walked in runs of one time, each run
    // against the history's records of that time. In a batch in time order, either way,
    // the runs stand together already; another batch is walked through a sorted index.
    std::vector<std::uint32_t> order;
    const bool ascending = std::is_sorted(batch.begin(), batch.end(), earlierThan);
    if (!ascending && !std::is_sorted(batch.rbegin(), batch.rend(), earlierThan)) {
        order.resize(batch.size());
        std::iota(order.begin(), order.end(), 0u);
        std::stable_sort(order.begin(), order.end(),
                         [&](std::uint32_t a, std::uint32_t b) { return batch[a].time < batch[b].time; });
    }
    const auto at = [&](std::size_t k) -> std::size_t { return order.empty() ? k : order[k]; };

    std::vector<bool> keep(batch.size(), true);
    std::size_t dropped = 0;
    // The values of one time with where they come from: the history (-1) or the batch
    // (its index). Sorted, the first of each value stays and the others are dropped.
    std::vector<std::pair<std::uint64_t, std::int64_t>> values;
    for (std::size_t runStart = 0; runStart < batch.size();) {
        const std::int32_t time = batch[at(runStart)].time;
        std::size_t runEnd = runStart + 1;
        while (runEnd < batch.size() && batch[at(runEnd)].time == time)
            ++runEnd;
        const bool inHistory = !m_history.empty() && time >= m_history.front().time && time <= m_history.back().time;
        if (runEnd - runStart == 1 && !inHistory) {
            runStart = runEnd;
            continue;
        }
        values.clear();
        if (inHistory) {
            auto it = std::lower_bound(m_history.begin(), m_history.end(), Quotation{time, 0.0}, earlierThan);
            for (; it != m_history.end() && it->time == time; ++it) {
                if (const auto key = valueKey(it->value))
                    values.emplace_back(*key, -1);
            }
        }
        for (std::size_t k = runStart; k < runEnd; ++k) {
            if (const auto key = valueKey(batch[at(k)].value))
                values.emplace_back(*key, static_cast<std::int64_t>(at(k)));
        }
        std::sort(values.begin(), values.end());
        for (std::size_t k = 1; k < values.size(); ++k) {
            if (values[k].first == values[k - 1].first && values[k].second >= 0) {
                keep[static_cast<std::size_t>(values[k].second)] = false;
                ++dropped;
            }
        }
        runStart = runEnd;
    }
    if (dropped == 0)
        return {batch.begin(), batch.end()};
    std::vector<Quotation> result;
    result.reserve(batch.size() - dropped);
    for (std::size_t i = 0; i < batch.size(); ++i) {
        if (keep[i])
            result.push_back(batch[i]);
    }
    return result;
}

int SecurityItem::modifyQuotation(std::size_t index, double value, std::int32_t time)
{
    if (index >= m_history.size())
        return -1;
    m_history.erase(m_history.begin() + static_cast<std::ptrdiff_t>(index));
    const bool wasOnly = m_history.empty();
    const std::size_t place = insertQuotation(Quotation{time, value});
    return wasOnly ? 0 : static_cast<int>(place) + 1;
}

bool SecurityItem::deleteQuotation(std::size_t index)
{
    if (index >= m_history.size())
        return false;
    m_history.erase(m_history.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

void SecurityItem::deleteAllQuotations()
{
    m_history.clear();
    m_history.shrink_to_fit();
}

bool SecurityItem::splitQuotations(std::size_t index, double divisor)
{
    if (!(divisor > 0.0))
        return false;
    adjustForSplit(m_settings, divisor);
    if (index < m_history.size()) {
        for (std::size_t i = 0; i <= index; ++i)
            m_history[i].value /= divisor;
    }
    return true;
}

void SecurityItem::invertQuotations()
{
    for (Quotation& record : m_history)
        record.value = 1.0 / record.value;
}

bool SecurityItem::lastTime(std::int32_t& time) const
{
    if (m_history.empty()) {
        time = emptyHistoryTime();
        return false;
    }
    time = m_history.back().time;
    return true;
}

bool SecurityItem::firstTime(std::int32_t& time) const
{
    if (m_history.empty()) {
        time = emptyHistoryTime();
        return false;
    }
    time = m_history.front().time;
    return true;
}

bool SecurityItem::lastValue(double& value) const
{
    value = m_history.empty() ? 0.0 : m_history.back().value;
    return !m_history.empty();
}

bool SecurityItem::lowHigh(double& low, double& high) const
{
    low = high = 0.0;
    if (m_history.empty())
        return false;
    low = high = m_history.back().value;
    for (auto it = m_history.rbegin() + 1; it != m_history.rend(); ++it) {
        if (it->value > high)
            high = it->value;
        else if (it->value < low)
            low = it->value;
    }
    return true;
}

bool SecurityItem::totalChangePercent(double& percent) const
{
    percent = 0.0;
    if (m_history.empty())
        return false;
    const double first = m_history.front().value;
    if (first != 0.0)
        percent = m_history.back().value * 100.0 / first - 100.0;
    return true;
}

bool SecurityItem::totalChange(double& change) const
{
    change = m_history.empty() ? 0.0 : m_history.back().value - m_history.front().value;
    return !m_history.empty();
}

const Quotation* SecurityItem::changeReference(bool sinceLastDay) const
{
    if (m_history.size() < 2)
        return nullptr;
    const Quotation& newest = m_history.back();
    if (!sinceLastDay)
        return &m_history[m_history.size() - 2];
    for (auto it = m_history.rbegin() + 1; it != m_history.rend(); ++it) {
        const std::int64_t hours = (static_cast<std::int64_t>(newest.time) - it->time) / 3600;
        if (hours >= 10)
            return &*it;
    }
    return nullptr;
}

bool SecurityItem::lastChangePercent(double& percent, bool sinceLastDay) const
{
    percent = 0.0;
    if (m_history.empty())
        return false;
    if (const Quotation* reference = changeReference(sinceLastDay)) {
        const double last = m_history.back().value;
        if (last != reference->value && reference->value != 0.0)
            percent = last * 100.0 / reference->value - 100.0;
    }
    return true;
}

bool SecurityItem::lastChange(double& change, bool sinceLastDay) const
{
    change = 0.0;
    if (m_history.empty())
        return false;
    if (const Quotation* reference = changeReference(sinceLastDay)) {
        if (reference->value != 0.0)
            change = m_history.back().value - reference->value;
    }
    return true;
}

bool SecurityItem::referenceTime(std::int32_t& time, bool sinceLastDay) const
{
    time = noReferenceTime();
    if (m_history.size() < 2)
        return false;
    const Quotation& newest = m_history.back();
    if (!sinceLastDay) {
        time = m_history[m_history.size() - 2].time;
        return true;
    }
    const int newestDay = breakLocalTime(newest.time).tm_mday;
    for (auto it = m_history.rbegin() + 1; it != m_history.rend(); ++it) {
        const std::int64_t days = (static_cast<std::int64_t>(newest.time) - it->time) / 86400;
        if (days >= 1 || breakLocalTime(it->time).tm_mday != newestDay) {
            if (&*it == &m_history.front())
                return false;
            time = it->time;
            return true;
        }
    }
    return false;
}

} // namespace tarvelo
