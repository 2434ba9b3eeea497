#include "download/itemdoctor.h"

#include "download/updaterun.h"
#include "model/requestheaders.h"
#include "extraction/numberparser.h"
#include "extraction/page.h"
#include "platform/files.h"
#include "platform/translation.h"
#include "platform/utf8.h"

#include <algorithm>
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
        return translate("Doctor", "a number");
    case kInvalidNumber:
        return translate("Doctor", "an invalid number");
    default:
        return translate("Doctor", "no number");
    }
}

std::string answerText(const RuleDiagnosis& d)
{
    std::string text;
    if (d.page.httpStatus > 0) {
        const std::string status = std::to_string(d.page.httpStatus);
        if (d.page.redirects == 0)
            text = fill(translate("Doctor", "HTTP %1"), {status});
        else
            text = fill(d.page.redirects == 1 ? translate("Doctor", "HTTP %1 after %2 redirect")
                                              : translate("Doctor", "HTTP %1 after %2 redirects"),
                        {status, std::to_string(d.page.redirects)});
    } else {
        text = d.address.starts_with("file://") ? translate("Doctor", "local file") : translate("Doctor", "no HTTP answer");
    }
    text += fill(translate("Doctor", ", %1 bytes"), {std::to_string(d.page.bytes)});
    if (!d.page.contentType.empty())
        text += ", " + d.page.contentType;
    if (!d.page.contentEncoding.empty())
        text += ", " + d.page.contentEncoding;
    return text;
}

std::string charsetText(const RuleDiagnosis& d)
{
    std::string text = d.page.charset.empty() ? translate("Doctor", "none declared") : d.page.charset;
    if (d.page.charsetSource == "header")
        text += translate("Doctor", " (declared in the Content-Type header)");
    else if (d.page.charsetSource == "meta")
        text += translate("Doctor", " (declared in a meta tag of the page)");
    if (d.page.convertedFromUtf8)
        text += translate("Doctor", ", converted from UTF-8 to Windows-1252");
    return text;
}

std::string readingText(const NumberReading& r)
{
    std::string text = r.text.empty() ? translate("Doctor", "nothing") : "\"" + r.text + "\"";
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
        return translate("Doctor", "found");
    case TextPresence::OtherCase:
        return translate("Doctor", "only in other letter case");
    case TextPresence::Missing:
        return translate("Doctor", "not found");
    case TextPresence::NotSearched:
        break;
    }
    return {};
}

std::string doctorAdviceText(RuleAdvice advice, const RuleDiagnosis& d, const DoctorPatient& p)
{
    const std::string where =
        p.serverName.empty() ? translate("Doctor", "in the item's own server settings")
                             : fill(translate("Doctor", "in the server configuration \"%1\""), {p.serverName});
    switch (advice) {
    case RuleAdvice::CaseInsensitive:
        if (d.adviceValue)
            return fill(translate("Doctor", "Turn on case-insensitive search %1 (NoCaseSensitiv=1); the search would then "
                                            "read %2."),
                        {where, numberText(*d.adviceValue)});
        return fill(translate("Doctor", "Turn on case-insensitive search %1 (NoCaseSensitiv=1)."), {where});
    case RuleAdvice::SkipOneMoreTag:
        return fill(translate("Doctor", "Skip one more tag %1: tags to skip %2 (Nr_HTML_before_Value); the search would "
                                        "then read %3."),
                    {where, std::to_string(p.config.tagsToSkip + 1), numberText(d.adviceValue.value_or(0))});
    case RuleAdvice::SuggestRule:
        if (d.suggestValue.empty())
            return fill(translate("Doctor", "Open the address in a browser and run: %1, with the VALUE the browser shows."),
                        {d.suggestCommand});
        return fill(translate("Doctor", "Open the address in a browser; if it shows the quotation as %1, run: %2 (else put "
                                        "in the value it shows)."),
                    {d.suggestValue, d.suggestCommand});
    case RuleAdvice::AllowHttps:
        return translate("Doctor", "Allow https addresses: tarvelo-cli options set AllowHttps 1");
    case RuleAdvice::SetUserAgent:
        return translate("Doctor", "Send a browser's user agent: tarvelo-cli options set UserAgent \"Mozilla/5.0 (X11; "
                                   "Linux x86_64)\"");
    case RuleAdvice::CheckAddress:
        return fill(translate("Doctor", "Check the address: open it in a browser, and correct it %1."), {where});
    case RuleAdvice::RaiseTimeout:
        return fill(translate("Doctor", "Raise the timeout %1 (now %2 seconds)."), {where, std::to_string(d.timeout)});
    case RuleAdvice::UntrustedCertificate:
        return translate("Doctor", "The certificate is not trusted: check that the address names the right server, or "
                                   "install the authority that signed the certificate.");
    case RuleAdvice::RetryLater:
        return translate("Doctor", "Try again later; the server itself failed.");
    }
    return {};
}

std::string doctorResultText(const RuleDiagnosis& d)
{
    if (d.wouldUpdate)
        return fill(translate("Doctor", "found %1"), {numberText(d.value.value_or(0))});
    return d.statusText;
}

