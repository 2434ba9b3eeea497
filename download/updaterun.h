#pragma once

#include "download/downloadjob.h"
#include "download/messagesink.h"
#include "model/sourcehealth.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// One update of items' quotations, as the window and the command line run it.
namespace tarvelo {

class DownloadEngine;

// Starts the download jobs of an update, applies their results to the portfolio and
// tells its caller how the update goes and when it is over. It counts the downloads
// under way (from "Initialized" to the final message); the document marks the items
// that wait for theirs. While the engine aborts, a found quotation is dropped; the run
// ends the abort once the last item being updated has reported.
//
// A found value passes the plausibility check (checkDownloadedValue, against the item's
// latest value and its configuration's MaxChange) before it is stored; one that fails
// is held back and reported as DownloadCode::Implausible. When an item's download
// fails or its value is held back and its configuration names a fallback, the same
// item is tried once with the fallback (and with that one's fallback, at most
// kMaxFallbacks of them, never one the item has tried already) before its outcome is
// applied: the item stays marked as being updated meanwhile, so the run is not over.
// The item's outcome is the first plausible value that one of them found; else the
// first value held back, so that the user can accept it; else the last failure. An
// item's own configuration ("-- User defined --") has neither a limit nor a fallback:
// the portfolio file has no place for them.
//
// Two forms: the command line blocks in runToEnd(), which takes the messages from the
// run's own queue; the window hands each MessageId::DownloadStatus message that reaches
// its sink to deliver() on the thread that owns the document, and learns of the run's
// course through its callbacks.
class UpdateRun {
public:
    // The most fallback configurations tried for one item in one run.
    static constexpr std::size_t kMaxFallbacks = 3;

    struct Callbacks {
        // A message of the run, after it was applied to the portfolio. A final message
        // after which a fallback is tried is not passed on: the fallback's download
        // reports the item from its "Initialized" on.
        std::function<void(DownloadMessage&)> applied;
        // The count of downloads under way changed.
        std::function<void(int running)> runningChanged;
        // A final message left nothing under way: no download, no item waiting for one.
        std::function<void()> finished;
    };

    // The blocking form: the jobs post to the run's own queue, so a run that goes
    // before runToEnd() has finished waits for the end of its jobs; what they bring
    // then is not applied, and the pages they leave are deleted.
    UpdateRun(PortfolioDocument& doc, DownloadEngine& engine);
    // The callback form: the jobs post to sink, whose owner calls deliver().
    UpdateRun(PortfolioDocument& doc, DownloadEngine& engine, MessageSink& sink, Callbacks callbacks = {});
    ~UpdateRun();
    UpdateRun(const UpdateRun&) = delete;
    UpdateRun& operator=(const UpdateRun&) = delete;

    void setCallbacks(Callbacks callbacks) { m_callbacks = std::move(callbacks); }

    // Starts one job per distinct address among the items that are not being updated,
    // in the order of the items that open them; later items of the same address ride
    // along, and the job takes the largest of their timeouts. Marks the items. Returns
    // the number of jobs started.
    int start(const std::vector<ItemKey>& items);

    // Counts a message and, for the final message of an item update, applies it: a
    // found quotation is inserted (taken from the message), any other outcome ends the
    // item's update. Test messages change nothing. Then tells the callbacks.
    void deliver(DownloadMessage& message);

    // The blocking form: takes the messages of the run's jobs until the last job has
    // ended, and delivers each. onFinal sees the final message of every item's outcome
    // before it is applied: after the plausibility check (a found value as it will be
    // stored, or DownloadCode::Implausible) and after the fallbacks.
    void runToEnd(const std::function<void(DownloadMessage&)>& onFinal = {});

    // Whether failed items are tried with their configuration's fallback (on by
    // default; the doctor looks at each item's own configuration alone).
    void setTryFallbacks(bool on) { m_tryFallbacks = on; }

    // Stops the downloads under way; what they still bring is not applied.
    void abort();

    // Downloads under way: "Initialized" came, the final message not yet.
    int runningUpdates() const { return m_running; }
    // A download is under way or an item waits for one.
    bool underWay() const;
    // The items start() has marked, over the run's life.
    std::size_t itemsStarted() const { return m_itemsStarted; }

    // Keeps the source health of the portfolio's items: start() reads the portfolio's
    // health file when no update is under way, each final message of an item records
    // its success or failure (an aborted download records nothing), and the end of
    // the run writes the file. Off by default (a check that must leave no trace).
    void keepHealth(bool keep = true) { m_keepHealth = keep; }
    SourceHealth& health() { return m_health; }
    const SourceHealth& health() const { return m_health; }
    // Why the health file could not be written at the end of the last run; empty when
    // it was.
    const std::string& healthError() const { return m_healthError; }

private:
    // The value that an item's configurations held back first, kept while its
    // fallbacks are tried.
    struct HeldBackTry {
        Quotation quotation;
        std::optional<double> latest;
        std::string from;
    };
    // An item whose configuration has a limit or a fallback, while its update runs.
    struct ItemAttempt {
        std::int32_t maxChange = 0;     // of the configuration being tried
        std::string fallback;           // of the configuration being tried
        std::string from;               // the fallback being tried; empty: the item's own
        std::vector<std::string> tried; // the configurations tried, the item's own first
        std::optional<HeldBackTry> heldBack;
    };

    // Holds back a found value that fails the plausibility check.
    void checkFoundValue(DownloadMessage& message, const ItemAttempt* attempt);
    // Starts the item's next fallback after a failure; false when there is none to try.
    bool startFallback(DownloadMessage& message, ItemAttempt& attempt);
    // An outcome without a stored value becomes the value held back first, if any was.
    void preferHeldBackValue(DownloadMessage& message, const ItemAttempt& attempt);
    void recordHealth(const DownloadMessage& message, bool stored);

    PortfolioDocument& m_doc;
    DownloadEngine& m_engine;
    std::unique_ptr<MessageQueue> m_queue; // the blocking form's
    MessageSink& m_sink;
    Callbacks m_callbacks;
    int m_running = 0;
    std::size_t m_itemsStarted = 0;
    bool m_keepHealth = false;
    bool m_tryFallbacks = true;
    std::unordered_map<std::uint64_t, ItemAttempt> m_attempts;
    const std::function<void(DownloadMessage&)>* m_onFinal = nullptr; // during runToEnd()
    SourceHealth m_health;
    std::string m_healthError;
};

// The name and symbol that the health file knows an item by.
HealthKey healthKeyOf(const SecurityItem& item);

// The end of an update run that brought new quotations: they are saved into the
// portfolio's file as it is now (the downloads ran without the file's lock), merged
// with what another program saved meanwhile. A run that brought none leaves the file
// alone. report is told the message of a failed save, or the warning of a successful
// one. False when the save failed.
bool saveUpdatedQuotations(PortfolioDocument& doc, const std::function<void(const std::string& text, bool failed)>& report);

} // namespace tarvelo
