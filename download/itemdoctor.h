#pragma once

#include "download/downloadengine.h"
#include "download/ruledoctor.h"
#include "model/portfoliodocument.h"

#include <atomic>
#include <optional>
#include <string>
#include <vector>

// The doctor's visit of chosen items: their pages fetched exactly as an update fetches
// them, each search looked at, and the explanation in words. The window and the command
// line both run it.
namespace tarvelo {

// What the doctor knows of one chosen item besides its diagnosis.
struct DoctorPatient {
    ItemKey key;
    std::string name;
    std::string serverName; // empty for the item's own settings
    ServerConfig config;    // as the item downloads with it, its variables put in
    std::optional<RuleDiagnosis> diagnosis;
};

// Runs the doctor on an engine of its own. examine() blocks until every chosen item's
// page has been fetched and looked at, so the window runs it on a thread of its own;
// stop() may come from any thread and ends the downloads under way.
class ItemDoctor {
public:
    ItemDoctor(int downloadSlots, WorkerSettings settings);
    ItemDoctor(const ItemDoctor&) = delete;
    ItemDoctor& operator=(const ItemDoctor&) = delete;

    // Fetches the items' pages as an update would (same engine, same options, same
    // configuration) and diagnoses each, in the order given. The run applies what it
    // finds to doc, so doc must be one the caller throws away; nothing is saved. An item
    // whose page never came (the visit was stopped) is diagnosed from what is known.
    std::vector<DoctorPatient> examine(PortfolioDocument& doc, const std::vector<ItemKey>& items);
    void stop();
    bool stopped() const { return m_stopped.load(); }

private:
    DownloadEngine m_engine;
    WorkerSettings m_settings;
    std::atomic<bool> m_stopped{false};
};

// The parts of the explanation, for a front end that arranges them itself (the JSON).
std::string textPresenceText(TextPresence presence);
// "found V" for a value an update would store, else the status text.
std::string doctorResultText(const RuleDiagnosis& d);
// One piece of advice as a user acts on it; portfolio is the portfolio file's path.
std::string doctorAdviceText(RuleAdvice advice, const RuleDiagnosis& d, const DoctorPatient& p);

// The explanation of one diagnosed item, as lines "NAME: would (not) update" and
// "  label:  text", each ending in a line break.
std::string doctorExplanation(const DoctorPatient& p);

} // namespace tarvelo
