#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/commandoptions.h"
#include "model/portfoliodocument.h"
#include "model/portfoliolist.h"
#include "platform/codepage.h"
#include "platform/utf8.h"
#include "platform/localtime.h"
#include "servers/serverstore.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

namespace tarvelo {

bool savePortfolio(PortfolioDocument& doc, const std::string& path, std::ostream& err)
{
    const Result<void> saved = doc.saveFile(path);
    if (!saved.ok())
        reportFileError(err, path, saved.message());
    return saved.ok();
}

bool openForChange(PortfolioDocument& doc, const std::string& path, std::ostream& err)
{
    if (const Result<void> locked = doc.lockFile(path); !locked.ok()) {
        err << "tarvelo-cli: " << locked.message() << '\n';
        return false;
    }
    return openPortfolio(doc, path, err);
}

void reportWarning(std::ostream& err, const FileNotes& notes)
{
    if (!notes.warning.empty())
        err << "tarvelo-cli: " << notes.warning << '\n';
}

ItemKey findNamedItem(const PortfolioDocument& doc, const std::string& utf8Name, std::ostream& err)
{
    const std::vector<ItemKey> found = doc.findItemsByName(validUtf8(utf8Name));
    if (found.size() == 1)
        return found.front();
    if (found.empty()) {
        err << "tarvelo-cli: the portfolio has no item named '" << utf8Name << "'\n";
        return {};
    }
    err << "tarvelo-cli: '" << utf8Name << "' names " << found.size() << " items:\n";
    for (const ItemKey pos : found) {
        const SecurityItem& item = *doc.item(pos);
        err << "  " << item.settings().name;
        if (!item.settings().symbol.empty())
            err << " (symbol " << item.settings().symbol << ')';
        err << '\n';
    }
    err << "tarvelo-cli: rename them apart in the window to address one of them\n";
    return {};
}

std::string oneLineCell(const std::string& text)
{
    if (text.find_first_of("\t\n\r\\") == std::string::npos)
        return text;
    std::string out;
    out.reserve(text.size() + 8);
    for (const char ch : text) {
        switch (ch) {
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\\': out += "\\\\"; break;
        default: out += ch;
        }
    }
    return out;
}

int listCommand(const CommandContext& c)
{
    CommandOptions o;
    if (!o.parse(c.args, {}, {"nominal"}))
        return wrongCall(c.err, o.error());
    if (o.positional().size() != 1)
        return wrongCall(c.err, "list takes one portfolio file");
    PortfolioDocument doc;
    if (!openPortfolio(doc, o.positional()[0], c.err))
        return kExitError;
    const ListViewOptions view = loadListViewOptions();
    const bool percent = !o.flag("nominal");
    const TimeStamp now = currentTime();
    for (const SecurityItem* item : sortedRows(doc.items(), view.sortColumn, view.sortReverse)) {
        c.out << rowIcon(*item);
        for (const std::string& cell : rowCells(*item, percent, now))
            c.out << '\t' << oneLineCell(cell);
        c.out << '\n';
    }
    c.out << totalsText(doc.items(), percent) << '\n';
    return kExitOk;
}

int newCommand(const CommandContext& c)
{
    CommandOptions o;
    if (!o.parse(c.args, {}, {"force"}))
        return wrongCall(c.err, o.error());
    if (o.positional().size() != 1)
        return wrongCall(c.err, "new takes one portfolio file");
    const std::string path = o.positional()[0];
    if (refuseSpecialOutput(path, c.err))
        return kExitError;
    PortfolioDocument doc;
    if (const Result<void> locked = doc.lockFile(path); !locked.ok()) {
        c.err << "tarvelo-cli: " << locked.message() << '\n';
        return kExitError;
    }
    std::error_code ignored;
    if (!o.flag("force") && std::filesystem::exists(std::filesystem::path(path), ignored)) {
        c.err << "tarvelo-cli: " << path << " exists already; give --force to replace it with an empty portfolio\n";
        return kExitError;
    }
    doc.startNew();
    return savePortfolio(doc, path, c.err) ? kExitOk : kExitError;
}

int addCommand(const CommandContext& c)
{
    CommandOptions o;
    if (!o.parse(c.args, {"symbol", "server", "quantity", "buy-price"}, {"duplicate"}))
        return wrongCall(c.err, o.error());
    std::optional<double> quantity;
    std::optional<double> buyPrice;
    if (!o.number("quantity", quantity) || !o.number("buy-price", buyPrice))
        return wrongCall(c.err, o.error());
    if (o.positional().size() != 2)
        return wrongCall(c.err, "add takes a portfolio file and an item name");
    const std::string path = o.positional()[0];
    PortfolioDocument doc;
    if (!openForChange(doc, path, c.err))
        return kExitError;
    ItemSettings settings = newItemSettings(currentTime());
    settings.name = validUtf8(o.positional()[1]);
    if (!o.flag("duplicate")) {
        for (const ItemKey pos : doc.itemPositions()) {
            if (sameItemName(doc.itemName(pos), settings.name)) {
                c.err << "tarvelo-cli: the portfolio holds '" << doc.itemName(pos)
                      << "' already; give --duplicate to add another item of that name\n";
                return kExitFailed;
            }
        }
    }
    settings.symbol = validUtf8(o.text("symbol").value_or(""));
    if (const std::string field = overlongItemText(settings); !field.empty()) {
        c.err << "tarvelo-cli: the item's " << field << " is longer than " << kMaxItemNameLength
              << " characters; give a shorter one\n";
        return kExitError;
    }
    if (const auto server = o.text("server")) {
        const std::string name = validUtf8(*server);
        std::vector<std::string> names;
        enumerateServerConfigs(names);
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            c.err << "tarvelo-cli: no server configuration named '" << *server << "'\n";
            return kExitFailed;
        }
        settings.server.name = name;
    }
    settings.quantity = quantity.value_or(0.0);
    settings.averageBuyPrice = buyPrice.value_or(0.0);
    doc.addItem(settings);
    return savePortfolio(doc, path, c.err) ? kExitOk : kExitError;
}

int quoteCommand(const CommandContext& c)
{
    CommandOptions o;
    if (!o.parse(c.args, {"time"}))
        return wrongCall(c.err, o.error());
    if (o.positional().size() != 3)
        return wrongCall(c.err, "quote takes a portfolio file, an item name and a value");
    const std::string path = o.positional()[0];
    const std::optional<double> parsed = parseNumber(o.positional()[2]);
    if (!parsed)
        return wrongCall(c.err, "the value must be a number such as 12.5");
    const double value = *parsed;
    if (!(value >= kLowestQuotation && value <= kHighestQuotation))
        return wrongCall(c.err, "Please enter a number between 0.001 and 999999999.");
    TimeStamp time = currentTime();
    if (const auto text = o.text("time")) {
        const auto given = parseMinuteOption(*text);
        if (!given)
            return wrongCall(c.err, dateOptionProblem("time", *text, true, "--time takes \"YYYY-MM-DD HH:MM\""));
        time = *given;
    }
    PortfolioDocument doc;
    if (!openForChange(doc, path, c.err))
        return kExitError;
    const ItemKey item = findNamedItem(doc, o.positional()[1], c.err);
    if (!item)
        return kExitFailed;
    doc.insertQuotation(item, value, time);
    return savePortfolio(doc, path, c.err) ? kExitOk : kExitError;
}

} // namespace tarvelo
