#include "cli/cli.h"
#include "cli/commandoptions.h"
#include "cli/commands.h"
#include "cli/json.h"
#include "extraction/extract.h"
#include "extraction/page.h"
#include "extraction/urltemplate.h"
#include "platform/codepage.h"
#include "platform/inputfile.h"
#include "platform/tempfile.h"
#include "platform/utf8.h"
#include "servers/serverstore.h"

#include <cstdio>
#include <ostream>

namespace tarvelo {

int extractCommand(const CommandContext& c)
{
    CommandOptions o;
    if (!o.parse(c.args, {"server", "name", "symbol", "conversion", "text", "tags", "numbers", "thousands", "decimal",
                          "case", "regexp", "index", "date", "time", "json-value", "json-date", "json-time"}))
        return wrongCall(c.err, o.error());
    if (o.positional().size() != 1)
        return wrongCall(c.err, "extract takes one page file");
    const std::string page = o.positional()[0];

    ServerConfig config;
    if (const auto server = o.text("server"))
        readServerConfig(validUtf8(*server), config);
    std::string problem;
    if (!applyServerOptions(o, config, problem, ServerOptionRanges::Extract))
        return wrongCall(c.err, problem);
    config = withItemVariables(config, validUtf8(o.text("name").value_or("")),
                               validUtf8(o.text("symbol").value_or("")));

    InputFile input;
    if (const FileError error = input.open(page); error != FileError::None) {
        reportFileError(c.err, page, error == FileError::NotFound ? "cannot find this file" : "cannot read this file");
        return kExitError;
    }
    input.close();

    // As a download does: convert into a scratch file, then search that file. A page
    // that is not converted is searched where it is.
    ExtractionResult result;
    if (searchConversion(config) == Conversion::None) {
        result = runExtraction(config, page, currentTime());
    } else {
        const std::string converted = createTempFile("QVX");
        if (converted.empty() || !convertPage(searchConversion(config), page, converted)) {
            if (!converted.empty())
                std::remove(converted.c_str());
            c.err << "tarvelo-cli: no temporary file could be written\n";
            return kExitError;
        }
        result = runExtraction(config, converted, currentTime());
        std::remove(converted.c_str());
    }

    c.out << "{\"code\":" << result.code << ",\"value\":" << json::number(result.value)
          << ",\"time\":" << result.time << ",\"message\":" << json::text(result.message) << "}\n";
    return result.code == kFound ? kExitOk : kExitFailed;
}

int expandCommand(const CommandContext& c)
{
    CommandOptions o;
    if (!o.parse(c.args, {"name", "symbol", "offset", "begin", "end"}))
        return wrongCall(c.err, o.error());
    if (o.positional().size() != 1)
        return wrongCall(c.err, "expand takes one template");
    std::optional<int> offset;
    if (!o.integer("offset", 0, 1000000, offset))
        return wrongCall(c.err, o.error());
    std::string text = validUtf8(o.positional()[0]);
    if (o.has("begin") || o.has("end")) {
        const auto begin = parseDateOption(o.text("begin").value_or(""));
        const auto end = parseDateOption(o.text("end").value_or(""));
        if (!begin || !end) {
            const std::string format = "--begin and --end take dates as YYYY-MM-DD";
            return wrongCall(c.err, !begin ? dateOptionProblem("begin", o.text("begin").value_or(""), false, format)
                                         : dateOptionProblem("end", o.text("end").value_or(""), false, format));
        }
        text = expandImportRange(text, *begin, *end);
    }
    text = expandItemVariables(text, validUtf8(o.text("name").value_or("")),
                               validUtf8(o.text("symbol").value_or("")));
    text = expandDateVariables(text, offset.value_or(0), currentTime());
    c.out << text << '\n';
    return kExitOk;
}

} // namespace tarvelo
