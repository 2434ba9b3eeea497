#include "download/downloadengine.h"

#include "download/address.h"
#include "download/jobfinish.h"
#include "download/jobreport.h"
#include "download/statustext.h"
#include "download/transfer.h"
#include "extraction/urltemplate.h"
#include "model/requestheaders.h"
#include "platform/localtime.h"
#include "platform/translation.h"

namespace tarvelo {

namespace {

// One job from "Initialized" to its final messages: the address checked, the page
// brought in (an address with date variables steps back up to three days while the
// page is missing), and what the page gives handed to the job's receiver.
void runJob(DownloadJob& job, std::uint32_t workerId, const WorkerControls& controls, const WorkerSettings& settings)
{
    PageFacts facts;
    JobReporter reporter(job, workerId);
    reporter.setPageFacts(&facts);
    reporter.postStatus(DownloadCode::Initialized);

    const TimeStamp now = currentTime();
    bool dated = false;
    const std::string today = expandDateVariables(job.url, 0, now, &dated);
    const Scheme scheme = splitAddress(job.url, settings.allowHttps);
    if (scheme == Scheme::None) {
        reporter.postStatus(DownloadCode::Error, DownloadError::WrongUrl);
        return;
    }
    const bool http = scheme != Scheme::File;
    // Headers a hand-edited settings file broke are never sent; the text names them only.
    if (http && !job.headers.empty()) {
        if (const std::string problem = requestHeadersProblem(job.headers); !problem.empty()) {
            reporter.postStatus(DownloadCode::Error, DownloadError::Other, problem);
            return;
        }
    }
    PageTransfer transfer(job, reporter, facts, controls, settings);
    if (http && !transfer.connect()) {
        reporter.postStatus(DownloadCode::Error, DownloadError::Other, translate("Download", "The internet library could not be started."));
        return;
    }

    const int tries = dated ? 4 : 1;
    using Outcome = PageTransfer::Outcome;
    Outcome outcome = Outcome::NotFound;
    long status = 0;
    std::string openError;
    for (int offset = 0; offset < tries; ++offset) {
        const std::string address = dated ? expandDateVariables(job.url, offset, now) : job.url;
        if (dated && splitAddress(address, settings.allowHttps) != scheme) {
            reporter.postStatus(DownloadCode::Error, DownloadError::WrongUrl);
            return;
        }
        outcome = transfer.fetch(address, status, openError);
        if (outcome != Outcome::NotFound)
            break;
    }

    switch (outcome) {
    case Outcome::Read:
        break;
    case Outcome::NotFound:
        if (dated)
            job.url = today;
        reporter.postStatus(DownloadCode::Error, DownloadError::FileNotFound, http ? std::string() : openError);
        return;
    case Outcome::HttpStatus:
    case Outcome::Redirect:
        if (dated)
            job.url = today;
        if (status >= 400 && status <= 599) {
            reporter.postStatus(DownloadCode::Error, status <= 499 ? DownloadError::BadUrl : DownloadError::Server);
        } else {
            // A status with no text of its own (304, 999, ...) is named by its number.
            reporter.postStatus(DownloadCode::Error, DownloadError::Other, serverStatusText(status));
        }
        return;
    case Outcome::Timeout:
        transfer.discardPage();
        reporter.postStatus(DownloadCode::Error, DownloadError::Timeout);
        return;
    case Outcome::Aborted:
        transfer.discardPage();
        reporter.postStatus(DownloadCode::Aborted);
        return;
    case Outcome::NoTempFile:
        reporter.postStatus(DownloadCode::Error, DownloadError::Other, translate("Download", kNoTempFile));
        return;
    case Outcome::NetworkError:
        transfer.discardPage();
        reporter.postStatus(DownloadCode::Error, DownloadError::Other, transfer.failureText());
        return;
    }

    // The whole page is in the file.
    PageFile page(transfer.takePage());
    if (transfer.stopRequested()) {
        page.discard();
        reporter.postStatus(DownloadCode::Aborted);
        return;
    }
    if (job.kind == JobKind::Wizard)
        finishWizard(reporter, page, facts);
    else if (job.kind == JobKind::Import)
        finishImport(reporter, page);
    else
        finishItems(job, reporter, page, facts, settings);
}

} // namespace

void downloadWorker(std::unique_ptr<DownloadJob> job, std::uint32_t workerId, const WorkerControls& controls,
                    const WorkerSettings& settings)
{
    runJob(*job, workerId, controls, settings);
}

} // namespace tarvelo
