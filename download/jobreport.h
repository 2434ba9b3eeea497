#pragma once

#include "download/downloadjob.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// The messages a worker posts for its job: one per item the page serves, or one without
// an item for a wizard or import page.
namespace tarvelo {

class JobReporter {
public:
    JobReporter(DownloadJob& job, std::uint32_t worker) : m_job(job), m_worker(worker) {}

    // What the worker saw of the page, told with every final message from now on.
    void setPageFacts(const PageFacts* facts) { m_facts = facts; }

    // A message of the job; a final one tells what the worker saw of the page.
    std::unique_ptr<DownloadMessage> message(DownloadCode code) const;
    // A message for one item of the job, with what the worker saw of the page.
    std::unique_ptr<DownloadMessage> itemMessage(DownloadCode code, const DownloadItemEntry& entry) const;
    // The same status for every item of the job (or once, for a job without items).
    void postStatus(DownloadCode code, DownloadError detail = DownloadError::None, const std::string& errorText = {},
                    int kilobytes = 0) const;
    void post(std::unique_ptr<DownloadMessage> message) const;

private:
    DownloadJob& m_job;
    const std::uint32_t m_worker;
    const PageFacts* m_facts = nullptr;
};

// What a job that never ran reports, because the engine shut down before its turn:
// "Initialized", then "Aborted", for every item.
void reportNotRun(DownloadJob& job, std::uint32_t worker);

} // namespace tarvelo
