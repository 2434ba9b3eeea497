#include "model/documentedit.h"

#include "model/itemsettings.h"
#include "model/securityitem.h"
#include "model/sharedfilesession.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <numeric>
#include <utility>

namespace tarvelo {

namespace {

// Numbers in a byte stream, seven bits a byte, the low ones first.
void putNumber(std::vector<std::uint8_t>& out, std::uint64_t value)
{
    while (value >= 0x80) {
        out.push_back(static_cast<std::uint8_t>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<std::uint8_t>(value));
}

std::uint64_t takeNumber(const std::uint8_t*& at, const std::uint8_t* end)
{
    std::uint64_t value = 0;
    for (int shift = 0; at != end && shift < 64; shift += 7) {
        const std::uint8_t byte = *at++;
        value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0)
            break;
    }
    return value;
}

// A run of places: start, and how many follow it.
struct Run {
    std::size_t start;
    std::size_t length;
};

// Collects ascending places into runs: one run is kept as first and count, more are coded
// as (gap after the previous run, length) pairs.
class PlaceCollector {
public:
    void add(std::size_t place)
    {
        if (m_length > 0 && place == m_start + m_length) {
            ++m_length;
            return;
        }
        close();
        m_start = place;
        m_length = 1;
    }
    template <typename Records>
    void finish(Records& records)
    {
        records.count = m_total + m_length;
        if (m_runs == 0) {
            records.first = m_start;
            return;
        }
        close();
        records.places = std::move(m_places);
        records.places.shrink_to_fit();
    }

private:
    void close()
    {
        if (m_length == 0)
            return;
        putNumber(m_places, m_start - m_end);
        putNumber(m_places, m_length);
        m_end = m_start + m_length;
        m_total += m_length;
        m_length = 0;
        ++m_runs;
    }

