#include "cli/cli.h"
#include "cli/commandoptions.h"
#include "cli/commands.h"
#include "cli/json.h"
#include "download/downloadengine.h"
#include "download/ruledoctor.h"
#include "download/updaterun.h"
#include "extraction/numberparser.h"
#include "extraction/page.h"
#include "platform/codepage.h"
#include "platform/utf8.h"
#include "platform/files.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <ostream>

namespace tarvelo {

namespace {

// A converted page handed over with a final message: read, then removed however the
// command goes on.
class HandedPage {
public:
    explicit HandedPage(std::string path) : m_path(std::move(path)) {}
    ~HandedPage()
    {
        if (!m_path.empty())
            std::remove(m_path.c_str());
    }
    HandedPage(const HandedPage&) = delete;
    HandedPage& operator=(const HandedPage&) = delete;

    std::optional<std::string> read() const
    {
        std::string text;
        if (m_path.empty() || readWholeFile(m_path, text) != FileError::None)
            return std::nullopt;
        blankNulBytes(text); // as the searches load a page
        return text;
    }

private:
    std::string m_path;
};

// What the doctor knows of one chosen item besides its diagnosis.
struct Patient {
    ItemKey key;
    std::string name;
    std::string serverName; // empty for the item's own settings
    ServerConfig config;
    std::optional<RuleDiagnosis> diagnosis;
};

// The text with its line breaks and other control characters read as one blank each run.
std::string oneLine(const std::string& text)
{
    std::string line;
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x20)
            line.push_back(c);
        else if (line.empty() || line.back() != ' ')
            line.push_back(' ');
    }
    return line;
}

std::string numberText(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.4f", value);
    return text;
}

std::string textPresenceText(TextPresence presence)
{
    switch (presence) {
    case TextPresence::Found:
        return "found";
    case TextPresence::OtherCase:
        return "only in other letter case";
    case TextPresence::Missing:
        return "not found";
    case TextPresence::NotSearched:
        break;
    }
    return {};
}

std::string parserCodeText(int code)
{
    switch (code) {
    case kFound:
        return "a number";
    case kInvalidNumber:
        return "an invalid number";
    default:
        return "no number";
    }
}

// The words of one piece of advice, as a command-line user acts on it.
std::string adviceText(RuleAdvice advice, const RuleDiagnosis& d, const Patient& p)
{
    const std::string where = p.serverName.empty() ? "in the item's own server settings"
                                                   : "in the server configuration \"" + p.serverName + "\"";
    switch (advice) {
    case RuleAdvice::CaseInsensitive:
        return "Turn on case-insensitive search " + where + " (NoCaseSensitiv=1)"
             + (d.adviceValue ? "; the search would then read " + numberText(*d.adviceValue) + "." : ".");
    case RuleAdvice::SkipOneMoreTag:
        return "Skip one more tag " + where + ": tags to skip " + std::to_string(p.config.tagsToSkip + 1)
             + " (Nr_HTML_before_Value); the search would then read " + numberText(d.adviceValue.value_or(0)) + ".";
    case RuleAdvice::SuggestRule:
        if (d.suggestValue.empty())
            return "Open the address in a browser and run: " + d.suggestCommand + ", with the VALUE the browser shows.";
        return "Open the address in a browser; if it shows the quotation as " + d.suggestValue
             + ", run: " + d.suggestCommand + " (else put in the value it shows).";
    case RuleAdvice::AllowHttps:
        return "Allow https addresses: tarvelo-cli options set AllowHttps 1";
    case RuleAdvice::SetUserAgent:
        return "Send a browser's user agent: tarvelo-cli options set UserAgent \"Mozilla/5.0 (X11; Linux x86_64)\"";
    case RuleAdvice::CheckAddress:
        return "Check the address: open it in a browser, and correct it " + where + ".";
    case RuleAdvice::RaiseTimeout:
        return "Raise the timeout " + where + " (now " + std::to_string(d.timeout) + " seconds).";
    case RuleAdvice::UntrustedCertificate:
        return "The certificate is not trusted: check that the address names the right server, or install the "
               "authority that signed the certificate.";
    case RuleAdvice::RetryLater:
        return "Try again later; the server itself failed.";
    }
    return {};
}

std::string answerText(const RuleDiagnosis& d)
{
    std::string text;
    if (d.page.httpStatus > 0) {
        text = "HTTP " + std::to_string(d.page.httpStatus);
        if (d.page.redirects > 0)
            text += " after " + std::to_string(d.page.redirects) + (d.page.redirects == 1 ? " redirect" : " redirects");
    } else {
        text = d.address.starts_with("file://") ? "local file" : "no HTTP answer";
    }
    text += ", " + std::to_string(d.page.bytes) + " bytes";
    if (!d.page.contentType.empty())
        text += ", " + d.page.contentType;
    if (!d.page.contentEncoding.empty())
        text += ", " + d.page.contentEncoding;
    return text;
}

