#pragma once

#include "download/downloadjob.h"

#include <memory>
#include <string>

namespace tarvelo {

struct WorkerSettings;

// Downloads one page as the configuration wizard (JobKind::Wizard) or the import
// (JobKind::Import) fetches it, on an engine of its own, and waits for the end. The
// final message, whose files are the caller's now; null only when the job posted none.
std::unique_ptr<DownloadMessage> downloadPage(JobKind kind, const std::string& url, const std::string& name,
                                              const std::string& symbol, const WorkerSettings& settings);

} // namespace tarvelo
