#pragma once

#include "download/downloadengine.h"
#include "download/jobreport.h"

#include <string>

// What a job makes of the page it brought, and the final messages it posts for it: the
// quotation of every item the page serves, the wizard's two conversions of the page, or
// the import's file as it came.
namespace tarvelo {

// A downloaded page's temporary file: removed with the object unless handed over to the
// receiver of a message.
class PageFile {
public:
    explicit PageFile(std::string path) : m_path(std::move(path)) {}
    ~PageFile();
    PageFile(const PageFile&) = delete;
    PageFile& operator=(const PageFile&) = delete;

    const std::string& path() const { return m_path; }
    // The file is the caller's from now on.
    std::string handOver();
    // Removes the file now.
    void discard();

private:
    std::string m_path;
};

// Searches the page for every item of the job; a page in which an item's quotation was
// not found (or every converted page, when the settings keep them) goes with its message.
void finishItems(const DownloadJob& job, const JobReporter& reporter, PageFile& page, PageFacts& facts,
                 const WorkerSettings& settings);
// Hands the page and its semi-html and text-only conversions to the wizard.
void finishWizard(const JobReporter& reporter, PageFile& page, PageFacts& facts);
// Hands the page as it came to the import.
void finishImport(const JobReporter& reporter, PageFile& page);

} // namespace tarvelo
