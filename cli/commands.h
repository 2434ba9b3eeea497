#pragma once

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

// Prints the problem and the usage to err; returns the wrong-call status.
int WrongCall(std::ostream& err, std::string_view problem);
// Names a file problem once, whether or not the message already holds the path.
void ReportFileError(std::ostream& err, const std::string& path, const std::string& message);

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