std::string doctorExplanation(const DoctorPatient& p)
{
    // The labels of the lines; the texts after them stand in one column.
    constexpr const char* kLabels[] = {
        TARVELO_TRANSLATE_NOOP("Doctor", "address"),     TARVELO_TRANSLATE_NOOP("Doctor", "headers sent"),
        TARVELO_TRANSLATE_NOOP("Doctor", "answer"),      TARVELO_TRANSLATE_NOOP("Doctor", "charset"),
        TARVELO_TRANSLATE_NOOP("Doctor", "conversion"),  TARVELO_TRANSLATE_NOOP("Doctor", "expression"),
        TARVELO_TRANSLATE_NOOP("Doctor", "JSON path"),   TARVELO_TRANSLATE_NOOP("Doctor", "text before"),
        TARVELO_TRANSLATE_NOOP("Doctor", "page there"),  TARVELO_TRANSLATE_NOOP("Doctor", "page begins"),
        TARVELO_TRANSLATE_NOOP("Doctor", "latest value"), TARVELO_TRANSLATE_NOOP("Doctor", "nearest"),
        TARVELO_TRANSLATE_NOOP("Doctor", "parser read"), TARVELO_TRANSLATE_NOOP("Doctor", "result"),
        TARVELO_TRANSLATE_NOOP("Doctor", "message"),     TARVELO_TRANSLATE_NOOP("Doctor", "cause"),
        TARVELO_TRANSLATE_NOOP("Doctor", "try"),         TARVELO_TRANSLATE_NOOP("Doctor", "fallback"),
    };
    std::size_t width = 0;
    for (const char* label : kLabels)
        width = std::max(width, utf8Length(translate("Doctor", label)));
    const RuleDiagnosis& d = *p.diagnosis;
    std::string out;
    const auto line = [&](const char* label, const std::string& text) {
        const std::string shown = translate("Doctor", label);
        out += "  " + shown + ":" + std::string(width + 1 - std::min(width, utf8Length(shown)), ' ') + oneLine(text);
        out += '\n';
    };
    out += fill(d.wouldUpdate ? translate("Doctor", "%1: would update") : translate("Doctor", "%1: would not update"),
                {p.name})
         + '\n';
    line(kLabels[0], d.address.empty() ? translate("Doctor", "(none)") : d.address);
    // The values may be keys or cookies: the names alone are shown.
    if (!p.config.headers.empty())
        line(kLabels[1], fill(translate("Doctor", "%1 (values not shown)"), {requestHeaderNames(p.config.headers)}));
    if (d.code != DownloadCode::Error || d.page.httpStatus > 0 || d.page.bytes > 0)
        line(kLabels[2], answerText(d));
    if (d.pageSeen || !d.page.charset.empty())
        line(kLabels[3], charsetText(d));
    line(kLabels[4], std::to_string(storedNumber(d.conversion)) + " ("
                         + translate("Doctor", conversionName(d.conversion).c_str()) + ")");
    if (d.searchKind == SearchKind::RegularExpression) {
        line(kLabels[5], "\"" + d.textBeforeValue + "\"");
    } else if (d.searchKind == SearchKind::JsonPath) {
        line(kLabels[6], d.textBeforeValue);
    } else {
        std::string text = "\"" + d.textBeforeValue + "\"";
        text += d.caseInsensitive ? translate("Doctor", ", any letter case") : translate("Doctor", ", exact letter case");
        if (d.text != TextPresence::NotSearched)
            text += ": " + textPresenceText(d.text);
        if (d.text == TextPresence::OtherCase)
            text += " (\"" + d.textAsInPage + "\")";
        line(kLabels[7], text);
    }
    if (!d.excerpt.empty())
        line(kLabels[8], "\"" + d.excerpt + "\"");
    if (!d.pageStart.empty())
        line(kLabels[9], "\"" + d.pageStart + "\"");
    if (d.text == TextPresence::Missing && d.latestValue) {
        line(kLabels[10], numberText(*d.latestValue));
        for (const NearbyNumber& n : d.nearestNumbers)
            line(kLabels[11], fill(translate("Doctor", "\"%1\" = %2 at %3: \"%4\""),
                                   {n.text, numberText(n.value), std::to_string(n.at), n.excerpt}));
    }
    if (d.reading)
        line(kLabels[12], readingText(*d.reading));
    line(kLabels[13], doctorResultText(d));
    if (!d.extractionMessage.empty() && d.code != DownloadCode::NotFound)
        line(kLabels[14], d.extractionMessage);
    line(kLabels[15], d.cause);
    for (const RuleAdvice advice : d.advice)
        line(kLabels[16], doctorAdviceText(advice, d, p));
    // The doctor looks at the item's own configuration only; an update that fails here
    // goes on to the fallback, which may well store a quotation.
    if (!d.wouldUpdate && !p.serverName.empty() && !p.config.fallback.empty())
        line(kLabels[17], fill(translate("Doctor", "An update tries the fallback configuration \"%1\" next; the doctor "
                                                   "looks at \"%2\" only."),
                               {p.config.fallback, p.serverName}));
    return out;
}

} // namespace tarvelo
