#include "download/itemdoctor.h"

#include "download/updaterun.h"
#include "model/requestheaders.h"
#include "extraction/numberparser.h"
#include "extraction/page.h"
#include "platform/files.h"
#include "platform/utf8.h"

#include <cstdio>
#include <map>

namespace tarvelo {

namespace {

// A converted page handed over with a final message: read, then removed however the
// visit goes on.
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

std::string numberText(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.4f", value);
    return text;
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

} // namespace

ItemDoctor::ItemDoctor(int downloadSlots, WorkerSettings settings)
    : m_engine(downloadSlots), m_settings(std::move(settings))
{
    m_settings.keepConvertedPages = true;
    m_engine.setWorkerSettings(m_settings);
}

void ItemDoctor::stop()
{
    m_stopped.store(true);
    m_engine.requestAbort();
}

std::vector<DoctorPatient> ItemDoctor::examine(PortfolioDocument& doc, const std::vector<ItemKey>& items)
{
    std::vector<DoctorPatient> patients;
    std::map<std::uint64_t, std::size_t> byKey;
    std::vector<ItemKey> chosen;
    for (const ItemKey key : items) {
        const SecurityItem* item = doc.item(key);
        if (!item || byKey.contains(key.key))
            continue;
        byKey.emplace(key.key, patients.size());
        chosen.push_back(key);
        patients.push_back({key, item->settings().name, item->settings().server.name, itemDownloadConfig(*item), {}});
    }
    if (!m_stopped.load()) {
        UpdateRun run(doc, m_engine);
        run.setTryFallbacks(false); // each item's own configuration
        run.start(chosen);
        // A stop that came while the jobs were being started ends them too.
        if (m_stopped.load())
            m_engine.requestAbort();
        run.runToEnd([&](const DownloadMessage& m) {
            const HandedPage page(m.convertedFile);
            const auto found = byKey.find(m.itemKey.key);
            if (found == byKey.end() || patients[found->second].diagnosis)
                return;
            DoctorPatient& p = patients[found->second];
            const std::optional<std::string> text = page.read();
            p.diagnosis = diagnoseRule(p.config, m, text ? std::optional<std::string_view>(*text) : std::nullopt,
                                       m_settings, doc.item(p.key));
        });
    }
    for (DoctorPatient& p : patients) {
        if (p.diagnosis)
            continue;
        DownloadMessage none;
        none.itemName = p.name;
        none.url = p.config.url;
        p.diagnosis = diagnoseRule(p.config, none, std::nullopt, m_settings);
    }
    return patients;
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

std::string doctorAdviceText(RuleAdvice advice, const RuleDiagnosis& d, const DoctorPatient& p)
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

std::string doctorResultText(const RuleDiagnosis& d)
{
    if (d.wouldUpdate)
        return "found " + numberText(d.value.value_or(0));
    return d.statusText;
}

std::string doctorExplanation(const DoctorPatient& p)
{
    const RuleDiagnosis& d = *p.diagnosis;
    std::string out;
    const auto line = [&](const char* label, const std::string& text) {
        out += "  ";
        out += label;
        out += oneLine(text);
        out += '\n';
    };
    out += p.name + ": " + (d.wouldUpdate ? "would update" : "would not update") + '\n';
    line("address:      ", d.address.empty() ? "(none)" : d.address);
    // The values may be keys or cookies: the names alone are shown.
    if (!p.config.headers.empty())
        line("headers sent: ", requestHeaderNames(p.config.headers) + " (values not shown)");
    if (d.code != DownloadCode::Error || d.page.httpStatus > 0 || d.page.bytes > 0)
        line("answer:       ", answerText(d));
    if (d.pageSeen || !d.page.charset.empty())
        line("charset:      ", charsetText(d));
    line("conversion:   ", std::to_string(storedNumber(d.conversion)) + " (" + conversionName(d.conversion) + ")");
    if (d.searchKind == SearchKind::RegularExpression) {
        line("expression:   ", "\"" + d.textBeforeValue + "\"");
    } else if (d.searchKind == SearchKind::JsonPath) {
        line("JSON path:    ", d.textBeforeValue);
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
    line("result:       ", doctorResultText(d));
    if (!d.extractionMessage.empty() && d.code != DownloadCode::NotFound)
        line("message:      ", d.extractionMessage);
    line("cause:        ", d.cause);
    for (const RuleAdvice advice : d.advice)
        line("try:          ", doctorAdviceText(advice, d, p));
    // The doctor looks at the item's own configuration only; an update that fails here
    // goes on to the fallback, which may well store a quotation.
    if (!d.wouldUpdate && !p.serverName.empty() && !p.config.fallback.empty())
        line("fallback:     ", "An update tries the fallback configuration \"" + p.config.fallback
                                    + "\" next; the doctor looks at \"" + p.serverName + "\" only.");
    return out;
}

} // namespace tarvelo
