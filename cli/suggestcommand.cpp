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
#include "platform/utf8.h"
#include "platform/files.h"

#include <cstdio>
#include <ostream>

namespace tarvelo {

namespace {

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
    return startsWith("http://") || startsWith("https://");
}

// The page text of the conversion from a page file, or an empty optional with the
// problem reported.
std::optional<std::string> filePageText(const std::string& path, Conversion conversion, std::ostream& err)
{
    std::string raw;
    if (const FileError error = readWholeFile(path, raw); error != FileError::None) {
        reportFileError(err, path, error == FileError::NotFound ? "cannot find this file" : "cannot read this file");
        return std::nullopt;
    }
    return candidatePageText(raw, conversion);
}

// The page text of the conversion from an address, fetched as the wizard fetches it;
// the wizard download's files are deleted again.
std::optional<std::string> downloadedPageText(const std::string& address, Conversion conversion, const std::string& name,
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
    // The two conversions are ready.
    std::optional<std::string> text;
    std::string contents;
    if (conversion == Conversion::None) {
        // The raw page is as it came; the worker has said whether it came in UTF-8 (by
        // the header or a meta tag).
        if (readWholeFile(done->rawFile, contents) == FileError::None) {
            text = done->page.convertedFromUtf8 ? utf8PageToCp1252(contents) : std::move(contents);
            blankNulBytes(*text);
        }
    } else {
        const std::string& file = conversion == Conversion::SemiHtml ? done->semiHtmlFile : done->convertedFile;
        if (readWholeFile(file, contents) == FileError::None) {
            blankNulBytes(contents);
            text = std::move(contents);
        }
    }
    for (const std::string* file : {&done->rawFile, &done->semiHtmlFile, &done->convertedFile}) {
        if (!file->empty())
            std::remove(file->c_str());
    }
    if (!text)
        err << "tarvelo-cli: " << address << ": the downloaded page cannot be read\n";
    return text;
}

void printCandidate(std::ostream& out, const RuleCandidate& c, std::string_view name, std::string_view symbol)
{
    // The candidate's text stands as in the page, which is searched in Windows-1252.
    const std::string text = cp1252ToUtf8(c.text);
    out << "{\"text\":" << json::text(text) << ",\"conversion\":" << storedNumber(c.conversion) << ",\"tags\":" << c.tags
        << ",\"numbers\":" << c.numbers << ",\"start\":" << c.start << ",\"length\":" << c.length
        << ",\"description\":" << json::text(describeCandidate(c))
        << ",\"template\":" << json::text(textToTemplate(text, name, symbol))
        << ",\"verified\":" << (c.verified ? "true" : "false") << "}\n";
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
    const std::string& page = o.positional()[0];
    const std::string quotation = validUtf8(o.positional()[1]);
    const std::string name = validUtf8(o.text("name").value_or(""));
    const std::string symbol = validUtf8(o.text("symbol").value_or(""));
    // The separators of a new configuration unless given.
    const ServerConfig defaults;
    const std::string thousands = validUtf8(o.text("thousands").value_or(defaults.thousandsSeparator));
    const std::string decimal = validUtf8(o.text("decimal").value_or(defaults.decimalSeparator));
    const Conversion code = conversion ? Conversion{*conversion} : Conversion::SemiHtml;

    const std::optional<std::string> text = isAddress(page) ? downloadedPageText(page, code, name, symbol, c.err)
                                                            : filePageText(page, code, c.err);
    if (!text)
        return kExitError;

    const CandidateSearch search = generateCandidates(*text, code, quotation, thousands, decimal);
    for (const RuleCandidate& candidate : search.candidates)
        printCandidate(c.out, candidate, name, symbol);
    if (search.outcome != CandidateOutcome::Done) {
        c.err << "tarvelo-cli: " << search.message << '\n';
        return kExitFailed;
    }
    if (search.candidates.empty()) {
        c.err << "tarvelo-cli: no extraction rule finds the quotation in this page\n";
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace tarvelo
