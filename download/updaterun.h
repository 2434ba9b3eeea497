#pragma once

#include "download/downloadjob.h"
#include "download/messagesink.h"
#include "model/sourcehealth.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
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
// Two forms: the command line blocks in runToEnd(), which takes the messages from the
// run's own queue; the window hands each MessageId::DownloadStatus message that reaches
// its sink to deliver() on the thread that owns the document, and learns of the run's
// course through its callbacks.
class UpdateRun {
public:
    struct Callbacks {
        // A message of the run, after it was applied to the portfolio.
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
    // ended, and delivers each. onFinal sees every final message of an item as the
    // worker sent it, before it is applied.
    void runToEnd(const std::function<void(DownloadMessage&)>& onFinal = {});

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
    void recordHealth(const DownloadMessage& message, bool stored);

    PortfolioDocument& m_doc;
    DownloadEngine& m_engine;
    std::unique_ptr<MessageQueue> m_queue; // the blocking form's
    MessageSink& m_sink;
    Callbacks m_callbacks;
    int m_running = 0;
    std::size_t m_itemsStarted = 0;
    bool m_keepHealth = false;
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
