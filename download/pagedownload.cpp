#include "download/pagedownload.h"

#include "download/downloadengine.h"

namespace tarvelo {

std::unique_ptr<DownloadMessage> downloadPage(JobKind kind, const std::string& url, const std::string& name,
                                              const std::string& symbol, const WorkerSettings& settings)
{
    MessageQueue queue;
    DownloadEngine engine(1);
    engine.setWorkerSettings(settings);
    if (kind == JobKind::Wizard)
        startWizardDownload(engine, queue, url, name, symbol);
    else
        startImportDownload(engine, queue, url, name, symbol);
    std::unique_ptr<DownloadMessage> final;
    while (MessageQueue::Posted posted = queue.take()) {
        if (isFinalCode(posted.message->code) && !final)
            final = std::move(posted.message);
    }
    return final;
}

} // namespace tarvelo
