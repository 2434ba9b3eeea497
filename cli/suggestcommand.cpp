#include "cli/cli.h"
#include "cli/commandoptions.h"
#include "cli/commands.h"
#include "cli/json.h"
#include "download/downloadengine.h"
#include "download/pagedownload.h"
#include "download/statustext.h"
#include "extraction/page.h"
#include "extraction/pagecharset.h"
#include "extraction/rulecandidates.h"
#include "platform/codepage.h"
#include "platform/shellword.h"
#include "platform/utf8.h"
#include "platform/files.h"

#include <cstdio>
#include <ostream>

namespace tarvelo {

namespace {

// An address that is fetched as the wizard fetches it; anything else names a saved page.
bool isAddress(std::string_view page)
{
    const auto startsWith = [&](std::string_view scheme) {
        if (page.size() < scheme.size())
            return false;
        for (std::size_t i = 0; i < scheme.size(); ++i) {
            if (lowerCp1252(page[i]) != scheme[i])
                return false;
        }
        return true;
    };
    return startsWith("http://") || startsWith("https://") || startsWith("file://");
}

// The page text of the conversion, and the page before conversion, both in Windows-1252;
// and the page as it came, which the JSON search reads.
struct SuggestPage {
    std::string text;
    std::string raw;
    std::string downloaded;
};

// The page of a page file, or an empty optional with the problem reported.
std::optional<SuggestPage> filePage(const std::string& path, Conversion conversion, std::ostream& err)
{
    std::string raw;
    if (const FileError error = readWholeFile(path, raw); error != FileError::None) {
        reportFileError(err, path, error == FileError::NotFound ? "cannot find this file" : "cannot read this file");
        return std::nullopt;
    }
    return SuggestPage{candidatePageText(raw, conversion), candidatePageText(raw, Conversion::None), raw};
}

// The page of an address, fetched as the wizard fetches it; the wizard download's files
// are deleted again.
std::optional<SuggestPage> downloadedPage(const std::string& address, Conversion conversion, const std::string& name,
                                          const std::string& symbol, std::ostream& err)
{
    const std::unique_ptr<DownloadMessage> done =
        downloadPage(JobKind::Wizard, address, name, symbol, readWorkerSettings());
    if (!done || done->code != DownloadCode::Done) {
        // The status text the window shows ("Error: File not found: /x", the network's words).
        const std::string why = done ? connectionStatusText(*done) : "the download failed";
        err << "tarvelo-cli: " << address << ": " << why << '\n';
        return std::nullopt;
    }
    // The two conversions are ready; the raw page is as it came, and the worker has said
    // whether it came in UTF-8 (by the header or a meta tag).
    std::optional<SuggestPage> page;
    std::string raw;
    if (readWholeFile(done->rawFile, raw) == FileError::None) {
        std::string downloaded = raw;
        if (done->page.convertedFromUtf8)
            raw = utf8PageToCp1252(raw);
        blankNulBytes(raw);
        std::string text;
        if (conversion == Conversion::None) {
            page = SuggestPage{raw, raw, std::move(downloaded)};
        } else if (readWholeFile(conversion == Conversion::SemiHtml ? done->semiHtmlFile : done->convertedFile, text)
                   == FileError::None) {
            blankNulBytes(text);
            page = SuggestPage{std::move(text), std::move(raw), std::move(downloaded)};
        }
    }
    for (const std::string* file : {&done->rawFile, &done->semiHtmlFile, &done->convertedFile}) {
        if (!file->empty())
            std::remove(file->c_str());
    }
    if (!page)
        err << "tarvelo-cli: " << address << ": the downloaded page cannot be read\n";
    return page;
}

void printCandidate(std::ostream& out, const RuleCandidate& c, std::string_view name, std::string_view symbol)
{
    // The candidate's text stands as in the page, which is searched in Windows-1252.
    const std::string text = cp1252ToUtf8(c.text);
    if (c.jsonPath.empty())
        out << "{\"text\":" << json::text(text) << ",\"conversion\":" << storedNumber(c.conversion)
            << ",\"tags\":" << c.tags << ",\"numbers\":" << c.numbers;
    else
        out << "{\"json\":" << json::text(c.jsonPath) << ",\"jsonDate\":" << json::text(c.jsonDatePath);
    out << ",\"thousands\":" << json::text(c.format.thousands)
        << ",\"decimal\":" << json::text(c.format.decimal)
        << ",\"format\":" << json::text(cp1252ToUtf8(formatShown({utf8ToCp1252(c.format.thousands),
                                                                  utf8ToCp1252(c.format.decimal)})))
        << ",\"start\":" << c.start << ",\"length\":" << c.length
        << ",\"description\":" << json::text(describeCandidate(c));
    if (c.jsonPath.empty())
        out << ",\"template\":" << json::text(textToTemplate(text, name, symbol));
    out
        // Only rules under which the search reads the typed value are listed.
        << ",\"verified\":true}\n";
}

// Why nothing was found and what to try; with a ready expression and a page file, the
// extract command that reads the value with it.
void printExplanation(std::ostream& err, const CandidateExplanation& e, const std::string& page, Conversion conversion)
{
    if (e.why.empty())
        return;
    err << "tarvelo-cli: " << e.why << '\n' << "tarvelo-cli: try: " << e.advice << '\n';
    if (!e.expression.empty() && !isAddress(page))
        err << "tarvelo-cli: check: tarvelo-cli extract " << shellWord(page) << " --conversion "
            << storedNumber(conversion) << " --regexp " << shellWord(e.expression) << " --index 1 --thousands "
            << shellWord(e.expressionFormat.thousands) << " --decimal " << shellWord(e.expressionFormat.decimal)
            << '\n';
}

} // namespace

int suggestCommand(const CommandContext& c)
{
    CommandOptions o;
    if (!o.parse(c.args, {"conversion", "name", "symbol", "thousands", "decimal"}))
        return wrongCall(c.err, o.error());
    if (o.positional().size() != 2)
        return wrongCall(c.err, "suggest takes a page file or address and the quotation shown in it");
    std::optional<int> conversion;
    if (!o.integer("conversion", 0, 2, conversion))
        return wrongCall(c.err, o.error());
    const std::string& pageName = o.positional()[0];
    CandidateRequest request;
    request.quotation = validUtf8(o.positional()[1]);
    request.itemName = validUtf8(o.text("name").value_or(""));
    request.itemSymbol = validUtf8(o.text("symbol").value_or(""));
    // The format of a new configuration unless given; it decides where the typed value
    // and the page leave the format open.
    const ServerConfig defaults;
    request.preferred = {validUtf8(o.text("thousands").value_or(defaults.thousandsSeparator)),
                         validUtf8(o.text("decimal").value_or(defaults.decimalSeparator))};
    request.conversion = conversion ? Conversion{*conversion} : Conversion::SemiHtml;

    const std::optional<SuggestPage> page =
        isAddress(pageName) ? downloadedPage(pageName, request.conversion, request.itemName, request.itemSymbol, c.err)
                            : filePage(pageName, request.conversion, c.err);
    if (!page)
        return kExitError;
    request.page = page->text;
    request.rawPage = page->raw;
    request.downloaded = page->downloaded;

    const CandidateSearch search = generateCandidates(request);
    for (const RuleCandidate& candidate : search.candidates)
        printCandidate(c.out, candidate, request.itemName, request.itemSymbol);
    if (search.outcome != CandidateOutcome::Done) {
        c.err << "tarvelo-cli: " << search.message << '\n';
        printExplanation(c.err, search.explanation, pageName, request.conversion);
        return kExitFailed;
    }
    if (search.candidates.empty()) {
        c.err << "tarvelo-cli: no extraction rule finds the quotation in this page\n";
        printExplanation(c.err, search.explanation, pageName, request.conversion);
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace tarvelo
