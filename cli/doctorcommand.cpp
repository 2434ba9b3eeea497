#include "cli/cli.h"
#include "cli/commandoptions.h"
#include "cli/commands.h"
#include "cli/json.h"
#include "download/itemdoctor.h"
#include "model/requestheaders.h"

#include <algorithm>
#include <ostream>

namespace tarvelo {

namespace {

std::string optionalText(const std::string& text)
{
    return text.empty() ? "null" : json::text(text);
}

void printJson(std::ostream& out, const DoctorPatient& p, const RuleDiagnosis& d)
{
    out << "{\"name\":" << json::text(p.name) << ",\"wouldUpdate\":" << (d.wouldUpdate ? "true" : "false")
        << ",\"code\":" << static_cast<int>(d.code) << ",\"status\":" << json::text(doctorResultText(d))
        << ",\"message\":" << optionalText(d.extractionMessage) << ",\"error\":" << optionalText(d.errorText)
        << ",\"address\":" << json::text(d.address)
        << ",\"redirects\":" << d.page.redirects
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
        // The configuration an update would try next; the doctor itself never does.
        << ",\"fallback\":" << (p.serverName.empty() || p.config.fallback.empty() ? "null" : json::text(p.config.fallback))
        << ",\"headerNames\":[";
    // The configuration's own request headers by name: their values may be keys.
    const std::vector<RequestHeader> headers = requestHeadersOf(p.config.headers);
    for (std::size_t i = 0; i < headers.size(); ++i)
        out << (i > 0 ? "," : "") << json::text(headers[i].name);
    out << "],\"suggestions\":[";
    for (std::size_t i = 0; i < d.advice.size(); ++i)
        out << (i > 0 ? "," : "") << json::text(doctorAdviceText(d.advice[i], d, p));
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

    // The document is never saved: what the visit applies to it is forgotten.
    ItemDoctor doctor(readNumberDownloads(), readWorkerSettings());
    std::vector<DoctorPatient> patients = doctor.examine(doc, chosen);

    bool allUpdate = true;
    bool first = true;
    for (const DoctorPatient& p : patients) {
        allUpdate = allUpdate && p.diagnosis->wouldUpdate;
        if (o.flag("json")) {
            printJson(c.out, p, *p.diagnosis);
        } else {
            if (!first)
                c.out << '\n';
            c.out << doctorExplanation(p);
        }
        first = false;
    }
    c.out.flush();
    return allUpdate ? kExitOk : kExitFailed;
}

} // namespace tarvelo
