#pragma once

#include "model/portfoliodocument.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

// The commands of tarvelo-cli, one function each.
namespace tarvelo {

struct CommandContext {
    const std::vector<std::string>& args; // after the command name
    std::ostream& out;
    std::ostream& err;
};

// Prints the problem and where the usage is to err; returns the wrong-call status.
int WrongCall(std::ostream& err, std::string_view problem);
// Names a file problem once, whether or not the message already holds the path.
void ReportFileError(std::ostream& err, const std::string& path, const std::string& message);

// For a command that changes a portfolio: takes the file's lock, then reads the file.
// The lock stays with the document until it is saved and goes. Reports why not.
bool OpenForChange(PortfolioDocument& doc, const std::string& path, std::ostream& err);
// Prints a load's or a merge's warning, if it has one.
void ReportWarning(std::ostream& err, const DocumentResult& result);
// The one item that a NAME given on the command line names (see findItemsByName).
// Reports a missing name, or lists the items when it names several.
ItemKey FindNamedItem(const PortfolioDocument& doc, const std::string& utf8Name, std::ostream& err);

int DumpCommand(const CommandContext& c);
int ConvertCommand(const CommandContext& c);
int ExtractCommand(const CommandContext& c);
int ExpandCommand(const CommandContext& c);
int ServersCommand(const CommandContext& c);
int OptionsCommand(const CommandContext& c);
int UpdateCommand(const CommandContext& c);
int ExportCommand(const CommandContext& c);
int ImportCommand(const CommandContext& c);
int ListCommand(const CommandContext& c);
int NewCommand(const CommandContext& c);
int AddCommand(const CommandContext& c);
int QuoteCommand(const CommandContext& c);

} // namespace tarvelo