std::string charsetText(const RuleDiagnosis& d)
{
    std::string text = d.page.charset.empty() ? "none declared" : d.page.charset;
    if (d.page.charsetSource == "header")
        text += " (declared in the Content-Type header)";
    else if (d.page.charsetSource == "meta")
        text += " (declared in a meta tag of the page)";
    if (d.page.convertedFromUtf8)
        text += ", converted from UTF-8 to Windows-1252";
    return text;
}

std::string readingText(const NumberReading& r)
{
    std::string text = r.text.empty() ? "nothing" : "\"" + r.text + "\"";
    text += r.code == kFound ? " = " + numberText(r.value) : " (" + parserCodeText(r.code) + ")";
    return text;
}

std::string resultText(const RuleDiagnosis& d)
{
    if (d.wouldUpdate)
        return "found " + numberText(d.value.value_or(0));
    return d.statusText;
}

void printHuman(std::ostream& out, const Patient& p, const RuleDiagnosis& d)
{
    const auto line = [&](const char* label, const std::string& text) {
        out << "  " << label << oneLine(text) << '\n';
    };
    out << p.name << ": " << (d.wouldUpdate ? "would update" : "would not update") << '\n';
    line("address:      ", d.address.empty() ? "(none)" : d.address);
    if (d.code != DownloadCode::Error || d.page.httpStatus > 0 || d.page.bytes > 0)
        line("answer:       ", answerText(d));
    if (d.pageSeen || !d.page.charset.empty())
        line("charset:      ", charsetText(d));
    line("conversion:   ", std::to_string(storedNumber(d.conversion)) + " (" + conversionName(d.conversion) + ")");
    if (d.searchKind == SearchKind::RegularExpression) {
        line("expression:   ", "\"" + d.textBeforeValue + "\"");
    } else {
        std::string text = "\"" + d.textBeforeValue + "\"";
        text += d.caseInsensitive ? ", any letter case" : ", exact letter case";
        if (d.text != TextPresence::NotSearched)
            text += ": " + textPresenceText(d.text);
        if (d.text == TextPresence::OtherCase)
            text += " (\"" + d.textAsInPage + "\")";
        line("text before:  ", text);
    }
    if (!d.excerpt.empty())
        line("page there:   ", "\"" + d.excerpt + "\"");
    if (!d.pageStart.empty())
        line("page begins:  ", "\"" + d.pageStart + "\"");
    if (d.text == TextPresence::Missing && d.latestValue) {
        line("latest value: ", numberText(*d.latestValue));
        for (const NearbyNumber& n : d.nearestNumbers)
            line("nearest:      ", "\"" + n.text + "\" = " + numberText(n.value) + " at " + std::to_string(n.at)
                                       + ": \"" + n.excerpt + "\"");
    }
    if (d.reading)
        line("parser read:  ", readingText(*d.reading));
    line("result:       ", resultText(d));
    if (!d.extractionMessage.empty() && d.code != DownloadCode::NotFound)
        line("message:      ", d.extractionMessage);
    line("cause:        ", d.cause);
    for (const RuleAdvice advice : d.advice)
        line("try:          ", adviceText(advice, d, p));
}

std::string optionalText(const std::string& text)
{
    return text.empty() ? "null" : json::text(text);
}

