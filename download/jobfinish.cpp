#include "download/jobfinish.h"

#include "download/pagecopy.h"
#include "extraction/extract.h"
#include "extraction/page.h"
#include "extraction/pagecharset.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/inputfile.h"
#include "platform/localtime.h"
#include "platform/mappedfile.h"
#include "platform/tempfile.h"
#include "platform/translation.h"

#include <map>
#include <string_view>
#include <unistd.h>
#include <utility>

namespace tarvelo {

namespace {

// Pages below this size are converted and searched in memory.
constexpr std::size_t kInMemoryPage = 8u << 20;
// The character set the page declares; a UTF-8 page is searched in the code page.
void readCharset(PageFacts& facts, std::string_view pageStart)
{
    const CharsetDeclaration declared = declaredCharset(facts.contentType, pageStart.substr(0, kCharsetSniffBytes));
    facts.charset = declared.name;
    facts.charsetSource = declared.source;
    facts.convertedFromUtf8 = declared.charset == PageCharset::Utf8;
}

// The file the conversions read: the download itself, or its copy in the code page when
// it came as UTF-8 (the copy goes with searchFile). False when that copy could not be
// written.
bool prepareSearchFile(const PageFile& page, PageFacts& facts, std::unique_ptr<PageFile>& searchFile)
{
    char start[kCharsetSniffBytes];
    std::size_t got = 0;
    InputFile input;
    if (input.open(page.path()) == FileError::None) {
        while (got < sizeof start) {
            const std::ptrdiff_t n = input.read(start + got, sizeof start - got);
            if (n <= 0)
                break;
            got += static_cast<std::size_t>(n);
        }
    }
    input.close();
    readCharset(facts, std::string_view(start, got));
    if (!facts.convertedFromUtf8)
        return true;
    searchFile = std::make_unique<PageFile>(codePageCopy(page.path()));
    return !searchFile->path().empty();
}

// The converted page as the receiver gets it: in UTF-8 again when the page came so
// (empty when that copy could not be written).
std::string handOver(const PageFacts& facts, const std::string& convertedFile)
{
    if (!facts.convertedFromUtf8)
        return convertedFile;
    std::string copy = utf8Copy(convertedFile);
    ::unlink(convertedFile.c_str());
    return copy;
}

} // namespace

PageFile::~PageFile()
{
    discard();
}

std::string PageFile::handOver()
{
    return std::exchange(m_path, std::string());
}

void PageFile::discard()
{
    if (!m_path.empty())
        ::unlink(m_path.c_str());
    m_path.clear();
}

void finishWizard(const JobReporter& reporter, PageFile& page, PageFacts& facts)
{
    std::string semiHtml = createTempFile("QVX");
    std::string textOnly = createTempFile("QVX");
    std::unique_ptr<PageFile> searchFile;
    const bool prepared = prepareSearchFile(page, facts, searchFile);
    const std::string& source = searchFile ? searchFile->path() : page.path();
    if (!prepared || semiHtml.empty() || textOnly.empty() || !convertPage(Conversion::SemiHtml, source, semiHtml)
        || !convertPage(Conversion::TextOnly, source, textOnly)) {
        if (!semiHtml.empty())
            ::unlink(semiHtml.c_str());
        if (!textOnly.empty())
            ::unlink(textOnly.c_str());
        searchFile.reset();
        page.discard();
        reporter.postStatus(DownloadCode::Error, DownloadError::Other, translate("Download", kNoTempFile));
        return;
    }
    auto m = reporter.message(DownloadCode::Done);
    m->rawFile = page.handOver(); // the files belong to the receiver now
    m->semiHtmlFile = semiHtml;
    m->convertedFile = textOnly;
    reporter.post(std::move(m));
}

void finishImport(const JobReporter& reporter, PageFile& page)
{
    auto m = reporter.message(DownloadCode::Done);
    m->rawFile = page.handOver();
    reporter.post(std::move(m));
}

void finishItems(const DownloadJob& job, const JobReporter& reporter, PageFile& page, PageFacts& facts,
                 const WorkerSettings& settings)
{
    // A page of moderate size is converted once per conversion in memory and searched
    // there; only a page in which the quotation was not found is written to a file of
    // its own for the receiver. Larger pages go through files, so the worker's memory
    // does not grow with the page.
    MappedFile raw;
    const bool inMemory = raw.open(page.path()) == FileError::None && raw.size() < kInMemoryPage;
    std::string converted;
    std::unique_ptr<PageFile> searchFile;
    bool prepared = true;
    if (inMemory) {
        const std::string_view downloaded(raw.data(), raw.size());
        readCharset(facts, downloaded);
        if (facts.convertedFromUtf8)
            converted = utf8PageToCp1252(downloaded);
    } else {
        raw.close();
        prepared = prepareSearchFile(page, facts, searchFile);
    }
    const std::string_view searched = !inMemory || !facts.convertedFromUtf8 ? std::string_view(raw.data(), raw.size())
                                                                            : std::string_view(converted);
    const bool keep = settings.keepConvertedPages;
    std::map<Conversion, std::string> conversions;
    for (const DownloadItemEntry& entry : job.entries) {
        auto m = reporter.itemMessage(DownloadCode::None, entry);
        ExtractionResult result;
        if (inMemory) {
            // The page text of the entry's conversion, made once per job.
            const auto pageText = [&]() -> const std::string& {
                auto found = conversions.find(searchConversion(entry.config));
                if (found == conversions.end()) {
                    std::string text = convertPageText(searchConversion(entry.config), searched);
                    blankNulBytes(text);
                    found = conversions.emplace(searchConversion(entry.config), std::move(text)).first;
                }
                return found->second;
            };
            // The JSON search reads the page as it came: its reader decodes UTF-8 itself,
            // and keys outside Windows-1252 must not turn into "?". The converted text is
            // then made only for the file of a page kept or not found.
            result = entry.config.searchKind == SearchKind::JsonPath
                         ? runExtractionOnPage(entry.config, std::string_view(raw.data(), raw.size()), currentTime())
                         : runExtractionOnPage(entry.config, pageText(), currentTime());
            if (result.code != kFound || keep) {
                const std::string& text = pageText();
                m->convertedFile = createTempFile("QVX");
                const std::string shown = facts.convertedFromUtf8 ? cp1252ToUtf8(text) : std::string();
                if (m->convertedFile.empty()
                    || writeWholeFile(m->convertedFile, facts.convertedFromUtf8 ? shown : text) != FileError::None) {
                    if (!m->convertedFile.empty())
                        ::unlink(m->convertedFile.c_str());
                    m->convertedFile.clear();
                }
            }
        } else {
            const std::string convertedFile = prepared ? createTempFile("QVX") : std::string();
            const std::string& source = searchFile ? searchFile->path() : page.path();
            if (convertedFile.empty() || !convertPage(searchConversion(entry.config), source, convertedFile)) {
                if (!convertedFile.empty())
                    ::unlink(convertedFile.c_str());
                m->code = DownloadCode::Error;
                m->detail = DownloadError::Other;
                m->errorText = translate("Download", kNoTempFile);
                reporter.post(std::move(m));
                continue;
            }
            result = runExtraction(entry.config,
                                   entry.config.searchKind == SearchKind::JsonPath ? page.path() : convertedFile,
                                   currentTime());
            if (result.code == kFound && !keep) {
                ::unlink(convertedFile.c_str());
            } else {
                m->convertedFile = handOver(facts, convertedFile);
            }
        }
        m->extractionMessage = result.message;
        switch (result.code) {
        case kFound:
            m->code = DownloadCode::Done;
            m->quotation = std::make_unique<Quotation>(Quotation{result.time, result.value});
            break;
        case kTextNotFound:
            m->code = DownloadCode::TextNotFound;
            break;
        case kInvalidNumber:
            m->code = DownloadCode::InvalidValue;
            break;
        default:
            m->code = DownloadCode::NotFound;
            break;
        }
        reporter.post(std::move(m));
    }
}

} // namespace tarvelo
