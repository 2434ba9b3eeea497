#pragma once

#include "model/quotation.h"
#include "platform/result.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// How each item's downloads have gone lately, kept beside (not in) its portfolio.
namespace tarvelo {

// A value an update found but did not store because it looked wrong; kept until the
// item's next update, and stored if the user accepts it.
struct HeldBackValue {
    Quotation quotation;
    double latest = 0.0;  // the item's latest value when it was held back
    std::string reason;   // the status text that reported it
    bool operator==(const HeldBackValue&) const = default;
};

struct ItemHealth {
    std::int64_t lastSuccess = 0; // when a download last stored a quotation; 0 = never
    int failures = 0;             // updates that failed since
    std::string lastReason;       // what the last failed update reported
    std::optional<HeldBackValue> heldBack;

    bool failing() const { return failures > 0; }
    // The last success in local time ("%x %H:%M"), or "never".
    std::string lastSuccessText() const;
    bool operator==(const ItemHealth&) const = default;
};

// Items are told apart by name and symbol, which is what a user sees of them.
struct HealthKey {
    std::string name;
    std::string symbol;
    auto operator<=>(const HealthKey&) const = default;
};

// The source health of one portfolio's items: a small text file under
// $XDG_STATE_HOME/tarvelo/ (default ~/.local/state), one per portfolio file. The window,
// the unattended run and the command line all write it; save() rereads the file under a
// lock and writes back only the entries this copy changed, so writers never undo what
// another recorded meanwhile.
class SourceHealth {
public:
    // An empty portfolioPath (a portfolio never saved) keeps the health in memory only.
    explicit SourceHealth(std::string portfolioPath = {});

    // The state file that belongs to a portfolio file: its base name and a hash of its
    // absolute path, so that two portfolios of the same name elsewhere do not share one.
    static std::string stateFileFor(const std::string& portfolioPath);
    const std::string& stateFile() const { return m_stateFile; }

    // Reads the file; a missing file is an empty record. A damaged line is passed over.
    Result<void> load();
    // Writes the entries changed since load() or the last save(), merged into the file
    // as it is now. Nothing changed, nothing written.
    Result<void> save();

    const ItemHealth* find(const HealthKey& key) const;
    const std::map<HealthKey, ItemHealth>& entries() const { return m_entries; }

    // A download stored a quotation at `when` (seconds since 1970 UTC).
    void recordSuccess(const HealthKey& key, std::int64_t when);
    // An update failed (the held-back value, when there is one, is kept with it).
    void recordFailure(const HealthKey& key, const std::string& reason,
                       std::optional<HeldBackValue> heldBack = std::nullopt);
    // The held-back value was accepted or is no longer wanted.
    void clearHeldBack(const HealthKey& key);
    // The item left the portfolio or was renamed.
    void forget(const HealthKey& key);
    // The item was renamed (or got another symbol): its entry goes with it, replacing
    // one the new key had. Nothing happens when the old key has no entry.
    void rename(const HealthKey& from, const HealthKey& to);

    bool anyFailing() const;

    // The file's text form, for tests and for the merge.
    static std::string serialize(const std::map<HealthKey, ItemHealth>& entries);
    static std::map<HealthKey, ItemHealth> parse(const std::string& text);

private:
    ItemHealth& touch(const HealthKey& key);

    std::string m_stateFile;
    std::map<HealthKey, ItemHealth> m_entries;
    std::map<HealthKey, bool> m_changed; // true: changed; false: forgotten
};

class SecurityItem;
struct ItemSettings;

// One item's line of the health table that the window and the command line show.
struct HealthRow {
    std::string name;
    std::string symbol;
    std::string configuration; // the named configuration, or "-- User defined --"
    ItemHealth health;         // all zero for an item the file does not know
};

// The configuration a row names: the item's named one, or "-- User defined --".
std::string configurationShown(const ItemSettings& settings);

// The items in portfolio order with their health; items without an entry are listed as
// never updated.
std::vector<HealthRow> healthRows(const std::vector<const SecurityItem*>& items, const SourceHealth& health);

} // namespace tarvelo
