#include "cli/cli.h"

#include "cli/commands.h"
#include "cli/json.h"
#include "model/archive.h"
#include "model/portfoliodocument.h"
#include "platform/codepage.h"
#include "platform/filepath.h"
#include "resources/strings.h"

#include <functional>
#include <ostream>
#include <string_view>

namespace tarvelo {

namespace {

constexpr const char* kUsage =
    "Usage: tarvelo-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  dump PORTFOLIO         print the portfolio as one JSON object\n"
    "  convert IN OUT         load a portfolio of any format version and save it in the current one\n"
    "  extract PAGE [--server NAME] [--name N] [--symbol S] [--conversion 0|1|2] [--text T]\n"
    "          [--tags N] [--numbers N] [--thousands X] [--decimal Y] [--case 0|1]\n"
    "          [--regexp R] [--index N] [--date D,M,Y] [--time H,M]\n"
    "          [--json-value PATH [--json-date PATH] [--json-time PATH]]\n"
    "                         find the quotation in a page file as a download would; prints\n"
    "                         {\"code\":N,\"value\":X,\"time\":T,\"message\":\"...\"}\n"
    "  suggest PAGE VALUE [--conversion 0|1|2] [--name N] [--symbol S] [--thousands X] [--decimal Y]\n"
    "                         the configuration wizard's rules for a page file or http(s) address\n"
    "                         in which VALUE is shown; one JSON object per rule\n"
    "  expand TEMPLATE [--name N] [--symbol S] [--offset K] [--begin YYYY-MM-DD --end YYYY-MM-DD]\n"
    "                         expand the variables of an address template with the current time\n"
    "  new PORTFOLIO          create an empty portfolio\n"
    "  add PORTFOLIO NAME [--symbol S] [--server NAME] [--quantity Q] [--buy-price P]\n"
    "                         add an item with the defaults of a new item\n"
    "  quote PORTFOLIO NAME VALUE [--time \"YYYY-MM-DD HH:MM\"]\n"
    "                         add a quotation by hand (now, unless --time is given)\n"
    "  buy PORTFOLIO NAME QUANTITY PRICE [--commission F]\n"
    "                         book a purchase: the quantity grows, the average buy price takes\n"
    "                         in price and commission\n"
    "  sell PORTFOLIO NAME QUANTITY PRICE [--commission F]\n"
    "                         book a sale of whole units and print its financial result\n"
    "  dividend PORTFOLIO NAME VALUE\n"
    "                         book a dividend: it lowers the average buy price\n"
    "  split PORTFOLIO NAME DIVISOR [--from \"YYYY-MM-DD HH:MM\"]\n"
    "                         divide the quotation at or before that moment and all older ones (all without it)\n"
    "                         and the buy price and limits by DIVISOR; the quantity grows by it\n"
    "  alarm PORTFOLIO NAME [--above X|off] [--below X|off] [--deviation PERCENT|off]\n"
    "                         set or clear the item's alarms; prints them and whether one holds\n"
    "  list PORTFOLIO [--nominal]\n"
    "                         the rows of the portfolio list: icon, nine columns; then the totals\n"
    "  update PORTFOLIO [--slots N]\n"
    "                         fetch the current quotation of every item and save the portfolio\n"
    "  accept PORTFOLIO NAME  store the value that the last update held back as implausible\n"
    "  doctor PORTFOLIO [NAME...] [--json]\n"
    "                         fetch the items' pages as an update would, without saving, and\n"
    "                         tell what each search saw, why it failed and what to try\n"
    "  health PORTFOLIO [--json]\n"
    "                         each item's configuration, last successful download, failed updates\n"
    "                         since and their last reason; exit status 1 when an item's last update failed\n"
    "  export PORTFOLIO OUT   write all quotations to a text file, or a spreadsheet when OUT\n"
    "                         contains .xls\n"
    "  import PORTFOLIO ITEM SOURCE [--template T] [--format 0|1|2|3] [--case 0|1]\n"
    "          [--begin YYYY-MM-DD --end YYYY-MM-DD] [--dry-run] [--allow-future]\n"
    "                         import historical quotations into the named item from a file or\n"
    "                         an address template; --dry-run shows what would be imported and\n"
    "                         changes nothing; quotations in the future need --allow-future\n"
    "  copy FROM INTO [NAME...]\n"
    "                         copy the named items (all without names) with their histories into\n"
    "                         another portfolio, renamed as Paste renames them\n"
    "  print PORTFOLIO OUT.pdf [--items NAME,...] [--page A4|Letter]\n"
    "                         the printed report of the items (default: all) as a PDF file: the\n"
    "                         history or comparison chart, then a block of figures per item\n"
    "  graphic PORTFOLIO NAME [--after YYYY-MM-DD|off] [--until YYYY-MM-DD|off] [--axes percent|nominal]\n"
    "          [--values none|percent|nominal] [--colour RRGGBB] [--grid 0|1]\n"
    "                         show or change the item's chart settings: its period, the values on\n"
    "                         the axis and at the points, its line colour and the grid\n"
    "  chart PORTFOLIO OUT.png|OUT.svg [--items NAME,...] [--size WxH] [--from YYYY-MM-DD] [--to YYYY-MM-DD]\n"
    "        [--dark]\n"
    "                         draw the history chart of one item, or the comparison chart of several\n"
    "                         (default: all items), into a PNG or SVG file of 960x540 pixels, on\n"
    "                         white paper or, with --dark, in the dark colours of a dark desktop\n"
    "  servers list           the names of the server configurations (and the fallback of each)\n"
    "  servers show NAME      the values of one configuration, as the export file has them\n"
    "  servers set NAME [--url U] [--timeout S] [--conversion N] [--text T] [--tags N] [--numbers N]\n"
    "          [--thousands X] [--decimal Y] [--case 0|1] [--regexp R] [--index N] [--date D,M,Y] [--time H,M]\n"
    "          [--max-change PERCENT] [--fallback NAME] [--no-fallback]\n"
    "          [--header 'NAME: VALUE']... [--no-headers]\n"
    "          [--json-value PATH] [--json-date PATH] [--json-time PATH]\n"
    "                         create or change a configuration, with the server settings' ranges\n"
    "  servers delete NAME    delete a configuration\n"
    "  servers export FILE [NAME...]  write all configurations and the set version to a REGEDIT4 file,\n"
    "                         or only the named configurations (without the set version)\n"
    "  servers import FILE [--replace]  read such a file: adds its new configurations; replaces stored\n"
    "                         ones that differ only with --replace (exit 1 and nothing changed without)\n"
    "  servers install        install the built-in configurations if the stored set is older\n"
    "  servers catalog [NAME...]\n"
    "                         the ready-made configurations for documented public data, with\n"
    "                         their publishers, addresses and terms of use\n"
    "  servers catalog --add NAME... [--replace]\n"
    "                         store ready-made configurations; one of the same name is\n"
    "                         replaced only with --replace\n"
    "  options                the general options with their values\n"
    "  options set NAME VALUE change one general option\n"
    "  --help                 show this text\n"
    "  --version              print the program's version\n"
    "\n"
    "Exit status: 0 success, 1 negative result, 2 wrong call or unreadable/unwritable file.\n";

using Context = CommandContext;

// An item's configuration: its own values, or the name of a stored one. Values that only
// a stored configuration has are not the item's.
std::string serverJson(const ServerConfig& c)
{
    std::string s = "{\"name\":" + json::text(c.name);
    for (const ServerConfigField* field : serverConfigFieldsInJsonOrder()) {
        if (field->storedOnly)
            continue;
        s += ",\"";
        s += field->jsonKey;
        s += "\":";
        s += field->text ? json::text(c.*field->text) : std::to_string(field->storedNumber(c));
    }
    s += "}";
    return s;
}

std::string chartJson(const ChartOptions& g)
{
    std::string s = "{";
    s += "\"pageFlag\":" + std::to_string(g.pageFlag.stored());
    s += ",\"showGrid\":" + std::to_string(g.showGrid.stored());
    s += ",\"valueOnGraphic\":" + std::to_string(storedNumber(g.valueOnGraphic));
    s += ",\"valueOnAxes\":" + std::to_string(storedNumber(g.valueOnAxes));
    s += ",\"periodStart\":" + std::to_string(g.periodStart);
    s += ",\"periodEnd\":" + std::to_string(g.periodEnd);
    s += ",\"periodStartEnabled\":" + std::to_string(g.periodStartEnabled.stored());
    s += ",\"periodEndEnabled\":" + std::to_string(g.periodEndEnabled.stored());
    s += ",\"lineColour\":" + std::to_string(g.lineColour);
    s += "}";
    return s;
}

void writeItemJson(std::ostream& out, const SecurityItem& item)
{
    const ItemSettings& s = item.settings();
    out << "{\"name\":" << json::text(s.name) << ",\"symbol\":" << json::text(s.symbol)
        << ",\"memo\":" << json::text(s.memo) << ",\"server\":" << serverJson(s.server)
        << ",\"chart\":" << chartJson(s.chart) << ",\"aboveAlarm\":" << s.aboveAlarm.stored()
        << ",\"belowAlarm\":" << s.belowAlarm.stored() << ",\"deviationAlarm\":" << s.deviationAlarm.stored()
        << ",\"aboveLimit\":" << json::number(s.aboveLimit) << ",\"belowLimit\":" << json::number(s.belowLimit)
        << ",\"deviationPercent\":" << json::number(s.deviationPercent)
        << ",\"quantity\":" << json::number(s.quantity)
        << ",\"averageBuyPrice\":" << json::number(s.averageBuyPrice) << ",\"history\":[";
    bool first = true;
    for (const Quotation& record : item.history()) {
        if (!first)
            out << ',';
        first = false;
        out << "{\"time\":" << record.time << ",\"value\":" << json::number(record.value) << '}';
    }
    out << "]}";
}

} // namespace

int wrongCall(std::ostream& err, std::string_view problem)
{
    err << "tarvelo-cli: " << problem << "\nsee tarvelo-cli --help\n";
    return kExitError;
}

void reportFileError(std::ostream& err, const std::string& path, const std::string& message)
{
    const std::string text = message;
    err << "tarvelo-cli: ";
    if (text.find(path) == std::string::npos)
        err << path << ": ";
    err << text << '\n';
}

bool refuseSpecialOutput(const std::string& path, std::ostream& err)
{
    if (!isSpecialFile(path))
        return false;
    err << "tarvelo-cli: " << path << " is a device, FIFO, socket or folder, not a file; it is left as it is\n";
    return true;
}

int dumpCommand(const Context& c)
{
    if (c.args.size() != 1)
        return wrongCall(c.err, "dump takes one portfolio file");
    PortfolioDocument doc;
    if (!openPortfolio(doc, c.args[0], c.err))
        return kExitError;
    c.out << "{\"items\":[";
    bool first = true;
    for (const SecurityItem* item : doc.items()) {
        if (!first)
            c.out << ',';
        first = false;
        writeItemJson(c.out, *item);
    }
    c.out << "]}\n";
    return kExitOk;
}

int convertCommand(const Context& c)
{
    if (c.args.size() != 2)
        return wrongCall(c.err, "convert takes an input and an output file");
    if (refuseSpecialOutput(c.args[1], c.err))
        return kExitError;
    PortfolioDocument doc;
    if (!openPortfolio(doc, c.args[0], c.err))
        return kExitError;
    const Result<void> saved = doc.saveFile(c.args[1]);
    if (!saved.ok()) {
        reportFileError(c.err, c.args[1], saved.message());
        return kExitError;
    }
    return kExitOk;
}

namespace {

struct Command {
    std::string_view name;
    std::function<int(const Context&)> run;
};

const Command kCommands[] = {
    {"dump", dumpCommand},
    {"convert", convertCommand},
    {"extract", extractCommand},
    {"expand", expandCommand},
    {"servers", serversCommand},
    {"options", optionsCommand},
    {"update", updateCommand},
    {"accept", acceptCommand},
    {"doctor", doctorCommand},
    {"health", healthCommand},
    {"export", exportCommand},
    {"import", importCommand},
    {"list", listCommand},
    {"new", newCommand},
    {"add", addCommand},
    {"quote", quoteCommand},
    {"buy", buyCommand},
    {"sell", sellCommand},
    {"dividend", dividendCommand},
    {"split", splitCommand},
    {"alarm", alarmCommand},
    {"suggest", suggestCommand},
    {"chart", chartCommand},
    {"graphic", graphicCommand},
    {"copy", copyCommand},
    {"print", printCommand},
};

} // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty())
        return wrongCall(err, "no command given");
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << kUsage;
        return kExitOk;
    }
    if (args[0] == "--version") {
        out << strings::kAboutVersion << '\n';
        return kExitOk;
    }
    for (const Command& command : kCommands) {
        if (args[0] == command.name) {
            const std::vector<std::string> rest(args.begin() + 1, args.end());
            return command.run(Context{rest, out, err});
        }
    }
    return wrongCall(err, "unknown command '" + args[0] + "'");
}

bool openPortfolio(PortfolioDocument& doc, const std::string& path, std::ostream& err)
{
    const DocumentResult opened = doc.openFile(path);
    if (!opened.ok())
        reportFileError(err, path, opened.message());
    else
        reportWarning(err, *opened);
    return opened.ok();
}

} // namespace tarvelo
