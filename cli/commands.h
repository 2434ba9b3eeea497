#pragma once

#include "model/portfoliodocument.h"
#include "model/serverconfig.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

// The commands of tarvelo-cli, one function each.
namespace tarvelo {

class CommandOptions;

struct CommandContext {
    const std::vector<std::string>& args; // after the command name
    std::ostream& out;
    std::ostream& err;
};

// Prints the problem and where the usage is to err; returns the wrong-call status.
int wrongCall(std::ostream& err, std::string_view problem);
// Names a file problem once, whether or not the message already holds the path.
void reportFileError(std::ostream& err, const std::string& path, const std::string& message);

// True, with the reason on err, when the path names a device, FIFO or socket: an
// output file never takes its place.
bool refuseSpecialOutput(const std::string& path, std::ostream& err);
// For a command that only reads a portfolio: reads the file into the document, or
// reports why not; tells what the reader passed over in a file that opened.
bool openPortfolio(PortfolioDocument& doc, const std::string& path, std::ostream& err);
// Saves the document into the file it holds locked, or reports why not.
bool savePortfolio(PortfolioDocument& doc, const std::string& path, std::ostream& err);
// For a command that changes a portfolio: takes the file's lock, then reads the file.
// The lock stays with the document until it is saved and goes. Reports why not.
bool openForChange(PortfolioDocument& doc, const std::string& path, std::ostream& err);
// Prints a load's or a merge's warning, if it has one.
void reportWarning(std::ostream& err, const FileNotes& notes);
// The one item that a NAME given on the command line names (see findItemsByName).
// Reports a missing name, or lists the items when it names several.
ItemKey findNamedItem(const PortfolioDocument& doc, const std::string& utf8Name, std::ostream& err);

// A cell of a table as one field of one line: a tab, line break or backslash in a name
// is written as \t, \n, \r or \\.
std::string oneLineCell(const std::string& text);

// Puts the server options of a command (--url, --timeout, --conversion, --text, --tags,
// --numbers, --thousands, --decimal, --case, --regexp, --index, --date, --time) into the
// configuration; texts arrive in UTF-8. Extract holds the numbers to what a search can
// use; Store to what the server settings accept, with their messages. False with the
// problem when a value is refused.
enum class ServerOptionRanges { Extract, Store };
bool applyServerOptions(CommandOptions& o, ServerConfig& config, std::string& problem, ServerOptionRanges ranges);

int dumpCommand(const CommandContext& c);
int convertCommand(const CommandContext& c);
int extractCommand(const CommandContext& c);
int expandCommand(const CommandContext& c);
int serversCommand(const CommandContext& c);
int optionsCommand(const CommandContext& c);
int updateCommand(const CommandContext& c);
int acceptCommand(const CommandContext& c);
int doctorCommand(const CommandContext& c);
int healthCommand(const CommandContext& c);
int exportCommand(const CommandContext& c);
int importCommand(const CommandContext& c);
int copyCommand(const CommandContext& c);
int listCommand(const CommandContext& c);
int newCommand(const CommandContext& c);
int addCommand(const CommandContext& c);
int quoteCommand(const CommandContext& c);
int buyCommand(const CommandContext& c);
int sellCommand(const CommandContext& c);
int dividendCommand(const CommandContext& c);
int splitCommand(const CommandContext& c);
int alarmCommand(const CommandContext& c);
int suggestCommand(const CommandContext& c);
int chartCommand(const CommandContext& c);
int printCommand(const CommandContext& c);
int graphicCommand(const CommandContext& c);

} // namespace tarvelo