    std::vector<std::uint8_t> m_places;
    std::size_t m_start = 0;
    std::size_t m_length = 0;
    std::size_t m_end = 0;
    std::size_t m_total = 0;
    std::size_t m_runs = 0;
};

template <typename Records>
std::vector<Run> runsOf(const Records& records)
{
    if (records.places.empty())
        return {{records.first, records.count}};
    std::vector<Run> runs;
    const std::uint8_t* at = records.places.data();
    const std::uint8_t* end = at + records.places.size();
    std::size_t previousEnd = 0;
    while (at != end) {
        const std::size_t start = previousEnd + takeNumber(at, end);
        const std::size_t length = takeNumber(at, end);
        runs.push_back({start, length});
        previousEnd = start + length;
    }
    return runs;
}

// Takes the records at the places out of the history, in order. The places must lie
// within the history.
std::vector<Quotation> removeAt(std::vector<Quotation>& history, const std::vector<Run>& runs)
{
    if (runs.size() == 1 && runs[0].start == 0 && runs[0].length == history.size())
        return std::exchange(history, {});
    std::vector<Quotation> removed;
    if (runs.size() == 1 && runs[0].length == 1) {
        const auto at = history.begin() + static_cast<std::ptrdiff_t>(runs[0].start);
        removed.push_back(*at);
        history.erase(at);
        return removed;
    }
    std::size_t total = 0;
    for (const Run& run : runs)
        total += run.length;
    removed.reserve(total);
    std::size_t write = runs.front().start;
    std::size_t read = write;
    for (const Run& run : runs) {
        while (read < run.start)
            history[write++] = history[read++];
        removed.insert(removed.end(), history.begin() + static_cast<std::ptrdiff_t>(run.start),
                       history.begin() + static_cast<std::ptrdiff_t>(run.start + run.length));
        read = run.start + run.length;
    }
    while (read < history.size())
        history[write++] = history[read++];
    history.resize(write);
    return removed;
}

// Puts the records back at the places they will have, which ascend.
void insertAt(std::vector<Quotation>& history, const std::vector<Run>& runs, std::vector<Quotation> records)
{
    if (history.empty()) {
        history = std::move(records);
        return;
    }
    if (records.size() == 1) {
        history.insert(history.begin() + static_cast<std::ptrdiff_t>(runs.front().start), records.front());
        return;
    }
    // Merged from the back, in place.
    std::size_t read = history.size();
    history.resize(history.size() + records.size());
    std::size_t write = history.size();
    std::size_t next = records.size();
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        const std::size_t end = run->start + run->length;
        while (write > end)
            history[--write] = history[--read];
        for (std::size_t i = 0; i < run->length; ++i)
            history[--write] = records[--next];
    }
}

// Whether the runs fit a history of `size` records (`grown` more after an insertion).
bool runsFit(const std::vector<Run>& runs, std::size_t size, std::size_t count)
{
    std::size_t total = 0;
    for (const Run& run : runs)
        total += run.length;
    return total == count && !runs.empty() && runs.back().start + runs.back().length <= size;
}

bool sameBits(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// Corrections of values that the opposite arithmetic gives back one step off, or not at
// all: per record, the gap since the last corrected one and a code, (gap << 2) | code;
// code 0 the next double up, 1 the next one down, 2 the exact value in 8 bytes after it.
class CorrectionWriter {
public:
    explicit CorrectionWriter(std::vector<std::uint8_t>& out) : m_out(out) {}
    void check(std::size_t index, double original, double back)
    {
        if (sameBits(original, back))
            return;
        std::uint64_t code = 2;
        if (sameBits(original, std::nextafter(back, std::numeric_limits<double>::infinity())))
            code = 0;
        else if (sameBits(original, std::nextafter(back, -std::numeric_limits<double>::infinity())))
            code = 1;
        putNumber(m_out, ((index - m_next) << 2) | code);
        if (code == 2) {
            std::uint8_t bytes[8];
            std::memcpy(bytes, &original, 8);
            m_out.insert(m_out.end(), bytes, bytes + 8);
        }
        m_next = index + 1;
    }

private:
    std::vector<std::uint8_t>& m_out;
    std::size_t m_next = 0;
};

void applyCorrections(std::vector<Quotation>& history, const std::vector<std::uint8_t>& corrections)
{
    const std::uint8_t* at = corrections.data();
    const std::uint8_t* end = at + corrections.size();
    std::size_t next = 0;
    while (at != end) {
        const std::uint64_t coded = takeNumber(at, end);
        const std::size_t index = next + static_cast<std::size_t>(coded >> 2);
        if (index >= history.size())
            return;
        double& value = history[index].value;
        switch (coded & 3) {
        case 0: value = std::nextafter(value, std::numeric_limits<double>::infinity()); break;
        case 1: value = std::nextafter(value, -std::numeric_limits<double>::infinity()); break;
        default:
            if (end - at < 8)
                return;
            std::memcpy(&value, at, 8);
            at += 8;
            break;
        }
        next = index + 1;
    }
}

} // namespace

DocumentEdit::DocumentEdit(std::uint64_t contents) : m_contents(contents) {}

DocumentEdit::~DocumentEdit() = default;

void DocumentEdit::itemAdded(ItemKey pos, std::size_t index)
{
    m_changes.emplace_back(ItemPlace{pos.key, index, nullptr});
}

void DocumentEdit::itemRemoved(ItemKey pos, std::size_t index, std::unique_ptr<SecurityItem> item)
{
    if (item)
        m_changes.emplace_back(ItemPlace{pos.key, index, std::move(item)});
}

void DocumentEdit::settingsReplaced(ItemKey pos, const ItemSettings& before, const ItemSettings& after)
{
    if (before != after)
        m_changes.emplace_back(Settings{pos.key, std::make_unique<ItemSettings>(before)});
}

void DocumentEdit::quotationInserted(ItemKey pos, std::size_t index, std::optional<QuotationAddition> addition)
{
    Records records;
    records.key = pos.key;
    records.first = index;
    records.count = 1;
    records.inHistory = true;
    records.addition = addition;
    m_changes.emplace_back(std::move(records));
}

void DocumentEdit::quotationsInserted(ItemKey pos, const std::vector<Quotation>& history,
                                      std::span<const Quotation> batch)
{
    if (batch.empty())
        return;
    // Inserted one by one, each record goes before every record of its time: the batch
    // ends in time order, a later record of the batch before an earlier one of the same
    // time, all of them before the old records of their time.
    std::vector<std::uint32_t> order(batch.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return batch[a].time != batch[b].time ? batch[a].time < batch[b].time : a > b;
    });
    PlaceCollector places;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::int32_t time = batch[order[k]].time;
        const auto older = std::lower_bound(history.begin(), history.end(), time,
                                            [](const Quotation& q, std::int32_t t) { return q.time < t; });
        places.add(k + static_cast<std::size_t>(older - history.begin()));
    }
    Records records;
    records.key = pos.key;
    places.finish(records);
    records.inHistory = true;
    records.addition = QuotationAddition::Batch;
    m_changes.emplace_back(std::move(records));
}

void DocumentEdit::quotationRemoved(ItemKey pos, std::size_t index, const Quotation& record)
{
    Records records;
    records.key = pos.key;
    records.first = index;
    records.count = 1;
    records.records = {record};
    m_changes.emplace_back(std::move(records));
}

void DocumentEdit::historyRemoved(ItemKey pos, std::vector<Quotation> history)
{
    if (history.empty())
        return;
    Records records;
    records.key = pos.key;
    records.first = 0;
    records.count = history.size();
    records.records = std::move(history);
    m_changes.emplace_back(std::move(records));
}

