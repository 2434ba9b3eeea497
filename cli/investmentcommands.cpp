// The commands that book transactions on an item's holding, split its history and set
// its alarms. Each one checks its figures as the item's dialogs do before it touches the
// file, then changes the item under the file's lock and saves.
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/commandoptions.h"
#include "model/investment.h"
#include "model/portfoliodocument.h"
#include "platform/codepage.h"
#include "platform/localtime.h"

#include <charconv>
#include <ostream>

namespace tarvelo {

namespace {

constexpr const char* kNotANumber = "Please enter a number.";

// A refusal of the item's state rather than of the call: no pointer to the usage.
int refuse(std::ostream& err, const std::string& message)
{
    err << "tarvelo-cli: " << message << '\n';
    return kExitError;
}

std::string numberText(double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// The item of a changing command, opened under the file's lock; kExitOk when found.
struct OpenItem {
    PortfolioDocument doc;
    ItemKey pos;
};

int openItem(OpenItem& opened, const std::string& path, const std::string& name, std::ostream& err)
{
    if (!openForChange(opened.doc, path, err))
        return kExitError;
    opened.pos = findNamedItem(opened.doc, name, err);
    return opened.pos ? kExitOk : kExitFailed;
}

// Books one transaction on the named item and saves it, or reports the refusal and
// leaves the file alone.
template <typename Book>
int bookTransaction(const std::string& path, const std::string& name, std::ostream& out, std::ostream& err,
                    Book book)
{
    OpenItem opened;
    if (const int status = openItem(opened, path, name, err); status != kExitOk)
        return status;
    ItemSettings settings = opened.doc.item(opened.pos)->settings();
    const Booking booking = book(settings);
    if (!booking.booked())
        return refuse(err, booking.message);
    opened.doc.replaceItemSettings(opened.pos, settings);
    if (!savePortfolio(opened.doc, path, err))
        return kExitError;
    out << "quantity " << numberText(settings.quantity) << ", average buy price "
        << numberText(settings.averageBuyPrice) << '\n';
    return kExitOk;
}

// Quotation and --commission of buy and sell; the message of the first one refused.
bool priceAndCommission(CommandOptions& o, const std::string& priceText, double& price, double& commission,
                        std::string& problem)
{
    std::optional<double> givenCommission;
    const std::optional<double> parsed = parseNumber(priceText);
    if (!parsed || !o.number("commission", givenCommission)) {
        problem = kNotANumber;
        return false;
    }
    price = *parsed;
    commission = givenCommission.value_or(0.0);
    return true;
}

} // namespace

int buyCommand(const CommandContext& c)
{
    CommandOptions o;
    if (!o.parse(c.args, {"commission"}))
        return wrongCall(c.err, o.error());
    if (o.positional().size() != 4)
        return wrongCall(c.err, "buy takes a portfolio file, an item name, a quantity and a price");
    BuyOrder order;
    std::string problem;
    const std::optional<double> quantity = parseNumber(o.positional()[2]);
    if (!quantity)
        return wrongCall(c.err, kNotANumber);
    order.quantity = *quantity;
    if (!priceAndCommission(o, o.positional()[3], order.quotation, order.commission, problem))
        return wrongCall(c.err, problem);
    if (const std::string refused = checkBuyOrder(order); !refused.empty())
        return wrongCall(c.err, refused);
    return bookTransaction(o.positional()[0], o.positional()[1], c.out, c.err,
                           [&](ItemSettings& s) { return bookBuy(s, order); });
}

int sellCommand(const CommandContext& c)
{
    CommandOptions o;
    if (!o.parse(c.args, {"commission"}))
        return wrongCall(c.err, o.error());
    if (o.positional().size() != 4)
        return wrongCall(c.err, "sell takes a portfolio file, an item name, a quantity and a price");
    SellOrder order;
    std::string problem;
    const std::optional<std::uint32_t> quantity = parseSellQuantity(o.positional()[2]);
    if (!quantity)
        return wrongCall(c.err, kPositiveIntegerMessage);
    order.quantity = *quantity;
    if (!priceAndCommission(o, o.positional()[3], order.quotation, order.commission, problem))
        return wrongCall(c.err, problem);
    double result = 0;
    const int status = bookTransaction(o.positional()[0], o.positional()[1], c.out, c.err, [&](ItemSettings& s) {
        Booking booking = bookSell(s, order);
        result = booking.result;
        return booking;
    });
    if (status == kExitOk)
        c.out << sellResultText(result) << '\n';
    return status;
}

int dividendCommand(const CommandContext& c)
{
    CommandOptions o;
    if (!o.parse(c.args, {}))
        return wrongCall(c.err, o.error());
    if (o.positional().size() != 3)
        return wrongCall(c.err, "dividend takes a portfolio file, an item name and a value");
    const std::optional<double> value = parseNumber(o.positional()[2]);
    if (!value)
        return wrongCall(c.err, kNotANumber);
    return bookTransaction(o.positional()[0], o.positional()[1], c.out, c.err,
                           [&](ItemSettings& s) { return bookDividend(s, *value); });
}

int splitCommand(const CommandContext& c)
{
    CommandOptions o;
    if (!o.parse(c.args, {"from"}))
        return wrongCall(c.err, o.error());
    if (o.positional().size() != 3)
        return wrongCall(c.err, "split takes a portfolio file, an item name and a divisor");
    const std::optional<double> divisor = parseNumber(o.positional()[2]);
    if (!divisor)
        return wrongCall(c.err, kNotANumber);
    if (!kSplitDivisorRange.contains(*divisor))
        return wrongCall(c.err, rangeMessage(kSplitDivisorRange));
    std::optional<TimeStamp> until;
    if (const auto text = o.text("from")) {
        until = parseMinuteOption(*text);
        if (!until)
            return wrongCall(c.err, dateOptionProblem("from", *text, true, "--from takes \"YYYY-MM-DD HH:MM\""));
    }
    OpenItem opened;
    if (const int status = openItem(opened, o.positional()[0], o.positional()[1], c.err); status != kExitOk)
        return status;
    const std::vector<Quotation>& history = opened.doc.item(opened.pos)->history();
    // The newest record not after the moment; it and every older one are divided. Without
    // a moment the whole history is; without records only the holding changes.
    std::size_t index = history.empty() ? 0 : history.size() - 1;
    if (until) {
        std::size_t notAfter = 0;
        while (notAfter < history.size() && history[notAfter].time <= *until)
            ++notAfter;
        if (notAfter == 0) {
            c.err << "tarvelo-cli: '" << o.positional()[1] << "' has no quotation until " << *o.text("from")
                  << '\n';
            return kExitFailed;
        }
        index = notAfter - 1;
    }
    opened.doc.splitQuotations(opened.pos, index, *divisor);
    return savePortfolio(opened.doc, o.positional()[0], c.err) ? kExitOk : kExitError;
}

int alarmCommand(const CommandContext& c)
{
    CommandOptions o;
    if (!o.parse(c.args, {"above", "below", "deviation"}))
        return wrongCall(c.err, o.error());
    if (o.positional().size() != 2)
        return wrongCall(c.err, "alarm takes a portfolio file and an item name");
    struct Change {
        const char* option;
        StoredFlag ItemSettings::*flag;
        double ItemSettings::*limit;
        std::optional<double> value; // nothing: "off"
    };
    Change changes[] = {
        {"above", &ItemSettings::aboveAlarm, &ItemSettings::aboveLimit, {}},
        {"below", &ItemSettings::belowAlarm, &ItemSettings::belowLimit, {}},
        {"deviation", &ItemSettings::deviationAlarm, &ItemSettings::deviationPercent, {}},
    };
    for (Change& change : changes) {
        const auto text = o.text(change.option);
        if (!text || *text == "off")
            continue;
        change.value = parseNumber(*text);
        if (!change.value)
            return wrongCall(c.err, kNotANumber);
    }
    OpenItem opened;
    if (const int status = openItem(opened, o.positional()[0], o.positional()[1], c.err); status != kExitOk)
        return status;
    const SecurityItem& item = *opened.doc.item(opened.pos);
    ItemSettings settings = item.settings();
    for (const Change& change : changes) {
        if (!o.has(change.option))
            continue;
        settings.*change.flag = change.value.has_value();
        if (change.value)
            settings.*change.limit = *change.value;
    }
    if (settings != item.settings()) {
        opened.doc.replaceItemSettings(opened.pos, settings);
        if (!savePortfolio(opened.doc, o.positional()[0], c.err))
            return kExitError;
    }
    for (const Change& change : changes) {
        c.out << change.option << ' ' << numberText(settings.*change.limit)
              << (change.flag == &ItemSettings::deviationAlarm ? "%" : "") << (settings.*change.flag ? " on" : " off")
              << '\n';
    }
    c.out << (inAlarm(*opened.doc.item(opened.pos)) ? "in alarm" : "not in alarm") << '\n';
    return kExitOk;
}

} // namespace tarvelo