void printJson(std::ostream& out, const Patient& p, const RuleDiagnosis& d)
{
    out << "{\"name\":" << json::text(p.name) << ",\"wouldUpdate\":" << (d.wouldUpdate ? "true" : "false")
        << ",\"code\":" << static_cast<int>(d.code) << ",\"status\":" << json::text(resultText(d))
        << ",\"message\":" << optionalText(d.extractionMessage) << ",\"error\":" << optionalText(d.errorText)
        << ",\"address\":" << json::text(d.address) << ",\"redirects\":" << d.page.redirects
        << ",\"httpStatus\":" << d.page.httpStatus << ",\"bytes\":" << d.page.bytes
        << ",\"contentType\":" << optionalText(d.page.contentType)
        << ",\"contentEncoding\":" << optionalText(d.page.contentEncoding)
        << ",\"charset\":" << optionalText(d.page.charset) << ",\"charsetSource\":" << optionalText(d.page.charsetSource)
        << ",\"convertedFromUtf8\":" << (d.page.convertedFromUtf8 ? "true" : "false")
        << ",\"conversion\":" << storedNumber(d.conversion)
        << ",\"conversionName\":" << json::text(conversionName(d.conversion))
        << ",\"searchKind\":" << storedNumber(d.searchKind) << ",\"textBeforeValue\":" << json::text(d.textBeforeValue)
        << ",\"caseInsensitive\":" << (d.caseInsensitive ? "true" : "false") << ",\"text\":"
        << (d.text == TextPresence::NotSearched ? "null" : json::text(textPresenceText(d.text)))
        << ",\"excerpt\":" << (d.pageSeen ? json::text(d.excerpt) : "null") << ",\"numberRead\":";
    if (d.reading)
        out << "{\"text\":" << json::text(d.reading->text) << ",\"code\":" << d.reading->code
            << ",\"value\":" << json::number(d.reading->value) << '}';
    else
        out << "null";
    out << ",\"latestValue\":" << (d.latestValue ? json::number(*d.latestValue) : "null")
        << ",\"pageStart\":" << optionalText(d.pageStart) << ",\"nearestNumbers\":[";
    for (std::size_t i = 0; i < d.nearestNumbers.size(); ++i) {
        const NearbyNumber& n = d.nearestNumbers[i];
        out << (i > 0 ? "," : "") << "{\"text\":" << json::text(n.text) << ",\"value\":" << json::number(n.value)
            << ",\"at\":" << n.at << ",\"excerpt\":" << json::text(n.excerpt) << '}';
    }
    out << "],\"suggestCommand\":" << optionalText(d.suggestCommand);
    out << ",\"value\":" << (d.value ? json::number(*d.value) : "null") << ",\"cause\":" << json::text(d.cause)
        << ",\"suggestions\":[";
    for (std::size_t i = 0; i < d.advice.size(); ++i)
        out << (i > 0 ? "," : "") << json::text(adviceText(d.advice[i], d, p));
    out << "]}\n";
}

} // namespace

int doctorCommand(const CommandContext& c)
{
    CommandOptions o;
    if (!o.parse(c.args, {}, {"json"}))
        return wrongCall(c.err, o.error());
    if (o.positional().empty())
        return wrongCall(c.err, "doctor takes a portfolio file and optionally item names");
    const std::string path = o.positional()[0];

    PortfolioDocument doc;
    if (!openPortfolio(doc, path, c.err))
        return kExitError;

    std::vector<ItemKey> chosen;
    if (o.positional().size() == 1) {
        chosen = doc.itemPositions();
    } else {
        bool missing = false;
        for (std::size_t i = 1; i < o.positional().size(); ++i) {
            const ItemKey key = findNamedItem(doc, o.positional()[i], c.err);
            if (!key)
                missing = true;
            else if (std::find(chosen.begin(), chosen.end(), key) == chosen.end())
                chosen.push_back(key);
        }
        if (missing)
            return kExitFailed;
    }

    std::vector<Patient> patients;
    std::map<std::uint64_t, std::size_t> byKey;
    for (const ItemKey key : chosen) {
        const SecurityItem& item = *doc.item(key);
        byKey.emplace(key.key, patients.size());
        patients.push_back({key, item.settings().name, item.settings().server.name, itemDownloadConfig(item), {}});
    }

    WorkerSettings settings = readWorkerSettings();
    settings.keepConvertedPages = true;
    {
        // The document is never saved: what the run applies to it is forgotten.
        DownloadEngine engine(readNumberDownloads());
        engine.setWorkerSettings(settings);
        UpdateRun run(doc, engine);
        run.start(chosen);
        run.runToEnd([&](const DownloadMessage& m) {
            const HandedPage page(m.convertedFile);
            const auto found = byKey.find(m.itemKey.key);
            if (found == byKey.end() || patients[found->second].diagnosis)
                return;
            Patient& p = patients[found->second];
            const std::optional<std::string> text = page.read();
            p.diagnosis = diagnoseRule(p.config, m, text ? std::optional<std::string_view>(*text) : std::nullopt,
                                       settings, doc.item(p.key));
        });
    }

    bool allUpdate = true;
    bool first = true;
    for (Patient& p : patients) {
        if (!p.diagnosis) {
            DownloadMessage none;
            none.itemName = p.name;
            none.url = p.config.url;
            p.diagnosis = diagnoseRule(p.config, none, std::nullopt, settings);
        }
        allUpdate = allUpdate && p.diagnosis->wouldUpdate;
        if (o.flag("json")) {
            printJson(c.out, p, *p.diagnosis);
        } else {
            if (!first)
                c.out << '\n';
            printHuman(c.out, p, *p.diagnosis);
        }
        first = false;
    }
    c.out.flush();
    return allUpdate ? kExitOk : kExitFailed;
}

} // namespace tarvelo