void DocumentEdit::valuesDivided(ItemKey pos, const std::vector<Quotation>& history, std::size_t upTo, double divisor)
{
    if (upTo >= history.size() || !(divisor > 0.0))
        return;
    Values values;
    values.key = pos.key;
    values.count = upTo + 1;
    values.divisor = divisor;
    CorrectionWriter corrections(values.corrections);
    for (std::size_t i = 0; i < values.count; ++i)
        corrections.check(i, history[i].value, history[i].value / divisor * divisor);
    values.corrections.shrink_to_fit();
    m_changes.emplace_back(std::move(values));
}

void DocumentEdit::valuesInverted(ItemKey pos, const std::vector<Quotation>& history)
{
    if (history.empty())
        return;
    Values values;
    values.key = pos.key;
    values.count = history.size();
    CorrectionWriter corrections(values.corrections);
    for (std::size_t i = 0; i < values.count; ++i)
        corrections.check(i, history[i].value, 1.0 / (1.0 / history[i].value));
    values.corrections.shrink_to_fit();
    m_changes.emplace_back(std::move(values));
}

void DocumentEdit::flip(PortfolioDocument& doc, bool backwards)
{
    SharedFileSession& session = *doc.m_session;
    const auto flipOne = [&](Change& change) {
        if (auto* place = std::get_if<ItemPlace>(&change)) {
            const ItemKey pos{place->key};
            if (!place->item) {
                place->item = doc.takeItem(pos, place->index);
                // An item added since the file was read is simply not added; one of the
                // file is a change a merge cannot carry.
                if (place->item && !session.forgetAdded(pos))
                    session.recordOtherChange();
            } else if (!doc.isValid(pos)) {
                const bool last = place->index >= doc.m_items.size();
                doc.putItem(pos, place->index, std::move(place->item));
                session.recordAddedAgain(pos);
                if (!last)
                    session.recordOtherChange();
            }
            return;
        }
        if (auto* settings = std::get_if<Settings>(&change)) {
            if (SecurityItem* item = doc.find(ItemKey{settings->key})) {
                std::swap(item->settings(), *settings->other);
                session.recordOtherChange();
            }
            return;
        }
        if (auto* records = std::get_if<Records>(&change)) {
            const ItemKey pos{records->key};
            SecurityItem* item = doc.find(pos);
            if (!item)
                return;
            std::vector<Quotation>& history = item->editableHistory();
            const std::vector<Run> runs = runsOf(*records);
            if (records->inHistory) {
                if (!runsFit(runs, history.size(), records->count))
                    return;
                records->records = removeAt(history, runs);
                records->inHistory = false;
                // An undone addition leaves the journal, so that no merge adds it again.
                if (session.withdrawInserted(pos, records->records) < records->records.size())
                    session.recordOtherChange();
                return;
            }
            if (records->records.size() != records->count
                || !runsFit(runs, history.size() + records->count, records->count))
                return;
            if (!records->addition) {
                session.recordOtherChange();
            } else if (*records->addition == QuotationAddition::Downloaded) {
                for (const Quotation& record : records->records)
                    session.recordInserted(pos, ItemIdentity::of(*item), {record}, QuotationAddition::Downloaded);
            } else {
                session.recordInserted(pos, ItemIdentity::of(*item), records->records, *records->addition);
            }
            insertAt(history, runs, std::exchange(records->records, {}));
            records->inHistory = true;
            return;
        }
        auto& values = std::get<Values>(change);
        SecurityItem* item = doc.find(ItemKey{values.key});
        if (!item || values.count > item->history().size())
            return;
        std::vector<Quotation>& history = item->editableHistory();
        const double divisor = values.divisor;
        if (values.applied) {
            for (std::size_t i = 0; i < values.count; ++i)
                history[i].value = divisor > 0.0 ? history[i].value * divisor : 1.0 / history[i].value;
            applyCorrections(history, values.corrections);
        } else {
            for (std::size_t i = 0; i < values.count; ++i)
                history[i].value = divisor > 0.0 ? history[i].value / divisor : 1.0 / history[i].value;
        }
        values.applied = !values.applied;
        session.recordOtherChange();
    };
    if (backwards) {
        for (auto change = m_changes.rbegin(); change != m_changes.rend(); ++change)
            flipOne(*change);
    } else {
        for (Change& change : m_changes)
            flipOne(change);
    }
}

DocumentChange DocumentEdit::notice() const
{
    // Changes of one item's settings and history name it; anything else, items put
    // into or taken out of the list or several items, is shown afresh.
    std::uint64_t key = 0;
    for (const Change& change : m_changes) {
        if (std::holds_alternative<ItemPlace>(change))
            return {};
        const std::uint64_t own = std::visit([](const auto& c) { return c.key; }, change);
        if (key != 0 && own != key)
            return {};
        key = own;
    }
    return {DocumentChange::Kind::Item, ItemKey{key}};
}

} // namespace tarvelo
